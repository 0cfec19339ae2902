#include "shell/Input.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Frame.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int stickEngage = 9830;   // 30 % of full travel
constexpr int stickRelease = 6553;  // 20 %

SDL_Event axis(int value, int axisNumber = 0) {
    SDL_Event event = {};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.axis = static_cast<Uint8>(axisNumber);
    event.jaxis.value = static_cast<Sint16>(value);
    return event;
}

SDL_Event hat(Uint8 value) {
    SDL_Event event = {};
    event.type = SDL_JOYHATMOTION;
    event.jhat.value = value;
    return event;
}

SDL_Event button(int number, bool down) {
    SDL_Event event = {};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.button = static_cast<Uint8>(number);
    return event;
}

void pushKeyUp(int key) {
    SDL_Event event = {};
    event.type = SDL_KEYUP;
    event.key.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(key);
    SDL_PushEvent(&event);
}

bool keyHeld(int key) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    return key > 0 && key < count && keys[key] != 0;
}

// Every event pollInput hands out, and the key events the pad's stood for.
struct Polled {
    std::vector<SDL_Event> events;
    std::vector<SDL_Event> padKeys;
};

Polled pollAll() {
    Polled polled;
    SDL_Event event;
    while (pollInput(&event)) {
        polled.events.push_back(event);
        SDL_Event key;
        while (takePadKey(&key)) polled.padKeys.push_back(key);
    }
    return polled;
}

class PadTranslatorTest : public ::testing::Test {
protected:
    PadTranslator pad;
    int buttons[userKeyCount] = {0, noPadButton, noPadButton, 2, 1, 3};
};

TEST_F(PadTranslatorTest, StickEngagesPastThirtyPercentAndLetsGoUnderTwenty) {
    EXPECT_EQ(pad.translate(axis(stickEngage - 1), buttons).count, 0);
    EXPECT_FALSE(pad.holds(KeyRight));

    PadChanges changes = pad.translate(axis(stickEngage), buttons);
    ASSERT_EQ(changes.count, 1);
    EXPECT_EQ(changes.change[0].action, KeyRight);
    EXPECT_TRUE(changes.change[0].down);

    // Between the two edges the direction holds: no chatter at the rim.
    EXPECT_EQ(pad.translate(axis(stickRelease), buttons).count, 0);
    EXPECT_EQ(pad.translate(axis(stickEngage - 1), buttons).count, 0);
    EXPECT_TRUE(pad.holds(KeyRight));

    changes = pad.translate(axis(stickRelease - 1), buttons);
    ASSERT_EQ(changes.count, 1);
    EXPECT_EQ(changes.change[0].action, KeyRight);
    EXPECT_FALSE(changes.change[0].down);

    // The same to the left.
    EXPECT_EQ(pad.translate(axis(-stickEngage + 1), buttons).count, 0);
    EXPECT_EQ(pad.translate(axis(-stickEngage), buttons).count, 1);
    EXPECT_TRUE(pad.holds(KeyLeft));
    EXPECT_EQ(pad.translate(axis(-stickRelease), buttons).count, 0);
    EXPECT_TRUE(pad.holds(KeyLeft));
    EXPECT_EQ(pad.translate(axis(-stickRelease + 1), buttons).count, 1);
    EXPECT_FALSE(pad.holds(KeyLeft));
}

TEST_F(PadTranslatorTest, StickThrownAcrossSwitchesSidesAndOtherAxesDoNothing) {
    pad.translate(axis(-32768), buttons);
    const PadChanges changes = pad.translate(axis(32767), buttons);
    ASSERT_EQ(changes.count, 2);
    EXPECT_EQ(changes.change[0].action, KeyLeft);
    EXPECT_FALSE(changes.change[0].down);
    EXPECT_EQ(changes.change[1].action, KeyRight);
    EXPECT_TRUE(changes.change[1].down);
    // Inside the band on the other side the old direction does not hold on.
    pad.translate(axis(-stickRelease - 100), buttons);
    EXPECT_FALSE(pad.holds(KeyRight));
    EXPECT_FALSE(pad.holds(KeyLeft));

    EXPECT_EQ(pad.translate(axis(32767, 1), buttons).count, 0);
    EXPECT_EQ(pad.stickDirection(), 0);
}

