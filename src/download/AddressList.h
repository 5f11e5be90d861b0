#pragma once

// The batch page's address list: the lines of its edit box, taken once when
// a job starts.

#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// One entry per line. Lines end at CR LF (the edit box on Windows) or at a
// lone LF (the edit box on Linux); empty lines between others stay as empty
// entries, a final line break adds none, and an empty text gives no lines.
std::vector<std::string> SplitAddressList(std::string_view text);

// The address a worker fetches for a line: the line without spaces and tabs
// at both ends.
std::string AddressOfLine(std::string_view line);

// True for an http:// or https:// address (any letter case) with a host.
// Nothing else is ever fetched: a stray word would otherwise be sent to a
// host of that name, and other schemes are not the web.
bool IsWebAddress(std::string_view address);

} // namespace tuji
