#pragma once

// Where the re-hosting job puts things and what the rewritten references
// say. Everything the job writes lies inside the results folder
// "转存结果" of the article folder: the image folder text the user typed
// is checked first, and generated names never hold a separator.

#include <string>
#include <string_view>

namespace tuji {

// The extension an image is saved with, taken from its download address:
// the part after the last "." of the last path segment, lower-cased, kept
// only when it is gif, png, ico or bmp; everything else is saved as jpg.
std::string ImageExtension(std::string_view downloadAddress);

// Empty when the image folder text is usable; otherwise the message that
// says why not. A ".." segment or a drive would put images outside the
// results folder, next to or over the user's own files.
std::string ImageFolderProblem(std::string_view imageFolder);

// The image folder as a file-form path relative to the results folder:
// "\" counts as a separator and becomes "/", leading separators are dropped
// (the folder is always taken from the results folder, never from the
// root). A trailing separator is kept, as typed.
std::string ImageFolderPath(std::string_view imageFolder);

// The saved relative path of an image: image folder + "/" + image name, or
// the image name alone when the image folder is empty.
std::string SavedRelativePath(std::string_view imageFolder, std::string_view imageName);

// The address a rewritten reference points to: "/" + the saved relative
// path, after "http://" + the new domain when one is given. Bytes that
// cannot stand in an address attribute are percent-encoded (non-ASCII as
// UTF-8), so the address reads the same whatever the article's encoding.
std::string NewImageAddress(std::string_view savedRelativePath, std::string_view newDomain);

// The article folder with a trailing "/" and "转存结果/".
std::string ResultsFolder(std::string_view articleFolder);

} // namespace tuji
