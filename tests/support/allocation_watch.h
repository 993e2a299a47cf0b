#pragma once

#include <cstddef>

namespace tralvo::test {

// Records the largest single allocation made while it lives, so a test can tell that a reader
// allocated step by step and never what a hostile field claims.
class AllocationWatch {
public:
    AllocationWatch();
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    std::size_t Largest() const;
};

} // namespace tralvo::test
