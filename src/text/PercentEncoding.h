#pragma once

// Percent-encoding of bytes, shared by the places that build addresses
// (libcurl's URLs, the search query, re-hosted image addresses); each caller
// says which bytes its kind of address cannot carry.

#include <string>
#include <string_view>

namespace tuji {

// Every byte for which needsEscape(byte) holds becomes "%XX" (upper-case
// hex); the others stay as they are.
template <typename NeedsEscape>
std::string PercentEncodeBytes(std::string_view bytes, NeedsEscape needsEscape) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (needsEscape(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace tuji
