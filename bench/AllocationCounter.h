// Counts every allocation of the program, so a benchmark can show that its frames allocate nothing.
#pragma once

#include <atomic>

namespace pelluna::bench {
// Global operator new calls so far (the replacements live in AllocationCounter.cpp).
extern std::atomic<long long> gAllocations;
}  // namespace pelluna::bench
