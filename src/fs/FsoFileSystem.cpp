#include "fs/FsoFileSystem.h"

#include "fs/Files.h"

namespace tuji {

bool FsoFileSystem::FolderExists(std::string_view path) const {
    return !path.empty() && PathIsFolder(path);
}

bool FsoFileSystem::FileExists(std::string_view path) const {
    return !path.empty() && PathIsFile(path);
}

} // namespace tuji
