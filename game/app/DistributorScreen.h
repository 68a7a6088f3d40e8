// A full-screen splash picture read from the program folder ("splash", "splash2"). It shows for 400 updates, ends
// at once on a left click, and a missing picture ends it on its first update; the application then moves on.
#pragma once

#include "framework/widgets/Widget.h"

#include <memory>
#include <string>

namespace Zestra
{

class GameApp;
class MemoryImage;

class DistributorScreen : public Widget
{
public:
    static constexpr int kLastUpdate = 401;

    DistributorScreen(GameApp& app, const std::string& pictureName);
    ~DistributorScreen() override;

    void Tick() override;
    void Paint(Graphics& g) override;
    void OnMouseDown(int x, int y, int clickCode) override;

    bool HasPicture() const { return mPicture != nullptr; }

private:
    void End();

    std::unique_ptr<MemoryImage> mPicture;
    int mUpdateCount = 0;
    bool mEnded = false;
    GameApp& mApp;
};

} // namespace Zestra
