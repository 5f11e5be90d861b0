#include "rehost/ReferenceRules.h"

#include "text/Chars.h"
#include "text/Encoding.h"
#include "text/PercentEncoding.h"
#include "text/TextOps.h"

namespace tuji {

namespace {

constexpr std::string_view kUtf8Ideographic = "\xE3\x80\x80";
constexpr std::string_view kGbkIdeographic = "\xA1\xA1";

bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string TrimUtf8(std::string_view s) {
    for (;;) {
        if (!s.empty() && s.front() == ' ') {
            s.remove_prefix(1);
        } else if (s.substr(0, 3) == kUtf8Ideographic) {
            s.remove_prefix(3);
        } else {
            break;
        }
    }
    for (;;) {
        if (!s.empty() && s.back() == ' ') {
            s.remove_suffix(1);
        } else if (s.size() >= 3 && s.substr(s.size() - 3) == kUtf8Ideographic) {
            s.remove_suffix(3);
        } else {
            break;
        }
    }
    return std::string(s);
}

// Double-byte text: a trailing A1 A1 is a blank only when it is a whole
// character, so the end is found by walking characters from the start.
std::string TrimDoubleByte(std::string_view s) {
    size_t begin = 0;
    while (begin < s.size()) {
        size_t n = CharLength(s, begin);
        std::string_view ch = s.substr(begin, n);
        if (ch != " " && ch != kGbkIdeographic) break;
        begin += n;
    }
    size_t end = begin, contentEnd = begin;
    while (end < s.size()) {
        size_t n = CharLength(s, end);
        std::string_view ch = s.substr(end, n);
        end += n;
        if (ch != " " && ch != kGbkIdeographic) contentEnd = end;
    }
    return std::string(s.substr(begin, contentEnd - begin));
}

// Outside ASCII, blanks and controls: what a fetched address can't carry.
bool OutsidePrintableAscii(unsigned char c) {
    return c >= 0x80 || c <= 0x20 || c == 0x7F;
}

} // namespace

std::string TrimBlanks(std::string_view reference) {
    if (IsAscii(reference) || IsValidUtf8(reference)) return TrimUtf8(reference);
    return TrimDoubleByte(reference);
}

ReferenceKind KindOfReference(std::string_view trimmed) {
    if (StartsWithText(trimmed, "http://", Case::Ignore) ||
        StartsWithText(trimmed, "https://", Case::Ignore))
        return ReferenceKind::Absolute;
    if (StartsWithText(trimmed, "//")) return ReferenceKind::ProtocolRelative;
    return ReferenceKind::Relative;
}

std::optional<std::string> DownloadAddress(std::string_view trimmed, std::string_view oldDomain) {
    if (trimmed.empty()) return std::nullopt;
    switch (KindOfReference(trimmed)) {
    case ReferenceKind::Absolute:
        return std::string(trimmed);
    case ReferenceKind::ProtocolRelative:
        return "http:" + std::string(trimmed);
    case ReferenceKind::Relative:
        break;
    }
    if (oldDomain.empty()) return std::nullopt;
    std::string address = "http://" + std::string(oldDomain);
    if (trimmed.front() != '/') address += '/';
    return address + std::string(trimmed);
}

std::string AddressForFetch(std::string_view downloadAddress) {
    if (IsAscii(downloadAddress) || IsValidUtf8(downloadAddress))
        return PercentEncodeBytes(downloadAddress, OutsidePrintableAscii);
    return PercentEncodeBytes(TextToUtf8Lenient(downloadAddress), OutsidePrintableAscii);
}

std::string AddressForDisplay(std::string_view downloadAddress) {
    if (IsValidUtf8(downloadAddress)) return std::string(downloadAddress);
    return TextToUtf8Lenient(downloadAddress);
}

} // namespace tuji
