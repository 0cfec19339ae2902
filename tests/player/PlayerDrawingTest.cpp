#include "tests/player/PlayerFixture.h"

#include "media/Images.h"
#include "media/Text.h"

#include <string>
#include <vector>

namespace {

// The colour of sheet cell (col, row): red tells the column, green the row.
SDL_Color cellColour(int col, int row) {
    return SDL_Color{static_cast<Uint8>(col * 20), static_cast<Uint8>(row * 40), 77, 0};
}

// Writes the "us" sheet, 12 columns by 6 rows of cells, each its own colour.
void writeSheet(int t) {
    SDL_Surface* sheet = SDL_CreateRGBSurface(SDL_SWSURFACE, 12 * t, 6 * t, 32, 0x00FF0000,
                                              0x0000FF00, 0x000000FF, 0);
    for (int c = 0; c < 12; ++c) {
        for (int r = 0; r < 6; ++r) {
            SDL_Rect cell = {static_cast<Sint16>(c * t), static_cast<Sint16>(r * t),
                             static_cast<Uint16>(t), static_cast<Uint16>(t)};
            const SDL_Color k = cellColour(c, r);
            SDL_FillRect(sheet, &cell, SDL_MapRGB(sheet->format, k.r, k.g, k.b));
        }
    }
    const std::string path = "data/images/" + std::to_string(t) + "/us.bmp";
    SDL_SaveBMP(sheet, path.c_str());
    SDL_FreeSurface(sheet);
}

void fillWhite(SDL_Surface* s) { SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 255, 255, 255)); }

bool isWhite(const SDL_Color& c) { return c.r == 255 && c.g == 255 && c.b == 255; }

}  // namespace

class PlayerDrawing : public PlayerFixture {
protected:
    void SetUp() override {
        dir.useShipped("fonts");
        writeSheet(32);
        build(32, 4, 4);
        screen = SDL_GetVideoSurface();
        fillWhite(screen);
    }

    // The sheet cell shown at screen pixel (x, y), as (col, row).
    std::pair<int, int> cellAt(int x, int y) {
        const SDL_Color c = pixelAt(screen, x, y);
        return {c.r / 20, c.g / 40};
    }

    // Whether the band of 16 rows from y holds exactly what the status
    // display would draw for text.
    ::testing::AssertionResult showsLine(int y, const std::string& text) {
        SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, 16, 32,
                                                     0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        fillWhite(expected);
        SDL_Surface* line = renderFittedText(text, SDL_Color{0, 0, 0, 0}, screen->w, 16);
        if (!line) return ::testing::AssertionFailure() << "could not render " << text;
        drawSurface(0, 0, line, expected, nullptr, 255);
        SDL_FreeSurface(line);
        int differing = 0;
        for (int py = 0; py < 16; ++py) {
            for (int px = 0; px < screen->w / 2; ++px) {
                const SDL_Color a = pixelAt(expected, px, py);
                const SDL_Color b = pixelAt(screen, px, y + py);
                if (a.r != b.r || a.g != b.g || a.b != b.b) ++differing;
            }
        }
        SDL_FreeSurface(expected);
        if (differing) return ::testing::AssertionFailure() << differing << " pixels differ from " << text;
        return ::testing::AssertionSuccess();
    }

    SDL_Surface* screen = nullptr;
};

TEST_F(PlayerDrawing, WalkFramesTurnEveryThirdDrawnFrame) {
    animTick = 0;
    animStep = 0;
    const SDL_Rect camera = {10, 20, 640, 480};
    player().setPosition(110, 120);
    player().setStatus(StatusFrench);
    player().setVelocity(2.0f, 0.0f);
    std::vector<int> columns;
    for (int i = 0; i < 12; ++i) {
        player().draw(screen, &camera);
        const auto cell = cellAt(116, 116);
        EXPECT_EQ(cell.second, StatusFrench);
        columns.push_back(cell.first);
    }
    EXPECT_EQ(columns, (std::vector<int>{4, 4, 5, 5, 5, 4, 4, 4, 6, 6, 6, 4}));
    // Drawn through the camera: level (110, 120) is screen (100, 100).
    fillWhite(screen);
    player().draw(screen, &camera);
    EXPECT_FALSE(isWhite(pixelAt(screen, 100, 100)));
    EXPECT_FALSE(isWhite(pixelAt(screen, 131, 131)));
    EXPECT_TRUE(isWhite(pixelAt(screen, 99, 100)));
    EXPECT_TRUE(isWhite(pixelAt(screen, 100, 99)));
    EXPECT_TRUE(isWhite(pixelAt(screen, 132, 131)));
    EXPECT_TRUE(isWhite(pixelAt(screen, 131, 132)));

    player().setForm(FormCurdo);
    player().setVelocity(2.0f, -1.0f);
    player().draw(screen, &camera);
    EXPECT_EQ(cellAt(116, 116).first, 0);
    EXPECT_EQ(animStep, 2);

    player().setForm(FormGoto);
    player().setVelocity(0.0f, 0.0f);
    player().draw(screen, &camera);
    EXPECT_EQ(cellAt(116, 116).first, 8);
    EXPECT_EQ(animStep, 0);
}

