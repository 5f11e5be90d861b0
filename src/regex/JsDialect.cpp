#include "regex/JsDialect.h"

namespace tuji {

namespace {

// Written with \uHHHH: in the JavaScript escape mode PCRE2 reads \x{...}
// as plain characters.
constexpr std::string_view kDot = "[^\\n\\r\\u2028\\u2029]";
constexpr std::string_view kSpaceMembers = "\\s\\u00a0\\u1680\\u2000-\\u200a\\u2028\\u2029"
                                           "\\u202f\\u205f\\u3000\\ufeff";

bool IsAsciiLetterByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

size_t Utf8CharLength(std::string_view s, size_t i) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return i + n <= s.size() ? n : s.size() - i;
}

// Escapes both dialects read alike, inside and outside classes.
bool SameEscape(char c) {
    switch (c) {
    case 'd':
    case 'D':
    case 'w':
    case 'W':
    case 'f':
    case 'n':
    case 'r':
    case 't':
    case 'x':
    case 'u':
        return true;
    default:
        return c >= '0' && c <= '9';
    }
}

// Appends the translation of the escape at pattern[i] (a backslash) and
// returns the number of bytes it took.
size_t TranslateEscape(std::string_view p, size_t i, bool inClass, std::string& out) {
    if (i + 1 >= p.size()) {
        out += '\\'; // a trailing backslash stays an error
        return 1;
    }
    char c = p[i + 1];
    if (SameEscape(c)) {
        out.append(p.substr(i, 2));
        return 2;
    }
    switch (c) {
    case 's':
        if (inClass) {
            out += kSpaceMembers;
        } else {
            out += '[';
            out += kSpaceMembers;
            out += ']';
        }
        return 2;
    case 'S':
        if (inClass) {
            out += "\\S";
        } else {
            out += "[^";
            out += kSpaceMembers;
            out += ']';
        }
        return 2;
    case 'v':
        out += "\\x0b";
        return 2;
    case 'b':
        out += inClass ? "\\x08" : "\\b";
        return 2;
    case 'B':
        out += inClass ? "B" : "\\B";
        return 2;
    case 'c':
        if (i + 2 < p.size() && IsAsciiLetterByte(p[i + 2])) {
            out.append(p.substr(i, 3));
            return 3;
        }
        out += "\\\\c";
        return 2;
    default:
        break;
    }
    if (IsAsciiLetterByte(c)) {
        out += c;
        return 2;
    }
    size_t n = Utf8CharLength(p, i + 1);
    out += '\\';
    out.append(p.substr(i + 1, n));
    return 1 + n;
}

} // namespace

std::string TranslateJsPattern(std::string_view p) {
    std::string out;
    out.reserve(p.size() + 16);
    bool inClass = false;
    size_t i = 0;
    while (i < p.size()) {
        char c = p[i];
        if (c == '\\') {
            i += TranslateEscape(p, i, inClass, out);
            continue;
        }
        if (inClass) {
            if (c == ']') inClass = false;
            if (c == '[')
                out += "\\[";
            else
                out += c;
            ++i;
            continue;
        }
        if (c == '[') {
            inClass = true;
            out += c;
            ++i;
            if (i < p.size() && p[i] == '^') {
                out += '^';
                ++i;
            }
            continue;
        }
        if (c == '.') {
            out += kDot;
            ++i;
            continue;
        }
        size_t n = Utf8CharLength(p, i);
        out.append(p.substr(i, n));
        i += n;
    }
    return out;
}

} // namespace tuji
