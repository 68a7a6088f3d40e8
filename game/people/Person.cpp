#include "game/people/Person.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/data/PersonStats.h"
#include "game/people/Action.h"
#include "game/audio/GameSound.h"
#include "game/people/PersonObserver.h"
#include "game/res/Res.h"

#include <cmath>

namespace
{
constexpr int kWalkFrames = 8;
constexpr int kStandAfterIdleTicks = 3;
const Zestra::Color kHighlightTint(180, 255, 102);

int LegsRow(int pose)
{
    switch (pose)
    {
    case Person::POSE_STANDING:
    case Person::POSE_DISCARDING:
        return 3;
    case Person::POSE_UP:
        return 2;
    case Person::POSE_DOWN:
        return 1;
    default:
        return 0; // sideways, and any unknown pose
    }
}
} // namespace

Person::Person(int x, int y, const std::string& personName, float speed)
    : Component(x, y, FindPerson(personName).torsoWalk), definition(&FindPerson(personName)), speed(speed),
      exactX(float(x)), exactY(float(y)), framePixels(definition->animationSpeed),
      cyclePixels(kWalkFrames * definition->animationSpeed)
{
}

Person::~Person() = default;

void Person::Draw(Zestra::Graphics& g)
{
    if (visible)
        DrawPerson(g);
}

bool Person::IsAngry() const
{
    return false;
}

bool Person::IsHolding(int item) const
{
    return hands[0] == item || hands[1] == item;
}

void Person::PickUp(int item, bool withSound)
{
    // Callers check for a free hand first; a full pair of hands replaces hand 1.
    hands[hands[0] == 0 ? 0 : 1] = item;
    if (withSound)
        PlayGameSound(SOUND_PICK_UP);
}

void Person::PutDown(int item, bool withSound)
{
    if (hands[0] == item)
        hands[0] = 0;
    else if (hands[1] == item)
        hands[1] = 0;
    if (withSound)
        PlayGameSound(SOUND_PUT_DOWN);
}

void Person::EmptyHands()
{
    hands[0] = hands[1] = 0;
    wrapped[0] = wrapped[1] = false;
}

void Person::Step(float d, bool vertical, int stepPose)
{
    ClearAnimation();
    if (vertical)
    {
        exactY += d;
        y = int(exactY);
    }
    else
    {
        exactX += d;
        x = int(exactX);
    }
    if (pose != stepPose)
    {
        pose = stepPose;
        walkPhase = 0.0f;
    }
    walkPhase += std::fabs(d);
    if (walkPhase >= cyclePixels)
        walkPhase -= cyclePixels;
}

void Person::MoveRight(float d)
{
    Step(d, false, POSE_RIGHT);
}

void Person::MoveLeft(float d)
{
    Step(d, false, POSE_LEFT);
}

void Person::MoveDown(float d)
{
    Step(d, true, POSE_DOWN);
}

void Person::MoveUp(float d)
{
    Step(d, true, POSE_UP);
}

void Person::StopWalking()
{
    pose = POSE_STANDING;
    walkPhase = 0.0f;
}

void Person::SetDiscardPose()
{
    pose = POSE_DISCARDING;
    walkPhase = 0.0f;
}

void Person::SetAnimation(const std::string& name)
{
    animationName = name;
    animationFrame = 0;
    frameTicks = 0;
    StopWalking();
}

void Person::ClearAnimation()
{
    animationName.clear();
    idleTicks = 0;
}

void Person::AddAction(std::unique_ptr<Action> action)
{
    actions.push_back(std::move(action));
}

void Person::AddActionFront(std::unique_ptr<Action> action)
{
    actions.push_front(std::move(action));
}

void Person::UpdateActions(float dt, const Walkways& walkways)
{
    while (!actions.empty())
    {
        actions.front()->Update(dt, walkways);
        if (actions.front()->state != Action::STATE_FINISHED)
            return;
        // Unlink before deleting, so that nothing reached from the destructor sees a freed entry in the queue.
        std::unique_ptr<Action> finished = std::move(actions.front());
        actions.pop_front();
        finished.reset();
        if (listener != nullptr)
            listener->OnActionFinished(*this);
    }
}

Hands Person::HandState() const
{
    return Hands((hands[0] != 0 ? 1 : 0) + (hands[1] != 0 ? 2 : 0));
}

int Person::WalkFrame() const
{
    if (framePixels <= 0.0f)
        return 0;
    int frame = int(walkPhase / framePixels);
    return frame < 0 ? 0 : (frame >= kWalkFrames ? kWalkFrames - 1 : frame);
}

