// Counts every call of the global operator new in a program that links alloc_counter.cpp.
#pragma once

namespace bench {
unsigned long allocationCount();
}  // namespace bench
