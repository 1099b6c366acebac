#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/control_arrays.h"
#include "dialogs/control_geometry.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/option_strings.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/twips.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/temp_home.h"

using dlg::twRect;
using dlgtest::BoxTest;
using dlgtest::spec;

namespace {

QWidget* controlOf(long entry) {
    const std::string map = gMBForm->entryMap[entry];
    return (*gMBForm->arrayOfKind(static_cast<int>(CHUNKS_GetNum(1, map))))[static_cast<int>(CHUNKS_GetNum(2, map))];
}

std::vector<QPushButton*> mainButtons(long first, long last) {
    std::vector<QPushButton*> out;
    for (long n = first; n <= last; ++n) out.push_back(static_cast<QPushButton*>(gMBForm->fButton[static_cast<int>(n)]));
    return out;
}

}  // namespace

TEST_F(BoxTest, ControlsStackBelowTheMessageInEntryOrder) {
    MB_AddControl("TextBox", "", "a", ctl, true);
    MB_AddControl("Line", "", "", ctl, false);  // takes no room
    MB_AddControl("TextBox", "", "b", ctl, false);
    MB_AddControl("TextBox", "", "c", ctl, false);
    MB_AddControl("Label", "", "first", ctl, false);
    MB_AddControl("JustAddHeight", spec({{2, "500"}}), "", ctl, false);
    MB_AddControl("Label", "", "second", ctl, false);
    show("Stack", "0", "", "", [](const core::DlgView&, core::DlgDriver& d) {
        EXPECT_EQ(gMBForm->entryMap[1], "0|0");
        EXPECT_EQ(gMBForm->entryMap[3], "0|3");
        EXPECT_EQ(gMBForm->entryMap[4], "0|4");
        EXPECT_DOUBLE_EQ(twRect(controlOf(3)).top(), twRect(controlOf(1)).bottom() + 60);
        EXPECT_DOUBLE_EQ(twRect(controlOf(4)).top(), twRect(controlOf(3)).bottom() + 60);
        EXPECT_DOUBLE_EQ(twRect(controlOf(1)).top(), twRect(gMBForm->fMsg).bottom() + 60);
        // The spacer adds its height and no gap of its own.
        EXPECT_DOUBLE_EQ(twRect(controlOf(7)).top(), twRect(controlOf(5)).bottom() + 500 + 60);
        // Full width: the form less the left margin and 240.
        EXPECT_DOUBLE_EQ(twRect(controlOf(1)).width(), gMBForm->Width() - 120 - 240);
        d.press(1);
    });
}

TEST_F(BoxTest, ButtonEntryMakesACentredRowAndTheLastFocusRequestWins) {
    std::array<long, 6> numbers{};
    MB_AddControl("TextBox", spec({{7, "True"}}), "", ctl, true);
    MB_AddButtonCtl(true, spec({{1, "100"}}), "&Up|&Down|&Left", ctl, false, false, numbers);
    MB_AddControl("CheckBox", spec({{1, "Last"}, {7, "True"}}), "0", ctl, false);
    const int r = show("Row", "1", MB_OptFixedWidth(6000), "", [](const core::DlgView& v, core::DlgDriver& d) {
        const auto row = mainButtons(1, 3);
        const double w = twRect(row[0]).width();
        const double start = core::roundHalfEven(((6000 - 120 - 240) - 3 * w - 2 * 100) / 2);
        EXPECT_DOUBLE_EQ(twRect(row[0]).left(), start);
        EXPECT_DOUBLE_EQ(twRect(row[1]).left(), start + w + 100);
        EXPECT_DOUBLE_EQ(twRect(row[2]).left(), start + 2 * (w + 100));
        EXPECT_EQ(gMBForm->entryMap[2], "12|3");
        EXPECT_EQ(gMBFocusCtl.data(), controlOf(3));
        EXPECT_EQ(v.buttons.at(3), "&OK");
        d.press("&Down");
    });
    EXPECT_EQ(r, 2);
}

