#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "dialogs/control_geometry.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/message_text.h"
#include "dialogs/option_strings.h"
#include "platform/ui/forms.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/fake_user_interface.h"

using dlgtest::BoxTest;

namespace {

struct SetCase {
    const char* name;
    std::string buttons;
    std::vector<std::string> captions;
    int escOffset;  // 0: no Esc button
    bool isCancel;  // gMBCancelNo names the Esc button
};

const SetCase kSets[] = {
    {"ok", "0", {"&OK"}, 1, false},
    {"okCancel", "1", {"&OK", "&Cancel"}, 2, true},
    {"abortRetryIgnore", "2", {"&Abort", "&Retry", "&Ignore"}, 0, false},
    {"yesNoCancel", "3", {"&Yes", "&No", "&Cancel"}, 3, true},
    {"yesNo", "4", {"&Yes", "&No"}, 2, false},
    {"retryCancel", "5", {"&Retry", "&Cancel"}, 2, true},
};

}  // namespace

TEST_F(BoxTest, StandardSetsNumberButtonsAfterTheExtraOnesAndEscPressesTheCancelButton) {
    for (int extras : {0, 2}) {
        for (const SetCase& c : kSets) {
            SCOPED_TRACE(std::string(c.name) + " with " + std::to_string(extras) + " extra buttons");
            SetUp();
            std::array<long, 6> numbers{};
            if (extras) MB_AddButtonCtl(true, "", "A|B", ctl, true, false, numbers);
            std::vector<std::string> expected = extras ? std::vector<std::string>{"A", "B"} : std::vector<std::string>{};
            expected.insert(expected.end(), c.captions.begin(), c.captions.end());

            // The first button of the set is the one after the extra buttons.
            const int first = show("Pick", c.buttons, "", "Sets", [&](const core::DlgView& v, core::DlgDriver& d) {
                EXPECT_EQ(v.buttons, expected);
                d.press(c.captions[0]);
            });
            EXPECT_EQ(first, extras + 1);

            if (c.escOffset == 0) {
                // Neither Esc nor the close box can answer a box without a Cancel button.
                EXPECT_THROW(show("Pick", c.buttons, "", "Sets", [](const core::DlgView&, core::DlgDriver& d) {
                    d.key(27, 0);
                    d.closeBox();
                }), core::UnexpectedDialog);
                EXPECT_EQ(gMBCancelNo, -99);
                continue;
            }
            const int esc = show("Pick", c.buttons, "", "Sets", [](const core::DlgView&, core::DlgDriver& d) { d.key(27, 0); });
            EXPECT_EQ(esc, extras + c.escOffset);
            EXPECT_EQ(views.at(0).escButton, extras + c.escOffset);
            EXPECT_EQ(gMBCancelNo, c.isCancel ? extras + c.escOffset : -99);
            const int closed = show("Pick", c.buttons, "", "Sets", [](const core::DlgView&, core::DlgDriver& d) { d.closeBox(); });
            EXPECT_EQ(closed, esc);
            TearDown();
        }
    }
}

TEST_F(BoxTest, EscAndDefaultOptionsOverrideTheSet) {
    // "Esc=0" leaves no Cancel button and makes 0 the cancel number.
    EXPECT_THROW(show("x", "1", MB_OptEsc(0), "", [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.escButton, 0);
        d.closeBox();
    }), core::UnexpectedDialog);
    EXPECT_EQ(gMBCancelNo, 0);
    // A style item 256 then "DfltButton=1": the later item wins.
    const int r = show("x", "3", "256|" + MB_OptDfltButton(1), "", [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.dfltButton, 1);
        d.key(13, 0);
    });
    EXPECT_EQ(r, 1);
}

