#pragma once
// The small pictures on the main window's speed buttons, drawn in code.
#include <QIcon>

enum class TGlyph { glExit, glAbout, glHelp, glCalc, glLoad, glEdit, glSave };

QIcon MakeGlyph(TGlyph which);

// The curve of a two-bell mixture (positions and widths in classes 1..500, ratio
// = share of the second bell) as a button picture.
QIcon MakeShapeGlyph(double mean1, double stdDev1, double mean2, double stdDev2, double ratio);
