// Counts calls of the global operator new in a test binary that links allocation_counter.cpp.
#pragma once

namespace testing_support {
unsigned long allocationCount();
}  // namespace testing_support
