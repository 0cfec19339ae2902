#include "tests/media/SampleFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace {
constexpr int sampleRate = 22050;       // Hz, the rate the game's mixer runs at
constexpr int flacBlockSize = 192;      // samples in the one FLAC frame (block size code 1)
constexpr std::size_t storedBlockMax = 65535;  // bytes in one stored deflate block

void putBig32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void putLittle16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void putLittle32(std::string& out, std::uint32_t value) {
    putLittle16(out, value & 0xFFFF);
    putLittle16(out, value >> 16);
}

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const std::string& bytes) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putChunk(std::string& png, const std::string& type, const std::string& data) {
    putBig32(png, static_cast<std::uint32_t>(data.size()));
    const std::string body = type + data;
    png += body;
    putBig32(png, crc32(body));
}

// FLAC's frame header check: CRC-8, polynomial x^8 + x^2 + x + 1.
std::uint8_t crc8(const std::string& bytes) {
    std::uint8_t crc = 0;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

// FLAC's frame footer check: CRC-16, polynomial x^16 + x^15 + x^2 + 1.
std::uint16_t crc16(const std::string& bytes) {
    std::uint16_t crc = 0;
    for (unsigned char byte : bytes) {
        crc ^= static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x8005 : crc << 1);
    }
    return crc;
}

std::int16_t toneSample(int index) {
    return static_cast<std::int16_t>(8000.0 * std::sin(index * 0.05));
}
}  // namespace

std::string pngBytes(int w, int h, const std::vector<SDL_Color>& pixels) {
    std::string png("\x89PNG\r\n\x1a\n", 8);

    std::string header;
    putBig32(header, static_cast<std::uint32_t>(w));
    putBig32(header, static_cast<std::uint32_t>(h));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);

    std::string raw;
    for (int row = 0; row < h; ++row) {
        raw += '\0';  // filter type None
        for (int col = 0; col < w; ++col) {
            const SDL_Color& c = pixels[static_cast<std::size_t>(row * w + col)];
            raw += static_cast<char>(c.r);
            raw += static_cast<char>(c.g);
            raw += static_cast<char>(c.b);
        }
    }
    std::string zlib("\x78\x01", 2);
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(storedBlockMax, raw.size() - offset);
        const bool last = offset + length == raw.size();
        zlib += static_cast<char>(last ? 1 : 0);
        putLittle16(zlib, static_cast<std::uint32_t>(length));
        putLittle16(zlib, static_cast<std::uint32_t>(~length & 0xFFFF));
        zlib += raw.substr(offset, length);
        offset += length;
    } while (offset < raw.size());
    putBig32(zlib, adler32(raw));
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", "");
    return png;
}

void saveBmp(const std::string& path, int w, int h, const std::vector<SDL_Color>& pixels) {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    SDL_LockSurface(surface);
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const SDL_Color& c = pixels[static_cast<std::size_t>(row * w + col)];
            Uint8* p = static_cast<Uint8*>(surface->pixels) + row * surface->pitch + col * 3;
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    SDL_UnlockSurface(surface);
    SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
}

std::string wavBytes(int samples) {
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples) * 2;
    std::string wav = "RIFF";
    putLittle32(wav, 36 + dataSize);
    wav += "WAVEfmt ";
    putLittle32(wav, 16);
    putLittle16(wav, 1);  // PCM
    putLittle16(wav, 1);  // mono
    putLittle32(wav, sampleRate);
    putLittle32(wav, sampleRate * 2);  // bytes per second
    putLittle16(wav, 2);               // bytes per sample frame
    putLittle16(wav, 16);              // bits per sample
    wav += "data";
    putLittle32(wav, dataSize);
    for (int i = 0; i < samples; ++i) putLittle16(wav, static_cast<std::uint16_t>(toneSample(i)));
    return wav;
}

std::string flacBytes() {
    std::string flac = "fLaC";
    flac += static_cast<char>(0x80);  // last metadata block, type STREAMINFO
    flac += std::string("\x00\x00\x22", 3);  // 34 bytes
    flac += static_cast<char>(flacBlockSize >> 8);
    flac += static_cast<char>(flacBlockSize & 0xFF);
    flac += static_cast<char>(flacBlockSize >> 8);
    flac += static_cast<char>(flacBlockSize & 0xFF);
    flac += std::string(6, '\0');  // frame sizes unknown
    // 20 bits rate, 3 bits channels - 1, 5 bits bits per sample - 1, 36 bits total samples.
    const std::uint64_t packed = (static_cast<std::uint64_t>(sampleRate) << 44) |
                                 (static_cast<std::uint64_t>(0) << 41) |
                                 (static_cast<std::uint64_t>(15) << 36) |
                                 static_cast<std::uint64_t>(flacBlockSize);
    for (int shift = 56; shift >= 0; shift -= 8) flac += static_cast<char>((packed >> shift) & 0xFF);
    flac += std::string(16, '\0');  // no MD5 signature

    std::string frame;
    frame += static_cast<char>(0xFF);
    frame += static_cast<char>(0xF8);  // sync, fixed block size
    frame += static_cast<char>(0x17);  // 192 samples, 22.05 kHz
    frame += static_cast<char>(0x08);  // mono, 16 bits per sample
    frame += '\0';                     // frame number 0
    frame += static_cast<char>(crc8(frame));
    frame += static_cast<char>(0x02);  // verbatim subframe, no wasted bits
    for (int i = 0; i < flacBlockSize; ++i) {
        const std::uint16_t sample = static_cast<std::uint16_t>(toneSample(i));
        frame += static_cast<char>(sample >> 8);
        frame += static_cast<char>(sample & 0xFF);
    }
    const std::uint16_t footer = crc16(frame);
    frame += static_cast<char>(footer >> 8);
    frame += static_cast<char>(footer & 0xFF);
    return flac + frame;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}
