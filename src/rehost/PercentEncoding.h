#pragma once

// Percent-encoding of bytes for the addresses the re-hosting job fetches and
// writes into articles; each caller says which bytes an address can't carry.

#include <string>
#include <string_view>

namespace tuji {

// Every byte for which `needsEscape` holds becomes "%XX" (upper-case hex);
// the others stay as they are.
std::string PercentEncodeBytes(std::string_view bytes, bool (*needsEscape)(unsigned char));

} // namespace tuji
