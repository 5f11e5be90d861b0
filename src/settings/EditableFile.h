#pragma once

// What the settings engine writes its edits through: the settings file itself,
// held against other writers, or a copy in memory that never reaches the disk.
// Every edit is one "replace these bytes at this offset"; insertions and
// deletions are replacements with an empty side.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tuji {

class EditableFile {
public:
    virtual ~EditableFile() = default;
    // Replaces `oldLength` bytes at 0-based `offset` by `bytes`; the bytes
    // before `offset` are never touched. False when the file could not be
    // changed completely.
    virtual bool Replace(size_t offset, size_t oldLength, std::string_view bytes) = 0;
    virtual std::optional<std::string> ReadAll() = 0;
};

// Opens (creating when missing) the file for reading and writing and takes an
// exclusive advisory lock on it, so a second instance of the program cannot
// write it while this one runs. Nothing when the file cannot be opened or the
// lock is held elsewhere.
std::unique_ptr<EditableFile> OpenLockedFile(std::string_view path);

// A file that lives in memory only, filled with `bytes`.
std::unique_ptr<EditableFile> MakeMemoryFile(std::string bytes);

} // namespace tuji
