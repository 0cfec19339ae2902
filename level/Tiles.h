#pragma once

// What every cell value of a level file means, in one place: the Player's
// rules, the enemies, the drawing, the loader, the checker and the tools all
// read these tables, so a tile or a kind changes here and nowhere else.

// Cell values 0 to 26: tiles of the grid.
enum TileValue : int {
    TileEmpty = 0,
    TileWall = 1,
    TileSpikes = 2,
    TileSpring = 3,
    TileStart = 4,  // the Player's starting cell; empty in play
    TileCaflady = 5,
    TileKey = 6,
    TileGoal = 7,
    TileShades = 8,
    TilePierre = 9,
    TilePlatform = 10,
    TileToggletime = 11,
    TileStalag = 12,
    TileHiddenWall = 13,
    TileStopper = 14,  // stops enemies, invisible
    TileFlame = 15,
    TileBomb = 16,
    TileCrackableWall = 17,
    TileAhmed = 18,
    TileHans = 19,
    TileAlphorn = 20,
    TileFakeWall = 21,
    TileGoto = 24,
    TileCurdotree = 25,
    TileCurdotreeSprouted = 26,
};
constexpr int lastTileValue = 26;  // values above are object kinds (or nothing)

// Cell values 28 to 40: objects, built by the factory from the kind.
enum ObjectKind : int {
    KindHint = 28,
    KindPortal = 29,
    KindZipper = 30,
    KindChomper = 31,
    KindFlapper = 32,
    KindBlobber = 33,
    KindDoor = 34,
    KindMilk = 35,
    KindMaimframe = 36,
    KindCrab = 37,
    KindMenuOptions = 38,
    KindMenuControls = 39,
    KindMenuContinue = 40,
};
constexpr int firstKind = KindHint;
constexpr int lastKind = KindMenuContinue;

// How a tile stops the Player's pixel steps.
enum class PlayerBlock {
    Open,     // never
    Solid,    // from every side
    Sides,    // only at its left and right edges, for a sideways step
    FromTop,  // only for a step down onto its top row
};

// How a tile is drawn.
enum class Shown {
    Always,
    InShades,            // only while the Player wears shades
    AsWallUnlessShaded,  // as a plain wall, and as itself in shades
};

struct TileInfo {
    int value;
    const char* image;        // the tile image's name; "" for none
    PlayerBlock playerBlock;  // how it stops the Player
    bool stopsEnemies;        // walkers turn and fliers bounce at it
    bool crackable;           // a blast around it clears it
    int deadlyStep;           // kills the Player stepping this way (1 down, -1 up); 0 never
    Shown shown;
    const char* name = "";  // what the editor's palette calls it
};

// Every tile, the ones with images in the order the game loads them.
constexpr TileInfo tileTable[] = {
    {TileWall, "wall", PlayerBlock::Solid, true, false, 0, Shown::Always, "Wall"},
    {TileSpikes, "spikes", PlayerBlock::Open, false, false, 1, Shown::Always, "Spikes"},
    {TileSpring, "spring", PlayerBlock::Sides, false, false, 0, Shown::Always, "Spring"},
    {TileCaflady, "caflady", PlayerBlock::Open, false, false, 0, Shown::Always, "Caflady (Rubber)"},
    {TileKey, "key", PlayerBlock::Open, false, false, 0, Shown::Always, "Key"},
    {TileGoal, "goal", PlayerBlock::Open, false, false, 0, Shown::Always, "Goal"},
    {TileShades, "shades", PlayerBlock::Open, false, false, 0, Shown::Always, "Shades"},
    {TilePierre, "pierre", PlayerBlock::Open, false, false, 0, Shown::Always, "Pierre (French)"},
    {TileStalag, "stalag", PlayerBlock::Open, false, false, -1, Shown::Always, "Stalactite"},
    {TileHiddenWall, "iwall", PlayerBlock::Solid, false, false, 0, Shown::InShades, "Hidden wall"},
    {TileBomb, "bomb", PlayerBlock::Open, false, false, 0, Shown::Always, "Bomb"},
    {TileCrackableWall, "cwall", PlayerBlock::Solid, true, true, 0, Shown::Always, "Cracked wall"},
    {TileAhmed, "ahmed", PlayerBlock::Open, false, false, 0, Shown::Always, "Ahmed (Terrorist)"},
    {TileHans, "hans", PlayerBlock::Open, false, false, 0, Shown::Always, "Hans (German)"},
    {TileAlphorn, "alphorn", PlayerBlock::Open, false, false, 0, Shown::Always, "Alphorn"},
    {TileToggletime, "toggletime", PlayerBlock::Open, false, false, 0, Shown::Always, "Toggletime"},
    {TileFlame, "flame", PlayerBlock::Open, false, false, 0, Shown::Always, "Flame"},
    {TilePlatform, "platform", PlayerBlock::FromTop, false, false, 0, Shown::Always, "Platform"},
    {TileFakeWall, "fwall", PlayerBlock::Open, false, false, 0, Shown::AsWallUnlessShaded,
     "Fake wall"},
    {TileGoto, "goto", PlayerBlock::Open, false, false, 0, Shown::Always, "Goto"},
    {TileCurdotree, "curdotree", PlayerBlock::Open, false, false, 0, Shown::Always, "Curdotree"},
    {TileCurdotreeSprouted, "curdotree_sprouted", PlayerBlock::Open, false, false, 0,
     Shown::Always, "Sprouted curdotree"},
    {TileEmpty, "", PlayerBlock::Open, false, false, 0, Shown::Always, "Empty"},
    {TileStart, "", PlayerBlock::Open, false, false, 0, Shown::Always, "Start"},
    {TileStopper, "", PlayerBlock::Open, true, false, 0, Shown::Always, "Stopper"},
};

