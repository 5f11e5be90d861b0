#include "regex/EngineText.h"

#include "text/Iconv.h"

#include <algorithm>
#include <cstring>

namespace tuji {

namespace {

unsigned char ByteAt(std::string_view s, size_t i) {
    return static_cast<unsigned char>(s[i]);
}

// Length of the well-formed UTF-8 sequence at s[i], 0 when there is none
// (overlong forms, surrogates and code points above U+10FFFF included).
inline size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + i;
    const size_t left = s.size() - i;
    const unsigned c = p[0];
    auto cont = [&](size_t k) { return (p[k] & 0xC0) == 0x80; };
    if (c < 0x80) return 1;
    if (c < 0xC2) return 0;
    if (c < 0xE0) return left >= 2 && cont(1) ? 2 : 0;
    if (c < 0xF0) {
        if (left < 3 || !cont(1) || !cont(2)) return 0;
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] >= 0xA0)) return 0;
        return 3;
    }
    if (c < 0xF5) {
        if (left < 4 || !cont(1) || !cont(2) || !cont(3)) return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] >= 0x90)) return 0;
        return 4;
    }
    return 0;
}

// Length of the GB18030 character the byte shape at s[i] announces, 0 when
// the bytes cannot form one. Whether a four-byte code is assigned is
// iconv's to say.
size_t Gb18030ShapeLength(std::string_view s, size_t i) {
    unsigned char lead = ByteAt(s, i);
    if (lead < 0x80) return 1;
    if (lead == 0x80 || lead == 0xFF || i + 1 >= s.size()) return 0;
    unsigned char second = ByteAt(s, i + 1);
    if (second >= 0x30 && second <= 0x39) {
        if (i + 3 >= s.size()) return 0;
        unsigned char third = ByteAt(s, i + 2), fourth = ByteAt(s, i + 3);
        if (third < 0x81 || third > 0xFE || fourth < 0x30 || fourth > 0x39) return 0;
        return 4;
    }
    if (second < 0x40 || second == 0x7F || second == 0xFF) return 0;
    return 2;
}

// Writes cp into out (room for 4) and returns the number of bytes.
size_t EncodeUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = char(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = char(0xC0 | (cp >> 6));
        out[1] = char(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = char(0xE0 | (cp >> 12));
        out[1] = char(0x80 | ((cp >> 6) & 0x3F));
        out[2] = char(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (cp >> 18));
    out[1] = char(0x80 | ((cp >> 12) & 0x3F));
    out[2] = char(0x80 | ((cp >> 6) & 0x3F));
    out[3] = char(0x80 | (cp & 0x3F));
    return 4;
}

constexpr size_t kTrailSpan = 0xFE - 0x40 + 1;

size_t TwoByteIndex(unsigned char lead, unsigned char trail) {
    return size_t(lead - 0x81) * kTrailSpan + size_t(trail - 0x40);
}

char32_t FromUtf32Le(std::string_view four) {
    return char32_t(ByteAt(four, 0)) | char32_t(ByteAt(four, 1)) << 8 |
           char32_t(ByteAt(four, 2)) << 16 | char32_t(ByteAt(four, 3)) << 24;
}

// The code point of every two-byte GB18030 code (0 where there is none),
// asked of iconv once: converting character by character through iconv
// would make a 5 MB article take a tenth of a second.
std::vector<char32_t> BuildTwoByteTable() {
    std::vector<char32_t> table(size_t(0xFE - 0x81 + 1) * kTrailSpan, 0);
    Iconv cd("UTF-32LE", "GB18030");
    if (!cd.valid()) return table;
    std::string all;
    std::vector<size_t> where;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            all += char(lead);
            all += char(trail);
            where.push_back(TwoByteIndex(lead, trail));
        }
    }
    auto whole = cd.convert(all);
    if (whole && whole->size() == where.size() * 4) {
        for (size_t k = 0; k < where.size(); ++k)
            table[where[k]] = FromUtf32Le(std::string_view(*whole).substr(k * 4, 4));
        return table;
    }
    for (size_t k = 0; k < where.size(); ++k) {
        auto one = cd.convert(std::string_view(all).substr(k * 2, 2));
        if (one && one->size() == 4) table[where[k]] = FromUtf32Le(*one);
    }
    return table;
}

const std::vector<char32_t>& TwoByteGb18030Table() {
    static const std::vector<char32_t> table = BuildTwoByteTable();
    return table;
}

// Four-byte codes from 90 30 81 30 on count through the planes above the
// BMP in order; the few below them (BMP characters outside GBK) follow
// tables that iconv knows.
char32_t FourByteCodePoint(std::string_view code, Iconv& cd) {
    unsigned b1 = ByteAt(code, 0), b2 = ByteAt(code, 1), b3 = ByteAt(code, 2), b4 = ByteAt(code, 3);
    if (b1 >= 0x90) {
        char32_t linear = (((b1 - 0x90) * 10 + (b2 - 0x30)) * 126 + (b3 - 0x81)) * 10 + (b4 - 0x30);
        char32_t cp = 0x10000 + linear;
        return cp <= 0x10FFFF ? cp : 0;
    }
    auto one = cd.convert(code);
    return one && one->size() == 4 ? FromUtf32Le(*one) : 0;
}

