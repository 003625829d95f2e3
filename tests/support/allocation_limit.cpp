// The test binary's own global operator new and delete, plain malloc and free with a size limit.
#include "allocation_limit.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::size_t> largestAllowed{std::numeric_limits<std::size_t>::max()};

}  // namespace

namespace zs::test {

AllocationLimit::AllocationLimit(std::size_t largestBytes) { largestAllowed = largestBytes; }
AllocationLimit::~AllocationLimit() { largestAllowed = std::numeric_limits<std::size_t>::max(); }

}  // namespace zs::test

void* operator new(std::size_t size) {
    if (size > largestAllowed.load(std::memory_order_relaxed)) throw std::bad_alloc();
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
