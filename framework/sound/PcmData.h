// A sound decoded completely into memory, in the format the mixer plays directly.
#pragma once

#include <cstdint>
#include <vector>

namespace Zestra
{

struct PcmData
{
    int mChannels = 1; // 1 or 2, interleaved
    int mRate = 22050; // frames per second, > 0
    int mBits = 16;    // 16: signed little-endian; 8: unsigned, 128 is silence
    std::vector<uint8_t> mBytes;

    int BlockAlign() const { return mChannels * mBits / 8; }
    int64_t Frames() const { return BlockAlign() > 0 ? int64_t(mBytes.size()) / BlockAlign() : 0; }
};

} // namespace Zestra
