#include "window/common_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::Answer;
using testsupport::ScriptedResponder;

TEST(CommonDialog, FilterListsBecomeQtNameFilters)
{
    struct Case {
        const char* vb;
        const char* qt;
    } cases[] = {
        {"", ""},
        {"Log files|*.log|All files|*.*", "Log files (*.log);;All files (*)"},
        {"Logs|*.log;*.txt", "Logs (*.log *.txt)"},
        {"Dangling name", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vb);
        EXPECT_EQ(window::qtNameFilters(c.vb), c.qt);
    }
}

// Presses Open after typing `path`, and records what the box offered.
Answer openWith(const std::string& path, std::string* offered = nullptr)
{
    Answer a;
    a.act = [path, offered](const core::DlgView& view, core::DlgDriver& driver) {
        if (offered) *offered = view.ctls.at(0).value;
        if (!path.empty()) driver.setText(1, path);
        driver.press("Open");
    };
    return a;
}

TEST(OpenDialogFile, FlagsProposedNameAndTheChoice)
{
    testsupport::TempHome home;
    testsupport::writeFile(home / "logs/a.log", "x");
    struct Case {
        const char* name;
        long flags;
        std::string proposed, offered;
        long dialogFlags;
    } cases[] = {
        {"flags 0 need an existing file", 0, home / "logs/a.log", home / "logs/a.log", 4100},
        {"flags -1 set none", -1, home / "logs/a.log", home / "logs/a.log", 0},
        {"other flags pass", 4096, home / "logs/a.log", home / "logs/a.log", 4096},
        {"a folder loses its separator", 0, home / "logs/", home / "logs", 4100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        std::string offered;
        responder.expect(openWith(home / "logs/b.log", &offered));
        window::CommonDialog dialog;
        std::string fileName = c.proposed, filter = "Logs|*.log", title = "Pick";
        long flags = c.flags, index = 1;
        EXPECT_TRUE(OPENDLOG_File(fileName, flags, dialog, filter, index, title));
        EXPECT_EQ(fileName, home / "logs/b.log");
        EXPECT_EQ(offered, c.offered);
        EXPECT_EQ(dialog.Flags, c.dialogFlags);
        ASSERT_EQ(responder.shown().size(), 1u);
        EXPECT_EQ(responder.shown()[0].caption, "Pick");
    }
}

TEST(OpenDialogFile, CancelKeepsTheNameAndAMissingFolderStartsAfresh)
{
    testsupport::TempHome home;
    ScriptedResponder responder;
    responder.press("", "Cancel");
    window::CommonDialog dialog;
    std::string fileName = home.path(), filter, title;
    long flags = 0, index = 1;
    EXPECT_FALSE(OPENDLOG_File(fileName, flags, dialog, filter, index, title));
    EXPECT_EQ(fileName, home.path());

    std::string offered = "unset";
    responder.expect(openWith(home / "chosen.log", &offered));
    fileName = home / "no such folder/x.log";
    EXPECT_TRUE(OPENDLOG_File(fileName, flags, dialog, filter, index, title));
    EXPECT_EQ(offered, "");
    EXPECT_EQ(fileName, home / "chosen.log");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST(OpenDialogFile, ARealDialogClosedByTheUserIsACancel)
{
    window::CommonDialog dialog;
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->reject();
    });
    std::string fileName, filter = "All|*.*", title = "Real";
    long flags = 0, index = 1;
    EXPECT_FALSE(OPENDLOG_File(fileName, flags, dialog, filter, index, title));
    EXPECT_EQ(fileName, "");
}

// A title that is an instruction is shown in the chooser as well, uncut.
TEST(OpenDialogFile, ALongTitleIsAlsoShownInTheChooser)
{
    window::CommonDialog dialog;
    const std::string title = "Select single file name or return to options to enter spec [*-notation].";
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QLabel* label : box->findChildren<QLabel*>())
            if (label->text() == QString::fromStdString(title)) shown = label->text();
        box->reject();
    });
    std::string fileName, filter = "All|*.*", shownTitle = title;
    long flags = 0, index = 1;
    OPENDLOG_File(fileName, flags, dialog, filter, index, shownTitle);
    EXPECT_EQ(shown.toStdString(), title);
}

TEST(OpenDialogFont, AChosenFontReachesTheControlAndCancelLeavesIt)
{
    QLabel control;
    QFont start = control.font();
    start.setPointSizeF(8.25);
    control.setFont(start);

    ScriptedResponder responder;
    responder.press("", "Cancel");
    window::CommonDialog dialog;
    EXPECT_FALSE(OPENDLOG_Font(&control, dialog));
    EXPECT_EQ(control.font(), start);

    std::string offeredSize;
    Answer a;
    a.act = [&](const core::DlgView& view, core::DlgDriver& driver) {
        offeredSize = view.ctls.at(1).value;
        driver.setText(2, "12");
        driver.setCheck(3, 1);
        driver.press("OK");
    };
    responder.expect(a);
    EXPECT_TRUE(OPENDLOG_Font(&control, dialog));
    EXPECT_EQ(offeredSize, "8.25");
    EXPECT_EQ(control.font().pointSizeF(), 12);
    EXPECT_TRUE(control.font().bold());
    EXPECT_FALSE(control.font().italic());
    EXPECT_EQ(control.font().family(), start.family());
}

}  // namespace
