// The host's main window and services, in this process: the stop key, the idle counters
// and their hook, ICO, starting programs and temporary names.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "host/host_commands.h"
#include "host/host_services.h"
#include "host/main_form.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "win_test_support.h"

namespace dorovev {
namespace {

using namespace codes;

void pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

class HostTest : public ::testing::Test {
 protected:
  win32::Win32Platform platform;
  ProcessState process;
  host::MainFormOptions options{.no_tray = true};  // no tray: the tests need none
  host::MainForm form{::GetModuleHandleW(nullptr), process, platform, options};
};

TEST_F(HostTest, TheHiddenWindowCarriesItsClassAndCaption) {
  ASSERT_NE(form.window(), nullptr);
  EXPECT_EQ(::FindWindowW(L"TfrmDivoruvo", L"Shift+Esc To Stop"), form.window());
  EXPECT_FALSE(::IsWindowVisible(form.window()));
  EXPECT_EQ(host::MainForm::current_form(), &form);
}

TEST_F(HostTest, TheStopKeyMessageStopsTheRun) {
  EXPECT_TRUE(process.stop_requested) << "stopped until a run starts";
  process.stop_requested = false;  // as a run does when it begins
  const ATOM key = ::FindAtomW(L"PauseKey");
  ASSERT_NE(key, 0);
  ::PostMessageW(form.window(), WM_HOTKEY, key + 1, 0);  // another hotkey does nothing
  pump();
  EXPECT_FALSE(process.stop_requested);
  ::PostMessageW(form.window(), WM_HOTKEY, key, 0);
  platform.process_messages();
  EXPECT_TRUE(process.stop_requested);
}

TEST_F(HostTest, TheIdleCountersCountSecondsAndInputResetsThem) {
  // The timer's ticks, sent directly so that no second has to pass.
  const auto tick = [&] { ::SendMessageW(form.window(), WM_TIMER, 1, 0); };
  tick();
  tick();
  EXPECT_EQ(platform.idle_counters().input_quiet, 2);
  EXPECT_EQ(platform.idle_counters().paint_quiet, 2);
  ::PostMessageW(form.window(), WM_PAINT, 0, 0);
  pump();
  EXPECT_EQ(platform.idle_counters().input_quiet, 2);
  EXPECT_EQ(platform.idle_counters().paint_quiet, 0);
  tick();
  ::PostMessageW(form.window(), WM_KEYDOWN, 'A', 0);
  pump();
  EXPECT_EQ(platform.idle_counters().input_quiet, 0);
  EXPECT_EQ(platform.idle_counters().paint_quiet, 0);
}

TEST_F(HostTest, IcoTakesAnIconByIndexAndNoneWhenThereIsNone) {
  CommandTable table;
  host::register_host_commands(table);
  RunContext run(platform, process);
  run.variables.create_fixed_slots();
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::u16string library = win32::from_wide(system, ::wcslen(system)) + u"\\shell32.dll";
  const auto icon = [&] {
    return reinterpret_cast<HICON>(::SendMessageW(form.window(), WM_GETICON, ICON_BIG, 0));
  };
  dispatch(run, table, u"ICO"_code, library + u",3");
  EXPECT_NE(icon(), nullptr);
  dispatch(run, table, u"ICO"_code, library + u",99999");
  EXPECT_EQ(icon(), nullptr);
  dispatch(run, table, u"ICO"_code, u"C:\\no\\such.ico,0");
  EXPECT_EQ(icon(), nullptr);
}

TEST(MainForm, TheTrayAlternatesItsPicturesWhileARunIsActive) {
  // Tray on and off; no stop key, so that the two forms made here do not compete for it.
  for (const bool no_tray : {false, true}) {
    win32::Win32Platform platform;
    ProcessState process;
    host::MainForm form{::GetModuleHandleW(nullptr), process, platform, {.no_tray = no_tray, .no_stop_key = true}};
    const auto tick = [&] { ::SendMessageW(form.window(), WM_TIMER, 1, 0); };
    tick();
    EXPECT_FALSE(form.shows_second_picture());  // no run yet
    platform.set_run_indicator(true);
    std::vector<bool> seen;
    for (int i = 0; i < 4; ++i) {
      tick();
      seen.push_back(form.shows_second_picture());
    }
    EXPECT_EQ(seen, no_tray ? std::vector<bool>(4, false) : (std::vector<bool>{true, false, true, false}));
    tick();
    platform.set_run_indicator(false);
    tick();
    EXPECT_FALSE(form.shows_second_picture()) << "the first picture comes back when the run ends";
  }
}

TEST(MainForm, TheMacrosOwnHideSwitchHidesTheWindowOnEveryActivation) {
  for (const bool hide_on_activation : {true, false}) {
    win32::Win32Platform platform;
    ProcessState process;
    const host::MainFormOptions options{.no_tray = true, .no_stop_key = true, .hide_on_activation = hide_on_activation};
    host::MainForm form{::GetModuleHandleW(nullptr), process, platform, options};
    for (int activation = 0; activation < 2; ++activation) {
      ::ShowWindow(form.window(), SW_SHOWNA);
      ::SendMessageW(form.window(), WM_ACTIVATEAPP, TRUE, 0);
      EXPECT_EQ(::IsWindowVisible(form.window()) == FALSE, hide_on_activation);
    }
    ::ShowWindow(form.window(), SW_HIDE);
  }
}

TEST(HostServices, ProgramsRunAndGiveTheirExitCode) {
  EXPECT_EQ(host::run_program(u"cmd.exe /c exit 7", SW_HIDE, true), 7);
  EXPECT_EQ(host::run_program(u"C:\\no\\such\\program.exe", SW_HIDE, true), -1);
  const int not_waited = host::run_program(u"cmd.exe /c ping -n 3 127.0.0.1 >NUL", SW_HIDE, false);
  EXPECT_EQ(not_waited, 259);  // still active
}

TEST(HostServices, TemporaryNamesLieInTheTemporaryFolder) {
  const host::TemporaryNames folder_only = host::temporary_names(false);
  ASSERT_FALSE(folder_only.directory.empty());
  EXPECT_EQ(folder_only.directory.back(), u'\\');
  EXPECT_TRUE(folder_only.file.empty());
  const host::TemporaryNames with_file = host::temporary_names(true);
  // The system takes the first three letters of the prefix "plrt".
  EXPECT_TRUE(with_file.file.starts_with(with_file.directory + u"plr"))
      << wintest::narrow(win32::wide(with_file.file)) << " in " << wintest::narrow(win32::wide(with_file.directory));
  EXPECT_NE(::GetFileAttributesW(win32::wide(with_file.file).c_str()), INVALID_FILE_ATTRIBUTES);
  ::DeleteFileW(win32::wide(with_file.file).c_str());
  EXPECT_FALSE(host::program_directory().empty());
}

}  // namespace
}  // namespace dorovev
