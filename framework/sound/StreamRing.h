// Single-producer single-consumer ring of interleaved 16-bit stereo frames between the main thread (which decodes
// a song into it) and the audio thread (which plays from it). Neither side locks or allocates; Reset is only
// called while the consumer is held off (the mixer's lock with the voice stopped).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace Zestra
{

class StreamRing
{
public:
    // capacityFrames is rounded up to a power of two.
    explicit StreamRing(int capacityFrames);

    int Capacity() const { return int(mMask + 1); }

    // Producer side.
    int FreeFrames() const;
    // Appends up to frames frames (2 samples each); returns how many fitted.
    int Write(const int16_t* samples, int frames);
    // No more frames will come: once the ring runs dry the voice stops.
    void MarkEnded() { mEnded.store(true, std::memory_order_release); }

    // Consumer side.
    int AvailableFrames() const;
    // Pops one frame; false when the ring is empty.
    bool Pop(int16_t& left, int16_t& right);
    bool Ended() const { return mEnded.load(std::memory_order_acquire); }
    // Frames popped since the last Reset (the song's playing position relative to where filling started).
    uint64_t Consumed() const { return mRead.load(std::memory_order_acquire); }

    void Reset();

private:
    std::unique_ptr<int16_t[]> mSamples;
    uint64_t mMask;
    std::atomic<uint64_t> mRead{0};
    std::atomic<uint64_t> mWrite{0};
    std::atomic<bool> mEnded{false};
};

} // namespace Zestra
