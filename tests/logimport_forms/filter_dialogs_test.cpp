#include <gtest/gtest.h>

#include <QRect>
#include <functional>
#include <regex>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "logimport/forms/filter_dialogs.h"
#include "logimport/filter_store.h"
#include "logimport/read_record.h"
#include "platform/ui/work_area.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/logimport/filter_fixture.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::Answer;
using testsupport::ScriptedResponder;
using testsupport::TempHome;
using testsupport::writeFile;

const char kFilters[] =
    "[Filters]\n"
    "SelLst=shop\n"
    "[shop]\n"
    "Typ=2\n"
    "Val=/shop/\n"
    "MC=False\n"
    "ColType=1\n"
    "Keep=True\n"
    "[TEMP.Edit]\n"
    "CDSCndns=left|over\n";

const FltrKindOffers kAllKinds{true, true, true};

std::vector<std::string> optionCaptions(const core::DlgView& v) {
    std::vector<std::string> out;
    for (const auto& c : v.ctls)
        if (c.type == "OptionButton") out.push_back(c.caption);
    return out;
}

const core::CtlView* ctlOf(const core::DlgView& v, const std::string& type, int nth = 1) {
    for (const auto& c : v.ctls)
        if (c.type == type && --nth == 0) return &c;
    return nullptr;
}

class FilterDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ui::setWorkAreaProvider([] { return QRect(0, 0, 1280, 1000); });
        TXT_CrLfInit();
        file_ = home_ / "LdLnFltr.ini";
        writeFile(file_, kFilters);
        STTA_FltrColTypeCaptions(captions_);
    }
    void TearDown() override {
        MB_UnloadStray("");
        ui::setWorkAreaProvider({});
    }
    std::string get(const std::string& section, const std::string& entry) {
        return INI_Get(section, entry, file_, 1);
    }

    TempHome home_;
    testsupport::FakeUserInterface ui_;
    std::string file_;
    core::StrArray captions_;
};

}  // namespace

TEST_F(FilterDialogs, CopyReplacesTheTargetAndSkipsAMissingSource) {
    EXPECT_TRUE(FLTR_FilterCopy("shop", kFltrEditSection, file_, "Keep lines|Keep", 6));
    for (const char* entry : {"Typ", "Val", "MC", "ColType", "Keep"})
        EXPECT_EQ(get(kFltrEditSection, entry), get("shop", entry)) << entry;
    // A left-over multiple filter under the target name would turn the copy into one.
    EXPECT_EQ(get(kFltrEditSection, "CDSCndns"), kIniNotFound);

    EXPECT_FALSE(FLTR_FilterCopy("absent", kFltrEditSection, file_, "", 6));
    EXPECT_EQ(get(kFltrEditSection, "Val"), "/shop/");
}

TEST_F(FilterDialogs, RuleEditorOffersTheKindsTheCallerAllows) {
    struct Case {
        const char* name;
        FltrKindOffers offers;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"none", {}, {"Starts with ...", "Contains ..."}},
        {"equals", {true, false, false}, {"Starts with ...", "Contains ...", "Equals ..."}},
        {"all", kAllKinds,
         {"Starts with ...", "Contains ...", "Equals ...", "Is greater than ...", "Is less than ...", "Is a number"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        responder.expect({.expectCaption = "- Enter Rule", .press = "&Cancel"});
        FltrRule rule{kFltrGreater, "10", false};
        MB_CtlEntry ctl;
        EXPECT_NE(FLTR_RuleEnter(rule, ctl, "", c.offers), 1);
        EXPECT_EQ(optionCaptions(responder.shown().at(0)), c.options);
        // A kind that is not offered selects the first option.
        const core::CtlView* set = ctlOf(responder.shown().at(0), "OptionButton", c.offers.greaterLess ? 4 : 1);
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->value, "True");
        EXPECT_EQ(rule.Typ, kFltrGreater);  // Cancel keeps the rule
    }
}

TEST_F(FilterDialogs, RuleEditorWithAStoredKindOutsideTheTableSelectsStartsWith) {
    for (long kind : {0L, -1L, 7L, 31313L}) {
        SCOPED_TRACE(kind);
        ScriptedResponder responder;
        responder.expect({.expectCaption = "- Enter Rule", .press = "&Cancel"});
        FltrRule rule{kind, "x", false};
        MB_CtlEntry ctl;
        FLTR_RuleEnter(rule, ctl, "", kAllKinds);
        std::vector<std::string> set;
        for (const auto& c : responder.shown().at(0).ctls)
            if (c.type == "OptionButton" && c.value == "True") set.push_back(c.caption);
        EXPECT_EQ(set, std::vector<std::string>{"Starts with ..."});
    }
}

