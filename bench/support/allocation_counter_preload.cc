// Loaded with LD_PRELOAD into a program: counts malloc, calloc and realloc calls and writes the
// count to the file named by LUMIVEX_ALLOCATION_COUNT when the process ends. Comparing runs of
// different lengths shows whether a program allocates per frame.
#include <atomic>
#include <cstdio>
#include <cstdlib>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);

namespace {
std::atomic<long> g_count{0};
}

void* malloc(size_t size) {
  g_count.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
  g_count.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(count, size);
}

void* realloc(void* p, size_t size) {
  g_count.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, size);
}

__attribute__((destructor)) static void WriteCount() {
  if (const char* path = std::getenv("LUMIVEX_ALLOCATION_COUNT")) {
    if (FILE* f = std::fopen(path, "w")) {
      std::fprintf(f, "%ld\n", g_count.load());
      std::fclose(f);
    }
  }
}
}
