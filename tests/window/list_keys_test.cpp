#include "window/list_keys.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

#include "core/ini_store.h"
#include "core/text.h"
#include "tests/support/temp_home.h"

namespace {

constexpr int kKeyB = 'B', kKeyF1 = 112, kKeyPlus = 107;

class ListKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TXT_CrLfInit();
        list.addItems({"apple", "banana", "Blueberry", "cherry", "bean"});
        list.setSelectionMode(QAbstractItemView::MultiSelection);
        list.item(0)->setSelected(true);
        list.item(3)->setSelected(true);
        list.setCurrentRow(3, QItemSelectionModel::NoUpdate);
    }

    std::vector<int> selectedRows() const
    {
        std::vector<int> rows;
        for (int i = 0; i < list.count(); ++i)
            if (list.item(i)->isSelected()) rows.push_back(i);
        return rows;
    }

    testsupport::TempHome home;
    std::string ini = home / "screens.ini";
    QListWidget list;
};

TEST_F(ListKeysTest, TypeAheadLeavesMaskedKeysToTheCallerAndMovesOtherwise)
{
    struct Case {
        const char* name;
        int key, shift;
        bool digits;
        bool result;
        int currentAfter;
    } cases[] = {
        {"the missing mask is 0: a plain letter is the caller's", kKeyB, 0, false, true, 3},
        {"Ctrl moves to the next B, wrapping", kKeyB, 2, false, false, 4},
        {"Alt does nothing", kKeyB, 4, false, false, 3},
        {"a function key is no letter", kKeyF1, 2, false, false, 3},
        {"a keypad key is no letter", kKeyPlus, 2, false, false, 3},
        {"a digit with the digits flag counts as masked", '1', 2, true, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list.setCurrentRow(3, QItemSelectionModel::NoUpdate);
        bool handled = false;
        EXPECT_EQ(CTLNOMB_ListTypeAhead(&list, c.key, c.shift, ini, handled, c.digits), c.result);
        EXPECT_EQ(handled, c.result);
        EXPECT_EQ(list.currentRow(), c.currentAfter);
        EXPECT_EQ(selectedRows(), (std::vector<int>{0, 3}));
        EXPECT_TRUE(list.updatesEnabled());
    }
    // With the mask at Ctrl, a plain letter moves and wraps past the end.
    INI_Put("Main", "SHIFT MASK REPOSition LB", 2L, ini);
    list.setCurrentRow(4, QItemSelectionModel::NoUpdate);
    bool handled = true;
    EXPECT_FALSE(CTLNOMB_ListTypeAhead(&list, kKeyB, 0, ini, handled, false));
    EXPECT_FALSE(handled);
    EXPECT_EQ(list.currentRow(), 1);
}

TEST_F(ListKeysTest, TypeAheadMovesACombo)
{
    QComboBox combo;
    combo.addItems({"one", "two", "three"});
    bool handled = false;
    EXPECT_FALSE(CTLNOMB_ListTypeAhead(&combo, 'T', 2, ini, handled, false));
    EXPECT_EQ(combo.currentIndex(), 1);
    CTLNOMB_ListTypeAhead(&combo, 'T', 2, ini, handled, false);
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST_F(ListKeysTest, SelectionRoundTripsIncludingNoCurrentItem)
{
    std::vector<std::string> record;
    CTLNOMB_ListSelSave(&list, record);
    EXPECT_EQ(record, (std::vector<std::string>{"cherry", "apple", "cherry"}));
    CTLNOMB_ListSelClear(&list);
    EXPECT_TRUE(selectedRows().empty());
    list.setCurrentRow(1, QItemSelectionModel::NoUpdate);
    CTLNOMB_ListSelRestore(&list, record);
    EXPECT_EQ(selectedRows(), (std::vector<int>{0, 3}));
    EXPECT_EQ(list.currentRow(), 3);

    list.setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    CTLNOMB_ListSelSave(&list, record);
    EXPECT_EQ(record[0], " -1 ");
    list.setCurrentRow(2, QItemSelectionModel::NoUpdate);
    CTLNOMB_ListSelRestore(&list, record);
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(selectedRows(), (std::vector<int>{0, 3}));

    bool request = false;
    list.setCurrentRow(0, QItemSelectionModel::NoUpdate);
    CTLNOMB_ListSelCurrent(&list, request);
    EXPECT_EQ(selectedRows(), (std::vector<int>{0, 3}));
    request = true;
    CTLNOMB_ListSelCurrent(&list, request);
    EXPECT_FALSE(request);
    EXPECT_EQ(selectedRows(), (std::vector<int>{0}));
}

TEST_F(ListKeysTest, ItemTextWholeOrPart)
{
    EXPECT_EQ(CTLNOMB_ListItemText(&list, 1, -1, 0), "banana");
    EXPECT_EQ(CTLNOMB_ListItemText(&list, 1, 2, 3), "ana");
    EXPECT_EQ(CTLNOMB_ListItemText(&list, 1, 7, 1), "banana");
    EXPECT_EQ(CTLNOMB_ListItemText(&list, 5, -1, 0), "");
}

TEST_F(ListKeysTest, FontsGoToTheIniStoreAndBack)
{
    QLabel source, target;
    QFont font = source.font();
    font.setPointSizeF(8.25);
    font.setBold(true);
    source.setFont(font);
    const QFont before = target.font();

    // Nothing stored yet: "g" changes nothing and writes nothing.
    CTLNOMB_FontIni("g", &target, "MB formats", "MB all ", ini);
    EXPECT_EQ(target.font(), before);
    EXPECT_FALSE(gIniNoWrite);

    CTLNOMB_FontIni("p", &source, "MB formats", "MB all ", ini);
    EXPECT_EQ(INI_Get("MB formats", "MB all Size", ini, 1), "8.25");
    CTLNOMB_FontIni("c", nullptr, "MB formats|Copy", "MB all ", ini);
    CTLNOMB_FontIni("g", &target, "Copy", "MB all ", ini);
    EXPECT_EQ(target.font().family(), font.family());
    EXPECT_EQ(target.font().pointSizeF(), 8.25);
    EXPECT_TRUE(target.font().bold());
    EXPECT_FALSE(target.font().italic());
}

TEST(ActiveControlType, NamesTheFocusedControlOrNotDefined)
{
    QWidget form;
    auto* list = new QListWidget(&form);
    list->addItems({"one", "two"});
    list->setCurrentRow(1);
    std::string value = "x", type;
    CTLNOMB_ActiveCtlType(&form, value, type);
    EXPECT_EQ(type, "Not defined");
    EXPECT_EQ(value, "");

    form.show();
    list->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(form.focusWidget(), list);
    CTLNOMB_ActiveCtlType(&form, value, type);
    EXPECT_EQ(type, "ListBox");
    EXPECT_EQ(value, "two");
}

}  // namespace
