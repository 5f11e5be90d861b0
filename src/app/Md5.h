#pragma once

#include <string>
#include <string_view>

namespace tuji {

// 32 lower-case hexadecimal digits of the MD5 of the bytes.
std::string Md5Hex(std::string_view bytes);
// The first nine digits of Md5Hex in upper case: the content name of images.
std::string ShortHash(std::string_view bytes);

} // namespace tuji
