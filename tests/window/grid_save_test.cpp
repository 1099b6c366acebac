#include "window/grid_save.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/progress.h"
#include "tests/support/temp_home.h"
#include "window/csv_files.h"

namespace {

using testsupport::readFile;
using testsupport::TempHome;
using testsupport::writeFile;

std::vector<std::string> column(const core::Table2D& t, long col)
{
    std::vector<std::string> out;
    for (long r = t.rowLBound(); r <= t.rowUBound(); ++r) out.push_back(ARR_Item2D(t, r, col));
    return out;
}

// A grid without fixed cells holding the given rows.
void fill(grid::FlexGrid& g, const std::vector<std::vector<std::string>>& rows)
{
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setRows(static_cast<long>(rows.size()));
    g.setCols(static_cast<int>(rows[0].size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            g.setTextMatrix(static_cast<long>(r), static_cast<int>(c), rows[r][c]);
}

TEST(CsvWriteFile, QuotesOnlyWhatNeedsItAndEndsLinesWithCrLf)
{
    TempHome home;
    core::Table2D t;
    t.redim(0, 1, 0, 3);
    t.set(0, 0, std::string("plain"));
    t.set(0, 1, std::string("a,b"));
    t.set(0, 2, std::string("say \"hi\""));
    t.set(0, 3, std::string("two\r\nlines\n"));
    t.set(1, 0, 5L);
    // Cell (1, 1) stays empty; (1, 2) and (1, 3) hold texts without specials.
    t.set(1, 2, std::string("x"));
    t.set(1, 3, std::string("'"));
    ASSERT_TRUE(CSV_WriteFile(home / "out.csv", "E", "", "end", t, ",", 0, 0));
    EXPECT_EQ(readFile(home / "out.csv"),
              "\"\"\r\n"
              "plain,\"a,b\",\"say \"\"hi\"\"\",twolines\r\n"
              "5,,x,'\r\n"
              "\"end\"\r\n");

    // First row and column skip what comes before them; a table without bounds
    // writes the header and footer only.
    ASSERT_TRUE(CSV_WriteFile(home / "part.csv", "E", "h", "", t, ";", 1, 2));
    EXPECT_EQ(readFile(home / "part.csv"), "\"h\"\r\nx;'\r\n\"\"\r\n");
    ASSERT_TRUE(CSV_WriteFile(home / "empty.csv", "E", "", "", core::Table2D(), ",", 0, 0));
    EXPECT_EQ(readFile(home / "empty.csv"), "\"\"\r\n\"\"\r\n");
}

TEST(CsvWriteFile, TextsASpreadsheetWouldRunAsFormulasArePlainTextButNumbersStayNumbers)
{
    TempHome home;
    struct Case {
        const char* cell;
        const char* written;
    } cases[] = {
        {"=HYPERLINK(\"http://x.test\",\"go\")", "\"'=HYPERLINK(\"\"http://x.test\"\",\"\"go\"\")\""},
        {"+cmd", "'+cmd"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\t=1", "'\t=1"},
        {"=a,b", "\"'=a,b\""},
        {"-1,234", "\"-1,234\""},
        {"-12", "-12"},
        {"+0.5", "+0.5"},
        {"-3.0 %", "-3.0 %"},
        {"a=b", "a=b"},
        {"-", "'-"},
    };
    core::Table2D t;
    t.redim(0, static_cast<long>(std::size(cases)) - 1, 0, 0);
    std::string expected = "\"'=\"\"x\"\"\"\r\n";  // the header's quotes doubled too
    for (long r = 0; r < static_cast<long>(std::size(cases)); ++r) {
        t.set(r, 0, std::string(cases[r].cell));
        expected += std::string(cases[r].written) + "\r\n";
    }
    expected += "\"say \"\"bye\"\"\"\r\n";
    ASSERT_TRUE(CSV_WriteFile(home / "f.csv", "E", "=\"x\"", "say \"bye\"", t, ",", 0, 0));
    EXPECT_EQ(readFile(home / "f.csv"), expected);
}

TEST(CsvWriteFile, IfExistsPolicies)
{
    TempHome home;
    core::Table2D t;
    t.redim(0, 0, 0, 0);
    t.set(0, 0, std::string("new"));
    struct Case {
        const char* policy;
        bool written;
        const char* content;
    } cases[] = {
        {"E", false, "old\r\n"},
        {"D", true, "\"\"\r\nnew\r\n\"\"\r\n"},
        {"A", true, "old\r\n\"\"\r\nnew\r\n\"\"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.policy);
        writeFile(home / "f.csv", "old\r\n");
        EXPECT_EQ(CSV_WriteFile(home / "f.csv", c.policy, "", "", t, ",", 0, 0), c.written);
        EXPECT_EQ(readFile(home / "f.csv"), c.content);
    }
    EXPECT_FALSE(CSV_WriteFile(home / "no such folder/f.csv", "E", "", "", t, ",", 0, 0));
}

TEST(GridSave, PathDefaultTakesOnlyAFullPathFromTheClipboard)
{
    struct Case {
        const char* clipboard;
        const char* path;
    } cases[] = {
        {"report.csv", ""}, {"", ""}, {"/home/me/report.csv", "/home/me/report.csv"},
        {"c:\\data\\r.csv", "c:\\data\\r.csv"}, {"c:data", ""}, {"some text\r\nmore", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard);
        EXPECT_EQ(window::gridSavePathDefault(c.clipboard), c.path);
    }
}

class GridSaveTable : public ::testing::Test {
protected:
    grid::FlexGrid g;
    core::Table2D t;
};

TEST_F(GridSaveTable, CharactersAreListedOnceWithTheirCodesInTheOrderOfTheCodeText)
{
    fill(g, {{"aA", "a"}, {"d\xC3\xA9", "\xFF"}});
    window::gridSaveTable(g, window::GridSaveKind::Characters, "", false, t);
    // Codes compare as texts: "100" < "233" < "255" < "65" < "97". A UTF-8 sequence is
    // one character; a stray byte is its own.
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"d", "\xC3\xA9", "\xFF", "A", "a"}));
    EXPECT_EQ(column(t, 1), (std::vector<std::string>{"100", "233", "255", "65", "97"}));
}

TEST_F(GridSaveTable, SortedLinesOfTheCurrentCellGetThePrefix)
{
    fill(g, {{"x", "b\ra\r\nC\nB"}});
    g.setRow(0);
    g.setCol(1);
    window::gridSaveTable(g, window::GridSaveKind::SortedLines, "x", false, t);
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"xa", "xb", "xB", "xC"}));
}

