// The canvas lock: mutual exclusion between the bound thread's cheap path and other threads,
// and re-entry on both.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/reentrant_lock.h"

namespace lumivex {
namespace {

TEST(ReentrantLockTest, BoundAndOtherThreadsExcludeEachOther) {
  ReentrantLock lock;
  lock.BindToCurrentThread();
  // A non-atomic pair: torn updates would show as a difference.
  int64_t a = 0, b = 0;
  constexpr int kRounds = 20000;
  auto work = [&](int rounds) {
    for (int i = 0; i < rounds; ++i) {
      std::lock_guard<ReentrantLock> hold(lock);
      std::lock_guard<ReentrantLock> again(lock);  // re-entry
      ++a;
      ++b;
      ASSERT_EQ(a, b);
    }
  };
  std::vector<std::thread> others;
  for (int t = 0; t < 2; ++t)
    others.emplace_back(work, kRounds / 20);
  work(kRounds);
  for (std::thread& t : others)
    t.join();
  EXPECT_EQ(a, kRounds + 2 * (kRounds / 20));
  EXPECT_EQ(a, b);
}

// PlotPixel's way in: the bound thread's try-and-fall-back path against other threads.
TEST(ReentrantLockTest, TheBoundTryPathExcludesOtherThreads) {
  ReentrantLock lock;
  lock.BindToCurrentThread();
  int64_t a = 0, b = 0;
  constexpr int kRounds = 20000;
  std::vector<std::thread> others;
  for (int t = 0; t < 2; ++t) {
    others.emplace_back([&] {
      for (int i = 0; i < kRounds / 20; ++i) {
        std::lock_guard<ReentrantLock> hold(lock);
        ++a;
        ++b;
        ASSERT_EQ(a, b);
      }
    });
  }
  for (int i = 0; i < kRounds; ++i) {
    if (lock.TryLockBound()) {
      ++a;
      ++b;
      ASSERT_EQ(a, b);
      lock.UnlockBound();
    } else {
      std::lock_guard<ReentrantLock> hold(lock);
      ++a;
      ++b;
      ASSERT_EQ(a, b);
    }
  }
  for (std::thread& t : others)
    t.join();
  EXPECT_EQ(a, kRounds + 2 * (kRounds / 20));
  EXPECT_EQ(a, b);
}

TEST(ReentrantLockTest, ReentryCountsDown) {
  ReentrantLock lock;
  lock.BindToCurrentThread();
  lock.lock();
  lock.lock();
  lock.unlock();
  EXPECT_TRUE(lock.HeldByCurrentThread());
  lock.unlock();
  EXPECT_FALSE(lock.HeldByCurrentThread());
  bool other_took_it = false;
  std::thread([&] {
    std::lock_guard<ReentrantLock> hold(lock);
    other_took_it = true;
  }).join();
  EXPECT_TRUE(other_took_it);
}

}  // namespace
}  // namespace lumivex
