#include "app/ui/Clipboard.h"
#include "app/ui/ColourPicker.h"
#include "app/ui/Fonts.h"
#include "app/ui/ProgressOverlay.h"
#include "text/Encoding.h"

#include <QFontInfo>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <gtest/gtest.h>

using namespace tuji;

TEST(ProgressOverlay, LabelSitsInsideTheBarAtTenZero) {
    QWidget page;
    auto* bar = new QProgressBar(&page);
    bar->setGeometry(12, 16, 804, 24);
    auto* label = new QLabel(&page);
    label->setGeometry(28, 16, 772, 24);
    LayLabelOverBar(label, bar);
    EXPECT_EQ(label->parentWidget(), bar);
    EXPECT_EQ(label->geometry(), QRect(10, 0, 784, 24));
    EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_FALSE(bar->isTextVisible());
}

TEST(ColourPicker, ColoursAreBgrWithATransparentValue) {
    EXPECT_EQ(QColorFromColour(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(QColorFromColour(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(ColourFromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(QColorFromColour(kTransparentColour).alpha(), 0);
    EXPECT_EQ(ColourFromQColor(QColor(Qt::transparent)), kTransparentColour);

    ColourPicker picker;
    picker.setObjectName(QString::fromUtf8("颜色选择器文字水印背景色"));
    std::vector<uint> changes;
    QObject::connect(&picker, &ColourPicker::colourChanged, [&](uint c) { changes.push_back(c); });
    picker.setColour(0x00563412);
    picker.setColour(0x00563412); // unchanged: no signal
    picker.setColour(kTransparentColour);
    EXPECT_EQ(changes, (std::vector<uint>{0x00563412u, kTransparentColour}));
    // The settings store reaches the value through the property.
    picker.setProperty("colour", 0x00FFFFFFu);
    EXPECT_EQ(picker.property("colour").toUInt(), 0x00FFFFFFu);
    picker.setColour(0x7F112233); // stray high bits are not a colour
    EXPECT_EQ(picker.colour(), 0x00112233u);
}

TEST(Clipboard, TextRoundTripsAsProgramText) {
    SetClipboardText(T("关键词一\r\n关键词二"));
    EXPECT_EQ(ClipboardText(), T("关键词一\r\n关键词二"));
    SetClipboardText("");
    EXPECT_EQ(ClipboardText(), "");
}

TEST(Fonts, WindowsFaceNamesDrawInTheInstalledCjkFace) {
    const QString face = InstallFontSubstitutions();
    if (face.isEmpty()) GTEST_SKIP() << "no CJK font installed (fonts-wqy-microhei)";
    EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8("宋体"))).family(), face);
    EXPECT_EQ(QFontInfo(QFont("SimSun")).family(), face);
}
