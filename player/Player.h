#pragma once

#include "things/AsplosionListener.h"
#include "things/Thing.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

class Level;

// One-shot event flags through which the Player reports to the Level and the Things.
enum PlayerFlag : int {
    HintRequest = 0,   // Query Hint pressed; taken by a Hint
    LevelDone = 1,     // goal reached
    GameOver = 2,      // lives fell below 0; never cleared
    ToggleLatch = 3,   // makes every second toggletime touch do nothing
    OpenOptions = 4,   // walked into the options object
    OpenControls = 5,  // walked into the controls object
    ContinueGame = 6,  // walked into the continue object
};
constexpr int playerFlagCount = 7;

enum PlayerStatus : int {
    StatusNormal = 0,
    StatusRubber = 1,
    StatusFrench = 2,
    StatusTerrorist = 3,
    StatusGerman = 4,
    StatusShaded = 5,
};

enum PlayerForm : int {
    FormCurdo = 0,
    FormNormal = 1,
    FormGoto = 2,
};

// "Normal", "Rubber", ... as the status display writes them; "?" for no status.
const char* statusName(int status);
// "Curdo", "Normal", "Goto", for reports; "?" for no form.
const char* formName(int form);


// The Player's sound effects, in the order they are loaded.
enum PlayerSound : int {
    SoundBloom = 0,   // "curdobloom": a curdotree sprouts
    SoundKey,         // "getkey"
    SoundJump,        // "jump": ground jump (not Rubber) and air jump
    SoundHighJump,    // "jumphigh": ground jump with status Rubber
    SoundSplat,       // "splat": landing while Rubber or Curdo
    SoundBounce,      // "bounce": a spring
    SoundLife,        // "getlife": a Thing gave a life
    SoundCough,       // "coughing"
    SoundLand,        // "opendoor": any other landing
    SoundBlast,       // "jump" again, a chunk of its own: every explosion
    SoundFrench,      // "pierre"
    SoundGerman,      // "prost"
    SoundShaded,      // "sunglasses"
    SoundRubber,      // "caflady"
};
constexpr int playerSoundCount = 14;
constexpr int noSound = -1;

// The loaded chunk of one effect slot; null when absent or no Player lives.
Mix_Chunk* playerSoundChunk(int slot);

// The hero. Movement, input and the sprite are in Player.cpp; tiles, status
// and form, lives, explosions and the status display in PlayerRules.cpp.
class Player final : public Thing, public AsplosionListener {
public:
    explicit Player(Level* level);
    ~Player() override;

    // Key presses: Jump, Query Hint, Lay Bomb.
    void handleEvent(const SDL_Event& event);
    // One frame of movement against the Level's own grid (which tiles the
    // Player takes change) and its objects.
    void update(Grid& grid, const ThingList& things);
    void draw(SDL_Surface* screen, const SDL_Rect* camera) override;

    // Start and respawn point of a level; clears LevelDone.
    void setStart(int x, int y);
    void setPosition(int x, int y);

    void die();
    int onExplosion(int x, int y) override;
    void playCough();

    int getStatus() const { return status; }
    int getForm() const { return form; }
    bool isGameOver() const { return flags[GameOver]; }
    bool takeHintRequest();
    bool useKey();
    bool takeFlag(int index);
    void setFlag(int index);
    bool peekFlag(int index) const { return flags[index]; }

    // Lives, form, status, keys and bombs over the level, in screen pixels.
    void drawStatus(SDL_Surface* screen);

    // What touching one cell does; (dx, dy) is the direction of the pixel step.
    void touchTile(Grid& grid, int value, int col, int row, int dx, int dy);
    bool blockedByGrid(const Grid& grid, int dx, int dy) const;

    // Read by tests, tools and the status display.
    float getVx() const { return vx; }
    float getVy() const { return vy; }
    bool isGrounded() const { return grounded; }
    int getLives() const { return lives; }
    int getKeys() const { return keys; }
    int getBombs() const { return bombs; }
    Sint16 getRespawnX() const { return respawnX; }
    Sint16 getRespawnY() const { return respawnY; }
    // The effect slot last asked to play (noSound before any) and how many
    // effects were asked for; counted also when the chunk is missing.
    int getLastSound() const { return lastSound; }
    int getSoundsPlayed() const { return soundsPlayed; }
    // How many text lines the status display has rendered so far.
    int getTextRenders() const { return textRenders; }

    // Set by tests and tools to stage a situation.
    void setVelocity(float newVx, float newVy) { vx = newVx; vy = newVy; }
    void setGrounded(bool value) { grounded = value; }
    void setStatus(int value) { status = value; }
    void setForm(int value) { form = value; }
    void setLives(int value) { lives = value; }
    void setKeys(int value) { keys = value; }
    void setBombs(int value) { bombs = value; }

private:
    // The Player moves against the Level's own grid, not the read-only view
    // objects get; the base form stays out of reach.
    using Thing::update;

    void moveAxis(Grid& grid, const ThingList& things, bool vertical);
    // Touches every live Thing the Player overlaps; false when one is solid.
    bool touchThings(const ThingList& things);
    // Touches every grid cell the Player covers after a step of (dx, dy).
    void touchCells(Grid& grid, int dx, int dy);
    void land();
    void layBomb();
    // Re-renders a status line only when its text changed since the last frame.
    void refreshLine(SDL_Surface*& surface, std::string& shown, const std::string& text,
                     int width);
    void changeStatus(int newStatus, int soundSlot);
    void playSound(int slot);
    // Fill and empty the process-wide effect slots.
    static void loadSounds();
    static void freeSounds();

    Level* level;        // owner; clears cells, takes laid bombs
    float jumpSpeed;     // launch speed of a jump, pixels per frame
    float springSpeed;   // launch speed off a spring
    float walkAccel;     // change of vx per frame while a direction counts
    float friction;      // slowing of vx per frame on the ground
    float gravity;       // added to vy every frame
    float maxRunSpeed;   // limit of |vx|
    float maxFallSpeed;  // limit of |vy|, both ways
    float vx = 0.0f;     // pixels per frame, positive right
    float vy = 0.0f;     // pixels per frame, positive down
    bool grounded = false;  // set by a landing, cleared by a jump
    int lives = 5;
    bool flags[playerFlagCount] = {};
    Sint16 respawnX = 64;  // where die() puts the Player
    Sint16 respawnY = 64;
    int form = FormNormal;
    int status = StatusNormal;
    int keys = 0;
    int bombs = 0;
    SDL_Surface* livesText = nullptr;  // rendered lives line
    int livesTextValue = 0;            // the count livesText shows
    SDL_Surface* formText = nullptr;   // last frame's form line
    SDL_Surface* statusText = nullptr; // last frame's status line
    std::string formTextShown;         // the text formText holds
    std::string statusTextShown;       // the text statusText holds
    int textRenders = 0;               // status lines rendered so far
    int lastSound = noSound;           // last effect slot asked to play
    int soundsPlayed = 0;              // effects asked to play so far
};

// The walk animation counters shared by every Player.
extern int animTick;  // 0..2
extern int animStep;  // 0..3
