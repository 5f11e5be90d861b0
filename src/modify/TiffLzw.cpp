#include "modify/TiffLzw.h"

#include <cstring>
#include <vector>

namespace tuji {
namespace {

constexpr unsigned kClearCode = 256;
constexpr unsigned kEndCode = 257;
constexpr unsigned kFirstFreeCode = 258;
constexpr unsigned kMinBits = 9;
// The table is started afresh one code before 4095, where a reader's table
// ends.
constexpr unsigned kTableFull = 4094;

// Strings of the table: (prefix code, next byte) -> code, one 32-bit word per
// slot holding the 20-bit key and the 12-bit code. 16384 slots (64 KB) are
// never a quarter full, so a lookup rarely probes twice and the table stays
// in the processor's cache. All bits set marks an empty slot (prefix 4095
// never occurs).
constexpr unsigned kHashBits = 14;
constexpr std::uint32_t kSlots = 1u << kHashBits;
constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

void ClearTable(std::vector<std::uint32_t>& table) {
    std::memset(table.data(), 0xFF, table.size() * sizeof(std::uint32_t));
}

} // namespace

void AppendTiffLzw(const std::uint8_t* data, std::size_t size, std::string* out) {
    const std::size_t start = out->size();
    // At most one 12-bit code per byte, plus clear codes and the end code.
    out->resize(start + size * 3 / 2 + size / 1000 + 16);
    auto* put = reinterpret_cast<std::uint8_t*>(out->data()) + start;
    std::uint64_t bitBuffer = 0;
    unsigned bitCount = 0;
    unsigned bits = kMinBits;
    unsigned maxCode = (1u << bits) - 1;
    unsigned nextCode = kFirstFreeCode;
    // Most significant bit first, four whole bytes at a time.
    auto emit = [&](unsigned code) {
        bitBuffer = (bitBuffer << bits) | code;
        bitCount += bits;
        if (bitCount >= 32) {
            bitCount -= 32;
            const auto word = static_cast<std::uint32_t>(bitBuffer >> bitCount);
            put[0] = static_cast<std::uint8_t>(word >> 24);
            put[1] = static_cast<std::uint8_t>(word >> 16);
            put[2] = static_cast<std::uint8_t>(word >> 8);
            put[3] = static_cast<std::uint8_t>(word);
            put += 4;
        }
    };
    emit(kClearCode);
    if (size > 0) {
        std::vector<std::uint32_t> table(kSlots, kEmpty);
        std::uint32_t* slots = table.data();
        unsigned current = data[0];
        for (std::size_t i = 1; i < size; ++i) {
            const unsigned byte = data[i];
            const std::uint32_t key = (current << 8) | byte;
            std::uint32_t at = (key * 2654435761u) >> (32 - kHashBits);
            std::uint32_t entry;
            while ((entry = slots[at]) != kEmpty && (entry >> 12) != key)
                at = (at + 1) & (kSlots - 1);
            if (entry != kEmpty) {
                current = entry & 0xFFF;
                continue;
            }
            emit(current);
            slots[at] = (key << 12) | nextCode++;
            current = byte;
            // The width grows as soon as the next code would not fit: readers
            // widen one code early, in step with this.
            if (nextCode == kTableFull) {
                emit(kClearCode);
                ClearTable(table);
                bits = kMinBits;
                maxCode = (1u << bits) - 1;
                nextCode = kFirstFreeCode;
            } else if (nextCode > maxCode) {
                ++bits;
                maxCode = (1u << bits) - 1;
            }
        }
        emit(current);
        // A reader adds one more entry on the last code before it reads the
        // end code, and may widen for it.
        ++nextCode;
        if (nextCode == kTableFull) {
            emit(kClearCode);
            bits = kMinBits;
        } else if (nextCode > maxCode) {
            ++bits;
        }
    }
    emit(kEndCode);
    while (bitCount >= 8) {
        bitCount -= 8;
        *put++ = static_cast<std::uint8_t>(bitBuffer >> bitCount);
    }
    if (bitCount > 0) *put++ = static_cast<std::uint8_t>(bitBuffer << (8 - bitCount));
    out->resize(static_cast<std::size_t>(put - reinterpret_cast<std::uint8_t*>(out->data())));
}

} // namespace tuji
