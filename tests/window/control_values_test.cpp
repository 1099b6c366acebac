#include "window/control_values.h"

#include <gtest/gtest.h>

#include "core/ini_store.h"
#include "core/text.h"
#include "platform/sys/rt_error.h"
#include "tests/support/temp_home.h"

namespace {

// One dialog whose four extra controls carry the numbers 11 to 14 at positions 0 to 3
// (base 0), so that they are entries 1 to 4 of the dialog builder's arrays.
class ControlValuesTest : public testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        ini_ = home_ / "dlg.ini";
        testsupport::writeFile(ini_,
                               "[Dlg]\n11=Vals|Name\n12=Vals|Keep\n13=Vals|Pick\n14=Vals|Size\n"
                               "[Vals]\nName=abc\nKeep=True\nPick=b\nSize=12\n");
        entries_.redim(0, 4);
        entries_.set(1, "TextBox|~~|1200|300");
        entries_.set(2, "CheckBox|~~|1200|300");
        entries_.set(3, "ListBox|~~|1200|900");
        entries_.set(4, "_ComboBox|~~|1200|300");
        values_.redim(0, 4);
        numbers_.redim(0, 3);
        for (long i = 0; i <= 3; ++i) numbers_.set(i, static_cast<int>(11 + i));
        rows_.redim(0, 4, 0, 3);
        for (long row : {3L, 4L}) {
            rows_.set(row, 0, -1L);
            rows_.set(row, 1, std::string(row == 3 ? "a" : "10"));
            rows_.set(row, 2, std::string(row == 3 ? "b" : "12"));
            rows_.set(row, 3, std::string(row == 3 ? "c" : "14"));
        }
    }

    // The rules of control 11 (entry 1) checked against a value.
    std::string check(const std::string& rules, const std::string& value, long& failing) {
        INI_Put("Dlg", "C11", rules, ini_);
        values_.set(1, value);
        std::string message;
        XCTL_ValidateEntry("Dlg", ini_, values_, numbers_, message, failing);
        return message;
    }

    testsupport::TempHome home_;
    std::string ini_;
    core::StrArray entries_, values_;
    core::IntArray numbers_;
    core::Table2D rows_;
};

