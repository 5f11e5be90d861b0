#include "settings/ui/WindowStateSaving.h"

#include "app/ui/MainWindow.h"
#include "app/ui/MessageBox.h"
#include "settings/ui/SettingsNoticeBoxes.h"
#include "settings/ui/WindowControls.h"
#include "text/Encoding.h"

#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace tuji {

namespace {

bool ValidIndex(int index) {
    return index >= 0 && index < kPageCount;
}

} // namespace

std::string PageSection(int index) {
    // The re-hosting page keeps "转存图片", not its window title.
    static const char* const sections[kPageCount] = {"采集图片", "下载图片", "转存图片",
                                                     "修改图片"};
    return ValidIndex(index) ? T(sections[index]) : std::string();
}

WindowStateSaving::WindowStateSaving(MainWindow* window, SettingsStore& store)
    : QObject(window), window_(window), store_(store) {
    static_assert(kPageCount == 4, "one section per page");
    InstallSettingsNoticeBoxes();
    window_->restoreLastTab = [this] { RestoreTab(); };
    connect(window_, &MainWindow::pageCreated, this, &WindowStateSaving::RestorePage);
    connect(window_, &MainWindow::closing, this, &WindowStateSaving::SaveSequence);
    connect(window_, &MainWindow::saveRequested, this, &WindowStateSaving::SaveFromHeader);
}

void WindowStateSaving::setPageSteps(int index, PageStep restore, PageStep save) {
    if (!ValidIndex(index)) return;
    restoreSteps_[size_t(index)] = std::move(restore);
    saveSteps_[size_t(index)] = std::move(save);
}

std::string WindowStateSaving::SectionOf(int index) const {
    QWidget* page = window_->pageIfCreated(index);
    QVariant named = page ? page->property(kSettingsSectionProperty) : QVariant();
    if (named.isValid() && !named.toString().isEmpty()) return FromQString(named.toString());
    return PageSection(index);
}

void WindowStateSaving::RestoreTab() {
    store_.SelectSection(T("主界面"));
    long long tab = store_.ReadNumber(T("当前功能项"), window_->currentTab());
    // The tab strip ignores an index it has no tab for; tab 0 stays.
    if (tab >= 0 && tab < kPageCount) window_->setCurrentTab(int(tab));
}

void WindowStateSaving::RestorePage(int index, QWidget* page) {
    if (!ValidIndex(index) || !page) return;
    std::string section = SectionOf(index);
    RestoreWindowControls(store_, page, section);
    created_[size_t(index)] = true;
    page->installEventFilter(this);
    store_.SelectSection(section);
    if (auto* steps = dynamic_cast<PageSettingsSteps*>(page)) steps->RestoreExtraSettings(store_);
    if (restoreSteps_[size_t(index)]) {
        store_.SelectSection(section);
        restoreSteps_[size_t(index)](store_, page);
    }
}

void WindowStateSaving::SavePage(int index) {
    if (!ValidIndex(index) || !created_[size_t(index)]) return;
    QWidget* page = window_->pageIfCreated(index);
    if (!page) return;
    std::string section = SectionOf(index);
    SaveWindowControls(store_, page, section);
    store_.SelectSection(section);
    if (auto* steps = dynamic_cast<PageSettingsSteps*>(page)) steps->SaveExtraSettings(store_);
    if (saveSteps_[size_t(index)]) {
        store_.SelectSection(section);
        saveSteps_[size_t(index)](store_, page);
    }
}

void WindowStateSaving::SaveSequence() {
    store_.SelectSection(T("主界面"));
    store_.WriteNumber(T("当前功能项"), window_->currentTab());
    for (int i = 0; i < kPageCount; ++i)
        SavePage(i);
}

void WindowStateSaving::SaveFromHeader() {
    SaveSequence();
    ShowMessage(T("保存完毕！"), MessageStyle::Ok);
}

bool WindowStateSaving::PageWasCreated(int index) const {
    return ValidIndex(index) && created_[size_t(index)];
}

bool WindowStateSaving::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        for (int i = 0; i < kPageCount; ++i)
            if (window_->pageIfCreated(i) == watched) SavePage(i);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tuji
