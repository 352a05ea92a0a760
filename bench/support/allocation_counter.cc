// Counts heap allocations in every benchmark binary: global operator new is replaced, and a
// memory manager registered before the benchmarks run makes Google Benchmark report the
// allocations of each benchmark's iterations (allocs_per_iter in its output).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> g_allocations{0};
std::atomic<int64_t> g_bytes{0};

void* Allocate(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  g_bytes.fetch_add(static_cast<int64_t>(size), std::memory_order_relaxed);
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  g_bytes.fetch_add(static_cast<int64_t>(size), std::memory_order_relaxed);
  const std::size_t a = static_cast<std::size_t>(alignment);
  if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
  throw std::bad_alloc();
}

class CountingMemoryManager : public benchmark::MemoryManager {
 public:
  void Start() override {
    allocations_ = g_allocations.load();
    bytes_ = g_bytes.load();
  }
  // This version of the interface still asks for the pointer form.
  void Stop(Result* result) override {
    result->num_allocs = g_allocations.load() - allocations_;
    result->total_allocated_bytes = g_bytes.load() - bytes_;
    result->max_bytes_used = 0;
  }

 private:
  int64_t allocations_ = 0;
  int64_t bytes_ = 0;
};

CountingMemoryManager g_manager;
const bool g_registered = [] {
  benchmark::RegisterMemoryManager(&g_manager);
  return true;
}();

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new(std::size_t size, std::align_val_t a) {
  return AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a) {
  return AllocateAligned(size, a);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}