TEST_F(FilterDialogs, RuleEditorTakesTheChosenKindValueAndCase) {
    struct Case {
        const char* option;
        long kind;
    };
    const Case cases[] = {{"Starts with ...", 1}, {"Contains ...", 2}, {"Is less than ...", 5}, {"Is a number", 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        ScriptedResponder responder;
        responder.expect({.sets = {{std::string("cap:") + c.option, "1"}, {"#7", "Bot"}, {"cap:Match Case", "1"}},
                          .press = "&OK"});
        FltrRule rule{kFltrEquals, "x", false};
        MB_CtlEntry ctl;
        EXPECT_EQ(FLTR_RuleEnter(rule, ctl, "", kAllKinds), 1);
        EXPECT_EQ(rule.Typ, c.kind);
        EXPECT_EQ(rule.Val, "Bot");
        EXPECT_TRUE(rule.MC);
    }
}

TEST_F(FilterDialogs, NewFilterNeedsAUniqueNameAndIsSaved) {
    // Entries: name label and box, where label, field list, six options, value, case, shape.
    ScriptedResponder responder;
    responder.expect({.expectCaption = "- Enter Rule", .sets = {{"#2", " "}}, .press = "&OK"})
        .press("Name is required.", "&OK")
        .expect({.sets = {{"#2", "SHOP "}}, .press = "&OK"})
        .press("Name already exists.", "&OK")
        .expect({.sets = {{"#2", " Robots "}, {"#4", "2"}, {"cap:Equals ...", "1"}, {"#11", "Bot"}}, .press = "&OK"});
    std::string section;
    EXPECT_TRUE(FLTR_FilterEdit(section, captions_, file_, -1, "", "", kAllKinds, false, "SelLst"));
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(section, "Robots");
    EXPECT_EQ(get("Filters", "SelLst"), "shop|Robots");
    EXPECT_EQ(get("Robots", "Typ"), "3");
    EXPECT_EQ(get("Robots", "Val"), "bot");
    EXPECT_EQ(get("Robots", "MC"), "False");
    EXPECT_EQ(get("Robots", "ColType"), "2");

    const core::CtlView* list = ctlOf(responder.shown().at(0), "ListBox");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->items.size(), 4u);
    EXPECT_EQ(list->selection, "0");
}

TEST_F(FilterDialogs, RenamingMovesTheFilterInTheListButACaseChangeDoesNot) {
    ScriptedResponder responder;
    responder.expect({.sets = {{"#2", "Shop"}, {"cap:Keep lines", "0"}}, .press = "&OK"})
        .expect({.sets = {{"#2", "shop pages"}}, .press = "&OK"});
    std::string section = "shop";
    EXPECT_TRUE(FLTR_FilterEdit(section, captions_, file_, -1, "", "Keep lines|Keep", kAllKinds, false, "SelLst"));
    EXPECT_EQ(section, "shop");
    EXPECT_EQ(get("Filters", "SelLst"), "shop");
    EXPECT_EQ(get("shop", "Keep"), "False");

    EXPECT_TRUE(FLTR_FilterEdit(section, captions_, file_, -1, "", "Keep lines|Keep", kAllKinds, false, "SelLst"));
    EXPECT_EQ(section, "shop pages");
    EXPECT_EQ(get("Filters", "SelLst"), "shop pages");
    EXPECT_EQ(get("shop pages", "Val"), "/shop/");
    EXPECT_EQ(get("shop pages", "ColType"), "1");
}

TEST_F(FilterDialogs, WhereCaptionGetsItsAccessKeyUnlessItHasOne) {
    struct Case {
        const char* caption;
        const char* flagSpec;
        const char* shown;
    };
    const Case cases[] = {
        {"", "", "Where [w]"},
        {"Referrer", "", "Referrer [w]:"},
        {"Referrer", "Keep lines|Keep", "Referrer"},
        {"Field [f]", "", "Field [f]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        ScriptedResponder responder;
        responder.expect({.press = "&Cancel"});
        std::string section = "shop";
        EXPECT_FALSE(FLTR_FilterEdit(section, captions_, file_, -1, c.caption, c.flagSpec, {}, true, "SelLst"));
        const core::CtlView* label = ctlOf(responder.shown().at(0), "Label");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->caption, c.shown);
    }
    EXPECT_EQ(get("shop", "Keep"), "True");  // Cancel writes nothing
}

