#include "menus/ControlsMenu.h"

#include "media/Text.h"
#include "menus/Button.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Input.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const SDL_Color white = {255, 255, 255, 0};
const SDL_Color grey = {128, 128, 128, 0};

// Middle of the button for one binding.
int rowY(int userKey) { return 1 + 40 * userKey + 12; }

SDL_Event keyDown(SDLKey key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    return event;
}

// Queues x (the new binding) and z (leave) together, so the menu cannot see
// one without the other.
Uint32 pressKeysLater(Uint32, void*) {
    SDL_Event keys[2] = {keyDown(SDLK_x), keyDown(SDLK_z)};
    SDL_PeepEvents(keys, 2, SDL_ADDEVENT, 0);
    return 0;  // once
}

bool queueIsEmpty() {
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) == 0;
}

std::string trace(const std::string& name, const std::string& blank) {
    return "char* is " + name + "!\ni is " + blank + "string is " + name + "!\n";
}

class ControlsMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.useShipped("fonts");
        useManualClock();
        screen = SDL_GetVideoSurface();
        font = TTF_OpenFont("data/fonts/VeraMono.ttf", 20);
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override {
        if (font) TTF_CloseFont(font);
    }

    // Runs the menu with its stderr trace captured.
    int run(std::string* traced = nullptr) {
        testing::internal::CaptureStderr();
        const int result = runControlsMenu(screen);
        const std::string text = testing::internal::GetCapturedStderr();
        if (traced) *traced = text;
        return result;
    }

    // The screen at the binding's row shows a grey button reading caption.
    void expectShown(int userKey, const std::string& caption) {
        const controlbutton expected(20, 1 + 40 * userKey, 100, 25,
                                     SDL_MapRGB(SDL_GetVideoInfo()->vfmt, 128, 128, 128),
                                     white, font, caption);
        int differing = 0;
        for (int py = 0; py < 25; ++py) {
            for (int px = 0; px < 100; ++px) {
                const SDL_Color want = pixelAt(expected.getSurface(), px, py);
                const SDL_Color seen = pixelAt(screen, 20 + px, expected.getRect().y + py);
                if (want.r != seen.r || want.g != seen.g || want.b != seen.b) ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << "row " << userKey << " does not read \"" << caption << "\"";
    }

    ScratchDir dir;
    SDL_Surface* screen = nullptr;
    TTF_Font* font = nullptr;
};

TEST_F(ControlsMenuTest, ClickThenKeyRebindsThatActionOnly) {
    pushMouseDown(50, rowY(KeyRight));
    pushKeyDown(SDLK_x);
    pushKeyDown(SDLK_z);  // leaves
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(getUserKey(KeyRight), SDLK_x);
    for (int i = 0; i < userKeyCount; ++i) {
        if (i != KeyRight) {
            EXPECT_EQ(userKeys[i], defaultUserKeys[i]) << "binding " << i;
        }
    }
    expectShown(KeyRight, "x");
    expectShown(KeyJump, "[4]");
    EXPECT_TRUE(queueIsEmpty());
}

TEST_F(ControlsMenuTest, EscapeWhileWaitingBindsEscape) {
    pushMouseDown(20, 1);
    pushKeyDown(SDLK_ESCAPE);
    pushQuit();
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(userKeys[KeyJump], SDLK_ESCAPE);
}

TEST_F(ControlsMenuTest, WindowCloseIsIgnoredWhileWaitingAndEndsBrowsing) {
    pushMouseDown(119, 161 + 24);
    pushQuit();
    pushKeyDown(SDLK_k);
    pushKeyDown(SDLK_z);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(userKeys[KeyLayBomb], SDLK_k);
    EXPECT_TRUE(queueIsEmpty());

    pushQuit();
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(userKeys[KeyLayBomb], SDLK_k);
    EXPECT_EQ(userKeys[KeyJump], defaultUserKeys[KeyJump]);
}

TEST_F(ControlsMenuTest, WheelStepStartsARebindingAndGapsDoNot) {
    pushMouseDown(50, 1 + 40 * KeyLeft - 1);  // the gap above Left
    pushMouseDown(120, rowY(KeyLeft));        // just right of it
    pushMouseDown(50, rowY(KeyExplodeAll), SDL_BUTTON_WHEELDOWN);
    pushKeyDown(SDLK_w);
    pushKeyDown(SDLK_z);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(userKeys[KeyExplodeAll], SDLK_w);
    for (int i = 0; i < KeyExplodeAll; ++i) EXPECT_EQ(userKeys[i], defaultUserKeys[i]);
}

TEST_F(ControlsMenuTest, TracesEveryBindingOnEntry) {
    std::string traced;
    pushKeyDown(SDLK_z);
    run(&traced);
    const std::string none = std::to_string(std::string::npos);
    EXPECT_EQ(traced, trace("[4]", none) + trace("a", none) + trace("d", none) +
                          trace("q", none) + trace("e", none) + trace("s", none));
}

TEST_F(ControlsMenuTest, LongKeyNameShowsCentredAndCut) {
    pushMouseDown(50, rowY(KeyLeft));
    pushKeyDown(SDLK_RSHIFT);
    pushKeyDown(SDLK_z);
    run();
    EXPECT_EQ(userKeys[KeyLeft], SDLK_RSHIFT);
    expectShown(KeyLeft, "right shift");

    std::string traced;
    pushKeyDown(SDLK_z);
    run(&traced);
    EXPECT_NE(traced.find(trace("right shift", "5")), std::string::npos) << traced;
}

TEST_F(ControlsMenuTest, CaptionsStandBesideTheButtonsOnBlack) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 0, 0));
    pushKeyDown(SDLK_z);
    run();
    const SDL_Color far = pixelAt(screen, 400, 400);
    EXPECT_EQ(far.r + far.g + far.b, 0);
    for (int i = 0; i < userKeyCount; ++i) {
        int inked = 0;
        for (int y = 1 + 40 * i; y < 26 + 40 * i; ++y) {
            for (int x = 120; x < 220; ++x) {
                const SDL_Color seen = pixelAt(screen, x, y);
                if (seen.r > 40 && seen.r == seen.g && seen.g == seen.b) ++inked;
            }
        }
        EXPECT_GT(inked, 10) << "no caption beside row " << i;
    }
}

