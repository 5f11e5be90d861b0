#include "app/TextHelpers.h"

#include "app/Wait.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tuji;

TEST(TextHelpers, TextBetween) {
    EXPECT_EQ(TextBetween("abc", "", "b"), "a");
    EXPECT_EQ(TextBetween("abc", "b", ""), "c");
    int cursor = 2;
    EXPECT_EQ(TextBetween("abc", "x", "y", &cursor), "");
    EXPECT_EQ(cursor, 2);
    EXPECT_EQ(TextBetween("{\"IMG\":\"u\"}", "''img'':''", "''"), "u");
}

TEST(TextHelpers, TextBetweenWalksPairs) {
    int cursor = 1;
    EXPECT_EQ(TextBetween("{a}{b}{}", "{", "}", &cursor), "a");
    EXPECT_EQ(TextBetween("{a}{b}{}", "{", "}", &cursor), "b");
    EXPECT_EQ(TextBetween("{a}{b}{}", "{", "}", &cursor), "");
    EXPECT_EQ(cursor, 9);
}

TEST(TextHelpers, ReplaceEach) {
    EXPECT_EQ(ReplaceEach("a%2Eb%5Fc", "%2E|%5F", ".|_"), "a.b_c");
    ReplaceEachOptions useFirst;
    useFirst.useFirstForEmpty = true;
    EXPECT_EQ(ReplaceEach("x1y2", "1|2", "-|", useFirst), "x-y-");
    EXPECT_EQ(ReplaceEach("x1y2", "1|2", "-|"), "x-y");
    ReplaceEachOptions once;
    once.count = 1;
    once.separator = ",";
    EXPECT_EQ(ReplaceEach("aaa", "a", "b", once), "baa");
}

TEST(Wait, EndsSoonAfterTheFlagIsSet) {
    std::atomic<int> flag{0};
    QTimer::singleShot(50, [&] { flag = 1; });
    QElapsedTimer t;
    t.start();
    WaitWithEvents(2000, &flag);
    EXPECT_LT(t.elapsed(), 1000);
}
