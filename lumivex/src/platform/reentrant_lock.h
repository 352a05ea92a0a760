// A re-entrant lock with a cheap path for one thread.
//
// The canvas lock is taken around every pixel by the program's thread, and only now and then by
// others (the window thread painting, a display backend presenting). So the lock is biased: the
// thread bound to it (BindToCurrentThread) enters with a plain store and a compiler fence, no
// locked instruction; any other thread announces itself and then makes every thread of the
// process pass a full memory barrier (membarrier), which orders the bound thread's store before
// its check. Where that system call is missing (or under the thread sanitizer, which cannot see
// it), both sides use sequentially consistent operations instead. Other
// threads exclude each other with a mutex. Waiting spins briefly, then yields.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

namespace lumivex {

class ReentrantLock {
 public:
  ReentrantLock() = default;
  ReentrantLock(const ReentrantLock&) = delete;
  ReentrantLock& operator=(const ReentrantLock&) = delete;

  // Makes the calling thread the one with the cheap path. Call while no other thread uses the
  // lock.
  void BindToCurrentThread();

  void lock() {
    const uintptr_t self = CurrentThreadTag();
    if (owner_.load(std::memory_order_relaxed) == self) {
      ++depth_;
      return;
    }
    if (self == bound_thread_.load(std::memory_order_relaxed)) {
      LockBound();
    } else {
      LockOther();
    }
    owner_.store(self, std::memory_order_relaxed);
    depth_ = 1;
  }

  void unlock() {
    if (--depth_ != 0) return;
    const bool bound =
        owner_.load(std::memory_order_relaxed) == bound_thread_.load(std::memory_order_relaxed);
    owner_.store(0, std::memory_order_relaxed);
    if (bound) {
      bound_wants_.store(false, std::memory_order_release);
    } else {
      other_wants_.store(false, std::memory_order_release);
      others_.unlock();
    }
  }

  bool HeldByCurrentThread() const {
    return owner_.load(std::memory_order_relaxed) == CurrentThreadTag();
  }

 private:
  static uintptr_t CurrentThreadTag() {
    static thread_local char tag;
    return reinterpret_cast<uintptr_t>(&tag);
  }

  void LockBound() {
    for (;;) {
      if (process_barrier_) {
        // The other side's process barrier orders this store before the load; only the
        // compiler must keep them in order.
        bound_wants_.store(true, std::memory_order_relaxed);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        if (!other_wants_.load(std::memory_order_acquire)) return;
      } else {
        bound_wants_.store(true, std::memory_order_seq_cst);
        if (!other_wants_.load(std::memory_order_seq_cst)) return;
      }
      bound_wants_.store(false, std::memory_order_release);
      WaitWhileOtherWants();
    }
  }

  void LockOther();
  void WaitWhileOtherWants() const;

  std::atomic<bool> bound_wants_{false};  // written by the bound thread only
  std::atomic<bool> other_wants_{false};  // written by the thread holding others_
  std::atomic<uintptr_t> bound_thread_{0};
  std::atomic<uintptr_t> owner_{0};
  uint32_t depth_ = 0;            // written only by the owner
  bool process_barrier_ = false;  // set when bound, before other threads use the lock
  std::mutex others_;             // excludes the other threads from each other
};

}  // namespace lumivex
