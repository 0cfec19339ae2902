#include "tools/synth/Flac.h"

#include "tools/synth/Md5.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {
constexpr int bitsPerSample = 16;
constexpr int maxFixedOrder = 4;
constexpr int maxPartitionOrder = 8;
constexpr uint32_t maxRiceParameter = 14;  // 15 is the escape code, never used
constexpr int subframeHeaderBits = 8;      // zero bit, six type bits, wasted-bits flag

enum SubframeType : uint32_t { constantType = 0, verbatimType = 1, fixedType = 8 };

// Bits written most significant first.
class BitWriter {
public:
    void put(uint32_t value, int bits) {
        if (bits == 0) return;
        accumulator = (accumulator << bits) | (value & (bits == 32 ? 0xffffffffu : (1u << bits) - 1));
        pending += bits;
        while (pending >= 8) {
            pending -= 8;
            bytes.push_back(uint8_t(accumulator >> pending));
        }
    }
    void putSigned(int32_t value, int bits) { put(uint32_t(value), bits); }
    void putUnary(uint32_t zeros) {
        for (; zeros >= 32; zeros -= 32) put(0, 32);
        put(1, int(zeros) + 1);
    }
    void align() {
        if (pending) put(0, 8 - pending);
    }
    std::vector<uint8_t> bytes;

private:
    uint64_t accumulator = 0;
    int pending = 0;
};

uint8_t crc8(const uint8_t* data, std::size_t size) {
    uint8_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int b = 0; b < 8; ++b) crc = uint8_t(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

uint16_t crc16(const uint8_t* data, std::size_t size) {
    uint16_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= uint16_t(data[i] << 8);
        for (int b = 0; b < 8; ++b) crc = uint16_t(crc & 0x8000 ? (crc << 1) ^ 0x8005 : crc << 1);
    }
    return crc;
}

// The frame number in FLAC's extended UTF-8 form.
void putFrameNumber(BitWriter& w, uint32_t n) {
    if (n < 0x80) {
        w.put(n, 8);
        return;
    }
    int extra = 1;
    while (extra < 6 && n >= (1u << (6 + 5 * extra))) ++extra;
    const uint32_t lead = (0xff00u >> (extra + 1)) & 0xff;
    w.put(lead | (n >> (6 * extra)), 8);
    for (int i = extra - 1; i >= 0; --i) w.put(0x80 | ((n >> (6 * i)) & 0x3f), 8);
}

uint32_t sampleRateCode(int rate) {
    switch (rate) {
    case 8000: return 4;
    case 16000: return 5;
    case 22050: return 6;
    case 24000: return 7;
    case 32000: return 8;
    case 44100: return 9;
    case 48000: return 10;
    case 96000: return 11;
    default: return 0;  // read it from STREAMINFO
    }
}

int32_t fixedPrediction(const int32_t* x, int order) {
    switch (order) {
    case 0: return 0;
    case 1: return x[-1];
    case 2: return 2 * x[-1] - x[-2];
    case 3: return 3 * x[-1] - 3 * x[-2] + x[-3];
    default: return 4 * x[-1] - 6 * x[-2] + 4 * x[-3] - x[-4];
    }
}

uint32_t zigzag(int32_t r) { return r >= 0 ? uint32_t(r) << 1 : (uint32_t(-(r + 1)) << 1) | 1; }

// The cheapest partitioning of one residual and its Rice parameters.
struct RicePlan {
    int order = 0;
    std::vector<uint32_t> parameters;
    uint64_t bits = ~uint64_t(0);
};

