// The runtime's main window: hidden, it owns the tray icon, the Shift+Esc stop key, the
// idle timer with its two idle counters, and the message hook that resets them.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "engine/platform.h"
#include "engine/process_state.h"
#include "platform/win32/win32_platform.h"

namespace dorovev::host {

struct MainFormOptions {
  bool no_tray = false;      // no tray icon at all (/NOSYSTRAY)
  bool no_stop_key = false;  // no Shift+Esc hotkey (/NOSTOPKEY)
  // The macro's own command line says -HIDE: each time the program is activated its
  // window is hidden again, whatever showed it.
  bool hide_on_activation = false;
};

// The switches as the process command line gives them: anywhere in it, either form.
MainFormOptions options_from_command_line();

class MainForm {
 public:
  MainForm(HINSTANCE instance, ProcessState& process, win32::Win32Platform& platform, MainFormOptions options);
  ~MainForm();
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // The main window of this process, if one exists.
  static MainForm* current_form();

  HWND window() const { return window_; }
  const Platform::IdleCounters& idle_counters() const { return counters_; }
  // The stop operation: the run ends before its next line and every wait ends.
  void stop() { process_.stop_requested = true; }
  // Replaces the form and first tray icon (`ICO>`), taking the icon over; nullptr leaves
  // no icon.
  void set_icon(HICON icon);
  // Whether the tray shows its second picture now: every tick of the idle timer
  // alternates the pictures while a run is active.
  bool shows_second_picture() const { return second_picture_; }

  static constexpr const wchar_t* kClassName = L"TfrmDivoruvo";
  static constexpr const wchar_t* kCaption = L"Shift+Esc To Stop";

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK message_hook(int code, WPARAM w, LPARAM l);
  void watch(const MSG& message);
  void tick();
  void show_tray_icon();
  void show_tray_icon_once_more();  // from the idle timer: the first try, or the one more
  void set_tray_picture(HICON icon);

  ProcessState& process_;
  win32::Win32Platform& platform_;
  MainFormOptions options_;
  HWND window_ = nullptr;
  HHOOK hook_ = nullptr;
  ATOM stop_key_ = 0;
  // Shared with the thread that adds the tray icon, which may outlive the window when
  // the program ends while the taskbar has not answered yet.
  struct TrayState {
    std::atomic<bool> shown = false;
    // Seconds until the one more try to show the icon; 0 before a failure, -1 after the
    // last try.
    std::atomic<int> retry_in = 0;
  };
  std::shared_ptr<TrayState> tray_ = std::make_shared<TrayState>();
  bool tray_tried_ = false;  // the first try has been made
  bool second_picture_ = false;  // which picture the tray shows while a run is active
  HICON form_icon_ = nullptr;
  HICON second_icon_ = nullptr;
  HICON custom_icon_ = nullptr;  // set by ICO, owned here
  Platform::IdleCounters counters_;
};

}  // namespace dorovev::host
