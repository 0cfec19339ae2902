#include "tools/edit/Editor.h"

#include "level/LevelWriter.h"
#include "level/Level.h"
#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/Settings.h"
#include "shell/WholeFile.h"
#include "tools/common/Replay.h"
#include "tools/edit/Layout.h"
#include "tools/edit/PlayTest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

constexpr Uint32 idleMs = 15;      // the pause between two looks at the events when nothing happens
constexpr int fastScrollCells = 10;  // cells an arrow key scrolls with shift held
constexpr int deathMapAttempts = 40; // simulated people per death map

// The editor's own files (the level as checked and as played, the solver's
// output), in TMPDIR when it is set.
std::string scratchPath(const std::string& what) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/curdovar-edit-" +
           std::to_string(getpid()) + "-" + what;
}

}  // namespace

Editor::Editor(SDL_Surface* s, const EditorOptions& o, const LevelDraft& l)
    : screen(s), options(o), level(l), before(l) {
    selected = std::max(0, palette.indexOf(TileWall));
    showLook();
    loadOverviewColours();
    check();
}

Editor::~Editor() {
    if (backdrop) SDL_FreeSurface(backdrop);
}

void Editor::run() {
    SDL_EnableUNICODE(1);
    SDL_EnableKeyRepeat(SDL_DEFAULT_REPEAT_DELAY, SDL_DEFAULT_REPEAT_INTERVAL);
    while (running) {
        SDL_Event event;
        bool any = false;
        while (SDL_PollEvent(&event)) {
            handleEvent(event);
            any = true;
        }
        pollJobs();
        if (redraw) {
            draw();
            SDL_Flip(screen);
            redraw = false;
        }
        if (!any) SDL_Delay(idleMs);
    }
    solver.stop();
    people.stop();
    for (const char* scratch : {"check.lvl", "play.lvl", "solved.replay", "solver.log", "people.log"})
        std::remove(scratchPath(scratch).c_str());
}

void Editor::refuse(const std::string& reason) {
    std::streambuf* talk = std::cout.rdbuf();
    std::ostringstream swallowed;
    std::cout.rdbuf(swallowed.rdbuf());
    checked = checkLevelFile(options.levelPath);
    std::cout.rdbuf(talk);
    // The checker names the cell; should the file have changed since the
    // draft read it, the draft's reason is all there is.
    if (checked.errorCount() == 0) {
        LevelProblem problem;
        problem.message = reason;
        checked.problems.insert(checked.problems.begin(), problem);
    }
    level = LevelDraft();
    before = level;
    history = History();
    hasSelection = false;
    mode = Mode::Refused;
    say("The game cannot load " + options.levelPath + ": Ctrl+N starts a new level in its "
        "place, Ctrl+Q quits.");
    std::cout << "refused " << options.levelPath << ": " << checked.problems.front().message
              << std::endl;
}

void Editor::onRefusedKey(const SDL_keysym& key) {
    if (!(key.mod & KMOD_CTRL)) return;
    if (key.sym == SDLK_n) startNewLevel();
    if (key.sym == SDLK_q) handleEvent(SDL_Event{SDL_QUIT});
}

void Editor::startNewLevel() {
    level = LevelDraft(options.newWidth, options.newHeight);
    before = level;
    history = History();
    mode = Mode::Draw;
    viewX = 0;
    viewY = 0;
    // Unsaved until Ctrl+S writes it over the file that was refused.
    dirty = true;
    check();
    say("A new " + std::to_string(level.getWidth()) + " by " + std::to_string(level.getHeight()) +
        " level: Ctrl+S writes it as " + options.levelPath + ".");
}

void Editor::handleEvent(const SDL_Event& event) {
    redraw = true;
    switch (event.type) {
    case SDL_QUIT:
        if (dirty) {
            ask("Quit without saving the changes? (y/n)", [this] { running = false; });
        } else {
            running = false;
        }
        break;
    case SDL_KEYDOWN: onKey(event.key.keysym); break;
    case SDL_MOUSEBUTTONDOWN: onMouseDown(event.button); break;
    case SDL_MOUSEBUTTONUP: onMouseUp(event.button); break;
    case SDL_MOUSEMOTION: onMouseMotion(event.motion); break;
    default: redraw = false; break;
    }
}

