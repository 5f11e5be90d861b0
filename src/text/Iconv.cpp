#include "text/Iconv.h"

#include <cerrno>

namespace tuji {

Iconv::Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}

Iconv::~Iconv() {
    if (valid()) iconv_close(cd_);
}

std::optional<std::string> Iconv::convert(std::string_view in) {
    if (!valid()) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial shift state
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    size_t done = 0;
    for (;;) {
        char* dst = out.data() + done;
        size_t dstLeft = out.size() - done;
        size_t r = iconv(cd_, srcLeft ? &src : nullptr, &srcLeft, &dst, &dstLeft);
        done = out.size() - dstLeft;
        if (r != static_cast<size_t>(-1)) {
            if (srcLeft == 0) {
                // Flush any pending shift sequence.
                dst = out.data() + done;
                dstLeft = out.size() - done;
                if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1))
                    return std::nullopt;
                done = out.size() - dstLeft;
                out.resize(done);
                return out;
            }
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        return std::nullopt; // EILSEQ, EINVAL or anything else
    }
}

} // namespace tuji
