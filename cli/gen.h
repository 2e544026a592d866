#pragma once
// alearix-gen: builds the density the options describe, draws the numbers and writes
// the files through the desktop program's session (start state, then the shape, the
// limits and one "Calc"), so the output equals its first "Calc" after start.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/options.h"

class TAlearix;
struct THistogram;

// The chart (density curve and histogram) as PNG bytes. Builds with the chart provide
// one through GenPngRenderer(); the Qt-free build has none.
using TPngHook = std::string (*)(const TAlearix& gen, const THistogram& hist);
TPngHook GenPngRenderer();

// Runs the generator with the parsed options; stdoutFd receives the numbers when the
// output is "-", err the messages. Returns the exit status: 0; 1 on a file or density
// error (the message names the file); 2 for a range too wide for the numbers.
int RunGenerator(const TGenOptions& opts, int stdoutFd, std::FILE* err, TPngHook png);

// The whole program: parses args (without the program name), prints help or usage
// errors (exit status 2, also for two outputs naming one file) and runs.
int GenMain(const std::vector<std::string>& args, int stdoutFd, std::FILE* out, std::FILE* err,
            TPngHook png);