void Editor::onKey(const SDL_keysym& key) {
    if (mode == Mode::Typing) return onTypingKey(key);
    if (mode == Mode::Question) return onQuestionKey(key);
    if (mode == Mode::Refused) return onRefusedKey(key);
    const bool ctrl = key.mod & KMOD_CTRL;
    const bool shift = key.mod & KMOD_SHIFT;
    if (mode == Mode::Waypoints && (key.sym == SDLK_ESCAPE || key.sym == SDLK_w)) {
        mode = Mode::Draw;
        say(std::to_string(waypoints.size()) + " waypoint(s) for F7's solver.");
        return;
    }
    if (mode == Mode::PickTarget && key.sym == SDLK_ESCAPE) {
        mode = Mode::Draw;
        say("The portal keeps its target.");
        return;
    }
    if (ctrl) {
        switch (key.sym) {
        case SDLK_s: requestSave(); return;
        case SDLK_z: shift ? redo() : undo(); return;
        case SDLK_y: redo(); return;
        case SDLK_q: handleEvent(SDL_Event{SDL_QUIT}); return;
        case SDLK_c: copySelection(); return;
        case SDLK_x: cutSelection(); return;
        case SDLK_v: paste(); return;
        case SDLK_LEFT: shift ? resize(-1, 0, 0, 0) : resize(1, 0, 0, 0); return;
        case SDLK_RIGHT: shift ? resize(0, 0, -1, 0) : resize(0, 0, 1, 0); return;
        case SDLK_UP: shift ? resize(0, -1, 0, 0) : resize(0, 1, 0, 0); return;
        case SDLK_DOWN: shift ? resize(0, 0, 0, -1) : resize(0, 0, 0, 1); return;
        default: return;
        }
    }
    const int step = (shift ? fastScrollCells : 1) * tileSize;
    switch (key.sym) {
    case SDLK_ESCAPE: hasSelection = false; break;
    case SDLK_LEFT: viewX -= step; break;
    case SDLK_RIGHT: viewX += step; break;
    case SDLK_UP: viewY -= step; break;
    case SDLK_DOWN: viewY += step; break;
    case SDLK_g: showGrid = !showGrid; break;
    case SDLK_w:
        mode = Mode::Waypoints;
        say("Waypoints: a left click adds the next, a right click takes one away; W or "
            "Escape ends.");
        break;
    case SDLK_t: setTileSize(tileSize == 32 ? 16 : 32); break;
    case SDLK_F2:
        type("Level name", underscoresToSpaces(level.getName()), [this](const std::string& name) {
            beginChange();
            level.setName(name);
            endChange();
        });
        break;
    case SDLK_RETURN: editParameters(cursorColumn, cursorRow); break;
    case SDLK_F5: playTest(shift); break;
    case SDLK_F3: nextLook(); break;
    case SDLK_F7: startSolver(); break;
    case SDLK_F8: startDeathMap(); break;
    case SDLK_PAGEUP: selected = (selected + palette.size() - 1) % palette.size(); break;
    case SDLK_PAGEDOWN: selected = (selected + 1) % palette.size(); break;
    default: break;
    }
}

void Editor::onTypingKey(const SDL_keysym& key) {
    if (key.sym == SDLK_ESCAPE) {
        mode = Mode::Draw;
        say("Typing cancelled.");
    } else if (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) {
        mode = Mode::Draw;
        if (onTyped) onTyped(typed);
    } else if (key.sym == SDLK_BACKSPACE) {
        if (!typed.empty()) typed.pop_back();
    } else if (key.unicode >= ' ' && key.unicode < 127) {
        typed += static_cast<char>(key.unicode);
    }
}

