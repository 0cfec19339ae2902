#include "menus/MessageBox.h"
void showMessage(const std::string&, SDL_Surface*) {}
void releaseMessageOverlay() {}
SDL_Surface* messageOverlay() { return nullptr; }
