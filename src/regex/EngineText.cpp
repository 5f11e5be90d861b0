#include "regex/EngineText.h"

#include "text/Encoding.h"
#include "text/Iconv.h"

#include <algorithm>

namespace tuji {

namespace {

unsigned char ByteAt(std::string_view s, size_t i) {
    return static_cast<unsigned char>(s[i]);
}

// Length of the well-formed UTF-8 sequence at s[i], 0 when there is none.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    unsigned char c = ByteAt(s, i);
    if (c < 0x80) return 1;
    size_t len;
    char32_t cp, min;
    if ((c & 0xE0) == 0xC0) {
        len = 2, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, min = 0x10000, cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((ByteAt(s, i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (ByteAt(s, i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// Length of the UTF-8 character whose (well-formed) lead byte is c.
size_t Utf8LengthFromLead(unsigned char c) {
    if (c < 0x80) return 1;
    if (c < 0xE0) return 2;
    if (c < 0xF0) return 3;
    return 4;
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

std::string EncodeUtf8(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
    return out;
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

void EngineText::Append(std::string_view textChar, size_t originalStart, size_t originalLength) {
    if (textChar.size() != originalLength) {
        auto here = Mark{uint32_t(own_.size()), uint32_t(originalStart)};
        if (marks_.empty() || marks_.back().text != here.text) marks_.push_back(here);
        own_.append(textChar);
        marks_.push_back(Mark{uint32_t(own_.size()), uint32_t(originalStart + originalLength)});
    } else {
        own_.append(textChar);
    }
    if (originalLength > 1) ++multiByteChars_;
}

void EngineText::AppendStray(unsigned char byte, size_t originalStart) {
    ++strays_;
    Append(EncodeUtf8(kStrayByteBase + byte), originalStart, 1);
}

EngineText EngineText::ReadUtf8(std::string_view bytes) {
    EngineText t;
    t.original_ = bytes;
    t.reading_ = Reading::Utf8;
    if (IsValidUtf8(bytes)) {
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
            if (n > 1) ++t.multiByteChars_;
            i += n;
        }
        t.own_.append(bytes.substr(start, i - start));
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
    Iconv toUtf8("UTF-8", "GB18030");
    size_t i = 0;
    while (i < bytes.size()) {
        size_t end = i, n;
        while (end < bytes.size() && (n = Gb18030ShapeLength(bytes, end)) != 0)
            end += n;
        if (end == i) {
            t.AppendStray(ByteAt(bytes, i), i);
            ++i;
            continue;
        }
        // Every GB18030 character becomes exactly one code point, so the
        // converted run and the original walk in step.
        auto run = toUtf8.valid() ? toUtf8.convert(bytes.substr(i, end - i)) : std::nullopt;
        if (run) {
            size_t u = 0;
            while (i < end) {
                size_t g = Gb18030ShapeLength(bytes, i);
                size_t ul = Utf8LengthFromLead(ByteAt(*run, u));
                t.Append(std::string_view(*run).substr(u, ul), i, g);
                i += g;
                u += ul;
            }
            continue;
        }
        // Some code in the run is unassigned: go character by character,
        // and a character iconv refuses gives up only its first byte.
        while (i < end) {
            size_t g = Gb18030ShapeLength(bytes, i);
            std::optional<std::string> one;
            if (g == 1) {
                one = std::string(1, bytes[i]);
            } else if (g > 1) {
                one = toUtf8.convert(bytes.substr(i, g));
            }
            if (one && !one->empty()) {
                t.Append(*one, i, g);
                i += g;
            } else {
                t.AppendStray(ByteAt(bytes, i), i);
                ++i;
            }
        }
    }
    return t;
}

EngineText EngineText::Read(std::string_view bytes, Reading reading) {
    return reading == Reading::Utf8 ? ReadUtf8(bytes) : ReadGb18030(bytes);
}

EngineText EngineText::ReadSubject(std::string_view bytes, SubjectBytes how) {
    if (how == SubjectBytes::ProgramText) return ReadGb18030(bytes);
    EngineText utf8 = ReadUtf8(bytes);
    // GBK text read as UTF-8 is mostly stray bytes; UTF-8 with a few damaged
    // bytes is mostly whole characters.
    if (utf8.strays_ == 0 || utf8.multiByteChars_ >= 4 * utf8.strays_) return utf8;
    return ReadGb18030(bytes);
}

size_t EngineText::OriginalOffset(size_t textOffset) const {
    if (inPlace_ || marks_.empty()) return textOffset;
    auto after = std::upper_bound(marks_.begin(), marks_.end(), textOffset,
                                  [](size_t off, const Mark& m) { return off < m.text; });
    if (after == marks_.begin()) return textOffset;
    const Mark& m = *(after - 1);
    return m.original + (textOffset - m.text);
}

} // namespace tuji

namespace tuji {

bool IsUtf8OnlyPattern(std::string_view pattern) {
    if (IsAscii(pattern) || !IsValidUtf8(pattern)) return false;
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