TEST_F(PadTranslatorTest, HatAndStickBothSteerAndEitherKeepsTheDirection) {
    EXPECT_EQ(pad.translate(hat(SDL_HAT_LEFTUP), buttons).count, 1);
    EXPECT_TRUE(pad.holds(KeyLeft));
    pad.translate(axis(-32768), buttons);
    EXPECT_EQ(pad.translate(hat(SDL_HAT_CENTERED), buttons).count, 0);
    EXPECT_TRUE(pad.holds(KeyLeft));
    EXPECT_EQ(pad.translate(axis(0), buttons).count, 1);
    EXPECT_FALSE(pad.holds(KeyLeft));
    pad.translate(hat(SDL_HAT_RIGHTDOWN), buttons);
    EXPECT_TRUE(pad.holds(KeyRight));
}

TEST_F(PadTranslatorTest, ButtonsFollowTheBindings) {
    PadChanges changes = pad.translate(button(1, true), buttons);
    ASSERT_EQ(changes.count, 1);
    EXPECT_EQ(changes.change[0].action, KeyLayBomb);
    EXPECT_TRUE(changes.change[0].down);
    EXPECT_EQ(pad.translate(button(5, true), buttons).count, 0);  // unbound
    EXPECT_EQ(pad.translate(button(7, true), buttons).count, 0);

    // A button bound to Right walks like the stick.
    buttons[KeyRight] = 5;
    EXPECT_EQ(pad.translate(button(5, false), buttons).count, 0);
    EXPECT_EQ(pad.translate(button(5, true), buttons).count, 1);
    EXPECT_TRUE(pad.holds(KeyRight));

    changes = pad.translate(button(1, false), buttons);
    ASSERT_EQ(changes.count, 1);
    EXPECT_EQ(changes.change[0].action, KeyLayBomb);
    EXPECT_FALSE(changes.change[0].down);
}

class PadInputTest : public ::testing::Test {
protected:
    ScratchDir dir;
};

TEST_F(PadInputTest, PadHoldsItsActionsInTheKeyboardStateAndQueuesTheirKeys) {
    pushPadAxis(0, 32767);
    pushPadButton(3, true);  // Explode All
    Polled polled = pollAll();
    ASSERT_EQ(polled.events.size(), 2u);
    EXPECT_EQ(polled.events[0].type, SDL_JOYAXISMOTION);  // the pad's own events still pass
    EXPECT_TRUE(keyHeld(getUserKey(KeyRight)));
    EXPECT_TRUE(keyHeld(getUserKey(KeyExplodeAll)));
    ASSERT_EQ(polled.padKeys.size(), 2u);
    EXPECT_EQ(polled.padKeys[0].type, SDL_KEYDOWN);
    EXPECT_EQ(polled.padKeys[0].key.keysym.sym, getUserKey(KeyRight));
    EXPECT_EQ(polled.padKeys[1].key.keysym.sym, getUserKey(KeyExplodeAll));

    pushPadAxis(0, 0);
    pushPadButton(3, false);
    polled = pollAll();
    EXPECT_FALSE(keyHeld(getUserKey(KeyRight)));
    EXPECT_FALSE(keyHeld(getUserKey(KeyExplodeAll)));
    ASSERT_EQ(polled.padKeys.size(), 2u);
    EXPECT_EQ(polled.padKeys[0].type, SDL_KEYUP);
    EXPECT_EQ(polled.padKeys[1].type, SDL_KEYUP);
}

