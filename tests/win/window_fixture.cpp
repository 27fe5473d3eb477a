// The windows that the window-command tests look for: `window_fixture TAG` opens a fixed
// set of windows whose titles all begin with TAG, then serves them until it is terminated
// (or five minutes have passed, so a failed test leaves nothing running):
//
//   TAG Alpha          visible; children TAG OK Button (a button) and TAG Label, which
//                      has a child of its own, TAG Grandchild
//   TAG Ghost          hidden; child TAG Ghost Child
//   TAG Mixed Case     visible, and TAG MIXED CASE: titles that differ only by case
//   TAG Twin           hidden, and TAG Twin Visible, visible
//   TAG Order One      visible, and TAG Order Two; each has a child TAG Kid One / Two
//   TAG Stubborn       visible; refuses to close
//   TAG Closable       visible; closes on WM_CLOSE as every window but the stubborn one
//   TAG Tray           hidden, of the taskbar's class "Shell_TrayWnd", owning
//   TAG Thumb Preview  visible, of class "ThumbnailClass", with child TAG Thumb Child
//
// Windows are created in this order, each new top-level one placed at the top.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr wchar_t kRefuseClose[] = L"DorovevRefuseClose";

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_CLOSE) {
    if (!::GetPropW(window, kRefuseClose)) ::DestroyWindow(window);
    return 0;
  }
  return ::DefWindowProcW(window, message, w, l);
}

HINSTANCE instance = nullptr;
std::wstring tag;

void register_class(const wchar_t* name) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = name;
  ::RegisterClassW(&window_class);
}

HWND top(const wchar_t* class_name, const wchar_t* title, bool visible, HWND owner = nullptr) {
  const DWORD style = owner ? WS_POPUP | WS_CAPTION : WS_OVERLAPPEDWINDOW;
  const HWND window = ::CreateWindowW(class_name, (tag + L" " + title).c_str(), style, 100, 100, 320, 240, owner,
                                      nullptr, instance, nullptr);
  if (visible) ::ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

HWND child(HWND parent, const wchar_t* class_name, const wchar_t* title, int y) {
  return ::CreateWindowW(class_name, (tag + L" " + title).c_str(), WS_CHILD | WS_VISIBLE, 10, y, 200, 24, parent,
                         nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE this_instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (count < 2) return 2;
  tag = arguments[1];
  instance = this_instance;
  for (const wchar_t* name : {L"DorovevFixture", L"Shell_TrayWnd", L"ThumbnailClass"}) register_class(name);

  const HWND alpha = top(L"DorovevFixture", L"Alpha", true);
  child(alpha, L"BUTTON", L"OK Button", 10);
  const HWND label = child(alpha, L"STATIC", L"Label", 40);
  child(label, L"STATIC", L"Grandchild", 0);
  child(top(L"DorovevFixture", L"Ghost", false), L"STATIC", L"Ghost Child", 10);
  top(L"DorovevFixture", L"Mixed Case", true);
  top(L"DorovevFixture", L"MIXED CASE", true);
  top(L"DorovevFixture", L"Twin", false);
  top(L"DorovevFixture", L"Twin Visible", true);
  child(top(L"DorovevFixture", L"Order One", true), L"STATIC", L"Kid One", 10);
  child(top(L"DorovevFixture", L"Order Two", true), L"STATIC", L"Kid Two", 10);
  ::SetPropW(top(L"DorovevFixture", L"Stubborn", true), kRefuseClose, reinterpret_cast<HANDLE>(1));
  top(L"DorovevFixture", L"Closable", true);
  const HWND tray = top(L"Shell_TrayWnd", L"Tray", false);
  child(top(L"ThumbnailClass", L"Thumb Preview", true, tray), L"STATIC", L"Thumb Child", 10);

  // A thread timer: it ends the program even when its windows have been closed.
  ::SetTimer(nullptr, 0, 5 * 60 * 1000, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && !message.hwnd) break;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
