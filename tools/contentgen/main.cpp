// velmora-contentgen: draws the game's pictures and fonts into the game folder.
// Usage: velmora-contentgen --content DIR --out DIR [--contact FILE] [--fonts DIR] [--manifest FILE]
#include "tools/contentgen/Generator.h"

#include <cstdio>
#include <cstring>
#include <string>

#ifndef VELMORA_DEJAVU_DIR
#define VELMORA_DEJAVU_DIR "/usr/share/fonts/truetype/dejavu"
#endif

int main(int argc, char** argv)
{
    std::string content, out, contact, fonts = VELMORA_DEJAVU_DIR, manifest;
    for (int i = 1; i < argc; ++i)
    {
        std::string arg = argv[i];
        std::string* target = nullptr;
        if (arg == "--content")
            target = &content;
        else if (arg == "--out")
            target = &out;
        else if (arg == "--contact")
            target = &contact;
        else if (arg == "--fonts")
            target = &fonts;
        else if (arg == "--manifest")
            target = &manifest;
        if (!target || i + 1 >= argc)
        {
            std::fprintf(stderr, "velmora-contentgen: unknown or incomplete option '%s'\n", arg.c_str());
            return 2;
        }
        *target = argv[++i];
    }
    if (content.empty() || (out.empty() && manifest.empty()))
    {
        std::fprintf(stderr, "usage: velmora-contentgen --content DIR --out DIR [--contact FILE] [--fonts DIR]\n"
                             "       velmora-contentgen --content DIR --manifest FILE\n");
        return 2;
    }
    if (!ContentGen::InitFonts(fonts))
    {
        std::fprintf(stderr, "velmora-contentgen: cannot open the DejaVu fonts in %s\n", fonts.c_str());
        return 1;
    }
    ContentGen::Generator gen(content, out);
    bool ok = gen.LoadInputs();
    if (ok && !manifest.empty())
    {
        FILE* f = std::fopen(manifest.c_str(), "wb");
        std::string text = gen.ManifestText();
        ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
        if (f)
            std::fclose(f);
        if (!ok)
            gen.Problem(manifest + ": cannot write");
    }
    if (ok && !out.empty())
        ok = gen.Run(contact);
    for (const std::string& p : gen.Problems())
        std::fprintf(stderr, "velmora-contentgen: %s\n", p.c_str());
    ContentGen::ShutdownFonts();
    return ok ? 0 : 1;
}
