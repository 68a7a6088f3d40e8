// The rules and state of one memory minigame: its stages and phases with their timer, the mannequins and their
// preview outfits, the tray of cards, the card being dragged, and the result of every drop. The Minigame menu draws
// it and turns the mouse into Grab, Drag and Drop; everything here runs without a screen.
// Invariants: a card is in exactly one place (the tray, the hand, or worn by a mannequin); the tray is dealt at the
// start of a stage but shown and played only while solving, and the hand is empty outside solving.
#pragma once

#include <memory>
#include <vector>

class MinigameBonus;
class MinigameClothing;
class MinigameMannequin;
struct LevelInfo;
struct MinigameClothingInfo;

namespace Zestra
{
class MusicInterface;
}

enum class MinigamePhase
{
    Created = 0,
    Preview = 1,        // the dressed mannequins are shown
    ClosingWindows = 2, // the windows fade in over them
    Hidden = 3,         // behind the windows the clothes come off
    OpeningWindows = 4,
    Solving = 5,        // the player drags cards onto the mannequins
    Results = 6,
};

class MinigamePlay
{
public:
    static constexpr int kWindowTicks = 100; // updates the windows take to close or to open
    static constexpr int kResultTicks = 105; // updates the results take to count up
    static constexpr int kDeckSize = 18;     // cards of the tray when the store has that many pieces
    static constexpr double kMusicFadeSpeed = 0.004;

    // Both are borrowed from the store table and must outlive the game. music may be null (no songs).
    MinigamePlay(const LevelInfo& info, const std::vector<MinigameClothingInfo>& clothing,
                 Zestra::MusicInterface* music = nullptr);
    MinigamePlay(const MinigamePlay&) = delete;
    MinigamePlay& operator=(const MinigamePlay&) = delete;
    ~MinigamePlay();

    // The next stage: mannequins dressed at random from the store's pieces, a shuffled tray, the preview.
    void StartStage();
    // One update (1/100 s).
    void Update();
    // Results: the card in the hand is gone and the score counts up.
    void EndStage();

    // The tray card under the point (the first of the tray that contains it), or null.
    MinigameClothing* CardAt(int px, int py) const;
    // While solving, takes the tray card under the point into the hand; false when there is none or a card is
    // already held.
    bool Grab(int px, int py);
    // The held card follows the mouse, keeping where it was grabbed.
    void Drag(int px, int py);
    // Lets the held card go: onto the first mannequin under its centre that takes it, otherwise back to the end
    // of the tray at its old place.
    void Drop();

    // After the results: the stage was perfect (every preview piece found with no wrong card), so a second stage
    // follows the first.
    bool EarnsSecondStage() const;
    int SolveTicks() const;

    const LevelInfo& info;                              // not owned
    const std::vector<MinigameClothingInfo>& clothing;  // the store's pieces; not owned
    Zestra::MusicInterface* music;                      // not owned; null plays nothing

    MinigamePhase phase = MinigamePhase::Created;
    int timer = 0;       // updates: the phase's countdown or count-up
    int windowAlpha = 0; // 0..255: opacity of the windows over the mannequins
    int stage = 0;       // 0 before the first stage, then 1, 2
    int matches = 0;     // right cards this stage
    int misses = 0;      // wrong cards this stage
    int needed = 0;      // pieces the mannequins wore in the preview
    int extraSeconds = 0;
    double score = 0;    // money won this stage
    std::vector<std::unique_ptr<MinigameClothing>> cards;        // the tray, in tray order
    std::vector<std::unique_ptr<MinigameMannequin>> mannequins;
    std::vector<std::unique_ptr<MinigameBonus>> bonuses;         // kept until the game is deleted
    std::unique_ptr<MinigameClothing> draggedCard;               // the card in the hand
    int dragOffsetX = 0; // card position minus mouse position at the grab
    int dragOffsetY = 0;
    int homeX = 0; // the held card's tray position
    int homeY = 0;
};
