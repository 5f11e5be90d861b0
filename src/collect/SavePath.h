#pragma once

// Where a downloaded image goes, and how it gets there. Shared by the keyword
// page and the batch download page; both run these on worker threads, so
// nothing here keeps state.

#include <string>
#include <string_view>

namespace tuji {

// The naming modes of the pages' radio buttons.
enum NamingMode : int {
    kNameAuto = 0,         // 自动命名: ShortHash of the bytes + extension
    kNameOriginal = 1,     // 原图片名: the address's last segment
    kNameOriginalPath = 2, // 原图片路径: the address's path below the host
    kNameTitle = 3,        // 图片标题: the hit's title + extension
};

// The mode for the checked radio buttons, in their priority order.
int NamingModeFromChecks(bool originalName, bool originalPath, bool title);

// The longest file name the file systems we write to take, in UTF-8 bytes.
constexpr int kMaxFileNameBytes = 255;

// A file name (no separator in it) shortened at a character boundary so its
// UTF-8 form fits kMaxFileNameBytes; the extension is kept.
std::string FitFileName(std::string_view name);

// A text as one segment of a path: SafeFileName without control characters,
// never "." or ".." (their dots become full-width), and shortened like
// FitFileName. Keyword folders
// and address files are named with it.
std::string SafePathSegment(std::string_view text);

// The path to write the image to, below `folder` (which ends with a
// separator), by the naming mode; the folders of the path are created. Gives
// empty text when a file with exactly these bytes is already there; when a
// different file has the name, the first free "name_N.ext" is given. Every
// segment is a safe file name and "." and ".." segments of an address path
// are dropped, so the path never leaves `folder`.
std::string ChooseSavePath(std::string_view folder, std::string_view address,
                           std::string_view bytes, int mode, std::string_view title = {});

enum class SaveStatus {
    Saved,        // written under SaveResult::path
    AlreadyThere, // a file with the same bytes took the name first
    Failed,       // could not be written (no folder, no space, invalid name)
};

struct SaveResult {
    SaveStatus status;
    std::string path; // where the bytes were or would have been written
};

// Writes the bytes to `path` (as ChooseSavePath gave it) without ever
// replacing a file: the bytes go to a temporary file beside it first. When
// another worker took the name meanwhile, its file is compared again and the
// next free numbered name is taken, so no two workers write the same file and
// no half-written image is ever left under a final name.
SaveResult SaveImageNoReplace(std::string path, std::string_view bytes);

} // namespace tuji
