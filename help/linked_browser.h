#pragma once
// The linked browser: the program's own window for help pages, created on first use,
// reused while it lives and replaced once the user has closed it. The window itself
// belongs to help/forms, which registers a factory; without one, no linked window can
// be opened and help falls back to the other ways.
#include <functional>
#include <memory>
#include <string>

#include "core/user_interface.h"

namespace help {

class BrowserWindow {
public:
    enum class Bar { Address, Status, Tool, Menu };
    virtual ~BrowserWindow() = default;
    // False once the user has closed the window.
    virtual bool alive() const = 0;
    virtual void setVisible(bool on) = 0;
    virtual void setOffline(bool on) = 0;
    virtual void setBar(Bar bar, bool on) = 0;
    virtual bool theaterMode() const = 0;
    virtual void setTheaterMode(bool on) = 0;
    virtual void setFullScreen(bool on) = 0;
    // In pixels; a negative value leaves that one as it is.
    virtual void setRect(double height, double width, double top, double left) = 0;
    // Shows a page ("file:" URLs of readable files only, with an optional "#topic");
    // false when it cannot. Flag 12 asks for a fresh read.
    virtual bool navigate(const std::string& url, int flags) = 0;
    virtual bool busy() const = 0;
    // Brings the window to the front; true when nothing failed.
    virtual bool focus() = 0;
    virtual void quit() = 0;
    virtual std::string locationName() const = 0;
};

using BrowserPtr = std::shared_ptr<BrowserWindow>;
using BrowserFactory = std::function<BrowserPtr()>;

// Registered by help/forms at start-up; an empty factory means no linked window.
void setBrowserFactory(BrowserFactory factory);

}  // namespace help

// The linked window used for help, and whether one was ever made.
inline help::BrowserPtr gLinkedIE;
inline bool gLinkedIEStarted = false;

struct IEAP_OpenArgs {
    bool forceNew = false;        // always make a new window
    bool showAddressBar = false;
    std::string fullScreen;       // "": untouched; else True or False as text
    double height = -1, width = -1, top = -1, left = -1;  // pixels; negative: untouched
};

// Makes sure `work` is a living window: the kept one, or a new one (then `created`).
bool IEAP_CreateIE(bool& started, help::BrowserPtr& keep, bool forceNew, help::BrowserPtr& work, bool& created);
// Opens the url in the kept window (or a new one) and brings it forward; `result`
// receives the window that shows it. A window this call made is closed again when
// the page cannot be shown.
bool IEAP_OpenURL(const std::string& url, bool& started, help::BrowserPtr& keep, const IEAP_OpenArgs& args,
                  help::BrowserPtr& result, help::BrowserPtr& work, bool& created);
void IEAP_SetWindowRect(help::BrowserWindow& browser, const std::string& fullScreen, double height, double width,
                        double top, double left);
void IEAP_SetOffline(help::BrowserWindow& browser, bool on);
void IEAP_SetAddressBar(help::BrowserWindow& browser, bool on);
void IEAP_SetVisible(help::BrowserWindow& browser, bool on);
// False when the page cannot be shown.
bool IEAP_Navigate(help::BrowserWindow& browser, const std::string& url, int flags);
bool IEOBJS_IsAlive(const help::BrowserPtr& browser);
bool IEOBJS_FocusWindow(const help::BrowserPtr& browser);
// Whether the window is still loading its page; `dflt` when there is no living window.
bool IEOBJS_Busy(const help::BrowserPtr& browser, bool dflt);

// The url in the linked help window, its bars hidden; false when it could not be shown.
bool HELP32_OpenInLinkedIE(core::UiHandle owner, const std::string& url);
// Brings the linked window back (out of theatre mode, in front); with no living
// window, shows the last help again.
void HELP32_ShowLinkedIE(core::UiHandle owner, core::UiHandle main);
