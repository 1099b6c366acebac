#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "help/forms/about_box.h"
#include "help/forms/help_window.h"
#include "help/help_display.h"
#include "help/linked_browser.h"
#include "core/url_routines.h"
#include "platform/sys/spawn.h"
#include "platform/ui/controls.h"
#include "platform/ui/work_area.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

using testsupport::writeFile;

namespace {

// A long page whose topic FX sits far below the top.
std::string longPage() {
    std::string html = "<html><head><title>File menu</title></head><body>";
    for (int i = 0; i < 150; ++i) html += "<p>Paragraph " + std::to_string(i) + "</p>\n";
    html += "<h2><a name=\"FX\">Exit</a></h2>\n<p>Ends the program.</p>\n<!ESEC>\n";
    for (int i = 0; i < 150; ++i) html += "<p>More " + std::to_string(i) + "</p>\n";
    return html + "</body></html>";
}

QUrl pageUrl(const std::string& path, const QString& topic) {
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    if (!topic.isEmpty()) url.setFragment(topic);
    return url;
}

std::vector<HelpBrowserWindow*> helpWindows() {
    std::vector<HelpBrowserWindow*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpBrowserWindow*>(w); h && h->isVisible()) shown.push_back(h);
    return shown;
}

class Routing : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Main" ? gIniLastVals : section == "Browser For Help" ? gIniSiteDbs : "";
    }

private:
    core::ScopedShellHooks installed_{this};
};

// xdg-open fails: no desktop to open help with.
class NoOpener : public sys::Spawner {
public:
    NoOpener() { sys::setSpawner(this); }
    ~NoOpener() override { sys::setSpawner(nullptr); }
    int start(const std::vector<std::string>&) override { return 0; }
    int run(const std::vector<std::string>&, int& exitStatus, std::string*) override {
        exitStatus = 4;
        return 0;
    }
};

class HelpForms : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        ui::setWorkAreaProvider([] { return QRect(0, 0, 1280, 1000); });
        dlg::installMessageBoxes();
        help::installHelpForms();
        gHelpPath = home / "help/";
        gIniLastVals = home / "LastVals.ini";
        gIniSiteDbs = home / "sitedbs.ini";
        writeFile(page, longPage());
    }
    void TearDown() override {
        if (IEOBJS_IsAlive(gLinkedIE)) gLinkedIE->quit();
        gLinkedIE.reset();
        gLinkedIEStarted = false;
        help::setHelpBoxes(nullptr);
        help::setBrowserFactory({});
        core::setUserInterface(nullptr);
        MB_UnloadStray("");
        ui::setWorkAreaProvider({});
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    testsupport::TempHome home;
    std::string page = home / "help/F.htm";
    Routing routing;
};

// Counts the mouse presses that reach a widget.
class PressCounter : public QObject {
public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) ++presses;
        return false;
    }
};

}  // namespace

TEST_F(HelpForms, TheWindowFindsItsTopicInAnyCase) {
    struct Case {
        const char* name;
        QString topic;
        bool atTopic;
    };
    const Case cases[] = {{"exact", "FX", true}, {"lower case", "fx", true}, {"mixed case", "Fx", true},
                          {"unknown topic", "nope", false}, {"no topic", "", false}};
    int exact = -1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* w = new HelpBrowserWindow;
        w->resize(600, 400);
        w->show();
        ASSERT_TRUE(w->navigate(pageUrl(page, c.topic), false));
        QApplication::processEvents();
        const int value = w->browser()->verticalScrollBar()->value();
        if (exact < 0) exact = value;
        EXPECT_GT(exact, 0);
        EXPECT_EQ(value, c.atTopic ? exact : 0);
        EXPECT_EQ(w->windowTitle(), "Dravolin Help - File menu");
        w->close();
    }
    HelpBrowserWindow w;
    EXPECT_FALSE(w.navigate(QUrl("http://example.org/help.htm"), false));
    EXPECT_FALSE(w.navigate(pageUrl(home / "help/none.htm", "FX"), false));
}

TEST_F(HelpForms, TheLinkedWindowIsReusedHasNoBarsAndTheatreModeGivesThemBack) {
    QMainWindow main;
    QAction* same = main.menuBar()->addMenu("&Help")->addAction("Show Sa&me Help again");
    same->setObjectName("fMnu_HM");
    same->setEnabled(false);

    HELP_Show(ui::handle(&main), ui::handle(&main), page, "fx");
    HELP_Show(ui::handle(&main), ui::handle(&main), page, "FX");
    ASSERT_EQ(helpWindows().size(), 1u);
    EXPECT_TRUE(same->isEnabled());
    ASSERT_TRUE(IEOBJS_IsAlive(gLinkedIE));
    HelpBrowserWindow* w = helpWindows()[0];
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    using Bar = help::BrowserWindow::Bar;
    for (Bar bar : {Bar::Address, Bar::Status, Bar::Tool, Bar::Menu}) EXPECT_FALSE(w->barShown(bar));
    w->setBar(Bar::Tool, true);
    w->setTheaterMode(true);
    EXPECT_FALSE(w->barShown(Bar::Tool));
    HELP32_ShowLinkedIE(ui::handle(&main), ui::handle(&main));
    EXPECT_FALSE(w->theaterMode());
    EXPECT_TRUE(w->barShown(Bar::Tool));

    // Closed by the user: the next help opens a new window.
    w->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(IEOBJS_IsAlive(gLinkedIE));
    HELP_Show(ui::handle(&main), ui::handle(&main), page, "FX");
    EXPECT_EQ(helpWindows().size(), 1u);
    EXPECT_TRUE(IEOBJS_IsAlive(gLinkedIE));
}

