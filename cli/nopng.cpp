#include "cli/gen.h"

// This build has no chart renderer: --png is refused.
TPngHook GenPngRenderer() {
  return nullptr;
}
