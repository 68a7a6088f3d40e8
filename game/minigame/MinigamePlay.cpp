#include "game/minigame/MinigamePlay.h"

#include "framework/sound/MusicInterface.h"
#include "game/data/LevelStats.h"
#include "game/data/Money.h"
#include "game/minigame/MinigameBonus.h"
#include "game/minigame/MinigameClothing.h"
#include "game/minigame/MinigameMannequin.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"

#include <algorithm>
#include <cstdlib>

namespace
{
// The tray: two rows of cards, columns 80 pixels apart, filled column by column.
constexpr int kTrayColumnWidth = 80;
constexpr int kTrayLeftCentre = 80;
constexpr int kTrayRowHeight = 110;
constexpr int kTrayTop = 380;
constexpr int kTrayRows = 2;
// Ticks per whole second of the timer shown.
constexpr int kTicksPerSecond = 100;
constexpr int kResultSoundEvery = 30;
constexpr int kResultSoundAt = 15;

// One entry of the deck: a copy of a store piece with the random key the tray is sorted by.
struct MinigameCard
{
    MinigameClothingInfo info;
    int sortKey = 0;
};

MinigameCard MakeCard(const MinigameClothingInfo& info)
{
    return MinigameCard{info, std::rand()};
}

const MinigameClothingInfo* TakeAt(std::vector<const MinigameClothingInfo*>& pool, size_t index)
{
    const MinigameClothingInfo* entry = pool[index];
    pool.erase(pool.begin() + std::ptrdiff_t(index));
    return entry;
}

bool AllComplete(const std::vector<std::unique_ptr<MinigameMannequin>>& mannequins)
{
    return std::all_of(mannequins.begin(), mannequins.end(), [](const auto& m) { return m->IsComplete(); });
}

// Whether some piece of the pool still fits some mannequin: without one, dressing could never finish.
bool AnyFits(const std::vector<const MinigameClothingInfo*>& pool,
             const std::vector<std::unique_ptr<MinigameMannequin>>& mannequins)
{
    for (const MinigameClothingInfo* entry : pool)
        for (const auto& mannequin : mannequins)
            if (mannequin->CanDress(*entry))
                return true;
    return false;
}
} // namespace

MinigamePlay::MinigamePlay(const LevelInfo& info, const std::vector<MinigameClothingInfo>& clothing,
                           Zestra::MusicInterface* music)
    : info(info), clothing(clothing), music(music)
{
}

MinigamePlay::~MinigamePlay() = default;

int MinigamePlay::SolveTicks() const
{
    return info.solveTime * int(mannequins.size());
}

void MinigamePlay::StartStage()
{
    // The bonuses stay: a second stage follows only a stage without wrong cards, whose texts have faded.
    cards.clear();
    mannequins.clear();
    draggedCard.reset();
    score = 0;
    stage += 1;
    matches = 0;
    misses = 0;
    needed = 0;
    extraSeconds = 0;
    windowAlpha = 0;
    phase = MinigamePhase::Preview;
    timer = info.previewTime;

    for (const MinigameMannequinInfo& m : info.minigameMannequins)
        if (!m.secondRound || stage > 1)
            mannequins.push_back(std::make_unique<MinigameMannequin>(m.x, m.y, m.male));

    std::vector<const MinigameClothingInfo*> pool;
    for (const MinigameClothingInfo& piece : clothing)
        pool.push_back(&piece);
    std::vector<MinigameCard> deck;

    // Dressing: a piece no mannequin takes goes back to the pool. A store without a fitting piece for some slot
    // stops here with that mannequin incomplete instead of picking forever.
    while (!AllComplete(mannequins) && AnyFits(pool, mannequins))
    {
        size_t pick = size_t(std::rand()) % pool.size();
        for (auto& mannequin : mannequins)
            if (mannequin->Dress(*pool[pick]))
            {
                deck.push_back(MakeCard(*TakeAt(pool, pick)));
                needed += 1;
                break;
            }
    }
    // Distractors fill the deck up.
    while (deck.size() < size_t(kDeckSize) && !pool.empty())
    {
        size_t pick = size_t(std::rand()) % pool.size();
        deck.push_back(MakeCard(*TakeAt(pool, pick)));
    }
    // Stable, so that equal keys keep the deck order on every standard library.
    std::stable_sort(deck.begin(), deck.end(),
                     [](const MinigameCard& a, const MinigameCard& b) { return a.sortKey < b.sortKey; });
    for (size_t j = 0; j < deck.size(); ++j)
    {
        int column = int(j) / kTrayRows;
        int row = int(j) % kTrayRows;
        auto card = std::make_unique<MinigameClothing>(0, row * kTrayRowHeight + kTrayTop, deck[j].info);
        card->x = column * kTrayColumnWidth + kTrayLeftCentre - card->CelWidth() / 2;
        cards.push_back(std::move(card));
    }

    if (music != nullptr)
    {
        music->FadeAllOut(true, kMusicFadeSpeed);
        music->PlaySong(info.music, 0, false);
    }
}

