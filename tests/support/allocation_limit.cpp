// The test binary's own global operator new and delete, plain malloc and free with a budget.
#include "allocation_limit.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace {

// Bytes the thread may still take; counted per thread, so a limit in one test thread never
// fails an allocation of the program's other threads.
thread_local std::size_t bytesLeft = std::numeric_limits<std::size_t>::max();

}  // namespace

namespace zs::test {

AllocationLimit::AllocationLimit(std::size_t bytes) { bytesLeft = bytes; }
AllocationLimit::~AllocationLimit() { bytesLeft = std::numeric_limits<std::size_t>::max(); }

}  // namespace zs::test

void* operator new(std::size_t size) {
    if (bytesLeft != std::numeric_limits<std::size_t>::max()) {
        if (size > bytesLeft) {
            // One failure, then memory is there again, as when the failed work has let go of
            // what it held: the error path itself may allocate.
            bytesLeft = std::numeric_limits<std::size_t>::max();
            throw std::bad_alloc();
        }
        bytesLeft -= size;
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
