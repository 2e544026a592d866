#pragma once
// System colours from the running style's palette (classic values when no
// application object exists yet).
#include "platform/surface.h"

TColor SysColorBtnFace();
TColor SysColorBtnShadow();
TColor SysColorBtnHighlight();
TColor SysColorWindow();
TColor SysColorHighlight();
TColor SysColorHighlightText();
