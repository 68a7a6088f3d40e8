#include "MinigameTestSupport.h"

namespace
{

TEST_F(MinigameTest, DressFollowsGenderAndSlots)
{
    AddStorePieces();
    struct Step
    {
        const char* piece;
        bool accepted;
    };
    const struct
    {
        bool male;
        std::vector<Step> steps;
        bool complete;
    } cases[] = {
        {false, {{"m_top0", false}, {"f_top0", true}, {"f_top1", false}, {"f_dress0", false}, {"f_bottom0", true},
                 {"f_bottom1", false}},
         true},
        {false, {{"f_bottom0", true}, {"f_dress0", false}, {"f_top0", true}}, true},
        {false, {{"f_dress0", true}, {"f_bottom0", false}, {"f_top0", false}}, true},
        {true, {{"f_bottom0", false}, {"m_bottom0", true}, {"m_bottom1", false}}, false},
    };
    for (const auto& c : cases)
    {
        MinigameMannequin mannequin(100, 70, c.male);
        for (const Step& step : c.steps)
            EXPECT_EQ(mannequin.Dress(Piece(step.piece)), step.accepted) << step.piece;
        EXPECT_EQ(mannequin.IsComplete(), c.complete);
    }
}

TEST_F(MinigameTest, PiecesSitOnTheFigureWithTheFemaleBottomShifted)
{
    AddStorePieces();
    MinigameMannequin female(100, 70, false);
    female.Dress(Piece("f_top0"));
    female.Dress(Piece("f_bottom0"));
    EXPECT_EQ(female.CentreX(), 145);
    EXPECT_EQ(female.topPiece->x, 145 - 32);
    EXPECT_EQ(female.topPiece->y, 80);
    EXPECT_EQ(female.bottomPiece->x, 145 - 32 + 3 - 4);
    EXPECT_EQ(female.bottomPiece->y, 70 + 63 - 3);
    MinigameMannequin male(100, 70, true);
    male.Dress(Piece("m_bottom0"));
    EXPECT_EQ(male.bottomPiece->x, 145 - 32 + 3);
    EXPECT_EQ(male.bottomPiece->y, 133);
    EXPECT_TRUE(male.bottomShown);
    EXPECT_FALSE(male.topShown);
}

TEST_F(MinigameTest, PlacedSlotsRefuseASecondBottomAndADressOverABottom)
{
    AddStorePieces();
    MinigameMannequin mannequin(100, 70, false);
    mannequin.Dress(Piece("f_top0"));
    mannequin.Dress(Piece("f_bottom0"));
    MinigameClothing bottom(0, 0, Piece("f_bottom0"));
    MinigameClothing otherBottom(0, 0, Piece("f_bottom1"));
    MinigameClothing dressCard(0, 0, Piece("f_dress0"));
    MinigameClothing maleTop(0, 0, Piece("m_top0"));

    EXPECT_EQ(mannequin.Place(maleTop, 15), nullptr);
    auto first = mannequin.Place(bottom, 15);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->right);
    EXPECT_EQ(first->value, 15);
    EXPECT_EQ(mannequin.Place(otherBottom, 15), nullptr);
    EXPECT_EQ(mannequin.Place(dressCard, 15), nullptr);
    EXPECT_EQ(mannequin.bottomPiece->name, "f_bottom0");
    EXPECT_FALSE(mannequin.topPlaced);
}

TEST_F(MinigameTest, APreviewDressRefusesBottomsAndAWrongTopStillNeedsABottom)
{
    AddStorePieces();
    MinigameMannequin mannequin(100, 70, false);
    mannequin.Dress(Piece("f_dress0"));
    MinigameClothing bottom(0, 0, Piece("f_bottom0"));
    MinigameClothing top(0, 0, Piece("f_top0"));
    EXPECT_EQ(mannequin.Place(bottom, 15), nullptr);
    auto wrong = mannequin.Place(top, 15);
    ASSERT_NE(wrong, nullptr);
    EXPECT_FALSE(wrong->right);
    EXPECT_EQ(wrong->value, 0);
    EXPECT_FALSE(mannequin.IsPlaced());
    auto second = mannequin.Place(bottom, 15);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->right);
    EXPECT_TRUE(mannequin.IsPlaced());
}

