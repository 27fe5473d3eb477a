// The hidden main window and the services it keeps running while a macro runs.
#include "host/main_form.h"

#include <shellapi.h>

#include <string>
#include <string_view>
#include <thread>

#include "container/compile_options.h"
#include "host/resources/resource_ids.h"
#include "platform/win32/wide.h"

namespace dorovev::host {
namespace {

constexpr UINT_PTR kIdleTimer = 1;
constexpr UINT kTrayId = 1;
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr std::int32_t kCounterLimit = 2147483640;

// The one main window of the process, for the thread message hook.
MainForm* current = nullptr;

bool low_colour_display() {
  const HDC screen = ::GetDC(nullptr);
  const int bits = ::GetDeviceCaps(screen, PLANES) * ::GetDeviceCaps(screen, BITSPIXEL);
  ::ReleaseDC(nullptr, screen);
  return bits < 32;
}

// The tray icon of the window, named; what to change is added by the caller.
NOTIFYICONDATAW tray_icon_data(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(NOTIFYICONDATAW);
  data.hWnd = window;
  data.uID = kTrayId;
  return data;
}

HICON load_icon(HINSTANCE instance, int id) {
  return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                         ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

}  // namespace

MainForm* MainForm::current_form() { return current; }

MainFormOptions options_from_command_line() {
  const std::u16string command_line = win32::from_wide(::GetCommandLineW(), ::wcslen(::GetCommandLineW()));
  MainFormOptions options;
  options.no_tray = names_switch(command_line, u"NOSYSTRAY");
  options.no_stop_key = names_switch(command_line, u"NOSTOPKEY");
  // /HIDE asks for nothing more here: the window is never shown.
  return options;
}

MainForm::MainForm(HINSTANCE instance, ProcessState& process, win32::Win32Platform& platform,
                   MainFormOptions options)
    : process_(process), platform_(platform), options_(options) {
  current = this;
  const bool low_colour = low_colour_display();
  form_icon_ = load_icon(instance, low_colour ? IDI_FORM_LOW_COLOUR : IDI_FORM);
  second_icon_ = load_icon(instance, low_colour ? IDI_TRAY_SECOND_LOW_COLOUR : IDI_TRAY_SECOND);

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(WNDCLASSEXW);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = form_icon_;
  window_class.lpszClassName = kClassName;
  ::RegisterClassExW(&window_class);
  // Borderless and never shown: a window of size 0 that owns the tray icon, the timer and
  // the hotkey.
  window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kCaption, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                              nullptr, nullptr, instance, nullptr);

  // The tray icon appears with the first tick of the idle timer: a macro that is over
  // within a second never waits for the taskbar.
  if (!options_.no_tray) tray_->retry_in = 1;
  ::SetTimer(window_, kIdleTimer, 1000, nullptr);
  hook_ = ::SetWindowsHookExW(WH_GETMESSAGE, message_hook, nullptr, ::GetCurrentThreadId());
  if (!options_.no_stop_key) {
    stop_key_ = ::AddAtomW(L"PauseKey");
    ::RegisterHotKey(window_, stop_key_, MOD_SHIFT, VK_ESCAPE);  // a key taken by another program stays theirs
  }
  platform_.use_idle_counters(&counters_);
  // Stopped until a run starts: a run clears the request when it begins.
  stop();
}

MainForm::~MainForm() {
  stop();
  platform_.use_idle_counters(nullptr);
  if (stop_key_) {
    ::UnregisterHotKey(window_, stop_key_);
    ::DeleteAtom(stop_key_);
  }
  if (hook_) ::UnhookWindowsHookEx(hook_);
  if (tray_->shown) {
    NOTIFYICONDATAW data = tray_icon_data(window_);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
  }
  ::DestroyWindow(window_);
  if (custom_icon_) ::DestroyIcon(custom_icon_);
  current = nullptr;
}

// The icon is added on a thread of its own: where the taskbar is slow to answer (or
// missing, under Wine the call takes seconds to fail) the macro does not wait for it.
void MainForm::show_tray_icon() {
  NOTIFYICONDATAW data = tray_icon_data(window_);
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = form_icon_;
  ::lstrcpynW(data.szTip, kCaption, ARRAYSIZE(data.szTip));
  std::thread([tray = tray_, data]() mutable {
    tray->shown = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    // The taskbar may still be starting: one more try ten seconds later; then none.
    if (!tray->shown && tray->retry_in == 0) tray->retry_in = 10;
  }).detach();
}

void MainForm::show_tray_icon_once_more() {
  tray_->retry_in = tray_->shown || tray_tried_ ? -1 : 0;  // a second failure ends the tries
  tray_tried_ = true;
  show_tray_icon();
}

void MainForm::set_tray_picture(HICON icon) {
  if (!tray_->shown) return;
  NOTIFYICONDATAW data = tray_icon_data(window_);
  data.uFlags = NIF_ICON;
  data.hIcon = icon;
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void MainForm::set_icon(HICON icon) {
  if (custom_icon_) ::DestroyIcon(custom_icon_);
  custom_icon_ = icon;
  form_icon_ = icon;
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (!second_picture_) set_tray_picture(icon);
}

// Every second: both counters count on, and while a run is active the tray icon
// alternates between its two pictures.
void MainForm::tick() {
  if (tray_->retry_in > 0 && --tray_->retry_in == 0) show_tray_icon_once_more();
  if (counters_.input_quiet < kCounterLimit) ++counters_.input_quiet;
  if (counters_.paint_quiet < kCounterLimit) ++counters_.paint_quiet;
  if (!options_.no_tray && platform_.run_indicator()) {
    second_picture_ = !second_picture_;
    set_tray_picture(second_picture_ ? second_icon_ : form_icon_);
  } else if (second_picture_) {
    second_picture_ = false;
    set_tray_picture(form_icon_);
  }
}

// Every message the thread takes from its queue, in whatever loop: the stop key stops
// the run, input resets both idle counters, painting the paint counter. Nothing is taken
// away from the message.
void MainForm::watch(const MSG& message) {
  switch (message.message) {
    case WM_HOTKEY:
      if (stop_key_ && message.wParam == stop_key_) stop();
      break;
    case WM_SHOWWINDOW:
    case WM_KEYDOWN:
    case WM_UNICHAR:
    case WM_MENUSELECT:
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
      counters_.input_quiet = 0;
      counters_.paint_quiet = 0;
      break;
    case WM_PAINT: counters_.paint_quiet = 0; break;
    default: break;
  }
}

LRESULT CALLBACK MainForm::message_hook(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && current && w == PM_REMOVE) current->watch(*reinterpret_cast<const MSG*>(l));
  return ::CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK MainForm::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_TIMER && w == kIdleTimer && current && current->window_ == window) {
    current->tick();
    return 0;
  }
  // Whatever showed the window, activating the program hides it again when asked to.
  const bool hiding = current && current->window_ == window && current->options_.hide_on_activation;
  if (message == WM_ACTIVATEAPP && w && hiding) ::ShowWindow(window, SW_HIDE);
  return ::DefWindowProcW(window, message, w, l);
}

}  // namespace dorovev::host
