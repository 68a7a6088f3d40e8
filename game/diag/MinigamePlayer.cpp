#include "game/diag/MinigamePlayer.h"

#include "framework/graphics/Rect.h"
#include "framework/platform/Platform.h"
#include "game/minigame/MinigameClothing.h"
#include "game/minigame/MinigameMannequin.h"
#include "game/minigame/MinigamePlay.h"

#include <algorithm>

namespace
{
using Type = Zestra::PlatformEvent::Type;

// Where on a mannequin a card is let go: its chest or its legs.
constexpr int kTopDropY = 70;
constexpr int kBottomDropY = 150;
constexpr int kDonePause = 50; // updates before pressing the done button again if nothing happened

Zestra::PlatformEvent MakeEvent(Type type, int x, int y, int code)
{
    Zestra::PlatformEvent event;
    event.mType = type;
    event.mX = x;
    event.mY = y;
    event.mClickCode = code;
    return event;
}
} // namespace

MinigamePlayer::MinigamePlayer(EventSink sink, int memoryPercent, unsigned seed)
    : mSink(std::move(sink)), mMemoryPercent(memoryPercent), mRandom(seed)
{
}

void MinigamePlayer::Send(int type, int x, int y, int code)
{
    mSink(MakeEvent(Type(type), x, y, code));
}

void MinigamePlayer::Remember(const MinigamePlay& play)
{
    // Only what is on show counts: after the windows close the pieces are hidden and must come from memory.
    mSlots.clear();
    std::vector<Slot> bottoms;
    std::uniform_int_distribution<int> percent(0, 99);
    for (size_t i = 0; i < play.mannequins.size(); ++i)
    {
        const MinigameMannequin& m = *play.mannequins[i];
        if (m.topPiece && m.topShown)
        {
            Slot slot{i, true, m.topPiece->kind, m.topPiece->name};
            if (percent(mRandom) >= mMemoryPercent)
                slot.name.clear();
            mSlots.push_back(slot);
        }
        if (m.bottomPiece && m.bottomShown)
        {
            Slot slot{i, false, m.bottomPiece->kind, m.bottomPiece->name};
            if (percent(mRandom) >= mMemoryPercent)
                slot.name.clear();
            bottoms.push_back(slot);
        }
    }
    // Tops first: a dress is refused once a bottom is placed.
    mSlots.insert(mSlots.end(), bottoms.begin(), bottoms.end());
    mRemembered = true;
}

bool MinigamePlayer::StartDrag(const MinigamePlay& play)
{
    for (const Slot& slot : mSlots)
    {
        if (slot.mannequin >= play.mannequins.size() || mTried.count({slot.mannequin, slot.top}))
            continue;
        const MinigameMannequin& target = *play.mannequins[slot.mannequin];
        if (slot.top ? target.topPlaced : (target.bottomPlaced || target.dress))
            continue;
        const MinigameClothing* card = nullptr;
        if (!slot.name.empty())
        {
            for (const auto& c : play.cards)
                if (c->name == slot.name)
                    card = c.get();
        }
        else
        {
            std::vector<const MinigameClothing*> guesses;
            for (const auto& c : play.cards)
                if (c->male == target.male && c->kind == slot.kind)
                    guesses.push_back(c.get());
            if (!guesses.empty())
                card = guesses[std::uniform_int_distribution<size_t>(0, guesses.size() - 1)(mRandom)];
        }
        mTried.insert({slot.mannequin, slot.top});
        if (card == nullptr)
            continue;
        // Grabbed by its middle, the card's centre follows the pointer to the drop point.
        int fromX = card->x + card->CelWidth() / 2;
        int fromY = card->y + card->CelHeight() / 2;
        int toX = target.CentreX();
        int toY = target.y + (slot.top ? kTopDropY : kBottomDropY);
        mGesture.clear();
        mGesture.push_back(MakeEvent(Type::MouseMove, fromX, fromY, 0));
        mGesture.push_back(MakeEvent(Type::MouseDown, fromX, fromY, 1));
        for (int step = 1; step <= kDragMoves; ++step)
            mGesture.push_back(MakeEvent(Type::MouseMove, fromX + (toX - fromX) * step / kDragMoves,
                                         fromY + (toY - fromY) * step / kDragMoves, 0));
        mGesture.push_back(MakeEvent(Type::MouseUp, toX, toY, 1));
        std::reverse(mGesture.begin(), mGesture.end());
        ++drags;
        return true;
    }
    return false;
}

void MinigamePlayer::Update(const MinigamePlay& play, const Zestra::Rect* doneButton)
{
    if (play.stage != mStage)
    {
        mStage = play.stage;
        mRemembered = false;
        mSlots.clear();
        mTried.clear();
        mGesture.clear();
    }
    if (play.phase == MinigamePhase::Preview && !mRemembered)
        Remember(play);
    if (!mGesture.empty())
    {
        // The gesture goes on even if time ran out: the release then lands on nothing.
        mSink(mGesture.back());
        mGesture.pop_back();
        return;
    }
    if (mWait > 0)
    {
        --mWait;
        return;
    }
    if (play.phase == MinigamePhase::Solving && mRemembered)
    {
        if (StartDrag(play))
            mWait = kThinkTicks;
        return;
    }
    if (play.phase == MinigamePhase::Results && play.timer == 0 && doneButton != nullptr)
    {
        int x = doneButton->mX + doneButton->mWidth / 2;
        int y = doneButton->mY + doneButton->mHeight / 2;
        Send(int(Type::MouseMove), x, y, 0);
        Send(int(Type::MouseDown), x, y, 1);
        Send(int(Type::MouseUp), x, y, 1);
        ++donePresses;
        mWait = kDonePause;
    }
}
