#pragma once

// The batch download page, created headless, with the program folder in a
// temporary folder and message boxes answered by the test.

#include "app/Paths.h"
#include "app/Wait.h"
#include "app/ui/MessageBox.h"
#include "download/ui/BatchDownloadPage.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tuji::test {

template <typename Control> Control* Find(QWidget* page, const char* name) {
    return page->findChild<Control*>(QString::fromUtf8(name));
}

class BatchPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(program.path());
        SetWaitScale(0); // the pause after an empty body
        page = std::make_unique<BatchDownloadPage>();
        page->show();
    }
    void TearDown() override {
        page.reset();
        SetWaitScale(1);
    }

    void SetList(const std::string& utf8) {
        Find<QPlainTextEdit>(page.get(), "编辑框图片地址列表")
            ->setPlainText(QString::fromUtf8(utf8));
    }
    void SetFolder(const std::string& text) {
        Find<QLineEdit>(page.get(), "编辑框保存目录")->setText(ToQString(text));
    }
    void SetThreads(int n) { Find<QComboBox>(page.get(), "组合框线程数")->setCurrentIndex(n - 1); }
    QPushButton* StartButton() { return Find<QPushButton>(page.get(), "按钮开始下载"); }
    std::string Caption() { return FromQString(StartButton()->text()); }

    // Clicks the start button; gives the messages the job showed (UTF-8).
    std::vector<std::string> Click() {
        std::vector<std::string> shown;
        ScopedMessageResponder answer([&](const MessageRequest& m) {
            shown.push_back(TextToUtf8Lenient(m.text));
            return MessageButton::Ok;
        });
        StartButton()->click();
        return shown;
    }

    TempFolder program;
    TempFolder target;
    std::unique_ptr<BatchDownloadPage> page;
};

} // namespace tuji::test
