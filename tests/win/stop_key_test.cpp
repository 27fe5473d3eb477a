// Shift+Esc stops a running macro at once: dorovev.exe runs a script that waits ten
// seconds and would then exit with code 3; the test presses Shift+Esc during the wait. A
// stopped run exits with code 0 and still writes the finishing line of its log.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "win_test_support.h"

namespace dorovev {
namespace {

using wintest::ChildProcess;
using wintest::read_file;
using wintest::temp_file;
using wintest::wait_until;
using wintest::windows_path;
using wintest::write_file;

std::wstring runtime_path;

struct WindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK match_main_window(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (process == search->process && std::wstring(name) == L"TfrmDivoruvo") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The hidden main window of a process.
HWND main_window(DWORD process) {
  WindowSearch search{process, nullptr};
  ::EnumWindows(match_main_window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void press_shift_escape() {
  INPUT keys[4] = {};
  const WORD codes[4] = {VK_SHIFT, VK_ESCAPE, VK_ESCAPE, VK_SHIFT};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = codes[i];
    keys[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyW(codes[i], MAPVK_VK_TO_VSC));
    keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  ::SendInput(4, keys, sizeof(INPUT));
}

struct Outcome {
  DWORD exit_code = 259;
  std::string log;
};

Outcome run_and_stop() {
  const std::wstring script = temp_file(L"dorovev_stop_key_test.scp");
  const std::wstring log = temp_file(L"dorovev_stop_key_test.log");
  ::DeleteFileW(log.c_str());
  write_file(script, "Wait>10\r\nExit>3\r\n");
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);
  ChildProcess runtime;
  Outcome outcome;
  if (!runtime.start(L"\"" + windows_path(runtime_path) + L"\" -RUN \"" + script + L"\" /LOGFILE=" + log)) {
    ADD_FAILURE() << runtime.error();
    return outcome;
  }
  if (!wait_until([&] { return main_window(runtime.id()) != nullptr; })) {
    ADD_FAILURE() << "the main window never appeared";
    return outcome;
  }
  // The log shows the wait has begun once its line has been started.
  wait_until([&] { return read_file(log).find("START: Wait>10") != std::string::npos; });
  press_shift_escape();
  wait_until([&] { return !runtime.running(); }, std::chrono::seconds(30));
  ::GetExitCodeProcess(runtime.handle(), &outcome.exit_code);
  outcome.log = read_file(log);
  return outcome;
}

TEST(StopKey, ShiftEscapeEndsTheWaitAndTheRunWhoseFinishingStepsStillRun) {
  const Outcome outcome = run_and_stop();
  EXPECT_EQ(outcome.exit_code, 0u);  // Exit>3 was never reached
  EXPECT_NE(outcome.log.find("Finished Macro"), std::string::npos) << outcome.log;
}

}  // namespace
}  // namespace dorovev

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: stop_key_test <dorovev.exe>\n");
    return 2;
  }
  const std::string path = argv[1];
  dorovev::runtime_path.assign(path.begin(), path.end());
  return RUN_ALL_TESTS();
}
