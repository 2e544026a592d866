#pragma once
// Distribution shapes: the mixture of two bell curves that fills the engine's density,
// and the six preset shapes.
#include <array>

class TAlearix;

// Positions and widths in class numbers (1..500 and 10..250), Ratio the share of
// Shape B (0 = Shape A alone, 1 = Shape B alone).
struct TShapeParams {
  double Mean1 = 250, StdDev1 = 100, Mean2 = 250, StdDev2 = 100, Ratio = 0.5;
};

// Sets reference points 1..500 (whatever the resolution) to
//   (1 - Ratio) exp(-(i - Mean1)^2 / StdDev1^2) + Ratio exp(-(i - Mean2)^2 / StdDev2^2)
// and normalises the table.
void ComputeShapeTable(TAlearix& gen, const TShapeParams& p);

// A preset as the five scroll bar positions (HRatio 0..100).
struct TPreset {
  const char* Key;
  const char* Hint;
  int HRatio, StdDev1, Mean1, StdDev2, Mean2;
};

// normal, leptokurtic, platykurtic, bimodal, left-skewed, right-skewed.
extern const std::array<TPreset, 6> kPresets;

// The shape parameters the scroll bars give for a preset (Ratio = HRatio * 0.01).
TShapeParams ShapeParamsOf(const TPreset& preset);
// The preset with the given key, or nullptr.
const TPreset* FindPreset(const char* key);
