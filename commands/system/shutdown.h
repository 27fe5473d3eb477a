// SDW: logging off, restarting or shutting down Windows, and the seam in front of the
// system calls that do it.
#pragma once

#include <cstdint>

namespace dorovev {

// The two steps that act on the machine. The real one enables the shutdown privilege of
// this process's token and calls ExitWindowsEx; tests put a recording fake in its place,
// so that no test ever ends the session.
class ShutdownSystem {
 public:
  virtual ~ShutdownSystem() = default;
  // False when the privilege could not be enabled.
  virtual bool enable_shutdown_privilege() = 0;
  // `flags` are ExitWindowsEx's EWX_ flags.
  virtual void exit_windows(std::uint32_t flags) = 0;
};

// The one in use: the real one unless a replacement was set.
ShutdownSystem& shutdown_system();
// Puts `replacement` in place for the whole process; nullptr brings the real one back.
void set_shutdown_system(ShutdownSystem* replacement);
// The real one, whatever is in place.
ShutdownSystem& real_shutdown_system();

// SDW's mode as ExitWindowsEx flags: 0 shut down, 1 restart, 2 log off, 3 to 5 the same
// forced; below 0 log off, 6 and above a forced log off.
std::uint32_t shutdown_flags(std::int32_t mode);

}  // namespace dorovev
