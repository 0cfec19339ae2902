#include "menus/OptionsMenu.h"

#include "media/Images.h"
#include "media/Text.h"
#include "menus/Button.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "shell/Input.h"

#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <string>

namespace {

constexpr int menuFontPoints = 20;  // buttons and labels
constexpr int buttonX = 20;         // left edge of both buttons, pixels
constexpr int buttonW = 100;
constexpr int buttonH = 25;
constexpr int musicY = 15;       // top of the Music row
constexpr int resolutionY = 55;  // top of the Resolution row
constexpr int windowY = 95;      // top of the Window row
constexpr int speedY = 135;      // top of the Speed row
constexpr int offeredSpeeds[] = {100, 80, 60, 50};  // percent, in the order a click steps
constexpr int labelX = 140;      // left edge of the row labels

Uint32 videoColour(Uint8 r, Uint8 g, Uint8 b) {
    return SDL_MapRGB(SDL_GetVideoInfo()->vfmt, r, g, b);
}

// Shows the music setting: "On" on blue or "Off" on red.
void showMusic(Button& button) {
    if (musicOn) {
        button.setBackground(videoColour(0, 0, 255));
        button.setText("On");
    } else {
        button.setBackground(videoColour(255, 0, 0));
        button.setText("Off");
    }
}

void switchMusic(Button& button) {
    musicOn = !musicOn;
    if (musicOn) {
        if (Mix_PausedMusic()) Mix_ResumeMusic();
    } else {
        Mix_PauseMusic();
    }
    showMusic(button);
}

// 16 becomes 32; 32, or any stored size, becomes 16.
void switchResolution(Button& button) {
    int height = 0;
    if (tileSize == 16) {
        tileSize = 32;
        height = 480;
    } else {
        tileSize = 16;
        height = 240;
    }
    button.setText(intToString(windowColumns * tileSize) + "x" + intToString(height));
}

int shownScale() {
    return currentLayout().pictureW > 0 ? currentLayout().scale : windowScale;
}

// "1x", "2x", ... or "Full".
void showWindow(Button& button) {
    button.setText(fullScreen ? std::string("Full") : intToString(shownScale()) + "x");
}

// 1x, 2x, ... up to the largest the desktop holds, then full screen, then 1x again.
void stepWindow(Button& button) {
    if (fullScreen) {
        fullScreen = false;
        windowScale = 1;
    } else if (shownScale() < largestWindowScaleThatFits()) {
        windowScale = shownScale() + 1;
    } else {
        fullScreen = true;
    }
    applyDisplaySettings();
    showWindow(button);
}

// "100 %", "80 %", ...
void showSpeed(Button& button) { button.setText(intToString(gameSpeed) + " %"); }

// Each click slows the game one step; after the slowest, full speed again.
void stepSpeed(Button& button) {
    int next = offeredSpeeds[0];
    for (int speed : offeredSpeeds) {
        if (speed < gameSpeed) {
            next = speed;
            break;
        }
    }
    gameSpeed = next;
    setClockSpeed(gameSpeed);
    showSpeed(button);
}

SDL_Surface* renderLabel(TTF_Font* font, const char* text) {
    const SDL_Color white = {255, 255, 255, 0};
    return font ? TTF_RenderText_Blended(font, text, white) : nullptr;
}

}  // namespace

int runOptionsMenu(SDL_Surface* screen) {
    TTF_Font* font = TTF_OpenFont(fontPath, menuFontPoints);
    const SDL_Color black = {0, 0, 0, 0};
    Button* music = new Button(buttonX, musicY, buttonW, buttonH, videoColour(255, 0, 0), black,
                               font, "On");
    showMusic(*music);
    Button* resolution = new Button(buttonX, resolutionY, buttonW, buttonH,
                                    videoColour(0, 255, 0), black, font, "Change");
    Button* window = new Button(buttonX, windowY, buttonW, buttonH, videoColour(255, 255, 0),
                                black, font, "");
    showWindow(*window);
    Button* speed = new Button(buttonX, speedY, buttonW, buttonH, videoColour(0, 255, 255), black,
                               font, "");
    showSpeed(*speed);
    SDL_Surface* musicLabel = renderLabel(font, "Music");
    SDL_Surface* resolutionLabel = renderLabel(font, "Resolution");
    SDL_Surface* windowLabel = renderLabel(font, "Window");
    SDL_Surface* speedLabel = renderLabel(font, "Speed");
    const int scaleOnEntry = windowScale;
    const int speedOnEntry = gameSpeed;
    const bool fullOnEntry = fullScreen;
    bool fullShown = fullScreen;  // what the Window button reads

    int result = 0;
    bool leaving = false;
    Uint32 frameDeadline = clockTicks() + framePeriodMs;
    for (;;) {
        screen = currentPicture(screen);
        SDL_FillRect(screen, nullptr, 0);
        SDL_Event event;
        while (pollInput(&event)) {
            switch (event.type) {
            case SDL_QUIT:
                leaving = true;
                result = 1;
                break;
            case SDL_KEYDOWN:
                leaving = true;
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (music->isClicked(event)) switchMusic(*music);
                if (resolution->isClicked(event)) switchResolution(*resolution);
                if (window->isClicked(event)) {
                    stepWindow(*window);
                    fullShown = fullScreen;
                }
                if (speed->isClicked(event)) stepSpeed(*speed);
                break;
            default:
                break;
            }
        }
        screen = currentPicture(screen);
        // F11 may have switched full screen behind the button's back.
        if (fullScreen != fullShown) {
            showWindow(*window);
            fullShown = fullScreen;
        }
        drawSurface(labelX, musicY, musicLabel, screen, nullptr, 255);
        drawSurface(labelX, resolutionY, resolutionLabel, screen, nullptr, 255);
        drawSurface(labelX, windowY, windowLabel, screen, nullptr, 255);
        drawSurface(labelX, speedY, speedLabel, screen, nullptr, 255);
        music->draw(screen);
        resolution->draw(screen);
        window->draw(screen);
        speed->draw(screen);
        presentPicture(screen);
        if (leaving) break;
        paceFrame(frameDeadline);
    }

    writePreferences();
    if (windowScale != scaleOnEntry || fullScreen != fullOnEntry || gameSpeed != speedOnEntry) {
        writeWindowAndPad();
    }
    if (font) TTF_CloseFont(font);
    delete speed;
    delete window;
    delete resolution;
    delete music;
    SDL_FreeSurface(musicLabel);
    SDL_FreeSurface(resolutionLabel);
    SDL_FreeSurface(windowLabel);
    SDL_FreeSurface(speedLabel);
    return result;
}
