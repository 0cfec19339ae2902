#pragma once

#include <string>

// Sign texts name actions, not keys, so they stay true after rebinding: a
// caption in braces, such as "{Jump}" or "{Lay Bomb}", stands for the keys
// that do it now.

// What the player presses for an action (a UserKey), as a sign says it: the
// key bound to it, the first fixed key that stands for it and the pad button
// bound to it while a pad is open, apart by slashes ("[4]/Space", "E/Pad 1").
std::string actionKeysName(int action);

// The text with every "{Caption}" of an action replaced by actionKeysName;
// anything else in braces stays as written.
std::string nameActions(const std::string& text);
