#include "things/Hint.h"

#include "level/Level.h"
#include "menus/MessageBox.h"
#include "menus/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct ReadResult {
    std::string text;
    std::string errors;
};

// Reads a hint from `in`, capturing what goes to standard error; `in` is
// left where the hint stopped reading.
ReadResult readHint(std::istream& in) {
    Hint hint(0, 0);
    testing::internal::CaptureStderr();
    in >> hint;
    fflush(stderr);
    ReadResult result;
    result.errors = testing::internal::GetCapturedStderr();
    result.text = hint.getText();
    return result;
}

ReadResult readHint(const std::string& file) {
    std::istringstream in(file);
    return readHint(in);
}

bool eventPending() {
    SDL_PumpEvents();
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0;
}

SDL_Event keyDown(int key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = static_cast<SDLKey>(key);
    return event;
}

// Touches the hint with a key press queued, so that a message box, if one
// opens, returns at once. Returns what went to standard output.
std::string touchWithKeyQueued(Hint& hint, Player& player, int* result) {
    pushKeyDown(SDLK_SPACE);
    testing::internal::CaptureStdout();
    *result = hint.touch(&player);
    std::cout.flush();
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(HintText, EveryWordHasABlankOnEachSide) {
    ScratchDir dir;
    const ReadResult turn = readHint("Turn left Burmashave.\n");
    EXPECT_EQ(" Turn left ", turn.text);
    EXPECT_EQ(11u, turn.text.size());
    EXPECT_EQ("", turn.errors);

    const ReadResult press = readHint("Press Q Burmashave.\n");
    EXPECT_EQ(" Press Q ", press.text);
    EXPECT_EQ(9u, press.text.size());
}

TEST(HintText, LineBreaksAndRunsOfBlanksAreSingleSeparators) {
    ScratchDir dir;
    const ReadResult result = readHint("  Watch\n\n   out\t for\r\n crabs   Burmashave.\n");
    EXPECT_EQ(" Watch out for crabs ", result.text);
    EXPECT_EQ("", result.errors);
}


TEST(HintText, OnlyTheExactTerminatorEndsTheText) {
    ScratchDir dir;
    const ReadResult result =
        readHint("burmashave. Burmashave Burmashave., BURMASHAVE. Burmashave.. Burmashave.\n");
    EXPECT_EQ(" burmashave. Burmashave Burmashave., BURMASHAVE. Burmashave.. ", result.text);
    EXPECT_EQ("", result.errors);
}

TEST(HintText, StreamIsLeftJustAfterTheTerminator) {
    ScratchDir dir;
    std::istringstream in("Mind the gap Burmashave. 17\nName_Line\n");
    const ReadResult result = readHint(in);
    EXPECT_EQ(" Mind the gap ", result.text);
    int next = 0;
    ASSERT_TRUE(in >> next);
    EXPECT_EQ(17, next);
    std::string name;
    in >> name;
    EXPECT_EQ("Name_Line", name);
}

TEST(HintText, TerminatorAsTheLastBytesOfTheFileStillReportsInvalid) {
    ScratchDir dir;
    const ReadResult result = readHint("Turn left Burmashave.");
    EXPECT_EQ(" Turn left ", result.text);
    EXPECT_EQ("Invalid .lvl!\n", result.errors);
}

TEST(HintText, MissingTerminatorKeepsTheWordsReadSoFar) {
    ScratchDir dir;
    std::istringstream in("Watch out\n");
    const ReadResult result = readHint(in);
    EXPECT_EQ(" Watch out ", result.text);
    EXPECT_EQ("Invalid .lvl!\n", result.errors);
    EXPECT_TRUE(in.eof());
}


TEST(HintText, LevelFileHintIsReadInPlace) {
    // Runs the real level loader.
    ScratchDir dir;
    dir.write("data/levels/sign.lvl", "2 1\n28 Watch out Burmashave.\n1\nTwo_Cells\n");
    Level level(1, SDL_GetVideoSurface());
    ASSERT_TRUE(level.load("data/levels/sign.lvl"));
    ASSERT_EQ(1u, level.getThings().size());
    const Hint* hint = dynamic_cast<const Hint*>(level.getThings()[0]);
    ASSERT_NE(nullptr, hint);
    EXPECT_EQ(" Watch out ", hint->getText());
    EXPECT_EQ(28, hint->getType());
    EXPECT_EQ(1, level.getGrid()[1][0]);
    EXPECT_EQ("Two Cells", level.getName());
}

TEST(HintTouch, WithoutARequestShowsNothing) {
    ScratchDir dir;
    Level level(1, SDL_GetVideoSurface());
    std::istringstream in("Secret Burmashave.\n");
    Hint hint(0, 0);
    in >> hint;
    hint.setScreen(SDL_GetVideoSurface());
    int result = -1;
    const std::string out = touchWithKeyQueued(hint, level.getPlayer(), &result);
    EXPECT_EQ(TouchNothing, result);
    EXPECT_EQ(std::string::npos, out.find("Secret"));
    // No message box ran, so the queued key is still there.
    EXPECT_TRUE(eventPending());
    drainEvents();
}

TEST(HintTouch, PendingRequestIsTakenByTheNextHintTouched) {
    ScratchDir dir;
    Level level(1, SDL_GetVideoSurface());
    Player& player = level.getPlayer();
    // Asked far from any sign: the request waits.
    player.handleEvent(keyDown(getUserKey(KeyQueryHint)));
    EXPECT_TRUE(player.peekFlag(HintRequest));

    std::istringstream in("Jump twice Burmashave.\n");
    Hint hint(0, 0);
    in >> hint;
    hint.setScreen(SDL_GetVideoSurface());
    int result = -1;
    const std::string out = touchWithKeyQueued(hint, player, &result);
    EXPECT_EQ(TouchNothing, result);
    EXPECT_NE(std::string::npos, out.find(" Jump twice "));
    EXPECT_FALSE(player.peekFlag(HintRequest));
    // The box consumed the key that dismissed it.
    EXPECT_FALSE(eventPending());

    // The request is used up: touching again shows nothing.
    const std::string again = touchWithKeyQueued(hint, player, &result);
    EXPECT_EQ(std::string::npos, again.find("Jump twice"));
    drainEvents();
}

TEST(HintTouch, TheBoxNamesTheKeysBoundWhenItOpens) {
    ScratchDir dir;
    Level level(1, SDL_GetVideoSurface());
    Player& player = level.getPlayer();
    std::istringstream in("{Jump} jumps pits Burmashave.\n");
    Hint hint(0, 0);
    in >> hint;
    EXPECT_EQ(hint.getText(), " {Jump} jumps pits ");
    hint.setScreen(SDL_GetVideoSurface());
    userKeys[KeyJump] = SDLK_w;
    player.handleEvent(keyDown(getUserKey(KeyQueryHint)));
    int result = -1;
    const std::string out = touchWithKeyQueued(hint, player, &result);
    EXPECT_EQ(out, " W/Space jumps pits \n");
    drainEvents();
}

TEST(HintTouch, BuildingAHintDropsTheCachedVeil) {
    ScratchDir dir;
    pushKeyDown(SDLK_SPACE);
    testing::internal::CaptureStdout();
    showMessage("veil", SDL_GetVideoSurface());
    testing::internal::GetCapturedStdout();
    ASSERT_NE(nullptr, messageOverlay());
    Hint hint(0, 0);
    EXPECT_EQ(nullptr, messageOverlay());
}
