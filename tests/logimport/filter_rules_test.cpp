#include <gtest/gtest.h>

#include "logimport/filter_rules.h"
#include "platform/sys/rt_error.h"

namespace {

FltrRules rulesOf(std::initializer_list<FltrRule> list) {
    FltrRules r{FltrRule{}};  // rule 0 stays blank
    r.insert(r.end(), list);
    return r;
}

}  // namespace

TEST(FilterRule, MatchesByKind) {
    struct Case {
        const char* name;
        long typ;
        const char* val;
        bool mc;
        const char* value;
        bool match;
    };
    const Case cases[] = {
        {"starts with, value lower-cased", 1, "abc", false, "ABCdef", true},
        {"starts with, match case keeps the value", 1, "abc", true, "ABCdef", false},
        {"starts with a longer rule text", 1, "abcdef", false, "abc", false},
        {"starts with an empty rule text", 1, "", false, "", true},
        {"starts with, rule text not folded", 1, "Abc", false, "abcdef", false},
        {"contains in the middle", 2, "bot", false, "Mozilla GoogleBOT/2.1", true},
        {"contains, match case", 2, "bot", true, "GoogleBOT", false},
        {"contains, empty value", 2, "", false, "", false},
        {"contains, empty rule text", 2, "", false, "x", true},
        {"contains at the very end", 2, ".css", false, "/a/STYLE.CSS", true},
        {"contains, longer than value", 2, "abcd", false, "abc", false},
        {"equals", 3, "/index.html", false, "/Index.HTML", true},
        {"equals, prefix only", 3, "/index", false, "/index.html", false},
        {"greater in text order", 4, "10", false, "9", true},
        {"greater, equal text", 4, "10", false, "10", false},
        {"greater, shorter prefix", 4, "abc", false, "ab", false},
        {"greater, longer with prefix", 4, "ab", false, "abc", true},
        {"greater folds the value", 4, "b", false, "C", true},
        {"greater with match case: upper sorts first", 4, "b", true, "C", false},
        {"greater, high bytes sort last", 4, "z", false, "\xC3\xA9", true},
        {"less in text order", 5, "9", false, "10", true},
        {"less, equal text", 5, "9", false, "9", false},
        {"less, prefix", 5, "abc", false, "ab", true},
        {"less, empty value", 5, "a", false, "", true},
        {"number, rule text ignored", 6, "xyz", false, "404", true},
        {"number, letters", 6, "", false, "abc", false},
        {"number with decimals", 6, "", false, "12.5", true},
        {"number between blanks", 6, "", false, " 7 ", true},
        {"number with a sign", 6, "", false, "-3", true},
        {"sign alone", 6, "", false, "-", false},
        {"number with an exponent", 6, "", false, "1E3", true},
        {"exponent without digits", 6, "", false, "1e", false},
        {"number with grouping", 6, "", false, "1,000", true},
        {"number with two points", 6, "", false, "1.2.3", false},
        {"number, empty value", 6, "", false, "", false},
        {"number, hexadecimal", 6, "", false, "&H1F", true},
        {"number, octal", 6, "", false, "&o17", true},
        {"hexadecimal without digits", 6, "", false, "&H", false},
        {"number too large for a double", 6, "", false, "1e999", false},
        {"kind 0 never matches", 0, "", false, "x", false},
        {"kind 7 never matches", 7, "", false, "x", false},
        {"missing rule kind never matches", 31313, "", false, "x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FLTR_RuleMatches(c.value, FltrRule{c.typ, c.val, c.mc}), c.match);
    }
}

TEST(FilterRule, DescriptionAndCaption) {
    EXPECT_EQ(FLTR_RuleText({1, "abc", false}), "Starts with <abc>");
    EXPECT_EQ(FLTR_RuleText({2, "bot", true}), "Contains <bot> MC");
    EXPECT_EQ(FLTR_RuleText({6, "", false}), "Is a number<>");
    EXPECT_EQ(FLTR_RuleText({9, "x", false}), "<x>");

    const char* letters[] = {"S", "t", "q", "g", "l", "u"};
    for (long typ = 1; typ <= 6; ++typ) {
        std::string letter;
        std::string caption = FLTR_KindCaption({typ, "", false}, letter);
        EXPECT_EQ(letter, letters[typ - 1]);
        EXPECT_NE(caption.find(letter), std::string::npos) << caption;
    }
    std::string letter = "x";
    EXPECT_EQ(FLTR_KindCaption({0, "", false}, letter), "");
    EXPECT_EQ(letter, "");
}

TEST(FilterRule, EvaluationStopsAtTheDecidingRule) {
    FltrRules rules = rulesOf({{1, "a", false}, {1, "b", false}, {1, "c", false}});
    std::vector<std::string> values = {"", "apple", "x", "y"};
    long index = 0;
    EXPECT_FALSE(FLTR_EvalFieldRules(values, rules, false, index));
    EXPECT_EQ(index, 2);

    values = {"", "apple", "x", "cherry"};
    index = 0;
    EXPECT_TRUE(FLTR_EvalFieldRules(values, rules, true, index));
    EXPECT_EQ(index, 1);

    values = {"", "x", "y", "z"};
    index = 7;
    EXPECT_FALSE(FLTR_EvalFieldRules(values, rules, true, index));
    EXPECT_EQ(index, 7) << "no deciding rule leaves the index alone";

    values = {"", "apple", "banana", "cherry"};
    EXPECT_TRUE(FLTR_EvalFieldRules(values, rules, false, index));
    EXPECT_EQ(index, 7);
}

TEST(FilterRule, EvaluationEdges) {
    long index = 0;
    FltrRules none{FltrRule{}};
    EXPECT_TRUE(FLTR_EvalFieldRules({""}, none, false, index));
    EXPECT_FALSE(FLTR_EvalFieldRules({""}, none, true, index));
    EXPECT_EQ(FLTR_RuleUBound(none), 0);
    EXPECT_EQ(FLTR_RuleUBound({}), -1);

    FltrRules two = rulesOf({{2, "x", false}, {2, "y", false}});
    try {
        FLTR_EvalFieldRules({"", "x"}, two, false, index);
        FAIL() << "values shorter than the rules";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), sys::kErrSubscript);
    }

    EXPECT_TRUE(FLTR_EvalValueRules("xy", two, false));
    EXPECT_FALSE(FLTR_EvalValueRules("x", two, false));
    EXPECT_TRUE(FLTR_EvalValueRules("y", two, true));
    EXPECT_FALSE(FLTR_EvalValueRules("z", two, true));
}