// residual holds the block's samples from index `warmup` on (earlier ones unused).
RicePlan planRice(const std::vector<uint32_t>& folded, int blockSize, int warmup) {
    int finest = 0;
    while (finest < maxPartitionOrder && blockSize % (2 << finest) == 0 && (blockSize >> (finest + 1)) > warmup) {
        ++finest;
    }
    // Exact cost of every parameter for the finest partitions; coarser ones are sums.
    const int parts = 1 << finest;
    const int partSize = blockSize >> finest;
    std::vector<std::array<uint64_t, maxRiceParameter + 1>> cost(parts);
    for (int p = 0; p < parts; ++p) {
        const int from = std::max(p * partSize, warmup);
        const int to = (p + 1) * partSize;
        for (uint32_t k = 0; k <= maxRiceParameter; ++k) {
            uint64_t bits = uint64_t(to - from) * (k + 1);
            for (int i = from; i < to; ++i) bits += folded[i] >> k;
            cost[p][k] = bits;
        }
    }
    RicePlan best;
    for (int order = finest;; --order) {
        const int count = 1 << order;
        RicePlan plan;
        plan.order = order;
        plan.bits = 2 + 4;  // coding method and partition order
        for (int p = 0; p < count; ++p) {
            uint32_t bestK = 0;
            for (uint32_t k = 1; k <= maxRiceParameter; ++k) {
                if (cost[p][k] < cost[p][bestK]) bestK = k;
            }
            plan.parameters.push_back(bestK);
            plan.bits += 4 + cost[p][bestK];
        }
        if (plan.bits < best.bits) best = plan;
        if (order == 0) break;
        // Merge neighbours for the next coarser order.
        for (int p = 0; p < count / 2; ++p) {
            for (uint32_t k = 0; k <= maxRiceParameter; ++k) cost[p][k] = cost[2 * p][k] + cost[2 * p + 1][k];
        }
        cost.resize(count / 2);
    }
    return best;
}

// The cheapest way found to code one channel of a frame.
struct SubframePlan {
    enum Kind { Constant, Verbatim, Fixed } kind = Verbatim;
    int order = 0;                 // of the fixed predictor
    RicePlan rice;
    std::vector<uint32_t> folded;  // zigzagged residual of the fixed predictor
    uint64_t bits = 0;             // size of the whole subframe
};

SubframePlan planSubframe(const std::vector<int32_t>& x, int bits) {
    const int n = int(x.size());
    SubframePlan best;
    if (std::all_of(x.begin(), x.end(), [&](int32_t v) { return v == x[0]; })) {
        best.kind = SubframePlan::Constant;
        best.bits = subframeHeaderBits + uint64_t(bits);
        return best;
    }
    best.bits = subframeHeaderBits + uint64_t(n) * bits;  // verbatim
    std::vector<uint32_t> folded(n);
    for (int order = 0; order <= maxFixedOrder && order < n; ++order) {
        for (int i = order; i < n; ++i) folded[i] = zigzag(x[i] - fixedPrediction(&x[i], order));
        const RicePlan rice = planRice(folded, n, order);
        const uint64_t size = subframeHeaderBits + uint64_t(order) * bits + rice.bits;
        if (size < best.bits) {
            best.kind = SubframePlan::Fixed;
            best.order = order;
            best.rice = rice;
            best.folded = folded;
            best.bits = size;
        }
    }
    return best;
}

void putSubframe(BitWriter& w, const std::vector<int32_t>& x, const SubframePlan& plan, int bits) {
    if (plan.kind == SubframePlan::Constant) {
        w.put(constantType << 1, subframeHeaderBits);
        w.putSigned(x[0], bits);
        return;
    }
    if (plan.kind == SubframePlan::Verbatim) {
        w.put(verbatimType << 1, subframeHeaderBits);
        for (int32_t v : x) w.putSigned(v, bits);
        return;
    }
    const int n = int(x.size());
    w.put((fixedType | uint32_t(plan.order)) << 1, subframeHeaderBits);
    for (int i = 0; i < plan.order; ++i) w.putSigned(x[i], bits);
    w.put(0, 2);  // Rice coding with 4-bit parameters
    w.put(uint32_t(plan.rice.order), 4);
    const int partSize = n >> plan.rice.order;
    for (int p = 0; p < (1 << plan.rice.order); ++p) {
        const uint32_t k = plan.rice.parameters[p];
        w.put(k, 4);
        for (int i = std::max(p * partSize, plan.order); i < (p + 1) * partSize; ++i) {
            w.putUnary(plan.folded[i] >> k);
            w.put(plan.folded[i], int(k));
        }
    }
}

// Channel assignments of a stereo frame: the two channels as they are, or one
// of them beside their difference, or their average beside it. Music that is
// the same on both sides has a difference of zero, which costs next to nothing.
enum StereoCoding : uint32_t { leftSide = 8, rightSide = 9, midSide = 10 };

struct ChannelCode {
    std::vector<int32_t> samples;
    int bits;
    SubframePlan plan;
};

ChannelCode planChannel(std::vector<int32_t> samples, int bits) {
    SubframePlan plan = planSubframe(samples, bits);
    return {std::move(samples), bits, std::move(plan)};
}

