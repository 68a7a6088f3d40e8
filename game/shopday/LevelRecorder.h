// What the end of a shop day tells the player's profile: passed levels, unlocked stores, the saved run and the
// high scores. The profile keeper implements it; a board without one records nothing.
#pragma once

struct GameState;

class LevelRecorder
{
public:
    virtual ~LevelRecorder() = default;
    virtual void RecordLevelPassed(int store, int levelIndex, bool expert) = 0;
    virtual void UnlockStore(int storeNumber) = 0;
    // run is null when the run has ended: the saved game is cleared.
    virtual void SetSavedGame(const GameState* run) = 0;
    // The place in the store's table, or -1 when the score is not good enough.
    virtual int SubmitHighScore(int store, int score) = 0;
    virtual void SaveProfiles() = 0;
    virtual void ResetHighScores() {}
};
