#include "app/ui/MainWindow.h"

#include "app/ProcessorAffinity.h"
#include "app/ui/FormControls.h"
#include "app/ui/HelpPages.h"
#include "app/ui/LinkLabel.h"
#include "app/ui/PageJob.h"
#include "app/ui/Shell.h"
#include "app/ui/SvgPixmap.h"
#include "text/Encoding.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tuji {

namespace {

constexpr int kHeaderHeight = 90;
constexpr int kTabStripHeight = 36;

const char* const kPageTitles[kPageCount] = {"关键词采集图片", "下载图片", "转存文章图片",
                                             "修改图片"};

QToolButton* PictureButton(QWidget* parent, const char* name, const char* image, QRect place) {
    auto* button = new QToolButton(parent);
    button->setObjectName(FormText(name));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setGeometry(place);
    button->setIconSize(place.size() - QSize(8, 8));
    button->setIcon(QIcon(SvgPixmap(image, button->iconSize(), button->devicePixelRatioF())));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

LinkLabel* TextLink(QWidget* parent, const char* name, const char* text, QRect place) {
    auto* link = new LinkLabel(FormText(text), parent);
    link->setObjectName(FormText(name));
    link->setGeometry(place);
    return link;
}

// A page without its own window yet: the frame of its form, titled, and
// honest about being empty.
QWidget* EmptyPageFrame(QWidget* owner, int index) {
    auto* page = new QWidget(owner, Qt::Window);
    page->setWindowTitle(FormText(PageTitle(index)));
    page->resize(830, 510);
    auto* layout = new QVBoxLayout(page);
    auto* title = new QLabel(FormText(PageTitle(index)), page);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto* note = new QLabel(FormText("这一页的功能还在制作中。"), page);
    note->setStyleSheet("color: #666");
    for (QLabel* label : {title, note})
        label->setAlignment(Qt::AlignCenter);
    layout->addStretch();
    layout->addWidget(title);
    layout->addWidget(note);
    layout->addStretch();
    return page;
}

} // namespace

const char* PageTitle(int index) {
    return index >= 0 && index < kPageCount ? kPageTitles[index] : "";
}

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(FormText("主界面"));
    setWindowTitle(
        FormText("岚舟·图集工坊 v1.0 - 关键词采集图片、批量下载图片列表、转存文章图片、修改图片"));
    setWindowIcon(QIcon(SvgPixmap("tuji.svg", QSize(128, 128), 1.0)));
    buildHeader();

    tabStrip_ = new QTabBar(this);
    tabStrip_->setObjectName(FormText("选择夹"));
    tabStrip_->setGeometry(0, kHeaderHeight, 984, kTabStripHeight);
    tabStrip_->setExpanding(false);
    tabStrip_->setDrawBase(true);
    tabStrip_->setFocusPolicy(Qt::TabFocus);
    for (const char* caption : {" 关键词采集全网图片 ", " 批量下载图片列表 ",
                                " 转存本地文章的图片 ", " 修改图片MD5、水印、尺寸、格式 "})
        tabStrip_->addTab(FormText(caption));
    tabStrip_->setCurrentIndex(0);
    connect(tabStrip_, &QTabBar::currentChanged, this, [this] {
        if (created_) showCurrentPage();
    });

    logoTimer_ = new QTimer(this);
    logoTimer_->setObjectName(FormText("时钟官网"));
    logoTimer_->setInterval(20);
    connect(logoTimer_, &QTimer::timeout, this, &MainWindow::tickLogo);
    logoTimer_->start();

