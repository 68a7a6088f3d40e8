// velmora-audiogen: writes the game's sounds, voices and music from the recipes in content/audio.
// Usage: velmora-audiogen --content <content folder> --out <game folder>

#include "tools/contentgen/audio/AudioGenerator.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string content, out;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        if (std::strcmp(argv[i], "--content") == 0)
            content = argv[i + 1];
        else if (std::strcmp(argv[i], "--out") == 0)
            out = argv[i + 1];
        else
        {
            std::fprintf(stderr, "velmora-audiogen: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (content.empty() || out.empty())
    {
        std::fprintf(stderr, "usage: velmora-audiogen --content <content folder> --out <game folder>\n");
        return 2;
    }
    AudioGen::AudioGenerator generator;
    const bool ok = generator.ReadRecipes(content + "/audio") && generator.WriteAll(out);
    for (const auto& problem : generator.Problems())
        std::fprintf(stderr, "%s\n", problem.c_str());
    if (!ok)
        return 1;
    std::printf("velmora-audiogen: %d files, %.1f MB\n", generator.FilesWritten(),
                static_cast<double>(generator.BytesWritten()) / (1024.0 * 1024.0));
    return 0;
}