TEST_F(MinigameTest, StagePhasesRunOnTheirTimers)
{
    AddStorePieces();
    AddMannequin(false, 30);
    AddMannequin(true, 160);
    MinigamePlay play(info, clothing);
    EXPECT_EQ(play.phase, MinigamePhase::Created);
    play.StartStage();
    EXPECT_EQ(play.stage, 1);
    EXPECT_EQ(play.phase, MinigamePhase::Preview);
    for (int i = 0; i < 299; ++i)
        play.Update();
    EXPECT_EQ(play.phase, MinigamePhase::Preview);
    play.Update();
    EXPECT_EQ(play.phase, MinigamePhase::ClosingWindows);
    EXPECT_EQ(sounds, std::vector<int>{3});
    for (int i = 0; i < 50; ++i)
        play.Update();
    EXPECT_EQ(play.windowAlpha, 127);
    EXPECT_TRUE(play.mannequins[0]->topShown);
    for (int i = 0; i < 50; ++i)
        play.Update();
    EXPECT_EQ(play.phase, MinigamePhase::Hidden);
    EXPECT_EQ(play.windowAlpha, 255);
    EXPECT_EQ(play.timer, 150);
    for (const auto& m : play.mannequins)
        EXPECT_FALSE(m->topShown || m->bottomShown);
    for (int i = 0; i < 150 + 75; ++i)
        play.Update();
    EXPECT_EQ(play.phase, MinigamePhase::OpeningWindows);
    EXPECT_EQ(play.windowAlpha, 63);
    EXPECT_FALSE(play.Grab(play.cards[0]->x, play.cards[0]->y));
    for (int i = 0; i < 25; ++i)
        play.Update();
    EXPECT_EQ(play.phase, MinigamePhase::Solving);
    EXPECT_EQ(play.windowAlpha, 0);
    EXPECT_EQ(play.timer, 2000);
    EXPECT_EQ(sounds, (std::vector<int>{3, 3}));
}