void MinigamePlay::Update()
{
    for (auto& mannequin : mannequins)
        mannequin->Update();
    for (auto& bonus : bonuses)
        bonus->Update();

    // Countdowns end at or below 0, so a time of 0 in the data moves straight on.
    switch (phase)
    {
    case MinigamePhase::Created:
        break;
    case MinigamePhase::Preview:
        timer -= 1;
        if (timer <= 0)
        {
            PlayGameSound(SOUND_START_ROUND);
            phase = MinigamePhase::ClosingWindows;
            timer = 0;
        }
        break;
    case MinigamePhase::ClosingWindows:
        timer += 1;
        windowAlpha = timer * 255 / kWindowTicks;
        if (timer >= kWindowTicks)
        {
            windowAlpha = 255;
            phase = MinigamePhase::Hidden;
            timer = info.hideTime;
            for (auto& mannequin : mannequins)
            {
                mannequin->topShown = false;
                mannequin->bottomShown = false;
            }
        }
        break;
    case MinigamePhase::Hidden:
        timer -= 1;
        if (timer <= 0)
        {
            phase = MinigamePhase::OpeningWindows;
            timer = 0;
        }
        break;
    case MinigamePhase::OpeningWindows:
        timer += 1;
        windowAlpha = (kWindowTicks - timer) * 255 / kWindowTicks;
        if (timer >= kWindowTicks)
        {
            windowAlpha = 0;
            phase = MinigamePhase::Solving;
            timer = SolveTicks();
            PlayGameSound(SOUND_START_ROUND);
        }
        break;
    case MinigamePhase::Solving:
        timer -= 1;
        if (timer <= 0)
            EndStage();
        break;
    case MinigamePhase::Results:
        if (timer > 0)
        {
            timer -= 1;
            if (timer % kResultSoundEvery == kResultSoundAt)
                PlayGameSound(SOUND_START_ROUND);
            if (timer == 0)
                PlayGameSound(matches > 0 ? SOUND_APPLAUSE : SOUND_LOST);
        }
        break;
    }
}

void MinigamePlay::EndStage()
{
    phase = MinigamePhase::Results;
    draggedCard.reset();
    timer = kResultTicks;
    if (music != nullptr)
        music->StopSong(info.music);
}

MinigameClothing* MinigamePlay::CardAt(int px, int py) const
{
    for (const auto& card : cards)
        if (card->Contains(px, py))
            return card.get();
    return nullptr;
}

bool MinigamePlay::Grab(int px, int py)
{
    if (phase != MinigamePhase::Solving || draggedCard)
        return false;
    for (auto it = cards.begin(); it != cards.end(); ++it)
        if ((*it)->Contains(px, py))
        {
            draggedCard = std::move(*it);
            cards.erase(it);
            homeX = draggedCard->x;
            homeY = draggedCard->y;
            dragOffsetX = draggedCard->x - px;
            dragOffsetY = draggedCard->y - py;
            return true;
        }
    return false;
}

void MinigamePlay::Drag(int px, int py)
{
    if (!draggedCard)
        return;
    draggedCard->x = px + dragOffsetX;
    draggedCard->y = py + dragOffsetY;
}

void MinigamePlay::Drop()
{
    if (!draggedCard)
        return;
    int centreX = draggedCard->x + draggedCard->CelWidth() / 2;
    int centreY = draggedCard->y + draggedCard->CelHeight() / 2;
    for (auto& mannequin : mannequins)
    {
        if (!mannequin->Contains(centreX, centreY))
            continue;
        std::unique_ptr<MinigameBonus> bonus = mannequin->Place(*draggedCard, info.matchBonus);
        if (!bonus)
            continue;
        score = AddMoney(score, bonus->value);
        if (bonus->right)
            matches += 1;
        else
            misses += 1;
        bonuses.push_back(std::move(bonus));
        draggedCard.reset();
        bool done = std::all_of(mannequins.begin(), mannequins.end(), [](const auto& m) { return m->IsPlaced(); });
        if (done)
        {
            if (misses == 0)
            {
                extraSeconds = (timer + kTicksPerSecond - 1) / kTicksPerSecond;
                score = AddMoney(score, double(info.timeBonus) * extraSeconds);
            }
            EndStage();
        }
        return;
    }
    draggedCard->x = homeX;
    draggedCard->y = homeY;
    cards.push_back(std::move(draggedCard));
}

bool MinigamePlay::EarnsSecondStage() const
{
    return stage < 2 && needed > 0 && matches == needed && misses == 0;
}
