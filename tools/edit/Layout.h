#pragma once

// Where the editor's window puts its parts, in window pixels. The window is
// big enough for the game's own view at tile size 32 (640 by 480), which a
// play-test draws in its top-left corner.
constexpr int editorWidth = 960;
constexpr int editorHeight = 640;
constexpr int sideWidth = 240;                     // the palette and the problems, on the right
constexpr int statusHeight = 72;                   // four lines under the map
constexpr int mapWidth = editorWidth - sideWidth;  // the level's view
constexpr int overviewHeight = 64;                 // the whole level, small, under the map
constexpr int mapHeight = editorHeight - statusHeight - overviewHeight;
constexpr int statusTop = mapHeight + overviewHeight;
constexpr int paletteLeft = mapWidth + 12;
constexpr int paletteTop = 8;
constexpr int paletteCell = 36;    // one palette square; a 32 or 16 pixel image in the middle
constexpr int paletteColumns = 6;
constexpr int textLine = 16;       // a line of the editor's own text
constexpr int textPoints = 12;     // its font size
