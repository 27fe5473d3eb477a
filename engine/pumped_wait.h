// Waiting while the message queue is served and the stop request is watched.
#pragma once

#include <cstdint>

namespace dorovev {

class RunContext;

// Waits `milliseconds`, processing window messages and sleeping 1 millisecond between
// checks. Returns early, with false, when the stop request is set.
bool pumped_wait(RunContext& run, std::uint64_t milliseconds);

}  // namespace dorovev
