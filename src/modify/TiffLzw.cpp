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

// Most significant bit first; whole bytes leave as soon as they are complete.
class CodeWriter {
public:
    explicit CodeWriter(std::string* out) : out_(out) {}

    void Put(unsigned code, unsigned bits) {
        buffer_ = (buffer_ << bits) | code;
        count_ += bits;
        while (count_ >= 8) {
            count_ -= 8;
            out_->push_back(static_cast<char>(buffer_ >> count_));
        }
    }
    void Finish() {
        if (count_ > 0) out_->push_back(static_cast<char>(buffer_ << (8 - count_)));
        count_ = 0;
    }

private:
    std::string* out_;
    std::uint64_t buffer_ = 0;
    unsigned count_ = 0;
};

// Strings of the table: (prefix code, next byte) -> code. One 32-bit word
// per slot holds the 20-bit key and the 12-bit code; a small table that stays
// in the processor's cache is what makes this encoder fast. All bits set marks
// an empty slot (prefix 4095 never occurs).
class StringTable {
public:
    StringTable() : slots_(kSlots) { Clear(); }

    void Clear() { std::memset(slots_.data(), 0xFF, kSlots * sizeof(std::uint32_t)); }
    // The code of the string, or -1 with *slot where it would go.
    int Find(std::uint32_t key, std::uint32_t* slot) const {
        std::uint32_t at = (key * 2654435761u) >> (32 - kBits);
        for (;;) {
            const std::uint32_t entry = slots_[at];
            if (entry == kEmpty) {
                *slot = at;
                return -1;
            }
            if ((entry >> 12) == key) return static_cast<int>(entry & 0xFFF);
            at = (at + 1) & (kSlots - 1);
        }
    }
    void Add(std::uint32_t slot, std::uint32_t key, unsigned code) {
        slots_[slot] = (key << 12) | code;
    }

private:
    static constexpr unsigned kBits = 13; // 8192 slots: never half full
    static constexpr std::uint32_t kSlots = 1u << kBits;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    std::vector<std::uint32_t> slots_;
};

} // namespace

void AppendTiffLzw(const std::uint8_t* data, std::size_t size, std::string* out) {
    CodeWriter writer(out);
    unsigned bits = kMinBits;
    unsigned maxCode = (1u << bits) - 1;
    unsigned nextCode = kFirstFreeCode;
    writer.Put(kClearCode, bits);
    if (size == 0) {
        writer.Put(kEndCode, bits);
        writer.Finish();
        return;
    }
    StringTable table;
    // After each new table entry the width grows as soon as the next code
    // would not fit: readers widen one code early, in step with this.
    auto widen = [&] {
        if (nextCode == kTableFull) {
            writer.Put(kClearCode, bits);
            table.Clear();
            bits = kMinBits;
            maxCode = (1u << bits) - 1;
            nextCode = kFirstFreeCode;
        } else if (nextCode > maxCode) {
            ++bits;
            maxCode = (1u << bits) - 1;
        }
    };
    unsigned current = data[0];
    for (std::size_t i = 1; i < size; ++i) {
        const unsigned byte = data[i];
        const std::uint32_t key = (current << 8) | byte;
        std::uint32_t slot = 0;
        const int found = table.Find(key, &slot);
        if (found >= 0) {
            current = static_cast<unsigned>(found);
            continue;
        }
        writer.Put(current, bits);
        table.Add(slot, key, nextCode++);
        current = byte;
        widen();
    }
    writer.Put(current, bits);
    // A reader adds one more entry on the last code before it reads the end
    // code, and may widen for it.
    ++nextCode;
    if (nextCode == kTableFull) {
        writer.Put(kClearCode, bits);
        bits = kMinBits;
    } else if (nextCode > maxCode) {
        ++bits;
    }
    writer.Put(kEndCode, bits);
    writer.Finish();
}

} // namespace tuji
