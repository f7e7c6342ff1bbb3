// The kernel's one allocation path. Every block the kernel hands out (raw
// blocks, records, list headers and nodes) comes from allocate() so that the
// live-block counter and the refusal budget see all of them.
#pragma once

#include <cstddef>

namespace zv::kernel {

// A block of at least one byte (zero-filled when asked), or null when
// refused; counted as live until release().
void *allocate(std::size_t size, bool zeroed) noexcept;

// Gives a block from allocate() back; null is ignored.
void release(void *block) noexcept;

// A zero-filled T from the kernel's allocator, or null when refused.
template <class T>
T *allocate_record() noexcept {
  return static_cast<T *>(allocate(sizeof(T), true));
}

}  // namespace zv::kernel
