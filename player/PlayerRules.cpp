#include "player/Player.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "media/Images.h"
#include "media/Sound.h"
#include "media/Text.h"
#include "menus/Settings.h"
#include "media/Geometry.h"

#include <cstring>
#include <iostream>

namespace {

// The effects belong to the one Player alive; slots follow PlayerSound.
Mix_Chunk* sounds[playerSoundCount] = {};
int livePlayers = 0;  // the slots are freed when the last Player goes
const char* const soundNames[playerSoundCount] = {
    "curdobloom", "getkey", "jump",    "jumphigh", "splat",      "bounce",  "getlife",
    "coughing",   "opendoor", "jump", "pierre",   "prost", "sunglasses", "caflady",
};

const char* const statusNames[] = {"Normal", "Rubber", "French", "Terrorist", "German", "Shaded"};
constexpr int statusNameCount = sizeof statusNames / sizeof statusNames[0];
const char* const formNames[] = {"Curdo", "Normal", "Goto"};
constexpr int formNameCount = sizeof formNames / sizeof formNames[0];

constexpr int blastReach = 2;        // pixels around the blast point that kill
constexpr int lineHeight = 16;       // pixels per status line
constexpr int iconColumn = 3;        // sheet column of the key and bomb icons
constexpr int keyIconRow = 0;
constexpr int bombIconRow = 1;
constexpr Uint8 iconAlpha = 128;     // icons are drawn half transparent
constexpr SDL_Color textColour = {0, 0, 0, 0};

const char* const formPrefix = "Form: ";
const char* const statusPrefix = "Status: ";

// Whether shown reads prefix followed by name.
bool showsLine(const std::string& shown, const char* prefix, const char* name) {
    const std::size_t prefixLength = std::strlen(prefix);
    return shown.size() == prefixLength + std::strlen(name) &&
           shown.compare(0, prefixLength, prefix) == 0 &&
           shown.compare(prefixLength, std::string::npos, name) == 0;
}

SDL_Rect iconSource(int row) {
    const int t = tileSize;
    SDL_Rect source;
    source.x = wrap16(iconColumn * t);
    source.y = wrap16(row * t);
    source.w = static_cast<Uint16>(t);
    source.h = static_cast<Uint16>(t);
    return source;
}

}  // namespace

Mix_Chunk* playerSoundChunk(int slot) {
    return slot >= 0 && slot < playerSoundCount ? sounds[slot] : nullptr;
}

void Player::loadSounds() {
    ++livePlayers;
    for (int i = 0; i < playerSoundCount; ++i) {
        // A second Player alive at once takes the slots over rather than leak them.
        if (sounds[i]) Mix_FreeChunk(sounds[i]);
        sounds[i] = loadSound(soundNames[i]);
    }
}

