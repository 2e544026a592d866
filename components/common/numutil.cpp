#include "components/common/numutil.h"

#include <climits>
#include <cmath>
#include <cstring>

void SwapBytes(void* first, void* second, unsigned n) {
  if (n == 0 || first == second) return;
  auto* a = static_cast<unsigned char*>(first);
  auto* b = static_cast<unsigned char*>(second);
  unsigned char tmp[64];
  while (n > 0) {
    unsigned chunk = n < sizeof tmp ? n : static_cast<unsigned>(sizeof tmp);
    std::memcpy(tmp, a, chunk);
    std::memmove(a, b, chunk);
    std::memcpy(b, tmp, chunk);
    a += chunk;
    b += chunk;
    n -= chunk;
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
int CeilInt(double x) {
  double r = std::nearbyint(x);
  if (r < x) r += 1.0;
  return ClampToInt(r);
}

int FloorInt(double x) {
  double r = std::nearbyint(x);
  if (r > x) r -= 1.0;
  return ClampToInt(r);
}
