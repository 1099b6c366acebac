#pragma once
// The help window: a main window around a text browser that shows the program's help
// pages. It is parentless, so that it stays usable while a box is open (boxes are
// modal to their own window), and it is deleted when the user closes it. Its bars
// (menu, tool, address, status) start hidden; theatre mode (F11) fills the screen
// without them and gives them back as they were.
#include <QMainWindow>
#include <QUrl>
#include <array>

#include "help/linked_browser.h"

class QLineEdit;
class QTextBrowser;
class QToolBar;

class HelpBrowserWindow : public QMainWindow {
    Q_OBJECT
public:
    HelpBrowserWindow();

    QTextBrowser* browser() const { return browser_; }
    // Shows a "file:" URL of a readable file at its "#topic"; false for anything else.
    bool navigate(const QUrl& url, bool reload);
    void setBar(help::BrowserWindow::Bar bar, bool on);
    bool barShown(help::BrowserWindow::Bar bar) const;
    bool theaterMode() const { return theater_; }
    void setTheaterMode(bool on);

private:
    // Anchors are matched exactly first, then ignoring ASCII case, so "#fw" finds
    // <a name="FW">.
    void scrollToTopic(const QString& topic);
    void showContents();
    void pageShown(const QUrl& url);
    void applyBars();

    QTextBrowser* browser_;
    QToolBar* toolBar_;
    QToolBar* addressBar_;
    QLineEdit* address_;
    std::array<bool, 4> bars_{};
    bool theater_ = false;
};

namespace help {

// A linked window: a new parentless help window behind the browser interface.
BrowserPtr makeHelpBrowser();
// The help boxes on the dialog builder and the linked window's factory.
void installHelpForms();

}  // namespace help
