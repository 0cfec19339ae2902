#include "player/Player.h"
int animTick = 0;
int animStep = 0;
Player::Player(Level* owner) : Thing(), level(owner), jumpSpeed(0), springSpeed(0), walkAccel(0), friction(0), gravity(0), maxRunSpeed(0), maxFallSpeed(0) {}
Player::~Player() {}
void Player::handleEvent(const SDL_Event&) {}
void Player::update(Grid&, const ThingList&) {}
void Player::draw(SDL_Surface*, const SDL_Rect*) {}
void Player::setStart(int, int) {}
void Player::setPosition(int, int) {}
bool Player::blockedByGrid(const Grid&, int, int) const { return false; }
void Player::moveAxis(Grid&, const ThingList&, bool) {}
void Player::land() {}
