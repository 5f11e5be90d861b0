#include "rehost/PercentEncoding.h"

namespace tuji {

std::string PercentEncodeBytes(std::string_view bytes, bool (*needsEscape)(unsigned char)) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (needsEscape(c)) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace tuji
