// A window that takes the keyboard focus and writes down every keyboard and mouse message
// it receives, one line each, to a file, so that tests can check what synthesized input
// reached a real window.
//
//   input_recorder.exe "window title" "recording file"
//
// Lines (numbers in hexadecimal, coordinates in decimal client coordinates):
//   WM_KEYDOWN vk=10 scan=2a ext=0      also WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
//   WM_CHAR 0048                        also WM_SYSCHAR; the UTF-16 unit
//   WM_MOUSEMOVE x=10 y=20              also the button messages
//   WM_MOUSEWHEEL delta=120 x=10 y=20   screen coordinates, as the message carries them
// Each line is written to the file at once, so a reader sees it as soon as it is handled.
#include <windows.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstdio>
#include <string>

namespace {

HANDLE g_recording = INVALID_HANDLE_VALUE;

void record(const char* line) {
  std::string text(line);
  text += "\r\n";
  DWORD written = 0;
  ::WriteFile(g_recording, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

const char* key_message_name(UINT message) {
  switch (message) {
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    default: return nullptr;
  }
}

const char* mouse_message_name(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_MBUTTONDBLCLK: return "WM_MBUTTONDBLCLK";
    default: return nullptr;
  }
}

// Every message is answered here and none reaches DefWindowProc's keyboard handling, so Alt
// and F10 never put the window into menu mode, which would swallow the keys that follow.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
  char line[96];
  if (const char* name = key_message_name(message)) {
    std::snprintf(line, sizeof line, "%s vk=%02x scan=%02x ext=%u", name, static_cast<unsigned>(w & 0xFF),
                  static_cast<unsigned>((l >> 16) & 0xFF), static_cast<unsigned>((l >> 24) & 1));
    record(line);
    return 0;
  }
  if (message == WM_CHAR || message == WM_SYSCHAR) {
    std::snprintf(line, sizeof line, "%s %04x", message == WM_CHAR ? "WM_CHAR" : "WM_SYSCHAR",
                  static_cast<unsigned>(w & 0xFFFF));
    record(line);
    return 0;
  }
  if (const char* name = mouse_message_name(message)) {
    std::snprintf(line, sizeof line, "%s x=%d y=%d", name, GET_X_LPARAM(l), GET_Y_LPARAM(l));
    record(line);
    return 0;
  }
  if (message == WM_MOUSEWHEEL) {
    std::snprintf(line, sizeof line, "WM_MOUSEWHEEL delta=%d x=%d y=%d", GET_WHEEL_DELTA_WPARAM(w), GET_X_LPARAM(l),
                  GET_Y_LPARAM(l));
    record(line);
    return 0;
  }
  if (message == WM_SYSCOMMAND && (w & 0xFFF0) == SC_KEYMENU) return 0;
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (arguments == nullptr || count < 3) return 2;
  g_recording = ::CreateFileW(arguments[2], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (g_recording == INVALID_HANDLE_VALUE) return 3;

  WNDCLASSW window_class{};
  window_class.lpfnWndProc = window_procedure;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = L"DorovevInputRecorder";
  window_class.style = CS_DBLCLKS;
  if (::RegisterClassW(&window_class) == 0) return 4;
  const HWND window = ::CreateWindowExW(0, window_class.lpszClassName, arguments[1], WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        100, 100, 400, 300, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 5;
  ::SetForegroundWindow(window);
  ::SetFocus(window);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ::CloseHandle(g_recording);
  ::LocalFree(arguments);
  return 0;
}
