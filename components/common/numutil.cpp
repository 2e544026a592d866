#include "components/common/numutil.h"

#include <climits>
#include <cmath>
#include <cstring>

void SwapBytes(void* A, void* B, unsigned N) {
  if (N == 0 || A == B) return;
  auto* a = static_cast<unsigned char*>(A);
  auto* b = static_cast<unsigned char*>(B);
  unsigned char tmp[64];
  while (N > 0) {
    unsigned chunk = N < sizeof tmp ? N : static_cast<unsigned>(sizeof tmp);
    std::memcpy(tmp, a, chunk);
    std::memmove(a, b, chunk);
    std::memcpy(b, tmp, chunk);
    a += chunk;
    b += chunk;
    N -= chunk;
  }
}

namespace {

int ClampToInt(double r) {
  if (std::isnan(r)) return 0;
  if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(r);
}

}  // namespace

// Round to the nearest integer first, then step by one when it lies on the wrong side of X.
int CeilInt(double X) {
  double r = std::nearbyint(X);
  if (r < X) r += 1.0;
  return ClampToInt(r);
}

int FloorInt(double X) {
  double r = std::nearbyint(X);
  if (r > X) r -= 1.0;
  return ClampToInt(r);
}
