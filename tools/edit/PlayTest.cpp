#include "tools/edit/PlayTest.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "media/Geometry.h"
#include "media/Sound.h"
#include "menus/ActionNames.h"
#include "menus/MessageBox.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Frame.h"
#include "shell/Particles.h"
#include "things/Blobber.h"
#include "things/Chomper.h"
#include "things/Flapper.h"
#include "things/Hint.h"
#include "tools/common/Headless.h"
#include "tools/edit/EditorText.h"
#include "tools/edit/Layout.h"
#include "media/Text.h"

#include <SDL_mixer.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

namespace {

constexpr SDLKey dismissKey = SDLK_SPACE;   // what closes a hint box, as in a replay
constexpr Uint32 captionColour = 0x202830;  // the strip around the game's view
constexpr int hintFrames = 90;              // how long a read hint stays in the strip

// The keyboard's events while a play-test runs. They never reach the game
// straight: the play-test turns them into the frame's input, which is what
// gets recorded, and hands the game exactly that.
std::vector<SDL_Event> keyEvents;

int captureKeys(const SDL_Event* event) {
    if (event->type == SDL_KEYDOWN || event->type == SDL_KEYUP || event->type == SDL_QUIT) {
        keyEvents.push_back(*event);
        return 0;
    }
    return 1;
}

// A hint box waits for a key, which a replay gives at once (D). The box's
// first wait on the driven clock calls stalled(): the clock goes back to
// where the step began, as if the key had been there, and the key comes.
struct StepWatch {
    bool running = false;    // a level step is under way
    Uint32 start = 0;        // the driven clock when it began
    bool dismissed = false;  // a hint box of this step got its key
};
StepWatch stepWatch;

void stalled() {
    if (!stepWatch.running || stepWatch.dismissed) return;
    stepWatch.dismissed = true;
    useManualClock(stepWatch.start);
    pressKey(dismissKey);
}

// The words of the hint the hero stands at, if any.
std::string hintAt(Level& level) {
    const SDL_Rect* hero = level.getPlayer().getRect();
    for (const Thing* thing : level.getThings()) {
        if (thing->getType() == KindHint && overlaps(*thing->getRect(), *hero))
            return nameActions(static_cast<const Hint*>(thing)->getText());
    }
    return "";
}

}  // namespace

PlayTest::PlayTest(SDL_Surface* s, const std::string& file, int number)
    : screen(s), levelFile(file), levelNumber(number) {}

bool PlayTest::readKeyboard(FrameInput& input) {
    SDL_PumpEvents();
    bool quit = false;
    for (const SDL_Event& event : keyEvents) {
        if (event.type == SDL_QUIT) quit = true;
        if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) continue;
        const bool down = event.type == SDL_KEYDOWN;
        const int key = event.key.keysym.sym;
        if (down && key == SDLK_ESCAPE) quit = true;
        // The fixed keys work beside the player's, as in the game: the replay
        // records the action.
        const int fixed = fixedKeyAction(key);
        if (key == getUserKey(KeyLeft) || fixed == KeyLeft) held.left = down;
        if (key == getUserKey(KeyRight) || fixed == KeyRight) held.right = down;
        if (key == getUserKey(KeyExplodeAll)) held.explodeAll = down;
        if (!down) continue;
        if (key == getUserKey(KeyJump) || fixed == KeyJump) input.jump = true;
        if (key == getUserKey(KeyQueryHint)) input.queryHint = true;
        if (key == getUserKey(KeyLayBomb)) input.layBomb = true;
    }
    keyEvents.clear();
    input.left = held.left;
    input.right = held.right;
    input.explodeAll = held.explodeAll;
    return !quit;
}

namespace {

// As a replay starts in a fresh process: the first seed, the clock at 0,
// the enemies' shared clocks and the camera as at program start.
void startAsAFreshProcess() {
    std::srand(1);
    useManualClock(0);
    resetChompClock();
    resetBlobClock();
    resetFlapClock();
    camera = SDL_Rect{0, 0, 0, 0};
    clearParticles();
    releaseMessageOverlay();
    keyEvents.clear();
}

// The keyboard as a play-test needs it, for as long as one lives: every key
// event captured, no repeats (a held key must not repeat into presses the
// replay would not have), and a hint box's wait answered at once.
class KeyboardCapture {
public:
    KeyboardCapture() {
        SDL_GetKeyRepeat(&repeatDelay, &repeatInterval);
        SDL_EnableKeyRepeat(0, 0);
        SDL_SetEventFilter(captureKeys);
        stepWatch = StepWatch();
        setClockStallGuard(0, stalled);
    }
    ~KeyboardCapture() {
        SDL_SetEventFilter(nullptr);
        setClockStallGuard(0, nullptr);
        SDL_EnableKeyRepeat(repeatDelay, repeatInterval);
        keyEvents.clear();
        releaseHeldKeys();
    }
    KeyboardCapture(const KeyboardCapture&) = delete;
    KeyboardCapture& operator=(const KeyboardCapture&) = delete;

private:
    int repeatDelay = 0;
    int repeatInterval = 0;
};

}  // namespace

