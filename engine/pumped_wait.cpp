// The pumped wait.
#include "engine/pumped_wait.h"

#include "engine/run_context.h"

namespace dorovev {

bool pumped_wait(RunContext& run, std::uint64_t milliseconds) {
  // The tick count wraps every 49.7 days; elapsed time is summed from differences, which
  // survive the wrap.
  std::uint32_t last = run.platform.tick_count();
  std::uint64_t elapsed = 0;
  while (elapsed < milliseconds) {
    run.platform.process_messages();
    if (run.process.stop_requested) return false;
    run.platform.sleep(1);
    const std::uint32_t now = run.platform.tick_count();
    elapsed += static_cast<std::uint32_t>(now - last);
    last = now;
  }
  return !run.process.stop_requested;
}

}  // namespace dorovev
