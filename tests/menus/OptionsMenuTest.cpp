#include "menus/OptionsMenu.h"

#include "menus/Button.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "tests/support/TestSupport.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace {

const SDL_Color black = {0, 0, 0, 0};

struct Click {
    int x, y;
};

Uint32 pressKeyLater(Uint32, void*) {
    pushKeyDown(SDLK_SPACE);
    return 0;  // once
}

// A second of 8-bit mono silence at 11025 Hz as a WAV file: enough of a music track.
std::string silentWav() {
    std::string wav;
    auto put = [&wav](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wav += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const std::uint32_t samples = 11025;
    wav += "RIFF";
    put(36 + samples, 4);
    wav += "WAVEfmt ";
    put(16, 4);                    // format block size
    put(1, 2), put(1, 2);          // PCM, one channel
    put(11025, 4), put(11025, 4);  // samples and bytes per second
    put(1, 2), put(8, 2);          // bytes per sample, bits per sample
    wav += "data";
    put(samples, 4);
    return wav + std::string(samples, static_cast<char>(128));
}

class OptionsMenuTest : public ::testing::Test {
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

    int visit(std::initializer_list<Click> clicks) {
        for (const Click& click : clicks) pushMouseDown(click.x, click.y);
        pushKeyDown(SDLK_SPACE);
        return runOptionsMenu(screen);
    }

    // The screen at the button's place shows exactly this button's face.
    void expectShown(int y, Uint8 r, Uint8 g, Uint8 b, const std::string& caption) {
        const Button expected(20, y, 100, 25, SDL_MapRGB(SDL_GetVideoInfo()->vfmt, r, g, b),
                              black, font, caption);
        int differing = 0;
        for (int py = 0; py < 25; ++py) {
            for (int px = 0; px < 100; ++px) {
                const SDL_Color want = pixelAt(expected.getSurface(), px, py);
                const SDL_Color seen = pixelAt(screen, 20 + px, y + py);
                if (want.r != seen.r || want.g != seen.g || want.b != seen.b) ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << "button at y " << y << " does not read \"" << caption << "\"";
    }

    ScratchDir dir;
    SDL_Surface* screen = nullptr;
    TTF_Font* font = nullptr;
};

TEST_F(OptionsMenuTest, MusicButtonShowsAndFlipsTheSetting) {
    musicOn = false;
    visit({});
    expectShown(15, 255, 0, 0, "Off");

    visit({{50, 20}});
    EXPECT_TRUE(musicOn);
    expectShown(15, 0, 0, 255, "On");

    visit({{50, 20}});
    EXPECT_FALSE(musicOn);
    expectShown(15, 255, 0, 0, "Off");

    visit({{50, 20}, {50, 20}});
    EXPECT_FALSE(musicOn);
    expectShown(15, 255, 0, 0, "Off");
}

TEST_F(OptionsMenuTest, MusicButtonPausesAndResumesTheTrack) {
    dir.write("data/sound/music/quiet.wav", silentWav());
    Mix_Music* track = Mix_LoadMUS("data/sound/music/quiet.wav");
    ASSERT_NE(track, nullptr) << Mix_GetError();
    ASSERT_EQ(Mix_PlayMusic(track, -1), 0) << Mix_GetError();
    musicOn = true;
    visit({{50, 20}});
    EXPECT_TRUE(Mix_PausedMusic());
    visit({{50, 20}});
    EXPECT_FALSE(Mix_PausedMusic());
    EXPECT_TRUE(Mix_PlayingMusic());
    Mix_HaltMusic();
    Mix_FreeMusic(track);
}

TEST_F(OptionsMenuTest, ResolutionButtonSwitchesTheTileSize) {
    visit({});
    expectShown(55, 0, 255, 0, "Change");

    visit({{50, 60}});
    EXPECT_EQ(tileSize, 16);
    expectShown(55, 0, 255, 0, "320x240");

    visit({{50, 60}});
    EXPECT_EQ(tileSize, 32);
    expectShown(55, 0, 255, 0, "640x480");

    tileSize = 24;
    visit({{50, 60}});
    EXPECT_EQ(tileSize, 16);
    expectShown(55, 0, 255, 0, "320x240");
}

TEST_F(OptionsMenuTest, ClicksBetweenAndBesideTheButtonsDoNothing) {
    musicOn = false;
    visit({{120, 20}, {50, 40}, {50, 54}, {19, 60}, {50, 80}, {50, 14}});
    EXPECT_FALSE(musicOn);
    EXPECT_EQ(tileSize, 32);

    visit({{119, 39}, {20, 55}});
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(tileSize, 16);
    visit({{20, 15}, {119, 79}});
    EXPECT_FALSE(musicOn);
    EXPECT_EQ(tileSize, 32);
}

TEST_F(OptionsMenuTest, AnyKeyLeavesAndWindowCloseGivesOne) {
    pushKeyDown(SDLK_ESCAPE);
    EXPECT_EQ(runOptionsMenu(screen), 0);
    pushKeyDown(SDLK_m);
    EXPECT_EQ(runOptionsMenu(screen), 0);
    pushQuit();
    EXPECT_EQ(runOptionsMenu(screen), 1);
    // A click queued before the close is still handled in that last frame.
    pushMouseDown(50, 60);
    pushQuit();
    EXPECT_EQ(runOptionsMenu(screen), 1);
    EXPECT_EQ(tileSize, 16);
}

TEST_F(OptionsMenuTest, DrawsLabelsOnBlackAndPacesItsFrames) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 0, 0));
    SDL_TimerID timer = SDL_AddTimer(80, pressKeyLater, nullptr);
    ASSERT_NE(timer, nullptr);
    runOptionsMenu(screen);
    // Frames ran until the key came; each waited out its 33 ms on the driven clock.
    EXPECT_GE(clockTicks(), 33u);
    EXPECT_EQ(clockTicks() % 33, 0u);

    const SDL_Color corner = pixelAt(screen, 400, 300);
    EXPECT_EQ(corner.r + corner.g + corner.b, 0);
    for (int labelY : {15, 55}) {
        int white = 0;
        for (int y = labelY; y < labelY + 25; ++y) {
            for (int x = 140; x < 260; ++x) white += pixelAt(screen, x, y).b > 200;
        }
        EXPECT_GT(white, 20) << "no label at y " << labelY;
    }
}

