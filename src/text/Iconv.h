#pragma once

#include <iconv.h>
#include <optional>
#include <string>
#include <string_view>

namespace tuji {

// Owns one iconv conversion descriptor. Not shareable between threads;
// make one where it is needed (they are cheap).
class Iconv {
public:
    Iconv(const char* to, const char* from);
    ~Iconv();
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The whole input converted, or nothing: an invalid (EILSEQ) or
    // incomplete (EINVAL) sequence anywhere fails the conversion.
    std::optional<std::string> convert(std::string_view in);

private:
    iconv_t cd_;
};

} // namespace tuji
