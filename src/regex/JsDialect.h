#pragma once

// The pattern dialect of the program (JavaScript-like) rewritten for PCRE2,
// where the two differ in ways compile options cannot fix:
// - "." refuses CR, LF, U+2028 and U+2029 only;
// - \s is JavaScript's white space (with U+00A0, U+3000, U+FEFF, ...), \v is
//   the vertical tab, not a class;
// - an escaped letter without a meaning of its own is that letter (\A is
//   "A", \K is "K"), and \c without a letter is a backslash and "c";
// - "[" inside a class is a plain character, so [[:alpha:]] is no POSIX
//   class.
// Input and output are UTF-8.

#include <string>
#include <string_view>

namespace tuji {

std::string TranslateJsPattern(std::string_view pattern);

} // namespace tuji
