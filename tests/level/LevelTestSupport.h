#pragma once

// Helpers shared by the level tests: captured output, quiet construction and
// a probe object that records what the level does to it.

#include "level/Level.h"
#include "things/Thing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

// What one piece of code printed.
struct Captured {
    std::string out;
    std::string err;
};

template <typename Body>
Captured capture(Body&& body) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    body();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
    Captured result;
    result.out = testing::internal::GetCapturedStdout();
    result.err = testing::internal::GetCapturedStderr();
    return result;
}

// A Level of that number on the test window; what its construction prints is dropped.
inline std::unique_ptr<Level> quietLevel(int number) {
    std::unique_ptr<Level> level;
    capture([&] { level.reset(new Level(number, SDL_GetVideoSurface())); });
    return level;
}

// How often part occurs in text.
inline int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// A w by h level file whose cells are all `fill`, with the start cell at
// (startCol, startRow) unless that is negative.
inline std::string filledLevel(int w, int h, int fill, const std::string& name,
                               int startCol = -1, int startRow = -1) {
    std::string text = std::to_string(w) + " " + std::to_string(h) + "\n";
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            if (y > 0) text += " ";
            text += std::to_string(x == startCol && y == startRow ? 4 : fill);
        }
        text += "\n";
    }
    return text + name + "\n";
}

// What happened to a probe, kept outside it so it survives the probe's deletion.
struct ProbeLog {
    int updates = 0;
    int draws = 0;
    int deleted = 0;
    const Grid* grid = nullptr;
    const ThingList* list = nullptr;
};

// A level object that records its updates, draws and deletion, and can die or
// run an action during its update.
class Probe final : public Thing {
public:
    Probe(int col, int row, int kind, ProbeLog* record) : Thing(col, row), log(record) {
        setType(kind);
    }
    ~Probe() override { ++log->deleted; }

    void update(const Grid& grid, const ThingList& things) override {
        ++log->updates;
        log->grid = &grid;
        log->list = &things;
        if (action) action();
        if (dieOnUpdate) dead = true;
    }
    void draw(SDL_Surface*, const SDL_Rect*) override { ++log->draws; }

    std::function<void()> action;  // runs inside update
    bool dieOnUpdate = false;

private:
    ProbeLog* log;
};
