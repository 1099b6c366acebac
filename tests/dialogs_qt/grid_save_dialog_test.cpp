#include <QClipboard>
#include <QGuiApplication>
#include <filesystem>

#include "core/stored_text.h"
#include "dialogs/grid_save_dialog.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/temp_home.h"

namespace {

const char kPrompt[] = "Enter Full Path and file name to save grid contents as CSV";

class GridSaveDialogTest : public dlgtest::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        gGridSaveChars = false;
        gGridSaveSorted = false;
        grid.setRows(2);
        grid.setCols(2);
        grid.setTextMatrix(0, 0, "h1");
        grid.setTextMatrix(0, 1, "h2");
        grid.setTextMatrix(1, 0, "b\ra");
        grid.setTextMatrix(1, 1, "c,d");
        grid.setRow(1);
        grid.setCol(0);
        QGuiApplication::clipboard()->setText(QString::fromStdString(home / "clip.csv"));
    }
    void TearDown() override {
        QGuiApplication::clipboard()->clear();
        BoxTest::TearDown();
    }

    testsupport::TempHome home;
    grid::FlexGrid grid;
};

const core::CtlView& control(const core::DlgView& view, int entry) {
    for (const core::CtlView& c : view.ctls)
        if (c.entry == entry) return c;
    throw std::runtime_error("no entry " + std::to_string(entry));
}

}  // namespace

TEST_F(GridSaveDialogTest, SavesTheGridToTheClipboardPathOffered) {
    const std::string path = home / "clip.csv";
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "", .expectMessage = kPrompt, .sets = {}, .press = "&OK",
                      .act = [&](const core::DlgView& v, core::DlgDriver&) {
                          EXPECT_EQ(control(v, 1).value, path);
                          // The preview of the current cell, line breaks gone, after a blank.
                          EXPECT_NE(control(v, 4).caption.find("(Use CR to split into lines) ba"), std::string::npos);
                      }});
    responder.press("Data written successfully to file: " + path, "&OK");
    GRID_SaveAsCsv(grid);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(testsupport::readFile(path), "\"\"\r\nh1,h2\r\nba,\"c,d\"\r\n\"\"\r\n");
    EXPECT_FALSE(gGridSaveChars);
    EXPECT_FALSE(gGridSaveSorted);
}

TEST_F(GridSaveDialogTest, BrowseOffersTheFileChooserAndKeepsTheChoicesMadeBefore) {
    const std::string path = home / "chosen.csv";
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "", .expectMessage = kPrompt, .sets = {{"#1", ""}, {"#4", "1"}, {"#6", "x"}},
                      .press = "&Browse ...",
                      .act = [](const core::DlgView& v, core::DlgDriver&) {
                          // The text speaks of nothing the box does not have.
                          EXPECT_EQ(v.message.find("directory list"), std::string::npos) << v.message;
                      }});
    responder.expect({.expectCaption = "Save grid contents as CSV", .sets = {{"#1", path}}, .press = "&Save",
                      .act = [](const core::DlgView& v, core::DlgDriver&) { EXPECT_EQ(v.kind, "FileSave"); }});
    responder.expect({.expectCaption = "", .expectMessage = kPrompt, .press = "&OK",
                      .act = [&](const core::DlgView& v, core::DlgDriver&) {
                          EXPECT_EQ(control(v, 1).value, path);
                          EXPECT_TRUE(SYS32_StrIsTrue(control(v, 4).value));
                          EXPECT_EQ(control(v, 6).value, "x");
                      }});
    responder.press("Data written successfully to file: " + path, "&OK");
    GRID_SaveAsCsv(grid);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(testsupport::readFile(path), "\"\"\r\nxa\r\nxb\r\n\"\"\r\n");
}

