#pragma once

// The names in one folder as program text, in the listings' stable order.

#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// Names of the subfolders (folders true) or of the other entries, never "."
// or "..". A name that program text cannot address again (not UTF-8 on
// disk, or holding a "\", which program paths read as a separator) is left
// out, so no entry stands for another file. Empty when the folder is
// missing or unreadable.
std::vector<std::string> ReadFolderNames(std::string_view folder, bool folders);

// ASCII letters compared without case, ties broken by the bytes.
bool NameOrder(const std::string& a, const std::string& b);

} // namespace tuji
