#pragma once

#include <SDL.h>

#include <string>

// One second of silent 16-bit stereo WAV, which the mixer can also play as
// music: lets tests pause and resume a real track without shipping one.
inline std::string silentWave() {
    const Uint32 rate = 22050;             // samples per second
    const Uint32 bytesPerFrame = 4;        // two 16-bit channels
    const Uint32 dataBytes = rate * bytesPerFrame;
    std::string wav;
    auto put32 = [&wav](Uint32 v) {
        for (int i = 0; i < 4; ++i) wav.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto put16 = [&wav](Uint16 v) {
        wav.push_back(static_cast<char>(v & 0xFF));
        wav.push_back(static_cast<char>(v >> 8));
    };
    wav += "RIFF";
    put32(36 + dataBytes);
    wav += "WAVEfmt ";
    put32(16);      // size of the format block
    put16(1);       // PCM
    put16(2);       // channels
    put32(rate);
    put32(rate * bytesPerFrame);
    put16(static_cast<Uint16>(bytesPerFrame));
    put16(16);      // bits per sample
    wav += "data";
    put32(dataBytes);
    wav.append(dataBytes, '\0');
    return wav;
}
