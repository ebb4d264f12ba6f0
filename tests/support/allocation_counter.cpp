// Replaces the global operator new and delete with malloc and free that count allocations (atomically:
// benchmarks link it into programs whose Qt side may allocate on other threads). Kept in a
// translation unit of its own so that the replacement is never inlined into a caller.
#include "support/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<unsigned long> allocations{0};
}  // namespace

unsigned long testing_support::allocationCount() { return allocations.load(std::memory_order_relaxed); }

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
