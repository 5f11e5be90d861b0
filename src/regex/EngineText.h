#pragma once

// A subject or pattern as the engine sees it: UTF-8 made from the bytes'
// characters, with a map back to the byte offsets of the original.
//
// The reading is lossless for any byte sequence. A byte that starts no
// character becomes the code point U+10FF00 + byte (0x80..0xFF): a character
// of the last private-use plane, so "any character" classes take it, no
// class of letters, digits or spaces does, and it comes back as its own byte.

#include "regex/SubjectBytes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

enum class Reading { Utf8, Gb18030 };

constexpr char32_t kStrayByteBase = 0x10FF00;

class EngineText {
public:
    // `bytes` must outlive this object (the UTF-8 case reads them in place).
    static EngineText Read(std::string_view bytes, Reading reading);
    // The reading SubjectBytes asks for.
    static EngineText ReadSubject(std::string_view bytes, SubjectBytes how);

    // Always well-formed UTF-8.
    std::string_view Text() const { return inPlace_ ? original_ : own_; }
    Reading GetReading() const { return reading_; }
    // True when some byte started no character.
    bool HasStrayBytes() const { return strays_ > 0; }

    // Byte offset in the original of an offset of Text() that lies on a
    // character boundary.
    size_t OriginalOffset(size_t textOffset) const;

private:
    // From `text` on, until the next run, every character is `textLength`
    // bytes here and `originalLength` bytes in the original (1 and 1 for
    // stretches where both advance together, whatever the characters).
    struct Run {
        uint32_t text;
        uint32_t original;
        uint8_t textLength;
        uint8_t originalLength;
    };
    void Append(std::string_view textChar, size_t originalStart, size_t originalLength);
    void AppendSame(std::string_view bytes, size_t originalStart);
    void AppendStray(unsigned char byte, size_t originalStart);
    void StartRun(size_t originalStart, size_t textLength, size_t originalLength);
    static EngineText ReadUtf8(std::string_view bytes);
    static EngineText ReadGb18030(std::string_view bytes);

    std::string_view original_;
    std::string own_;
    bool inPlace_ = false;
    Reading reading_ = Reading::Utf8;
    size_t strays_ = 0;
    // Before the first run the two offsets are the same.
    std::vector<Run> runs_;
};

} // namespace tuji

namespace tuji {

// True when a pattern's bytes are UTF-8 that cannot be GB18030 text: well
// formed UTF-8 with non-ASCII characters whose GB18030 reading would leave
// bytes over or swallow an ASCII byte into a character.
bool IsUtf8OnlyPattern(std::string_view pattern);

} // namespace tuji
