// The library's one way to give up after the kernel refused memory.
#pragma once

#include <rivezi3z/rivivi.h>

namespace zv {

// Result code of a function whose memory was refused.
inline constexpr int16_t kMemoryRefused = -1;

// Reports refused memory under the function's name and gives its result code.
inline int16_t memory_refused(const char *where) {
  zv_memerr(where);
  return kMemoryRefused;
}

}  // namespace zv
