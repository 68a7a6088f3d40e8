// The id of a person's recorded voice in the voices' own sound manager. A type of its own, so a voice cannot be
// played as a sound effect (whose ids are the effects manager's plain numbers), nor an effect as a voice.
#pragma once

struct VoiceId
{
    int value = -1; // -1: no voice (missing or not loaded)

    bool IsValid() const { return value >= 0; }
    constexpr bool operator==(const VoiceId&) const = default;
};