TEST_F(HelpForms, EscLeavesTheatreModeThenClosesTheWindow) {
    QPointer<HelpBrowserWindow> w = new HelpBrowserWindow;
    w->show();
    ASSERT_TRUE(w->navigate(pageUrl(page, "FX"), false));
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->setTheaterMode(true);
    QTest::keyClick(w->browser(), Qt::Key_Escape);
    ASSERT_FALSE(w.isNull());
    EXPECT_FALSE(w->theaterMode());
    EXPECT_TRUE(w->isVisible());
    QTest::keyClick(w->browser(), Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

TEST_F(HelpForms, ABoxModalToItsWindowLeavesTheHelpWindowUsable) {
    struct Case {
        const char* name;
        Qt::WindowModality modality;
        bool reaches;
    };
    const Case cases[] = {{"modal to its window", Qt::WindowModal, true},
                          {"modal to the program", Qt::ApplicationModal, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget main;
        main.show();
        HelpBrowserWindow help;
        help.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
        PressCounter counter;
        help.browser()->viewport()->installEventFilter(&counter);
        QDialog box(&main);
        box.setWindowModality(c.modality);
        const QPoint inside = help.browser()->viewport()->mapTo(&help, QPoint(20, 20));
        QTimer::singleShot(0, &box, [&] {
            // Through the window, as the user's click comes, so that blocking applies.
            QTest::mouseClick(help.windowHandle(), Qt::LeftButton, {}, inside);
            box.reject();
        });
        box.exec();
        EXPECT_EQ(counter.presses > 0, c.reaches);
    }
}

TEST_F(HelpForms, ThePopupAndTheWarningAreBuilderBoxes) {
    help::setBrowserFactory({});
    NoOpener opener;
    testsupport::ScriptedResponder responder;
    responder.press("Always use popup", "&Always use popup");
    responder.expect({.expectCaption = "Dravolin Help.", .press = "&OK"});
    HELP_Show(nullptr, nullptr, page, "FX");
    ASSERT_EQ(responder.shown().size(), 2u);
    const core::DlgView& popup = responder.shown()[1];
    ASSERT_EQ(popup.ctls.size(), 1u);
    EXPECT_EQ(popup.ctls[0].type, "TextBox");
    EXPECT_EQ(popup.ctls[0].value, "Exit\nEnds the program.\n");  // as the box shows it
    EXPECT_FALSE(INI_GetFlag("Main", "Try IE when show help", gIniLastVals, 7, "True"));
}

TEST_F(HelpForms, TheAboutBoxShowsVersionBuildAndFolders) {
    gMainDataDir = home / "Shop";
    testsupport::ScriptedResponder responder;
    responder.expect({.expectMessage = "Dravolin  Version 0.10\rBuild: 261.211.000.0", .press = "&OK"});
    ABOUT_TextShow("", "", "", gCR + "Shared Parameters from Directory: " + gCR + "/opt/dravolin/");
    ASSERT_EQ(responder.shown().size(), 1u);
    EXPECT_NE(responder.shown()[0].message.find("Parameters from Directory: \r" + home / "Shop/"), std::string::npos);
}

TEST_F(HelpForms, F1InABoxShowsHelpInTheHelpWindow) {
    // The shell's key hook turns F1 into the last command's page and topic; here it
    // asks for the topic FX of the page.
    class F1Hook : public Routing {
    public:
        explicit F1Hook(std::string page) : page_(std::move(page)) {}
        void mbKeyDown(int& keyCode, int&) override {
            if (keyCode == 112) HELP_Show(nullptr, nullptr, page_, "FX");
        }

    private:
        std::string page_;
    } hook(page);
    QWidget main;
    main.show();
    bool shownInBox = false;
    QString source;
    QTimer::singleShot(0, &main, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_F1);
        shownInBox = box->isVisible();
        const auto windows = helpWindows();
        if (windows.size() == 1) source = windows[0]->browser()->source().toString();
        QTest::keyClick(box, Qt::Key_Return);
    });
    MB_MsgBox("Press F1", "0", "", "A box");
    EXPECT_TRUE(shownInBox);
    EXPECT_EQ(source, pageUrl(page, "FX").toString());
}
