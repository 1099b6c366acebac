#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "help/help_display.h"
#include "help/linked_browser.h"
#include "core/url_routines.h"
#include "platform/sys/spawn.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

using testsupport::writeFile;

namespace {

// A help window that records what it was asked to show.
class FakeBrowser : public help::BrowserWindow {
public:
    bool alive() const override { return alive_; }
    void setVisible(bool on) override { visible = on; }
    void setOffline(bool) override {}
    void setBar(Bar bar, bool on) override { bars[bar] = on; }
    bool theaterMode() const override { return theater; }
    void setTheaterMode(bool on) override { theater = on; }
    void setFullScreen(bool) override {}
    void setRect(double, double, double, double) override {}
    bool navigate(const std::string& url, int) override {
        urls.push_back(url);
        return canShow;
    }
    bool busy() const override { return loading; }
    bool focus() override {
        ++focused;
        return true;
    }
    void quit() override { alive_ = false; }
    std::string locationName() const override { return {}; }

    bool alive_ = true, canShow = true, visible = false, theater = false, loading = false;
    int focused = 0;
    std::vector<std::string> urls;
    std::map<Bar, bool> bars;
};

// Stands in for help/forms: makes fake windows (or none) and records the boxes.
class FakeHelpForms : public help::HelpBoxes {
public:
    FakeHelpForms() {
        help::setHelpBoxes(this);
        help::setBrowserFactory([this]() -> help::BrowserPtr {
            if (noWindows) return nullptr;
            auto b = std::make_shared<FakeBrowser>();
            b->canShow = windowsShow;
            made.push_back(b);
            return b;
        });
    }
    ~FakeHelpForms() override {
        help::setHelpBoxes(nullptr);
        help::setBrowserFactory({});
    }
    void popup(const std::string& text, const std::string& caption) override {
        popups.push_back(text);
        popupCaption = caption;
        if (duringPopup) duringPopup();
    }
    int browserWarning(const std::string& message) override {
        warnings.push_back(message);
        if (duringWarning) duringWarning();
        return warningAnswer;
    }
    void showSameHelpItem(core::UiHandle) override { ++sameItemShown; }

    bool noWindows = false, windowsShow = true;
    std::vector<std::shared_ptr<FakeBrowser>> made;
    std::vector<std::string> popups, warnings;
    std::string popupCaption;
    std::function<void()> duringPopup, duringWarning;
    int warningAnswer = 1;
    int sameItemShown = 0;
};

// Records what would be started; xdg-open answers with `status`.
class FakeSpawner : public sys::Spawner {
public:
    FakeSpawner() { sys::setSpawner(this); }
    ~FakeSpawner() override { sys::setSpawner(nullptr); }
    int start(const std::vector<std::string>& argv) override {
        calls.push_back("start:" + join(argv));
        return 0;
    }
    int run(const std::vector<std::string>& argv, int& exitStatus, std::string*) override {
        calls.push_back("run:" + join(argv));
        exitStatus = status;
        return 0;
    }
    static std::string join(const std::vector<std::string>& argv) {
        std::string s;
        for (const auto& a : argv) s += (s.empty() ? "" : " ") + a;
        return s;
    }
    std::vector<std::string> calls;
    int status = 0;
};

// "::*" as the shell routes it: [Main] to the site's last values, [Browser For Help]
// to the site list.
class Routing : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Main" ? gIniLastVals : section == "Browser For Help" ? gIniSiteDbs : "";
    }

private:
    core::ScopedShellHooks installed_{this};
};

const char kPage[] =
    "<html><body>\n"
    "<h2><a name=\"FW\">Add new raw log data</a></h2>\n"
    "<p>Reads log files.<br>Then builds visits.<BR>Fish &amp; chips.</p>\n"
    "<!ESEC>\n"
    "<h2><A NAME=FX>Exit</A></h2><p>Ends the program.</p>\n"
    "<!ESEC>\n"
    "<h2><a name=\"FL\">List</a></h2>\n<p>Lists.</p>\n\n\n\n<p>The end.</p>\n</body></html>\n";

class HelpDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        gHelpPath = home / "help/";
        gIniLastVals = home / "LastVals.ini";
        gIniSiteDbs = home / "sitedbs.ini";
        writeFile(page, kPage);
        writeFile(gHelpPath + "helpcont.htm", "<p>Contents</p><!ESEC><a name=\"start\">Getting started</a><!ESEC>");
    }
    void TearDown() override {
        gHelpState = 0;
        gHelpLastFile.clear();
        gHelpLastTopic.clear();
        gLinkedIE.reset();
        gLinkedIEStarted = false;
        gCurrMnu.clear();
    }
    std::string url(const std::string& topic) const { return HHTML_PathToFileURL(page) + "#" + topic; }

    testsupport::TempHome home;
    std::string page = home / "help/F.htm";
    Routing routing;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
    FakeHelpForms forms;
    FakeSpawner spawner;
};

}  // namespace

TEST_F(HelpDisplay, SectionsAreFoundByTheirAnchors) {
    struct Case {
        const char* name;
        std::string topic, starts, ends;
    };
    const Case cases[] = {
        {"quoted anchor", "FW", "Add new raw log data", "Fish &amp; chips.</p>\n"},
        {"topic in another case", "fw", "Add new raw log data", "Fish &amp; chips.</p>\n"},
        {"unquoted anchor in capitals", "FX", "Exit</A>", "Ends the program.</p>\n"},
        {"last section runs to the end of the file", "FL", "List</a>", "</body></html>\n"},
        {"unknown topic", "FQ", "<BODY>No Help Available for menu item: FQ", "</BODY>"},
        {"no topic: the file up to its first marker", "", "<html><body>", "Fish &amp; chips.</p>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string section = HELP_SectionRead(page, c.topic);
        EXPECT_TRUE(TXT_StartsWith(section, c.starts, true)) << section;
        EXPECT_TRUE(TXT_EndsWith(section, c.ends, true)) << section;
    }
}

TEST_F(HelpDisplay, ThePopupShowsPlainTextWithItsLineBreaks) {
    EXPECT_EQ(HELP_PopupText(HELP_SectionRead(page, "FW")),
              "Add new raw log data\r\nReads log files.\r\nThen builds visits.\r\nFish & chips.\r\n");
    // Runs of empty lines shrink to one.
    EXPECT_EQ(HELP_PopupText(HELP_SectionRead(page, "FL")), "List\r\nLists.\r\n\r\nThe end.\r\n\r\n");
    EXPECT_EQ(HELP_PopupText("<BODY>No Help Available for menu item: FQ</BODY>"),
              "No Help Available for menu item: FQ");
}

TEST_F(HelpDisplay, BrowserSettingsChooseTheWayAndItsTarget) {
    struct Case {
        const char* name;
        const char* ac;  // nullptr: no entry
        bool passFragment;
        bool windowShows;
        int openStatus;
        std::vector<std::string> attempts;  // {path}, {url} stand for the page
        bool popup;
    };
    const Case cases[] = {
        {"no entry: the help window", nullptr, false, true, 0, {"window:{url}"}, false},
        {"LinkedIE", "LinkedIE", true, true, 0, {"window:{url}"}, false},
        {"LinkedIE and more, any case", "linkedie x", false, true, 0, {"window:{url}"}, false},
        {"window fails: the association, bare path", nullptr, false, false, 0,
         {"window:{url}", "run:xdg-open {path}"}, false},
        {"window fails: the association, with fragment", "LinkedIE", true, false, 0,
         {"window:{url}", "run:xdg-open {url}"}, false},
        {"both fail: the popup", nullptr, false, false, 4, {"window:{url}", "run:xdg-open {path}"}, true},
        {"dot: the association first", " . ", false, true, 0, {"run:xdg-open {path}"}, false},
        {"dot, association fails: the window", " . ", false, true, 3, {"run:xdg-open {path}", "window:{url}"}, false},
        {"a program template", "viewer>>O", false, true, 0, {"start:viewer {path}"}, false},
        {"a template with the short-name marker", "<shortname<viewer>>O", true, true, 0, {"start:viewer {url}"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        INI_Put("Browser For Help", "PassURLWithFragment", c.passFragment, gIniSiteDbs);
        if (c.ac) INI_Put("Browser For Help", "Ac", c.ac, gIniSiteDbs);
        else INI_EraseEntry("Browser For Help", "Ac", gIniSiteDbs);
        forms.windowsShow = c.windowShows;
        spawner.status = c.openStatus;
        spawner.calls.clear();
        forms.popups.clear();
        forms.made.clear();
        gLinkedIE.reset();
        gLinkedIEStarted = false;

        HELP_Show(nullptr, nullptr, page, "FW");

        std::vector<std::string> attempts;
        std::size_t w = 0, s = 0;
        // The window attempt and the spawned programs, in the order the case expects.
        for (const std::string& expected : c.attempts) {
            if (TXT_StartsWith(expected, "window:", true)) {
                ASSERT_LT(w, forms.made.size());
                attempts.push_back("window:" + forms.made[w++]->urls.at(0));
            } else {
                ASSERT_LT(s, spawner.calls.size());
                attempts.push_back(spawner.calls[s++]);
            }
        }
        std::vector<std::string> wanted;
        for (std::string a : c.attempts) {
            a = TXT_Replace(a, "{url}", url("FW"), true);
            wanted.push_back(TXT_Replace(a, "{path}", page, true));
        }
        EXPECT_EQ(attempts, wanted);
        EXPECT_EQ(w, forms.made.size());
        EXPECT_EQ(s, spawner.calls.size());
        EXPECT_EQ(forms.popups.size(), c.popup ? 1u : 0u);
        EXPECT_EQ(gHelpState, 0);
    }
}

TEST_F(HelpDisplay, TheHelpWindowIsReusedAndReplacedWhenClosed) {
    HELP_Show(nullptr, nullptr, page, "FW");
    HELP_Show(nullptr, nullptr, page, "FX");
    ASSERT_EQ(forms.made.size(), 1u);
    auto window = forms.made[0];
    EXPECT_EQ(window->urls, (std::vector<std::string>{url("FW"), url("FX")}));
    EXPECT_TRUE(window->visible);
    EXPECT_GE(window->focused, 2);
    for (auto bar : {help::BrowserWindow::Bar::Address, help::BrowserWindow::Bar::Status,
                     help::BrowserWindow::Bar::Tool, help::BrowserWindow::Bar::Menu})
        EXPECT_FALSE(window->bars.at(bar));
    EXPECT_EQ(forms.sameItemShown, 2);

    // Busy while the window loads; a closed window reads as the caller's default.
    window->loading = true;
    EXPECT_TRUE(IEOBJS_Busy(window, false));
    window->loading = false;
    EXPECT_FALSE(IEOBJS_Busy(window, true));
    EXPECT_TRUE(IEOBJS_Busy(nullptr, true));

    // Brought back out of theatre mode; after the user closed it, a new one opens.
    window->theater = true;
    HELP32_ShowLinkedIE(nullptr, nullptr);
    EXPECT_FALSE(window->theater);
    window->quit();
    EXPECT_TRUE(IEOBJS_Busy(window, true));
    HELP_Show(nullptr, nullptr, page, "FL");
    ASSERT_EQ(forms.made.size(), 2u);
    EXPECT_EQ(forms.made[1]->urls, (std::vector<std::string>{url("FL")}));

    // With no window to bring back, the last help is shown again.
    forms.made[1]->quit();
    forms.noWindows = true;
    spawner.status = 4;
    HELP32_ShowLinkedIE(nullptr, nullptr);
    ASSERT_EQ(forms.popups.size(), 1u);
    EXPECT_EQ(forms.popups[0], "List\r\nLists.\r\n\r\nThe end.\r\n\r\n");
}

TEST_F(HelpDisplay, AFailedBrowserWarnsAndCanBeTurnedOff) {
    forms.noWindows = true;
    spawner.status = 4;
    HELP_Show(nullptr, nullptr, page, "FW");
    ASSERT_EQ(forms.warnings.size(), 1u);
    EXPECT_NE(forms.warnings[0].find("Press \"Always use popup\""), std::string::npos);
    EXPECT_EQ(forms.popups.size(), 1u);
    EXPECT_EQ(forms.popupCaption, "Dravolin Help.");
    EXPECT_TRUE(INI_GetFlag("Main", "Try IE when show help", gIniLastVals, 7, "True"));

    forms.warningAnswer = 2;  // "&Always use popup"
    HELP_Show(nullptr, nullptr, page, "FW");
    EXPECT_FALSE(INI_GetFlag("Main", "Try IE when show help", gIniLastVals, 7, "True"));
    spawner.calls.clear();
    HELP_Show(nullptr, nullptr, page, "FW");
    EXPECT_TRUE(spawner.calls.empty());
    EXPECT_EQ(forms.warnings.size(), 2u);
    EXPECT_EQ(forms.popups.size(), 3u);
}

TEST_F(HelpDisplay, RequestsInsideOpenHelpAreNotStacked) {
    INI_Put("Main", "Try IE when show help", false, gIniLastVals);
    // F1 in the popup: "already displayed"; F1 in that box: nothing at all.
    forms.duringPopup = [&] { HELP_Show(nullptr, nullptr, page, "FX"); };
    responder.expect({.expectMessage = "Help already displayed.", .act = [&](const core::DlgView&, core::DlgDriver& d) {
                          HELP_Show(nullptr, nullptr, page, "FL");
                          d.press("&OK");
                      }});
    HELP_Show(nullptr, nullptr, page, "FW");
    EXPECT_EQ(forms.popups.size(), 1u);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(gHelpState, 0);

    // A missing file asked for again from its own message shows one message, and a
    // missing file under the popup leaves the popup's guard in place.
    gCurrMnu = "FQ";
    responder.expect({.expectMessage = "File that cannot be found:", .act = [&](const core::DlgView&, core::DlgDriver& d) {
                          HELP_Show(nullptr, nullptr, home / "help/Q.htm", "FQ");
                          d.press("&OK");
                      }});
    HELP_Show(nullptr, nullptr, home / "help/Q.htm", "FQ");
    EXPECT_EQ(gCurrMnu, "");
    EXPECT_EQ(gHelpState, 0);

    forms.duringPopup = [&] {
        forms.duringPopup = nullptr;
        HELP_Show(nullptr, nullptr, home / "help/Q.htm", "QX");
        HELP_Show(nullptr, nullptr, page, "FX");
    };
    responder.press("Help File has been deleted or moved. Reinstall Dravolin", "&OK");
    responder.press("Help already displayed.", "&OK");
    HELP_Show(nullptr, nullptr, page, "FW");
    EXPECT_EQ(forms.popups.size(), 2u);
    EXPECT_EQ(responder.pending(), 0u);

    // An error inside puts the state back and reaches the caller.
    forms.duringPopup = [] { throw std::runtime_error("boom"); };
    EXPECT_THROW(HELP_Show(nullptr, nullptr, page, "FW"), std::runtime_error);
    EXPECT_EQ(gHelpState, 0);
}

TEST_F(HelpDisplay, ContentsRepeatAndMissingFiles) {
    INI_Put("Main", "Try IE when show help", false, gIniLastVals);
    HELP_Show(nullptr, nullptr, "", "");
    HELP_Show(nullptr, nullptr, gHelpPath + "helpcont.htm", "start");
    HELP_Show(nullptr, nullptr, ":::", "ignored");
    EXPECT_EQ(forms.popups, (std::vector<std::string>{"Contents", "Getting started", "Getting started"}));

    // Nothing asked before: ":::" has no file.
    gHelpLastFile.clear();
    gHelpLastTopic.clear();
    responder.press("File that cannot be found:", "&OK");
    HELP_Show(nullptr, nullptr, ":::", "");
    EXPECT_EQ(responder.pending(), 0u);
}