void Player::freeSounds() {
    // A Player outlived by a newer one leaves it its effects.
    if (--livePlayers > 0) return;
    for (Mix_Chunk*& chunk : sounds) {
        if (chunk) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
}

void Player::playSound(int slot) {
    lastSound = slot;
    ++soundsPlayed;
    playChunk(playerSoundChunk(slot));
}

void Player::playCough() { playSound(SoundCough); }

void Player::changeStatus(int newStatus, int soundSlot) {
    if (status != newStatus && soundSlot != noSound) playSound(soundSlot);
    status = newStatus;
}

// Sideways steps matter to no tile here; spikes and stalactites look at dy only.
void Player::touchTile(Grid& grid, int value, int col, int row, int /*dx*/, int dy) {
    switch (value) {
    case TileSpikes:
    case TileStalag:
        if (dy == tileInfo(value).deadlyStep) die();
        break;
    case TileSpring:
        if (dy == 1) {
            vy = -springSpeed;
            playSound(SoundBounce);
        }
        break;
    case TileCaflady:
        changeStatus(StatusRubber, SoundRubber);
        break;
    case TileKey:
        ++keys;
        level->clearCell(col, row);
        playSound(SoundKey);
        break;
    case TileGoal:
        flags[LevelDone] = true;
        break;
    case TileShades:
        changeStatus(StatusShaded, SoundShaded);
        break;
    case TilePierre:
        changeStatus(StatusFrench, SoundFrench);
        break;
    case TileToggletime:
        // Every second touch does nothing, so a toggle is not undone by the
        // next pixel step over a neighbouring toggletime.
        if (flags[ToggleLatch]) {
            flags[ToggleLatch] = false;
        } else {
            flags[ToggleLatch] = true;
            form = form == FormCurdo ? FormNormal : FormCurdo;
            level->clearCell(col, row);
        }
        break;
    case TileBomb:
        if (status == StatusTerrorist) {
            ++bombs;
            level->clearCell(col, row);
        }
        break;
    case TileAhmed:
        changeStatus(StatusTerrorist, noSound);
        break;
    case TileHans:
        changeStatus(StatusGerman, SoundGerman);
        break;
    case TileAlphorn:
        level->clearCell(col, row);
        break;
    case TileGoto:
        form = FormGoto;
        level->clearCell(col, row);
        break;
    case TileCurdotree:
        respawnX = wrap16(col * tileSize);
        respawnY = wrap16(row * tileSize);
        grid[col][row] = TileCurdotreeSprouted;
        playSound(SoundBloom);
        break;
    default:
        break;
    }
}

void Player::die() {
    std::cout << "You died. WTF?" << std::endl;
    --lives;
    rect.x = respawnX;
    rect.y = respawnY;
    // A hero that came back moving would slide into the same danger again
    // with no key pressed.
    vx = 0;
    vy = 0;
    if (lives < 0) flags[GameOver] = true;
}

int Player::onExplosion(int x, int y) {
    playSound(SoundBlast);
    SDL_Rect blast;
    blast.x = wrap16(x - blastReach);
    blast.y = wrap16(y - blastReach);
    blast.w = 2 * blastReach + 1;
    blast.h = 2 * blastReach + 1;
    if (overlaps(rect, blast)) die();
    return 0;
}

bool Player::takeHintRequest() { return takeFlag(HintRequest); }

bool Player::useKey() {
    if (keys <= 0) return false;
    --keys;
    return true;
}

bool Player::takeFlag(int index) {
    const bool value = flags[index];
    flags[index] = false;
    return value;
}

void Player::setFlag(int index) { flags[index] = true; }

void Player::refreshLine(SDL_Surface*& surface, std::string& shown, const std::string& text,
                         int width) {
    // A line that failed to render is tried again next frame.
    if (surface && text == shown) return;
    if (surface) SDL_FreeSurface(surface);
    surface = renderFittedText(text, textColour, width, lineHeight);
    shown = text;
    ++textRenders;
}

void Player::drawStatus(SDL_Surface* screen) {
    const int t = tileSize;
    for (int i = 1; i <= bombs; ++i) {
        SDL_Rect source = iconSource(bombIconRow);
        drawSurface(wrap16(screen->w - i * t), 0, image, screen, &source, iconAlpha);
    }
    for (int i = 1; i <= keys; ++i) {
        SDL_Rect source = iconSource(keyIconRow);
        drawSurface(wrap16(screen->w - i * t), wrap16(t), image, screen, &source, iconAlpha);
    }

    if (!livesText || lives != livesTextValue) {
        if (livesText) SDL_FreeSurface(livesText);
        livesText = renderFittedText("Lives: " + intToString(lives), textColour, screen->w,
                                     lineHeight);
        livesTextValue = lives;
        ++textRenders;
    }
    drawSurface(0, 0, livesText, screen, nullptr, 255);

    // The lines are compared in place: building them every frame would cost
    // a heap allocation for the longer ones ("Status: Terrorist").
    const char* formName = form == FormNormal ? "Normal" : "Curdo";
    if (!formText || !showsLine(formTextShown, formPrefix, formName)) {
        refreshLine(formText, formTextShown, std::string(formPrefix) + formName, screen->w);
    }
    drawSurface(0, lineHeight, formText, screen, nullptr, 255);

    const char* shownStatus = status >= 0 && status < statusNameCount ? statusNames[status] : "";
    if (!statusText || !showsLine(statusTextShown, statusPrefix, shownStatus)) {
        refreshLine(statusText, statusTextShown, std::string(statusPrefix) + shownStatus,
                    screen->w);
    }
    drawSurface(0, 2 * lineHeight, statusText, screen, nullptr, 255);
}

const char* statusName(int status) {
    return status >= 0 && status < statusNameCount ? statusNames[status] : "?";
}

const char* formName(int form) {
    return form >= 0 && form < formNameCount ? formNames[form] : "?";
}