TEST_F(FilterDialogs, FewFieldsAreNamedAndTheFilterTestsTheLastOffered) {
    struct Case {
        long lastField;
        const char* text;
        const char* colType;
    };
    const Case cases[] = {{0, "where value of Referrer", "0"}, {1, "where value of File Name", "1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedResponder responder;
        responder.expect({.press = "&OK"});
        std::string section;
        EXPECT_TRUE(FLTR_FilterEdit(section, captions_, file_, c.lastField, "", "", {}, true, "SelLst"));
        const core::CtlView* box = ctlOf(responder.shown().at(0), "TextBox");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->value, c.text);
        EXPECT_EQ(ctlOf(responder.shown().at(0), "ListBox"), nullptr);
        // A new filter whose name is not typed gets a dated one.
        EXPECT_TRUE(std::regex_match(section, std::regex(R"(\d{8}\.\d+)"))) << section;
        EXPECT_TRUE(CHUNKS_Contains(section, get("Filters", "SelLst"), "|", kChunksNoExclusion, true));
        EXPECT_EQ(get(section, "ColType"), c.colType);
        EXPECT_EQ(get(section, "Typ"), "1");
    }
}

namespace {

// Two multiple filters over the same two rules, a protected name without a section,
// and A with its first copy.
const std::string kList =
    "[Filters]\n"
    "SelLst=All lines|A|A.1|shop pages|both|shop|cart\n"
    "Fltr Sel=A\n"
    "[A]\n"
    "Typ=3\n"
    "Val=a\n"
    "MC=False\n"
    "ColType=0\n"
    "[A.1]\n"
    "Typ=3\n"
    "Val=a1\n"
    "MC=False\n"
    "ColType=0\n" +
    kShopCartFilters;

const char kAllNames[] = "All lines|A|A.1|shop pages|both|shop|cart";

class FilterListActions : public FilterDialogs {
protected:
    void SetUp() override {
        FilterDialogs::SetUp();
        writeFile(file_, kList);
        args_.captions = captions_;
        args_.iniFile = file_;
        args_.selEntry = "Fltr Sel";
        args_.listEntry = "SelLst";
        args_.protectedNames = "All lines";
        args_.offers = kAllKinds;
    }
    // The list as the dialog leaves it after dropping `name`.
    void dropped(const std::string& name) {
        bool found = false;
        std::string positions;
        INI_Put("Filters", "SelLst", CHUNKS_RemoveItem(kAllNames, name, "|", kChunksNoExclusion, true, found, positions),
                file_);
    }
    // Entries of the single-filter editor with a typed name: 2 the name, 11 the value.
    static Answer editTo(const std::string& name, const std::string& value) {
        return {.expectCaption = "- Enter Rule", .sets = {{"#2", name}, {"#11", value}}, .press = "&OK"};
    }

    FltrListEditArgs args_;
};

}  // namespace

TEST_F(FilterListActions, RemovalOfAProtectedNameOrAUsedRuleIsRefused) {
    struct Case {
        const char* name;
        const char* message;  // "" when the removal stands
        const char* list;
        bool sectionKept;
    };
    const Case cases[] = {
        {"All lines", "Cannot delete that line. It has been re-added at the end.", "A|A.1|shop pages|both|shop|cart|All lines", false},
        {"cart", "Cannot delete that rule. It is used in a multi rule condition.", "All lines|A|A.1|shop pages|both|shop|cart", true},
        {"both", "", "All lines|A|A.1|shop pages|shop|cart", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file_, kList);
        ScriptedResponder responder;
        if (*c.message) responder.press(c.message, "&OK");
        dropped(c.name);
        fltr::listRemoved(args_, c.name);
        EXPECT_EQ(responder.pending(), 0u);
        EXPECT_EQ(get("Filters", "SelLst"), c.list);
        EXPECT_EQ(get(c.name, "Typ") != kIniNotFound || get(c.name, "CDSCndns") != kIniNotFound, c.sectionKept);
    }
}

TEST_F(FilterListActions, AUsedRuleNamesOnlyTheFirstMultipleFilterThatUsesIt) {
    ScriptedResponder responder;
    responder.press("It is used in a multi rule condition.", "&OK");
    dropped("cart");
    fltr::listRemoved(args_, "cart");
    const std::string shop = "File Name Contains </shop/>";
    const std::string cart = "User agent (browser) Starts with <Mozilla> MC";
    EXPECT_EQ(responder.shown().at(0).message,
              "Cannot delete that rule. It is used in a multi rule condition." + gCRCR +
                  "First (Multi rule where it is used:" + gCR + "<" + shop + "> / <" + cart + ">" + gCRCR +
                  "The Rule has been re-added at the end.");
}