TEST_F(ControlValuesTest, RulesPassOrGiveTheirMessage) {
    struct Case {
        const char* name;
        const char* rules;
        const char* value;
        std::string message;
    };
    const Case cases[] = {
        {"below the limit", "{<100}", "99.5", ""},
        {"at the limit", "{<100}", "100", "Must be Less Than 100"},
        {"decimal limit", "{<2.5}", "3", "Must be Less Than 2.5"},
        {"zero is positive", "{+}", "0", ""},
        {"negative", "{+}", "-1", "Must be Positive"},
        {"numeric", "{N}", "1,234.5", ""},
        {"not numeric", "{N}", "abc", "Must be Numeric"},
        {"custom text", "{N|Enter a number}", "abc", "Enter a number"},
        {"first failing rule wins", "{+}|{<10}", "20", "Must be Less Than 10"},
        {"forbidden string", "{S-instr||False|,|;}", "a;b",
         ">>;<< characters not allowed.\r\rProblem with data entered: a;b"},
        {"forbidden ignoring case", "{S-instr||False|X}", "axb",
         ">>X<< characters not allowed.\r\rProblem with data entered: axb"},
        {"forbidden with case", "{S-instr||True|X}", "axb", ""},
        {"an empty forbidden item forbids nothing", "{S-instr||False|,|}", "ab", ""},
        {"other S codes are ignored", "{Sfoo}", "anything", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        long failing = 0;
        EXPECT_EQ(check(c.rules, c.value, failing), c.message);
        EXPECT_EQ(failing, c.message.empty() ? -1 : 1);  // entry 1, not position 0
    }
}

TEST_F(ControlValuesTest, FolderRulesCheckAndMayKeepTheNormalisedName) {
    const std::string folder = home_.path();
    long failing = 0;
    EXPECT_EQ(check("{PDe}", folder, failing), "");
    EXPECT_EQ(values_[1], folder);  // checked, not kept
    EXPECT_EQ(check("{PDe}", folder + "/missing", failing), "Dir does not exist.");
    EXPECT_EQ(failing, 1);
    EXPECT_EQ(check("{PD||Sv}", folder + "/missing", failing), "");  // a valid name
    EXPECT_EQ(values_[1], folder + "/missing/");
    EXPECT_NE(check("{PD}", "relative/name", failing), "");
    EXPECT_EQ(check("{Pxyz}", "anything", failing), "");  // other P codes check nothing
}

TEST_F(ControlValuesTest, UnknownRuleCodesRaise10203) {
    const std::pair<const char*, const char*> cases[] = {
        {"N|Enter a number", "12"},  // unbraced: the text is a second rule
        {"{n}", "1"},
        {"{s-instr||False|,}", "a"},
        {"{}", "a"},
    };
    for (const auto& [rules, value] : cases) {
        SCOPED_TRACE(rules);
        long failing = 0;
        try {
            check(rules, value, failing);
            ADD_FAILURE() << "no error";
        } catch (const sys::RtError& e) {
            EXPECT_EQ(e.number(), kErrBadRuleCode);
        }
    }
}

TEST_F(ControlValuesTest, LoadThenSaveWithoutEditsRewritesEveryValue) {
    std::string valuesFile;
    XCTL_CtlValuesLoad("Dlg", ini_, entries_, values_, rows_, numbers_, valuesFile, "");
    EXPECT_EQ(valuesFile, ini_);
    EXPECT_EQ(values_[0], "");  // each value lands on its own entry
    EXPECT_EQ(values_[1], "abc");
    EXPECT_EQ(values_[2], "1");
    EXPECT_EQ(ARR_Item2D(rows_, 3, 0), "1");  // "b" is item index 1
    EXPECT_EQ(ARR_Item2D(rows_, 4, 0), "1");

    std::string saved = home_ / "saved.ini";  // a fresh file shows what was written
    XCTL_CtlValuesSave("Dlg", ini_, entries_, values_, rows_, numbers_, saved, "");
    EXPECT_EQ(INI_Get("Vals", "Name", saved, 1), "abc");
    EXPECT_EQ(INI_Get("Vals", "Keep", saved, 1), "True");
    EXPECT_EQ(INI_Get("Vals", "Pick", saved, 1), "b");
    EXPECT_EQ(INI_Get("Vals", "Size", saved, 1), "12");

    // A combo box shown by the dialog builder reports "index|text".
    rows_.set(4, 0, std::string("-1|13"));
    values_.set(2, "0");
    XCTL_CtlValuesSave("Dlg", ini_, entries_, values_, rows_, numbers_, saved, "");
    EXPECT_EQ(INI_Get("Vals", "Size", saved, 1), "13");
    EXPECT_EQ(INI_Get("Vals", "Keep", saved, 1), "False");
}

TEST_F(ControlValuesTest, ListPositionsCountFromOneUnderSpecField15) {
    std::string entry = "ListBox";
    for (int field = 1; field <= 15; ++field) entry += "|~~|" + std::string(field == 15 ? "True" : "");
    entries_.set(3, entry);
    std::string valuesFile;
    XCTL_CtlValuesLoad("Dlg", ini_, entries_, values_, rows_, numbers_, valuesFile, "");
    EXPECT_EQ(ARR_Item2D(rows_, 3, 0), "2");  // "b" is item 2
    std::string saved = home_ / "saved.ini";
    XCTL_CtlValuesSave("Dlg", ini_, entries_, values_, rows_, numbers_, saved, "");
    EXPECT_EQ(INI_Get("Vals", "Pick", saved, 1), "b");
}

TEST_F(ControlValuesTest, ControlsWithoutAPointerKeepTheirValue) {
    const std::string ini = home_ / "partial.ini";
    testsupport::writeFile(ini, "[Dlg]\n12=Vals|Keep|3\n[Vals]\nName=abc\n");
    values_.set(1, "typed");
    std::string valuesFile;
    XCTL_CtlValuesLoad("Dlg", ini, entries_, values_, rows_, numbers_, valuesFile, "Other");
    EXPECT_EQ(values_[1], "typed");  // no pointer for 11
    EXPECT_EQ(values_[2], "0");      // mode 3: missing reads as "", which is False
}

TEST_F(ControlValuesTest, EntryTypeIndexAndDependentRenumbering) {
    EXPECT_EQ(XCTL_EntryType("_ComboBox|~~|1|2"), "ComboBox");
    EXPECT_EQ(XCTL_EntryType("Label"), "Label");
    EXPECT_EQ(XCTL_CtlIndex(13, numbers_), 2);
    EXPECT_EQ(XCTL_CtlIndex(99, numbers_), -1);
    EXPECT_EQ(XCTL_CtlIndex(1, core::IntArray()), -1);

    // The enabling field: spec field 22, after the type word and 21 fields.
    auto entryWith = [&](const std::string& field22) {
        std::string e = "TextBox";
        for (int i = 0; i < 21; ++i) e += "|~~|";
        return e + "|~~|" + field22;
    };
    core::StrArray entries;
    entries.redim(0, 3);
    entries.set(1, entryWith("-13"));
    entries.set(2, entryWith("77"));
    entries.set(3, entryWith("True"));
    XCTL_DependRenumber(entries, numbers_, 0);
    EXPECT_EQ(entries[1], entryWith("-3"));  // number 13 is the third control
    EXPECT_EQ(entries[2], entryWith(""));    // no control carries 77
    EXPECT_EQ(entries[3], entryWith("True"));
}

}  // namespace
