// The program's exit codes: one meaning each, so a script can tell a command line to fix from a run that failed.
// README and -help list the same three.
#pragma once

namespace Zestra
{

constexpr int kExitSuccess = 0;
// The run failed: damaged or missing data, a file that could not be written (profiles, demo, screenshot), a
// display that could not be opened, another copy already running.
constexpr int kExitFailure = 1;
// The command line is wrong: an unknown option, a bad value, options that contradict each other or a demo.
constexpr int kExitUsage = 2;

} // namespace Zestra
