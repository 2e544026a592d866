#pragma once
// Mouse button and shift-state types of the control base (Qt-free).
#include <cstdint>

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Bit set of the modifier keys and mouse buttons held during a mouse event.
using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;
