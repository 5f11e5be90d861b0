#pragma once

#include <string_view>

namespace tuji {

// Byte length of the character of program text that starts at text[i]:
// 1 for ASCII, 4 for a GB18030 four-byte sequence, 2 for a lead byte with a
// trail byte, 1 for a stray byte. Never runs past the end.
// A lead byte only takes bytes that can complete its character: raw bytes
// of another encoding (a UTF-8 article, a hand-edited settings file) would
// otherwise swallow the CR, quote or "<" after them and hide that line end
// or tag from every search.
inline size_t CharLength(std::string_view text, size_t i) {
    auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x81 || lead == 0xFF || i + 1 >= text.size()) return 1;
    auto second = static_cast<unsigned char>(text[i + 1]);
    if (second >= 0x30 && second <= 0x39) {
        if (i + 3 >= text.size()) return 1;
        auto third = static_cast<unsigned char>(text[i + 2]);
        auto fourth = static_cast<unsigned char>(text[i + 3]);
        return third >= 0x81 && third <= 0xFE && fourth >= 0x30 && fourth <= 0x39 ? 4 : 1;
    }
    return second >= 0x40 && second != 0x7F && second != 0xFF ? 2 : 1;
}

inline bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline char LowerAsciiChar(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
inline char UpperAsciiChar(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

} // namespace tuji
