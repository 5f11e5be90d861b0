#include "app/ui/Fonts.h"
#include "app/ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

// Not a check: refreshes the README's picture of the main window when asked.
//   TUJI_SCREENSHOT=docs/screenshots/main-window.png QT_QPA_PLATFORM=xcb
//     xvfb-run -a -s "-screen 0 1280x800x24" build/tests/test_app --gtest_filter='Screenshot.*'
TEST(Screenshot, MainWindow) {
    const QString target = qEnvironmentVariable("TUJI_SCREENSHOT");
    if (target.isEmpty()) GTEST_SKIP() << "set TUJI_SCREENSHOT to the picture's path";
    tuji::InstallFontSubstitutions();
    tuji::MainWindow window;
    window.logoTimer()->stop();
    window.show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    QDir().mkpath(QFileInfo(target).absolutePath());
    ASSERT_TRUE(window.grab().save(target, "PNG"));
}
