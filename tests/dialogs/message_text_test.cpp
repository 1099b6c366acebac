#include <gtest/gtest.h>

#include <string>

#include "dialogs/message_text.h"

TEST(MessageText, LongWordsAreBrokenEveryNinetyCharacters) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"empty", "", " "},
        {"short", "two words", "two words "},
        {"trailing blank", "end ", "end  "},
        {"95", std::string(95, 'a'), std::string(90, 'a') + " " + std::string(5, 'a') + " "},
        // The later pieces of one run are 89 long: the end of the run was found before
        // the inserted blanks shifted it.
        {"200", std::string(200, 'b'),
         std::string(90, 'b') + " " + std::string(89, 'b') + " " + std::string(21, 'b') + " "},
        {"run after a line break", "x\r" + std::string(91, 'c'), "x\r" + std::string(90, 'c') + " c "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MB_MsgTextBreak(c.text), c.expected);
    }
}

TEST(MessageText, CaptionsAndAccessKeys) {
    struct Case {
        std::string message, caption, shown;
        char key;
    } cases[] = {
        {"Save & exit", "Save && exit", "Save & exit", 0},
        {"#H160#Name", "&Name", "Name", 'n'},
        {"A && B #H160#go", "A &&&& B &go", "A && B go", 'g'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(dlg::messageCaption(c.message), c.caption);
        EXPECT_EQ(dlg::displayCaption(c.caption), c.shown);
        EXPECT_EQ(dlg::accessKey(c.caption), c.key);
    }
}