TEST(FilterSet, TestOnAParsedLine) {
    LogFields line;
    line[kFldReferrer] = "http://search.example/?q=shoes";
    line[kFldFileName] = "/shop/cart.html";
    line[kFldUserAgent] = "ExampleBot/1.0";
    line[kFldStatus] = "404";

    auto setOf = [](bool active, bool negate, bool any, FltrRules rules, std::vector<long> cols) {
        FltrSet s;
        s.Active = active;
        s.Negate = negate;
        s.Any = any;
        s.Rules = std::move(rules);
        s.ColTypes = std::move(cols);
        return s;
    };
    FltrRules shopAndBot = rulesOf({{2, "/shop/", false}, {2, "bot", false}});
    FltrRules shopAndHuman = rulesOf({{2, "/shop/", false}, {2, "human", false}});
    std::vector<long> fileAndAgent = {0, kFldFileName, kFldUserAgent};

    struct Case {
        const char* name;
        FltrSet set;
        bool hit;
        long index;
        const char* value;
    };
    Case cases[] = {
        {"inactive", setOf(false, false, false, shopAndBot, fileAndAgent), false, 0, ""},
        {"all rules hold", setOf(true, false, false, shopAndBot, fileAndAgent), true, 0, ""},
        {"all: one fails", setOf(true, false, false, shopAndHuman, fileAndAgent), false, 2,
         "ExampleBot/1.0"},
        {"negated all hits when one fails", setOf(true, true, false, shopAndHuman, fileAndAgent),
         true, 2, "ExampleBot/1.0"},
        {"any: first match decides", setOf(true, false, true, shopAndBot, fileAndAgent), true, 1,
         "/shop/cart.html"},
        {"negated any", setOf(true, true, true, shopAndBot, fileAndAgent), false, 1,
         "/shop/cart.html"},
        {"status field", setOf(true, false, false, rulesOf({{3, "404", false}}), {0, kFldStatus}),
         true, 0, ""},
        {"field number 0 tests an empty value",
         setOf(true, false, false, rulesOf({{3, "", false}}), {0, 0}), true, 0, ""},
        {"active without rules, all", setOf(true, false, false, FltrRules{FltrRule{}}, {0}), false,
         0, ""},
        {"active without rules, negated any", setOf(true, true, true, FltrRules{FltrRule{}}, {0}),
         false, 0, ""},
        {"active without bounds, negated", setOf(true, true, false, {}, {}), false, 0, ""},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        long index = -5;
        std::string value = "stale";
        EXPECT_EQ(STTA_FltrSetTest(line, c.set, index, true, value), c.hit);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(c.set.Hits, c.hit ? 1 : 0);
        EXPECT_EQ(STTA_FltrSetTest(line, c.set, index, false, value), c.hit);
        EXPECT_EQ(c.set.Hits, c.hit ? 2 : 0) << "hits grow per line";
    }
}
