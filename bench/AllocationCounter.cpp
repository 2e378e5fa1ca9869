// Counts every allocation of the program, so a benchmark can show that its frames allocate nothing.
#include "AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace pelluna::bench {
std::atomic<long long> gAllocations{0};
}  // namespace pelluna::bench

void* operator new(std::size_t size) {
    ++pelluna::bench::gAllocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
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
