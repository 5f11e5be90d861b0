#include "app/ui/Shell.h"

#include "app/Paths.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QUrl>

namespace tuji {

namespace {

ScopedShellStandIn*& CurrentStandIn() {
    static ScopedShellStandIn* standIn = nullptr;
    return standIn;
}

bool LooksLikeAddress(const std::string& target) {
    return ContainsText(target, "://") || StartsWithText(target, "mailto:", Case::Ignore);
}

} // namespace

std::string PickFolder(const std::string& initial, const std::string& title) {
    const std::string shownTitle = title.empty() ? T("请选择一个文件夹") : title;
    std::string chosen;
    if (auto* standIn = CurrentStandIn(); standIn && standIn->pickFolder) {
        chosen = standIn->pickFolder(initial, shownTitle);
    } else {
        const QString folder = QFileDialog::getExistingDirectory(
            nullptr, ToQString(shownTitle), FsPath(TrimSpaces(initial)), QFileDialog::ShowDirsOnly);
        if (!folder.isEmpty()) chosen = TextFromFsPath(QDir::toNativeSeparators(folder));
    }
    return TrimSpaces(chosen);
}

void PickFolderIntoBox(QWidget* /*window*/, QLineEdit* box) {
    if (!box) return;
    const std::string chosen = PickFolder(FromQString(box->text()));
    if (!chosen.empty()) box->setText(ToQString(chosen));
}

void OpenWithShell(const std::string& target) {
    if (target.empty()) return;
    if (auto* standIn = CurrentStandIn(); standIn && standIn->opened)
        return standIn->opened("shell", target);
    const QUrl url = LooksLikeAddress(target) ? QUrl(ToQString(target), QUrl::TolerantMode)
                                              : QUrl::fromLocalFile(FsPath(target));
    QDesktopServices::openUrl(url);
}

void OpenInExplorer(const std::string& path) {
    if (auto* standIn = CurrentStandIn(); standIn && standIn->opened)
        return standIn->opened("explorer", path);
#ifdef _WIN32
    if (EndsWithText(path, ".exe", Case::Ignore)) {
        QProcess::startDetached(FsPath(path), {});
        return;
    }
    QProcess process;
    process.setProgram("explorer");
    process.setNativeArguments("/n,\"" + QDir::toNativeSeparators(FsPath(path)) + "\"");
    process.startDetached();
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(FsPath(path)));
#endif
}

ScopedShellStandIn::ScopedShellStandIn() : previous_(CurrentStandIn()) {
    CurrentStandIn() = this;
}

ScopedShellStandIn::~ScopedShellStandIn() {
    CurrentStandIn() = previous_;
}

} // namespace tuji