// Typing a letter where a button has the focus presses that button, so a box that
// asks for text opens in its first entry unless a control or button is named.
TEST_F(BoxTest, FocusOpensInTheFirstTextEntryUnlessNamed) {
    struct Case {
        const char* name;
        const char* options;
        bool checkAsksFocus;
        const char* focused;  // "text", "check" or "button 2"
    } cases[] = {
        {"firstEntry", "", false, "text"},
        {"controlAsks", "", true, "check"},
        {"buttonNamed", "FocBut=2", false, "button 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        MB_AddControl("Label", "", "Name:", ctl, true);
        const long check = MB_AddControl("CheckBox", spec({{1, "Keep"}, {7, c.checkAsksFocus ? "True" : ""}}), "0", ctl, false);
        const long text = MB_AddControl("TextBox", "", "", ctl, false);
        show("Focus", "&OK|&Cancel", c.options, "", [&](const core::DlgView&, core::DlgDriver& d) {
            QWidget* expected = std::string(c.focused) == "text"    ? controlOf(text)
                                : std::string(c.focused) == "check" ? controlOf(check)
                                                                    : gMBForm->fButton[2];
            EXPECT_EQ(gMBForm->focusWidget(), expected);
            d.press("&OK");
        });
        TearDown();
    }
}

// A long problem text in a low box: the panel grows, and the box with it.
TEST_F(BoxTest, ProblemPanelShowsItsWholeTextAboveItsButton) {
    MB_AddControl("TextBox", "", "BLOG SITE", ctl, true);
    const std::string problem =
        "A site database named blog site already exists. Enter a different name. (Changes in upper/lower case "
        "are ignored. Leading and trailing blanks are ignored.)";
    show("Enter a name for the new site database.", "1", MB_OptNoHide(problem, 0, 0), "",
         [](const core::DlgView&, core::DlgDriver& d) {
             const QRectF client(0, 0, gMBForm->ScaleWidth(), gMBForm->ScaleHeight());
             const QRectF panel = twRect(gMBForm->fValiPic);
             const QRectF label = twRect(gMBForm->fValiLabel[0]), button = twRect(gMBForm->fValiButton);
             EXPECT_TRUE(client.contains(panel));
             EXPECT_GE(label.top(), 0);
             EXPECT_LE(label.bottom(), button.top());
             EXPECT_LE(button.bottom(), panel.height());
             d.closeBox();
             d.press("&OK");
         });
}

// The arrow keys go on from the chosen item, not from the top of the list.
TEST_F(BoxTest, AChosenListItemIsAlsoTheCurrentOne) {
    const long list = MB_AddListCtlStr("a|b|c", "", 2, "ListBox", "", ctl, true);
    show("List", "0", "", "", [&](const core::DlgView&, core::DlgDriver& d) {
        auto* l = static_cast<QListWidget*>(controlOf(list));
        EXPECT_EQ(l->currentRow(), 2);
        EXPECT_TRUE(l->item(2)->isSelected());
        d.press("&OK");
    });
}

// The grey state is the program's: a click only ticks and unticks.
TEST_F(BoxTest, ClickTogglesACheckBoxBetweenTickedAndUnticked) {
    struct Case {
        const char* start;
        int clicks;
        const char* expected;
    } cases[] = {{"0", 1, "1"}, {"0", 2, "0"}, {"1", 1, "0"}, {"2", 1, "1"}, {"2", 2, "0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " clicked " + std::to_string(c.clicks));
        SetUp();
        const long check = MB_AddControl("CheckBox", spec({{1, "Skip"}}), c.start, ctl, true);
        show("Click", "0", "", "", [&](const core::DlgView&, core::DlgDriver& d) {
            for (int i = 0; i < c.clicks; ++i) static_cast<QCheckBox*>(controlOf(check))->click();
            d.press("&OK");
        });
        EXPECT_EQ(ctl.values[check], c.expected);
        TearDown();
    }
}

TEST_F(BoxTest, LayoutErrorsReachTheCaller) {
    testsupport::TempHome home;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const std::string file = home / "button.png";
    ASSERT_TRUE(picture.save(QString::fromStdString(file)));
    struct Case {
        const char* name;
        std::function<void(MB_CtlEntry&)> add;
        std::string options;
        int error;
    } cases[] = {
        {"blank items left out without counting from 1",
         [](MB_CtlEntry& c) { MB_AddListCtlStr("a| |b", "", -1, "ListBox", spec({{16, "True"}}), c, true); }, "", 71717},
        {"image button as the Esc button",
         [&](MB_CtlEntry& c) {
             std::array<long, 6> n{};
             MB_AddButtonCtl(true, spec({{9, file}}), "Pic", c, true, false, n);
         },
         MB_OptEsc(1), 52532},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.add(ctl);
        try {
            show("m", "0", c.options, "", [](const core::DlgView&, core::DlgDriver& d) { d.press(1); });
            ADD_FAILURE() << "no error";
        } catch (const sys::RtError& e) {
            EXPECT_EQ(e.number(), c.error);
        }
    }
}

TEST_F(BoxTest, ControlsFollowTheirCheckBox) {
    const long check = MB_AddControl("CheckBox", spec({{1, "Use a proxy"}}), "1", ctl, true);
    const long onWhenTicked = MB_AddControl("TextBox", spec({{22, "1"}}), "", ctl, false);
    const long offWhenTicked = MB_AddControl("TextBox", spec({{22, "-1"}}), "", ctl, false);
    // A multi-line box is found by its own kind, not taken for a single-line one.
    const long notes = MB_AddControl("TextBox", spec({{10, "True"}, {22, "1"}}), "", ctl, false);
    const long never = MB_AddControl("TextBox", spec({{22, "False"}}), "", ctl, false);
    show("Rules", "0", "", "", [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_TRUE(v.ctls.at(onWhenTicked - 1).enabled);
        EXPECT_FALSE(v.ctls.at(offWhenTicked - 1).enabled);
        EXPECT_TRUE(v.ctls.at(notes - 1).enabled);
        EXPECT_FALSE(v.ctls.at(never - 1).enabled);
        d.setCheck(static_cast<int>(check), 0);
        EXPECT_FALSE(controlOf(onWhenTicked)->isEnabled());
        EXPECT_TRUE(controlOf(offWhenTicked)->isEnabled());
        EXPECT_FALSE(controlOf(notes)->isEnabled());
        EXPECT_THROW(d.setText(static_cast<int>(onWhenTicked), "typed"), core::UnexpectedDialog);
        d.press(1);
    });
}

TEST_F(BoxTest, ARowOfControlsSharesTheFirstControlsTop) {
    MB_AddControl("Label", "", "Name:", ctl, true);
    MB_AddControl("_TextBox", spec({{1, "2000"}}), "", ctl, false);
    MB_AddControl("_Label", "", "(as on the site)", ctl, false);
    MB_AddControl("TextBox", "", "", ctl, false);
    show("Row", "0", MB_OptFixedWidth(9000), "", [](const core::DlgView& v, core::DlgDriver& d) {
        const QRectF label = twRect(controlOf(1)), box = twRect(controlOf(2)), tail = twRect(controlOf(3));
        EXPECT_DOUBLE_EQ(box.top(), label.top());
        EXPECT_DOUBLE_EQ(tail.top(), label.top());
        EXPECT_DOUBLE_EQ(box.left(), label.right() + 60);
        EXPECT_DOUBLE_EQ(tail.left(), box.right() + 60);
        EXPECT_DOUBLE_EQ(tail.right(), 9000 - 240);
        // The next row starts below the tallest of the row.
        EXPECT_GE(twRect(controlOf(4)).top(), std::max({label.bottom(), box.bottom(), tail.bottom()}) + 60);
        EXPECT_EQ(v.ctls.at(1).labelBefore, "Name:");
        d.press(1);
    });
}

TEST_F(BoxTest, BoxWidthFollowsTextAndButtons) {
    double shortWidth = 0;
    show("Ten chars.", "0", "", "", [&](const core::DlgView&, core::DlgDriver& d) {
        shortWidth = gMBForm->Width();
        const double screen = 800 * 15;  // the offscreen screen
        EXPECT_LE(shortWidth, screen * 2 / 3);
        EXPECT_GE(shortWidth, twRect(gMBForm->fMsg).right());
        d.press(1);
    });
    // Twelve buttons, at most five a line: the box is as wide as five, in three lines.
    std::string twelve;
    for (int i = 1; i <= 12; ++i) twelve += (i > 1 ? "|" : "") + std::string("B") + std::to_string(i);
    show("Many", twelve, MB_OptMaxButtonsPerLine(5), "", [](const core::DlgView&, core::DlgDriver& d) {
        const auto b = mainButtons(1, 12);
        const double w = twRect(b[0]).width();
        const double frame = gMBForm->Width() - gMBForm->ScaleWidth();
        EXPECT_DOUBLE_EQ(gMBForm->Width(), 5 * (w + 120) - 120 + 2 * 120 + 120 + frame);
        // The rows are centred inside the frame.
        EXPECT_DOUBLE_EQ(twRect(b[0]).left(), gMBForm->ScaleWidth() - twRect(b[4]).right());
        EXPECT_DOUBLE_EQ(twRect(b[5]).top(), twRect(b[0]).bottom() + 120);
        EXPECT_DOUBLE_EQ(twRect(b[10]).top(), twRect(b[5]).bottom() + 120);
        EXPECT_DOUBLE_EQ(twRect(b[5]).left(), twRect(b[0]).left());
        d.press(12);
    });
    // An icon taller than a one-line message: the buttons start below the icon.
    show("Short", "0", "64", "", [](const core::DlgView&, core::DlgDriver& d) {
        EXPECT_GE(twRect(gMBForm->fButton[1]).top(), twRect(gMBForm->fIcon).bottom() + 240);
        EXPECT_GE(twRect(gMBForm->fMsg).left(), twRect(gMBForm->fIcon).right());
        d.press(1);
    });
}

TEST(DialogControlArrays, MemberChoiceAndLookup) {
    Msgbxform form;
    std::array<int, 15> owners{};
    core::StrArray map;
    int kind = 0;
    auto fields = [](const std::string& field10) {
        core::StrArray f;
        f.redim(0, 10);
        f.set(10, field10);
        return f;
    };
    MB_LoadComboCtl(&form, true, 2, fields(""), owners, map, kind);
    MB_LoadComboCtl(&form, true, 5, fields(""), owners, map, kind);
    EXPECT_EQ(map[2], "8|0");
    EXPECT_EQ(map[5], "8|5");
    EXPECT_EQ(gMBCurCtl.data(), form.fComboBox[5]);
    // The editable style has an array of its own, starting at member 0.
    MB_LoadComboCtl(&form, true, 6, fields("0"), owners, map, kind);
    EXPECT_EQ(kind, 7);
    EXPECT_EQ(map[6], "7|0");
    MB_LoadListCtl(&form, true, 7, fields("3"), owners, map, kind);
    EXPECT_EQ(kind, 11);
    MB_LoadListCtl(&form, true, 8, fields("2"), owners, map, kind);
    EXPECT_EQ(kind, 9);
    // Finding without creating: the owner is member 0, any other entry its own number.
    MB_LoadComboCtl(&form, false, 2, fields(""), owners, map, kind);
    EXPECT_EQ(gMBCurCtl.data(), form.fComboBox[0]);

    bool found = true;
    EXPECT_EQ(MB_CtlByType(&form, "Grid", 0, found), nullptr);
    EXPECT_FALSE(found);
    EXPECT_EQ(MB_CtlByType(&form, "_TextBox", 0, found), nullptr);
    EXPECT_FALSE(found);
    EXPECT_EQ(MB_CtlByType(&form, "ComboBox", 4, found), nullptr);
    EXPECT_FALSE(found);
    EXPECT_EQ(MB_CtlByType(&form, "ComboBox", 5, found), form.fComboBox[5]);
    EXPECT_TRUE(found);
}

TEST(DialogForm, TwoBoxesGetDifferentTags) {
    Msgbxform a, b;
    EXPECT_EQ(CHUNKS_Get(1, ui::tag(&a)), "MsgBxForm");
    EXPECT_NE(ui::tag(&a), ui::tag(&b));
}

TEST(DialogForm, FontsFromTheRememberedScreens) {
    testsupport::TempHome home;
    TXT_CrLfInit();
    const std::string saved = gMBIniFile;
    gMBIniFile = home / "screens.ini";
    {
        Msgbxform form;  // no entries: the design font stays
        EXPECT_DOUBLE_EQ(form.fMsg->font().pointSizeF(), 8);
    }
    INI_Put("MB formats", "MB all Fontname", std::string("Serif"), gMBIniFile);
    INI_Put("MB formats", "MB all Size", std::string("12"), gMBIniFile);
    INI_Put("MB formats", "MB all Bold", std::string("True"), gMBIniFile);
    Msgbxform form;
    EXPECT_DOUBLE_EQ(form.fMsg->font().pointSizeF(), 12);
    EXPECT_TRUE(form.fMsg->font().bold());
    // A control marked -FIXFONT- in Tag item 5 keeps its font.
    QWidget* fixed = form.fTextBox[0];
    fixed->setFont(QFont("Monospace", 9));
    ui::setTag(fixed, "||||-FIXFONT-");
    MB_FormLoadFonts(&form);
    EXPECT_DOUBLE_EQ(fixed->font().pointSizeF(), 9);
    EXPECT_DOUBLE_EQ(form.fCheck[0]->font().pointSizeF(), 12);
    gMBIniFile = saved;
}

TEST(DialogFonts, SpecSizesGrowWithALargeBaseFont) {
    struct Case {
        double base, specSize, expected;
    } cases[] = {{10, 8, 10}, {9, 8, 8}, {12, 12, 12}, {8, 0, 8}};
    QLabel label;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.base) + " / " + std::to_string(c.specSize));
        core::StrArray fields;
        fields.redim(0, 5);
        if (c.specSize > 0) fields.set(5, core::vbStr(c.specSize));
        MB_CtlFontApply(&label, fields, MB_FontRec{"Sans", c.base, false, false});
        EXPECT_DOUBLE_EQ(label.font().pointSizeF(), c.expected);
    }
}

