// Replaces the global operator new and delete with counting ones; a translation unit of its own so that
// the replacement is never inlined into a caller.
#include "support/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
unsigned long allocations = 0;
}  // namespace

unsigned long testing_support::allocationCount() { return allocations; }

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
