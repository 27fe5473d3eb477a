// Program entry of the runtime.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "host/run_mode.h"
#include "platform/win32/wide.h"
#include "values/ascii.h"

namespace {

std::u16string argument(LPWSTR* arguments, int index) {
  return dorovev::win32::from_wide(arguments[index], ::wcslen(arguments[index]));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!arguments) return 1;
  int exit_code = 0;
  if (count >= 3 && dorovev::equals_ignoring_ascii_case(argument(arguments, 1), u"-RUN")) {
    exit_code = dorovev::run_script_file(argument(arguments, 2));
  } else {
    ::MessageBoxW(nullptr, L"Usage: dorovev -RUN <script file> [/name=value ...]", L"Dorovev", MB_OK | MB_ICONINFORMATION);
    exit_code = 2;
  }
  ::LocalFree(arguments);
  return exit_code;
}