    move(50, 50);
    resize(850, 670);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildHeader() {
    header_ = new QWidget(this);
    header_->setObjectName(FormText("图片框"));
    header_->setGeometry(0, 0, 1000, kHeaderHeight);
    header_->setAutoFillBackground(true);
    QLinearGradient sky(0, 0, 0, 1);
    sky.setCoordinateMode(QGradient::ObjectMode);
    sky.setColorAt(0, QColor(0xf7, 0xfa, 0xfe));
    sky.setColorAt(1, QColor(0xdc, 0xe8, 0xf6));
    QPalette palette = header_->palette();
    palette.setBrush(QPalette::Window, sky);
    header_->setPalette(palette);

    auto* saveButton = PictureButton(header_, "图片保存配置", "save.svg", {15, 0, 64, 64});
    auto* saveLink = TextLink(header_, "文字保存配置", "保存配置", {15, 64, 64, 24});
    auto* notesButton = PictureButton(header_, "图片疑点说明", "notes.svg", {90, 0, 64, 64});
    auto* notesLink = TextLink(header_, "文字疑点说明", "疑点说明", {90, 64, 64, 24});
    auto* contactButton = PictureButton(header_, "图片呼叫QQ", "contact.svg", {168, 0, 64, 64});
    contactLink_ = TextLink(header_, "文字呼叫QQ", kContactDisplayText, {168, 64, 64, 24});
    homeButton_ = PictureButton(header_, "图片软件主页", "home.svg", {245, 0, 64, 64});
    homeLink_ = TextLink(header_, "文字软件主页", "软件主页", {245, 64, 64, 24});

    logo_ = new QToolButton(header_);
    logo_->setObjectName(FormText("图片岚舟软件"));
    logo_->setGeometry(360, 12, 195, 64);
    logo_->setAutoRaise(true);
    logo_->setCursor(Qt::PointingHandCursor);
    logo_->setFocusPolicy(Qt::NoFocus);
    logo_->setIconSize(QSize(195, 64));
    logo_->setIcon(QIcon(SvgPixmap("logo.svg", QSize(195, 64), logo_->devicePixelRatioF())));
    logo_->setStyleSheet("QToolButton { border: none; padding: 0; background: transparent; }");

    auto* separator = new QLabel(header_);
    separator->setObjectName(FormText("标签10"));
    separator->setGeometry(-1, 88, 1200, 2);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    homeLink_->setTarget(HelpPageAddress(kHomePagePage));
    contactLink_->setTarget(HelpPageAddress(kContactPage));
    const std::string makerSite = HelpPageAddress(kMakerSitePage);

    connect(saveButton, &QToolButton::clicked, this, &MainWindow::saveRequested);
    connect(saveLink, &LinkLabel::pressed, this, &MainWindow::saveRequested);
    connect(notesButton, &QToolButton::clicked, this, &MainWindow::notesRequested);
    connect(notesLink, &LinkLabel::pressed, this, &MainWindow::notesRequested);
    connect(homeButton_, &QToolButton::clicked, this,
            [this] { OpenWithShell(homeLink_->target()); });
    connect(contactButton, &QToolButton::clicked, this,
            [this] { OpenWithShell(contactLink_->target()); });
    connect(logo_, &QToolButton::clicked, this, [makerSite] { OpenWithShell(makerSite); });
}

void MainWindow::setPageFactory(int index, PageFactory factory) {
    if (index >= 0 && index < kPageCount) factories_[size_t(index)] = std::move(factory);
}

QWidget* MainWindow::pageIfCreated(int index) const {
    return index >= 0 && index < kPageCount ? pages_[size_t(index)].data() : nullptr;
}

int MainWindow::currentTab() const {
    return tabStrip_->currentIndex();
}

void MainWindow::setCurrentTab(int index) {
    if (index >= 0 && index < tabStrip_->count()) tabStrip_->setCurrentIndex(index);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!created_) runCreatedSteps();
}

void MainWindow::runCreatedSteps() {
    PinProcessToFirstProcessor();
    if (restoreLastTab) restoreLastTab();
    emit aboutToShowFirstPage();
    created_ = true;
    showCurrentPage();
}

QWidget* MainWindow::createPage(int index) {
    const auto& factory = factories_[size_t(index)];
    QWidget* page = factory ? factory(this) : nullptr;
    if (!page) page = EmptyPageFrame(this, index);
    pages_[size_t(index)] = page;
    emit pageCreated(index, page);
    return page;
}

void MainWindow::showCurrentPage() {
    const int index = currentTab();
    if (index < 0 || index >= kPageCount) return;
    QWidget* page = pages_[size_t(index)];
    if (page && page == shownPage_) return;
    if (!page) page = createPage(index);

    // Under the tab strip as a child, so the main window keeps the active
    // title bar while the user works in a page.
    page->setParent(this, Qt::Widget);
    const int top = tabStrip_->y() + kTabStripHeight;
    page->setGeometry(0, top, width(), height() - top);
    page->show();
    page->raise();
    if (shownPage_ && shownPage_ != page) shownPage_->hide();
    shownPage_ = page;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOutHeaderAndTabs();
}

void MainWindow::layOutHeaderAndTabs() {
    header_->setGeometry(0, 0, width(), header_->height());
    tabStrip_->setGeometry(0, header_->height(), width(), height());
    // The strip now reaches down under the page, which must stay on top.
    if (shownPage_) shownPage_->raise();
}

void MainWindow::tickLogo() {
    // Turns 20 pixels right of the home-page button and 20 pixels before the
    // right edge of the client area.
    if (logoMovesLeft_) {
        logo_->move(logo_->x() - 1, logo_->y());
        if (logo_->x() >= homeButton_->x() + homeButton_->width() + 20) return;
        logoMovesLeft_ = false;
    }
    logo_->move(logo_->x() + 1, logo_->y());
    if (logo_->x() + logo_->width() <= width() - 20) return;
    logoMovesLeft_ = true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    for (const QPointer<QWidget>& page : pages_)
        if (auto* job = dynamic_cast<PageJob*>(page.data())) job->StopRunningJob();
    event->accept();
}

} // namespace tuji