std::vector<uint8_t> encodeFrame(const std::vector<int16_t>& samples, int channels, int rate, std::size_t first,
                                 int blockSize, uint32_t frameNumber) {
    std::vector<std::vector<int32_t>> input(channels, std::vector<int32_t>(blockSize));
    for (int c = 0; c < channels; ++c) {
        for (int i = 0; i < blockSize; ++i) input[c][i] = samples[(first + i) * channels + c];
    }
    uint32_t assignment = uint32_t(channels - 1);  // independent channels
    std::vector<ChannelCode> coded;
    for (int c = 0; c < channels; ++c) coded.push_back(planChannel(input[c], bitsPerSample));
    if (channels == 2) {
        std::vector<int32_t> mid(blockSize), side(blockSize);
        for (int i = 0; i < blockSize; ++i) {
            mid[i] = (input[0][i] + input[1][i]) >> 1;
            side[i] = input[0][i] - input[1][i];
        }
        // The difference needs one bit more than a sample.
        const ChannelCode sideCode = planChannel(side, bitsPerSample + 1);
        const ChannelCode midCode = planChannel(mid, bitsPerSample);
        const uint64_t costs[] = {coded[0].plan.bits + coded[1].plan.bits, coded[0].plan.bits + sideCode.plan.bits,
                                  sideCode.plan.bits + coded[1].plan.bits, midCode.plan.bits + sideCode.plan.bits};
        const int cheapest = int(std::min_element(std::begin(costs), std::end(costs)) - std::begin(costs));
        if (cheapest == 1) coded = {coded[0], sideCode}, assignment = leftSide;
        if (cheapest == 2) coded = {sideCode, coded[1]}, assignment = rightSide;
        if (cheapest == 3) coded = {midCode, sideCode}, assignment = midSide;
    }

    BitWriter w;
    w.put(0x3ffe, 14);  // sync code
    w.put(0, 1);
    w.put(0, 1);        // fixed block size: the number counts frames
    uint32_t sizeCode = 12;  // 4096
    if (blockSize != flacBlockSize) sizeCode = blockSize <= 256 ? 6 : 7;
    w.put(sizeCode, 4);
    w.put(sampleRateCode(rate), 4);
    w.put(assignment, 4);
    w.put(4, 3);  // 16 bits per sample
    w.put(0, 1);
    putFrameNumber(w, frameNumber);
    if (sizeCode == 6) w.put(uint32_t(blockSize - 1), 8);
    if (sizeCode == 7) w.put(uint32_t(blockSize - 1), 16);
    w.put(crc8(w.bytes.data(), w.bytes.size()), 8);
    for (const ChannelCode& code : coded) putSubframe(w, code.samples, code.plan, code.bits);
    w.align();
    w.put(crc16(w.bytes.data(), w.bytes.size()), 16);
    return w.bytes;
}
}  // namespace

std::vector<uint8_t> encodeFlac(const std::vector<int16_t>& samples, int channels, int rate) {
    const std::size_t total = samples.size() / channels;
    std::vector<std::vector<uint8_t>> frames;
    uint32_t minFrame = 0, maxFrame = 0;
    for (std::size_t first = 0; first < total; first += flacBlockSize) {
        const int blockSize = int(std::min<std::size_t>(flacBlockSize, total - first));
        frames.push_back(encodeFrame(samples, channels, rate, first, blockSize, uint32_t(frames.size())));
        const uint32_t size = uint32_t(frames.back().size());
        minFrame = frames.size() == 1 ? size : std::min(minFrame, size);
        maxFrame = std::max(maxFrame, size);
    }

    Md5 md5;
    for (int16_t s : samples) {
        const uint8_t bytes[2] = {uint8_t(s), uint8_t(uint16_t(s) >> 8)};
        md5.add(bytes, 2);
    }

    BitWriter w;
    for (char c : {'f', 'L', 'a', 'C'}) w.put(uint8_t(c), 8);
    w.put(1, 1);   // the last (only) metadata block
    w.put(0, 7);   // STREAMINFO
    w.put(34, 24); // its length in bytes
    w.put(flacBlockSize, 16);
    w.put(flacBlockSize, 16);
    w.put(minFrame, 24);
    w.put(maxFrame, 24);
    w.put(uint32_t(rate), 20);
    w.put(uint32_t(channels - 1), 3);
    w.put(bitsPerSample - 1, 5);
    w.put(uint32_t(uint64_t(total) >> 32), 4);
    w.put(uint32_t(total), 32);
    for (uint8_t b : md5.finish()) w.put(b, 8);
    for (const std::vector<uint8_t>& frame : frames) w.bytes.insert(w.bytes.end(), frame.begin(), frame.end());
    return w.bytes;
}
