// Replaces the global operator new and delete with malloc and free that count allocations and deletions
// (atomically: benchmarks link it into programs whose Qt side may allocate on other threads). Kept in a
// translation unit of its own so that the replacement is never inlined into a caller.
#include "support/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<unsigned long> allocations{0};
std::atomic<unsigned long> deletions{0};

void release(void* p) noexcept
{
    if (p)
        deletions.fetch_add(1, std::memory_order_relaxed);
    std::free(p);
}
}  // namespace

unsigned long testing_support::allocationCount() { return allocations.load(std::memory_order_relaxed); }
long testing_support::liveAllocationCount()
{
    return static_cast<long>(allocations.load(std::memory_order_relaxed) - deletions.load(std::memory_order_relaxed));
}

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
