// The mouse commands and the lock keys driven for real: the pointer is moved and the buttons
// pressed through the system's input stream and seen by a window of this test; the lock
// keys and the key waits are seen by a low-level keyboard hook and by the key states of
// this thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "commands/input/input_commands.h"
#include "commands/input/mouse_over.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "win_test_support.h"

namespace dorovev {
namespace {

using namespace codes;
using namespace std::chrono_literals;
using wintest::wait_until;

std::string name_of(CommandCode code) { return wintest::narrow(win32::wide(code.text())); }

// ---------------------------------------------------------------------------------------
// A top-level window that records the mouse messages it gets, in screen coordinates.

struct MouseMessage {
  UINT message;
  POINT at;      // screen coordinates
  WPARAM flags;  // the MK_ button flags
};

std::vector<MouseMessage>* g_mouse_messages = nullptr;

LRESULT CALLBACK recorder_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (g_mouse_messages && ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST))) {
    POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    if (message != WM_MOUSEWHEEL) ::ClientToScreen(window, &at);  // the wheel carries screen coordinates
    g_mouse_messages->push_back({message, at, wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)});
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

HWND create_recorder(const wchar_t* title, int left, int top) {
  static const ATOM kClass = [] {
    WNDCLASSW window_class{};  // no CS_DBLCLKS: a second click stays a down and an up
    window_class.lpfnWndProc = recorder_procedure;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = L"DorovevMouseRecorder";
    return ::RegisterClassW(&window_class);
  }();
  (void)kClass;
  return ::CreateWindowExW(WS_EX_TOPMOST, L"DorovevMouseRecorder", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, left,
                           top, 700, 550, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

// ---------------------------------------------------------------------------------------
// A low-level keyboard hook on a thread of its own, recording every key event.

struct KeyEvent {
  DWORD virtual_key;
  DWORD scan_code;
  bool extended;
  bool up;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

std::ostream& operator<<(std::ostream& out, const KeyEvent& e) {
  return out << "{vk " << e.virtual_key << " scan " << e.scan_code << (e.extended ? " extended" : "")
             << (e.up ? " up" : " down") << "}";
}

std::mutex g_key_lock;
std::vector<KeyEvent> g_key_events;

LRESULT CALLBACK keyboard_hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    std::lock_guard lock(g_key_lock);
    g_key_events.push_back({event->vkCode, event->scanCode, (event->flags & LLKHF_EXTENDED) != 0,
                            (event->flags & LLKHF_UP) != 0});
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

class KeyboardRecorder {
 public:
  KeyboardRecorder() {
    std::atomic<bool> ready = false;
    thread_ = std::thread([this, &ready] {
      thread_id_ = ::GetCurrentThreadId();
      MSG message;
      ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
      const HHOOK hook = ::SetWindowsHookExW(WH_KEYBOARD_LL, keyboard_hook, ::GetModuleHandleW(nullptr), 0);
      installed_ = hook != nullptr;
      ready = true;
      while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
      if (hook) ::UnhookWindowsHookEx(hook);
    });
    while (!ready) std::this_thread::sleep_for(1ms);
  }
  ~KeyboardRecorder() {
    ::PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool installed() const { return installed_; }

  // The events since the last call: everything before a marker key that is pressed now,
  // once the hook has seen the marker.
  std::vector<KeyEvent> take() {
    ::keybd_event(VK_F24, 0, 0, 0);
    ::keybd_event(VK_F24, 0, KEYEVENTF_KEYUP, 0);
    std::vector<KeyEvent> events;
    wait_until([&] {
      std::lock_guard lock(g_key_lock);
      for (std::size_t i = 0; i < g_key_events.size(); ++i) {
        if (g_key_events[i].virtual_key == VK_F24 && g_key_events[i].up) {
          events.assign(g_key_events.begin(), g_key_events.begin() + static_cast<std::ptrdiff_t>(i));
          std::erase_if(events, [](const KeyEvent& e) { return e.virtual_key == VK_F24; });
          g_key_events.erase(g_key_events.begin(), g_key_events.begin() + static_cast<std::ptrdiff_t>(i) + 1);
          return true;
        }
      }
      return false;
    });
    return events;
  }

 private:
  std::thread thread_;
  DWORD thread_id_ = 0;
  bool installed_ = false;
};

// ---------------------------------------------------------------------------------------

class MouseLockKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    run.variables.create_fixed_slots();
    register_mouse_commands(table);
    register_lock_key_commands(table);
    g_mouse_messages = &mouse_messages;
    window = create_recorder(L"Mouse recorder", 100, 100);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(wintest::force_foreground(window));
    ::SetFocus(window);
  }
  void TearDown() override {
    g_mouse_messages = nullptr;
    ::DestroyWindow(window);
    platform.process_messages();
  }

  void run_line(CommandCode code, std::u16string_view parameters) {
    run.variables.set_line_number(12);
    dispatch(run, table, code, parameters);
  }
  std::string value(std::u16string_view name) const {
    const std::optional<Text> text = run.variables.value_of(name);
    if (!text) return "(none)";
    return wintest::narrow(win32::wide(text->view()));
  }
  void set(std::u16string_view name, std::u16string_view text) { AssignVariable(run.variables, name, text); }

  // The mouse messages that arrived since the last call, without the movements, once a
  // wheel turn injected now (after everything the command injected) has arrived too.
  std::vector<MouseMessage> take_buttons() {
    ::mouse_event(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA, 0);
    std::vector<MouseMessage> buttons;
    const bool marker_seen = wait_until([&] {
      for (std::size_t i = 0; i < mouse_messages.size(); ++i) {
        if (mouse_messages[i].message != WM_MOUSEWHEEL) continue;
        for (std::size_t j = 0; j < i; ++j) {
          if (mouse_messages[j].message != WM_MOUSEMOVE) buttons.push_back(mouse_messages[j]);
        }
        mouse_messages.erase(mouse_messages.begin(), mouse_messages.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return true;
      }
      return false;
    });
    EXPECT_TRUE(marker_seen) << "the marker wheel turn never reached the recorder";
    return buttons;
  }

  POINT client_origin() const {
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    return origin;
  }
  POINT cursor() const {
    POINT at{};
    ::GetCursorPos(&at);
    return at;
  }

  win32::Win32Platform platform;
  ProcessState process;
  RunContext run{platform, process};
  CommandTable table;
  HWND window = nullptr;
  std::vector<MouseMessage> mouse_messages;
};

// ---------------------------------------------------------------------------------------
// Moving the pointer.

TEST_F(MouseLockKeysTest, MouseMovePlacesThePointerAndTheWindowSeesItMove) {
  set(u"x", u"333");
  set(u"y", u"344");
  struct Case {
    std::u16string parameters;
    POINT expected;
  };
  const Case cases[] = {{u"200,210", {200, 210}}, {u"%x%,%y%", {333, 344}}, {u"$100,  256", {256, 256}},
                        {u"150,160", {150, 160}}};
  for (const Case& c : cases) {
    mouse_messages.clear();
    run_line(u"MOU"_code, c.parameters);
    EXPECT_EQ(cursor().x, c.expected.x) << wintest::narrow(win32::wide(c.parameters));
    EXPECT_EQ(cursor().y, c.expected.y) << wintest::narrow(win32::wide(c.parameters));
    const bool moved_there = wait_until([&] {
      for (const MouseMessage& m : mouse_messages) {
        if (m.message == WM_MOUSEMOVE && m.at.x == c.expected.x && m.at.y == c.expected.y) return true;
      }
      return false;
    });
    EXPECT_TRUE(moved_there) << "no WM_MOUSEMOVE at the new place for " << wintest::narrow(win32::wide(c.parameters));
  }
}

TEST_F(MouseLockKeysTest, MouseMoveRelCountsFromTheForegroundWindowsCorner) {
  ASSERT_EQ(::GetForegroundWindow(), window);
  ::SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  platform.process_messages();
  RECT frame{};
  ::GetWindowRect(window, &frame);
  ASSERT_EQ(frame.left, 300);
  set(u"dx", u"25");
  struct Case {
    std::u16string parameters;
    POINT offset;
  };
  for (const Case& c : {Case{u"10,10", {10, 10}}, Case{u"%dx%,40", {25, 40}}, Case{u"0,0", {0, 0}}}) {
    run_line(u"MMR"_code, c.parameters);
    EXPECT_EQ(cursor().x, 300 + c.offset.x) << wintest::narrow(win32::wide(c.parameters));
    EXPECT_EQ(cursor().y, 200 + c.offset.y) << wintest::narrow(win32::wide(c.parameters));
  }
}

TEST_F(MouseLockKeysTest, ANonNumericCoordinateIsReportedAndMovesNothing) {
  const std::wstring record = wintest::temp_file(L"dorovev-mouse-reports-" + std::to_wstring(::GetCurrentProcessId()));
  ::DeleteFileW(record.c_str());
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", record.c_str());
  const std::string report = "information\tOK Abort\tLine: 12 Invalid Numeric Value for MouseMove command.\n";
  std::string expected;
  for (const CommandCode code : {u"MOU"_code, u"MMR"_code}) {
    for (const std::u16string_view parameters : {u"10", u"a,5", u"1,2,3", u"5,", u"", u"2147483648,1", u"%nope%,4"}) {
      ::SetCursorPos(400, 420);
      run_line(code, parameters);
      expected += report;
      EXPECT_EQ(cursor().x, 400) << wintest::narrow(win32::wide(parameters));
      EXPECT_EQ(cursor().y, 420) << wintest::narrow(win32::wide(parameters));
    }
  }
  EXPECT_FALSE(process.stop_requested) << "OK, the first button, lets the run go on";
  set(u"IGNOREERRORS", u"1");
  run_line(u"MOU"_code, u"a,5");
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);
  EXPECT_EQ(wintest::read_file(record), expected);
  ::DeleteFileW(record.c_str());
}

// ---------------------------------------------------------------------------------------
// The buttons.

TEST_F(MouseLockKeysTest, EachButtonCommandPressesAndReleasesAtThePointer) {
  struct Case {
    CommandCode code;
    std::vector<UINT> messages;
  };
  const Case cases[] = {
      {u"LCL"_code, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {u"RCL"_code, {WM_RBUTTONDOWN, WM_RBUTTONUP}},
      {u"MCL"_code, {WM_MBUTTONDOWN, WM_MBUTTONUP}},
      {u"LDB"_code, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {u"RDB"_code, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}},
      {u"MDB"_code, {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}},
      {u"LDO"_code, {WM_LBUTTONDOWN}},
      {u"LUP"_code, {WM_LBUTTONUP}},
      {u"RDO"_code, {WM_RBUTTONDOWN}},
      {u"RUP"_code, {WM_RBUTTONUP}},
      {u"MDO"_code, {WM_MBUTTONDOWN}},
      {u"MUP"_code, {WM_MBUTTONUP}},
  };
  const POINT origin = client_origin();
  int shift = 0;
  for (const Case& c : cases) {
    const POINT at{origin.x + 40 + shift, origin.y + 30 + shift};
    shift += 13;
    ::SetCursorPos(at.x, at.y);
    take_buttons();
    run_line(c.code, u"ignored,text");
    const std::vector<MouseMessage> seen = take_buttons();
    std::vector<UINT> messages;
    for (const MouseMessage& m : seen) {
      messages.push_back(m.message);
      EXPECT_EQ(m.at.x, at.x) << name_of(c.code);
      EXPECT_EQ(m.at.y, at.y) << name_of(c.code);
    }
    EXPECT_EQ(messages, c.messages) << name_of(c.code);
    EXPECT_EQ(cursor().x, at.x) << "a button command moves nothing";
  }
}

TEST_F(MouseLockKeysTest, DownMoveAndUpDragWithTheButtonHeld) {
  const POINT origin = client_origin();
  ::SetCursorPos(origin.x + 20, origin.y + 20);
  take_buttons();
  mouse_messages.clear();
  run_line(u"LDO"_code, u"");
  const std::u16string target = u"%tx%,%ty%";
  set(u"tx", win32::from_wide(std::to_wstring(origin.x + 200)));
  set(u"ty", win32::from_wide(std::to_wstring(origin.y + 150)));
  run_line(u"MOU"_code, target);
  run_line(u"LUP"_code, u"");
  ::mouse_event(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA, 0);
  ASSERT_TRUE(wait_until([&] { return !mouse_messages.empty() && mouse_messages.back().message == WM_MOUSEWHEEL; }));
  ASSERT_GE(mouse_messages.size(), 3u);
  EXPECT_EQ(mouse_messages.front().message, WM_LBUTTONDOWN);
  EXPECT_EQ(mouse_messages.front().at.x, origin.x + 20);
  bool dragged = false;
  for (const MouseMessage& m : mouse_messages) {
    dragged |= m.message == WM_MOUSEMOVE && m.flags == MK_LBUTTON && m.at.x == origin.x + 200 && m.at.y == origin.y + 150;
  }
  EXPECT_TRUE(dragged) << "no movement with the left button held at the target";
  const MouseMessage& up = mouse_messages[mouse_messages.size() - 2];
  EXPECT_EQ(up.message, WM_LBUTTONUP);
  EXPECT_EQ(up.at.x, origin.x + 200);
  EXPECT_EQ(up.at.y, origin.y + 150);
}

TEST_F(MouseLockKeysTest, MouseOverFindsADescendantByItsTrimmedTitleAndCentresThePointer) {
  const auto child = [](HWND parent, const wchar_t* class_name, const wchar_t* title, int x, int y, int w, int h) {
    return ::CreateWindowExW(0, class_name, title, WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
  };
  const HWND ok = child(window, L"BUTTON", L" \tOK\r\n", 10, 10, 81, 31);
  const HWND group = child(window, L"STATIC", L"Group", 150, 60, 300, 200);
  const HWND deep = child(group, L"BUTTON", L"Deep", 20, 30, 60, 25);
  const HWND first_same = child(window, L"BUTTON", L"Twice", 10, 300, 50, 20);
  child(window, L"BUTTON", L"Twice", 100, 300, 50, 20);
  ASSERT_TRUE(ok && group && deep && first_same);
  struct Case {
    std::u16string control;
    HWND expected;  // nullptr: nothing matches and the pointer stays
  };
  const Case cases[] = {{u"OK", ok},     {u"Deep", deep},  {u"Twice", first_same},
                        {u"ok", nullptr}, {u"O", nullptr}, {u"Missing", nullptr}};
  for (const Case& c : cases) {
    ::SetCursorPos(5, 5);
    const bool moved = move_over_control(window, c.control);
    EXPECT_EQ(moved, c.expected != nullptr) << wintest::narrow(win32::wide(c.control));
    POINT expected{5, 5};
    if (c.expected) {
      RECT frame{};
      ::GetWindowRect(c.expected, &frame);
      expected = {frame.left + (frame.right - frame.left) / 2, frame.top + (frame.bottom - frame.top) / 2};
    }
    EXPECT_EQ(cursor().x, expected.x) << wintest::narrow(win32::wide(c.control));
    EXPECT_EQ(cursor().y, expected.y) << wintest::narrow(win32::wide(c.control));
  }

  // The command finds the window by its title first (a wildcard title too); a window that
  // is not there leaves the pointer where it is.
  RECT frame{};
  ::GetWindowRect(deep, &frame);
  const POINT centre{frame.left + (frame.right - frame.left) / 2, frame.top + (frame.bottom - frame.top) / 2};
  const std::pair<std::u16string, POINT> commands[] = {
      {u"Mouse recorder,Deep", centre},
      {u"Mouse rec*,Deep", centre},
      {u"No such window,Deep", POINT{5, 5}},
      {u"Mouse recorder,Nothing", POINT{5, 5}},
  };
  for (const auto& [parameters, at] : commands) {
    ::SetCursorPos(5, 5);
    run_line(u"MVR"_code, parameters);
    EXPECT_EQ(cursor().x, at.x) << wintest::narrow(win32::wide(parameters));
    EXPECT_EQ(cursor().y, at.y) << wintest::narrow(win32::wide(parameters));
  }
}

// ---------------------------------------------------------------------------------------
// Reading the pointer and the caret.

TEST_F(MouseLockKeysTest, GetCursorPosReadsThePointer) {
  for (const POINT at : {POINT{123, 234}, POINT{0, 0}, POINT{1279, 1023}}) {
    ::SetCursorPos(at.x, at.y);
    run_line(u"GCP"_code, u"cx,cy");
    EXPECT_EQ(value(u"cx"), std::to_string(at.x));
    EXPECT_EQ(value(u"cy"), std::to_string(at.y));
  }
}

TEST_F(MouseLockKeysTest, GetCaretPosGivesTheCaretOnTheScreenOrInTheWindowOrNoCaret) {
  ASSERT_TRUE(::CreateCaret(window, nullptr, 2, 12));
  ASSERT_TRUE(::SetCaretPos(17, 23));
  const POINT origin = client_origin();
  RECT frame{};
  ::GetWindowRect(window, &frame);
  ASSERT_NE(origin.y, frame.top) << "the window needs a caption, so that client and window corners differ";
  set(u"one", u"1");
  struct Case {
    std::u16string parameters;
    bool relative;
  };
  const Case cases[] = {{u"cx,cy", false}, {u"cx,cy,0", false}, {u"cx,cy,yes", false},
                        {u"cx,cy,1", true}, {u"cx,cy,%one%", true}};
  for (const Case& c : cases) {
    run_line(u"GTP"_code, c.parameters);
    const POINT expected = c.relative ? POINT{origin.x + 17 - frame.left, origin.y + 23 - frame.top}
                                      : POINT{origin.x + 17, origin.y + 23};
    EXPECT_EQ(value(u"cx"), std::to_string(expected.x)) << wintest::narrow(win32::wide(c.parameters));
    EXPECT_EQ(value(u"cy"), std::to_string(expected.y)) << wintest::narrow(win32::wide(c.parameters));
  }
  ASSERT_TRUE(::DestroyCaret());
  run_line(u"GTP"_code, u"cx,cy,1");
  EXPECT_EQ(value(u"cx"), "NO_CARET");
  EXPECT_EQ(value(u"cy"), "NO_CARET");
}

TEST_F(MouseLockKeysTest, GetCaretPosReadsTheCaretOfAnotherThreadsForegroundWindow) {
  std::atomic<HWND> other = nullptr;
  std::atomic<bool> done = false;
  std::thread owner([&] {
    const HWND created = create_recorder(L"Caret owner", 250, 180);
    ::CreateCaret(created, nullptr, 2, 12);
    ::SetCaretPos(31, 9);
    other = created;
    MSG message;
    while (!done) {
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
      std::this_thread::sleep_for(5ms);
    }
    ::DestroyWindow(created);
  });
  ASSERT_TRUE(wait_until([&] { return other.load() != nullptr; }));
  const bool foreground = wintest::force_foreground(other);
  POINT origin{0, 0};
  ::ClientToScreen(other, &origin);
  if (foreground) {
    run_line(u"GTP"_code, u"cx,cy");
    EXPECT_EQ(value(u"cx"), std::to_string(origin.x + 31));
    EXPECT_EQ(value(u"cy"), std::to_string(origin.y + 9));
  }
  done = true;
  owner.join();
  ASSERT_TRUE(foreground);
}

// ---------------------------------------------------------------------------------------
// The lock keys.

// Brings a lock key into the wanted state with real key presses, as a person would.
bool set_lock(win32::Win32Platform& platform, BYTE key, bool on) {
  const auto state = [&] { return (::GetKeyState(key) & 1) != 0; };
  platform.process_messages();
  if (state() != on) {
    const DWORD extended = key == VK_NUMLOCK ? KEYEVENTF_EXTENDEDKEY : 0;
    ::keybd_event(key, 0, extended, 0);
    ::keybd_event(key, 0, extended | KEYEVENTF_KEYUP, 0);
  }
  return wait_until([&] { return state() == on; });
}

TEST_F(MouseLockKeysTest, LockKeysPressOnlyWhenTheStateMustChange) {
  KeyboardRecorder keys;
  ASSERT_TRUE(keys.installed());
  const KeyEvent caps_down{VK_CAPITAL, 0, false, false}, caps_up{VK_CAPITAL, 0, false, true};
  const KeyEvent scroll_down{VK_SCROLL, 0, false, false}, scroll_up{VK_SCROLL, 0, false, true};
  const KeyEvent num_down{VK_NUMLOCK, 0, true, false}, num_up{VK_NUMLOCK, 0, true, true}, nothing{0, 0, false, false};
  struct Case {
    CommandCode code;
    BYTE key;
    bool on_before;
    std::vector<KeyEvent> events;
    bool on_after;
  };
  const Case cases[] = {
      {u"CAP"_code, VK_CAPITAL, true, {}, true},
      {u"COF"_code, VK_CAPITAL, true, {caps_down, caps_up}, false},
      {u"COF"_code, VK_CAPITAL, false, {}, false},
      {u"CAP"_code, VK_CAPITAL, false, {caps_down, caps_up}, true},
      {u"SON"_code, VK_SCROLL, false, {scroll_down, scroll_up}, true},
      {u"SON"_code, VK_SCROLL, true, {}, true},
      {u"SOF"_code, VK_SCROLL, true, {scroll_down, scroll_up}, false},
      {u"NON"_code, VK_NUMLOCK, false, {num_down, num_up, nothing}, true},
      {u"NON"_code, VK_NUMLOCK, true, {}, true},
      {u"NOF"_code, VK_NUMLOCK, true, {num_down, num_up, nothing}, false},
      {u"NOF"_code, VK_NUMLOCK, false, {}, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(set_lock(platform, c.key, c.on_before)) << name_of(c.code);
    keys.take();
    run_line(c.code, u"");
    std::vector<KeyEvent> events = keys.take();
    // The scan codes are the system's to fill in; they are shown, not compared.
    std::vector<KeyEvent> shown = events;
    for (KeyEvent& e : events) e.scan_code = 0;
    EXPECT_EQ(events, c.events) << name_of(c.code) << (c.on_before ? " from on" : " from off") << ", seen "
                                << ::testing::PrintToString(shown);
    EXPECT_TRUE(wait_until([&] { return ((::GetKeyState(c.key) & 1) != 0) == c.on_after; }, 5s))
        << name_of(c.code) << (c.on_before ? " from on" : " from off");
  }
  ASSERT_TRUE(set_lock(platform, VK_CAPITAL, false));
  ASSERT_TRUE(set_lock(platform, VK_SCROLL, false));
}

TEST_F(MouseLockKeysTest, ALockKeyThatIsHeldDownIsLeftAlone) {
  KeyboardRecorder keys;
  ASSERT_TRUE(set_lock(platform, VK_CAPITAL, true));
  ::keybd_event(VK_CAPITAL, 0, 0, 0);  // down, toggling Caps Lock off, and held
  ASSERT_TRUE(wait_until([] { return (::GetKeyState(VK_CAPITAL) & 0x8000) != 0; }));
  keys.take();
  for (const CommandCode code : {u"CAP"_code, u"COF"_code}) {
    run_line(code, u"");
    EXPECT_TRUE(keys.take().empty()) << name_of(code);
  }
  ::keybd_event(VK_CAPITAL, 0, KEYEVENTF_KEYUP, 0);
  ASSERT_TRUE(wait_until([] { return (::GetKeyState(VK_CAPITAL) & 0x8000) == 0; }));
  ASSERT_TRUE(set_lock(platform, VK_CAPITAL, false));
}

// ---------------------------------------------------------------------------------------
// Waiting for a key.

// The timer that plays the person during a wait: on its first tick it presses a key, on
// its third it asks for a stop. The wait processes messages once per pass, so each pass
// sees at most one tick and the key is down for at least one check before the stop.
struct WaitPlay {
  BYTE key = 0;
  ProcessState* process = nullptr;
  int ticks = 0;
};
WaitPlay g_play;

void CALLBACK play_tick(HWND, UINT, UINT_PTR, DWORD) {
  ++g_play.ticks;
  if (g_play.ticks == 1 && g_play.key) ::keybd_event(g_play.key, 0, 0, 0);
  if (g_play.ticks == 3) g_play.process->stop_requested = true;
}

TEST_F(MouseLockKeysTest, WaitKeyDownEndsWhenItsKeyGoesDownOrOnAStop) {
  set(u"k", u"VK27");
  struct Case {
    std::u16string parameters;
    BYTE pressed;
    bool pressed_before;  // already down when the wait starts
    bool ends_by_key;
  };
  const Case cases[] = {
      {u"a", 'A', false, true},        {u"A", 'A', false, true},      {u"VK27", VK_ESCAPE, false, true},
      {u"vk13", VK_RETURN, false, true}, {u"%k%", VK_ESCAPE, false, true}, {u"q", 'Q', true, true},
      {u"b", 'A', false, false},       {u"VK27", VK_RETURN, false, false}, {u"xyz", 'X', false, false},
      {u"VK", 'A', false, false},
  };
  for (const Case& c : cases) {
    const std::string name = wintest::narrow(win32::wide(c.parameters));
    process.stop_requested = false;
    g_play = {c.pressed_before ? BYTE{0} : c.pressed, &process, 0};
    if (c.pressed_before) {
      ::keybd_event(c.pressed, 0, 0, 0);
      ASSERT_TRUE(wait_until([&] { return (::GetKeyState(c.pressed) & 0x8000) != 0; })) << name;
      g_play.ticks = 2;  // the next tick stops
    }
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, play_tick);
    ASSERT_NE(timer, 0u);
    run_line(u"WKD"_code, c.parameters);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(!process.stop_requested, c.ends_by_key) << name;
    if (c.ends_by_key && !c.pressed_before) {
      EXPECT_GE(g_play.ticks, 1) << name;
    }
    ::keybd_event(c.pressed, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(wait_until([&] { return (::GetKeyState(c.pressed) & 0x8000) == 0; })) << name;
  }
  process.stop_requested = false;
}

// ---------------------------------------------------------------------------------------
// Blocking input.

TEST_F(MouseLockKeysTest, BlockInputThenUnblockLeavesInputWorking) {
  const POINT origin = client_origin();
  ::SetCursorPos(origin.x + 60, origin.y + 60);
  take_buttons();
  run_line(u"BLO"_code, u"1");
  run_line(u"BLO"_code, u"0");
  run_line(u"LCL"_code, u"");
  const std::vector<MouseMessage> seen = take_buttons();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(seen[1].message, WM_LBUTTONUP);
}

}  // namespace
}  // namespace dorovev
