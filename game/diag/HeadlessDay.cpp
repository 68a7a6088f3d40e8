#include "game/diag/HeadlessDay.h"

#include "framework/platform/Platform.h"
#include "game/diag/NovicePlayer.h"
#include "game/diag/PlayerBot.h"
#include "game/shopday/Board.h"

#include <memory>

void HeadlessDay::Deliver(const Zestra::PlatformEvent& event)
{
    using Type = Zestra::PlatformEvent::Type;
    switch (event.mType)
    {
    case Type::MouseMove:
        if (mPressed)
            mBoard.OnMouseDrag(event.mX, event.mY);
        else
            mBoard.OnMouseMove(event.mX, event.mY);
        break;
    case Type::MouseDown:
        mPressed = true;
        mBoard.OnMouseDown(event.mX, event.mY, event.mClickCode);
        break;
    case Type::MouseUp:
        mPressed = false;
        mBoard.OnMouseUp(event.mX, event.mY, event.mClickCode);
        break;
    default:
        break;
    }
}

DayOutcome HeadlessDay::Play(bool autoplay, Zestra::Graphics* g, int maxTicks)
{
    std::unique_ptr<PlayerBot> bot;
    if (autoplay)
        bot = std::make_unique<PlayerBot>(mBoard, [this](const Zestra::PlatformEvent& event) { Deliver(event); });
    return PlayWith(bot.get(), g, maxTicks);
}

DayOutcome HeadlessDay::PlayAsNovice(unsigned seed, int maxTicks)
{
    PlayerBot bot(mBoard, [this](const Zestra::PlatformEvent& event) { Deliver(event); }, PlayerBot::Style::Novice,
                  seed);
    return PlayWith(&bot, nullptr, maxTicks);
}

DayOutcome HeadlessDay::PlayWith(PlayerBot* bot, Zestra::Graphics* g, int maxTicks)
{
    DayOutcome outcome;
    int tick = 0;
    while (mBoard.lastDay.levelResult == DayResult::None && tick < maxTicks)
    {
        mBoard.PlayTick();
        ++tick;
        if (bot && mBoard.lastDay.levelResult == DayResult::None)
            bot->Update();
        if (g != nullptr)
            mBoard.PaintPlay(*g);
    }
    outcome.result = int(mBoard.lastDay.levelResult);
    outcome.money = mBoard.lastDay.levelResult != DayResult::None ? mBoard.lastDay.levelMoney : mBoard.day.money;
    outcome.cash = mBoard.day.cash;
    outcome.tips = mBoard.day.tips;
    outcome.goal = mBoard.day.goal;
    outcome.expertGoal = mBoard.day.expertGoal;
    outcome.lostCustomers = mBoard.day.lostCustomers;
    outcome.customersServed = mBoard.day.customersServed;
    outcome.ticks = tick;
    if (bot != nullptr)
    {
        const NovicePlayer* novice = bot->Novice();
        outcome.clicks = novice != nullptr ? novice->clicks : bot->clicks;
        outcome.misses = novice != nullptr ? novice->misses : 0;
    }
    return outcome;
}

int HeadlessDay::PlayLesson(Zestra::Graphics* g, int maxTicks)
{
    PlayerBot bot(mBoard, [this](const Zestra::PlatformEvent& event) { Deliver(event); });
    for (int tick = 0; tick < maxTicks; ++tick)
    {
        if (mBoard.lesson == nullptr)
            return tick;
        mBoard.PlayTick();
        if (mBoard.lesson != nullptr)
            bot.Update();
        if (g != nullptr)
            mBoard.PaintPlay(*g);
    }
    return mBoard.lesson == nullptr ? maxTicks : -1;
}
