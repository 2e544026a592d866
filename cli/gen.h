#pragma once
// alearix-gen: builds the density the options describe, draws the numbers and writes
// the files, with the same call sequence as the desktop program (shape, limits, then
// the draws), so the output equals its first "Calc" after start.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/options.h"

class TAlearix;
struct THistogram;

// Renders the chart (density curve and histogram) to opts.PngPath. Builds with the
// chart provide one through GenPngRenderer(); the Qt-free build has none.
using TPngHook = void (*)(const TGenOptions& opts, const TAlearix& gen, const THistogram& hist);
TPngHook GenPngRenderer();

// Runs the generator with the parsed options; stdoutFd receives the numbers when the
// output is "-", err the messages. Returns the exit status: 0, or 1 on a file or
// density error (the message names the file).
int RunGenerator(const TGenOptions& opts, int stdoutFd, std::FILE* err, TPngHook png);

// The whole program: parses args (without the program name), prints help or usage
// errors (exit status 2) and runs.
int GenMain(const std::vector<std::string>& args, int stdoutFd, std::FILE* out, std::FILE* err,
            TPngHook png);