TEST_F(PadInputTest, KeyTheKeyboardHoldsStaysHeldWhenThePadLetsGo) {
    setKey(getUserKey(KeyLeft), true);
    pushPadHat(SDL_HAT_LEFT);
    pushPadHat(SDL_HAT_CENTERED);
    pollAll();
    EXPECT_TRUE(keyHeld(getUserKey(KeyLeft)));
}

TEST_F(PadInputTest, ReleaseClearsTheKeyThePadSetEvenAfterARebinding) {
    const int oldKey = getUserKey(KeyRight);
    pushPadAxis(0, 20000);
    pollAll();
    userKeys[KeyRight] = SDLK_l;
    pushPadAxis(0, 0);
    pollAll();
    EXPECT_FALSE(keyHeld(oldKey));
    EXPECT_FALSE(keyHeld(SDLK_l));
}

TEST_F(PadInputTest, KeysNobodyTookAreDroppedAtTheNextPoll) {
    pushPadButton(0, true);
    SDL_Event event;
    ASSERT_TRUE(pollInput(&event));
    EXPECT_FALSE(pollInput(&event));
    SDL_Event key;
    EXPECT_FALSE(takePadKey(&key));
}

using FixedKeysTest = PadInputTest;

TEST_F(FixedKeysTest, ArrowsWalkAndSpaceAndUpJumpBesideTheBindings) {
    pushKeyDown(SDLK_RIGHT);
    pushKeyDown(SDLK_SPACE);
    pushKeyDown(SDLK_UP);
    Polled polled = pollAll();
    ASSERT_EQ(polled.events.size(), 3u);
    EXPECT_EQ(polled.events[0].key.keysym.sym, SDLK_RIGHT);  // the key itself still passes
    EXPECT_TRUE(keyHeld(SDLK_d));
    EXPECT_TRUE(keyHeld(SDLK_KP4));
    // Each press of a jump key is a press of Jump.
    ASSERT_EQ(polled.padKeys.size(), 3u);
    EXPECT_EQ(polled.padKeys[0].key.keysym.sym, SDLK_d);
    EXPECT_EQ(polled.padKeys[1].key.keysym.sym, SDLK_KP4);
    EXPECT_EQ(polled.padKeys[2].key.keysym.sym, SDLK_KP4);
    EXPECT_EQ(polled.padKeys[2].type, SDL_KEYDOWN);

    // Jump stays down until the last of its keys lets go.
    pushKeyUp(SDLK_SPACE);
    polled = pollAll();
    EXPECT_TRUE(polled.padKeys.empty());
    EXPECT_TRUE(keyHeld(SDLK_KP4));
    pushKeyUp(SDLK_UP);
    pushKeyUp(SDLK_RIGHT);
    pushKeyDown(SDLK_LEFT);
    polled = pollAll();
    EXPECT_FALSE(keyHeld(SDLK_KP4));
    EXPECT_FALSE(keyHeld(SDLK_d));
    EXPECT_TRUE(keyHeld(SDLK_a));
    ASSERT_EQ(polled.padKeys.size(), 3u);
    EXPECT_EQ(polled.padKeys[0].type, SDL_KEYUP);
    EXPECT_EQ(polled.padKeys[1].type, SDL_KEYUP);
    EXPECT_EQ(polled.padKeys[2].key.keysym.sym, SDLK_a);
}

TEST_F(FixedKeysTest, AFixedKeyBoundToAnotherActionIsThatActionsAlone) {
    userKeys[KeyLayBomb] = SDLK_SPACE;
    userKeys[KeyJump] = SDLK_RIGHT;
    pushKeyDown(SDLK_SPACE);
    pushKeyDown(SDLK_RIGHT);
    pushKeyDown(SDLK_UP);  // still a jump key: unbound
    const Polled polled = pollAll();
    EXPECT_FALSE(keyHeld(SDLK_d));
    ASSERT_EQ(polled.padKeys.size(), 1u);
    EXPECT_EQ(polled.padKeys[0].key.keysym.sym, SDLK_RIGHT);  // Up presses the Jump key
    // Rebound while held, the key still lets go of what it held.
    userKeys[KeyLayBomb] = SDLK_e;
    userKeys[KeyJump] = SDLK_KP4;
    pushKeyDown(SDLK_LEFT);
    pollAll();
    userKeys[KeyJump] = SDLK_LEFT;
    pushKeyUp(SDLK_LEFT);
    pollAll();
    EXPECT_FALSE(keyHeld(SDLK_a));
}