TEST_F(OptionsMenuTest, WritesThePreferencesOnEveryVisit) {
    ASSERT_FALSE(dir.exists(prefsPath));
    visit({});
    ASSERT_TRUE(dir.exists(prefsPath));
    EXPECT_EQ(dir.read(prefsPath).substr(0, 5), "1\n32\n");  // music is on by default
    visit({{50, 20}, {50, 60}});
    EXPECT_EQ(dir.read(prefsPath).substr(0, 5), "0\n16\n");
}

TEST(OptionsMenuWithoutFont, StillSwitchesTheSettings) {
    ScratchDir dir;  // no font in it
    musicOn = false;
    useManualClock();
    pushMouseDown(50, 20);
    pushMouseDown(50, 60);
    pushKeyDown(SDLK_SPACE);
    EXPECT_EQ(runOptionsMenu(SDL_GetVideoSurface()), 0);
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(tileSize, 16);
    EXPECT_EQ(pixelAt(SDL_GetVideoSurface(), 21, 16).b, 255);  // the blue Music button
}

}  // namespace

// The Window row steps through the scales the desktop holds, then full
// screen; each click lands where the player sees the button.
TEST_F(OptionsMenuTest, WindowButtonStepsThroughScalesAndFullScreen) {
    setDesktopSize(1920, 1080);
    ASSERT_NE(openDisplay(640, 480, 0), nullptr);
    visit({});
    expectShown(95, 255, 255, 0, "1x");

    visit({{50, 100}});
    EXPECT_EQ(windowScale, 2);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1280);
    screen = currentPicture(nullptr);
    expectShown(95, 255, 255, 0, "2x");
    EXPECT_EQ(dir.read(windowAndPadPath), "# Curdovar II: the window and the gamepad\n"
                                          "scale 2\nfullscreen 0\npad 0 -1 -1 2 1 3\n");

    visit({{100, 200}});  // the same button, twice as large
    EXPECT_TRUE(fullScreen);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1920);
    screen = currentPicture(nullptr);
    expectShown(95, 255, 255, 0, "Full");

    visit({{320 + 100, 60 + 200}});  // doubled and centred on the desktop
    EXPECT_FALSE(fullScreen);
    EXPECT_EQ(windowScale, 1);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
    screen = currentPicture(nullptr);
    EXPECT_EQ(screen, SDL_GetVideoSurface());
    expectShown(95, 255, 255, 0, "1x");

    closeDisplay();
}

TEST_F(OptionsMenuTest, SpeedButtonSlowsTheGameStepByStepAndIsKept) {
    visit({});
    expectShown(135, 0, 255, 255, "100 %");
    EXPECT_FALSE(dir.exists(windowAndPadPath)) << "nothing changed, nothing written";
    const int steps[] = {80, 60, 50, 100};
    for (int speed : steps) {
        visit({{50, 140}});
        EXPECT_EQ(gameSpeed, speed);
        EXPECT_EQ(clockSpeed(), speed);
        expectShown(135, 0, 255, 255, std::to_string(speed) + " %");
    }
    visit({{50, 140}, {50, 140}});
    EXPECT_EQ(dir.read(windowAndPadPath), "# Curdovar II: the window and the gamepad\n"
                                          "scale 1\nfullscreen 0\nspeed 60\npad 0 -1 -1 2 1 3\n");
    gameSpeed = 100;
    ASSERT_EQ(readWindowAndPad(), WindowAndPadRead::Read);
    EXPECT_EQ(gameSpeed, 60);
    // A speed the game never offers slower than a quarter is not ours.
    dir.write(windowAndPadPath, "scale 2\nspeed 10\n");
    EXPECT_EQ(readWindowAndPad(), WindowAndPadRead::Broken);
    EXPECT_EQ(gameSpeed, 100);
}
