#include "app/ui/HelpPages.h"

#include "text/Encoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        const QString target = folder + "/" + name;
        QFile::remove(target);
        if (!QFile::copy(source.filePath(name), target)) return {};
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
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
