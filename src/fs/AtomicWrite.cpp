#include "fs/AtomicWrite.h"

#include "app/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace tuji {

namespace {

AtomicWriteResult WriteReplacing(const QString& target, std::string_view bytes) {
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) return AtomicWriteResult::Failed;
    qint64 n = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), n) != n) {
        file.cancelWriting();
        return AtomicWriteResult::Failed;
    }
    return file.commit() ? AtomicWriteResult::Written : AtomicWriteResult::Failed;
}

AtomicWriteResult WriteKeeping(const QString& target, std::string_view bytes) {
    if (QFileInfo::exists(target)) return AtomicWriteResult::NameTaken;
    QFileInfo info(target);
    QTemporaryFile temp(info.absolutePath() + "/.tuji-XXXXXX.part");
    if (!temp.open()) return AtomicWriteResult::Failed;
    qint64 n = static_cast<qint64>(bytes.size());
    if (temp.write(bytes.data(), n) != n || !temp.flush()) return AtomicWriteResult::Failed;
    temp.close();
    // QFile::rename never replaces an existing file (renameat2 with
    // RENAME_NOREPLACE, or link + unlink, on Linux), so two writers racing
    // for one name cannot both win.
    if (temp.rename(target)) {
        temp.setAutoRemove(false);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                          QFile::ReadOther);
        return AtomicWriteResult::Written;
    }
    return QFileInfo::exists(target) ? AtomicWriteResult::NameTaken : AtomicWriteResult::Failed;
}

} // namespace

AtomicWriteResult WriteFileAtomic(std::string_view path, std::string_view bytes, ReplaceMode mode) {
    QString target = FsPath(path);
    if (target.isEmpty()) return AtomicWriteResult::Failed;
    return mode == ReplaceMode::Replace ? WriteReplacing(target, bytes)
                                        : WriteKeeping(target, bytes);
}

} // namespace tuji
