#include "app/ui/HelpPages.h"

#include "text/Encoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

static void InitHelpResources() {
    Q_INIT_RESOURCE(appui);
}

namespace tuji {

namespace {

QString InstalledHelpFolder() {
    const QString exeFolder = QCoreApplication::applicationDirPath();
    for (const QString& folder : {exeFolder + "/help", exeFolder + "/../share/tuji/help"})
        if (QFileInfo::exists(folder + "/index.html")) return QDir(folder).canonicalPath();
    return {};
}

// Puts the bytes under the name in one step, unless the file already holds
// them. Several copies of the program (or of the tests) may do this at once;
// each sees either the old or the new complete file, never a missing one.
bool PutFile(const QString& target, const QByteArray& bytes) {
    QFile existing(target);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) return true;
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return false;
    return file.commit();
}

// The resource pages cannot be opened by a browser, so they are copied out
// once per run (a newer program may bring newer pages).
QString CopiedHelpFolder() {
    static QString copied;
    if (!copied.isEmpty()) return copied;
    InitHelpResources();
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/help";
    if (!QDir().mkpath(folder)) return {};
    const QDir source(":/tuji/help");
    for (const QString& name : source.entryList(QDir::Files)) {
        QFile page(source.filePath(name));
        if (!page.open(QIODevice::ReadOnly) || !PutFile(folder + "/" + name, page.readAll()))
            return {};
    }
    copied = folder;
    return copied;
}

} // namespace

std::string HelpPageAddress(const char* page) {
    QString folder = InstalledHelpFolder();
    if (folder.isEmpty()) folder = CopiedHelpFolder();
    if (folder.isEmpty()) return {};
    return FromQString(QUrl::fromLocalFile(folder + "/" + QString::fromUtf8(page)).toString());
}

} // namespace tuji
