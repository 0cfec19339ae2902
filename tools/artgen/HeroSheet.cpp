#include "tools/artgen/HeroSheet.h"

#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

constexpr int cell = 16;       // pixels of one sheet cell at 16 pixels a tile
constexpr int walkFrames = 3;  // standing, stepping, stepping

// Overlay name prefix per status; Normal wears nothing.
const char* const statusOverlay[heroStatuses] = {"", "rubber", "beret", "fuse", "hat", "shades"};
// Curdo is a lump of another shape, so it has overlays of its own.
const char* const formShape[heroForms] = {"curdo", "hero", "hero"};

// Reads pairs of grid characters, "from to" a line, into a colour swap table.
bool readColourSwaps(const ArtSource& art, const std::string& path,
                     std::vector<std::pair<Colour, Colour>>& table, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream fields(line);
        std::string from, to;
        if (!(fields >> from) || from[0] == '#') continue;
        fields >> to;
        Colour a = 0, b = 0;
        if (from.size() != 1 || to.size() != 1 || !art.colourOf(from[0], a) ||
            !art.colourOf(to[0], b)) {
            error = path + ":" + std::to_string(number) + ": expected two palette characters";
            return false;
        }
        table.emplace_back(a, b);
    }
    return true;
}

bool formBody(ArtSource& art, int form, Picture& out, std::string& error) {
    if (form == 2 && !art.hasGrid("body_goto", cell)) {
        const Picture* hero = art.grid("body_hero", cell, error);
        if (!hero) return false;
        std::vector<std::pair<Colour, Colour>> swaps;
        if (!readColourSwaps(art, art.folder() + "/goto-colours.txt", swaps, error)) return false;
        out = hero->recoloured(swaps);
        return true;
    }
    const std::string name = form == 0 ? "body_curdo" : form == 1 ? "body_hero" : "body_goto";
    const Picture* body = art.grid(name, cell, error);
    if (!body) return false;
    if (body->width() != walkFrames * cell || body->height() != cell) {
        error = name + " must be " + std::to_string(walkFrames * cell) + " by " +
                std::to_string(cell);
        return false;
    }
    out = *body;
    return true;
}

}  // namespace

bool composeHeroSheet(ArtSource& art, Picture& out, std::string& error) {
    out = Picture(4 * heroForms * cell, heroStatuses * cell);
    for (int form = 0; form < heroForms; ++form) {
        Picture body;
        if (!formBody(art, form, body, error)) return false;
        const int standTop = body.crop(0, 0, cell, cell).topRow();
        for (int status = 0; status < heroStatuses; ++status) {
            const Picture* overlay = nullptr;
            if (status > 0) {
                overlay = art.grid(std::string(statusOverlay[status]) + "_" + formShape[form],
                                   cell, error);
                if (!overlay) return false;
            }
            for (int frame = 0; frame < walkFrames; ++frame) {
                Picture sprite = body.crop(frame * cell, 0, cell, cell);
                // The accessory rides up and down with the head while walking.
                const int bob = sprite.topRow() - standTop;
                if (overlay) sprite.drawOver(*overlay, 0, bob);
                out.drawOver(sprite, (4 * form + frame) * cell, status * cell);
            }
        }
    }
    const Picture* key = art.grid("key", cell, error);
    if (!key) return false;
    const Picture* bomb = art.grid("bomb", cell, error);
    if (!bomb) return false;
    out.drawOver(*key, 3 * cell, 0);
    out.drawOver(*bomb, 3 * cell, cell);
    return true;
}
