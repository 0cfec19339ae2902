#include "level/LevelDraft.h"
#include "level/LevelWriter.h"
#include "level/Tiles.h"
#include "menus/Settings.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"
#include "things/Hint.h"
#include "things/Portal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> shippedLevels() {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(sourceDir() + "/data/levels")) {
        if (entry.path().extension() == ".lvl") paths.push_back(entry.path().string());
    }
    return paths;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// What the game's loader made of the file, next to what the draft says.
void expectLoaderAgrees(const LevelDraft& draft, const std::string& file) {
    std::unique_ptr<Level> level = quietLevel(0);
    bool loaded = false;
    capture([&] { loaded = level->load(file); });
    ASSERT_TRUE(loaded);
    ASSERT_EQ(level->getWidth(), draft.getWidth());
    ASSERT_EQ(level->getHeight(), draft.getHeight());
    size_t objects = 0;
    for (int x = 0; x < draft.getWidth(); ++x) {
        for (int y = 0; y < draft.getHeight(); ++y) {
            ASSERT_EQ(level->getGrid()[x][y], draft.at(x, y).value) << x << "," << y;
            objects += findKind(draft.at(x, y).value) != nullptr;
        }
    }
    ASSERT_EQ(level->getThings().size(), objects);
    for (const Thing* thing : level->getThings()) {
        const int x = thing->getRect()->x / tileSize;
        const int y = thing->getRect()->y / tileSize;
        const DraftCell& cell = draft.at(x, y);
        EXPECT_EQ(thing->getType(), cell.value);
        if (cell.value == KindHint) {
            const std::string words = cell.text.empty() ? "" : cell.text + " ";
            EXPECT_EQ(static_cast<const Hint*>(thing)->getText(), " " + words);
        } else if (cell.value == KindPortal) {
            const Portal* portal = static_cast<const Portal*>(thing);
            EXPECT_EQ(portal->getTargetX(), cell.targetColumn * tileSize);
            EXPECT_EQ(portal->getTargetY(), cell.targetRow * tileSize);
        }
    }
    EXPECT_EQ(level->getName(), underscoresToSpaces(draft.getName()));
}

class LevelWriter : public testing::Test {
protected:
    void SetUp() override { dir.useShipped("images"); }
    ScratchDir dir;
};

TEST_F(LevelWriter, EveryShippedLevelComesBackByteForByte) {
    const std::vector<std::string> levels = shippedLevels();
    ASSERT_FALSE(levels.empty());
    for (const std::string& path : levels) {
        SCOPED_TRACE(path);
        LevelDraft draft;
        std::string error;
        ASSERT_TRUE(draft.readFile(path, error)) << error;
        EXPECT_EQ(levelText(draft), fileBytes(path));
    }
}

TEST_F(LevelWriter, TheLoaderReadsEveryShippedLevelAsTheDraftDoes) {
    for (const std::string& path : shippedLevels()) {
        SCOPED_TRACE(path);
        LevelDraft draft;
        std::string error;
        ASSERT_TRUE(draft.readFile(path, error)) << error;
        expectLoaderAgrees(draft, path);
    }
}

TEST_F(LevelWriter, WindowsLineEndsComeBackPlain) {
    const std::string plain =
        "3 2\n1 1\n28 Mind the gap Burmashave. 4\n1 1\nTwo_Rows\nlint: no-goal\n";
    std::string windows;
    for (char c : plain) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    LevelDraft draft;
    std::string error;
    std::istringstream in(windows);
    ASSERT_TRUE(draft.read(in, error)) << error;
    EXPECT_EQ(draft.at(1, 0).text, "Mind the gap");
    EXPECT_EQ(draft.getName(), "Two_Rows");
    // The trailer is kept as it stands, line ends and all.
    EXPECT_EQ(levelText(draft), "3 2\n1 1\n28 Mind the gap Burmashave. 4\n1 1\nTwo_Rows\n"
                                "lint: no-goal\r\n");
}

TEST_F(LevelWriter, WhatItWritesTheLoaderReadsBack) {
    // Every tile and every kind, hints with and without words, a portal, a
    // grid grown at all four edges (which moves the portal's target along).
    std::vector<int> values;
    for (const TileInfo& tile : tileTable) values.push_back(tile.value);
    for (const KindInfo& kind : kindTable) values.push_back(kind.kind);
    values.push_back(27);  // no tile and no kind: a plain number
    LevelDraft draft(static_cast<int>(values.size()), 3);
    for (size_t i = 0; i < values.size(); ++i) draft.setValue(static_cast<int>(i), 1, values[i]);
    draft.setValue(0, 0, KindHint);
    draft.setHintText(0, 0, "  Jump   the gap Burmashave. then  run ");
    draft.setValue(1, 2, KindPortal);
    draft.setPortalTarget(1, 2, 5, 0);
    draft.setName("My first level");
    draft.resize(2, 1, 1, 2);
    EXPECT_EQ(draft.at(2, 1).text, "Jump the gap then run");
    EXPECT_EQ(draft.at(3, 3).targetColumn, 7);
    EXPECT_EQ(draft.at(3, 3).targetRow, 1);
    EXPECT_EQ(draft.getName(), "My_first_level");
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        tileSize = size;
        ASSERT_TRUE(saveLevel("data/levels/written.lvl", draft));
        expectLoaderAgrees(draft, "data/levels/written.lvl");
        LevelDraft again;
        std::string error;
        ASSERT_TRUE(again.readFile("data/levels/written.lvl", error)) << error;
        EXPECT_TRUE(again == draft);
    }
}

TEST_F(LevelWriter, RefusesWhatTheLoaderRefuses) {
    for (const char* text : {"", "3 x\n", "2 1\n1\n", "2 1\n1\n7", "1 1\n28 no end\n",
                             "1 1\n29 4\nName\n", "-1 3\n"}) {
        SCOPED_TRACE(text);
        dir.write("data/levels/bad.lvl", text);
        std::unique_ptr<Level> level = quietLevel(0);
        bool loaded = true;
        capture([&] { loaded = level->load("data/levels/bad.lvl"); });
        LevelDraft draft;
        std::string error;
        std::istringstream in(text);
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(draft.read(in, error));
        // The same refusal, in the checker's words.
        const LoadFailure& failure = level->getLoadFailure();
        const int value = failure.column >= 0 ? level->getGrid()[failure.column][failure.row] : 0;
        EXPECT_EQ(0u, error.find(describeLoadFailure(failure, value))) << error;
    }
}

}  // namespace