TEST_F(BoxTest, CaptionRules) {
    const std::string product = gProductName;
    struct Case {
        std::string product, caption, expected;
    } cases[] = {
        {"Dravolin", "- Select Report", "Dravolin - Select Report"},
        {"Dravolin", "Plain", "Plain"},
        {"Dravolin", "", "Dravolin"},
        {"", "", QCoreApplication::applicationName().toStdString()},
        {"Dravolin", "- Bot filters." + std::string(150, ' ') + "\r\rNB all of them", "Dravolin - Bot filters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption + " / " + c.product);
        gProductName = c.product;
        show("m", "0", "", c.caption, [&](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(v.caption, c.expected);
            EXPECT_FALSE(v.caption.empty());
            d.press(1);
        });
    }
    gProductName = product;
}

TEST_F(BoxTest, MessageShowsAmpersandsAndMarksTheAccessKey) {
    show("Save & exit, #H160#now", "0", "", "", [](const core::DlgView&, core::DlgDriver& d) {
        EXPECT_EQ(gMBForm->fMsg->text().toStdString(), "Save & exit, now");
        EXPECT_EQ(dlg::accessKey(dlg::captionOf(gMBForm->fMsg)), 'n');
        d.press(1);
    });
}

TEST_F(BoxTest, UnansweredBoxFailsWithItsCaptionAndMessage) {
    try {
        show("Nobody answers this", "0", "", "Lonely box", [](const core::DlgView&, core::DlgDriver&) {});
        FAIL() << "no error";
    } catch (const core::UnexpectedDialog& e) {
        EXPECT_NE(std::string(e.what()).find("Lonely box"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Nobody answers this"), std::string::npos);
    }
}

TEST_F(BoxTest, ResultRecordAndBoxUnloadedAfterwards) {
    state = "x|y|z|w|keep";
    const int r = show("m", "1", "", "", [](const core::DlgView&, core::DlgDriver& d) { d.press("&ok"); });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(CHUNKS_Get(1, state), "False");
    EXPECT_GT(TXT_Val(CHUNKS_Get(2, state)), 0);
    EXPECT_GT(TXT_Val(CHUNKS_Get(3, state)), 0);
    EXPECT_EQ(CHUNKS_Get(5, state), "keep");
    EXPECT_EQ(box, nullptr);
    for (QWidget* f : ui::loadedForms()) EXPECT_NE(CHUNKS_Get(1, ui::tag(f)), "MsgBxForm");
}

TEST_F(BoxTest, TooTallBoxIsRebuiltAtTheFullWorkAreaWidth) {
    // Wider than two thirds of the screen but short: the first build wraps and is too tall.
    ui::setWorkAreaProvider([] { return QRect(0, 0, 1200, 150); });
    std::string message;
    for (int i = 0; i < 300; ++i) message += "word" + std::to_string(i) + " ";
    show(message, "0", "", "", [](const core::DlgView&, core::DlgDriver& d) { d.press(1); });
    EXPECT_EQ(views.size(), 1u);  // the first build was never shown
    EXPECT_EQ(TXT_Val(CHUNKS_Get(2, state)), 1200 * 15);
}

TEST_F(BoxTest, NoHideKeepsTheBoxLoadedAndVisible) {
    const int r = show("m", "4", MB_OptNoHide("", 0, 0), "", [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_TRUE(v.noHide);
        d.press("&No");
    });
    EXPECT_EQ(r, 2);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(ui::isLoaded(box));
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(gMBForm, box);
    // Stray boxes are unloaded through the interface, as the error handler and the
    // shell ask for it.
    dlg::installMessageBoxes();
    core::ui().unloadStrayBoxes();
    core::setUserInterface(nullptr);
    EXPECT_FALSE(ui::isLoaded(box));
}

TEST_F(BoxTest, CloseBoxWhileTheValidationPanelIsUpActsAsItsOk) {
    const int r = show("m", "1", MB_OptNoHide("Fill in the name", 0, 0), "", [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.notice, "Fill in the name");
        EXPECT_FALSE(gMBForm->fValiPic->isHidden());
        d.closeBox();
        EXPECT_TRUE(gMBForm->fValiPic->isHidden());
        // The box's own buttons have their roles back: Enter presses the first.
        d.key(13, 0);
    });
    EXPECT_EQ(r, 1);
}

TEST_F(BoxTest, InfoBoxClosedByCtrlCCopiesTheMessage) {
    testsupport::FakeUserInterface fake;
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "", .expectMessage = "Report done", .sets = {}, .press = "",
                      .act = [](const core::DlgView&, core::DlgDriver& d) { d.key(67, 2); }});
    responder.press("Message text copied to clipboard.", "&OK");
    MB_Info("Report done", nullptr, false, "16");  // options without a closing "|"
    EXPECT_EQ(fake.clipboard, "Report done");
    EXPECT_EQ(responder.pending(), 0u);

    fake.clipboard.clear();
    responder.press("Report done", "&OK");
    MB_Info("Report done");
    EXPECT_EQ(fake.clipboard, "");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(BoxTest, InfoKeepsTheCallersIconWhenItsOptionsLackTheBar) {
    show("m", "0", "", "", [](const core::DlgView&, core::DlgDriver& d) { d.press(1); });
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "", .expectMessage = "", .sets = {}, .press = "",
                      .act = [](const core::DlgView&, core::DlgDriver& d) {
                          EXPECT_TRUE(gMBForm->fIcon->isVisibleTo(gMBForm));
                          EXPECT_NE(ui::tag(gMBForm->fOptions_IN).find("KeyHides|2|67"), std::string::npos);
                          d.key(27, 0);
                      }});
    MB_Info("Stopped", nullptr, false, "16");
}

