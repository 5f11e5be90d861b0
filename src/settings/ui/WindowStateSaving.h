#pragma once

// Keeps the main window's state between runs: the last tab, and the controls
// of every page shown in a run.
//
//   OpenProgramSettings();                        // settings/ProgramSettings.h
//   MainWindow window;
//   WindowStateSaving saving(&window, ProgramSettings());
//   window.show();
//
// - When the main window is first shown, "主界面"/"当前功能项" becomes the
//   current tab (an index outside 0..3 leaves tab 0).
// - When a page window is created, its controls are restored from its
//   section (WindowControls.h), then its extra steps run.
// - The main window's close and the header's "保存配置" save "当前功能项" and
//   every page created in this run, in tab order; the header adds "保存完毕！".
//   A page also saves itself when its own window is asked to close.
//
// How a page names its section: the page widget's dynamic property
// "settingsSection" (a QString), set by the page's factory or constructor;
// without it the page gets the section of its tab: "采集图片", "下载图片",
// "转存图片", "修改图片". Keys a page keeps beside its controls (the image
// modification page's "文字." keys) go in its extra steps: either the page
// widget also derives from PageSettingsSteps, or someone registers the steps
// with setPageSteps(). Extra steps run with the page's section selected.

#include "settings/SettingsStore.h"

#include <QObject>
#include <array>
#include <functional>
#include <string>

class QWidget;

namespace tuji {

class MainWindow;

inline constexpr const char* kSettingsSectionProperty = "settingsSection";

// A page window that keeps values of its own beside its controls.
class PageSettingsSteps {
public:
    virtual ~PageSettingsSteps() = default;
    virtual void RestoreExtraSettings(SettingsStore& store) = 0; // after its controls
    virtual void SaveExtraSettings(SettingsStore& store) = 0;    // after its controls
};

// The section of a tab's page, program text; empty for an index outside 0..3.
std::string PageSection(int index);

class WindowStateSaving : public QObject {
    Q_OBJECT
public:
    using PageStep = std::function<void(SettingsStore& store, QWidget* page)>;

    // Hooks into `window` (which also becomes the owner of this object) and
    // lets the store's notices show as message boxes.
    WindowStateSaving(MainWindow* window, SettingsStore& store);

    void setPageSteps(int index, PageStep restore, PageStep save);

    // The steps, callable on their own (the window's events call them).
    void RestoreTab();
    void RestorePage(int index, QWidget* page);
    void SavePage(int index);
    void SaveSequence();
    void SaveFromHeader(); // SaveSequence, then "保存完毕！"

    bool PageWasCreated(int index) const;
    std::string SectionOf(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindow* window_;
    SettingsStore& store_;
    std::array<bool, 4> created_{};
    std::array<PageStep, 4> restoreSteps_{};
    std::array<PageStep, 4> saveSteps_{};
};

} // namespace tuji
