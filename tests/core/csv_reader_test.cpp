#include <gtest/gtest.h>

#include <sstream>

#include "core/csv_reader.h"
#include "platform/sys/file.h"
#include "platform/sys/rt_error.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

using core::csv::Row;

namespace {

struct Read {
    bool found;
    int status;
    std::vector<Row> rows;
};

// Reads the text from a file, so that its line ends go through the real line reader.
Read read(const std::string& text, core::csv::ReadSpec spec = {"START", "END"}) {
    testsupport::TempHome home;
    testsupport::writeFile(home / "t.csv", text);
    sys::File file;
    file.open(home / "t.csv", sys::File::Access::Input);
    Read r;
    r.found = core::csv::readBlock([&](std::string& l) { return file.readLine(l); }, spec, r.rows, r.status);
    return r;
}

}  // namespace

TEST(CsvRead, FieldsOfTheLinesBetweenTheMarkers) {
    struct Case { const char* name; const char* text; std::vector<Row> rows; } cases[] = {
        {"plain", "junk\nSTART\na,b\nEND\nafter\n", {{"a", "b"}}},
        {"quoted start marker", "\"START\",,\na,b\nEND", {{"a", "b"}}},
        {"quoted end marker", "START\na\n\"END\"\nb\n", {{"a"}}},
        {"quoted separator", "START\n\"a,b\",c\nEND", {{"a,b", "c"}}},
        {"doubled quotes vanish", "START\n\"say \"\"hi\"\"\"\nEND", {{"say hi"}}},
        {"trailing separator", "START\na,\nEND", {{"a", ""}}},
        {"empty line", "START\n\nEND", {{""}}},
        {"blanks kept", "START\n a , b \nEND", {{" a ", " b "}}},
        {"open quote spans lines", "START\n\"a,b\nc,d\",e\nEND", {{"a,b"}, {"c,d", "e"}}},
        {"CR LF ends", "START\r\na,b\r\nc\r\nEND\r\n", {{"a", "b"}, {"c"}}},
        {"CR ends", "START\ra,b\rc\rEND\r", {{"a", "b"}, {"c"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = read(c.text);
        EXPECT_TRUE(r.found);
        EXPECT_EQ(r.status, core::csv::kFound);
        EXPECT_EQ(r.rows, c.rows);
    }
}

TEST(CsvRead, MissingMarkersAndOddSpecs) {
    auto noStart = read("a,b\nEND\n");
    EXPECT_FALSE(noStart.found);
    EXPECT_EQ(noStart.status, core::csv::kNoStart);

    auto noEnd = read("START\na\nb");
    EXPECT_FALSE(noEnd.found);
    EXPECT_EQ(noEnd.status, core::csv::kNoEnd);
    EXPECT_EQ(noEnd.rows, (std::vector<Row>{{"a"}, {"b"}}));  // what was read stays

    auto emptyEnd = read("START\na\n", {"START", ""});
    EXPECT_TRUE(emptyEnd.found);
    EXPECT_TRUE(emptyEnd.rows.empty());

    auto noStartText = read("a\nEND\n", {"", "END"});
    EXPECT_EQ(noStartText.rows, (std::vector<Row>{{"a"}}));

    // A separator of two characters never matches; ignoring quotes keeps them.
    EXPECT_EQ(read("START\na;;b\nEND", {"START", "END", ";;"}).rows, (std::vector<Row>{{"a;;b"}}));
    core::csv::ReadSpec keep{"START", "END", ",", true};
    EXPECT_EQ(read("START\n\"a,b\"\nEND", keep).rows, (std::vector<Row>{{"\"a", "b\""}}));
}

TEST(CsvRead, ReportsProgressAndFiltersRows) {
    std::string text = "START\n";
    for (int i = 0; i < 300; ++i) text += "row" + std::to_string(i) + ",xxxxxxxxxx\n";
    text += "END\n";
    std::istringstream in(text);
    std::vector<Row> rows;
    int status = 0;
    std::vector<std::string> messages;
    core::csv::readBlock(
        [&](std::string& l) { return static_cast<bool>(std::getline(in, l)); }, {"START", "END"}, rows, status,
        [&](std::int64_t, const std::string& m) { messages.push_back(m); },
        [](const Row& f) { return f[0].back() == '0'; });
    EXPECT_EQ(rows.size(), 30u);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Looking for start text");
    EXPECT_EQ(messages[1].rfind("Loading data. Last data loaded: row", 0), 0u);
}

namespace {

class CsvFiles : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return home / name; }
    testsupport::TempHome home;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder boxes;
};

std::string at(const core::Table2D& t, long r, long c) { return ARR_Item2D(t, r, c); }

}  // namespace

TEST_F(CsvFiles, ReadsIntoTheTableRowsOrColumnsFirst) {
    testsupport::writeFile(path("t.def"), "x\r\nSTART\r\nID,Long\r\nName,String,50,FI\r\nEND\r\n");
    core::Table2D t;
    int status = 0, columnsFirst = 0;
    long firstRow = 1, firstColumn = 1;
    EXPECT_TRUE(CSV_ReadFile(path("t.def"), "START", "END", t, status, columnsFirst, 0, ",", firstRow, firstColumn));
    EXPECT_EQ(status, -1);
    EXPECT_EQ(t.rowUBound(), 2);
    EXPECT_EQ(t.colUBound(), 4);
    EXPECT_EQ(at(t, 1, 1), "ID");
    EXPECT_EQ(at(t, 2, 4), "FI");
    EXPECT_EQ(at(t, 1, 3), "");  // never reached: empty
    EXPECT_EQ(at(t, 0, 0), "");

    columnsFirst = 1;
    firstRow = 0;
    firstColumn = 0;
    EXPECT_TRUE(CSV_ReadFile(path("t.def"), "START", "END", t, status, columnsFirst, 0, ",", firstRow, firstColumn));
    EXPECT_EQ(t.rowUBound(), 3);  // columns
    EXPECT_EQ(t.colUBound(), 1);  // rows
    EXPECT_EQ(at(t, 0, 1), "Name");
    EXPECT_EQ(at(t, 1, 0), "Long");
}

TEST_F(CsvFiles, FileProblemsAndRanges) {
    core::Table2D t;
    int status = 0, columnsFirst = 0;
    long firstRow = 1, firstColumn = 1;
    boxes.press("File to be read does not exist.", "&OK");
    EXPECT_FALSE(CSV_ReadFile(path("none.csv"), "", "END", t, status, columnsFirst, 0, ",", firstRow, firstColumn));
    EXPECT_EQ(status, -1);
    EXPECT_EQ(t.rowUBound(), 0);
    testsupport::writeFile(path("empty.csv"), "");
    EXPECT_FALSE(CSV_ReadFile(path("empty.csv"), "", "END", t, status, columnsFirst, 0, ",", firstRow, firstColumn));
    EXPECT_EQ(status, -1);

    testsupport::writeFile(path("n.csv"), "a,5\nb,x\nc,50\nd,12.5\nEND\n");
    EXPECT_TRUE(CSV_ReadCore(path("n.csv"), "", "END", 1L, 20L, 2, t, status, columnsFirst, 0, ",", firstRow,
                             firstColumn));
    EXPECT_EQ(t.rowUBound(), 3);  // a (5), b (not a number) and d (12.5); c (50) is out
    EXPECT_EQ(at(t, 1, 1), "a");
    EXPECT_EQ(at(t, 2, 1), "b");
    EXPECT_EQ(at(t, 3, 1), "d");
    EXPECT_TRUE(CSV_ReadCore(path("n.csv"), "", "END", std::string("b"), std::string("c"), 1, t, status,
                             columnsFirst, 0, ",", firstRow, firstColumn));
    EXPECT_EQ(t.rowUBound(), 2);
    EXPECT_EQ(at(t, 2, 1), "c");
    try {
        CSV_ReadCore(path("n.csv"), "", "END", 1L, 2.5, 2, t, status, columnsFirst, 0, ",", firstRow, firstColumn);
        FAIL();
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 9994);
    }
}
