#pragma once

// Files that later runs trust (downloaded images, converted images, rewritten
// articles) are never left half-written under their final name: the bytes go
// to a temporary file in the target's folder, which is then moved into place.

#include <string_view>

namespace tuji {

enum class AtomicWriteResult {
    Written,   // the file stands complete under its name
    NameTaken, // ReplaceMode::Keep and something already has that name: untouched
    Failed,    // nothing was written (no space, no permission, no folder)
};

enum class ReplaceMode {
    Keep,    // never replace an existing file (renameat2 RENAME_NOREPLACE on Linux)
    Replace, // replace an existing file in one step
};

AtomicWriteResult WriteFileAtomic(std::string_view path, std::string_view bytes, ReplaceMode mode);

} // namespace tuji
