// The subcommands of numbloc-cli. Each takes its own argv (argv[0] is the
// subcommand's name) and returns the exit code.
#pragma once

#include <string>

namespace numbloc::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // bad input, unreadable file, failed write
constexpr int kExitUsage = 2;

int RunShow(int argc, char** argv);
int RunNew(int argc, char** argv);
int RunSolve(int argc, char** argv);
int RunCheck(int argc, char** argv);
int RunCount(int argc, char** argv);
int RunGenerate(int argc, char** argv);

}  // namespace numbloc::cli