struct KindInfo {
    int kind;
    const char* image;       // the object's image name
    const char* parameters;  // what follows the kind in a level file; "" for nothing
    bool blastDestroys;      // a bomb's blast square deletes it
    const char* name = "";   // what the editor's palette calls it
};

constexpr KindInfo kindTable[] = {
    {KindHint, "hint", "words ended by Burmashave.", true, "Hint"},
    {KindPortal, "portal", "target column and row", false, "Portal"},
    {KindZipper, "zipperanim", "", true, "Zipper"},
    {KindChomper, "chomperanim", "", true, "Chomper"},
    {KindFlapper, "flapperanim", "", true, "Flapper"},
    {KindBlobber, "blobberanim", "", true, "Blobber"},
    {KindDoor, "door", "", false, "Door"},
    {KindMilk, "milk", "", false, "Milk"},
    {KindMaimframe, "maimframe", "", false, "Maimframe"},
    {KindCrab, "crabanim", "", false, "Crab"},
    {KindMenuOptions, "options", "", false, "Options gear"},
    {KindMenuControls, "controls", "", false, "Controls sign"},
    {KindMenuContinue, "continue", "", false, "Continue sign"},
};

// The entry of a tile value; null for a value that is no tile.
constexpr const TileInfo* findTile(int value) {
    for (const TileInfo& tile : tileTable) {
        if (tile.value == value) return &tile;
    }
    return nullptr;
}

// The entry of an object kind; null for a value that is no kind.
constexpr const KindInfo* findKind(int kind) {
    for (const KindInfo& entry : kindTable) {
        if (entry.kind == kind) return &entry;
    }
    return nullptr;
}

namespace tiles_detail {
struct TileIndex {
    TileInfo byValue[lastTileValue + 1];
};
constexpr TileIndex indexTiles() {
    TileIndex index{};
    for (int v = 0; v <= lastTileValue; ++v) {
        index.byValue[v] = {v, "", PlayerBlock::Open, false, false, 0, Shown::Always};
        if (const TileInfo* tile = findTile(v)) index.byValue[v] = *tile;
    }
    return index;
}
constexpr TileIndex tileIndex = indexTiles();
}  // namespace tiles_detail

// What a cell value does as a tile: values without an entry (and object
// kinds, and anything out of range) behave as empty cells.
constexpr const TileInfo& tileInfo(int value) {
    return value >= 0 && value <= lastTileValue ? tiles_detail::tileIndex.byValue[value]
                                                : tiles_detail::tileIndex.byValue[TileEmpty];
}

// The image name of a kind, for the objects' constructors.
constexpr const char* kindImage(int kind) {
    const KindInfo* entry = findKind(kind);
    return entry ? entry->image : "";
}

// Whether the Player can never step into the cell as it stands (a bomb may
// still clear it).
constexpr bool blocksPlayer(int value) {
    return tileInfo(value).playerBlock == PlayerBlock::Solid;
}

// Whether the cell stays shut for good: solid, and no blast clears it.
constexpr bool blocksForGood(int value) {
    return blocksPlayer(value) && !tileInfo(value).crackable;
}

// Whether the cell is drawn as a block of wall in a frame: the solid tiles
// that show, and the fake wall until shades unmask it.
constexpr bool showsAsWall(int value, bool seeHidden) {
    const TileInfo& tile = tileInfo(value);
    switch (tile.shown) {
    case Shown::AsWallUnlessShaded: return !seeHidden;
    case Shown::InShades: return seeHidden && tile.playerBlock == PlayerBlock::Solid;
    default: return tile.playerBlock == PlayerBlock::Solid;
    }
}
