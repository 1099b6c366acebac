#include <gtest/gtest.h>

#include "core/text.h"
#include "logimport/read_record.h"

namespace {

FltrSet setWith(bool active, bool negate, bool any, int rules) {
    FltrSet s;
    s.Active = active;
    s.Negate = negate;
    s.Any = any;
    s.Rules.resize(static_cast<std::size_t>(rules) + 1);
    s.ColTypes.resize(static_cast<std::size_t>(rules) + 1);
    return s;
}

}  // namespace

TEST(ReadRecord, FilterSetDescriptions) {
    struct Case {
        const char* name;
        FltrSet set;
        const char* kind;
        const char* text;
    };
    const Case cases[] = {
        {"inactive", setWith(false, true, true, 3), "user agent", "No"},
        {"main set keeps its double blank", setWith(true, true, false, 2), "",
         "Yes - 2  filters. Log line loaded when satisfy all."},
        {"robot set", setWith(true, false, true, 14), "user agent",
         "Yes - 14 user agent filters. Log line skipped when satisfy any."},
        {"no rules", setWith(true, false, false, 0), "page component",
         "Yes - 0 page component filters. Log line skipped when satisfy all."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(STTA_FltrSetText(c.set, c.kind), c.text);
    }
}

TEST(ReadRecord, ChoiceTextJoinsTheThreeSets) {
    TXT_CrLfInit();
    ReadRec rec;
    rec.MainSet = setWith(true, false, false, 1);
    rec.RobotSet = setWith(true, false, true, 5);
    EXPECT_EQ(STTA_FltrChoiceText("/logs/access.log", rec),
              "File Spec: /logs/access.log\r\r"
              "Add Only/Except Filtered: Yes - 1  filters. Log line skipped when satisfy all.\r"
              "Skip robots n crawlers: Yes - 5 user agent filters. Log line skipped when satisfy "
              "any.\r"
              "Skip page components: No");
}

TEST(ReadRecord, NotFoundListResetStartsAFreshList) {
    ReadRec rec;
    rec.ListedNames.redim(0, 2);
    rec.ListedNames.set(1, "/gone.html");
    rec.ListedCounts.redim(0, 2);
    rec.ListedCounts.set(1, 7);

    rec.Keep404List = true;
    STTA_NotFoundListReset(rec);
    EXPECT_EQ(rec.ListedStatus, 404);
    ASSERT_EQ(rec.ListedNames.ubound(), 0);
    EXPECT_EQ(rec.ListedNames[0], "404");
    EXPECT_EQ(LLIST_LngArrItem(rec.ListedCounts, 1, 0), 0) << "no count left from the last read";

    rec.Keep404List = false;
    STTA_NotFoundListReset(rec);
    EXPECT_EQ(rec.ListedStatus, 0);
    ASSERT_EQ(rec.ListedNames.ubound(), 0);
    EXPECT_EQ(rec.ListedNames[0], "");
}

TEST(ReadRecord, Captions) {
    core::StrArray captions;
    STTA_FltrColTypeCaptions(captions);
    ASSERT_EQ(captions.lbound(), 0);
    ASSERT_EQ(captions.ubound(), 3);
    EXPECT_EQ(captions[2], "User agent (browser)");
    EXPECT_EQ(captions[3], "RC (200=OK, 404=Page not found, etc.)");

    EXPECT_EQ(STTA_LogFieldCaption(24), "HTTP Status");
    EXPECT_EQ(STTA_LogFieldCaption(23), "Processing Time / microS.");
    EXPECT_EQ(STTA_LogFieldCaption(1), "");
    EXPECT_EQ(STTA_LogFieldCaption(-1), "");
}
