#include "web/CurlAddress.h"

#include "text/Encoding.h"
#include "text/PercentEncoding.h"

#include <cstring>

namespace tuji {

namespace {

bool NeedsEscape(unsigned char c) {
    return c >= 0x80 || c <= 0x20 || c == 0x7F || std::strchr("\"<>`\\^{}|", c) != nullptr;
}

// Position just after "scheme://", or 0 when the url has no scheme.
size_t AuthorityStart(const std::string& url) {
    size_t colon = url.find("://");
    if (colon == std::string::npos || colon == 0) return 0;
    for (size_t i = 0; i < colon; ++i) {
        char c = url[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                  (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok) return 0;
    }
    return colon + 3;
}

} // namespace

std::string CurlAddress(const std::string& url) {
    std::string utf8 = TextToUtf8Lenient(url);
    size_t hostEnd = utf8.find_first_of("/?#", AuthorityStart(utf8));
    if (hostEnd == std::string::npos) hostEnd = utf8.size();

    std::string_view all(utf8);
    auto controlOrSpace = [](unsigned char c) { return c <= 0x20 || c == 0x7F; };
    return PercentEncodeBytes(all.substr(0, hostEnd), controlOrSpace) +
           PercentEncodeBytes(all.substr(hostEnd), NeedsEscape);
}

} // namespace tuji
