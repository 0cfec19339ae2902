#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// MD5 digest, which a FLAC stream carries of its decoded samples so that
// decoders can check them.
class Md5 {
public:
    Md5();
    void add(const uint8_t* data, std::size_t size);
    std::array<uint8_t, 16> finish();

private:
    void block(const uint8_t* chunk);

    std::array<uint32_t, 4> state;
    std::array<uint8_t, 64> buffer{};
    std::size_t buffered = 0;
    uint64_t totalBytes = 0;
};
