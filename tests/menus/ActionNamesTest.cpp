#include "menus/ActionNames.h"

#include "menus/Settings.h"
#include "shell/Input.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

// Each test starts from the default settings, without a pad (the harness).
TEST(ActionNames, EachActionShowsTheKeysThatDoItNow) {
    EXPECT_EQ(nameActions(" {Jump} jumps, {Left} {Right} walk "),
              " [4]/Space jumps, A/Left D/Right walk ");
    // Space bound to Lay Bomb is Lay Bomb's alone.
    userKeys[KeyLayBomb] = SDLK_SPACE;
    userKeys[KeyExplodeAll] = SDLK_RSHIFT;
    EXPECT_EQ(nameActions("{Jump}, {Lay Bomb} lays, hold {Explode All}"),
              "[4]/Up, Space lays, hold Right shift");
    EXPECT_EQ(nameActions("{Query Hint}{Query Hint}"), "QQ");
    userKeys[KeyJump] = SDLK_UP;
    userKeys[KeyRight] = SDLK_UNKNOWN;
    // Space is still Lay Bomb's; an unbound action shows its fixed key alone.
    EXPECT_EQ(nameActions("{Jump} {Right}"), "Up Right");
}

TEST(ActionNames, TextWithoutAnActionShowsAsWritten) {
    for (const std::string& text : {std::string(" Keypad 4 jumps "), std::string("{jump} {Fly}"),
                                   std::string("a { b } c"), std::string("{Jump"),
                                   std::string("}Jump{"), std::string("{"), std::string("")}) {
        EXPECT_EQ(nameActions(text), text);
    }
    // An unknown name in braces does not hide an action after it.
    EXPECT_EQ(nameActions("{Fly {Jump}}"), "{Fly [4]/Space}");
}

TEST(ActionNames, AnOpenPadAddsItsButton) {
    assumePadOpen(true);
    EXPECT_EQ(nameActions("{Lay Bomb}"), "E/Pad 1");
    EXPECT_EQ(nameActions("{Left}"), "A/Left");  // no button walks left
    padButtons[KeyLayBomb] = noPadButton;
    EXPECT_EQ(nameActions("{Lay Bomb}"), "E");
    assumePadOpen(false);
    padButtons[KeyLayBomb] = 1;
    EXPECT_EQ(nameActions("{Lay Bomb}"), "E");
}
