#include "window/form_ops.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

#include "platform/ui/colours.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/twips.h"
#include "window/placement.h"
#include "window_fixture.h"

namespace {

class FormOpsTest : public WindowTest {};

TEST_F(FormOpsTest, ListIndexIsClampedToTheList) {
    QListWidget list;
    list.addItems({"a", "b", "c", "d", "e"});
    const std::pair<long, int> cases[] = {{7, 4}, {2, 2}, {0, 0}, {-3, -1}};
    for (const auto& [index, row] : cases) {
        SCOPED_TRACE(index);
        CTLSIMPLE_ListIndexSet(&list, index);
        EXPECT_EQ(list.currentRow(), row);
    }
}

TEST_F(FormOpsTest, FindFormMatchesTheFirstTagItemExactly) {
    ui::Form a, b, c, d;
    ui::setTag(&a, "MsgBxForm|7");
    ui::setTag(&b, "MsgBxFormX|7");
    ui::setTag(&c, "msgbxform");
    ui::setTag(&d, "MsgBxForm");
    std::vector<QWidget*> found;
    FRMS_FindForm("MsgBxForm", found);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], nullptr);
    EXPECT_EQ(found[1], &a);
    EXPECT_EQ(found[2], &d);

    EXPECT_EQ(FRMS_FindFormDefault("MsgBxForm"), found);
    FRMS_FindForm("Nothing", found);
    EXPECT_EQ(found, FRMS_Forms{nullptr});
}

TEST_F(FormOpsTest, AnUnloadedFormIsDeadBeforeItIsDeleted) {
    auto* form = new ui::Form;
    ui::setTag(form, "Ifrm|1");
    QPointer<ui::Form> ref(form);
    EXPECT_TRUE(FRMSND_FormIsAlive(ref));
    EXPECT_EQ(FRMS_FormTag(ref), "Ifrm|1");
    ui::unloadForm(form);
    ASSERT_FALSE(ref.isNull());
    EXPECT_FALSE(FRMSND_FormIsAlive(ref));
    EXPECT_EQ(FRMS_FormTag(ref), "");
    EXPECT_DOUBLE_EQ(FRMS_TextWidth(ref, "abc"), ACTIVAT_WorkAreaWidth(kUnitsTwips));
}

TEST_F(FormOpsTest, ObjIsSetTellsWhetherAnArrayMemberCanBeFetched) {
    QWidget form;
    ui::ControlArray labels(&form, "fLabel", "Label", [](QWidget* p) { return new QLabel(p); });
    QPointer<QObject> out;
    EXPECT_TRUE(FRMSND_ObjIsSet([&] { return labels[0]; }, out));
    EXPECT_EQ(out, labels[0]);
    EXPECT_FALSE(FRMSND_ObjIsSet([&] { return labels[1]; }, out));
    EXPECT_FALSE(FRMSND_ObjIsSet([] { return nullptr; }, out));
}

TEST_F(FormOpsTest, TypeNameGivesTheValueProperty) {
    QWidget form;
    auto* check = new QCheckBox("Keep", &form);
    auto* list = new QListWidget(&form);
    list->addItems({"one", "two"});
    list->setCurrentRow(1);
    auto* memo = new QTextEdit(&form);
    memo->setPlainText("a\nb");
    ui::setVbType(memo, "TextBox");
    auto* files = new QListWidget(&form);
    ui::setVbType(files, "FileListBox");
    files->addItem("x.log");
    files->setCurrentRow(0);
    struct Case {
        const QObject* control;
        const char* type;
        const char* value;
    };
    const Case cases[] = {
        {check, "CheckBox", "Keep"},
        {list, "ListBox", "two"},
        {memo, "TextBox", "a\r\nb"},
        {files, "FileListBox", "x.log"},
        {&form, "Unrecognised.", ""},
        {nullptr, "Unrecognised.", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        std::string value = "stale", type;
        CTLSIMPLE_TypeName(c.control, value, type);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(value, c.value);
    }
}

TEST_F(FormOpsTest, RecolourByTypeAndGreyingOnlyWhenDisabling) {
    ui::Form form;
    auto* edit = new QLineEdit(&form);
    auto* label = new QLabel("x", &form);
    auto* button = new QPushButton("b", &form);
    for (QWidget* w : std::initializer_list<QWidget*>{edit, label}) {
        ui::setForeColor(w, ui::kSysWindowText);
        ui::setBackColor(w, 0xC0C0C0);
    }
    FRMS_Recolour(&form, {0xFF, 0xC0C0C0}, {0xFF00, ui::kSysWindowText}, "TextBox", false);
    EXPECT_EQ(ui::backColor(edit), 0xFF);
    EXPECT_EQ(ui::foreColor(edit), 0xFF00);
    EXPECT_EQ(ui::backColor(label), 0xC0C0C0);  // not a text box
    EXPECT_EQ(ui::backColor(&form), ui::kSysButtonFace);  // form colour not asked for

    FRMS_EnableAll(&form, true, false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(label->isEnabled());  // labels are not input controls
    EXPECT_EQ(ui::foreColor(label), 0xC0C0C0);  // silver on dark grey
    EXPECT_EQ(ui::backColor(label), 0x808080);
    EXPECT_EQ(ui::backColor(&form), 0x808080);

    ui::setBackColor(label, 0xC0C0C0);
    FRMS_EnableAll(&form, true, true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(ui::backColor(label), 0xC0C0C0);  // no greying when enabling
}

TEST_F(FormOpsTest, BackAndForeColourOfTheWholeForm) {
    ui::Form form;
    auto* label = new QLabel("x", &form);
    auto* button = new QPushButton("b", &form);
    FRMS_BackColorAll(&form, 0x123456);
    FRMS_ForeColorAll(&form, 0x654321);
    EXPECT_EQ(ui::backColor(&form), 0x123456);
    EXPECT_EQ(ui::backColor(button), 0x123456);
    EXPECT_EQ(ui::foreColor(label), 0x654321);
    EXPECT_EQ(ui::foreColor(button), ui::kSysButtonText);  // no ForeColor on a button
}

TEST_F(FormOpsTest, TextWidthIsTheWidestLine) {
    ui::Form form;
    const double wide = FRMS_TextWidth(&form, "abcdefgh");
    EXPECT_GT(wide, FRMS_TextWidth(&form, "ab"));
    EXPECT_DOUBLE_EQ(FRMS_TextWidth(&form, "ab\rabcdefgh\r\nabc"), wide);
}

}  // namespace

#include <QApplication>

#include "core/progress.h"
#include "window/services.h"

namespace {

TEST(ServicesTest, TheErrorHandlerSeesTheActiveControlsTypeAndValue) {
    window::installServices();
    ui::Form form;
    auto* edit = new QLineEdit("typed", &form);
    form.show();
    QApplication::setActiveWindow(&form);
    edit->setFocus();
    EXPECT_EQ(core::ui().activeControlName(), "TextBox");
    EXPECT_EQ(core::ui().activeControlValue(), "typed");
    auto* unknown = new QWidget(&form);
    unknown->setFocusPolicy(Qt::StrongFocus);
    unknown->show();
    unknown->setFocus();
    EXPECT_EQ(core::ui().activeControlName(), "Unrecognised.");
    core::setUserInterface(nullptr);
    core::setProgressReports(nullptr);
}

}  // namespace
