#include "tools/edit/Editor.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/ActionNames.h"
#include "menus/Settings.h"
#include "shell/Game.h"
#include "tools/common/Replay.h"
#include "tools/edit/EditorText.h"
#include "tools/edit/Layout.h"

#include <algorithm>

namespace {

constexpr Uint32 panelColour = 0x202830;     // the side panel and the status lines
constexpr Uint32 outsideColour = 0x101010;   // the map beyond the grid
constexpr Uint32 gridColour = 0x000000;      // the grid overlay's lines
constexpr Uint32 edgeColour = 0xFFFFFF;      // the grid's border
constexpr Uint32 cursorColour = 0xFFE000;    // the cell under the mouse, the chosen entry
constexpr Uint32 fillColour = 0x00E0FF;      // a rectangle being filled
constexpr Uint32 targetColour = 0xFF40FF;    // where a portal leads
constexpr Uint32 selectionColour = 0x40FF80; // what Ctrl+C and Ctrl+X take
constexpr Uint32 pasteColour = 0x8090FF;     // where Ctrl+V would put the clip
constexpr Uint32 waypointColour = 0xFF9020;  // the solver's waypoints, numbered
constexpr Uint32 deathColour = 0xFF2020;     // where simulated people died, bigger for more
constexpr Uint32 errorColour = 0xFF8080;
constexpr Uint32 warningColour = 0xFFD080;
constexpr Uint32 helpColour = 0xA0A8B0;
constexpr int backdropParallax = 6;          // the background moves a sixth as fast as the view

void fillBox(SDL_Surface* screen, int x, int y, int w, int h, Uint32 colour) {
    if (w <= 0 || h <= 0) return;
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
    SDL_FillRect(screen, &r, colour);
}

void outline(SDL_Surface* screen, int x, int y, int w, int h, Uint32 colour) {
    fillBox(screen, x, y, w, 2, colour);
    fillBox(screen, x, y + h - 2, w, 2, colour);
    fillBox(screen, x, y, 2, h, colour);
    fillBox(screen, x + w - 2, y, 2, h, colour);
}

// The part of text that fits in width pixels.
std::string clipped(const std::string& text, int width) {
    std::string shown = text;
    while (!shown.empty() && editorTextWidth(shown) > width) shown.pop_back();
    return shown;
}

// "1 error", "3 errors".
std::string counted(int n, const std::string& what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

std::string nameOf(int value) {
    if (const TileInfo* tile = findTile(value)) return tile->name;
    if (const KindInfo* kind = findKind(value)) return kind->name;
    return "nothing";
}

}  // namespace

void Editor::draw() {
    // The title says what a window list shows: which file, and whether it is saved.
    const std::string title = "curdovar-edit: " + options.levelPath + (dirty ? " *" : "");
    if (title != caption) {
        caption = title;
        SDL_WM_SetCaption(caption.c_str(), nullptr);
    }
    // An undo or redo may have brought another look back.
    if (level.getLook() != shownLook) showLook();
    SDL_SetClipRect(screen, nullptr);
    drawMap();
    SDL_SetClipRect(screen, nullptr);
    overview.draw(screen, level, viewX, viewY, tileSize);
    drawSide();
    drawStatus();
}

void Editor::drawMap() {
    SDL_Rect map = {0, 0, mapWidth, mapHeight};
    SDL_SetClipRect(screen, &map);
    SDL_FillRect(screen, &map, outsideColour);
    const int t = tileSize;
    const SDL_Color sky = backgroundColour(levelNumberOf(options.levelPath));
    fillBox(screen, -viewX, -viewY, level.getWidth() * t, level.getHeight() * t,
            SDL_MapRGB(screen->format, sky.r, sky.g, sky.b));
    if (backdrop && backdrop->w > 0 && backdrop->h > 0) {
        // Tiled over the grid, moving a sixth as fast as the view as in the game.
        SDL_Rect grid = {static_cast<Sint16>(std::max(0, -viewX)),
                         static_cast<Sint16>(std::max(0, -viewY)), 0, 0};
        const int right = std::min(mapWidth, level.getWidth() * t - viewX);
        const int bottom = std::min(mapHeight, level.getHeight() * t - viewY);
        grid.w = static_cast<Uint16>(std::max(0, right - grid.x));
        grid.h = static_cast<Uint16>(std::max(0, bottom - grid.y));
        SDL_SetClipRect(screen, &grid);
        const int startX = -((viewX / backdropParallax) % backdrop->w + backdrop->w) % backdrop->w;
        const int startY = -((viewY / backdropParallax) % backdrop->h + backdrop->h) % backdrop->h;
        for (int x = startX; x < mapWidth; x += backdrop->w) {
            for (int y = startY; y < mapHeight; y += backdrop->h)
                drawSurface(static_cast<Sint16>(x), static_cast<Sint16>(y), backdrop, screen,
                            nullptr, 255);
        }
        SDL_SetClipRect(screen, &map);
    }
    const int firstColumn = std::max(0, viewX / t - 1);
    const int firstRow = std::max(0, viewY / t - 1);
    const int lastColumn = std::min(level.getWidth() - 1, (viewX + mapWidth) / t);
    const int lastRow = std::min(level.getHeight() - 1, (viewY + mapHeight) / t);
    for (int x = firstColumn; x <= lastColumn; ++x) {
        for (int y = firstRow; y <= lastRow; ++y) {
            // Empty cells stay plain in the map; the palette's eraser marks them.
            const int value = level.at(x, y).value;
            if (value != TileEmpty) palette.drawCell(screen, value, x * t - viewX, y * t - viewY);
        }
    }
    if (showGrid) {
        for (int x = firstColumn; x <= lastColumn + 1; ++x)
            fillBox(screen, x * t - viewX, firstRow * t - viewY, 1, (lastRow - firstRow + 2) * t,
                    gridColour);
        for (int y = firstRow; y <= lastRow + 1; ++y)
            fillBox(screen, firstColumn * t - viewX, y * t - viewY,
                    (lastColumn - firstColumn + 2) * t, 1, gridColour);
    }
    outline(screen, -viewX - 2, -viewY - 2, level.getWidth() * t + 4, level.getHeight() * t + 4,
            edgeColour);
    if (mode != Mode::Refused) return drawMarks();
    drawEditorText(screen, 16, 16, "The game cannot load this file; the checker says why.",
                   errorColour);
    drawEditorText(screen, 16, 16 + textLine,
                   "Ctrl+N starts a new level in its place, Ctrl+Q quits.", errorColour);
}

void Editor::loadOverviewColours() {
    overview.loadColours(screen, palette, backgroundColour(levelNumberOf(options.levelPath)),
                         backdrop);
}

void Editor::drawMarks() {
    const int t = tileSize;
    int most = 1;
    for (const auto& [cell, count] : deaths) most = std::max(most, count);
    for (const auto& [cell, count] : deaths) {
        const int edge = t / 4 + (t - t / 4) * count / most;
        const int x = cell.first * t - viewX + (t - edge) / 2, y = cell.second * t - viewY + (t - edge) / 2;
        fillBox(screen, x, y, edge, edge, deathColour);
        outline(screen, x, y, edge, edge, edgeColour);
    }
    // Where the portal under the cursor (or the one being aimed) leads.
    int pc = cursorColumn;
    int pr = cursorRow;
    if (mode == Mode::PickTarget) {
        pc = portalColumn;
        pr = portalRow;
    }
    if (level.contains(pc, pr) && level.at(pc, pr).value == KindPortal) {
        const DraftCell& portal = level.at(pc, pr);
        outline(screen, portal.targetColumn * t - viewX, portal.targetRow * t - viewY, t, t,
                targetColour);
    }
    if (dragFills && dragButton != 0) {
        const int x0 = std::min(dragColumn, cursorColumn);
        const int y0 = std::min(dragRow, cursorRow);
        const int w = std::abs(dragColumn - cursorColumn) + 1;
        const int h = std::abs(dragRow - cursorRow) + 1;
        outline(screen, x0 * t - viewX, y0 * t - viewY, w * t, h * t, fillColour);
    }
    if (hasSelection)
        outline(screen, selection.left() * t - viewX, selection.top() * t - viewY,
                selection.width() * t, selection.height() * t, selectionColour);
    if (!clip.empty() && (SDL_GetModState() & KMOD_CTRL))
        outline(screen, cursorColumn * t - viewX + 2, cursorRow * t - viewY + 2,
                clip.getWidth() * t - 4, clip.getHeight() * t - 4, pasteColour);
    for (size_t i = 0; i < waypoints.size(); ++i) {
        const int x = waypoints[i].first * t - viewX;
        const int y = waypoints[i].second * t - viewY;
        const std::string number = std::to_string(i + 1);
        outline(screen, x + 1, y + 1, t - 2, t - 2, waypointColour);
        // On a dark tab, so the number reads over any tile.
        fillBox(screen, x + 3, y + 3, editorTextWidth(number) + 4, textLine - 2, gridColour);
        drawEditorText(screen, x + 5, y + 2, number, waypointColour);
    }
    outline(screen, cursorColumn * t - viewX, cursorRow * t - viewY, t, t, cursorColour);
}

void Editor::drawSide() {
    fillBox(screen, mapWidth, 0, sideWidth, editorHeight, panelColour);
    for (int i = 0; i < palette.size(); ++i) {
        const SDL_Rect square = palette.square(i);
        const int inset = (paletteCell - tileSize) / 2;
        fillBox(screen, square.x + 1, square.y + 1, paletteCell - 2, paletteCell - 2, 0x485058);
        SDL_Rect clip = {static_cast<Sint16>(square.x + 2), static_cast<Sint16>(square.y + 2),
                         paletteCell - 4, paletteCell - 4};
        SDL_SetClipRect(screen, &clip);
        palette.drawCell(screen, palette.entry(i).value, square.x + std::max(2, inset),
                         square.y + std::max(2, inset));
        SDL_SetClipRect(screen, nullptr);
        if (i == selected)
            outline(screen, square.x, square.y, paletteCell, paletteCell, cursorColour);
    }
    int y = palette.bottom() + 4;
    const PaletteEntry& chosen = palette.entry(selected);
    drawEditorText(screen, paletteLeft, y,
                   "Paint: " + std::string(chosen.name) + " (" + std::to_string(chosen.value) + ")",
                   cursorColour);
    y += textLine;
    if (hovered >= 0) {
        const PaletteEntry& under = palette.entry(hovered);
        drawEditorText(screen, paletteLeft, y,
                       std::string(under.name) + " (" + std::to_string(under.value) + ")");
    }
    y += textLine + 8;
    int errors = 0;
    int warnings = 0;
    for (const LevelProblem& p : checked.problems)
        (p.severity == LevelProblem::Error ? errors : warnings) += 1;
    drawEditorText(screen, paletteLeft, y,
                   errors + warnings == 0
                       ? "Checker: no problems"
                       : "Checker: " + counted(errors, "error") + ", " +
                             counted(warnings, "warning"),
                   errors ? errorColour : (warnings ? warningColour : 0x80FF80));
    y += textLine + 4;
    problemsTop = y;
    problemLines.clear();
    const int problemCount = static_cast<int>(checked.problems.size());
    firstProblem = std::max(0, std::min(firstProblem, problemCount - 1));
    if (firstProblem > 0) {
        drawEditorText(screen, paletteLeft, y, "(" + std::to_string(firstProblem) +
                                                   " above; the wheel scrolls)", helpColour);
        y += textLine;
        problemsTop = y;
    }
    for (int i = firstProblem; i < problemCount; ++i) {
        const LevelProblem& p = checked.problems[i];
        if (y + textLine > editorHeight) break;
        const std::string line = p.column >= 0 ? std::to_string(p.column) + "," +
                                                     std::to_string(p.row) + ": " + p.message
                                               : p.message;
        // Long messages wrap at blanks; a click on any of their lines jumps.
        std::string rest = line;
        int lines = 0;
        while (!rest.empty() && y + textLine <= editorHeight) {
            std::string part = clipped(rest, sideWidth - 16);
            if (part.size() < rest.size()) {
                const size_t blank = part.find_last_of(' ');
                if (blank != std::string::npos && blank > 0) part.erase(blank + 1);
            }
            if (part.empty()) break;
            drawEditorText(screen, paletteLeft + (lines ? 8 : 0), y, part,
                           p.severity == LevelProblem::Error ? errorColour : warningColour);
            rest.erase(0, part.size());
            y += textLine;
            ++lines;
        }
        problemLines.push_back(lines);
        y += 4;
    }
}

void Editor::drawStatus() {
    fillBox(screen, 0, statusTop, mapWidth, statusHeight, panelColour);
    std::string where = "(" + std::to_string(cursorColumn) + ", " + std::to_string(cursorRow) + ")";
    if (level.contains(cursorColumn, cursorRow)) {
        const DraftCell& cell = level.at(cursorColumn, cursorRow);
        where += " " + nameOf(cell.value);
        if (cell.value == KindHint) {
            where += ": \"" + cell.text + "\"";
            const std::string shown = nameActions(cell.text);
            if (shown != cell.text) where += " reads \"" + shown + "\"";
        }
        if (cell.value == KindPortal)
            where += " to (" + std::to_string(cell.targetColumn) + ", " +
                     std::to_string(cell.targetRow) + ")";
    }
    const std::string line1 = options.levelPath + (dirty ? " *" : "") + "  \"" +
                              underscoresToSpaces(level.getName()) + "\"  " +
                              (level.getLook().empty() ? "" : "look " + level.getLook() + "  ") +
                              std::to_string(level.getWidth()) + "x" +
                              std::to_string(level.getHeight()) + "  tile " +
                              std::to_string(tileSize) + "  cell " + where;
    drawEditorText(screen, 8, statusTop + 6, clipped(line1, mapWidth - 16));
    std::string line2;
    Uint32 colour = helpColour;
    if (mode == Mode::Typing) {
        line2 = typingLabel + ": " + typed + "_   (Enter keeps it, Escape cancels)";
        colour = cursorColour;
    } else if (mode == Mode::Question) {
        line2 = question;
        colour = cursorColour;
    } else if (solver.isRunning()) {
        line2 = solver.progress();
        colour = fillColour;
    } else if (people.isRunning()) {
        line2 = people.progress();
        colour = fillColour;
    } else if (!message.empty()) {
        line2 = message;
        colour = 0xFFFFFF;
    }
    drawEditorText(screen, 8, statusTop + 6 + textLine + 2, clipped(line2, mapWidth - 16), colour);
    drawEditorText(screen, 8, statusTop + 6 + 2 * textLine + 6,
                   "Left paints, right erases, Shift+drag fills, Ctrl+drag selects (Ctrl+C/X/V), "
                   "middle drag scrolls. F5 play  F3 look", helpColour);
    drawEditorText(screen, 8, statusTop + 6 + 3 * textLine + 6,
                   "Ctrl+S save  Ctrl+Z/Y undo/redo  Ctrl+arrow grow (Shift: shrink)  Enter "
                   "hint/portal  F2 name  F7 solve (W waypoints)  F8 deaths  T size  G grid", helpColour);
}