TEST_F(GridSaveTable, ContentsAreTheWholeGridOrTheSelection)
{
    fill(g, {{"1", "2", "3"}, {"4", "5", "6"}});
    g.setRow(1);
    g.setCol(2);
    g.setColSel(1);
    window::gridSaveTable(g, window::GridSaveKind::Contents, "", true, t);
    EXPECT_EQ(t.colUBound(), 1);
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"5"}));
    window::gridSaveTable(g, window::GridSaveKind::Contents, "", false, t);
    EXPECT_EQ(column(t, 2), (std::vector<std::string>{"3", "6"}));
}

TEST(GridSave, WriteReportsSuccessAndRefusesAnExistingFile)
{
    TempHome home;
    core::Table2D t;
    t.redim(0, 0, 0, 0);
    t.set(0, 0, std::string("v"));
    const std::string path = home / "grid.csv";
    EXPECT_EQ(window::gridSaveWrite(path, t), "Data written successfully to file: " + path);
    EXPECT_EQ(window::gridSaveWrite(path, t), "Error when try to write data. Not complete.");
    // The refused file never started its report; the next report must not go quiet.
    EXPECT_FALSE(gPISQuiet);
    EXPECT_EQ(readFile(path), "\"\"\r\nv\r\n\"\"\r\n");
}

}  // namespace