void Editor::onQuestionKey(const SDL_keysym& key) {
    if (key.sym == SDLK_y || key.sym == SDLK_RETURN) {
        mode = Mode::Draw;
        say("");
        // The answer may ask the next question: take the action out first.
        const std::function<void()> yes = onYes;
        onYes = nullptr;
        if (yes) yes();
    } else if (key.sym == SDLK_n || key.sym == SDLK_ESCAPE) {
        mode = Mode::Draw;
        onYes = nullptr;
        say("Nothing done.");
    }
}

void Editor::cellAt(int x, int y, int& column, int& row) const {
    const int px = x + viewX;
    const int py = y + viewY;
    column = px >= 0 ? px / tileSize : (px - tileSize + 1) / tileSize;
    row = py >= 0 ? py / tileSize : (py - tileSize + 1) / tileSize;
}

void Editor::onMouseDown(const SDL_MouseButtonEvent& button) {
    if (mode == Mode::Typing || mode == Mode::Question || mode == Mode::Refused) return;
    const bool shift = SDL_GetModState() & KMOD_SHIFT;
    if (button.button == SDL_BUTTON_WHEELUP || button.button == SDL_BUTTON_WHEELDOWN) {
        if (!inMap(button.x, button.y)) {
            // Over the panel the wheel goes through the problems.
            firstProblem += button.button == SDL_BUTTON_WHEELUP ? -1 : 1;
            return;
        }
        const int delta = (button.button == SDL_BUTTON_WHEELUP ? -3 : 3) * tileSize;
        (shift ? viewX : viewY) += delta;
        return;
    }
    if (button.button == SDL_BUTTON_LEFT && overview.contains(button.x, button.y)) {
        int column = 0;
        int row = 0;
        overview.cellAt(button.x, button.y, column, row);
        scrollTo(column, row);
        dragButton = SDL_BUTTON_LEFT;
        dragOverview = true;
        return;
    }
    if (!inMap(button.x, button.y)) {
        if (button.button == SDL_BUTTON_LEFT) onPanelClick(button.x, button.y);
        return;
    }
    int column = 0;
    int row = 0;
    cellAt(button.x, button.y, column, row);
    cursorColumn = column;
    cursorRow = row;
    if (mode == Mode::PickTarget) {
        if (button.button == SDL_BUTTON_LEFT) aimPortal(column, row);
        return;
    }
    if (mode == Mode::Waypoints) return placeWaypoint(button.button, column, row);
    if (button.button == SDL_BUTTON_LEFT && (SDL_GetModState() & KMOD_CTRL)) {
        dragButton = SDL_BUTTON_LEFT;
        dragSelects = true;
        hasSelection = true;
        selection = {column, row, column, row};
        return;
    }
    if (button.button == SDL_BUTTON_MIDDLE) {
        dragButton = SDL_BUTTON_MIDDLE;
        dragX = button.x;
        dragY = button.y;
        return;
    }
    if (button.button != SDL_BUTTON_LEFT && button.button != SDL_BUTTON_RIGHT) return;
    const int value = button.button == SDL_BUTTON_LEFT ? palette.entry(selected).value : TileEmpty;
    dragButton = button.button;
    dragFills = shift;
    dragColumn = column;
    dragRow = row;
    beginChange();
    if (dragFills) return;
    paint(column, row, value);
    if (value == KindHint || value == KindPortal) {
        // One object a click: its parameters come next.
        dragButton = 0;
        endChange();
        if (level.contains(column, row)) afterPlacing(column, row);
    }
}

void Editor::onPanelClick(int x, int y) {
    const int entry = palette.entryAt(x, y);
    if (entry >= 0) {
        selected = entry;
        return;
    }
    if (x < mapWidth || y < problemsTop) return;
    // Each problem took its lines and a gap of four pixels after them.
    int top = problemsTop;
    for (size_t i = 0; i < problemLines.size(); ++i) {
        const size_t index = static_cast<size_t>(firstProblem) + i;
        if (index >= checked.problems.size()) break;
        const int bottom = top + problemLines[i] * textLine;
        const LevelProblem& problem = checked.problems[index];
        if (y >= top && y < bottom && problem.column >= 0) scrollTo(problem.column, problem.row);
        top = bottom + 4;
    }
}