TEST_F(FilterListActions, RemovingTheSelectedFilterClearsTheSelection) {
    dropped("A");
    fltr::listRemoved(args_, "A");
    EXPECT_EQ(get("A", "Val"), kIniNotFound);
    EXPECT_EQ(get("Filters", "Fltr Sel"), "");
}

TEST_F(FilterListActions, CopyTakesTheFirstFreeNumberAndKeepsOnlyADifferentRule) {
    {
        ScriptedResponder responder;
        responder.expect(editTo("A.2", "b"));
        fltr::listCopy(args_, "A");
        EXPECT_EQ(get("Filters", "SelLst"), std::string(kAllNames) + "|A.2");
        EXPECT_EQ(get("A.2", "Val"), "b");
        EXPECT_EQ(get("A.2", "Typ"), "3");
    }
    {
        // Left as it was, the copy repeats A's rule.
        ScriptedResponder responder;
        responder.expect({.press = "&OK"}).press("Already have an identical condition", "&OK");
        fltr::listCopy(args_, "A");
        EXPECT_EQ(responder.pending(), 0u);
        EXPECT_EQ(get("Filters", "SelLst"), std::string(kAllNames) + "|A.2");
        EXPECT_EQ(get("A.3", "Val"), kIniNotFound);
    }
    // A multiple filter is copied by its rules, without an editor.
    fltr::listCopy(args_, "both");
    EXPECT_EQ(get("both.1", "CDSCndns"), "cart|shop");
    EXPECT_EQ(get("both.1", "Any"), "False");
}

TEST_F(FilterListActions, AnEditThatRepeatsAnotherRuleIsUndone) {
    ScriptedResponder responder;
    responder.expect(editTo("A renamed", "A1")).press("Already have an identical condition", "&OK");
    fltr::listEdit(args_, "A");
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(get("Filters", "SelLst"), kAllNames);
    EXPECT_EQ(get("A", "Val"), "a");
    EXPECT_EQ(get("A renamed", "Val"), kIniNotFound);
    EXPECT_EQ(get("Filters", "Fltr Sel"), "A");
}

TEST_F(FilterListActions, RenamingAFilterIsNotRefusedAsIdenticalToItself) {
    ScriptedResponder responder;
    responder.expect(editTo("A renamed", "a"));
    fltr::listEdit(args_, "A");
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(get("Filters", "SelLst"), "All lines|A.1|shop pages|both|shop|cart|A renamed");
    EXPECT_EQ(get("A renamed", "Val"), "a");
    EXPECT_EQ(get("Filters", "Fltr Sel"), "A renamed");
}

TEST_F(FilterListActions, ANewFilterThatRepeatsARuleIsTakenBack) {
    args_.allowMultiple = true;
    ScriptedResponder responder;
    responder.press("or a multi-condition criteria", "&Single condition")
        .expect({.sets = {{"#2", "again"}, {"#4", "1"}, {"cap:Contains ...", "1"}, {"#11", "/SHOP/"}}, .press = "&OK"})
        .press("Already have an identical condition", "&OK");
    fltr::listNew(args_);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(responder.shown().at(0).buttons, (std::vector<std::string>{"&Single condition", "&Multiple Conditions"}));
    EXPECT_EQ(responder.shown().at(0).escButton, 1);  // Esc and the close box: a single condition
    EXPECT_EQ(responder.shown().at(0).message, "Use a single condition" + gCR + "E.g. File Name equals xxx" + gCRCR +
                                                   "or a multi-condition criteria" + gCR +
                                                   "E.g. File Name equals xxx OR starts with yyy");
    EXPECT_EQ(get("Filters", "SelLst"), kAllNames);
    EXPECT_EQ(get("again", "Val"), kIniNotFound);
}

namespace {

using Step = std::function<void(const core::DlgView&, core::DlgDriver&)>;
using Texts = std::vector<std::string>;

Answer step(Step s) { return {.act = std::move(s)}; }

const core::CtlView& nthOf(const core::DlgView& v, const std::string& type, int n) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == type && n-- == 0) return c;
    throw core::UnexpectedDialog("no " + type + " in \"" + v.caption + "\"");
}

const std::string kShopDesc = "File Name Contains </shop/>";
const std::string kCartDesc = "User agent (browser) Starts with <Mozilla> MC";

}  // namespace

