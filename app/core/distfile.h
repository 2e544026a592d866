#pragma once
// ".rnd" distribution files: resolution, limits and every reference point of the
// engine, one value per line (CR LF), each followed by an optional comment.
#include <cstdint>
#include <string>

class TAlearix;
class TTextFileWriter;

// Writes the density of gen to path; the old file is replaced only when everything
// was written. Throws EInOutError.
void SaveDistribution(const TAlearix& gen, const std::string& path);
// The same lines written to out, which the caller commits.
void SaveDistribution(const TAlearix& gen, TTextFileWriter& out);

// The most a distribution file may take to deliver its values.
inline constexpr std::uint64_t kMaxDistributionBytes = 16 * 1024 * 1024;

// Reads a density from path into gen and normalises it. All or nothing: the whole
// file is read and checked first; on any failure (EInOutError, including "Invalid
// numeric input", or EDistributionError when no reference point is positive) gen
// keeps its previous resolution, limits and table.
void LoadDistribution(TAlearix& gen, const std::string& path);