const PersonAnimation* Person::PlayingAnimation() const
{
    return animationName.empty() ? nullptr : definition->FindAnimation(animationName);
}

void Person::Update()
{
    if (!animationName.empty())
    {
        const PersonAnimation* animation = PlayingAnimation();
        // An unknown animation or one without frames ends at once.
        if (animation != nullptr && animationFrame < animation->frames.size())
        {
            frameTicks += 1;
            if (frameTicks < animation->frames[animationFrame].duration)
                return;
            animationFrame += 1;
            frameTicks = 0;
            if (animationFrame < animation->frames.size())
                return;
        }
        animationName.clear();
        idleTicks = 0;
        return;
    }
    idleTicks += 1;
    if (idleTicks == kStandAfterIdleTicks)
        StopWalking();
    const std::string* chosen = nullptr;
    int chosenInterval = 0;
    bool angry = IsAngry();
    int handState = int(HandState());
    // std::map walks names in byte-wise order, so equal intervals keep the earlier name.
    for (const auto& [name, animation] : definition->animations)
    {
        int interval = animation.idleInterval;
        if (interval <= 0 || idleTicks % interval != 0)
            continue;
        if (chosen != nullptr && interval <= chosenInterval)
            continue;
        if (animation.holdingLimit < handState)
            continue;
        if ((name == "angry") != angry)
            continue;
        chosen = &name;
        chosenInterval = interval;
    }
    if (chosen != nullptr)
        SetAnimation(*chosen);
}

void Person::DrawCel(Zestra::Graphics& g, Zestra::Image* sheet, int column, int row, int yOffset)
{
    if (sheet == nullptr)
        return;
    Zestra::Rect source(column * kPersonCelSize, row * kPersonCelSize, kPersonCelSize, kPersonCelSize);
    g.BlitFlipped(sheet, x, y + yOffset, source, pose == POSE_LEFT);
}

void Person::DrawPerson(Zestra::Graphics& g)
{
    if (Zestra::Image* shadow = IMAGE_SHADOW.get())
        g.Blit(shadow, x + 60 - shadow->GetWidth() / 2, y + kPersonFeetY - shadow->GetHeight() / 2);

    const PersonAnimation* animation = PlayingAnimation();
    const AnimationFrame* frame = nullptr;
    if (animation != nullptr && animationFrame < animation->frames.size())
        frame = &animation->frames[animationFrame];
    else
        animation = nullptr;
    int handState = int(HandState());

    Zestra::Color oldInk = g.GetInk();
    bool oldTint = g.GetTintImages();
    if (highlighted)
    {
        g.SetInk(kHighlightTint);
        g.SetTintImages(true);
    }
    if (animation == nullptr || !animation->hideLegs)
    {
        int column = (pose == POSE_STANDING) ? 0 : (pose == POSE_DISCARDING ? 1 : WalkFrame());
        DrawCel(g, definition->legsWalk, column, LegsRow(pose), 0);
    }
    if (animation != nullptr)
    {
        int r = (animation->showTorso || !animation->showClothing) ? 0 : handState;
        DrawCel(g, definition->torsoIdle, frame->column, animation->row + r, frame->yOffset);
    }
    if (animation == nullptr || animation->showTorso)
    {
        bool back = pose == POSE_UP || pose == POSE_DISCARDING;
        int column = (back ? 1 : 0) + (pose != POSE_UP && IsAngry() ? 2 : 0);
        int row = (animation != nullptr && !animation->showClothing) ? 0 : handState;
        DrawCel(g, definition->torsoWalk, column, row, 0);
    }
    g.SetTintImages(oldTint);
    g.SetInk(oldInk);
    if (animation != nullptr && !animation->showClothing)
        return;

    int view = (pose == POSE_UP || pose == POSE_DISCARDING ? 1 : 0) + (pose == POSE_LEFT ? 2 : 0);
    for (int hand = 0; hand < 2; ++hand)
    {
        if (hands[hand] == 0)
            continue;
        Zestra::Image* picture = wrapped[hand] ? IMAGE_GIFT_BAG.get() : GetClothing(hands[hand]).carried;
        if (picture == nullptr)
            continue;
        const HandOffset& offset = definition->handOffsets[hand][view];
        int dy = (animation != nullptr && animation->clothesMove) ? frame->yOffset : 0;
        g.Blit(picture, x + offset.x - picture->GetWidth() / 2, y + offset.y + dy);
    }
}
