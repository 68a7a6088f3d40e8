// Test support for the memory game: pictures and sounds bound to the resource ids, a store's worth of pieces of
// every gender and kind, a level built per test, and the moves a player makes (remembering the preview, dragging a
// card by its middle onto a mannequin).
#pragma once

#include "../store/StoreTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/minigame/MinigameBonus.h"
#include "game/minigame/MinigameClothing.h"
#include "game/minigame/MinigameMannequin.h"
#include "game/minigame/MinigamePlay.h"
#include "game/audio/GameSound.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

constexpr int kTop = 0;
constexpr int kBottom = 1;
constexpr int kDress = 2;

// Pictures, sounds and a store's pieces for the memory game; the level is built per test.
class MinigameTest : public BoundPictures
{
protected:
    void SetUp() override
    {
        IMAGE_MINIGAME_MANNEQUIN_MALE = MakePicture(90, 220);
        IMAGE_MINIGAME_MANNEQUIN_FEMALE = MakePicture(90, 220);
        IMAGE_MINIGAME_ERROR = MakePicture(60, 60);
        SOUND_CORRECT = 1;
        SOUND_INCORRECT = 2;
        SOUND_START_ROUND = 3;
        SOUND_APPLAUSE = 4;
        SOUND_LOST = 5;
        SetGameSoundSink([this](int id) { sounds.push_back(id); });
        std::srand(7);
        info.previewTime = 300;
        info.hideTime = 150;
        info.solveTime = 1000;
        info.matchBonus = 15;
        info.timeBonus = 1.5f;
        info.isMinigame = true;
    }
    void TearDown() override
    {
        SetGameSoundSink(nullptr);
        BoundPictures::TearDown();
    }

    void AddPiece(const std::string& name, bool male, int kind)
    {
        int height = kind == kTop ? 56 : kind == kBottom ? 80 : 108;
        pictures.push_back(MakePicture(64, height));
        clothing.push_back({pictures.back().get(), name, male, kind});
    }
    // Four tops, four bottoms and three dresses for each gender: plenty for six mannequins and distractors.
    void AddStorePieces()
    {
        for (bool male : {false, true})
        {
            std::string who = male ? "m_" : "f_";
            for (int i = 0; i < 4; ++i)
            {
                AddPiece(who + "top" + std::to_string(i), male, kTop);
                AddPiece(who + "bottom" + std::to_string(i), male, kBottom);
            }
            for (int i = 0; i < 3; ++i)
                AddPiece(who + "dress" + std::to_string(i), male, kDress);
        }
    }
    void AddMannequin(bool male, int x, bool secondRound = false)
    {
        info.minigameMannequins.push_back({male, x, 70, secondRound});
    }
    const MinigameClothingInfo& Piece(const std::string& name) const
    {
        return *std::find_if(clothing.begin(), clothing.end(), [&](const auto& c) { return c.name == name; });
    }

    static void RunUntil(MinigamePlay& play, MinigamePhase phase, int limit = 100000)
    {
        for (int i = 0; i < limit && play.phase != phase; ++i)
            play.Update();
        ASSERT_EQ(play.phase, phase);
    }

    // What a player sees in the preview: the name of each mannequin's top and bottom piece ("" for none).
    struct Outfit
    {
        std::string top, bottom;
    };
    static std::vector<Outfit> Remember(const MinigamePlay& play)
    {
        std::vector<Outfit> seen;
        for (const auto& m : play.mannequins)
            seen.push_back({m->topPiece && m->topShown ? m->topPiece->name : "",
                            m->bottomPiece && m->bottomShown ? m->bottomPiece->name : ""});
        return seen;
    }

    // Drags the tray card of that name by its middle onto the middle of mannequin i. False without such a card.
    static bool DragOnto(MinigamePlay& play, const std::string& name, size_t i)
    {
        auto it = std::find_if(play.cards.begin(), play.cards.end(), [&](const auto& c) { return c->name == name; });
        if (it == play.cards.end())
            return false;
        const MinigameClothing& card = **it;
        if (!play.Grab(card.x + card.CelWidth() / 2, card.y + card.CelHeight() / 2))
            return false;
        const MinigameMannequin& target = *play.mannequins[i];
        play.Drag(target.CentreX(), target.y + 110);
        play.Drop();
        return true;
    }

    LevelInfo info;
    std::vector<MinigameClothingInfo> clothing;
    std::vector<std::shared_ptr<Zestra::MemoryImage>> pictures;
    std::vector<int> sounds;
};
