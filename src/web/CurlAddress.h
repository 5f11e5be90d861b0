#pragma once

#include <string>

namespace tuji {

// A url of program text as libcurl wants it: UTF-8, with every non-ASCII
// byte, space and control character of the path, query and fragment
// percent-encoded, as a browser sends it. The host stays UTF-8 for
// libcurl's international domain name handling. "%" is left alone, so an
// address that is already encoded passes unchanged.
std::string CurlAddress(const std::string& url);

} // namespace tuji
