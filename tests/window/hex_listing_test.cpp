#include "window/hex_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

TEST(HexListing, SeventeenBytesGiveTwoHexRowsTheLastPadded)
{
    const window::HexListings l = window::hexListings("ABCDEFGHIJKLMNOPQ", 4, true);
    ASSERT_EQ(l.hex.size(), 2u);
    EXPECT_EQ(l.hex[0], "1 ABCD EFGH IJKL MNOP        41 42 43 44   45 46 47 48   49 4A 4B 4C   4D 4E 4F 50");
    // The last cell is padded, the missing cells are blank, all of full width.
    EXPECT_EQ(l.hex[1], "2 Q                          51" + std::string(9, ' ') + "  " + std::string(12, ' ') +
                            "  " + std::string(12, ' ') + "  " + std::string(12, ' '));
    EXPECT_EQ(l.hex[1].size(), l.hex[0].size());
    ASSERT_EQ(l.text.size(), 1u);
    EXPECT_EQ(l.text[0].substr(0, 12), "1 ABCD EFGH ");
}

TEST(HexListing, TextRowsHoldFiveHexRowsAndAreLabelledByTheirFirst)
{
    const window::HexListings l = window::hexListings(std::string(81, 'x'), 4, true);
    ASSERT_EQ(l.text.size(), 2u);
    EXPECT_EQ(l.text[0].substr(0, 7), "1 xxxx ");
    EXPECT_EQ(l.text[1].substr(0, 7), "6 x    ");
    EXPECT_EQ(l.hex.size(), 6u);
    // Labels line up one column past the widest.
    EXPECT_EQ(window::hexListings(std::string(160, 'x'), 4, true).hex[9].substr(0, 3), "10 ");
    EXPECT_EQ(window::hexListings(std::string(160, 'x'), 4, true).hex[0].substr(0, 3), "1  ");
}

TEST(HexListing, BytesThatWouldNotTakeOneColumnShowAPlaceholderButKeepTheirCodes)
{
    const std::string dot = window::kHexPlaceholder;
    const window::HexListings l = window::hexListings(std::string("\t\0\r\xC3\xA9", 5), 4, false);
    ASSERT_EQ(l.hex.size(), 1u);
    EXPECT_EQ(l.hex[0].substr(0, 4 * dot.size()), dot + dot + dot + dot);
    EXPECT_NE(l.hex[0].find(" 09 00 0D C3   A9"), std::string::npos);
    EXPECT_EQ(l.text[0].substr(0, 5 * dot.size() + 1), dot + dot + dot + dot + " " + dot);
}

TEST(HexListing, EmptyTextGivesNoRowsAndNegativeCellsPerRowMeansOne)
{
    const window::HexListings empty = window::hexListings("", 4, true);
    EXPECT_TRUE(empty.hex.empty());
    EXPECT_TRUE(empty.text.empty());
    const window::HexListings one = window::hexListings("abcdefgh", -3, false);
    EXPECT_EQ(one.hex, (Rows{"abcd        61 62 63 64", "efgh        65 66 67 68"}));
    EXPECT_EQ(one.text, (Rows{"abcd efgh" + std::string(15, ' ')}));
}

TEST(HexCells, CellSizeAndSeparatorAreTheCallers)
{
    std::vector<std::string> text, hex;
    HEX_TextToCells("abcde", 2, text, hex, "-");
    EXPECT_EQ(text, (Rows{"ab", "cd", "e "}));
    EXPECT_EQ(hex, (Rows{"-61-62", "-63-64", "-65   "}));
    std::vector<std::string> rows;
    HEX_CellsToRows(text, {}, rows, 2, "|", "", "", 0);
    EXPECT_EQ(rows, (Rows{"ab|cd", "e |  "}));
}

}  // namespace
