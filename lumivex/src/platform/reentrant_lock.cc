// The contended paths of ReentrantLock: a short spin, then a futex sleep.
#include "platform/reentrant_lock.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace lumivex {

namespace {

void FutexWait(std::atomic<uint32_t>* word, uint32_t expected) {
  syscall(SYS_futex, reinterpret_cast<uint32_t*>(word), FUTEX_WAIT_PRIVATE, expected, nullptr,
          nullptr, 0);
}

void FutexWakeOne(std::atomic<uint32_t>* word) {
  syscall(SYS_futex, reinterpret_cast<uint32_t*>(word), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

}  // namespace

void ReentrantLock::LockContended() {
  for (int spin = 0; spin < 200; ++spin) {
    uint32_t expected = kFree;
    if (state_.load(std::memory_order_relaxed) == kFree &&
        state_.compare_exchange_weak(expected, kHeld, std::memory_order_acquire,
                                     std::memory_order_relaxed)) {
      return;
    }
    __builtin_ia32_pause();
  }
  // Mark the lock as having a sleeper; whoever releases it wakes one. Taking it through the
  // exchange leaves the mark, which costs at most one needless wake.
  while (state_.exchange(kHeldWithWaiters, std::memory_order_acquire) != kFree) {
    FutexWait(&state_, kHeldWithWaiters);
  }
}

void ReentrantLock::Wake() {
  FutexWakeOne(&state_);
}

}  // namespace lumivex