TEST_F(FilterListActions, ThePickedCopyBecomesTheSelection) {
    ScriptedResponder responder;
    responder
        .expect(step([](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_TRUE(TXT_EndsWith(v.caption, "- Select Filter", true)) << v.caption;
            EXPECT_EQ(v.buttons, (Texts{"&OK", "Edi&t ", "&New ", "R&emove ", "Cop&y ", "Move &Up", "Move Do&wn",
                                        "&Cancel"}));
            EXPECT_EQ(nthOf(v, "ListBox", 0).items, (Texts{"All lines", "A", "A.1", "shop pages", "both", "shop", "cart"}));
            EXPECT_EQ(nthOf(v, "ListBox", 0).selection, "1");  // the selected filter
            d.press("Cop&y ");
        }))
        .expect(editTo("A.2", "b"))
        .expect(step([](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(nthOf(v, "ListBox", 0).items.back(), "A.2");
            d.choose(nthOf(v, "ListBox", 0).entry, {7});
            d.press("&OK");
        }));
    long extra = -1;
    EXPECT_EQ(FLTR_FilterListEdit(args_, extra), 2);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(get("Filters", "Fltr Sel"), "A.2");
    EXPECT_EQ(get("A.2", "Val"), "b");
}

// A filter just made is the one chosen, so that OK selects it.
TEST_F(FilterListActions, ANewFilterIsChosenAndOkSelectsIt) {
    ScriptedResponder responder;
    responder.expect({.press = "&New "})
        .expect(editTo("B", "b"))
        .expect(step([](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(nthOf(v, "ListBox", 0).items.back(), "B");
            EXPECT_EQ(nthOf(v, "ListBox", 0).selection, "7");
            d.press("&OK");
        }));
    long extra = -1;
    EXPECT_EQ(FLTR_FilterListEdit(args_, extra), 2);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(get("Filters", "Fltr Sel"), "B");
}

TEST_F(FilterListActions, DescriptionListKeepsNamesInTheOrderShown) {
    args_.descriptions = true;
    ScriptedResponder responder;
    responder
        .expect(step([](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(nthOf(v, "ListBox", 0).items,
                      (Texts{"All lines", "Referrer Equals <a>", "Referrer Equals <a1>",
                             "<" + kShopDesc + "> / <" + kCartDesc + ">", "<" + kCartDesc + "> & <" + kShopDesc + ">",
                             kShopDesc, kCartDesc}));
            EXPECT_EQ(nthOf(v, "ListBox", 0).selection, "1");
            d.choose(nthOf(v, "ListBox", 0).entry, {6});
            d.press("R&emove ");
        }))
        .press("Cannot delete that rule.", "&OK")
        .expect(step([](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(nthOf(v, "ListBox", 0).items.back(), kCartDesc);
            d.choose(nthOf(v, "ListBox", 0).entry, {0});
            d.press("Move Do&wn");
        }))
        .press("", "&Cancel");
    long extra = -1;
    EXPECT_EQ(FLTR_FilterListEdit(args_, extra), 1);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(get("Filters", "SelLst"), "A|All lines|A.1|shop pages|both|shop|cart");
    EXPECT_EQ(get("cart", "Val"), "Mozilla");
}

TEST_F(FilterListActions, MultipleFilterRulesAreChosenFromTheSingleOnes) {
    args_.allowMultiple = true;
    ScriptedResponder responder;
    responder.press("", "&New ")
        .press("or a multi-condition criteria", "&Multiple Conditions")
        .expect(step([](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.message, "in which selected rules are checked.");
            // Protected names and multiple filters are not offered.
            EXPECT_EQ(nthOf(v, "ListBox", 0).items,
                      (Texts{"Referrer Equals <a>", "Referrer Equals <a1>", kShopDesc, kCartDesc}));
            d.choose(nthOf(v, "ListBox", 0).entry, {2, 3});
            d.press("&Add -->");
        }))
        .expect({.sets = {{"#2", "shop or cart"}, {"cap:Any rule selected", "1"}}, .press = "&OK"})
        .expect(step([](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(nthOf(v, "ListBox", 0).items.back(), "shop or cart");
            d.choose(nthOf(v, "ListBox", 0).entry, {4});
            d.press("Edi&t ");
        }))
        .expect(step([](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(nthOf(v, "ListBox", 1).items, (Texts{kCartDesc, kShopDesc}));
            EXPECT_EQ(nthOf(v, "OptionButton", 0).value, "True");  // all rules
            d.choose(nthOf(v, "ListBox", 1).entry, {1});
            d.press("<-- R&emove");
        }))
        .press("", "&OK")
        .press("", "&Cancel");
    long extra = -1;
    EXPECT_EQ(FLTR_FilterListEdit(args_, extra), 1);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(get("shop or cart", "CDSCndns"), "shop|cart");
    EXPECT_EQ(get("shop or cart", "Any"), "True");
    EXPECT_EQ(get("both", "CDSCndns"), "cart");
    EXPECT_EQ(get("both", "Any"), "False");
}
