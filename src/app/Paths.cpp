#include "app/Paths.h"

#include "text/Chars.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <mutex>

namespace tuji {

namespace {

bool IsSeparatorChar(char c, PathForm form) {
    if (form == PathForm::Address) return c == '/';
    return c == '/' || c == '\\';
}

std::mutex& ProgramFolderMutex() {
    static std::mutex m;
    return m;
}

std::string& ProgramFolderValue() {
    static std::string folder;
    return folder;
}

std::string ComputeProgramFolder() {
    QString exeDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    QFileInfo info(exeDir);
    if (info.isDir() && info.isWritable()) return TextFromFsPath(exeDir);
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) data = QDir::homePath() + "/.local/share";
    QString dir = data + "/tuji";
    QDir().mkpath(dir);
    return TextFromFsPath(dir);
}

} // namespace

int LastSeparator(std::string_view path, PathForm form) {
    int slash = FindLastText(path, "/");
    if (form == PathForm::Address) return slash;
    return std::max(slash, FindLastText(path, "\\"));
}

std::string PathFileName(std::string_view path, PathForm form) {
    int sep = LastSeparator(path, form);
    return sep < 0 ? std::string(path) : std::string(path.substr(static_cast<size_t>(sep)));
}

std::string PathFolder(std::string_view path, PathForm form) {
    int sep = LastSeparator(path, form);
    return sep < 0 ? std::string() : std::string(path.substr(0, static_cast<size_t>(sep - 1)));
}

std::string PathExtension(std::string_view path, PathForm form) {
    std::string name = PathFileName(path, form);
    int dot = FindLastText(name, ".");
    return dot < 0 ? std::string() : name.substr(static_cast<size_t>(dot));
}

std::string PathBaseName(std::string_view path, PathForm form) {
    std::string name = PathFileName(path, form);
    int dot = FindLastText(name, ".");
    return dot < 0 ? name : name.substr(0, static_cast<size_t>(dot - 1));
}

std::string AddressPath(std::string_view address, bool withoutSlash) {
    int scheme = FindText(address, "://");
    int slash = FindText(address, "/", scheme > 0 ? scheme + 3 : 1);
    if (slash < 0) return withoutSlash ? std::string(address) : std::string();
    size_t from = static_cast<size_t>(withoutSlash ? slash : slash - 1);
    return std::string(address.substr(from));
}

std::string SafeFileName(std::string_view text) {
    static const char* const kPlain[] = {"\\", "/", ":", "*", "?", "|", "<", ">"};
    static const char* const kFullWidth[] = {"＼", "／", "：", "＊", "？", "｜", "＜", "＞"};
    static const std::vector<std::string> fullWidth = [] {
        std::vector<std::string> v;
        for (const char* s : kFullWidth)
            v.push_back(T(s));
        return v;
    }();
    std::string out(text);
    for (size_t i = 0; i < fullWidth.size(); ++i)
        out = ReplaceText(out, kPlain[i], fullWidth[i]);
    out = ReplaceText(out, "\"", "");
    out = ReplaceText(out, "\r\n", "");
    for (const char* c : {"\r", "\n", "\t"})
        out = ReplaceText(out, c, "");
    return out;
}

bool CreateMissingFolders(std::string_view path, std::vector<std::string>* created) {
    // Walk the separators left to right, whole characters at a time (a trail
    // byte may look like "\"); each prefix before a separator is a folder.
    for (size_t i = 0; i < path.size(); i += CharLength(path, i)) {
        if (!IsSeparatorChar(path[i], PathForm::File)) continue;
        std::string prefix(path.substr(0, i));
        bool isRoot = prefix.empty() || (prefix.size() == 2 && prefix[1] == ':');
        if (isRoot) continue;
        QString fs = FsPath(prefix);
        if (QFileInfo::exists(fs)) continue;
        // Workers may create the same folder at the same moment: a folder
        // that exists after a failed creation is as good as a created one.
        if (!QDir().mkdir(fs)) {
            if (QFileInfo(fs).isDir()) continue;
            return false;
        }
        if (created) created->push_back(prefix);
    }
    return true;
}

const std::string& PathSeparator() {
#ifdef _WIN32
    static const std::string sep = "\\";
#else
    static const std::string sep = "/";
#endif
    return sep;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    std::string out(folder);
    if (!EndsWithText(out, "/") && !EndsWithText(out, "\\")) out += PathSeparator();
    out.append(name);
    return out;
}

QString FsPath(std::string_view text) {
#ifdef _WIN32
    return ToQString(text);
#else
    return ToQString(ReplaceText(text, "\\", "/"));
#endif
}

std::string TextFromFsPath(const QString& path) {
    return FromQString(QDir::toNativeSeparators(path));
}

bool IsAbsolutePath(std::string_view path) {
    return QDir::isAbsolutePath(FsPath(path));
}

std::string ProgramFolder() {
    std::lock_guard<std::mutex> lock(ProgramFolderMutex());
    std::string& folder = ProgramFolderValue();
    if (folder.empty()) folder = ComputeProgramFolder();
    return folder;
}

void SetProgramFolder(std::string_view folder) {
    std::lock_guard<std::mutex> lock(ProgramFolderMutex());
    ProgramFolderValue() = std::string(folder);
}

} // namespace tuji
