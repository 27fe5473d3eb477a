// A console program for the tests of starting programs: `exit_code_program CODE [EVENT]`
// exits with CODE, after the named event is set when one is named. When the environment
// names a file in DOROVEV_CHILD_REPORT, it first writes there, as UTF-16 lines, its
// command line, the show state it was given, the value of DOROVEV_INHERITED and its
// process id.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring environment(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

void write_report(const std::wstring& file) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  ::GetStartupInfoW(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  const std::wstring report = std::wstring(::GetCommandLineW()) + L"\n" + std::to_wstring(show) + L"\n" +
                              environment(L"DOROVEV_INHERITED") + L"\n" +
                              std::to_wstring(::GetCurrentProcessId()) + L"\n";
  // Written under another name and then renamed, so that a reader never sees half of it.
  const std::wstring partial = file + L".partial";
  const HANDLE handle =
      ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(handle, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written, nullptr);
  ::CloseHandle(handle);
  ::MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (const std::wstring file = environment(L"DOROVEV_CHILD_REPORT"); !file.empty()) write_report(file);
  if (argc > 2) {
    const HANDLE event = ::OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
    if (event) ::WaitForSingleObject(event, 120000);  // bounded: a failed test leaves nothing running
  }
  return argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 0;
}
