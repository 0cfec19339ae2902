#include "things/Enemy.h"
Enemy::Enemy(int col, int row) : Thing(col, row) {}
void Enemy::update(const Grid&, const ThingList&) {}
void Enemy::draw(SDL_Surface*, const SDL_Rect*) {}
int Enemy::touch(Player*) { return 0; }
bool Enemy::blocked(const Grid&) const { return false; }
void Enemy::kill() { dead = true; }
bool Enemy::isVulnerable(int, int) const { return false; }
bool Enemy::blockedBox(const Grid&, int, int) const { return false; }
