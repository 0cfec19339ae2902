#pragma once

#include "tools/artgen/ArtSource.h"
#include "tools/artgen/Picture.h"

#include <string>

// The hero's sheet "us" at 16 pixels: 12 by 6 cells. Column group 4×form
// holds a form (0 Curdo, 1 Normal, 2 Goto), the row is the status (0 Normal,
// 1 Rubber, 2 French, 3 Terrorist, 4 German, 5 Shaded), columns 0 to 2 of a
// group are the walk frames. Column 3 holds the key icon (row 0) and the bomb
// icon (row 1) of group 0 and is clear elsewhere.
//
// Sources: body_curdo and body_hero (three frames each), body_goto or else
// body_hero recoloured by goto-colours.txt, one overlay per status and shape
// (rubber_hero, beret_curdo, ...) that follows the body's bob from frame to
// frame, and the key and bomb tiles for the icons.
bool composeHeroSheet(ArtSource& art, Picture& out, std::string& error);

constexpr int heroForms = 3;
constexpr int heroStatuses = 6;
