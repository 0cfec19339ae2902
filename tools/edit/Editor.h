#pragma once

#include "level/LevelDraft.h"
#include "tools/common/LevelCheck.h"
#include "tools/edit/Clip.h"
#include "tools/edit/History.h"
#include "tools/edit/Layout.h"
#include "tools/edit/Overview.h"
#include "tools/edit/Palette.h"
#include "tools/edit/SolverJob.h"

#include <SDL.h>

#include <functional>
#include <utility>
#include <string>
#include <vector>

// What the editor starts with.
struct EditorOptions {
    std::string levelPath;                   // where the level is saved
    std::string replayFolder = "tests/replays";  // where proving replays go
    std::string solverPath;                  // the curdovar-solve binary
    std::string difficultyPath;              // the curdovar-difficulty binary
    int newWidth = 40;                       // the grid Ctrl+N starts, cells
    int newHeight = 20;
};

// The level editor: draws a LevelDraft with the game's images, changes it
// with mouse and keys, checks it after every change, saves it through the
// level writer, play-tests it with the game's frame and saves the run as a
// replay. Events and commands are in Editor.cpp, drawing in EditorDraw.cpp.
class Editor {
public:
    Editor(SDL_Surface* screen, const EditorOptions& options, const LevelDraft& level);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Runs until the designer quits.
    void run();
    // The file could not be read (the draft's reason given): the checker's
    // panel shows what the game's loader says of it, and nothing is drawn or
    // saved until Ctrl+N starts a new level in its place.
    void refuse(const std::string& reason);
    // Takes one event as the window delivers it.
    void handleEvent(const SDL_Event& event);
    bool isRunning() const { return running; }
    // Looks whether the solver or the death map's people are done.
    void pollJobs();

    const LevelDraft& getLevel() const { return level; }
    const LevelCheck& getCheck() const { return checked; }
    // The death map's cells and the deaths in each; empty when none is shown.
    const std::vector<std::pair<std::pair<int, int>, int>>& getDeaths() const { return deaths; }
    // The map's top-left, in level pixels.
    int getViewX() const { return viewX; }
    int getViewY() const { return viewY; }

private:
    enum class Mode {
        Draw,        // paint, erase, fill, scroll
        Typing,      // a text box has the keyboard
        PickTarget,  // the next click in the map aims the portal being placed
        Question,    // a yes-or-no question has the keyboard
        Refused,     // the file is unreadable: a new level or quit
        Waypoints,   // clicks in the map place the solver's waypoints
    };

    // Events.
    void onKey(const SDL_keysym& key);
    void onTypingKey(const SDL_keysym& key);
    void onQuestionKey(const SDL_keysym& key);
    void onRefusedKey(const SDL_keysym& key);
    void startNewLevel();
    void onMouseDown(const SDL_MouseButtonEvent& button);
    void onMouseUp(const SDL_MouseButtonEvent& button);
    // A left click beside the map: a palette entry, or a problem to scroll to.
    void onPanelClick(int x, int y);
    // The click that aims the portal being placed.
    void aimPortal(int column, int row);
    void onMouseMotion(const SDL_MouseMotionEvent& motion);
    // The cell under a window pixel of the map.
    void cellAt(int x, int y, int& column, int& row) const;
    bool inMap(int x, int y) const { return x < mapWidth && y < mapHeight; }

