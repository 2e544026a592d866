#pragma once

// Exchanges the first N bytes of the objects at A and B; N = 0 does nothing.
void SwapBytes(void* a, void* b, unsigned n);

// Smallest int not below X / largest int not above X. Integral X comes back unchanged.
// Values outside the int range are clamped to it; NaN gives 0.
int CeilInt(double x);
int FloorInt(double x);
