// The studio logo's motion: the ball's three bounces, the letters' drop and the knock that tilts and dips a letter.
#include "game/app/LogoBall.h"
#include "game/app/LogoLetter.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

struct Jump
{
    int bounce;
    double speedX;
    double speedY;
};

// Runs the ball for `updates` fixed updates, each followed by fractional updates adding up to one update.
struct BallRun
{
    std::vector<int> squashStarts; // update numbers
    std::vector<Jump> jumps;
};

BallRun RunBall(LogoBall& ball, int updates, double step)
{
    BallRun run;
    double owed = 0;
    for (int u = 0; u < updates; ++u)
    {
        bool wasSquashing = ball.IsSquashing();
        ball.Update();
        if (wasSquashing && !ball.IsSquashing() && ball.speedX != 0)
            run.jumps.push_back({ball.bouncesDone, ball.speedX, ball.speedY});
        owed += 1.0;
        while (owed >= step - 1e-9)
        {
            ball.UpdateFraction(step);
            owed -= step;
            if (ball.JustSquashed())
                run.squashStarts.push_back(u);
        }
    }
    return run;
}

TEST(LogoBall, BouncesThreeTimesThenRestsAtTheEndOfTheName)
{
    // At 100 Hz (one step per update) and paced by a 60 Hz display (steps of 1.667) alike.
    for (double step : {1.0, 1000.0 / (10 * 60)})
    {
        LogoBall ball(nullptr);
        BallRun run = RunBall(ball, 2000, step);
        ASSERT_EQ(run.squashStarts.size(), 3u) << "step " << step;
        EXPECT_EQ(ball.bouncesDone, 3);
        EXPECT_TRUE(ball.IsResting());
        EXPECT_FALSE(ball.IsSquashing()) << "the last squash ends";
        EXPECT_EQ(ball.speedX, 0.0);
        EXPECT_EQ(ball.speedY, 0.0);
        EXPECT_EQ(ball.y, 304);
        EXPECT_GT(ball.x + 48, 580) << "with a 96-pixel cel it comes down past the end of the trail's level part";
        // Two jumps after the first two squashes, none after the last.
        ASSERT_EQ(run.jumps.size(), 2u);
        EXPECT_EQ(run.jumps[0].bounce, 1);
        EXPECT_DOUBLE_EQ(run.jumps[0].speedX, 2.76);
        EXPECT_DOUBLE_EQ(run.jumps[0].speedY, -2.8);
        EXPECT_EQ(run.jumps[1].bounce, 2);
        EXPECT_DOUBLE_EQ(run.jumps[1].speedX, 1.98);
        EXPECT_DOUBLE_EQ(run.jumps[1].speedY, -3.4);
    }
}

TEST(LogoBall, SquashLastsThreeLengthsAndShowsTheSquashedCels)
{
    LogoBall ball(nullptr);
    while (!ball.IsSquashing())
        ball.UpdateFraction(1.0);
    EXPECT_EQ(ball.squashLength, 6);
    std::vector<int> cels;
    int before = ball.x;
    while (ball.IsSquashing())
    {
        cels.push_back(ball.CurrentCel());
        ball.UpdateFraction(1.0);
        ball.Update();
    }
    ASSERT_EQ(cels.size(), 18u);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(cels[size_t(i)], (i / 6) % 2 + 1) << i;
    EXPECT_EQ(ball.CurrentCel(), 0);
    // While squashed it slides on at half speed: 18 half steps of 4.41.
    EXPECT_NEAR(ball.x - before, 18 * 4.41 / 2, 1.0);
}

TEST(LogoBall, PlaysABounceSoundTwiceAndTheLandingOnce)
{
    std::vector<int> sounds;
    SetGameSoundSink([&](int id) { sounds.push_back(id); });
    SOUND_LOGO_BOUNCE = 7;
    SOUND_LOGO_LAND = 8;
    LogoBall ball(nullptr);
    RunBall(ball, 2000, 1.0);
    SetGameSoundSink({});
    SOUND_LOGO_BOUNCE = -1;
    SOUND_LOGO_LAND = -1;
    EXPECT_EQ(sounds, (std::vector<int>{7, 7, 8}));
}

TEST(LogoLetter, DropsSpringsPastItsLineAndLandsOnce)
{
    LogoLetter letter(130, nullptr, nullptr);
    EXPECT_EQ(letter.y, -250);
    letter.UpdateFraction(1.0);
    EXPECT_EQ(letter.y, -250) << "nothing moves before it starts falling";
    letter.StartFalling();
    int landings = 0;
    int deepest = 0;
    for (int i = 0; i < 400; ++i)
    {
        letter.UpdateFraction(1.0);
        landings += letter.HasLanded();
        deepest = std::max(deepest, letter.y);
    }
    EXPECT_EQ(landings, 1);
    EXPECT_EQ(letter.y, 300);
    EXPECT_GT(deepest, 300) << "it overshoots its line before settling";
    EXPECT_FALSE(letter.IsMoving());
}

TEST(LogoLetter, AKnockTiltsShiftsAndDipsTheLetterWithTheBallOnIt)
{
    // A stand-in picture pointer: the letter only swaps pointers, it never draws here.
    auto* tilted = reinterpret_cast<Zestra::Image*>(0x1000);
    LogoLetter letter(218, nullptr, tilted);
    letter.StartFalling();
    for (int i = 0; i < 400; ++i)
        letter.UpdateFraction(1.0);
    ASSERT_EQ(letter.y, 300);

    LogoBall ball(nullptr);
    ball.y = 199;
    ball.speedY = 1.8;
    letter.PushedByBall(ball, -4, 5);
    EXPECT_EQ(letter.image, tilted);
    EXPECT_EQ(letter.x, 214);
    int deepest = 0;
    int landings = 0;
    for (int i = 0; i < 400; ++i)
    {
        letter.UpdateFraction(1.0);
        landings += letter.HasLanded();
        deepest = std::max(deepest, letter.y);
        EXPECT_EQ(ball.y, letter.y + 199 - 300) << "the ball rides on the letter";
    }
    EXPECT_GT(deepest, 305) << "the letter dips below its new line";
    EXPECT_EQ(letter.y, 305);
    EXPECT_EQ(landings, 0) << "a letter carrying the ball does not start the next one";
}

} // namespace