TEST_F(MinigameTest, DeckHoldsThePreviewPiecesAndDistractorsInTwoTrayRows)
{
    AddStorePieces();
    AddMannequin(false, 30, true);
    AddMannequin(false, 160);
    AddMannequin(true, 290);
    MinigamePlay play(info, clothing);
    play.StartStage();
    ASSERT_EQ(play.mannequins.size(), 2u);
    EXPECT_EQ(play.cards.size(), 18u);
    std::vector<std::string> worn;
    for (const Outfit& o : Remember(play))
        for (const std::string& name : {o.top, o.bottom})
            if (!name.empty())
                worn.push_back(name);
    EXPECT_EQ(play.needed, int(worn.size()));
    for (const std::string& name : worn)
        EXPECT_NE(std::find_if(play.cards.begin(), play.cards.end(), [&](const auto& c) { return c->name == name; }),
                  play.cards.end())
            << name;
    for (size_t j = 0; j < play.cards.size(); ++j)
    {
        const MinigameClothing& card = *play.cards[j];
        EXPECT_EQ(card.x, int(j / 2) * 80 + 80 - 32) << j;
        EXPECT_EQ(card.y, int(j % 2) * 110 + 380) << j;
    }
    // Nothing of the store appears twice.
    std::vector<std::string> names;
    for (const auto& c : play.cards)
        names.push_back(c->name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST_F(MinigameTest, ADropOnTheWrongGenderGoesBackToTheEndOfTheTray)
{
    AddStorePieces();
    AddMannequin(false, 30);
    AddMannequin(true, 160);
    MinigamePlay play(info, clothing);
    play.StartStage();
    RunUntil(play, MinigamePhase::Solving);
    auto it = std::find_if(play.cards.begin(), play.cards.end(), [](const auto& c) { return c->male; });
    ASSERT_NE(it, play.cards.end());
    ASSERT_NE(it + 1, play.cards.end()) << "the card should not already be last";
    std::string name = (*it)->name;
    int homeX = (*it)->x, homeY = (*it)->y;
    size_t count = play.cards.size();
    ASSERT_TRUE(DragOnto(play, name, 0));
    EXPECT_EQ(play.draggedCard, nullptr);
    ASSERT_EQ(play.cards.size(), count);
    EXPECT_EQ(play.cards.back()->name, name);
    EXPECT_EQ(play.cards.back()->x, homeX);
    EXPECT_EQ(play.cards.back()->y, homeY);
    EXPECT_TRUE(play.bonuses.empty());
    EXPECT_EQ(play.matches + play.misses, 0);
}

TEST_F(MinigameTest, AWrongCardBlocksItsSlotAndCostsTheTimeBonusAndTheSecondStage)
{
    AddStorePieces();
    AddMannequin(false, 30);
    AddMannequin(true, 160);
    MinigamePlay play(info, clothing);
    play.StartStage();
    std::vector<Outfit> seen = Remember(play);
    RunUntil(play, MinigamePhase::Solving);

    // A wrong top on the man: a tray card that is a male top or dress but not the one he wore.
    auto wrong = std::find_if(play.cards.begin(), play.cards.end(), [&](const auto& c) {
        return c->male && c->kind != kBottom && c->name != seen[1].top && !(c->kind == kDress && !seen[1].bottom.empty());
    });
    ASSERT_NE(wrong, play.cards.end());
    std::string wrongName = (*wrong)->name;
    bool wrongIsDress = (*wrong)->kind == kDress;
    ASSERT_TRUE(DragOnto(play, wrongName, 1));
    EXPECT_EQ(play.misses, 1);
    ASSERT_EQ(play.bonuses.size(), 1u);
    EXPECT_FALSE(play.bonuses[0]->right);
    EXPECT_EQ(play.score, 0);
    // The slot stays blocked: the right top is refused and returns to the tray.
    size_t before = play.cards.size();
    ASSERT_TRUE(DragOnto(play, seen[1].top, 1));
    EXPECT_EQ(play.cards.size(), before);
    EXPECT_EQ(play.cards.back()->name, seen[1].top);

    // Everything else right: the stage completes, without extra time.
    for (const std::string& name : {seen[0].top, seen[0].bottom})
        if (!name.empty())
        {
            ASSERT_TRUE(DragOnto(play, name, 0));
        }
    if (!wrongIsDress && !seen[1].bottom.empty())
    {
        ASSERT_TRUE(DragOnto(play, seen[1].bottom, 1));
    }
    if (!wrongIsDress && seen[1].bottom.empty())
    {
        // He wore a dress: the bottom slot can only be filled wrong.
        auto bottom = std::find_if(play.cards.begin(), play.cards.end(),
                                   [](const auto& c) { return c->male && c->kind == kBottom; });
        ASSERT_TRUE(DragOnto(play, (*bottom)->name, 1));
    }
    EXPECT_EQ(play.phase, MinigamePhase::Results);
    EXPECT_EQ(play.extraSeconds, 0);
    EXPECT_EQ(play.score, 15.0 * play.matches);
    EXPECT_GT(play.misses, 0);
    EXPECT_FALSE(play.EarnsSecondStage());
}

TEST_F(MinigameTest, PerfectStageEarnsWholeSecondsLeftTimesTheTimeBonus)
{
    AddStorePieces();
    AddMannequin(false, 30);
    AddMannequin(true, 160);
    MinigamePlay play(info, clothing);
    play.StartStage();
    std::vector<Outfit> seen = Remember(play);
    RunUntil(play, MinigamePhase::Solving);
    EXPECT_EQ(play.timer, 2000);
    std::vector<std::pair<std::string, size_t>> drops;
    for (size_t i = 0; i < seen.size(); ++i)
        for (const std::string& name : {seen[i].top, seen[i].bottom})
            if (!name.empty())
                drops.emplace_back(name, i);
    for (size_t k = 0; k < drops.size(); ++k)
    {
        if (k + 1 == drops.size())
            play.timer = 1234;
        ASSERT_TRUE(DragOnto(play, drops[k].first, drops[k].second));
    }
    EXPECT_EQ(play.phase, MinigamePhase::Results);
    EXPECT_EQ(play.matches, play.needed);
    EXPECT_EQ(play.extraSeconds, 13);
    EXPECT_DOUBLE_EQ(play.score, 15.0 * play.needed + 13 * 1.5);
    EXPECT_TRUE(play.EarnsSecondStage());
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), 1), play.needed);
}

TEST_F(MinigameTest, TimeRunningOutShowsTheMatchesSoFarAndDeletesTheHeldCard)
{
    AddStorePieces();
    AddMannequin(false, 30);
    AddMannequin(true, 160);
    MinigamePlay play(info, clothing);
    play.StartStage();
    std::vector<Outfit> seen = Remember(play);
    RunUntil(play, MinigamePhase::Solving);
    ASSERT_TRUE(DragOnto(play, seen[0].top, 0));
    const MinigameClothing& held = *play.cards[0];
    ASSERT_TRUE(play.Grab(held.x + 1, held.y + 1));
    play.Drag(400, 300);
    size_t trayCards = play.cards.size();
    sounds.clear();
    RunUntil(play, MinigamePhase::Results, 2000);
    EXPECT_EQ(play.draggedCard, nullptr);
    EXPECT_EQ(play.cards.size(), trayCards);
    EXPECT_EQ(play.matches, 1);
    EXPECT_EQ(play.extraSeconds, 0);
    EXPECT_DOUBLE_EQ(play.score, 15.0);
    EXPECT_FALSE(play.EarnsSecondStage());
    // The results count up with a tick at 75, 45 and 15 and end in applause.
    for (int i = 0; i < 200; ++i)
        play.Update();
    EXPECT_EQ(play.timer, 0);
    EXPECT_EQ(sounds, (std::vector<int>{3, 3, 3, 4}));
}