void Editor::aimPortal(int column, int row) {
    mode = Mode::Draw;
    // An undo or a resize meanwhile may have taken the portal away.
    if (!level.contains(portalColumn, portalRow) ||
        level.at(portalColumn, portalRow).value != KindPortal) {
        say("The portal is gone.");
        return;
    }
    beginChange();
    level.setPortalTarget(portalColumn, portalRow, column, row);
    endChange();
    say("The portal at (" + std::to_string(portalColumn) + ", " + std::to_string(portalRow) +
        ") leads to (" + std::to_string(column) + ", " + std::to_string(row) + ").");
}

void Editor::onMouseUp(const SDL_MouseButtonEvent& button) {
    if (button.button != dragButton) return;
    if (dragOverview) {
        // Only the view moved.
    } else if (dragSelects) {
        say("Selected " + sizeOf(selection) + ": Ctrl+C copies, Ctrl+X cuts, Ctrl+V puts the "
            "clip down at the mouse.");
    } else if (dragButton != SDL_BUTTON_MIDDLE) {
        if (dragFills) {
            int column = 0;
            int row = 0;
            cellAt(button.x, button.y, column, row);
            const int value =
                dragButton == SDL_BUTTON_LEFT ? palette.entry(selected).value : TileEmpty;
            fill(dragColumn, dragRow, column, row, value);
        }
        endChange();
    }
    dragButton = 0;
    dragFills = false;
    dragSelects = false;
    dragOverview = false;
}

void Editor::onMouseMotion(const SDL_MouseMotionEvent& motion) {
    if (dragOverview) {
        int column = 0;
        int row = 0;
        overview.cellAt(motion.x, motion.y, column, row);
        return scrollTo(column, row);
    }
    if (inMap(motion.x, motion.y)) cellAt(motion.x, motion.y, cursorColumn, cursorRow);
    hovered = palette.entryAt(motion.x, motion.y);
    if (dragButton == SDL_BUTTON_MIDDLE) {
        viewX -= motion.x - dragX;
        viewY -= motion.y - dragY;
        dragX = motion.x;
        dragY = motion.y;
    } else if (dragSelects) {
        selection.column1 = cursorColumn;
        selection.row1 = cursorRow;
    } else if ((dragButton == SDL_BUTTON_LEFT || dragButton == SDL_BUTTON_RIGHT) && !dragFills &&
               inMap(motion.x, motion.y)) {
        paint(cursorColumn, cursorRow,
              dragButton == SDL_BUTTON_LEFT ? palette.entry(selected).value : TileEmpty);
    }
}

void Editor::beginChange() { before = level; }

void Editor::endChange() {
    if (level == before) return;
    history.record(before, level);
    dirty = true;
    check();
}

void Editor::paint(int column, int row, int value) {
    if (!level.contains(column, row)) return;
    // A level has one start: placing it moves it.
    if (value == TileStart) {
        for (int x = 0; x < level.getWidth(); ++x) {
            for (int y = 0; y < level.getHeight(); ++y) {
                if (level.at(x, y).value == TileStart) level.setValue(x, y, TileEmpty);
            }
        }
    }
    level.setValue(column, row, value);
}

void Editor::fill(int column0, int row0, int column1, int row1, int value) {
    for (int x = std::min(column0, column1); x <= std::max(column0, column1); ++x) {
        for (int y = std::min(row0, row1); y <= std::max(row0, row1); ++y) paint(x, y, value);
    }
}

void Editor::afterPlacing(int column, int row) { editParameters(column, row); }

