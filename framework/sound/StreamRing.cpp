// The ring's positions only grow; they are masked into a power-of-two buffer, so full and empty never look alike
// and each side owns exactly one counter.
#include "framework/sound/StreamRing.h"

namespace Zestra
{

StreamRing::StreamRing(int capacityFrames)
{
    uint64_t capacity = 1;
    while (capacity < uint64_t(capacityFrames > 1 ? capacityFrames : 1))
        capacity <<= 1;
    mMask = capacity - 1;
    mSamples = std::make_unique<int16_t[]>(capacity * 2);
}

int StreamRing::FreeFrames() const
{
    uint64_t used = mWrite.load(std::memory_order_relaxed) - mRead.load(std::memory_order_acquire);
    return int(mMask + 1 - used);
}

int StreamRing::AvailableFrames() const
{
    return int(mWrite.load(std::memory_order_acquire) - mRead.load(std::memory_order_relaxed));
}

int StreamRing::Write(const int16_t* samples, int frames)
{
    uint64_t write = mWrite.load(std::memory_order_relaxed);
    int n = frames < FreeFrames() ? frames : FreeFrames();
    for (int i = 0; i < n; ++i)
    {
        uint64_t at = ((write + uint64_t(i)) & mMask) * 2;
        mSamples[at] = samples[2 * i];
        mSamples[at + 1] = samples[2 * i + 1];
    }
    // Publish the frames only after they are in place.
    mWrite.store(write + uint64_t(n), std::memory_order_release);
    return n;
}

bool StreamRing::Pop(int16_t& left, int16_t& right)
{
    uint64_t read = mRead.load(std::memory_order_relaxed);
    if (read == mWrite.load(std::memory_order_acquire))
        return false;
    uint64_t at = (read & mMask) * 2;
    left = mSamples[at];
    right = mSamples[at + 1];
    mRead.store(read + 1, std::memory_order_release);
    return true;
}

void StreamRing::Reset()
{
    mRead.store(0, std::memory_order_relaxed);
    mWrite.store(0, std::memory_order_relaxed);
    mEnded.store(false, std::memory_order_release);
}

} // namespace Zestra
