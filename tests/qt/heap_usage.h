// What the program holds on the heap, for tests that check that something gives back all it took.
#pragma once

#include <cstddef>

namespace qttest {

// Bytes allocated and not yet freed, in every arena of the C allocator, after the X11 connection (if any)
// has caught up: Xlib keeps a record of every request until it reads the server's answers, which it
// otherwise does only every few tens of thousands of requests.
std::size_t liveHeapBytes();

// Whether freed blocks go straight back to the allocator's free lists, so that liveHeapBytes counts no
// block that is already free. The per-thread cache of the C library keeps up to seven freed blocks of
// each size as "in use"; GLIBC_TUNABLES=glibc.malloc.tcache_count=0 turns it off.
bool heapCountIsExact();

}  // namespace qttest
