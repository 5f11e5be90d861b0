#include "rehost/RehostPaths.h"

#include "text/Chars.h"
#include "text/Encoding.h"
#include "text/PercentEncoding.h"
#include "text/TextOps.h"

#include <vector>

namespace tuji {

namespace {

// "\" typed by the user is a separator too; the walk is by characters so
// that the trail byte 5C of a double-byte character stays what it is.
std::string SlashSeparators(std::string_view text) {
    return ReplaceText(text, "\\", "/");
}

std::vector<std::string> Segments(std::string_view folder) {
    return SplitText(SlashSeparators(folder), "/");
}

bool NeedsEscape(unsigned char c) {
    return c >= 0x80 || c <= 0x20 || c == '"' || c == '\'' || c == '<' || c == '>' || c == '#' ||
           c == '?' || c == 0x7F;
}

} // namespace

std::string ImageExtension(std::string_view downloadAddress) {
    // "/" and "." never occur as trail bytes, so byte searches are safe here.
    std::string_view last = downloadAddress;
    size_t slash = last.rfind('/');
    if (slash != std::string_view::npos) last = last.substr(slash + 1);
    size_t dot = last.rfind('.');
    std::string ext =
        dot == std::string_view::npos ? std::string() : LowerAscii(last.substr(dot + 1));
    if (ext == "gif" || ext == "png" || ext == "ico" || ext == "bmp") return ext;
    return "jpg";
}

std::string ImageFolderProblem(std::string_view imageFolder) {
    for (const std::string& segment : Segments(imageFolder)) {
        if (segment == "..")
            return T("保存目录‘") + std::string(imageFolder) +
                   T("’含有“..”，图片会被写到转存结果目录之外。请填写转存结果目录里的相对目录，"
                     "例如 files\\img。");
        if (ContainsText(segment, ":"))
            return T("保存目录‘") + std::string(imageFolder) +
                   T("’含有盘符或“:”。请填写转存结果目录里的相对目录，例如 files\\img。");
    }
    return {};
}

std::string ImageFolderPath(std::string_view imageFolder) {
    std::string path = SlashSeparators(imageFolder);
    size_t first = path.find_first_not_of('/');
    return first == std::string::npos ? std::string() : path.substr(first);
}

std::string SavedRelativePath(std::string_view imageFolder, std::string_view imageName) {
    std::string folder = ImageFolderPath(imageFolder);
    if (folder.empty()) return std::string(imageName);
    return folder + "/" + std::string(imageName);
}

std::string NewImageAddress(std::string_view savedRelativePath, std::string_view newDomain) {
    std::string path =
        "/" +
        PercentEncodeBytes(TextToUtf8Lenient(SlashSeparators(savedRelativePath)), NeedsEscape);
    if (newDomain.empty()) return path;
    return "http://" + std::string(newDomain) + path;
}

std::string ResultsFolder(std::string_view articleFolder) {
    std::string folder = SlashSeparators(articleFolder);
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + T("转存结果") + "/";
}

} // namespace tuji
