// 岚舟·图集工坊: start-up and shut-down.
//
// The process-wide objects live in main's scope, so they are destroyed in
// the reverse order of their creation once the message loop has ended: the
// main window (and with it every page) first, libcurl's set-up last.

#include "app/ui/Fonts.h"
#include "app/ui/MainWindow.h"
#include "collect/ui/KeywordPage.h"
#include "download/ui/BatchDownloadPage.h"
#include "editor/ui/TextEditorDialog.h"
#include "modify/ui/ModifyPage.h"
#include "rehost/ui/RehostPage.h"
#include "settings/ProgramSettings.h"
#include "settings/ui/WindowStateSaving.h"
#include "web/CurlGlobal.h"

#include <QApplication>

namespace {

// The four pages in tab order; each is made when its tab is first shown.
void RegisterPages(tuji::MainWindow& window) {
    window.setPageFactory(0, [](QWidget* owner) { return new tuji::KeywordPage(owner); });
    window.setPageFactory(1, [](QWidget* owner) { return new tuji::BatchDownloadPage(owner); });
    window.setPageFactory(2, [](QWidget* owner) { return new tuji::RehostPage(owner); });
    window.setPageFactory(3, [](QWidget* owner) { return new tuji::ModifyPage(owner); });
}

// Window state saving (the last tab, the pages' controls) hooks into the
// main window's restoreLastTab, pageCreated, closing and saveRequested.
void ConnectWindowStateSaving(tuji::MainWindow& window) {
    new tuji::WindowStateSaving(&window, tuji::ProgramSettings()); // owned by the window
}

} // namespace

int main(int argc, char** argv) {
    // Before any thread exists, the toolkit's own included.
    tuji::CurlGlobal curl;

    QApplication app(argc, argv);
    QApplication::setApplicationName("tuji");
    // No display name: Qt would append it to every window title, and the
    // main window's title bar must read exactly as its form gives it (the
    // desktop entry names the program to the desktop).
    QApplication::setApplicationVersion("1.0");
    tuji::InstallFontSubstitutions();

    // The process-wide objects: the settings store (made on first use, by
    // OpenProgramSettings below). The file-system object holds no state, so
    // every user makes its own. There is no program-wide HttpRequest: its
    // only user-interface-thread user, the keyword job, keeps one of its own
    // for the page's lifetime, so it is released before libcurl is, and a
    // job nested in another's wait can never find a shared request busy
    // (which would make its fetch come back empty).

    // The start routine: open the store, then create and show the window.
    tuji::OpenProgramSettings();
    tuji::MainWindow window;
    RegisterPages(window);
    ConnectWindowStateSaving(window);
    QObject::connect(&window, &tuji::MainWindow::notesRequested, [] { tuji::ShowNotes(); });
    window.show();

    return app.exec();
}
