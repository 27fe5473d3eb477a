// A runtime-error report of a real run of dorovev.exe, answered from this process as a
// person would answer it: find the dialog, read it, click one of its buttons. OK lets the
// run go on; Abort stops it before its next line.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "win_test_support.h"

namespace dorovev {
namespace {

using wintest::ChildProcess;
using wintest::temp_file;
using wintest::wait_until;
using wintest::windows_path;
using wintest::write_file;

// The runtime as CTest names it: a Unix path when the tests run under Wine.
std::wstring runtime_path;

// The script: line 1 fails, line 2 ends the run with exit code 5.
std::wstring write_script() {
  const std::wstring path = temp_file(L"dorovev_error_dialog_test.scp");
  write_file(path, "ChangeDirectory>C:\\no\\such\\folder\r\nExit>5\r\n");
  return path;
}

struct ButtonSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK match_button(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ButtonSearch*>(data);
  wchar_t class_name[32] = {};
  ::GetClassNameW(child, class_name, 32);
  if (std::wstring(class_name) == L"Button" && wintest::window_text(child) == search->text) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

HWND find_button(HWND dialog, const wchar_t* text) {
  ButtonSearch search{text, nullptr};
  ::EnumChildWindows(dialog, match_button, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Outcome {
  std::wstring message;
  DWORD exit_code = 0;
  bool answered = false;
};

Outcome run_and_click(const wchar_t* button) {
  Outcome outcome;
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);  // the dialog is shown for real
  ChildProcess runtime;
  if (!runtime.start(L"\"" + windows_path(runtime_path) + L"\" -RUN \"" + write_script() + L"\"")) {
    ADD_FAILURE() << runtime.error();
    return outcome;
  }
  const HWND dialog = wintest::wait_for_top_window(runtime.id(), L"Dorovev");
  if (!dialog) {
    ADD_FAILURE() << "no dialog appeared";
    return outcome;
  }
  if (const HWND text = ::GetDlgItem(dialog, 0xFFFF)) outcome.message = wintest::window_text(text);
  const HWND target = find_button(dialog, button);
  if (!target) {
    ADD_FAILURE() << "no button " << wintest::narrow(button);
    return outcome;
  }
  ::PostMessageW(target, BM_CLICK, 0, 0);
  outcome.answered = wait_until([&] { return !runtime.running(); });
  ::GetExitCodeProcess(runtime.handle(), &outcome.exit_code);
  return outcome;
}

TEST(RuntimeErrorDialog, OkGoesOnAndAbortStops) {
  struct Case {
    const wchar_t* button;
    DWORD exit_code;
  };
  const Case cases[] = {{L"OK", 5}, {L"Abort", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(wintest::narrow(c.button));
    const Outcome outcome = run_and_click(c.button);
    EXPECT_EQ(outcome.message, L"Line: 1 Directory C:\\no\\such\\folder Does Not Exist.");
    EXPECT_TRUE(outcome.answered);
    EXPECT_EQ(outcome.exit_code, c.exit_code);
  }
}

}  // namespace
}  // namespace dorovev

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: runtime_error_dialog_test <dorovev.exe>\n");
    return 2;
  }
  const std::string path = argv[1];
  dorovev::runtime_path.assign(path.begin(), path.end());
  return RUN_ALL_TESTS();
}
