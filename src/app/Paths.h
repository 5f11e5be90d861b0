#pragma once

// Taking paths and addresses apart, safe file names, folder creation and the
// program folder. A path in address form uses "/" (image addresses); a path in
// file form uses the platform's separator, and on Linux a "\" typed by the
// user counts as a separator too, so "files\img" means files/img.
// All texts are program text; none of these routines keeps shared state.

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

enum class PathForm { File, Address };

std::string PathExtension(std::string_view path, PathForm form); // without the dot
std::string PathFileName(std::string_view path, PathForm form);
std::string PathFolder(std::string_view path, PathForm form);
std::string PathBaseName(std::string_view path, PathForm form);
// The part after the host: "p/a.jpg" (withoutSlash) or "/p/a.jpg".
std::string AddressPath(std::string_view address, bool withoutSlash);

// Replaces \ / : * ? | < > by their full-width forms, drops double quotes,
// CR, LF and TAB. Not shortened, not trimmed, may be empty.
std::string SafeFileName(std::string_view text);

// Creates every missing folder of the path left of its last separator; the
// part after the last separator is never created, so a folder path must end
// with a separator to be created completely. The root ("/", "C:") is skipped.
// Appends what it created to `created` when given.
bool CreateMissingFolders(std::string_view path, std::vector<std::string>* created = nullptr);

// 1-based position of the last separator of the form, or -1.
int LastSeparator(std::string_view path, PathForm form);
// "a/b" + "c" -> "a/b/c" (one separator between them).
std::string JoinPath(std::string_view folder, std::string_view name);
// The platform's separator as program text.
const std::string& PathSeparator();

// The file-system edge: program text <-> QString paths. FsPath also turns a
// typed "\" into "/" on Linux.
QString FsPath(std::string_view text);
std::string TextFromFsPath(const QString& path);

// True for an absolute path ("/x" on Linux, "C:\x" on Windows).
bool IsAbsolutePath(std::string_view path);

// The executable's folder when it is writable (portable use), otherwise the
// per-user application data folder (created on first use). No trailing
// separator. Tests may point it elsewhere with SetProgramFolder.
std::string ProgramFolder();
void SetProgramFolder(std::string_view folder);

} // namespace tuji
