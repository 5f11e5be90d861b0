#include "fs/Files.h"

#include "app/Paths.h"

#include <QFile>
#include <QFileInfo>

namespace tuji {

bool ReadFileBytes(std::string_view path, std::string& bytes) {
    bytes.clear();
    QFile file(FsPath(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    qint64 size = file.size();
    if (size > 0) {
        bytes.resize(static_cast<size_t>(size));
        qint64 got = file.read(bytes.data(), size);
        if (got != size) {
            bytes.clear();
            return false;
        }
    } else {
        // Files whose size is not known up front (pipes, /proc).
        QByteArray all = file.readAll();
        bytes.assign(all.constData(), static_cast<size_t>(all.size()));
    }
    return true;
}

std::string ReadFileBytes(std::string_view path) {
    std::string bytes;
    ReadFileBytes(path, bytes);
    return bytes;
}

bool WriteFileBytes(std::string_view path, std::string_view bytes) {
    QFile file(FsPath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    qint64 n = static_cast<qint64>(bytes.size());
    return file.write(bytes.data(), n) == n && file.flush();
}

bool PathIsFile(std::string_view path) {
    return QFileInfo(FsPath(path)).isFile();
}
bool PathIsFolder(std::string_view path) {
    return QFileInfo(FsPath(path)).isDir();
}
bool PathExists(std::string_view path) {
    return QFileInfo::exists(FsPath(path));
}

} // namespace tuji
