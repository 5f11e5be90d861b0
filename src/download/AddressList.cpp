#include "download/AddressList.h"

#include "text/TextOps.h"

namespace tuji {

std::vector<std::string> SplitAddressList(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        size_t lineEnd = (end > start && text[end - 1] == '\r') ? end - 1 : end;
        lines.emplace_back(text.substr(start, lineEnd - start));
        start = end + 1;
    }
    return lines;
}

std::string AddressOfLine(std::string_view line) {
    size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    size_t last = line.find_last_not_of(" \t\r");
    return std::string(line.substr(first, last - first + 1));
}

bool IsWebAddress(std::string_view address) {
    size_t hostStart = 0;
    if (StartsWithText(address, "http://", Case::Ignore)) {
        hostStart = 7;
    } else if (StartsWithText(address, "https://", Case::Ignore)) {
        hostStart = 8;
    } else {
        return false;
    }
    if (hostStart >= address.size()) return false;
    char first = address[hostStart];
    // "http:///x", "http://?x" and the like name no host.
    return first != '/' && first != '?' && first != '#' && first != '\\';
}

} // namespace tuji