TEST_F(BoxTest, SystemBoxGoesToTheResponder) {
    dlg::installMessageBoxes();
    testsupport::ScriptedResponder responder;
    responder.press("Really end?", "Cancel");
    EXPECT_FALSE(core::ui().systemOkCancel("Really end?", "Error"));
    EXPECT_EQ(responder.shown().at(0).kind, "SysMsg");
    // The OK-only system box has no Cancel to press; Esc is its OK.
    responder.press("Disk full", "Cancel");
    EXPECT_THROW(core::ui().systemOk("Disk full", ""), core::UnexpectedDialog);
    responder.expect({.expectMessage = "Disk full",
                      .act = [](const core::DlgView&, core::DlgDriver& d) { d.key(27, 0); }});
    core::ui().systemOk("Disk full", "");
    EXPECT_EQ(responder.shown().back().kind, "SysMsg");
    EXPECT_EQ(responder.shown().back().buttons, std::vector<std::string>{"OK"});
    responder.press("Saved", "&OK");
    core::ui().info("Saved", "");
    responder.press("Go on?", "&Yes");
    EXPECT_EQ(core::ui().msgBox("Go on?", "4", "", ""), 1);
    core::setUserInterface(nullptr);
}

// A message quoting a log line or a file name shows its "<" as it stands, never as
// markup: in the dialog builder's boxes and in the plain system box.
TEST_F(BoxTest, MessagesArePlainTextEvenWhenTheyLookLikeMarkup) {
    const std::string message = "Line: <b>GET</b> <img src=x> & more";
    show(message, "0", "", "", [&](const core::DlgView&, core::DlgDriver& d) {
        EXPECT_EQ(gMBForm->fMsg->textFormat(), Qt::PlainText);
        for (QLabel* label : gMBForm->findChildren<QLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
        d.press(1);
    });

    const auto system = dlg::plainMessageBox(QMessageBox::Information, "", message, QMessageBox::Ok, nullptr);
    EXPECT_EQ(system->textFormat(), Qt::PlainText);
    EXPECT_EQ(system->text().toStdString(), message);
}

// With no active window a box must still block the main window (or the box under it),
// or the menus stay usable and commands run inside the box.
TEST_F(BoxTest, WithNoActiveWindowABoxBelongsToTheBoxUnderItOrTheMainWindow) {
    QMainWindow main;
    main.show();
    QWidget* outer = nullptr;
    QWidget* outerParent = nullptr;
    QWidget* innerParent = nullptr;
    QTimer::singleShot(0, [&] {
        outer = gMBForm;
        outerParent = gMBForm->parentWidget();
        QApplication::setActiveWindow(nullptr);
        testsupport::ScriptedResponder responder;
        responder.expect({.press = "&OK", .act = [&](const core::DlgView&, core::DlgDriver&) {
                              innerParent = gMBForm->parentWidget();
                          }});
        MB_MsgBox("Inner", "1", "", "");
        QTest::mouseClick(static_cast<Msgbxform*>(outer)->fButton[1], Qt::LeftButton);
    });
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_EQ(MB_MsgBox("Outer", "1", "", ""), 1);
    EXPECT_EQ(outerParent, &main);
    EXPECT_NE(outer, nullptr);
    EXPECT_EQ(innerParent, outer);
}

// Real events: a modal box shown to the user, answered by the event loop.
TEST_F(BoxTest, TimerClicksAButtonOfAModalBox) {
    QTimer::singleShot(0, [] { QTest::mouseClick(gMBForm->fButton[2], Qt::LeftButton); });
    EXPECT_EQ(MB_MsgBox("Click me", "1", "", "Real"), 2);
}

TEST_F(BoxTest, KeyEventsReachTheFormsKeyHandling) {
    QTimer::singleShot(0, [] {
        QWidget* target = gMBForm->focusWidget() ? gMBForm->focusWidget() : gMBForm;
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
    });
    Msgbxform* form = nullptr;
    EXPECT_EQ(MB_Show("Press Ctrl+C", "1", MB_OptKeyHides(67, 2), "Real", ctl, state, form), -2);
    const std::string record = CHUNKS_Get(4, state);
    EXPECT_EQ(CHUNKS_Get(1, record) + "|" + CHUNKS_Get(2, record), "67|2");
    EXPECT_EQ(ctl.values[0], record);
}

TEST_F(BoxTest, KeypadDigitsCloseLikeTheMainKeyboardsAndTheRawCodeIsKept) {
    const int r = show("m", "0", MB_OptKeyHides(53, 0), "", [](const core::DlgView&, core::DlgDriver& d) {
        d.key(101, 0);  // keypad 5
        EXPECT_EQ(gMBForm->dLastKeyCode_B4IntrprtKeyPadKeys, 101);
    });
    EXPECT_EQ(r, -2);
    EXPECT_EQ(CHUNKS_Get(1, CHUNKS_Get(4, state)), "53");
}

// After the problem panel's OK (by Enter) the box's own default button takes Enter again.
TEST_F(BoxTest, EnterPressesTheDefaultButtonAgainAfterTheProblemPanel) {
    const long text = MB_AddControl("TextBox", dlgtest::spec({{7, "True"}}), "", ctl, true);
    QTimer::singleShot(0, [] {
        QApplication::setActiveWindow(gMBForm);
        QTest::keyClick(gMBForm->focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(gMBForm->fValiPic->isVisible());
        QTest::keyClicks(gMBForm->focusWidget(), "shop");
        QTest::keyClick(gMBForm->focusWidget(), Qt::Key_Return);
        if (!gMBForm->resultWritten()) QTest::mouseClick(gMBForm->fButton[2], Qt::LeftButton);  // Enter did nothing
    });
    Msgbxform* form = nullptr;
    EXPECT_EQ(MB_Show("Name", "1", MB_OptNoHide("Name is required.", 0, 0), "Real", ctl, state, form), 1);
    EXPECT_EQ(ctl.values[text], "shop");
}

// The modal show ends although the box is shown again at once.
TEST_F(BoxTest, NoHideBoxStaysOnScreenAfterARealClick) {
    QTimer::singleShot(0, [] { QTest::mouseClick(gMBForm->fButton[1], Qt::LeftButton); });
    Msgbxform* form = nullptr;
    EXPECT_EQ(MB_Show("Stay", "1", MB_OptNoHide("", 0, 0), "Real", ctl, state, form), 1);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
}

TEST_F(BoxTest, NoShowBoxIsBuiltButNeverOffered) {
    testsupport::ScriptedResponder responder;  // any box offered would fail the test
    Msgbxform* form = nullptr;
    EXPECT_EQ(MB_Show("Measure only", "1", "No show", "", ctl, state, form), 0);
    EXPECT_TRUE(responder.shown().empty());
    EXPECT_EQ(form, nullptr);
    EXPECT_GT(TXT_Val(CHUNKS_Get(2, state)), 0);
}

// A box built on the caller's own captions, with no Esc option, takes its way out for
// Esc and the close box, as the standard sets do; an explicit Esc option still wins.
TEST_F(BoxTest, OwnCaptionsGetTheirWayOutForEscAndTheCloseBox) {
    struct Case {
        const char* name;
        std::string buttons, options;
        int wayOut;  // 0: neither Esc nor the close box answers
    };
    const Case cases[] = {
        {"target box", "&OK|Com&plex Target|&Cancel", "", 3},
        {"first site box", "&OK|E&xit", "", 2},
        {"yes and no as text", "&Yes|&No", "", 2},
        {"explicit Esc wins", "&OK|&Retry|&Cancel", MB_OptEsc(2), 2},
        {"explicit none wins", "&OK|&Cancel", MB_OptEsc(0), 0},
        {"a list with no Cancel of its own", "&OK|Edi&t|Add", MB_OptEsc(-1), 1},
        {"no caption reads as a way out", "&Abort|&Retry|&Ignore", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto esc = [](const core::DlgView&, core::DlgDriver& d) { d.key(27, 0); };
        const auto close = [](const core::DlgView&, core::DlgDriver& d) { d.closeBox(); };
        if (c.wayOut == 0) {
            EXPECT_THROW(show("m", c.buttons, c.options, "", esc), core::UnexpectedDialog);
            EXPECT_THROW(show("m", c.buttons, c.options, "", close), core::UnexpectedDialog);
            continue;
        }
        EXPECT_EQ(show("m", c.buttons, c.options, "", esc), c.wayOut);
        EXPECT_EQ(views.at(0).escButton, c.wayOut);
        EXPECT_EQ(show("m", c.buttons, c.options, "", close), c.wayOut);
    }
}

// Real events on the two input boxes of the program's start and its targets: Esc, and
// closing the window (what Alt+F4 and the title bar's close button send), answer them
// with their Cancel.
TEST_F(BoxTest, EscAndClosingTheWindowCancelARealInputBox) {
    dlg::installMessageBoxes();
    struct Case {
        const char* name;
        std::string buttons, notice;
        bool byKey;
        int times;  // a problem shown in the box takes the first one
        int expected;
    };
    const Case cases[] = {
        {"target box, Esc", "&OK|Com&plex Target|&Cancel", "", true, 1, 3},
        {"target box, closed", "&OK|Com&plex Target|&Cancel", "", false, 1, 3},
        {"first site box, Esc", "&OK|E&xit", "", true, 1, 2},
        {"first site box, closed", "&OK|E&xit", "", false, 1, 2},
        {"first site box with its problem, Esc", "&OK|E&xit", "Name is required.", true, 2, 2},
        {"first site box with its problem, closed", "&OK|E&xit", "Name is required.", false, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTimer::singleShot(0, [&c] {
            QApplication::setActiveWindow(gMBForm);
            for (int n = 0; n < c.times; ++n) {
                if (c.byKey) QTest::keyClick(gMBForm->focusWidget() ? gMBForm->focusWidget() : gMBForm, Qt::Key_Escape);
                else gMBForm->close();
                EXPECT_EQ(gMBForm->resultWritten(), n == c.times - 1);
            }
            // A box left open would hang the test: its first button ends it.
            if (!gMBForm->resultWritten()) QTest::mouseClick(gMBForm->fButton[1], Qt::LeftButton);
        });
        std::string value = "typed";
        EXPECT_EQ(core::ui().inputBox("Enter a name.", c.buttons, "Real", c.notice, value), c.expected);
        MB_UnloadStray("");
    }
    core::setUserInterface(nullptr);
}

// Line breaks after a message's last line take no room: the box is as tall as what it
// holds.
TEST_F(BoxTest, LineBreaksAfterTheMessageLeaveNoEmptyRoom) {
    double height[2] = {0, 0}, gap[2] = {0, 0};
    for (int trailing : {0, 1}) {
        SetUp();
        MB_AddControl("TextBox", dlgtest::spec({{1, "10000"}, {7, "True"}}), "", ctl, true);
        const std::string message = "Enter your name." + std::string(trailing ? "\r\r\r\r\r\r\r\r\r\r" : "");
        show(message, "&OK|E&xit", "", "", [&](const core::DlgView&, core::DlgDriver& d) {
            height[trailing] = gMBForm->Height();
            gap[trailing] = dlg::twRect(gMBForm->fTextBox[0]).top() - dlg::twRect(gMBForm->fMsg).top();
            d.press(1);
        });
        TearDown();
    }
    EXPECT_DOUBLE_EQ(height[1], height[0]);
    EXPECT_DOUBLE_EQ(gap[1], gap[0]);
}