// Whole subjects are checked once each, so the ASCII stretches that make up
// most of a page are skipped eight bytes at a time.
bool IsWellFormedUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        if (i + 8 <= s.size()) {
            uint64_t word;
            std::memcpy(&word, s.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        size_t n = Utf8SequenceLength(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

// GBK text read as UTF-8 is mostly bytes that start no character; UTF-8
// with a few damaged bytes is mostly whole characters.
bool LooksLikeGb18030(std::string_view s) {
    if (IsWellFormedUtf8(s)) return false;
    size_t multiByte = 0, strays = 0, i = 0;
    while (i < s.size()) {
        // Plenty of evidence already: no need to read the rest.
        if (strays >= 256 && multiByte < strays) return true;
        if (ByteAt(s, i) < 0x80) {
            ++i;
            continue;
        }
        size_t n = Utf8SequenceLength(s, i);
        if (n == 0) {
            ++strays;
            ++i;
        } else {
            ++multiByte;
            i += n;
        }
    }
    return multiByte < 4 * strays;
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

void EngineText::StartRun(size_t originalStart, size_t textLength, size_t originalLength) {
    if (textLength == originalLength) textLength = originalLength = 1;
    if (runs_.empty()) {
        if (textLength == 1 && originalLength == 1) return;
    } else if (runs_.back().textLength == textLength &&
               runs_.back().originalLength == originalLength) {
        return;
    }
    runs_.push_back(Run{uint32_t(own_.size()), uint32_t(originalStart), uint8_t(textLength),
                        uint8_t(originalLength)});
}

void EngineText::Append(std::string_view textChar, size_t originalStart, size_t originalLength) {
    StartRun(originalStart, textChar.size(), originalLength);
    own_.append(textChar);
}

void EngineText::AppendSame(std::string_view bytes, size_t originalStart) {
    StartRun(originalStart, 1, 1);
    own_.append(bytes);
}

void EngineText::AppendStray(unsigned char byte, size_t originalStart) {
    ++strays_;
    char utf8[4];
    Append(std::string_view(utf8, EncodeUtf8(kStrayByteBase + byte, utf8)), originalStart, 1);
}

EngineText EngineText::ReadUtf8(std::string_view bytes) {
    EngineText t;
    t.original_ = bytes;
    t.reading_ = Reading::Utf8;
    if (IsWellFormedUtf8(bytes)) {
        t.inPlace_ = true;
        return t;
    }
    t.own_.reserve(bytes.size() + bytes.size() / 8);
    size_t i = 0;
    while (i < bytes.size()) {
        size_t n = Utf8SequenceLength(bytes, i);
        if (n == 0) {
            t.AppendStray(ByteAt(bytes, i), i);
            ++i;
            continue;
        }
        // Runs of well-formed characters keep their bytes and their offsets.
        size_t start = i;
        while (i < bytes.size() && (n = Utf8SequenceLength(bytes, i)) != 0) {
            i += n;
        }
        t.AppendSame(bytes.substr(start, i - start), start);
    }
    return t;
}

EngineText EngineText::ReadGb18030(std::string_view bytes) {
    EngineText t;
    t.original_ = bytes;
    t.reading_ = Reading::Gb18030;
    if (IsAscii(bytes)) {
        t.inPlace_ = true;
        return t;
    }
    t.own_.reserve(bytes.size() + bytes.size() / 2);
    const std::vector<char32_t>& twoByte = TwoByteGb18030Table();
    Iconv fourByte("UTF-32LE", "GB18030");
    char utf8[4];
    size_t i = 0;
    while (i < bytes.size()) {
        if (ByteAt(bytes, i) < 0x80) {
            size_t end = i + 1;
            while (end < bytes.size() && ByteAt(bytes, end) < 0x80)
                ++end;
            t.AppendSame(bytes.substr(i, end - i), i);
            i = end;
            continue;
        }
        size_t n = Gb18030ShapeLength(bytes, i);
        char32_t cp = 0;
        if (n == 2) {
            cp = twoByte[TwoByteIndex(ByteAt(bytes, i), ByteAt(bytes, i + 1))];
        } else if (n == 4) {
            cp = FourByteCodePoint(bytes.substr(i, 4), fourByte);
        }
        if (cp == 0) {
            // A byte that starts no (assigned) character gives up only
            // itself; the next byte may start one.
            t.AppendStray(ByteAt(bytes, i), i);
            ++i;
            continue;
        }
        t.Append(std::string_view(utf8, EncodeUtf8(cp, utf8)), i, n);
        i += n;
    }
    return t;
}

EngineText EngineText::Read(std::string_view bytes, Reading reading) {
    return reading == Reading::Utf8 ? ReadUtf8(bytes) : ReadGb18030(bytes);
}

EngineText EngineText::ReadSubject(std::string_view bytes, SubjectBytes how) {
    if (how == SubjectBytes::ProgramText || LooksLikeGb18030(bytes)) return ReadGb18030(bytes);
    return ReadUtf8(bytes);
}

size_t EngineText::OriginalOffset(size_t textOffset) const {
    if (inPlace_ || runs_.empty() || textOffset < runs_.front().text) return textOffset;
    auto after = std::upper_bound(runs_.begin(), runs_.end(), textOffset,
                                  [](size_t off, const Run& r) { return off < r.text; });
    const Run& r = *(after - 1);
    return r.original + (textOffset - r.text) / r.textLength * r.originalLength;
}

} // namespace tuji

namespace tuji {

bool IsUtf8OnlyPattern(std::string_view pattern) {
    if (IsAscii(pattern) || !IsWellFormedUtf8(pattern)) return false;
    size_t i = 0;
    while (i < pattern.size()) {
        size_t n = Gb18030ShapeLength(pattern, i);
        if (n == 0) return true;
        for (size_t k = 1; k < n; ++k)
            if (ByteAt(pattern, i + k) < 0x80) return true;
        i += n;
    }
    return false;
}

} // namespace tuji