TEST_F(ControlsMenuTest, WaitForAKeySleepsWhileNothingIsPending) {
    pushMouseDown(50, rowY(KeyQueryHint));
    SDL_TimerID timer = SDL_AddTimer(80, pressKeysLater, nullptr);
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(userKeys[KeyQueryHint], SDLK_x);
    EXPECT_GE(clockTicks(), 100u);
    EXPECT_EQ(clockTicks() % 100, 0u);
}

TEST_F(ControlsMenuTest, PadButtonBindsTheClickedActionAndIsSavedOnLeaving) {
    pushMouseDown(50, rowY(KeyLeft));
    pushPadButton(5, true);
    pushPadButton(6, true);  // while browsing: leaves, as a key does
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(queueIsEmpty());
    EXPECT_EQ(padButtons[KeyLeft], 5);
    for (int i = 0; i < userKeyCount; ++i) {
        EXPECT_EQ(userKeys[i], defaultUserKeys[i]) << "binding " << i;
        if (i != KeyLeft) {
            EXPECT_EQ(padButtons[i], defaultPadButtons[i]) << "pad binding " << i;
        }
    }
    expectShown(KeyLeft, "a");

    padButtons[KeyLeft] = noPadButton;
    ASSERT_EQ(readWindowAndPad(), WindowAndPadRead::Read);
    EXPECT_EQ(padButtons[KeyLeft], 5);
}

