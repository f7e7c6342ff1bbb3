// Error and refused-memory reports: each goes to one replaceable handler,
// by default a single line on standard error.
#include <rivezi3z/rivivi.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace zv::kernel {
namespace {

// Writes "CODE (number) in function" on standard error.
void default_message(const char *code, int16_t number, const char *function, void *) {
  std::fprintf(stderr, "%s (%d) in %s\n", code, static_cast<int>(number), function);
}

// Writes "out of memory in where" on standard error.
void default_memerr(const char *where, void *) {
  std::fprintf(stderr, "out of memory in %s\n", where);
}

// A handler with its user pointer, swapped and read as one pair under a
// tiny spin lock so a report never sees one thread's function with another's
// pointer. Reports are rare, so the lock is never contended in practice.
template <class Fn>
class HandlerSlot {
 public:
  explicit constexpr HandlerSlot(Fn fallback) noexcept : fallback_(fallback), fn_(fallback) {}

  // Installs fn with user; null restores the default handler.
  void set(Fn fn, void *user) noexcept {
    lock();
    fn_ = fn ? fn : fallback_;
    user_ = fn ? user : nullptr;
    unlock();
  }

  // The handler and user pointer in force now, copied out so the call runs
  // without the lock (a handler may install another handler).
  void get(Fn &fn, void *&user) noexcept {
    lock();
    fn = fn_;
    user = user_;
    unlock();
  }

 private:
  // The lock guards two word copies only, so waiting is a short spin.
  void lock() noexcept {
    while (busy_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  }
  // Releases the lock taken by lock().
  void unlock() noexcept { busy_.clear(std::memory_order_release); }

  std::atomic_flag busy_;
  const Fn fallback_;
  Fn fn_;
  void *user_ = nullptr;
};

HandlerSlot<zv_msg_fn> message_slot{default_message};
HandlerSlot<zv_memerr_fn> memerr_slot{default_memerr};

// A report text, "" in place of null so handlers never see a null string.
constexpr const char *text(const char *s) noexcept { return s ? s : ""; }

}  // namespace
}  // namespace zv::kernel

extern "C" {

ZV_API void zv_set_msg_handler(zv_msg_fn fn, void *user) { zv::kernel::message_slot.set(fn, user); }

ZV_API void zv_set_memerr_handler(zv_memerr_fn fn, void *user) {
  zv::kernel::memerr_slot.set(fn, user);
}

ZV_API int16_t zv_display_msg(const char *code, int16_t number, const char *function) {
  zv_msg_fn fn;
  void *user;
  zv::kernel::message_slot.get(fn, user);
  fn(zv::kernel::text(code), number, zv::kernel::text(function), user);
  return number;
}

ZV_API void zv_memerr(const char *where) {
  zv_memerr_fn fn;
  void *user;
  zv::kernel::memerr_slot.get(fn, user);
  fn(zv::kernel::text(where), user);
}

}  // extern "C"
