#pragma once
// Drawing the density freehand: a mouse stroke on the chart sets the reference points
// under it. Each stroke segment runs between two successive mouse positions in data
// coordinates; every reference point whose class edge lies between their x values
// (ends included) gets the value interpolated linearly between their y values, so a
// fast stroke leaves no gaps. Values are clamped to 0..1 by the engine.
class TAlearix;

// Sets the points under the segment (x0, y0)-(x1, y1). An empty range draws nothing.
void SketchSegment(TAlearix& gen, double x0, double y0, double x1, double y1);

// A single press: sets the point whose class edge lies nearest to x.
void SketchPoint(TAlearix& gen, double x, double y);
