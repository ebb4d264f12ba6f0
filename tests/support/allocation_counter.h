// Counts calls of the global operator new in a test binary that links allocation_counter.cpp, and the
// blocks it handed out that are not deleted yet.
#pragma once

namespace testing_support {
unsigned long allocationCount();
long liveAllocationCount();
}  // namespace testing_support
