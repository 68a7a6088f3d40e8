#include "game/diag/MouseDriver.h"

#include "framework/log/Log.h"
#include "framework/platform/Platform.h"

namespace
{
using Type = Zestra::PlatformEvent::Type;
constexpr const char* kVerbs[] = {"move", "down", "up"};

int VerbOf(Type type)
{
    switch (type)
    {
    case Type::MouseMove:
        return 0;
    case Type::MouseDown:
        return 1;
    case Type::MouseUp:
        return 2;
    default:
        return -1;
    }
}

// Only the left button is the player's; the display reports a quick second press as a double click.
bool IsLeftButton(const Zestra::PlatformEvent& event)
{
    return event.mType == Type::MouseMove || event.mClickCode == 1 || event.mClickCode == 2;
}
} // namespace

MouseDriver::MouseDriver(LineSink sink) : mSink(std::move(sink)) {}

void MouseDriver::Offer(const Zestra::PlatformEvent& event)
{
    const int verb = VerbOf(event.mType);
    if (verb < 0 || !IsLeftButton(event))
        return;
    mPending.push_back(Wanted{verb, event.mX, event.mY});
    if (mAwaitedLine.empty())
        SendNext();
}

void MouseDriver::SendNext()
{
    mAwaitedLine.clear();
    mWaited = 0;
    while (!mPending.empty())
    {
        const Wanted& next = mPending.front();
        if (next.type == 0 && mPointerKnown && next.x == mPointerX && next.y == mPointerY)
        {
            mPending.pop_front();
            continue;
        }
        mAwaitedLine = std::string(kVerbs[next.type]) + " " + std::to_string(next.x) + " " + std::to_string(next.y);
        mSink(mAwaitedLine);
        return;
    }
}

void MouseDriver::Observe(const Zestra::PlatformEvent& event)
{
    const int verb = VerbOf(event.mType);
    if (verb < 0)
        return;
    mPointerKnown = true;
    mPointerX = event.mX;
    mPointerY = event.mY;
    if (mAwaitedLine.empty() || mPending.empty())
        return;
    const Wanted& awaited = mPending.front();
    if (verb != awaited.type || event.mX != awaited.x || event.mY != awaited.y || !IsLeftButton(event))
        return;
    mPending.pop_front();
    SendNext();
}

void MouseDriver::Update()
{
    if (mAwaitedLine.empty())
        return;
    if (++mWaited == kPatienceUpdates)
        Zestra::LogFormat("drive: still waiting for \"%s\" to come back from the display\n", mAwaitedLine.c_str());
}
