#include "level/Level.h"
SDL_Rect camera = {0, 0, 0, 0};
SDL_Surface* background = nullptr;
Level::Level(int number, SDL_Surface* s) : levelNumber(number), screen(s), player(this) {}
Level::~Level() {}
bool Level::isGameOver() const { return player.isGameOver(); }
void Level::handleEvent(const SDL_Event& e) { player.handleEvent(e); }
void Level::clearCell(int, int) {}
void Level::addThing(Thing* t) { things.push_back(t); }
void Level::addShake(int n) { shake += n; }
SDL_Surface* Level::getTileImage(int) const { return nullptr; }
