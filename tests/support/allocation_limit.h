// Makes every allocation above a size fail with std::bad_alloc while an AllocationLimit lives:
// how the tests reach the out-of-memory paths without exhausting the machine's memory.
#pragma once

#include <cstddef>

namespace zs::test {

class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t largestBytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

}  // namespace zs::test