    // Commands.
    void beginChange();
    // Ends a change begun with beginChange: into the history when the level changed.
    void endChange();
    void paint(int column, int row, int value);
    void fill(int column0, int row0, int column1, int row1, int value);
    void afterPlacing(int column, int row);
    void undo();
    void redo();
    void resize(int left, int top, int right, int bottom);
    // The selection and the clip (EditorSelection.cpp).
    // The selection into the clip; false, with a word why, when there is none.
    bool takeSelection();
    void copySelection();
    void cutSelection();
    void paste();
    std::string sizeOf(const CellRect& area) const;
    void check();
    // Saves, asking first when the checker finds errors; then runs after.
    void requestSave(const std::function<void()>& after = {});
    bool save();
    void playTest(bool fromCursor);
    void offerReplay(const std::string& replayText);
    void startSolver();
    // A left click adds a waypoint, a right click takes the one under it away.
    void placeWaypoint(int button, int column, int row);
    // True once, when a job running beside the editor has ended.
    bool jobEnded(SolverJob& job);
    void pollSolver();
    // F8: casual simulated people play the saved level in the background;
    // where they died is then marked on the map. F8 again stops or hides it.
    void startDeathMap();
    void pollDeathMap();
    void setTileSize(int edge);
    // Loads the palette's pictures and the backdrop for the level's look.
    void showLook();
    // F3: the level's look becomes the next one there is (none after the last).
    void nextLook();
    void scrollTo(int column, int row);
    void editParameters(int column, int row);
    void ask(const std::string& question, const std::function<void()>& yes);
    void type(const std::string& label, const std::string& start,
              const std::function<void(const std::string&)>& done);
    void say(const std::string& message);
    // The file name without folder and extension: "level07".
    std::string levelStem() const;
    std::string replayPath() const;

    // Drawing.
    void draw();
    void drawMap();
    // The cursor, the selection, a portal's target and what a drag marks.
    void drawMarks();
    void loadOverviewColours();
    void drawSide();
    void drawStatus();

    SDL_Surface* screen;  // borrowed
    SDL_Surface* backdrop = nullptr;  // owned; the background the game shows behind this level
    std::string shownLook;            // the look the palette and backdrop were loaded for
    EditorOptions options;
    LevelDraft level;
    LevelDraft before;    // the level as a change in progress began
    History history;
    Palette palette;
    Overview overview;
    LevelCheck checked;   // the checker's last word
    SolverJob solver;
    std::string solverLevel;  // the level text the solver works on
    std::vector<std::pair<int, int>> waypoints;  // cells the solver's run goes through, in order
    SolverJob people;         // curdovar-difficulty making the death map
    std::string peopleLevel;  // the level text the people play
    std::vector<std::pair<std::pair<int, int>, int>> deaths;  // cell and deaths there, shown when any

    Mode mode = Mode::Draw;
    int selected = 0;        // the palette entry painted
    int hovered = -1;        // the palette entry under the mouse, or -1
    int viewX = 0;           // the map's top-left, in level pixels
    int viewY = 0;
    int cursorColumn = 0;    // the cell under the mouse, or moved by keys
    int cursorRow = 0;
    bool showGrid = true;
    bool dirty = false;      // changed since the last save
    bool running = true;
    bool redraw = true;

    // A drag in progress: 1 paints, 3 erases, 2 scrolls; 0 for none.
    int dragButton = 0;
    bool dragFills = false;  // shift was held: a rectangle on release
    int dragColumn = 0;      // where a fill began
    int dragRow = 0;
    int dragX = 0;           // where a scroll drag last was, window pixels
    int dragY = 0;

    bool dragOverview = false;  // the drag began in the overview: the view follows it
    bool dragSelects = false;  // ctrl was held: the drag marks the selection
    bool hasSelection = false;
    CellRect selection;        // what Ctrl+C and Ctrl+X take
    Clip clip;                 // what Ctrl+V puts down

    int portalColumn = 0;    // the portal a PickTarget click aims
    int portalRow = 0;

    std::string message;     // the status line's last news
    std::string caption;     // the window's title as last set
    std::string question;
    std::function<void()> onYes;
    std::string typingLabel;
    std::string typed;
    std::function<void(const std::string&)> onTyped;
    int problemsTop = 0;     // window y of the problems list's first line
    std::vector<int> problemLines;  // lines each problem shown took, from firstProblem on
    int firstProblem = 0;    // the problem at the top of the list (the wheel scrolls it)
};
