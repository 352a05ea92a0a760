// The paths of ReentrantLock that need the system: the process-wide barrier and waiting.
#include "platform/reentrant_lock.h"

#include <linux/membarrier.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace lumivex {

namespace {

// True when membarrier's private expedited command is registered for this process.
bool ProcessBarrierAvailable() {
#if defined(__SANITIZE_THREAD__)
  return false;
#else
  static const bool available =
      syscall(__NR_membarrier, MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED, 0, 0) == 0;
  return available;
#endif
}

void Backoff(int& round) {
  if (++round < 64) {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
  } else {
    sched_yield();
  }
}

}  // namespace

void ReentrantLock::BindToCurrentThread() {
  bound_thread_.store(ProcessBarrierAvailable() ? CurrentThreadTag() : 0,
                      std::memory_order_relaxed);
}

void ReentrantLock::YieldToOther() {
  do {
    bound_wants_.store(false, std::memory_order_release);
    int round = 0;
    while (other_wants_.load(std::memory_order_acquire))
      Backoff(round);
    bound_wants_.store(true, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
  } while (other_wants_.load(std::memory_order_acquire));
}

void ReentrantLock::LockOther() {
  const uintptr_t self = CurrentThreadTag();
  if (other_owner_.load(std::memory_order_relaxed) == self) {
    ++other_depth_;
    return;
  }
  others_.lock();
  if (bound_thread_.load(std::memory_order_relaxed) != 0) {
    other_wants_.store(true, std::memory_order_relaxed);
    // Every thread passes a full barrier: the bound thread either has published its claim by
    // now, or will see ours before it enters.
    syscall(__NR_membarrier, MEMBARRIER_CMD_PRIVATE_EXPEDITED, 0, 0);
    int round = 0;
    while (bound_wants_.load(std::memory_order_acquire))
      Backoff(round);
  }
  other_owner_.store(self, std::memory_order_relaxed);
  other_depth_ = 1;
}

void ReentrantLock::UnlockOther() {
  if (--other_depth_ != 0) return;
  other_owner_.store(0, std::memory_order_relaxed);
  other_wants_.store(false, std::memory_order_release);
  others_.unlock();
}

}  // namespace lumivex
