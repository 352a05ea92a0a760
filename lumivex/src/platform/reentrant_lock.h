// A re-entrant lock with a cheap path for one thread.
//
// The canvas lock is taken around every pixel by the program's thread, and only now and then by
// others (the window thread painting, a display backend presenting). So the lock is biased: the
// thread bound to it (BindToCurrentThread) enters with a plain store and a compiler fence, no
// locked instruction; any other thread takes a mutex, announces itself and then makes every
// thread of the process pass a full memory barrier (membarrier), which orders the bound thread's
// store before its check. Where that system call is missing (or under the thread sanitizer,
// which cannot see it) no thread is bound and every thread takes the mutex.
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

  // Gives the calling thread the cheap path, where the system allows it. Call while no other
  // thread uses the lock.
  void BindToCurrentThread();

  void lock() {
    if (__builtin_expect(CurrentThreadTag() == bound_thread_.load(std::memory_order_relaxed), 1)) {
      if (bound_depth_++ == 0) {
        bound_wants_.store(true, std::memory_order_relaxed);
        // The other side's process barrier orders the store before the load; only the compiler
        // must keep them in order.
        std::atomic_signal_fence(std::memory_order_seq_cst);
        if (__builtin_expect(other_wants_.load(std::memory_order_acquire), 0)) YieldToOther();
      }
      return;
    }
    LockOther();
  }

  void unlock() {
    if (__builtin_expect(CurrentThreadTag() == bound_thread_.load(std::memory_order_relaxed), 1)) {
      if (--bound_depth_ == 0) bound_wants_.store(false, std::memory_order_release);
      return;
    }
    UnlockOther();
  }

  // The bound thread's cheapest way in: true when it now holds the lock, which it did not hold
  // before and which no other thread claims; false (having changed nothing) otherwise. Release
  // with UnlockBound.
  bool TryLockBound() {
    if (CurrentThreadTag() != bound_thread_.load(std::memory_order_relaxed) || bound_depth_ != 0) {
      return false;
    }
    bound_wants_.store(true, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (__builtin_expect(other_wants_.load(std::memory_order_acquire), 0)) {
      bound_wants_.store(false, std::memory_order_release);
      return false;
    }
    bound_depth_ = 1;
    return true;
  }
  void UnlockBound() {
    bound_depth_ = 0;
    bound_wants_.store(false, std::memory_order_release);
  }

  bool HeldByCurrentThread() const {
    const uintptr_t self = CurrentThreadTag();
    if (self == bound_thread_.load(std::memory_order_relaxed)) return bound_depth_ > 0;
    return other_owner_.load(std::memory_order_relaxed) == self;
  }

 private:
  static uintptr_t CurrentThreadTag() {
    static thread_local char tag;
    return reinterpret_cast<uintptr_t>(&tag);
  }

  // The bound thread found another thread holding or claiming the lock: step back until it is
  // done, then claim again.
  void YieldToOther();
  void LockOther();
  void UnlockOther();

  std::atomic<bool> bound_wants_{false};    // written by the bound thread only
  std::atomic<bool> other_wants_{false};    // written by the thread holding others_
  std::atomic<uintptr_t> bound_thread_{0};  // 0: no thread has the cheap path
  uint32_t bound_depth_ = 0;                // the bound thread's holdings; written by it only
  std::atomic<uintptr_t> other_owner_{0};   // another thread holding the lock, or 0
  uint32_t other_depth_ = 0;                // written only by that thread
  std::mutex others_;                       // held by any thread but the bound one
};

}  // namespace lumivex
