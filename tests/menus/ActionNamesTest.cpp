#include "menus/ActionNames.h"

#include "menus/Settings.h"
#include "shell/Input.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

// Each test starts from the default settings, without a pad (the harness).
TEST(ActionNames, EachActionShowsTheKeyBoundNow) {
    EXPECT_EQ(nameActions(" {Jump} jumps, {Left} {Right} walk "), " [4] jumps, a d walk ");
    userKeys[KeyLayBomb] = SDLK_SPACE;
    userKeys[KeyExplodeAll] = SDLK_RSHIFT;
    EXPECT_EQ(nameActions("{Lay Bomb} lays, hold {Explode All}"), "space lays, hold right shift");
    EXPECT_EQ(nameActions("{Query Hint}{Query Hint}"), "qq");
}

TEST(ActionNames, TextWithoutAnActionShowsAsWritten) {
    for (const std::string& text : {std::string(" Keypad 4 jumps "), std::string("{jump} {Fly}"),
                                   std::string("a { b } c"), std::string("{Jump"),
                                   std::string("}Jump{"), std::string("{"), std::string("")}) {
        EXPECT_EQ(nameActions(text), text);
    }
    // An unknown name in braces does not hide an action after it.
    EXPECT_EQ(nameActions("{Fly {Jump}}"), "{Fly [4]}");
}

TEST(ActionNames, AnOpenPadAddsItsButton) {
    assumePadOpen(true);
    EXPECT_EQ(nameActions("{Lay Bomb}"), "e or Pad 1");
    EXPECT_EQ(nameActions("{Left}"), "a");  // no button walks left
    padButtons[KeyLayBomb] = noPadButton;
    EXPECT_EQ(nameActions("{Lay Bomb}"), "e");
    assumePadOpen(false);
    padButtons[KeyLayBomb] = 1;
    EXPECT_EQ(nameActions("{Lay Bomb}"), "e");
}
