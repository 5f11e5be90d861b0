#pragma once

// Searching and cutting program text. Positions are 1-based byte positions;
// "not found" is -1. A search never matches inside a double-byte or
// four-byte character: 乗 is 81 5C, so a search for "\" must not find its
// trail byte.

#include <string>
#include <string_view>
#include <vector>

namespace tuji {

enum class Case { Sensitive, Ignore }; // Ignore folds ASCII letters only

// First occurrence of `what` at or after byte position `start` (1-based).
// An empty `what` is found at `start` (when start is within text + 1).
int FindText(std::string_view text, std::string_view what, int start = 1, Case c = Case::Sensitive);
// Last occurrence that begins at or before `start` (-1 = from the end).
int FindLastText(std::string_view text, std::string_view what, int start = -1,
                 Case c = Case::Sensitive);
inline bool ContainsText(std::string_view text, std::string_view what, Case c = Case::Sensitive) {
    return FindText(text, what, 1, c) > 0;
}
bool StartsWithText(std::string_view text, std::string_view prefix, Case c = Case::Sensitive);
bool EndsWithText(std::string_view text, std::string_view suffix, Case c = Case::Sensitive);

// Replaces occurrences left to right, never overlapping; count <= 0 means all.
std::string ReplaceText(std::string_view text, std::string_view find, std::string_view with,
                        int count = 0, Case c = Case::Sensitive);

// Splits at `sep`: empty pieces between separators remain, a separator at
// the end adds no piece, an empty text gives no piece.
std::vector<std::string> SplitText(std::string_view text, std::string_view sep);
std::string JoinText(const std::vector<std::string>& pieces, std::string_view sep);

// Bytes from 1-based `start`, `length` of them (-1 = to the end); clipped.
std::string MidText(std::string_view text, int start, int length = -1);

std::string LowerAscii(std::string_view text); // letters of double-byte characters untouched
std::string UpperAscii(std::string_view text);
std::string TrimSpaces(std::string_view text); // ASCII spaces at both ends

// A file or response read "as text" ends at its first zero byte.
std::string_view TextBeforeZero(std::string_view bytes);

// Whole-number texts as the program writes them (decimal, no separators).
std::string NumberText(long long n);
// Leading decimal number of a text, 0 when there is none.
long long TextNumber(std::string_view text);

} // namespace tuji
