#pragma once

// The program's frame: the header strip, the tab strip "选择夹" and the four
// page windows hosted under it.
//
// Order of events, from the first show of the window on:
//   1. the process is pinned to the first processor (every later thread
//      inherits that);
//   2. restoreLastTab() runs when set, then aboutToShowFirstPage() is emitted:
//      this is where the window state saving makes the stored tab current;
//   3. the page of the current tab is shown (showCurrentPage()).
// Showing a page that does not exist yet creates it through its factory,
// emits pageCreated(index, page) while it is still hidden (the page restores
// its controls there), re-parents it under the tab strip, places and shows it.
// A page lives until the main window is destroyed; switching only hides it.
// closeEvent emits closing() synchronously, before the window goes away (the
// save sequence); the close is never refused. The header's "保存配置" emits
// saveRequested(), its "疑点说明" emits notesRequested().

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QTabBar;
class QTimer;
class QToolButton;

namespace tuji {

class LinkLabel;

inline constexpr int kPageCount = 4;

// The page window titles in tab order, UTF-8.
const char* PageTitle(int index);

class MainWindow : public QWidget {
    Q_OBJECT
public:
    using PageFactory = std::function<QWidget*(QWidget* owner)>;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // An index without a factory gets an empty frame titled by the page table.
    void setPageFactory(int index, PageFactory factory);

    // Runs once, at step 2 above; may call setCurrentTab().
    std::function<void()> restoreLastTab;

    QWidget* pageIfCreated(int index) const;
    QWidget* shownPage() const { return shownPage_; }
    int currentTab() const;
    // An index outside 0..3 is ignored, as the tab strip ignores it.
    void setCurrentTab(int index);
    void showCurrentPage();

    QTabBar* tabStrip() const { return tabStrip_; }
    QWidget* header() const { return header_; }

    // One tick of the logo timer "时钟官网" (also callable from tests).
    void tickLogo();
    bool logoMovesLeft() const { return logoMovesLeft_; }
    QToolButton* logo() const { return logo_; }
    QTimer* logoTimer() const { return logoTimer_; }

signals:
    void aboutToShowFirstPage();
    void pageCreated(int index, QWidget* page);
    void closing();
    void saveRequested();
    void notesRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildHeader();
    void layOutHeaderAndTabs();
    void runCreatedSteps();
    QWidget* createPage(int index);

    QWidget* header_ = nullptr;
    QTabBar* tabStrip_ = nullptr;
    QToolButton* homeButton_ = nullptr;
    QToolButton* logo_ = nullptr;
    QTimer* logoTimer_ = nullptr;
    LinkLabel* homeLink_ = nullptr;
    LinkLabel* contactLink_ = nullptr;
    bool logoMovesLeft_ = false;
    bool created_ = false;
    std::array<PageFactory, kPageCount> factories_{};
    std::array<QPointer<QWidget>, kPageCount> pages_{};
    QPointer<QWidget> shownPage_;
};

} // namespace tuji
