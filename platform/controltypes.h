#pragma once
// Mouse button and shift-state types of the control base (Qt-free).
#include "components/common/set.h"

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The modifier keys and mouse buttons held during a mouse event.
enum class TShiftFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftFlag>;

// Where a control keeps itself in its parent's client area: alNone at its own
// bounds; the others along an edge (at the control's own height or width) or
// filling what the edges leave.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
