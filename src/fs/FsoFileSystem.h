#pragma once

// The program-wide file-system object: existence queries on program-text
// paths. Holds no state, so one instance may answer the user-interface
// thread and download workers at the same time.

#include <string_view>

namespace tuji {

class FsoFileSystem {
public:
    bool FolderExists(std::string_view path) const;
    // True for an existing entry that is not a folder.
    bool FileExists(std::string_view path) const;
};

} // namespace tuji
