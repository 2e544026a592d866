#pragma once
// The desktop program's session, shared by the main window, alearix-gen and the
// tests: the state it starts with, and one "Calc". That the command line writes the
// window's bytes rests on both using this.
#include <cstdint>
#include <stdexcept>

#include "app/core/export.h"

class TAlearix;
class TTextFileWriter;

// The engine at start: 500 classes over -300..300. The shapes fill, and the chart
// draws, these 500 classes whatever the resolution.
inline constexpr int kStartResolution = 500;
inline constexpr double kStartLowerLimit = -300.0;
inline constexpr double kStartUpperLimit = 300.0;
// Numbers per "Calc" at start (position 16 of the count scroll bar).
inline constexpr int kStartCount = 500;

inline constexpr const char* kMsgRangeTooWide = "The range of random numbers is too wide";

// A range whose numbers a double cannot hold.
class ERangeError : public std::runtime_error {
 public:
  ERangeError() : std::runtime_error(kMsgRangeTooWide) {}
};

// Puts gen in its start state: the start resolution (every point 1.0) and limits.
void SetStartState(TAlearix& gen);

// Refuses, before anything is created, a "Calc" that cannot give its numbers: a density
// without a positive reference point (EDistributionError), or a range so wide that the
// engine's class arithmetic overflows (ERangeError).
void CheckCalc(const TAlearix& gen);

// One "Calc": CheckCalc, then count numbers drawn from gen and written to out, with
// their histogram. The caller commits out. The window draws number by number; alearix-gen
// draws and writes in two threads (options.Pipelined), with the same bytes.
THistogram Calc(TAlearix& gen, std::int64_t count, TTextFileWriter& out,
                const TExportOptions& options = {});
