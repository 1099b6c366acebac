#include "help/forms/help_window.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>

#include "core/program_paths.h"
#include "platform/ui/qt_text.h"

namespace {

using Bar = help::BrowserWindow::Bar;

std::size_t barIndex(Bar bar) { return static_cast<std::size_t>(bar); }

// Every anchor name of the document, in document order.
QStringList anchorNames(const QTextDocument* document) {
    QStringList names;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        names += block.charFormat().anchorNames();
        for (auto it = block.begin(); !it.atEnd(); ++it) names += it.fragment().charFormat().anchorNames();
    }
    return names;
}

}  // namespace

HelpBrowserWindow::HelpBrowserWindow()
    : browser_(new QTextBrowser(this)),
      toolBar_(new QToolBar("Tools", this)),
      addressBar_(new QToolBar("Address", this)),
      address_(new QLineEdit(this)) {
    setObjectName("HelpBrowserWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ui::toQString(gProductName + " Help"));
    resize(820, 720);
    setCentralWidget(browser_);
    browser_->setOpenExternalLinks(true);  // web and mail links go to the desktop's programs

    auto* back = new QAction("&Back", this);
    back->setShortcut(QKeySequence::Back);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    auto* forward = new QAction("&Forward", this);
    forward->setShortcut(QKeySequence::Forward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    auto* contents = new QAction("&Contents", this);
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    connect(contents, &QAction::triggered, this, &HelpBrowserWindow::showContents);
    auto* theater = new QAction("&Theatre Mode", this);
    theater->setShortcut(QKeySequence(Qt::Key_F11));
    connect(theater, &QAction::triggered, this, [this] { setTheaterMode(!theater_); });
    auto* closeWindow = new QAction("&Close", this);
    closeWindow->setShortcut(QKeySequence::Close);
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    // Esc leaves theatre mode first, then closes the window, as it closes a box.
    auto* escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(escape, &QAction::triggered, this, [this] {
        if (theater_) setTheaterMode(false);
        else close();
    });
    addAction(escape);
    // The keys work with every bar hidden.
    addActions({back, forward, contents, theater, closeWindow});

    QMenu* go = menuBar()->addMenu("&Go");
    go->addActions({back, forward, contents});
    go->addSeparator();
    go->addActions({theater, closeWindow});
    toolBar_->addActions({back, forward, contents});
    addToolBar(toolBar_);
    address_->setReadOnly(true);
    addressBar_->addWidget(address_);
    addToolBar(addressBar_);
    connect(browser_, qOverload<const QUrl&>(&QTextBrowser::highlighted), this,
            [this](const QUrl& link) { statusBar()->showMessage(link.toString()); });
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpBrowserWindow::pageShown);
    applyBars();
}

bool HelpBrowserWindow::navigate(const QUrl& url, bool reload) {
    if (!url.isLocalFile()) return false;
    const QFileInfo file(url.toLocalFile());
    if (!file.isFile() || !file.isReadable()) return false;
    const bool samePage = browser_->source().adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment);
    if (reload && samePage) browser_->reload();
    browser_->setSource(url);
    if (samePage) pageShown(url);
    return true;
}

void HelpBrowserWindow::pageShown(const QUrl& url) {
    address_->setText(url.toString());
    const QString title = browser_->documentTitle();
    setWindowTitle(ui::toQString(gProductName + " Help") + (title.isEmpty() ? QString() : " - " + title));
    scrollToTopic(url.fragment());
}

void HelpBrowserWindow::scrollToTopic(const QString& topic) {
    if (topic.isEmpty()) return;
    const QStringList names = anchorNames(browser_->document());
    if (names.contains(topic)) {
        browser_->scrollToAnchor(topic);
        return;
    }
    for (const QString& name : names)
        if (name.compare(topic, Qt::CaseInsensitive) == 0) {
            browser_->scrollToAnchor(name);
            return;
        }
}

void HelpBrowserWindow::showContents() {
    if (!browser_->source().isEmpty()) navigate(browser_->source().resolved(QUrl("helpcont.htm")), false);
}

void HelpBrowserWindow::setBar(Bar bar, bool on) {
    bars_[barIndex(bar)] = on;
    applyBars();
}

bool HelpBrowserWindow::barShown(Bar bar) const {
    switch (bar) {
    case Bar::Address: return addressBar_->isVisibleTo(this);
    case Bar::Status: return statusBar()->isVisibleTo(this);
    case Bar::Tool: return toolBar_->isVisibleTo(this);
    case Bar::Menu: return menuBar()->isVisibleTo(this);
    }
    return false;
}

void HelpBrowserWindow::setTheaterMode(bool on) {
    theater_ = on;
    if (on) showFullScreen();
    else if (isFullScreen()) showNormal();
    applyBars();
}

void HelpBrowserWindow::applyBars() {
    auto shown = [this](Bar bar) { return bars_[barIndex(bar)] && !theater_; };
    addressBar_->setVisible(shown(Bar::Address));
    statusBar()->setVisible(shown(Bar::Status));
    toolBar_->setVisible(shown(Bar::Tool));
    menuBar()->setVisible(shown(Bar::Menu));
}

namespace help {
namespace {

// The browser interface over one help window; the window may be closed (and deleted)
// by the user at any time, which makes the handle dead.
class HelpBrowserHandle : public BrowserWindow {
public:
    HelpBrowserHandle() : window_(new HelpBrowserWindow) {}

    bool alive() const override { return !window_.isNull(); }
    void setVisible(bool on) override {
        if (window_) window_->setVisible(on);
    }
    void setOffline(bool) override {}  // it loads nothing from the network
    void setBar(Bar bar, bool on) override {
        if (window_) window_->setBar(bar, on);
    }
    bool theaterMode() const override { return window_ && window_->theaterMode(); }
    void setTheaterMode(bool on) override {
        if (window_) window_->setTheaterMode(on);
    }
    void setFullScreen(bool on) override {
        if (!window_) return;
        if (on) window_->showFullScreen();
        else window_->showNormal();
    }
    void setRect(double height, double width, double top, double left) override {
        if (!window_) return;
        QRect frame = window_->frameGeometry();
        if (left >= 0) frame.moveLeft(int(left));
        if (top >= 0) frame.moveTop(int(top));
        window_->move(frame.topLeft());
        window_->resize(width >= 0 ? int(width) : window_->width(), height >= 0 ? int(height) : window_->height());
    }
    bool navigate(const std::string& url, int flags) override {
        constexpr int kNoCacheRead = 4;
        return window_ && window_->navigate(QUrl(ui::toQString(url)), (flags & kNoCacheRead) != 0);
    }
    bool busy() const override { return false; }  // pages load before navigate returns
    bool focus() override {
        if (!window_) return false;
        if (window_->isMinimized()) window_->showNormal();
        window_->raise();
        window_->activateWindow();
        return true;
    }
    void quit() override {
        if (window_) window_->close();
    }
    std::string locationName() const override {
        return window_ ? ui::fromQString(window_->browser()->documentTitle()) : std::string();
    }

private:
    QPointer<HelpBrowserWindow> window_;
};

}  // namespace

BrowserPtr makeHelpBrowser() { return std::make_shared<HelpBrowserHandle>(); }

}  // namespace help
