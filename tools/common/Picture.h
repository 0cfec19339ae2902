#pragma once

#include <SDL.h>

#include <string>

// A drawn picture as a binary PPM file (P6: a short text header, then red,
// green and blue bytes row by row), so that builds on different platforms can
// be compared pixel for pixel by any tool.

// The picture's pixels as PPM bytes; empty for a surface that is not 32-bit.
std::string encodePicture(SDL_Surface* picture);

// Writes encodePicture's bytes to path whole; false, with a line on standard
// error, when there is nothing to write or the file cannot be written.
bool writePicture(SDL_Surface* picture, const std::string& path);
