#include "help/linked_browser.h"

#include "core/stored_text.h"
#include "help/help_display.h"

namespace help {
namespace {

BrowserFactory& factory() {
    static BrowserFactory f;
    return f;
}

}  // namespace

void setBrowserFactory(BrowserFactory f) { factory() = std::move(f); }

}  // namespace help

namespace {

constexpr int kNavigateNoCache = 12;

void createBrowser(bool& started, help::BrowserPtr& keep, help::BrowserPtr& work, bool& created) {
    keep = help::factory() ? help::factory()() : nullptr;
    work = keep;
    started = true;
    created = true;
}

}  // namespace

bool IEOBJS_IsAlive(const help::BrowserPtr& browser) { return browser && browser->alive(); }

bool IEOBJS_Busy(const help::BrowserPtr& browser, bool dflt) { return IEOBJS_IsAlive(browser) ? browser->busy() : dflt; }

bool IEOBJS_FocusWindow(const help::BrowserPtr& browser) { return IEOBJS_IsAlive(browser) && browser->focus(); }

bool IEAP_CreateIE(bool& started, help::BrowserPtr& keep, bool forceNew, help::BrowserPtr& work, bool& created) {
    created = false;
    if (!IEOBJS_IsAlive(work)) {
        if (!started) createBrowser(started, keep, work, created);
        work = keep;
    }
    if (forceNew || !IEOBJS_IsAlive(work)) createBrowser(started, keep, work, created);
    return IEOBJS_IsAlive(work);
}

void IEAP_SetWindowRect(help::BrowserWindow& browser, const std::string& fullScreen, double height, double width,
                        double top, double left) {
    if (!fullScreen.empty()) browser.setFullScreen(SYS32_StrIsTrue(fullScreen));
    browser.setRect(height, width, top, left);
}

void IEAP_SetOffline(help::BrowserWindow& browser, bool on) { browser.setOffline(on); }

void IEAP_SetAddressBar(help::BrowserWindow& browser, bool on) { browser.setBar(help::BrowserWindow::Bar::Address, on); }

void IEAP_SetVisible(help::BrowserWindow& browser, bool on) { browser.setVisible(on); }

bool IEAP_Navigate(help::BrowserWindow& browser, const std::string& url, int flags) {
    return browser.navigate(url, flags);
}

bool IEAP_OpenURL(const std::string& url, bool& started, help::BrowserPtr& keep, const IEAP_OpenArgs& args,
                  help::BrowserPtr& result, help::BrowserPtr& work, bool& created) {
    if (!IEAP_CreateIE(started, keep, args.forceNew, work, created)) return false;
    IEAP_SetOffline(*work, true);
    if (args.showAddressBar) IEAP_SetAddressBar(*work, true);
    IEAP_SetWindowRect(*work, args.fullScreen, args.height, args.width, args.top, args.left);
    IEAP_SetVisible(*work, true);
    if (!IEAP_Navigate(*work, url, kNavigateNoCache)) {
        // An empty window of our own making would only be in the way of the fallback.
        if (created) work->quit();
        return false;
    }
    IEOBJS_FocusWindow(work);
    result = work;
    return true;
}

bool HELP32_OpenInLinkedIE(core::UiHandle, const std::string& url) {
    help::BrowserPtr result, work;
    bool created = false;
    if (!IEAP_OpenURL(url, gLinkedIEStarted, gLinkedIE, {}, result, work, created)) return false;
    using Bar = help::BrowserWindow::Bar;
    for (Bar bar : {Bar::Address, Bar::Status, Bar::Tool, Bar::Menu}) result->setBar(bar, false);
    return true;
}

void HELP32_ShowLinkedIE(core::UiHandle owner, core::UiHandle main) {
    if (!IEOBJS_IsAlive(gLinkedIE)) {
        HELP_Show(owner, main, ":::", "");
        return;
    }
    gLinkedIE->setVisible(true);
    if (gLinkedIE->theaterMode()) gLinkedIE->setTheaterMode(false);
    IEOBJS_FocusWindow(gLinkedIE);
}