PlayTestResult PlayTest::run(int column, int row) {
    PlayTestResult result;
    startAsAFreshProcess();
    held = FrameInput();
    // The game draws into a picture of its own window's size, as in the game
    // and in a replay: the status lines and icons are placed by that size.
    const SDL_PixelFormat* format = screen->format;
    SDL_Surface* view = SDL_CreateRGBSurface(
        SDL_SWSURFACE, windowColumns * tileSize, windowRows * tileSize, format->BitsPerPixel,
        format->Rmask, format->Gmask, format->Bmask, format->Amask);
    if (view) {
        std::unique_ptr<Level> level(new Level(levelNumber, view));
        if (level->load(levelFile)) {
            result.loaded = true;
            if (column >= 0) {
                Player& hero = level->getPlayer();
                hero.setStart(cellToPixel(column, tileSize), cellToPixel(row, tileSize));
                hero.setPosition(cellToPixel(column, tileSize), cellToPixel(row, tileSize));
            }
            play(*level, view, result);
        }
        level.reset();  // before the picture it draws into
        SDL_FreeSurface(view);
    }
    clearParticles();
    releaseMessageOverlay();
    Mix_HaltMusic();
    useRealClock();
    return result;
}

void PlayTest::play(Level& level, SDL_Surface* view, PlayTestResult& result) {
    const KeyboardCapture keyboard;
    std::cout << "play-test started at tile size " << tileSize << std::endl;
    Level* current = &level;
    std::string hint;
    int hintLeft = 0;
    for (;;) {
        const Uint32 frameStart = SDL_GetTicks();
        FrameInput input;
        if (!readKeyboard(input)) break;
        result.recorder.add(input);
        // The same input, in the same order, as the replay runner gives.
        giveInput(input);
        FrameHooks hooks;
        hooks.beforeStep = [] { stepWatch = {true, clockTicks(), false}; };
        hooks.afterStep = [](const FrameOutcome&) {
            stepWatch.running = false;
            return true;
        };
        const FrameOutcome outcome = playFrame(current, view, nullptr, hooks);
        ++result.frames;
        if (stepWatch.dismissed) {
            // The box only flashed: its words stay under the view a while.
            result.recorder.markDismissed();
            hint = hintAt(level);
            hintLeft = hintFrames;
        }
        if (hintLeft > 0 && --hintLeft == 0) hint.clear();
        SDL_BlitSurface(view, nullptr, screen, nullptr);
        drawCaption(hint, result.frames);
        SDL_Flip(screen);
        if (outcome.step == StepLevelDone) {
            result.reachedGoal = true;
            return;
        }
        if (level.isGameOver()) {
            result.gameOver = true;
            return;
        }
        const Uint32 spent = SDL_GetTicks() - frameStart;
        if (spent < framePeriodMs) SDL_Delay(framePeriodMs - spent);
    }
}

void PlayTest::drawCaption(const std::string& hint, int frames) {
    const int viewWidth = windowColumns * tileSize;
    const int viewHeight = windowRows * tileSize;
    SDL_Rect right = {static_cast<Sint16>(viewWidth), 0,
                      static_cast<Uint16>(editorWidth - viewWidth), editorHeight};
    SDL_Rect below = {0, static_cast<Sint16>(viewHeight), static_cast<Uint16>(viewWidth),
                      static_cast<Uint16>(editorHeight - viewHeight)};
    SDL_FillRect(screen, &right, captionColour);
    SDL_FillRect(screen, &below, captionColour);
    const int x = 8;
    int y = viewHeight + 8;
    drawEditorText(screen, x, y, "Play-test at tile size " + std::to_string(tileSize) +
                                     ", frame " + std::to_string(frames) +
                                     ". Escape: back to editing.");
    y += textLine;
    // Named as the game's signs name them, fixed keys included.
    drawEditorText(screen, x, y, "Keys: " + actionKeysName(KeyLeft) + " " +
                                     actionKeysName(KeyRight) + " move, " +
                                     actionKeysName(KeyJump) + " jumps, " +
                                     actionKeysName(KeyQueryHint) + " reads a hint, " +
                                     actionKeysName(KeyLayBomb) + " lays a bomb.");
    if (!hint.empty()) drawEditorText(screen, x, y + 2 * textLine, "Hint:" + hint, 0xFFFF80);
}