TEST_F(PlayerDrawing, IconsRunLeftFromTheTopRightCorner) {
    player().setBombs(3);
    player().setKeys(2);
    player().drawStatus(screen);
    for (int x : {608, 576, 544}) {
        const SDL_Color c = pixelAt(screen, x + 16, 16);
        EXPECT_NEAR(c.g, (255 + 40) / 2, 2) << "half-blended bomb icon at " << x;
        EXPECT_NEAR(c.r, (255 + 60) / 2, 2) << x;
    }
    EXPECT_TRUE(isWhite(pixelAt(screen, 543, 16)));
    for (int x : {608, 576}) {
        const SDL_Color c = pixelAt(screen, x + 16, 48);
        EXPECT_NEAR(c.g, 255 / 2, 2) << "half-blended key icon at " << x;
        EXPECT_NEAR(c.r, (255 + 60) / 2, 2) << x;
    }
    EXPECT_TRUE(isWhite(pixelAt(screen, 575, 48)));
    // Each row of icons is exactly one tile high.
    EXPECT_NEAR(pixelAt(screen, 624, 31).g, (255 + 40) / 2, 2);
    EXPECT_NEAR(pixelAt(screen, 624, 32).g, 255 / 2, 2);
    EXPECT_NEAR(pixelAt(screen, 624, 63).g, 255 / 2, 2);
    EXPECT_TRUE(isWhite(pixelAt(screen, 624, 64)));
    EXPECT_TRUE(isWhite(pixelAt(screen, 620, 70)));
}

TEST_F(PlayerDrawing, StatusLinesShowLivesFormAndStatus) {
    player().drawStatus(screen);
    EXPECT_TRUE(showsLine(0, "Lives: 5"));
    EXPECT_TRUE(showsLine(16, "Form: Normal"));
    EXPECT_TRUE(showsLine(32, "Status: Normal"));

    testing::internal::CaptureStdout();
    for (int i = 0; i < 5; ++i) player().die();
    testing::internal::GetCapturedStdout();
    player().setForm(FormGoto);
    player().setStatus(StatusTerrorist);
    fillWhite(screen);
    player().drawStatus(screen);
    EXPECT_TRUE(showsLine(0, "Lives: 0"));
    EXPECT_TRUE(showsLine(16, "Form: Curdo"));
    EXPECT_TRUE(showsLine(32, "Status: Terrorist"));

    const char* names[] = {"Normal", "Rubber", "French", "Terrorist", "German", "Shaded"};
    for (int s = 0; s < 6; ++s) {
        player().setStatus(s);
        fillWhite(screen);
        player().drawStatus(screen);
        EXPECT_TRUE(showsLine(32, std::string("Status: ") + names[s]));
    }
}

TEST_F(PlayerDrawing, LinesAreRenderedOnlyWhenTheirTextChanges) {
    player().drawStatus(screen);
    EXPECT_EQ(player().getTextRenders(), 3);
    player().drawStatus(screen);
    EXPECT_EQ(player().getTextRenders(), 3);
    player().setLives(7);
    player().drawStatus(screen);
    EXPECT_EQ(player().getTextRenders(), 4);
    player().setStatus(StatusGerman);
    player().drawStatus(screen);
    EXPECT_EQ(player().getTextRenders(), 5);
    player().setForm(FormCurdo);
    player().drawStatus(screen);
    EXPECT_EQ(player().getTextRenders(), 6);
    player().setForm(FormGoto);  // still "Curdo"
    player().drawStatus(screen);
    EXPECT_EQ(player().getTextRenders(), 6);

    // A new Player with the same count still shows its lives from the first frame.
    build(32, 4, 4);
    fillWhite(screen);
    player().drawStatus(screen);
    EXPECT_TRUE(showsLine(0, "Lives: 5"));
}
