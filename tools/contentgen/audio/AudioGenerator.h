#pragma once
// Reads the audio recipes below content/audio and writes every sound effect, voice clip and song of the
// game folder as Ogg Vorbis: sounds/<name>.ogg, sounds/people/<Person>/{Hello,Happy,Angry}.ogg and
// music/<name>.ogg. Nothing is written when a recipe has a problem, so a broken recipe never leaves
// a half-updated folder behind.

#include "tools/contentgen/audio/AudioRecipe.h"

#include <cstdint>
#include <string>
#include <vector>

namespace AudioGen
{

class AudioGenerator
{
public:
    // Reads sounds.txt, voices.txt and songs/*.txt below `audioDir`. False when any file is missing or
    // has a problem; Problems() then lists them all as "file:line: what".
    bool ReadRecipes(const std::string& audioDir);

    // Renders and writes everything below `gameDir`; false (with Problems()) when a file cannot be written.
    bool WriteAll(const std::string& gameDir);

    const AudioRecipes& Recipes() const { return mRecipes; }
    const std::vector<std::string>& Problems() const { return mProblems; }
    uint64_t BytesWritten() const { return mBytes; }
    int FilesWritten() const { return mFiles; }

private:
    bool WriteOgg(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                  float quality);

    AudioRecipes mRecipes;
    std::vector<std::string> mProblems;
    uint64_t mBytes = 0;
    int mFiles = 0;
};

} // namespace AudioGen
