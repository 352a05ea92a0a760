// A re-entrant lock whose uncontended path is one compare-and-swap and one store.
//
// The canvas lock and the key lock are of this kind: the program's thread takes it around every
// pixel, so taking it must cost next to nothing when the window thread is not painting. A thread
// that finds the lock held spins briefly, then sleeps on a futex; the owner wakes it on release.
#pragma once

#include <atomic>
#include <cstdint>

namespace lumivex {

class ReentrantLock {
 public:
  ReentrantLock() = default;
  ReentrantLock(const ReentrantLock&) = delete;
  ReentrantLock& operator=(const ReentrantLock&) = delete;

  void lock() {
    const uintptr_t self = CurrentThreadTag();
    if (owner_.load(std::memory_order_relaxed) == self) {
      ++depth_;
      return;
    }
    uint32_t expected = kFree;
    if (!state_.compare_exchange_strong(expected, kHeld, std::memory_order_acquire,
                                        std::memory_order_relaxed)) {
      LockContended();
    }
    owner_.store(self, std::memory_order_relaxed);
    depth_ = 1;
  }

  void unlock() {
    if (--depth_ != 0) return;
    owner_.store(0, std::memory_order_relaxed);
    // kHeldWithWaiters means a thread sleeps on the futex and must be woken.
    if (state_.exchange(kFree, std::memory_order_release) == kHeldWithWaiters) Wake();
  }

  bool HeldByCurrentThread() const {
    return owner_.load(std::memory_order_relaxed) == CurrentThreadTag();
  }

 private:
  static constexpr uint32_t kFree = 0;
  static constexpr uint32_t kHeld = 1;
  static constexpr uint32_t kHeldWithWaiters = 2;

  static uintptr_t CurrentThreadTag() {
    static thread_local char tag;
    return reinterpret_cast<uintptr_t>(&tag);
  }
  void LockContended();
  void Wake();

  std::atomic<uint32_t> state_{kFree};
  std::atomic<uintptr_t> owner_{0};
  uint32_t depth_ = 0;  // written only by the owner
};

}  // namespace lumivex