// A box with a message, an icon, three text boxes and two rows of buttons, drawn
// offscreen to a picture for a look at the layout.
TEST_F(BoxTest, RendersATidyBox) {
    for (const char* name : {"Name:", "Folder:", "Log format:"}) {
        MB_AddControl(ctl.entries.ubound() < 1 ? "Label" : "Label", "", name, ctl, ctl.entries.ubound() < 1);
        MB_AddControl("_TextBox", spec({{1, "4000"}}), "", ctl, false);
    }
    const std::string message =
        "Enter the details of the new site.\rThe folder is made below the program folder; the log format "
        "can be changed later.";
    show(message, "&OK|&Cancel|&Help|&Defaults|&Test", "64|Controls under msg|" + MB_OptMaxButtonsPerLine(3), "- New Site",
         [](const core::DlgView&, core::DlgDriver& d) {
             const QRectF client(0, 0, gMBForm->ScaleWidth(), gMBForm->ScaleHeight());
             std::vector<QRectF> taken;
             for (QWidget* w : gMBForm->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                 if (w->isHidden()) continue;
                 const QRectF r = twRect(w);
                 EXPECT_TRUE(client.contains(r)) << w->objectName().toStdString();
                 for (const QRectF& other : taken) EXPECT_FALSE(other.intersects(r)) << w->objectName().toStdString();
                 taken.push_back(r);
             }
             gMBForm->show();
             const QImage image = gMBForm->grab().toImage();
             const QString path = QDir::current().absoluteFilePath("dialog_box.png");
             EXPECT_TRUE(image.save(path));
             d.press("&OK");
         });
}
