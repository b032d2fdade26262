// Counts every heap allocation of this program: C++'s new and the C allocator
// alike, so that the libraries beneath the generator (FreeType, libpng, stdio)
// are caught as well as our own code. Every form of the global operator new is
// replaced and takes its memory from malloc, so each allocation is counted once,
// where it reaches the C allocator:
// - in a plain build, by this program's own malloc, calloc, realloc and aligned
//   allocators, which the dynamic linker puts in front of the C library's for
//   every library of the process, and which hand on to the C library's own;
// - under AddressSanitizer, which owns the allocator, through its allocation hook.

#include "AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define TILVERA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TILVERA_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(TILVERA_ADDRESS_SANITIZER)
// The sanitizer runtime's hook, declared here: GCC ships the runtime but not
// the header that declares it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onAllocate)(const volatile void*,
                                                                            std::size_t),
                                                         void (*onRelease)(const volatile void*));
#endif

namespace {

std::atomic<long> allocations{0};

void* allocate(std::size_t size) {
  return std::malloc(size == 0 ? 1 : size);
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
  const auto align = static_cast<std::size_t>(alignment);
  // aligned_alloc wants a multiple of the alignment.
  return std::aligned_alloc(align, ((size == 0 ? 1 : size) + align - 1) / align * align);
}

void* orThrow(void* memory) {
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

#if defined(TILVERA_ADDRESS_SANITIZER)
void countAllocation(const volatile void*, std::size_t) {
  allocations.fetch_add(1, std::memory_order_relaxed);
}
void ignoreRelease(const volatile void*) {}

// Installed before main, ahead of the first test's allocations.
[[maybe_unused]] const int hooksInstalled =
    __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreRelease);
#endif

}  // namespace

long tilvera::testing::allocationsSoFar() {
  return allocations.load();
}

#if !defined(TILVERA_ADDRESS_SANITIZER)
// The C library's own allocator, under the names it keeps for allocators that
// stand in front of it.
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void* __libc_valloc(std::size_t);
void* __libc_pvalloc(std::size_t);

void* malloc(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(count, size);
}
void* realloc(void* memory, std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(memory, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** memory, std::size_t alignment, std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return 22;  // EINVAL
  *memory = __libc_memalign(alignment, size);
  return *memory != nullptr ? 0 : 12;  // ENOMEM
}
void* valloc(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_valloc(size);
}
void* pvalloc(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_pvalloc(size);
}
}
#endif

void* operator new(std::size_t size) {
  return orThrow(allocate(size));
}
void* operator new[](std::size_t size) {
  return orThrow(allocate(size));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return orThrow(allocateAligned(size, alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return orThrow(allocateAligned(size, alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return allocateAligned(size, alignment);
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
  std::free(memory);
}
