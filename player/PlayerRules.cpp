#include "player/Player.h"
void Player::die() {}
int Player::onExplosion(int, int) { return 0; }
void Player::playCough() {}
bool Player::takeHintRequest() { return false; }
bool Player::useKey() { return false; }
bool Player::takeFlag(int) { return false; }
void Player::setFlag(int) {}
void Player::drawStatus(SDL_Surface*) {}
void Player::touchTile(Grid&, int, int, int, int, int) {}
void Player::changeStatus(int, int) {}
void Player::playSound(int) {}
