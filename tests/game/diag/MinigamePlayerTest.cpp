// The built-in player in the memory game, fed to the game the way the minigame screen delivers the mouse: a press
// grabs, moves while pressed drag, a release drops.
#include "../minigame/MinigameTestSupport.h"

#include "framework/graphics/Rect.h"
#include "framework/platform/Platform.h"
#include "game/diag/MinigamePlayer.h"

namespace
{

class MinigamePlayerTest : public MinigameTest
{
protected:
    struct Outcome
    {
        int stage1Matches = 0, stage1Misses = 0, needed = 0;
        double stage1Score = 0;
        bool secondStage = false;
        int drags = 0;
    };

    // Plays the first stage to its results with the player; presses done the way the menu would.
    Outcome PlayStage(int memory, unsigned seed)
    {
        std::srand(3);
        MinigamePlay play(info, clothing);
        bool pressed = false;
        bool donePressed = false;
        const Zestra::Rect done(340, 525, 120, 40);
        MinigamePlayer player(
            [&](const Zestra::PlatformEvent& e) {
                using Type = Zestra::PlatformEvent::Type;
                if (e.mType == Type::MouseDown)
                {
                    pressed = true;
                    play.Grab(e.mX, e.mY);
                    donePressed = donePressed || done.Contains(e.mX, e.mY);
                }
                else if (e.mType == Type::MouseMove && pressed)
                    play.Drag(e.mX, e.mY);
                else if (e.mType == Type::MouseUp)
                {
                    pressed = false;
                    play.Drop();
                }
            },
            memory, seed);
        play.StartStage();
        for (int i = 0; i < 20000 && !donePressed; ++i)
        {
            play.Update();
            player.Update(play, play.phase == MinigamePhase::Results ? &done : nullptr);
        }
        EXPECT_TRUE(donePressed);
        return {play.matches, play.misses, play.needed, play.score, play.EarnsSecondStage(), player.drags};
    }
};

TEST_F(MinigamePlayerTest, PerfectMemoryDressesEveryMannequinRightAndEarnsTheSecondStage)
{
    AddStorePieces();
    for (int i = 0; i < 6; ++i)
        AddMannequin(i % 2 == 1, 30 + 130 * i, i == 0 || i == 5);
    Outcome outcome = PlayStage(100, 1);
    EXPECT_EQ(outcome.stage1Misses, 0);
    EXPECT_EQ(outcome.stage1Matches, outcome.needed);
    EXPECT_EQ(outcome.drags, outcome.needed);
    EXPECT_TRUE(outcome.secondStage);
    EXPECT_GT(outcome.stage1Score, 15.0 * outcome.needed); // and some extra time
}

TEST_F(MinigamePlayerTest, APoorMemoryGuessesWrongAndTheSameSeedPlaysTheSameGame)
{
    AddStorePieces();
    for (int i = 0; i < 4; ++i)
        AddMannequin(i % 2 == 1, 30 + 130 * i);
    Outcome poor = PlayStage(0, 5);
    EXPECT_GT(poor.stage1Misses, 0);
    EXPECT_FALSE(poor.secondStage);
    Outcome again = PlayStage(0, 5);
    EXPECT_EQ(again.stage1Matches, poor.stage1Matches);
    EXPECT_EQ(again.stage1Misses, poor.stage1Misses);
    EXPECT_EQ(again.stage1Score, poor.stage1Score);
}

} // namespace
