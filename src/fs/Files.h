#pragma once

// Whole-file reads and writes on program-text paths.

#include <string>
#include <string_view>

namespace tuji {

// The file's bytes; false (and empty bytes) when it cannot be read.
bool ReadFileBytes(std::string_view path, std::string& bytes);
std::string ReadFileBytes(std::string_view path);

// Creates or truncates the file and writes the bytes. Not atomic: for files
// other runs will trust, use WriteFileAtomic (fs/AtomicWrite.h).
bool WriteFileBytes(std::string_view path, std::string_view bytes);

bool PathIsFile(std::string_view path);
bool PathIsFolder(std::string_view path);
bool PathExists(std::string_view path);

} // namespace tuji