void Editor::editParameters(int column, int row) {
    if (!level.contains(column, row)) return;
    const DraftCell& cell = level.at(column, row);
    if (cell.value == KindHint) {
        // Signs that name an action in braces stay true when a player rebinds it.
        type("Hint text ({Jump}, {Lay Bomb}... name keys)", cell.text, [this, column, row](const std::string& words) {
            beginChange();
            level.setHintText(column, row, words);
            endChange();
        });
    } else if (cell.value == KindPortal) {
        mode = Mode::PickTarget;
        portalColumn = column;
        portalRow = row;
        say("Click the cell the portal leads to (Escape keeps its target).");
    }
}

void Editor::undo() {
    if (history.undo(level)) {
        dirty = true;
        check();
        say("Undone.");
    } else {
        say("Nothing to undo.");
    }
}

void Editor::redo() {
    if (history.redo(level)) {
        dirty = true;
        check();
        say("Redone.");
    } else {
        say("Nothing to redo.");
    }
}

void Editor::resize(int left, int top, int right, int bottom) {
    beginChange();
    if (!level.resize(left, top, right, bottom)) {
        say("The grid stays " + std::to_string(level.getWidth()) + " by " +
            std::to_string(level.getHeight()) + ": it cannot be empty or bigger than the game "
            "loads.");
        return;
    }
    endChange();
    // The view keeps showing the same cells, and a portal being aimed stays the same one.
    viewX += left * tileSize;
    viewY += top * tileSize;
    portalColumn += left;
    portalRow += top;
    for (auto& cell : waypoints) {
        cell.first += left;
        cell.second += top;
    }
    selection.column0 += left;
    selection.column1 += left;
    selection.row0 += top;
    selection.row1 += top;
    say("The grid is " + std::to_string(level.getWidth()) + " by " +
        std::to_string(level.getHeight()) + ".");
}

void Editor::check() {
    const std::string path = scratchPath("check.lvl");
    writeWholeFile(path, levelText(level));
    // The loader talks a lot on standard output; the panel says what matters.
    std::streambuf* talk = std::cout.rdbuf();
    std::ostringstream swallowed;
    std::cout.rdbuf(swallowed.rdbuf());
    checked = checkLevelFile(path);
    std::cout.rdbuf(talk);
    const int errors = checked.errorCount();
    std::cout << "checker: " << errors << " error(s), " << checked.problems.size() - errors
              << " warning(s)" << std::endl;
}

void Editor::requestSave(const std::function<void()>& after) {
    const int errors = checked.errorCount();
    const auto saveThen = [this, after] {
        if (save() && after) after();
    };
    if (errors > 0) {
        ask("The checker finds " + std::to_string(errors) + " error(s). Save anyway? (y/n)",
            saveThen);
    } else {
        saveThen();
    }
}

bool Editor::save() {
    if (!saveLevel(options.levelPath, level)) {
        say("Could not write " + options.levelPath + ".");
        return false;
    }
    dirty = false;
    say("Saved " + options.levelPath + ".");
    std::cout << "saved " << options.levelPath << std::endl;
    return true;
}

void Editor::playTest(bool fromCursor) {
    const std::string path = scratchPath("play.lvl");
    if (!writeWholeFile(path, levelText(level))) {
        say("Could not write the level to play it.");
        return;
    }
    if (fromCursor && !level.contains(cursorColumn, cursorRow)) {
        say("The cursor is outside the grid.");
        return;
    }
    PlayTest test(screen, path, levelNumberOf(options.levelPath));
    const PlayTestResult result =
        fromCursor ? test.run(cursorColumn, cursorRow) : test.run();
    redraw = true;
    if (!result.loaded) {
        say("The game cannot load this level: see the problems.");
    } else if (result.gameOver) {
        say("Game over after " + std::to_string(result.frames) + " frames.");
    } else if (!result.reachedGoal) {
        say("Play-test left after " + std::to_string(result.frames) + " frames.");
    } else if (fromCursor) {
        say("Goal reached from the cursor's cell; only a run from the start makes a replay.");
    } else {
        std::cout << "play-test reached the goal in " << result.frames << " frames" << std::endl;
        offerReplay(result.recorder.text(options.levelPath, tileSize));
    }
}

