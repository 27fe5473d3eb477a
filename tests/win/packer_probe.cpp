// A stand-in for the executable packer (a fake: it packs nothing). Half a second after it
// starts it writes its command line, in UTF-16LE, to the file that DOROVEV_PROBE_FILE
// names, so that a caller that does not wait for it finds no file yet.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t report[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"DOROVEV_PROBE_FILE", report, MAX_PATH)) return 1;
  ::Sleep(500);
  const wchar_t* command_line = ::GetCommandLineW();
  const HANDLE file = ::CreateFileW(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, command_line, static_cast<DWORD>(::lstrlenW(command_line) * sizeof(wchar_t)), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
