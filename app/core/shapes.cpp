#include "app/core/shapes.h"

#include <cmath>
#include <cstring>

#include "app/core/session.h"
#include "engine/alearix.h"

const std::array<TPreset, 6> kPresets = {{
    {"normal", "Normal distribution", 0, 100, 250, 100, 250},
    {"leptokurtic", "Leptokurtic Distribution", 50, 60, 250, 21, 250},
    {"platykurtic", "Platykurtic Distribution", 50, 60, 205, 60, 295},
    {"bimodal", "Bimodal Distribution", 65, 50, 170, 40, 330},
    {"left-skewed", "Left skewed distribution", 50, 55, 230, 32, 270},
    {"right-skewed", "Right skewed distribution", 50, 32, 230, 55, 270},
}};

void ComputeShapeTable(TAlearix& gen, const TShapeParams& p) {
  // The shape is defined in the classes of the start table, whatever the resolution.
  for (int i = 1; i <= kStartResolution; ++i) {
    const double a = i - p.Mean1, b = i - p.Mean2;
    const double d = (1.0 - p.Ratio) * std::exp(-(a * a) / (p.StdDev1 * p.StdDev1)) +
                     p.Ratio * std::exp(-(b * b) / (p.StdDev2 * p.StdDev2));
    gen.SetRefPoint(i, d);
  }
  gen.Normalize();
}

TShapeParams ShapeParamsOf(const TPreset& preset) {
  TShapeParams p;
  p.Mean1 = preset.Mean1;
  p.StdDev1 = preset.StdDev1;
  p.Mean2 = preset.Mean2;
  p.StdDev2 = preset.StdDev2;
  p.Ratio = preset.HRatio * 0.01;
  return p;
}

const TPreset* FindPreset(const char* key) {
  for (const TPreset& p : kPresets)
    if (std::strcmp(p.Key, key) == 0) return &p;
  return nullptr;
}
