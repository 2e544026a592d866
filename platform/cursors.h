#pragma once
// The application-wide cursor table.
//
// Indices are small integers as in the components' mouse code: 0 is the
// default arrow, negative indices are the built-in shapes below, positive ones
// are registered with SetAppCursor (the charts register theirs at 1..4). A
// control shows one of them with TGraphicControl::SetCursor.
#include <QCursor>
#include <string>

constexpr int crDefault = 0;
constexpr int crArrow = -2;
constexpr int crCross = -3;
constexpr int crIBeam = -4;
constexpr int crSizeAll = -22;
constexpr int crHourGlass = -11;
// The chart's cursors, registered by RegisterChartCursors.
constexpr int crChartHand = 1;
constexpr int crChartZoomWind = 2;
constexpr int crChartZoomDrag = 3;
constexpr int crChartZoomWindPos = 4;

void SetAppCursor(int index, const QCursor& cursor);
// The cursor at an index; unknown indices give the arrow.
QCursor AppCursor(int index);

// Loads a cursor from the program's resources by its resource name ("CURHAND",
// "CURZOOMW", "CURZOOMD", "CURZOOMP"), with its hot spot. Unknown names give
// the arrow.
QCursor LoadCursorResource(const std::string& name);

// Loads the four chart cursors and registers them at 1 (hand), 2 (zoom window),
// 3 (zoom drag) and 4 (zoom window with position). Safe to call repeatedly.
void RegisterChartCursors();