TEST_F(ControlsMenuTest, APadButtonGivenToOneActionIsTakenFromTheOther) {
    assumePadOpen(true);
    pushMouseDown(50, rowY(KeyJump));
    pushPadButton(defaultPadButtons[KeyLayBomb], true);
    pushKeyDown(SDLK_z);
    run();
    EXPECT_EQ(padButtons[KeyJump], defaultPadButtons[KeyLayBomb]);
    EXPECT_EQ(padButtons[KeyLayBomb], noPadButton);
    EXPECT_EQ(padButtons[KeyQueryHint], defaultPadButtons[KeyQueryHint]);
    // The Lay Bomb row shows no pad button in the very frame that closed the menu.
    int inked = 0;
    for (int y = rowY(KeyLayBomb) - 12; y < rowY(KeyLayBomb) + 13; ++y) {
        for (int x = 220; x < 320; ++x) {
            if (pixelAt(screen, x, y).r > 0) ++inked;
        }
    }
    EXPECT_EQ(inked, 0);
    padButtons[KeyLayBomb] = 9;
    ASSERT_EQ(readWindowAndPad(), WindowAndPadRead::Read);
    EXPECT_EQ(padButtons[KeyLayBomb], noPadButton);
}

TEST_F(ControlsMenuTest, WithoutPadChangesNoPadFileIsWritten) {
    pushMouseDown(50, rowY(KeyLeft));
    pushKeyDown(SDLK_x);
    pushKeyDown(SDLK_z);
    run();
    EXPECT_FALSE(dir.exists(windowAndPadPath));
}

TEST_F(ControlsMenuTest, PadBindingsShowBesideTheCaptionsOnlyWhenAPadIsOpen) {
    // Ink right of the captions, per row.
    const auto inkedRows = [this] {
        std::vector<int> rows(userKeyCount, 0);
        for (int i = 0; i < userKeyCount; ++i) {
            for (int y = 1 + 40 * i; y < 26 + 40 * i; ++y) {
                for (int x = 220; x < 320; ++x) {
                    if (pixelAt(screen, x, y).r > 0) ++rows[i];
                }
            }
        }
        return rows;
    };
    pushKeyDown(SDLK_z);
    run();
    for (int inked : inkedRows()) EXPECT_EQ(inked, 0);

    assumePadOpen(true);
    padButtons[KeyExplodeAll] = 12;
    pushKeyDown(SDLK_z);
    run();
    const std::vector<int> rows = inkedRows();
    EXPECT_EQ(rows[KeyLeft], 0);
    EXPECT_EQ(rows[KeyRight], 0);
    EXPECT_GT(rows[KeyJump], 10);
    EXPECT_GT(rows[KeyLayBomb], 10);

    // Exactly the words "Pad 12", as the captions are drawn.
    SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, 100, 25, 32, screen->format->Rmask,
                                                 screen->format->Gmask, screen->format->Bmask, 0);
    ASSERT_NE(expected, nullptr);
    SDL_FillRect(expected, nullptr, 0);
    drawText(0, 0, "Pad 12", expected, &grey, 100, 25);
    int differing = 0;
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 100; ++x) {
            const SDL_Color want = pixelAt(expected, x, y);
            const SDL_Color seen = pixelAt(screen, 220 + x, 1 + 40 * KeyExplodeAll + y);
            if (want.r != seen.r || want.g != seen.g || want.b != seen.b) ++differing;
        }
    }
    SDL_FreeSurface(expected);
    EXPECT_EQ(differing, 0);
}

TEST(ControlsMenuWithoutFont, StillRebinds) {
    ScratchDir dir;  // no font in it
    useManualClock();
    pushMouseDown(50, rowY(KeyJump));
    pushKeyDown(SDLK_UP);
    pushKeyDown(SDLK_z);
    testing::internal::CaptureStderr();
    EXPECT_EQ(runControlsMenu(SDL_GetVideoSurface()), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(userKeys[KeyJump], SDLK_UP);
    EXPECT_EQ(pixelAt(SDL_GetVideoSurface(), 21, 2).r, 128);  // the grey button face
}

}  // namespace
