// A kernel block (zv_malloc) owned for the length of a call: released with
// zv_free on every early return unless handed over with release().
#pragma once

#include <rivezi3z/rivivi.h>

#include <cstddef>
#include <utility>

namespace zv {

template <class T>
class KernelBlock {
 public:
  KernelBlock() = default;
  // Asks the kernel for count items of T; check ok() (a refused request
  // leaves it empty).
  explicit KernelBlock(std::size_t count) : data_(static_cast<T *>(zv_malloc(count * sizeof(T)))) {}
  ~KernelBlock() { zv_free(data_); }
  KernelBlock(KernelBlock &&other) noexcept : data_(std::exchange(other.data_, nullptr)) {}
  KernelBlock &operator=(KernelBlock &&other) noexcept {
    if (this != &other) {
      zv_free(data_);
      data_ = std::exchange(other.data_, nullptr);
    }
    return *this;
  }
  KernelBlock(const KernelBlock &) = delete;
  KernelBlock &operator=(const KernelBlock &) = delete;

  bool ok() const { return data_ != nullptr; }
  T *get() const { return data_; }
  T &operator[](std::size_t i) const { return data_[i]; }
  // Hands the block to the caller, who releases it with zv_free.
  T *release() { return std::exchange(data_, nullptr); }

 private:
  T *data_ = nullptr;
};

}  // namespace zv