TEST_F(GridSaveDialogTest, SortedLinesWithPrefixAreRememberedForTheNextSave) {
    const std::string path = home / "lines.csv";
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "", .expectMessage = kPrompt,
                      .sets = {{"#1", path}, {"#4", "1"}, {"#6", "x"}}, .press = "&OK", .act = {}});
    responder.press("Data written successfully", "&OK");
    GRID_SaveAsCsv(grid);
    EXPECT_EQ(testsupport::readFile(path), "\"\"\r\nxa\r\nxb\r\n\"\"\r\n");
    EXPECT_TRUE(gGridSaveSorted);
    EXPECT_FALSE(gGridSaveChars);

    responder.expect({.expectCaption = "", .expectMessage = kPrompt, .sets = {}, .press = "&Cancel",
                      .act = [](const core::DlgView& v, core::DlgDriver&) {
                          EXPECT_TRUE(SYS32_StrIsTrue(control(v, 4).value));
                      }});
    GRID_SaveAsCsv(grid);
}

TEST_F(GridSaveDialogTest, AnExistingFileBringsTheDialogBackAndCancelWritesNothing) {
    dlg::installMessageBoxes();
    const std::string path = home / "taken.csv";
    testsupport::writeFile(path, "keep");
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "", .expectMessage = kPrompt,
                      .sets = {{"#1", path}, {"#3", "1"}, {"#8", "1"}}, .press = "&OK", .act = {}});
    responder.press("File already exists", "&OK");
    responder.expect({.expectCaption = "", .expectMessage = kPrompt, .sets = {}, .press = "&Cancel",
                      .act = [&](const core::DlgView& v, core::DlgDriver&) {
                          EXPECT_EQ(control(v, 1).value, path);
                          EXPECT_EQ(control(v, 8).value, "1");
                      }});
    GRID_SaveAsCsv(grid);
    core::setUserInterface(nullptr);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(testsupport::readFile(path), "keep");
    EXPECT_FALSE(gGridSaveChars);
}

TEST_F(GridSaveDialogTest, CharactersOptionWritesEachCharacterWithItsCode) {
    const std::string path = home / "chars.csv";
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "", .expectMessage = kPrompt, .sets = {{"#1", path}, {"#3", "1"}},
                      .press = "&OK", .act = {}});
    responder.press("Data written successfully", "&OK");
    GRID_SaveAsCsv(grid);
    // Ordered by the code's text: 100 before 104 before 13.
    EXPECT_NE(testsupport::readFile(path).find("d,100\r\nh,104\r\n,13\r\n"), std::string::npos)
        << testsupport::readFile(path);
    EXPECT_TRUE(gGridSaveChars);
    EXPECT_FALSE(gGridSaveSorted);
}

// The chooser lists CSV files: a name typed without a suffix, in the box or in the
// chooser, is saved with ".csv"; a name with a suffix of its own keeps it.
TEST_F(GridSaveDialogTest, ANameWithoutASuffixIsSavedAsCsv) {
    const struct {
        const char* name;
        std::string typed, saved;
        bool inChooser;
    } cases[] = {
        {"typed in the box", home / "browse", home / "browse.csv", false},
        {"typed in the chooser", home / "chosen", home / "chosen.csv", true},
        {"own suffix kept", home / "notes.txt", home / "notes.txt", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScriptedResponder responder;
        if (c.inChooser) {
            responder.expect({.expectCaption = "", .expectMessage = kPrompt, .press = "&Browse ..."});
            responder.expect({.expectCaption = "Save grid contents as CSV", .sets = {{"#1", c.typed}}, .press = "&Save"});
            responder.expect({.expectCaption = "", .expectMessage = kPrompt, .press = "&OK",
                              .act = [&](const core::DlgView& v, core::DlgDriver&) {
                                  EXPECT_EQ(control(v, 1).value, c.saved);
                              }});
        } else {
            responder.expect({.expectCaption = "", .expectMessage = kPrompt, .sets = {{"#1", c.typed}}, .press = "&OK"});
        }
        responder.press("Data written successfully to file: " + c.saved, "&OK");
        GRID_SaveAsCsv(grid);
        EXPECT_EQ(responder.pending(), 0u);
        EXPECT_EQ(testsupport::readFile(c.saved), "\"\"\r\nh1,h2\r\nba,\"c,d\"\r\n\"\"\r\n");
        if (c.typed != c.saved) EXPECT_FALSE(std::filesystem::exists(c.typed));
    }
}
