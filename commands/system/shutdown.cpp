// SDW and the real shutdown steps.
#include "commands/system/shutdown.h"

#include <windows.h>

#include "commands/system/program_handlers.h"
#include "engine/run_context.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

class RealShutdownSystem final : public ShutdownSystem {
 public:
  bool enable_shutdown_privilege() override {
    HANDLE token_handle = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token_handle)) return false;
    const win32::UniqueHandle token(token_handle);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return false;
    // The call succeeds even when the token lacks the privilege; only the last error
    // tells that nothing was enabled.
    if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
    return ::GetLastError() == ERROR_SUCCESS;
  }

  void exit_windows(std::uint32_t flags) override { ::ExitWindowsEx(flags, 0); }
};

RealShutdownSystem real_system;
ShutdownSystem* replacement_system = nullptr;

// The class of the host's main window.
constexpr const wchar_t* kMainFormClass = L"TfrmDivoruvo";

BOOL CALLBACK close_if_main_form(HWND window, LPARAM) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (::lstrcmpW(name, kMainFormClass) == 0) ::PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// The main window of this thread, asked to close: the host then ends the runtime.
void close_main_form() { ::EnumThreadWindows(::GetCurrentThreadId(), close_if_main_form, 0); }

}  // namespace

ShutdownSystem& shutdown_system() { return replacement_system ? *replacement_system : real_system; }
void set_shutdown_system(ShutdownSystem* replacement) { replacement_system = replacement; }
ShutdownSystem& real_shutdown_system() { return real_system; }

std::uint32_t shutdown_flags(std::int32_t mode) {
  switch (mode) {
    case 0: return EWX_SHUTDOWN;
    case 1: return EWX_REBOOT;
    case 2: return EWX_LOGOFF;
    case 3: return EWX_SHUTDOWN | EWX_FORCE;
    case 4: return EWX_REBOOT | EWX_FORCE;
    case 5: return EWX_LOGOFF | EWX_FORCE;
    default: return mode < 0 ? EWX_LOGOFF : EWX_LOGOFF | EWX_FORCE;
  }
}

// The run stops first, whatever the system then does. Without the privilege the system
// would refuse, so it is not asked; the main window closes in either case.
void shutdown_command(RunContext& run, std::u16string_view parameters) {
  const std::uint32_t flags = shutdown_flags(read_integer_or_zero(run.resolve(parameters).view()));
  run.request_stop();
  ShutdownSystem& system = shutdown_system();
  if (system.enable_shutdown_privilege()) {
    system.exit_windows(flags);
  } else {
    run.report_runtime_error(translate(u"Unable to modify security rights for shutdown privileges."),
                             MessageKind::kError);
  }
  close_main_form();
}

}  // namespace dorovev
