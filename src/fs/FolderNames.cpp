#include "fs/FolderNames.h"

#include "app/Paths.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QFile>
#include <algorithm>
#include <filesystem>

namespace tuji {

namespace {

std::filesystem::path NativePath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// The entry's name as program text, or nothing when that text would lead
// somewhere else.
bool NameAsText(const std::filesystem::path& name, std::string& text) {
#ifdef _WIN32
    const QString q = QString::fromStdWString(name.native());
#else
    const std::string& raw = name.native();
    const QByteArray bytes(raw.data(), qsizetype(raw.size()));
    const QString q = QFile::decodeName(bytes);
    if (QFile::encodeName(q) != bytes) return false;
#endif
    text = FromQString(q);
    return !text.empty() && FsPath(text) == q;
}

} // namespace

bool NameOrder(const std::string& a, const std::string& b) {
    const std::string la = LowerAscii(a), lb = LowerAscii(b);
    if (la != lb) return la < lb;
    return a < b;
}

std::vector<std::string> ReadFolderNames(std::string_view folder, bool folders) {
    std::vector<std::string> names;
    if (folder.empty()) return names;
    std::error_code ec;
    std::filesystem::directory_iterator it(
        NativePath(FsPath(folder)), std::filesystem::directory_options::skip_permission_denied, ec);
    if (ec) return names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::error_code kindError;
        // Links count as what they point to, as the user sees them.
        const bool isFolder = it->is_directory(kindError);
        if (isFolder != folders) continue;
        std::string text;
        if (NameAsText(it->path().filename(), text)) names.push_back(std::move(text));
    }
    std::sort(names.begin(), names.end(), NameOrder);
    return names;
}

} // namespace tuji