void Editor::offerReplay(const std::string& replayText) {
    const std::string path = replayPath();
    ask("Goal reached. Save the level and the run as " + path + "? (y/n)",
        [this, path, replayText] {
            requestSave([this, path, replayText] {
                if (writeWholeFile(path, replayText)) {
                    say("Saved the level and " + path + ".");
                    std::cout << "saved " << path << std::endl;
                } else {
                    say("Could not write " + path + ".");
                }
            });
        });
}

void Editor::startSolver() {
    if (solver.isRunning()) {
        solver.stop();
        say("Solver stopped.");
        return;
    }
    if (dirty || checked.errorCount() > 0) {
        say("Save the level without errors first: the solver reads the file.");
        return;
    }
    std::vector<std::pair<int, int>> via;
    for (const auto& cell : waypoints) {
        if (level.contains(cell.first, cell.second)) via.push_back(cell);
    }
    solverLevel = levelText(level);
    if (!solver.start(options.solverPath, options.levelPath, tileSize, scratchPath("solved.replay"),
                      scratchPath("solver.log"), via)) {
        say("Could not start " + options.solverPath + ".");
        return;
    }
    say("Solver started" + (via.empty() ? std::string() : " through " + std::to_string(via.size()) +
                                                              " waypoint(s)") +
        " (F7 stops it).");
}

void Editor::placeWaypoint(int button, int column, int row) {
    if (!level.contains(column, row)) return;
    if (button == SDL_BUTTON_LEFT) {
        waypoints.push_back({column, row});
    } else if (button == SDL_BUTTON_RIGHT) {
        waypoints.erase(std::remove(waypoints.begin(), waypoints.end(), std::make_pair(column, row)),
                        waypoints.end());
    }
    say(std::to_string(waypoints.size()) + " waypoint(s); W or Escape ends.");
}

bool Editor::jobEnded(SolverJob& job) {
    if (!job.isRunning()) return false;
    // Its progress line is redrawn twice a second while it runs.
    static Uint32 lastShown = 0;
    if (SDL_GetTicks() - lastShown > 500) {
        lastShown = SDL_GetTicks();
        redraw = true;
    }
    if (!job.poll()) return false;
    redraw = true;
    return true;
}

void Editor::pollSolver() {
    if (!jobEnded(solver)) return;
    if (!solver.succeeded()) {
        say("The solver found no run: " + solver.progress());
        return;
    }
    if (levelText(level) != solverLevel) {
        say("The solver found a run, but the level has changed since: F7 again.");
        return;
    }
    std::ifstream in(solver.getOutPath());
    std::ostringstream text;
    text << in.rdbuf();
    const std::string path = replayPath();
    const std::string replayText = text.str();
    ask("The solver found a run. Save it as " + path + "? (y/n)", [this, path, replayText] {
        say(writeWholeFile(path, replayText) ? "Saved " + path + "." : "Could not write " + path + ".");
    });
}

void Editor::pollJobs() {
    pollSolver();
    pollDeathMap();
}

void Editor::startDeathMap() {
    if (people.isRunning()) {
        people.stop();
        say("Death map stopped.");
        return;
    }
    if (!deaths.empty()) {
        deaths.clear();
        say("Death map hidden.");
        return;
    }
    if (dirty || checked.errorCount() > 0) {
        say("Save the level without errors first: the people play the file.");
        return;
    }
    peopleLevel = levelText(level);
    const std::vector<std::string> args = {options.difficultyPath, "--json", "--profile", "casual",
                                           "--attempts", std::to_string(deathMapAttempts),
                                           "--tilesize", std::to_string(tileSize), "--all-deaths",
                                           "--replays", options.replayFolder, options.levelPath};
    if (!people.startCommand(args, scratchPath("people.log"), scratchPath("people.log"),
                             "people playing")) {
        say("Could not start " + options.difficultyPath + ".");
        return;
    }
    say("Casual people are playing the level (F8 stops them).");
}

