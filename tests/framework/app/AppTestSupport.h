// A headless application with a probe widget that logs updates ("U") and paints ("D"), for the loop tests.
#pragma once

#include "framework/app/ZestraAppBase.h"
#include "framework/graphics/Graphics.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <functional>
#include <string>
#include <vector>

namespace ZestraTest
{

class LoopProbe : public Zestra::Widget
{
public:
    LoopProbe()
    {
        mWidth = 100;
        mHeight = 100;
    }
    void Tick() override
    {
        Widget::Tick();
        mEvents += 'U';
        if (mOnTick)
            mOnTick();
        if (mAlwaysDirty)
            Invalidate();
    }
    void TickFraction(double step) override { mSteps.push_back(step); }
    void Paint(Zestra::Graphics& g) override
    {
        mEvents += 'D';
        if (mOnPaint)
            mOnPaint();
    }

    std::string mEvents;
    std::vector<double> mSteps;
    bool mAlwaysDirty = true;
    std::function<void()> mOnTick;
    std::function<void()> mOnPaint;
};

// Records the volumes the application applies.
class RecordingMusic : public Zestra::MusicInterface
{
public:
    explicit RecordingMusic(std::vector<double>* volumes) : mVolumes(volumes) {}
    void SetVolume(double volume) override { mVolumes->push_back(volume); }
    std::vector<double>* mVolumes;
};

class TestApp : public Zestra::ZestraAppBase
{
public:
    explicit TestApp(Zestra::HeadlessPlatform& platform) : ZestraAppBase(platform)
    {
        Config().mSilent = true;
        Loading().mAutoStartLoadingThread = false;
    }
    // Tests stand inside a nested loop by setting the depth.
    using ZestraAppBase::mNestingDepth;
};

// Longest run of updates without a paint in an event string.
inline int LongestUpdateRun(const std::string& events)
{
    int best = 0;
    int run = 0;
    for (char c : events)
    {
        run = c == 'U' ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

} // namespace ZestraTest
