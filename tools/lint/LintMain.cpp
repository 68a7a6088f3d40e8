// velmora-lint DATADIR: checks a game folder's data for modders and for the build.
#include "tools/lint/DataLint.h"

#include <cstdio>
#include <cstring>
#include <iostream>

namespace
{

const char* const kUsage =
    "usage: velmora-lint DATADIR\n"
    "Reads the game folder DATADIR (loose files, or with its main.pak) through the game's own readers and\n"
    "reports every data problem as FILE:LINE: error|warning: what. Line 0 means the whole file.\n"
    "Errors are things that break or silently blank out content in play; warnings are legal but suspicious.\n"
    "Exit status: 0 clean (warnings allowed), 1 errors found, 2 bad usage.\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (!std::strcmp(argv[1], "-help") || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")))
    {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-')
    {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return RunDataLint(argv[1], std::cout);
}
