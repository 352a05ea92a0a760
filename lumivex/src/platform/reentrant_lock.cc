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
  process_barrier_ = ProcessBarrierAvailable();
  bound_thread_.store(CurrentThreadTag(), std::memory_order_relaxed);
}

void ReentrantLock::LockOther() {
  others_.lock();
  int round = 0;
  if (process_barrier_) {
    other_wants_.store(true, std::memory_order_relaxed);
    // Every thread passes a full barrier: the bound thread either has published its claim by
    // now, or will see ours before it enters.
    syscall(__NR_membarrier, MEMBARRIER_CMD_PRIVATE_EXPEDITED, 0, 0);
    while (bound_wants_.load(std::memory_order_acquire))
      Backoff(round);
  } else {
    other_wants_.store(true, std::memory_order_seq_cst);
    while (bound_wants_.load(std::memory_order_seq_cst))
      Backoff(round);
  }
}

void ReentrantLock::WaitWhileOtherWants() const {
  int round = 0;
  while (other_wants_.load(std::memory_order_acquire))
    Backoff(round);
}

}  // namespace lumivex
