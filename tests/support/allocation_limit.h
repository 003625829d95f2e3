// Makes one allocation fail with std::bad_alloc once the thread that made an AllocationLimit has
// taken more than a number of bytes while it lives (later ones succeed again): how the tests reach the out-of-memory paths
// without exhausting the machine's memory. Other threads allocate as usual.
#pragma once

#include <cstddef>

namespace zs::test {

class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t bytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

}  // namespace zs::test
