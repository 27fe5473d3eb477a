// Window lookup benchmarks under Wine64 (wall clock and process times, so figures to
// read, never a pass or fail). With 200 top-level windows of this program, each with
// five descendants, it times one wildcard lookup that matches nothing (the full walk)
// against a bare EnumWindows/EnumChildWindows walk of our own that reads and compares the
// same titles, and measures the processor time that WaitWindowOpen> takes per second of
// waiting for such a window. The windows belong to this program, so reading a title sends
// it a message that this thread answers at once; that dominates both walks alike.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/wall_clock.h"
#include "commands/windows/window_commands.h"
#include "commands/windows/window_lookup.h"
#include "commands/windows/window_rules.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/win32_platform.h"

using namespace dorovev;
using namespace dorovev::codes;

namespace {

constexpr int kTopLevel = 200;
constexpr std::u16string_view kStem = u"No Window Has This";

void make_windows() {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = ::DefWindowProcW;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"DorovevBenchWindow";
  ::RegisterClassW(&window_class);
  for (int i = 0; i < kTopLevel; ++i) {
    const std::wstring title = L"Bench window " + std::to_wstring(i);
    const HWND top = ::CreateWindowW(L"DorovevBenchWindow", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 150, nullptr, nullptr, window_class.hInstance, nullptr);
    HWND parent = top;
    for (int j = 0; j < 5; ++j) {
      const std::wstring text = L"Child " + std::to_wstring(j) + L" of " + title;
      // Two chains of descendants: children of the window and a child of a child.
      const HWND child = ::CreateWindowW(L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 0, j * 20, 150, 20,
                                         j == 3 ? parent : top, nullptr, window_class.hInstance, nullptr);
      if (j == 2) parent = child;
    }
  }
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

// The yardstick: every title read and compared, straight from the enumeration callbacks.
struct Walk {
  int titles = 0;
  bool found = false;
};

BOOL CALLBACK look_at(HWND window, LPARAM context) {
  auto& walk = *reinterpret_cast<Walk*>(context);
  wchar_t buffer[windows::kTitleBuffer];
  const int length = ::GetWindowTextW(window, buffer, static_cast<int>(windows::kTitleBuffer));
  if (length > 0) {
    ++walk.titles;
    const std::u16string_view title(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(length));
    walk.found = walk.found || windows::title_contains(title, kStem);
  }
  return TRUE;
}

BOOL CALLBACK look_at_top(HWND window, LPARAM context) {
  look_at(window, context);
  ::EnumChildWindows(window, look_at, context);
  return TRUE;
}

Walk bare_walk() {
  Walk walk;
  ::EnumWindows(look_at_top, reinterpret_cast<LPARAM>(&walk));
  return walk;
}

double process_seconds() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

// Processor seconds per second of a WaitWindowOpen> that times out after `seconds`.
double wait_cost(RunContext& run, const CommandTable& table, std::u16string_view title, double seconds) {
  const std::string text = std::to_string(seconds);
  AssignVariable(run.variables, u"WW_TIMEOUT", std::u16string(text.begin(), text.end()));
  const double processor = process_seconds();
  const auto start = std::chrono::steady_clock::now();
  dispatch(run, table, u"WWO"_code, title);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return (process_seconds() - processor) / wall;
}

}  // namespace

int main() {
  make_windows();
  win32::Win32Platform platform;
  ProcessState process;
  CommandTable table;
  register_window_commands(table);
  RunContext run(platform, process);
  run.variables.create_fixed_slots();
  AssignVariable(run.variables, u"WF_TYPE", u"1");
  const std::u16string pattern = std::u16string(kStem) + u"*";

  const Walk walk = bare_walk();
  const double bare = bench::mean_milliseconds(50, [] { bare_walk(); });
  const double lookup = bench::mean_milliseconds(50, [&] { windows::find_window_title(pattern, 1); });
  std::printf("wildcard lookup over %d titled windows (%d top-level, children included): %.3f ms, bare "
              "EnumWindows/EnumChildWindows walk %.3f ms, ratio %.2f\n",
              walk.titles, kTopLevel, lookup, bare, lookup / bare);

  const double wildcard_wait = wait_cost(run, table, pattern, 2);
  const double exact_wait = wait_cost(run, table, kStem, 2);
  std::printf("WaitWindowOpen> processor time per second of waiting (WW_TIMEOUT=2): wildcard %.3f s, exact %.3f s\n",
              wildcard_wait, exact_wait);
  return 0;
}