namespace {

// The number after "key": in a line of JSON, or -1.
double jsonNumber(const std::string& line, const std::string& key, std::size_t from = 0) {
    const std::size_t at = line.find("\"" + key + "\": ", from);
    return at == std::string::npos ? -1 : std::atof(line.c_str() + at + key.size() + 4);
}

}  // namespace

void Editor::pollDeathMap() {
    if (!jobEnded(people)) return;
    std::ifstream in(people.getOutPath());
    std::string line, json;
    while (std::getline(in, line))
        if (line.compare(0, 1, "{") == 0) json = line;
    if (!people.succeeded() || json.empty()) {
        say("The people could not play the level: " + people.progress());
        return;
    }
    if (jsonNumber(json, "deaths_to_finish") < 0) {
        say("No run reaches the goal: nobody finishes. F7 looks for one.");
        return;
    }
    deaths.clear();
    const std::size_t list = json.find("\"deaths_at\": [");
    for (std::size_t at = json.find("{\"col\"", list); list != std::string::npos && at != std::string::npos;
         at = json.find("{\"col\"", at + 1)) {
        deaths.push_back({{static_cast<int>(jsonNumber(json, "col", at)),
                           static_cast<int>(jsonNumber(json, "row", at))},
                          static_cast<int>(jsonNumber(json, "deaths", at))});
    }
    std::ostringstream summary;
    summary.precision(2);
    summary << "Casual people: " << static_cast<int>(100 * jsonNumber(json, "goal_one_life") + 0.5)
            << " % reach the goal in one life, " << std::fixed << jsonNumber(json, "deaths_to_finish")
            << " deaths to finish, tightest press " << jsonNumber(json, "tightest_press_frames")
            << " frames; red: where they died"
            << (levelText(level) != peopleLevel ? " (before the last changes)" : "") << ". F8 hides.";
    say(summary.str());
}

void Editor::showLook() {
    shownLook = level.getLook();
    palette.loadPictures(shownLook);
    if (backdrop) SDL_FreeSurface(backdrop);
    // As the game picks it: the look's own, else by the level's number.
    backdrop = loadLookBackground(shownLook);
    if (!backdrop) backdrop = loadNumberedBackground(levelNumberOf(options.levelPath));
}

void Editor::nextLook() {
    const std::vector<std::string> looks = lookNames();
    // None, then every look by name, then none again.
    std::string next;
    for (const std::string& look : looks) {
        if (level.getLook().empty() || look > level.getLook()) {
            next = look;
            break;
        }
    }
    beginChange();
    level.setLook(next);
    endChange();
    say(next.empty() ? "No look: the default tiles and the background of the level's number."
                     : "Look " + next + ".");
}

void Editor::setTileSize(int edge) {
    viewX = viewX * edge / tileSize;
    viewY = viewY * edge / tileSize;
    tileSize = edge;
    showLook();
    loadOverviewColours();
    say("Tile size " + std::to_string(edge) + ".");
}

void Editor::scrollTo(int column, int row) {
    cursorColumn = column;
    cursorRow = row;
    viewX = column * tileSize - mapWidth / 2;
    viewY = row * tileSize - mapHeight / 2;
}

void Editor::ask(const std::string& text, const std::function<void()>& yes) {
    mode = Mode::Question;
    question = text;
    onYes = yes;
}

void Editor::type(const std::string& label, const std::string& start,
                  const std::function<void(const std::string&)>& done) {
    mode = Mode::Typing;
    typingLabel = label;
    typed = start;
    onTyped = done;
}

void Editor::say(const std::string& text) {
    message = text;
    redraw = true;
}

std::string Editor::levelStem() const {
    std::string stem = options.levelPath;
    const size_t slash = stem.find_last_of('/');
    if (slash != std::string::npos) stem.erase(0, slash + 1);
    const size_t dot = stem.find_last_of('.');
    if (dot != std::string::npos) stem.erase(dot);
    return stem;
}

std::string Editor::replayPath() const {
    return options.replayFolder + "/" + levelStem() + "-" + std::to_string(tileSize) + ".replay";
}
