// The library's one way to give up after the kernel refused memory.
#pragma once

#include <rivezi3z/rivivi.h>

#include "frame/conventions.hpp"

namespace zv {

// Reports refused memory under the function's name and gives its result code.
inline int16_t memory_refused(const char *where) {
  zv_memerr(where);
  return code::kMemoryRefused;
}

}  // namespace zv