TEST_F(FixedKeysTest, PadAndArrowsShareAnActionAndTheKeyboardKeyLetsGoOfNeither) {
    assumePadOpen(true);
    pushPadAxis(0, 32767);
    pushKeyDown(SDLK_RIGHT);
    pushPadAxis(0, 0);
    pollAll();
    EXPECT_TRUE(keyHeld(SDLK_d)) << "the arrow still holds Right";
    // The player's own d comes and goes while the arrow is held.
    setKey(SDLK_d, true);
    setKey(SDLK_d, false);
    pushKeyUp(SDLK_d);
    pollAll();
    EXPECT_TRUE(keyHeld(SDLK_d)) << "the arrow still holds Right";
    pushKeyUp(SDLK_RIGHT);
    pollAll();
    EXPECT_FALSE(keyHeld(SDLK_d));
}

class PadPlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A floor across the bottom row of a small level.
        std::string text = "10 4\n";
        for (int c = 0; c < 10; ++c) text += c == 2 ? "0 0 4 1\n" : "0 0 0 1\n";
        text += "Floor\n";
        dir.write("data/levels/floor.lvl", text);
        screen = SDL_GetVideoSurface();
        // The empty data/ tree makes the loaders complain; that is not under test.
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        level = new Level(1, screen);
        level->load("data/levels/floor.lvl");
        for (int i = 0; i < 5; ++i) level->step();
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
    }
    void TearDown() override { delete level; }

    ScratchDir dir;
    SDL_Surface* screen = nullptr;
    Level* level = nullptr;
};

TEST_F(PadPlayTest, PadButtonJumpsAndTheStickWalksThePlayer) {
    const Player& hero = level->getPlayer();
    ASSERT_TRUE(hero.isGrounded());
    pushPadButton(0, true);
    const LoopInput input = pollEvents(*level);
    EXPECT_FALSE(input.quit);
    EXPECT_FALSE(hero.isGrounded());
    EXPECT_LT(hero.getVy(), 0.0f);

    pushPadAxis(0, -32768);
    pollEvents(*level);
    level->step();
    EXPECT_LT(hero.getVx(), 0.0f);
}

TEST_F(PadPlayTest, SpaceJumpsAndTheRightArrowWalksThePlayer) {
    const Player& hero = level->getPlayer();
    ASSERT_TRUE(hero.isGrounded());
    pushKeyDown(SDLK_SPACE);
    pollEvents(*level);
    EXPECT_LT(hero.getVy(), 0.0f);
    pushKeyDown(SDLK_RIGHT);
    pollEvents(*level);
    level->step();
    EXPECT_GT(hero.getVx(), 0.0f);
}

TEST_F(PadPlayTest, PadNeverQuitsSkipsOrTogglesMusicEvenBoundToThoseKeys) {
    userKeys[KeyJump] = SDLK_ESCAPE;
    userKeys[KeyLayBomb] = SDLK_4;
    userKeys[KeyQueryHint] = SDLK_m;
    pushPadButton(0, true);
    pushPadButton(1, true);
    pushPadButton(2, true);
    const LoopInput input = pollEvents(*level);
    EXPECT_FALSE(input.quit);
    EXPECT_FALSE(input.skip);
    // The level still got the presses: Escape is the Jump key now.
    EXPECT_LT(level->getPlayer().getVy(), 0.0f);
}

}  // namespace
