#pragma once

// Turning a user's text into a pattern. All three work on program text and
// never touch a byte inside a double-byte character: the trail byte of 乗
// (81 5C) is not a backslash and is left alone.

#include <string>
#include <string_view>

namespace tuji {

// "*.jpg|*.png" -> ".*\.jpg|.*\.png". `*` becomes `.*`, `?` becomes `.?`
// (at most one character), `|` stays an alternation. Not anchored.
std::string WildcardToPattern(std::string_view text);

// Every character the engine treats specially gets a backslash, `|` too.
std::string EscapePattern(std::string_view text);

// The same, but `|` stays an alternation.
std::string EscapePatternKeepAlternation(std::string_view text);

} // namespace tuji
