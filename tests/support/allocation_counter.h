// Counts the allocations of the test program, for the promises that values are shared.
#pragma once

#include <cstddef>

namespace dorovev::testing {

std::size_t allocation_count() noexcept;

}  // namespace dorovev::testing
