#include "collect/SavePath.h"

#include "app/Md5.h"
#include "app/Paths.h"
#include "fs/AtomicWrite.h"
#include "fs/Files.h"
#include "text/Chars.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <vector>

namespace tuji {

namespace {

// Extensions longer than this (an address's query kept as extension) are cut
// too, so that a name still has room for its base.
constexpr size_t kMaxExtensionBytes = 64;
// Free numbered names are looked for this far; beyond it the name is given
// up on rather than searched forever.
constexpr int kMaxNumberedNames = 100000;

size_t Utf8Size(std::string_view text) {
    return TextToUtf8Lenient(text).size();
}

// The longest leading part of the text whose UTF-8 form has at most `limit`
// bytes, cut between characters.
std::string CutToUtf8Bytes(std::string_view text, size_t limit) {
    size_t used = 0, i = 0;
    while (i < text.size()) {
        size_t n = CharLength(text, i);
        size_t bytes = Utf8Size(text.substr(i, n));
        if (used + bytes > limit) break;
        used += bytes;
        i += n;
    }
    return std::string(text.substr(0, i));
}

// base + dotExt (which is "" or ".ext") within the name limit.
std::string FitBaseAndExtension(std::string_view base, std::string_view dotExt) {
    std::string ext(dotExt);
    if (Utf8Size(ext) > kMaxExtensionBytes) ext = CutToUtf8Bytes(ext, kMaxExtensionBytes);
    size_t extBytes = Utf8Size(ext);
    std::string b(base);
    if (Utf8Size(b) + extBytes > size_t(kMaxFileNameBytes))
        b = CutToUtf8Bytes(b, size_t(kMaxFileNameBytes) - extBytes);
    return b + ext;
}

std::string DotExtension(std::string_view name) {
    std::string ext = PathExtension(name, PathForm::File);
    int sep = LastSeparator(name, PathForm::File);
    std::string_view last = sep > 0 ? name.substr(size_t(sep)) : name;
    return ContainsText(last, ".") ? "." + ext : std::string();
}

// A segment that would name the folder itself or its parent.
bool IsDotSegment(std::string_view segment) {
    if (segment.empty()) return true;
    for (char c : segment)
        if (c != '.' && c != ' ') return false;
    return true;
}

std::string FolderWithSeparator(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && !EndsWithText(out, "/") && !EndsWithText(out, "\\")) out += PathSeparator();
    return out;
}

std::string PathForMode(std::string_view folder, std::string_view address, std::string_view bytes,
                        int mode, std::string_view title) {
    std::string ext = PathExtension(address, PathForm::Address);
    std::string extOrJpg = ext.empty() ? std::string("jpg") : ext;
    std::string root = FolderWithSeparator(folder);
    switch (mode) {
    case kNameOriginal: {
        std::string name = PathFileName(address, PathForm::Address);
        if (ext.empty()) name += ".jpg";
        return root + SafePathSegment(name);
    }
    case kNameOriginalPath: {
        std::string p = AddressPath(address, true);
        if (ext.empty()) p += ".jpg";
        // Both separators split, and no segment may climb out of the folder:
        // the address comes from the web.
        std::vector<std::string> segments;
        for (const auto& piece : SplitText(ReplaceText(p, "\\", "/"), "/"))
            if (!IsDotSegment(piece)) segments.push_back(piece);
        if (segments.empty()) segments.push_back(".jpg");
        std::string out = root;
        for (size_t i = 0; i < segments.size(); ++i) {
            out += SafePathSegment(segments[i]);
            if (i + 1 < segments.size()) out += PathSeparator();
        }
        return out;
    }
    case kNameTitle:
        return root + SafePathSegment(std::string(title) + "." + extOrJpg);
    default:
        return root + SafePathSegment(ShortHash(bytes) + "." + extOrJpg);
    }
}

bool SameBytes(std::string_view path, std::string_view bytes) {
    std::string existing;
    return PathIsFile(path) && ReadFileBytes(path, existing) && existing == bytes;
}

// The first of name_1.ext, name_2.ext, ... that nothing has taken.
std::string FreeNumberedName(std::string_view path) {
    std::string folder = PathFolder(path, PathForm::File);
    std::string name = PathFileName(path, PathForm::File);
    std::string dotExt = DotExtension(name);
    std::string base = name.substr(0, name.size() - dotExt.size());
    std::string prefix = folder.empty() ? std::string() : folder + PathSeparator();
    for (int i = 1; i <= kMaxNumberedNames; ++i) {
        std::string tail = "_" + NumberText(i) + dotExt;
        size_t tailBytes = Utf8Size(tail);
        if (tailBytes >= size_t(kMaxFileNameBytes)) break;
        std::string b = base;
        if (Utf8Size(b) + tailBytes > size_t(kMaxFileNameBytes))
            b = CutToUtf8Bytes(b, size_t(kMaxFileNameBytes) - tailBytes);
        std::string candidate = prefix + b + tail;
        if (!PathExists(candidate)) return candidate;
    }
    return {};
}

// Control characters come from escapes in titles ("\u0000"): a zero byte
// would cut the name short at the file system, and Windows refuses the
// others. No byte below 0x30, nor 0x7F, is ever part of a double-byte
// character, so they go byte by byte.
std::string WithoutControlBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
    return out;
}

} // namespace

int NamingModeFromChecks(bool originalName, bool originalPath, bool title) {
    if (originalName) return kNameOriginal;
    if (originalPath) return kNameOriginalPath;
    if (title) return kNameTitle;
    return kNameAuto;
}

std::string SafePathSegment(std::string_view text) {
    std::string name = SafeFileName(WithoutControlBytes(text));
    if (IsDotSegment(name)) name = ReplaceText(name, ".", T("．"));
    return FitFileName(name);
}

std::string FitFileName(std::string_view name) {
    if (Utf8Size(name) <= size_t(kMaxFileNameBytes)) return std::string(name);
    std::string dotExt = DotExtension(name);
    return FitBaseAndExtension(name.substr(0, name.size() - dotExt.size()), dotExt);
}

std::string ChooseSavePath(std::string_view folder, std::string_view address,
                           std::string_view bytes, int mode, std::string_view title) {
    std::string path = PathForMode(folder, address, bytes, mode, title);
    if (PathExists(path)) {
        if (SameBytes(path, bytes)) return {};
        path = FreeNumberedName(path);
        if (path.empty()) return {};
    }
    // The folder is there for all but the first image of a folder: one look
    // instead of one for every folder along the path.
    if (!PathIsFolder(PathFolder(path, PathForm::File))) CreateMissingFolders(path);
    return path;
}

SaveResult SaveImageNoReplace(std::string path, std::string_view bytes) {
    if (path.empty()) return {SaveStatus::Failed, path};
    for (int attempt = 0; attempt < kMaxNumberedNames; ++attempt) {
        switch (WriteFileAtomic(path, bytes, ReplaceMode::Keep)) {
        case AtomicWriteResult::Written:
            return {SaveStatus::Saved, path};
        case AtomicWriteResult::Failed:
            return {SaveStatus::Failed, path};
        case AtomicWriteResult::NameTaken: {
            if (SameBytes(path, bytes)) return {SaveStatus::AlreadyThere, path};
            std::string next = FreeNumberedName(path);
            if (next.empty()) return {SaveStatus::Failed, path};
            path = next;
            break;
        }
        }
    }
    return {SaveStatus::Failed, path};
}

} // namespace tuji
