// The message dialog of runtime errors, shown for real and answered from another thread
// as a person would answer it: by its buttons.
#include <gtest/gtest.h>

#include <windows.h>

#include <future>
#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "win_test_support.h"

namespace dorovev {
namespace {

using wintest::wait_until;

// The dialog box of this process titled "Dorovev", once it is shown.
HWND wait_for_dialog() {
  HWND found = nullptr;
  wait_until([&] {
    found = ::FindWindowW(L"#32770", L"Dorovev");
    return found != nullptr && ::IsWindowVisible(found);
  });
  return found;
}

std::wstring button_text(HWND dialog, int id) {
  wchar_t text[64] = {};
  ::GetDlgItemTextW(dialog, id, text, 64);
  return text;
}

struct Answer {
  std::wstring ok_text;
  std::wstring abort_text;
  std::wstring message;
};

// Shows the dialog on this thread; another thread reads it and clicks `button`.
MessageButton show_and_click(MessageButtons buttons, int button, Answer& seen) {
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);
  auto clicker = std::async(std::launch::async, [&] {
    const HWND dialog = wait_for_dialog();
    if (!dialog) return;
    seen.ok_text = button_text(dialog, IDOK);
    seen.abort_text = button_text(dialog, buttons == MessageButtons::kOkAbort ? IDCANCEL : IDABORT);
    seen.message = button_text(dialog, 0xFFFF);  // the static text of a message box
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  });
  win32::Win32Platform platform;
  const MessageButton chosen = platform.show_message_dialog(u"Line: 7 Directory C:\\nowhere Does Not Exist.",
                                                            MessageKind::kWarning, buttons);
  clicker.wait();
  return chosen;
}

TEST(MessageDialog, OkAndAbortAreTheButtonsAndEachIsReported) {
  Answer seen;
  EXPECT_EQ(show_and_click(MessageButtons::kOkAbort, IDOK, seen), MessageButton::kOk);
  EXPECT_EQ(seen.ok_text, L"OK");
  EXPECT_EQ(seen.abort_text, L"Abort");
  EXPECT_EQ(seen.message, L"Line: 7 Directory C:\\nowhere Does Not Exist.");

  Answer again;
  EXPECT_EQ(show_and_click(MessageButtons::kOkAbort, IDCANCEL, again), MessageButton::kAbort);
  EXPECT_EQ(again.abort_text, L"Abort");
}

TEST(MessageDialog, UnattendedRunsWriteTheDialogAndTakeTheFirstButton) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring file = std::wstring(folder) + L"dorovev-dialogs-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
  ::DeleteFileW(file.c_str());
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", file.c_str());
  win32::Win32Platform platform;
  EXPECT_EQ(platform.show_message_dialog(u"two\r\nlines", MessageKind::kError, MessageButtons::kOk), MessageButton::kOk);
  EXPECT_EQ(platform.show_message_dialog(u"gone", MessageKind::kWarning, MessageButtons::kAbortIgnore),
            MessageButton::kAbort);
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);
  const std::optional<std::string> written = platform.read_file(win32::from_wide(file));
  ::DeleteFileW(file.c_str());
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, "error\tOK\ttwo\\nlines\nwarning\tAbort Ignore\tgone\n");
}

}  // namespace
}  // namespace dorovev