TEST_F(MinigameTest, NoMatchEndsInTheLostSound)
{
    AddStorePieces();
    AddMannequin(false, 30);
    MinigamePlay play(info, clothing);
    play.StartStage();
    RunUntil(play, MinigamePhase::Results);
    sounds.clear();
    for (int i = 0; i < 200; ++i)
        play.Update();
    EXPECT_EQ(sounds.back(), 5);
}

TEST_F(MinigameTest, SecondStageAddsTheSecondRoundMannequinsAndKeepsTheBonuses)
{
    AddStorePieces();
    AddMannequin(false, 30, true);
    AddMannequin(true, 160);
    AddMannequin(false, 290);
    AddMannequin(true, 420, true);
    MinigamePlay play(info, clothing);
    play.StartStage();
    EXPECT_EQ(play.mannequins.size(), 2u);
    std::vector<Outfit> seen = Remember(play);
    RunUntil(play, MinigamePhase::Solving);
    for (size_t i = 0; i < seen.size(); ++i)
        for (const std::string& name : {seen[i].top, seen[i].bottom})
            if (!name.empty())
            {
                ASSERT_TRUE(DragOnto(play, name, i));
            }
    ASSERT_TRUE(play.EarnsSecondStage());
    size_t bonuses = play.bonuses.size();
    play.StartStage();
    EXPECT_EQ(play.stage, 2);
    EXPECT_EQ(play.mannequins.size(), 4u);
    EXPECT_EQ(play.mannequins[0]->x, 30);
    EXPECT_EQ(play.bonuses.size(), bonuses);
    EXPECT_EQ(play.score, 0);
    EXPECT_EQ(play.matches, 0);
    RunUntil(play, MinigamePhase::Solving);
    EXPECT_EQ(play.timer, 4000);
    RunUntil(play, MinigamePhase::Results);
    EXPECT_FALSE(play.EarnsSecondStage());
}

TEST_F(MinigameTest, ARightCardCountsEvenWhenTheLevelPaysNoMatchBonus)
{
    AddStorePieces();
    AddMannequin(true, 160);
    info.matchBonus = 0;
    MinigamePlay play(info, clothing);
    play.StartStage();
    std::vector<Outfit> seen = Remember(play);
    RunUntil(play, MinigamePhase::Solving);
    for (const std::string& name : {seen[0].top, seen[0].bottom})
        if (!name.empty())
        {
            ASSERT_TRUE(DragOnto(play, name, 0));
        }
    EXPECT_EQ(play.misses, 0);
    EXPECT_EQ(play.matches, play.needed);
    EXPECT_TRUE(play.EarnsSecondStage());
}

// Data that would leave a stage waiting forever: every case must reach the results in bounded updates.
TEST_F(MinigameTest, ZeroTimesMissingMannequinsAndUnfitPiecesStillEndTheStage)
{
    const struct
    {
        const char* what;
        int preview, hide, solve;
        bool mannequin;
        bool femalePieces;
    } cases[] = {
        {"all times 0", 0, 0, 0, true, true},
        {"no mannequins", 300, 150, 1000, false, true},
        {"no piece fits", 10, 10, 10, true, false},
        {"empty store", 10, 10, 10, true, false},
    };
    for (const auto& c : cases)
    {
        clothing.clear();
        info.minigameMannequins.clear();
        info.previewTime = c.preview;
        info.hideTime = c.hide;
        info.solveTime = c.solve;
        if (std::string(c.what) != "empty store")
            for (int i = 0; i < 3; ++i)
                AddPiece(std::string(1, char('a' + i)), !c.femalePieces, kTop);
        if (c.mannequin)
            AddMannequin(false, 30);
        MinigamePlay play(info, clothing);
        play.StartStage();
        RunUntil(play, MinigamePhase::Results, 1000);
        EXPECT_FALSE(play.EarnsSecondStage()) << c.what;
    }
}

TEST_F(MinigameTest, BonusTextRisesAndFadesWhileAWrongMarkStays)
{
    MinigameBonus right(200, 100, 15, true);
    MinigameBonus wrong(200, 100, 0, false);
    EXPECT_EQ(right.x, 170);
    EXPECT_EQ(right.textY, 130);
    EXPECT_TRUE(right.active);
    EXPECT_FALSE(wrong.active);
    EXPECT_EQ(sounds, (std::vector<int>{1, 2}));
    for (int i = 0; i < 160; ++i)
    {
        right.Update();
        wrong.Update();
    }
    EXPECT_FALSE(right.active);
    EXPECT_EQ(right.counter, 60);
    EXPECT_EQ(right.textY, 130 - 40); // one pixel for every counter value divisible by 4 from -96 to 60
    EXPECT_EQ(wrong.counter, -100);
}

} // namespace
