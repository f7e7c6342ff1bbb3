// The one owner of kernel memory (zv_malloc) held for the length of a call:
// a block released with zv_free on every early return unless handed over
// with release(), and a growable array built on it.
#pragma once

#include <rivezi3z/rivivi.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
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

// An array of trivially copyable T in one kernel block, released with the
// array; push grows it by doubling.
template <class T>
class KernelVector {
 public:
  // Room for n items; false when refused (or the size would overflow).
  bool reserve(std::size_t n) {
    if (n <= capacity_) return true;
    if (n > SIZE_MAX / sizeof(T)) return false;
    KernelBlock<T> grown(n);
    if (!grown.ok()) return false;
    if (size_) std::memcpy(static_cast<void *>(grown.get()), block_.get(), size_ * sizeof(T));
    block_ = std::move(grown);
    capacity_ = n;
    return true;
  }

  bool push(const T &item) {
    if (size_ == capacity_ && !reserve(capacity_ ? 2 * capacity_ : 64)) return false;
    block_[size_++] = item;
    return true;
  }

  void clear() { size_ = 0; }
  T &operator[](std::size_t k) const { return block_[k]; }
  T *begin() const { return block_.get(); }
  T *end() const { return block_.get() + size_; }
  std::size_t size() const { return size_; }

 private:
  KernelBlock<T> block_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace zv
