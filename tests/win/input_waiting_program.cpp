// A window program for the tests of waiting until a started program waits for input:
// `input_waiting_program MARKER` shows a window, takes a second before it creates the
// file MARKER, and only then waits for messages. It ends when MARKER is deleted (or after
// two minutes, so that a failed test leaves nothing running).
#include <windows.h>
#include <shellapi.h>

namespace {

const wchar_t* marker = nullptr;
int ticks = 0;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_TIMER) {
    if (::GetFileAttributesW(marker) == INVALID_FILE_ATTRIBUTES || ++ticks > 2400) ::PostQuitMessage(0);
    return 0;
  }
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (count < 2) return 2;
  marker = arguments[1];
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"DorovevInputWaiting";
  ::RegisterClassW(&window_class);
  const HWND window = ::CreateWindowW(L"DorovevInputWaiting", L"Input waiting", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                      nullptr, nullptr, instance, nullptr);
  // A starter that does not wait until this program is idle sees no marker yet.
  ::Sleep(1000);
  const HANDLE file = ::CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  ::CloseHandle(file);
  ::ShowWindow(window, show);
  ::SetTimer(window, 1, 50, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}
