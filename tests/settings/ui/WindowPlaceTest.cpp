#include "settings/ui/WindowPlace.h"

#include "fs/Files.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace tuji {
namespace {

TEST(WindowPlace, ANormalWindowKeepsItsRectangle) {
    test::TempFolder dir;
    SettingsStore store;
    ASSERT_TRUE(store.Open(dir.file("s.ini")));
    QWidget window;
    window.move(50, 60);
    window.resize(850, 670);
    SaveWindowPlace(store, &window);
    EXPECT_EQ(ReadFileBytes(dir.file("s.ini")),
              T("[主界面.尺寸]\r\n高度=670\r\n宽度=850\r\n顶边=60\r\n左边=50\r\n位置=0"));

    QWidget other;
    other.resize(100, 100);
    RestoreWindowPlace(store, &other);
    EXPECT_EQ(other.pos(), QPoint(50, 60));
    EXPECT_EQ(other.size(), QSize(850, 670));
}

TEST(WindowPlace, AMaximisedWindowKeepsOnlyItsState) {
    test::TempFolder dir;
    SettingsStore store;
    ASSERT_TRUE(store.Open(dir.file("s.ini")));
    QWidget window;
    window.showMaximized();
    SaveWindowPlace(store, &window, "Page");
    EXPECT_EQ(ReadFileBytes(dir.file("s.ini")), T("[Page.尺寸]\r\n位置=3"));
    QWidget other;
    RestoreWindowPlace(store, &other, "Page");
    EXPECT_TRUE(other.windowState() & Qt::WindowMaximized);
}

} // namespace
} // namespace tuji
