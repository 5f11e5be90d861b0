#include "app/ui/MessageBox.h"

#include "support/ModalDriver.h"
#include "text/Encoding.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <gtest/gtest.h>

using namespace tuji;
using tuji::test::WhenModal;

namespace {

// What the shown box looked like, and which of its buttons the test pressed.
struct SeenBox {
    bool seen = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title, text;
    QList<QMessageBox::StandardButton> buttons;
    bool onTop = false;
    Qt::WindowModality modality = Qt::NonModal;
};

SeenBox Drive(QMessageBox::StandardButton press, SeenBox* seen) {
    WhenModal([press, seen](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seen->seen = true;
        seen->icon = box->icon();
        seen->title = box->windowTitle();
        seen->text = box->text();
        for (QAbstractButton* b : box->buttons())
            seen->buttons << box->standardButton(b);
        seen->onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen->modality = box->windowModality();
        box->button(press)->click();
    });
    return {};
}

} // namespace

TEST(ShowMessage, DefaultIsInformationOkAndTheProgramTitle) {
    SeenBox seen;
    Drive(QMessageBox::Ok, &seen);
    EXPECT_EQ(ShowMessage(T("保存完毕！")), MessageButton::Ok);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.title, QString::fromUtf8("岚舟："));
    EXPECT_EQ(seen.text, QString::fromUtf8("保存完毕！"));
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    EXPECT_TRUE(seen.onTop); // system-modal
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
}

TEST(ShowMessage, AskedIconReplacesTheInformationIcon) {
    const struct {
        int style;
        QMessageBox::Icon icon;
    } cases[] = {{16, QMessageBox::Critical},
                 {32, QMessageBox::Question},
                 {48, QMessageBox::Warning},
                 {64, QMessageBox::Information}};
    for (const auto& c : cases) {
        SeenBox seen;
        Drive(QMessageBox::Ok, &seen);
        ShowMessage(T("x"), c.style, T("自定"));
        EXPECT_EQ(seen.icon, c.icon) << c.style;
        EXPECT_EQ(seen.title, QString::fromUtf8("自定"));
    }
}

TEST(ShowMessage, YesNoReturnsTheButtonPressed) {
    SeenBox seen;
    Drive(QMessageBox::No, &seen);
    EXPECT_EQ(ShowMessage(T("是否打开保存目录？"), MessageStyle::YesNo), MessageButton::No);
    EXPECT_EQ(seen.buttons,
              (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
    Drive(QMessageBox::Yes, &seen);
    EXPECT_EQ(ShowMessage(T("?"), MessageStyle::YesNo), MessageButton::Yes);
}

TEST(ShowMessage, PlainBoxHasNoIconAndOnlyTheApplicationModality) {
    SeenBox seen;
    Drive(QMessageBox::Yes, &seen);
    EXPECT_EQ(ShowPlainMessage(T("请问是否打开它？"), MessageStyle::YesNo), MessageButton::Yes);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.title, QString::fromUtf8("信息："));
    EXPECT_FALSE(seen.onTop);
}

TEST(ShowMessage, ResponderAnswersWithoutABoxAndSeesTheFinalStyle) {
    std::vector<MessageRequest> asked;
    {
        ScopedMessageResponder responder([&](const MessageRequest& r) {
            asked.push_back(r);
            return MessageButton::No;
        });
        EXPECT_EQ(ShowMessage(T("a"), 4), MessageButton::No);
        EXPECT_EQ(ShowMessage(T("b"), 16, T("t")), MessageButton::No);
    }
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].style, 4 | 64 | 4096);
    EXPECT_EQ(asked[0].title, T("岚舟："));
    EXPECT_EQ(asked[1].style, 16 | 4096);
    EXPECT_EQ(asked[1].title, T("t"));
}
