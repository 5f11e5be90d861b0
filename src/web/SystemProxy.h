#pragma once

#include <string>

namespace tuji {

// The user's system-wide proxy server ("host:port"), asked for by the
// proxy text "IE". Linux keeps no such setting for programs to read, so
// this is empty there, which means a direct connection.
std::string SystemProxyServer();

} // namespace tuji
