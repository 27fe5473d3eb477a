// State that outlives one run and is shared by nested runs: the stop request, the
// random generator and the runtimes the host made available.
#pragma once

#include <cstdint>

namespace dorovev {

struct ProcessState {
  // Set by the stop hotkey, by Abort in a runtime-error report and by the stop
  // operation; cleared when a run starts. The main loop and every wait test it.
  bool stop_requested = false;
  // The seed of the random generator, published as RND_SEED at every run start.
  std::uint32_t random_seed = 0;
  // The process's exit code; `Exit>` sets it, in a nested run too.
  std::int32_t exit_code = 0;
  // How many `Macro>` runs are running inside each other now.
  int macro_nesting = 0;
  // VBScript's runtime files are installed (or a compiled macro installed its own).
  bool vbscript_available = false;
  // The loaded text-capture library (a module handle), null when none is loaded.
  void* text_capture_library = nullptr;
};

}  // namespace dorovev
