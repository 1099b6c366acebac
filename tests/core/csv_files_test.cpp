#include <gtest/gtest.h>

#include <sstream>

#include "core/csv_files.h"

using core::csv::Row;

namespace {

struct Read {
    bool found;
    int status;
    std::vector<Row> rows;
};

Read read(const std::string& text, core::csv::ReadSpec spec = {"START", "END"}) {
    std::istringstream in(text);
    Read r;
    r.found = core::csv::readBlock(in, spec, r.rows, r.status);
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
        in, {"START", "END"}, rows, status,
        [&](std::int64_t, const std::string& m) { messages.push_back(m); },
        [](const Row& f) { return f[0].back() == '0'; });
    EXPECT_EQ(rows.size(), 30u);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Looking for start text");
    EXPECT_EQ(messages[1].rfind("Loading data. Last data loaded: row", 0), 0u);
}

TEST(CsvWrite, QuotesOnlyWhenNeeded) {
    struct Case { const char* cell; const char* written; } cases[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "twolines"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(core::csv::quoteField(c.cell, ","), c.written);
    }
    EXPECT_EQ(core::csv::quotedLine(""), "\"\"");
}

TEST(CsvWrite, WrittenFieldsReadBackWithoutTheirQuotes) {
    Row cells = {"a,b", "c", "d e"};
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) line += (i ? "," : "") + core::csv::quoteField(cells[i], ",");
    EXPECT_EQ(read("START\n" + line + "\nEND\n").rows, std::vector<Row>{cells});
}
