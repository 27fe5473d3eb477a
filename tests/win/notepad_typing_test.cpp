// The test harness drives real windows: it starts the system's notepad, makes it the
// foreground window and types into it with synthesized keystrokes, then reads the text back
// from notepad's edit control.
#include <gtest/gtest.h>

#include "win_test_support.h"

namespace dorovev::wintest {
namespace {

TEST(NotepadTyping, KeystrokesAndUnicodeInputReachTheForegroundEditControl) {
  ChildProcess notepad;
  ASSERT_TRUE(notepad.start(L"notepad.exe")) << notepad.error();

  const HWND main_window = wait_for_top_window(notepad.id(), L"Untitled - Notepad");
  ASSERT_NE(main_window, nullptr) << "no \"Untitled - Notepad\" window of process " << notepad.id();
  const HWND edit = find_child_window(main_window, L"Edit");
  ASSERT_NE(edit, nullptr) << "notepad's window has no Edit control";
  EXPECT_EQ(window_text(edit), L"") << "a new notepad starts empty";

  ASSERT_TRUE(force_foreground(main_window)) << "notepad did not become the foreground window";
  // Capitals need Shift held: type_keys presses it as VkKeyScanW says.
  ASSERT_TRUE(type_keys(L"Hello World"));
  // No key of a US layout gives U+00E9; a Unicode packet carries it as it is.
  ASSERT_TRUE(type_unicode(L"\u00e9")) << error_text(::GetLastError());

  const std::wstring expected = L"Hello World\u00e9";
  std::wstring seen;
  const bool arrived = wait_until([&] {
    seen = window_text(edit);
    return seen == expected;
  });
  EXPECT_TRUE(arrived) << "the edit control holds \"" << narrow(seen) << "\", expected \"" << narrow(expected)
                       << "\"";

  EXPECT_TRUE(notepad.terminate()) << "notepad did not end after TerminateProcess";
  EXPECT_FALSE(notepad.running());
}

}  // namespace
}  // namespace dorovev::wintest
