#pragma once

#include <string>
#include <string_view>

namespace tuji {

// Decodes a title as the search answer writes it: the text is read as the
// body of an apostrophe-quoted script string (so \/ \\ \n \" \uXXXX \xXX and
// the octal escapes are decoded) and then unescaped (%uXXXX and %XX). CR LF
// and apostrophes pass through unchanged. A text that would not form a
// script string (a lone backslash at its end, a bare line break) keeps those
// characters as they stand and is decoded everywhere else.
std::string ScriptUnescape(std::string_view text);

} // namespace tuji
