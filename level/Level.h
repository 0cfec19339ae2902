#pragma once

#include "level/LevelParser.h"
#include "media/Sound.h"
#include "player/Player.h"
#include "things/AsplosionListener.h"
#include "things/Thing.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <istream>
#include <string>

// What one level step reports to the main loop.
enum StepResult : int {
    StepNothing = 0,
    StepLevelDone = 1,
    StepOpenOptions = 2,
    StepOpenControls = 3,
    StepContinue = 4,  // go on from the checkpoint's level
};

constexpr int tileSlotCount = 40;  // tile images indexed by cell value 0..39
// The visible part of the level in level pixels, for the whole program.
extern SDL_Rect camera;
// The current level's background image, freed by the next load.
extern SDL_Surface* background;

// One level in play: grid, tile set, objects, the Player and the bookkeeping
// of the current level. Construction and the tile set are in Level.cpp, the
// file format in LevelFile.cpp, step, drawing and explosions in
// LevelPlay.cpp, moving to the next level in Progression.cpp.
class Level : public AsplosionListener, private LevelParser {
public:
    Level(int number, SDL_Surface* screen);

    // A bomb went off at (x, y): crackable walls and small objects around it go.
    int onExplosion(int x, int y) override;
    ~Level() override;

    int getLevelNumber() const { return levelNumber; }
    std::string getName() const { return name; }
    // The world's look the file names ("look NAME" after the name line);
    // empty for the default images.
    const std::string& getLook() const { return look; }
    void handleEvent(const SDL_Event& event);
    bool isGameOver() const;

    // Takes a pickup off the grid; object cells (27 and up) stay.
    void clearCell(int x, int y);
    // The Level owns the object from now on.
    void addThing(Thing* thing);
    void addShake(int n);

    void makePath();
    // Reads the level file at path (empty: the file the level already names).
    bool load(const std::string& path);

    int step();
    void draw();
    // Everything draw does to the game but the painting: the camera and its
    // shake, with the same random numbers. For tools that play millions of frames.
    void drawUnseen();
    bool advanceLevel();
    // Plays on from the checkpoint's level, or from level 1 when the
    // checkpoint cannot be used (the reason goes to standard output).
    bool continueFromCheckpoint();

    // Read by tests and tools.
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    const Grid& getGrid() const { return grid; }
    Grid& getGrid() { return grid; }
    const ThingList& getThings() const { return things; }
    Player& getPlayer() { return player; }
    const Player& getPlayer() const { return player; }
    const std::string& getPath() const { return path; }
    int getShake() const { return shake; }
    bool getSeeHidden() const { return seeHidden; }
    SDL_Surface* getTileImage(int value) const;
    const LoadFailure& getLoadFailure() const { return loadFailure; }

private:
    // The file's parts as the parser reads them: the grid, each cell with
    // its object, the name.
    void beginGrid(int width, int height) override;
    void readCell(std::istream& in, int value, int x, int y) override;
    void endGrid(const std::string& nameLine, std::istream& rest) override;
    // Takes the tile images and the background of the level's look; with
    // none, the tile images are the default ones, as the level began with.
    void applyLook();
    // Moves the camera after the Player (before the shake is added).
    void followPlayer();
    // The background image, tiled with a parallax of one sixth.
    void drawBackground();
    // The visible cells; hidden and fake walls as seeHidden allows.
    void drawTiles();
    // draw and drawUnseen: the camera always, the painting when asked.
    void drawFrame(bool paint);

    int width = 0;
    int height = 0;
    int levelNumber;
    Grid grid;
    ThingList things;       // owned; order of creation is order of update and drawing
    std::string path;       // the level file
    std::string name;       // shown in the window caption
    std::string look;       // the file's look; empty for the default images
    std::string tilesLook;  // the look tileImages were loaded for
    SDL_Surface* tileImages[tileSlotCount] = {};  // owned
    SDL_Surface* screen;    // borrowed
    bool seeHidden = false; // Shaded: hidden and fake walls show as they are
    int shake = 0;          // frames of screen shake left
    LoadFailure loadFailure;  // why the last load stopped short
    Mix_Music*& music = currentMusic;  // the process-wide track slot
    Player player;
};

std::string underscoresToSpaces(std::string text);

// The background a level gets by its number: data/images/bg0N for the last
// digit N; none (null) for the menu level, 0. The caller owns it.
SDL_Surface* loadNumberedBackground(int levelNumber);

// What the checkpoint file says: the level to go on from, or why it cannot be used.
struct CheckpointRead {
    int level = 0;        // 1 to lastLevelNumber when usable
    std::string problem;  // empty when usable
};
constexpr int lastLevelNumber = 99;  // level file names have two digits
CheckpointRead readCheckpoint(const std::string& checkpointFile);

// Music track name of a level 1..5, empty for others.
std::string musicTrackName(int levelNumber);
