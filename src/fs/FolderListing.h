#pragma once

// The two folder listings. Both fill `result` with full paths (the folder,
// a separator when it has none at its end, the entry's name), list files or,
// with `folders`, subfolders (never "." and ".."), and never descend. With
// `append` false the list is emptied first. They return the list's length.
//
// Entries come in a stable name order: ASCII letters compared without case,
// ties broken by the bytes of the program text. A name on disk that program
// text cannot address (not UTF-8, or holding a "\") is left out rather than
// listed under another file's name. A missing or unreadable folder lists
// nothing. Pending events are handled now and then on the user-interface
// thread, so a large folder does not freeze the window.

#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// Filter: wildcard patterns separated by "|"; empty means "*". "*" and
// "*.*" pass everything; "*.ext" (one star only) is a case-insensitive test
// of the name's end; anything else is the unanchored pattern of
// WildcardToPattern, ignoring case.
int ListFolderEntries(std::string_view folder, std::string_view filter,
                      std::vector<std::string>& result, bool append = false, bool folders = false);

// Filter: empty means "*.*". Each "|"-separated pattern is a wildcard
// matched against whole names, ignoring case (`*` any run, `?` at most one
// character, "*.*" everything, a trailing ".*" also fits names without an
// extension), pattern after pattern, so a name fitting two patterns comes
// twice. Hidden files are included.
int SearchFolderEntries(std::string_view folder, std::string_view filter,
                        std::vector<std::string>& result, bool append = false,
                        bool folders = false);

} // namespace tuji
