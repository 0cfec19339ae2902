#pragma once

// Finding the game's data when the game is started outside its folder.
//
// The game reads everything from data/ in its working directory. Started from
// anywhere else (a file manager, another shell folder), it moves into the
// folder that holds the data before it opens anything: the tree the binary was
// built from, found beside the executable or named when it was built.

// True when the working directory holds the menu level, or after changing
// into the first folder that does. False, with one line on standard error
// naming every place looked at, when none does.
bool enterDataFolder();
