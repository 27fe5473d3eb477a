// The program, environment, clipboard, sound and shutdown commands, driven through the
// dispatcher on a run with the real platform: real processes (two programs of the test
// suite and the system's cmd.exe), the real environment and clipboard. Shutting down is
// the one thing done through a recording fake.
//
// Usage: system_commands_test EXIT_CODE_PROGRAM INPUT_WAITING_PROGRAM
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "commands/system/elevated_command_line.h"
#include "commands/system/shutdown.h"
#include "commands/system/system_commands.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "win_test_support.h"

namespace dorovev {
namespace {

using namespace codes;
using win32::from_wide;
using win32::wide;
using wintest::narrow;
using wintest::temp_file;
using wintest::windows_path;

std::u16string exit_code_program;
std::u16string input_waiting_program;

std::u16string u16(const std::wstring& text) { return from_wide(text); }
std::string utf8(std::u16string_view text) { return narrow(wide(text)); }

// A named event that the exit-code program waits for; set when the test is done with it,
// so no program outlives its test.
class ReleaseEvent {
 public:
  explicit ReleaseEvent(const wchar_t* name) : name_(name), event_(::CreateEventW(nullptr, TRUE, FALSE, name)) {}
  ~ReleaseEvent() { release(); }
  void release() { ::SetEvent(event_.get()); }
  std::u16string name() const { return u16(name_); }
  HANDLE handle() const { return event_.get(); }

 private:
  std::wstring name_;
  win32::UniqueHandle event_;
};

// What the exit-code program wrote about itself: its command line, its show state and
// the DOROVEV_INHERITED it saw, its process id.
struct ChildReport {
  std::u16string command_line;
  std::u16string show;
  std::u16string inherited;
  DWORD process_id = 0;
};

class SystemCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    register_program_commands(table);
    run.variables.create_fixed_slots();
    run.variables.set_line_number(12);
    ::DeleteFileW(dialogs_file.c_str());
    ::DeleteFileW(report_file.c_str());
    ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", dialogs_file.c_str());
    ::SetEnvironmentVariableW(L"DOROVEV_CHILD_REPORT", report_file.c_str());
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);
    ::SetEnvironmentVariableW(L"DOROVEV_CHILD_REPORT", nullptr);
    ::DeleteFileW(dialogs_file.c_str());
    ::DeleteFileW(report_file.c_str());
  }

  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(run.variables, name, value); }
  std::u16string value(std::u16string_view name) {
    return run.resolve(u"%" + std::u16string(name) + u"%").str();
  }
  void command(CommandCode code, std::u16string_view parameters) { dispatch(run, table, code, parameters); }
  // The reports shown, one line each ("kind<TAB>buttons<TAB>text").
  std::string dialogs() { return wintest::read_file(dialogs_file); }

  // The report of the exit-code program, waited for: a program started without waiting
  // writes it when it gets to it. The report is taken away once read.
  std::optional<ChildReport> child_report() {
    std::vector<std::u16string> lines;
    const auto read = [&] {
      const std::string bytes = wintest::read_file(report_file);
      std::u16string text(bytes.size() / 2, u'\0');
      std::memcpy(text.data(), bytes.data(), text.size() * 2);
      lines.clear();
      for (std::size_t start = 0, end; (end = text.find(u'\n', start)) != std::u16string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
      }
      return lines.size() == 4;
    };
    if (!wintest::wait_until(read)) return std::nullopt;
    wintest::wait_until([&] { return ::DeleteFileW(report_file.c_str()) != FALSE; });
    return ChildReport{lines[0], lines[1], lines[2], static_cast<DWORD>(std::stoul(utf8(lines[3])))};
  }

  std::u16string quoted_exit_code_program() const { return u"\"" + exit_code_program + u"\""; }

  const std::wstring dialogs_file = temp_file(L"dorovev_system_dialogs_" + std::to_wstring(::GetCurrentProcessId()));
  const std::wstring report_file = temp_file(L"dorovev_system_child_" + std::to_wstring(::GetCurrentProcessId()));
  win32::Win32Platform platform;
  ProcessState process;
  RunContext run{platform, process};
  CommandTable table;
};

// ---- RUN ----

TEST_F(SystemCommandsTest, RunGivesTheExitCodeWhenWaitedAndStillActiveOtherwise) {
  ReleaseEvent held(L"DorovevSystemTestHeld");
  struct Case {
    const char16_t* wait;  // nullptr: never set
    std::u16string command_line;
    const char16_t* result;
  };
  const Case cases[] = {
      {u"1", quoted_exit_code_program() + u" 3", u"3"},
      {u"1", u"cmd.exe /c exit 7", u"7"},
      // Not waited for, the program waits for the event, so it surely still runs.
      {nullptr, quoted_exit_code_program() + u" 0 " + held.name(), u"259"},
      {u"0", quoted_exit_code_program() + u" 0 " + held.name(), u"259"},
      {u"yes", quoted_exit_code_program() + u" 0 " + held.name(), u"259"},
      // A console program never waits for input: the wait for that ends at once.
      {u"2", quoted_exit_code_program() + u" 0 " + held.name(), u"259"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.command_line) + " with RP_WAIT " + (c.wait ? utf8(c.wait) : "not set"));
    RunContext fresh(platform, process);
    fresh.variables.create_fixed_slots();
    if (c.wait) AssignVariable(fresh.variables, u"RP_WAIT", c.wait);
    dispatch(fresh, table, u"RUN"_code, c.command_line);
    EXPECT_EQ(utf8(fresh.resolve(u"%RP_RESULT%").view()), utf8(c.result));
    EXPECT_FALSE(process.stop_requested);
  }
  EXPECT_EQ(dialogs(), "");
}

TEST_F(SystemCommandsTest, AStartThatFailsIsReportedAndStopsUnlessDisplayErrorIsZero) {
  struct Case {
    std::u16string command_line;
    const char16_t* wait;
    const char16_t* display_error;
    const char16_t* ignore_errors;
    std::string report;  // empty: none
    bool stops;
  };
  const std::string missing_report = "warning\tOK Abort\tLine: 12 Error Executing C:\\no\\such\\program.exe (-1)\n";
  const Case cases[] = {
      {u"C:\\no\\such\\program.exe", nullptr, nullptr, nullptr, missing_report, true},
      {u"C:\\no\\such\\program.exe", u"1", nullptr, nullptr, missing_report, true},
      {u"C:\\no\\such\\program.exe", u"2", u"1", nullptr, missing_report, true},
      {u"", nullptr, nullptr, nullptr, "warning\tOK Abort\tLine: 12 Error Executing  (-1)\n", true},
      // Silenced reports still stop the macro; only RP_DISPLAYERROR=0 lets it go on.
      {u"C:\\no\\such\\program.exe", nullptr, nullptr, u"1", "", true},
      {u"C:\\no\\such\\program.exe", nullptr, u"0", nullptr, "", false},
      {u"C:\\no\\such\\program.exe", u"1", u"0", u"1", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.command_line) + " display error " + (c.display_error ? utf8(c.display_error) : "-") +
                 " ignore errors " + (c.ignore_errors ? utf8(c.ignore_errors) : "-"));
    ::DeleteFileW(dialogs_file.c_str());
    process.stop_requested = false;
    RunContext fresh(platform, process);
    fresh.variables.create_fixed_slots();
    fresh.variables.set_line_number(12);
    if (c.wait) AssignVariable(fresh.variables, u"RP_WAIT", c.wait);
    if (c.display_error) AssignVariable(fresh.variables, u"RP_DISPLAYERROR", c.display_error);
    if (c.ignore_errors) AssignVariable(fresh.variables, u"IGNOREERRORS", c.ignore_errors);
    dispatch(fresh, table, u"RUN"_code, c.command_line);
    EXPECT_EQ(dialogs(), c.report);
    EXPECT_EQ(process.stop_requested, c.stops);
    EXPECT_EQ(utf8(fresh.resolve(u"%RP_RESULT%").view()), "-1");
  }
}

TEST_F(SystemCommandsTest, AProgramThatEndedBeforeItWasLookedAtIsNoFailure) {
  // Without its marker argument the window program ends at once with code 2, before it
  // ever waits for input: the wait for input ends with it, and its code is the result,
  // not a failed start.
  set(u"RP_WAIT", u"2");
  command(u"RUN"_code, u"\"" + input_waiting_program + u"\"");
  EXPECT_EQ(value(u"RP_RESULT"), u"2");
  EXPECT_EQ(dialogs(), "");
  EXPECT_FALSE(process.stop_requested);
}

TEST_F(SystemCommandsTest, TheWindowModeIsTheShowStateOfTheStartedProgram) {
  set(u"RP_WAIT", u"1");
  struct Case {
    const char16_t* mode;  // nullptr: never set
    const char* show;
  };
  const Case cases[] = {{nullptr, "1"}, {u"0", "0"}, {u"1", "1"}, {u"2", "2"},
                        {u"3", "3"},    {u"x", "1"}, {u"7", "1"}, {u"-1", "1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode ? utf8(c.mode) : "not set");
    if (c.mode) set(u"RP_WINDOWMODE", c.mode);
    command(u"RUN"_code, quoted_exit_code_program() + u" 0");
    const std::optional<ChildReport> report = child_report();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(utf8(report->show), c.show);
  }
}

// The thread timer of the test: the first tick asks the run to stop, the second lets the
// started program end.
std::atomic<int> timer_ticks = 0;
ProcessState* timer_process = nullptr;
HANDLE timer_release = nullptr;

void CALLBACK stop_then_release(HWND, UINT, UINT_PTR, DWORD) {
  const int tick = ++timer_ticks;
  if (tick == 1) timer_process->stop_requested = true;
  if (tick == 2) ::SetEvent(timer_release);
}

TEST_F(SystemCommandsTest, TheWaitForTheEndHandlesTimersAndIgnoresTheStopRequest) {
  ReleaseEvent release(L"DorovevSystemTestTimer");
  timer_ticks = 0;
  timer_process = &process;
  timer_release = release.handle();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, stop_then_release);
  set(u"RP_WAIT", u"1");
  // The program ends only when the timer's second tick sets the event: the wait must
  // dispatch timer messages, and must not end at the first tick's stop request.
  command(u"RUN"_code, quoted_exit_code_program() + u" 5 " + release.name());
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(value(u"RP_RESULT"), u"5");
  EXPECT_GE(timer_ticks.load(), 2);
  EXPECT_TRUE(process.stop_requested);
  EXPECT_EQ(dialogs(), "");
}

TEST_F(SystemCommandsTest, WaitModeTwoReturnsOnceTheProgramWaitsForInput) {
  const std::wstring marker = temp_file(L"dorovev_system_input_idle_" + std::to_wstring(::GetCurrentProcessId()));
  ::DeleteFileW(marker.c_str());
  set(u"RP_WAIT", u"2");
  // The program makes the marker a second after it starts, just before it waits for
  // messages: a start that does not wait for that finds no marker.
  command(u"RUN"_code, u"\"" + input_waiting_program + u"\" \"" + u16(marker) + u"\"");
  const bool marker_made = ::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
  EXPECT_TRUE(marker_made);
  EXPECT_EQ(value(u"RP_RESULT"), u"259");
  EXPECT_EQ(dialogs(), "");
  // Deleting the marker ends the program.
  const auto marker_exists = [&] { return ::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; };
  if (!marker_made) wintest::wait_until(marker_exists);
  ::DeleteFileW(marker.c_str());
}

TEST_F(SystemCommandsTest, AnElevatedStartSetsNoResultAndItsWaitEndsOnAStopRequest) {
  ReleaseEvent held(L"DorovevSystemTestElevated");
  set(u"RP_ADMIN", u"1");
  set(u"RP_WAIT", u"1");
  set(u"RP_RESULT", u"before");
  timer_ticks = 0;
  timer_process = &process;
  timer_release = nullptr;  // the second tick releases nothing: only the stop ends the wait
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, stop_then_release);
  command(u"RUN"_code, quoted_exit_code_program() + u" 4 " + held.name());
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(process.stop_requested);
  EXPECT_EQ(value(u"RP_RESULT"), u"before");
  const std::optional<ChildReport> report = child_report();
  ASSERT_TRUE(report.has_value()) << "the program was started";
  EXPECT_TRUE(report->command_line.ends_with(u" 4 " + held.name())) << utf8(report->command_line);
  // The wait ended on the stop request, not because the program had ended.
  const win32::UniqueHandle child(::OpenProcess(SYNCHRONIZE, FALSE, report->process_id));
  ASSERT_TRUE(child);
  EXPECT_EQ(::WaitForSingleObject(child.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  // A program that cannot be found fails silently.
  process.stop_requested = false;
  command(u"RUN"_code, u"C:\\no\\such\\program.exe -x");
  EXPECT_EQ(value(u"RP_RESULT"), u"before");
  EXPECT_EQ(dialogs(), "");
  EXPECT_FALSE(process.stop_requested);
}

TEST(ElevatedCommandLine, TheProgramIsCutFromItsParameters) {
  const auto is_file = [](std::u16string_view path) { return path == u"C:\\Program Files\\tool.exe"; };
  struct Case {
    std::u16string_view command_line;
    std::u16string_view program;
    std::u16string_view parameters;
  };
  const Case cases[] = {
      {u"\"C:\\Program Files\\a.exe\" -x \"y z\"", u"\"C:\\Program Files\\a.exe\"", u" -x \"y z\""},
      {u"\"C:\\unclosed a.exe -x", u"\"C:\\unclosed a.exe -x", u""},
      {u"\"\"", u"\"\"", u""},
      {u"\"", u"\"", u""},
      {u"C:\\Program Files\\tool.exe", u"C:\\Program Files\\tool.exe", u""},
      {u"C:\\Program Files\\other.exe -v", u"C:\\Program", u"Files\\other.exe -v"},
      {u"notepad.exe a b", u"notepad.exe", u"a b"},
      {u"notepad.exe", u"notepad.exe", u""},
      {u" lead", u"", u"lead"},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.command_line));
    const ProgramAndParameters split = split_elevated_command_line(c.command_line, is_file);
    EXPECT_EQ(utf8(split.program), utf8(c.program));
    EXPECT_EQ(utf8(split.parameters), utf8(c.parameters));
  }
}

// ---- EXE ----

TEST_F(SystemCommandsTest, ExecuteCutsAtTheLastCommaAndDoesNotWait) {
  // The program copied into a folder whose name holds a comma.
  const std::wstring folder = temp_file(L"dorovev a,b " + std::to_wstring(::GetCurrentProcessId()));
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"\\x.exe";
  ASSERT_TRUE(::CopyFileW(wide(exit_code_program).c_str(), copy.c_str(), FALSE));
  ReleaseEvent held(L"DorovevSystemTestExecute");
  struct Case {
    std::u16string parameters;
    std::u16string expected_ending;  // of the started program's command line
  };
  const Case cases[] = {
      {u16(copy) + u",0 " + held.name(), u"x.exe\" 0 " + held.name()},
      {u16(copy) + u",-v", u"x.exe\" -v"},
      // No comma: no parameters (a path of its own, as any comma in it would cut it).
      {exit_code_program, u"exit_code_program.exe"},
      {u"%folder%\\x.exe,%argument%", u"x.exe\" 9"},
      {u16(copy) + u",", u"x.exe"},
  };
  set(u"folder", u16(folder));
  set(u"argument", u"9");
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.parameters));
    command(u"EXE"_code, c.parameters);  // the first case would hang here if EXE waited
    const std::optional<ChildReport> report = child_report();
    ASSERT_TRUE(report.has_value());
    std::u16string line = report->command_line;
    while (line.ends_with(u'"') || line.ends_with(u' ')) line.pop_back();  // quoted or not, as the shell likes
    EXPECT_TRUE(line.ends_with(c.expected_ending)) << utf8(report->command_line);
  }
  command(u"EXE"_code, u"C:\\no\\such\\file.exe,-v");  // fails silently
  EXPECT_EQ(dialogs(), "");
  held.release();
  wintest::wait_until([&] { return ::DeleteFileW(copy.c_str()) != FALSE; });
  ::RemoveDirectoryW(folder.c_str());
}

// ---- GEV and SEV ----

TEST_F(SystemCommandsTest, EnvironmentVariablesAreSetReadAndInherited) {
  const std::u16string long_value(1000, u'v');
  set(u"name", u"DOROVEV_SYSTEM_TEST");
  set(u"text", u"Grüße ✓");
  struct Case {
    std::u16string set_parameters;  // empty: the variable is not set first
    std::u16string get_parameters;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"DOROVEV_SYSTEM_TEST,hello, world", u"DOROVEV_SYSTEM_TEST,result", u"hello, world"},
      {u"%name%,%text%", u"%name%,result", u"Grüße ✓"},
      {u"DOROVEV_SYSTEM_TEST," + long_value, u"DOROVEV_SYSTEM_TEST,result", long_value},
      {u"DOROVEV_SYSTEM_TEST,", u"DOROVEV_SYSTEM_TEST,result", u""},
      {u"", u"DOROVEV_NEVER_DEFINED_ANYWHERE,result", u""},
      {u"a=b,x", u"a=b,result", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.set_parameters) + " / " + utf8(c.get_parameters));
    set(u"result", u"old");
    if (!c.set_parameters.empty()) command(u"SEV"_code, c.set_parameters);
    command(u"GEV"_code, c.get_parameters);
    EXPECT_EQ(value(u"result"), c.expected);
  }
  // Programs started afterwards see what was set.
  command(u"SEV"_code, u"DOROVEV_INHERITED,%text%");
  set(u"RP_WAIT", u"1");
  command(u"RUN"_code, quoted_exit_code_program() + u" 0");
  const std::optional<ChildReport> report = child_report();
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(utf8(report->inherited), "Grüße ✓");
  ::SetEnvironmentVariableW(L"DOROVEV_INHERITED", nullptr);
  ::SetEnvironmentVariableW(L"DOROVEV_SYSTEM_TEST", nullptr);
}

// ---- GCB, PUT, WCB ----

// Another thread's window holding the clipboard open until it is told to let go.
class ClipboardHolder {
 public:
  ClipboardHolder() {
    holder_ = std::async(std::launch::async, [this] {
      const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      opened_.set_value(::OpenClipboard(window) != FALSE);
      let_go_.get_future().wait();
      closing = true;
      ::CloseClipboard();
      ::DestroyWindow(window);
    });
  }
  ~ClipboardHolder() { let_go(); }
  bool opened() { return opened_future_.get(); }
  void let_go() {
    if (!let_go_sent_) let_go_.set_value();
    let_go_sent_ = true;
    holder_.wait();
  }
  void let_go_later() {
    if (!let_go_sent_) let_go_.set_value();
    let_go_sent_ = true;
  }
  std::atomic<bool> closing = false;

 private:
  std::promise<bool> opened_;
  std::future<bool> opened_future_ = opened_.get_future();
  std::promise<void> let_go_;
  bool let_go_sent_ = false;
  std::future<void> holder_;
};

std::optional<std::wstring> system_clipboard_text() {
  if (!::OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::wstring> text;
  if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

bool set_system_clipboard(const std::wstring& text, UINT format = CF_UNICODETEXT) {
  if (!::OpenClipboard(nullptr)) return false;
  ::EmptyClipboard();
  bool set = true;
  if (!text.empty()) {
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    set = ::SetClipboardData(format, memory) != nullptr;
  }
  ::CloseClipboard();
  return set;
}

TEST_F(SystemCommandsTest, PutAndGetClipboardCarryTextOfAnyScript) {
  for (const std::u16string text : {u"plain", u"Grüße ✓ 日本 \U0001F600", u"two\r\nlines", u""}) {
    SCOPED_TRACE(utf8(text));
    set(u"text", text);
    command(u"PUT"_code, u"%text%");
    EXPECT_EQ(system_clipboard_text(), std::optional<std::wstring>(wide(text)));
    set(u"result", u"old");
    command(u"GCB"_code, u"result");
    EXPECT_EQ(value(u"result"), text);
  }
  // Text another program put there.
  ASSERT_TRUE(set_system_clipboard(L"from elsewhere é"));
  command(u"GCB"_code, u"result");
  EXPECT_EQ(value(u"result"), u"from elsewhere é");
}

TEST_F(SystemCommandsTest, GetClipboardLeavesTheVariableWhenThereIsNoText) {
  const UINT private_format = ::RegisterClipboardFormatW(L"DorovevSystemTestFormat");
  for (const bool other_format : {false, true}) {
    SCOPED_TRACE(other_format ? "another format" : "empty");
    ASSERT_TRUE(set_system_clipboard(other_format ? L"not text" : L"", private_format));
    set(u"result", u"unchanged");
    command(u"GCB"_code, u"result");
    EXPECT_EQ(value(u"result"), u"unchanged");
  }
}

TEST_F(SystemCommandsTest, PutDoesNothingWhileAnotherWindowHoldsTheClipboard) {
  ASSERT_TRUE(set_system_clipboard(L"kept"));
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.opened());
    command(u"PUT"_code, u"replaced");
  }
  EXPECT_EQ(system_clipboard_text(), std::optional<std::wstring>(L"kept"));
  command(u"PUT"_code, u"replaced");
  EXPECT_EQ(system_clipboard_text(), std::optional<std::wstring>(L"replaced"));
}

TEST_F(SystemCommandsTest, WaitClipboardWaitsUntilTheClipboardIsLetGoOrTheRunStops) {
  command(u"WCB"_code, u"");  // nobody holds it: back at once
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.opened());
    auto let_go = std::async(std::launch::async, [&] {
      ::Sleep(300);  // orders the events only: WCB is waiting by then or has wrongly returned
      holder.let_go_later();
    });
    command(u"WCB"_code, u"");
    EXPECT_TRUE(holder.closing.load()) << "WCB returned while the clipboard was still held";
    let_go.wait();
  }
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.opened());
    process.stop_requested = true;
    command(u"WCB"_code, u"");  // would never return if it did not watch the stop request
    EXPECT_FALSE(holder.closing.load());
  }
}

// ---- PLA ----

TEST_F(SystemCommandsTest, PlayReturnsForAWaveAMissingFileAndAFileThatIsNoWave) {
  // A tenth of a second of silence: 8000 Hz, 8 bits, mono.
  std::string wave = "RIFF....WAVEfmt ";
  const auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) wave += static_cast<char>(v >> (8 * i)); };
  const auto put16 = [&](std::uint16_t v) { for (int i = 0; i < 2; ++i) wave += static_cast<char>(v >> (8 * i)); };
  put32(16);
  put16(1);
  put16(1);
  put32(8000);
  put32(8000);
  put16(1);
  put16(8);
  wave += "data";
  put32(800);
  wave += std::string(800, '\x80');
  const std::uint32_t riff_size = static_cast<std::uint32_t>(wave.size() - 8);
  for (int i = 0; i < 4; ++i) wave[4 + i] = static_cast<char>(riff_size >> (8 * i));
  const std::wstring wave_file = temp_file(L"dorovev_system_test.wav");
  const std::wstring bad_file = temp_file(L"dorovev_system_test_bad.wav");
  wintest::write_file(wave_file, wave);
  wintest::write_file(bad_file, "RIFF\xff\xff\xff\x7fWAVEfmt \x02\x00\x00\x00");
  for (const std::wstring& file : {wave_file, bad_file, temp_file(L"dorovev_no_such_sound.wav"), std::wstring()}) {
    SCOPED_TRACE(narrow(file));
    command(u"PLA"_code, u16(file));
  }
  EXPECT_EQ(dialogs(), "");
  ::DeleteFileW(wave_file.c_str());
  ::DeleteFileW(bad_file.c_str());
}

// ---- SDW ----

// Records what would have ended the session.
class RecordingShutdownFake final : public ShutdownSystem {
 public:
  bool privilege_granted = true;
  int privilege_requests = 0;
  std::vector<std::uint32_t> exits;
  bool enable_shutdown_privilege() override {
    ++privilege_requests;
    return privilege_granted;
  }
  void exit_windows(std::uint32_t flags) override { exits.push_back(flags); }
};

class ShutdownTest : public SystemCommandsTest {
 protected:
  void SetUp() override {
    SystemCommandsTest::SetUp();
    set_shutdown_system(&fake);
  }
  void TearDown() override {
    set_shutdown_system(nullptr);
    SystemCommandsTest::TearDown();
  }
  RecordingShutdownFake fake;
};

TEST_F(ShutdownTest, TheModeChoosesTheFlagsAndTheRunStops) {
  set(u"mode", u"4");
  struct Case {
    const char16_t* mode;
    std::uint32_t flags;
  };
  const Case cases[] = {
      {u"0", EWX_SHUTDOWN},          {u"1", EWX_REBOOT},           {u"2", EWX_LOGOFF},
      {u"3", EWX_SHUTDOWN | EWX_FORCE}, {u"4", EWX_REBOOT | EWX_FORCE}, {u"5", EWX_LOGOFF | EWX_FORCE},
      {u"6", EWX_LOGOFF | EWX_FORCE},   {u"1000", EWX_LOGOFF | EWX_FORCE}, {u"-1", EWX_LOGOFF},
      {u"-2147483648", EWX_LOGOFF},  {u"x", EWX_SHUTDOWN},         {u"", EWX_SHUTDOWN},
      {u"%mode%", EWX_REBOOT | EWX_FORCE}, {u"$1", EWX_REBOOT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.mode));
    process.stop_requested = false;
    fake.exits.clear();
    command(u"SDW"_code, c.mode);
    EXPECT_EQ(fake.exits, std::vector<std::uint32_t>{c.flags});
    EXPECT_TRUE(process.stop_requested);
  }
  EXPECT_EQ(dialogs(), "");
}

TEST_F(ShutdownTest, WithoutThePrivilegeItIsReportedAndTheSystemIsNotAsked) {
  fake.privilege_granted = false;
  command(u"SDW"_code, u"1");
  EXPECT_EQ(fake.privilege_requests, 1);
  EXPECT_TRUE(fake.exits.empty());
  EXPECT_TRUE(process.stop_requested);
  EXPECT_EQ(dialogs(), "error\tOK Abort\tLine: 12 Unable to modify security rights for shutdown privileges.\n");
}

TEST_F(ShutdownTest, TheMainWindowIsAskedToClose) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = ::DefWindowProcW;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"TfrmDivoruvo";
  ::RegisterClassW(&window_class);
  const HWND main_window = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"TfrmDivoruvo", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                             nullptr, ::GetModuleHandleW(nullptr), nullptr);
  const HWND other_window = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                              ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(main_window, nullptr);
  for (const bool granted : {false, true}) {
    fake.privilege_granted = granted;
    command(u"SDW"_code, u"2");
  }
  platform.process_messages();
  EXPECT_FALSE(::IsWindow(main_window)) << "WM_CLOSE reached the main window and closed it";
  EXPECT_TRUE(::IsWindow(other_window));
  ::DestroyWindow(other_window);
}

TEST(ShutdownSystem, TheRealPrivilegeStepEnablesTheShutdownPrivilege) {
  // Enabling the privilege ends nothing; only the exit that follows it would.
  EXPECT_TRUE(real_shutdown_system().enable_shutdown_privilege());
  HANDLE token = nullptr;
  ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
  LUID shutdown{};
  ASSERT_TRUE(::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &shutdown));
  PRIVILEGE_SET wanted{1, PRIVILEGE_SET_ALL_NECESSARY, {{shutdown, 0}}};
  BOOL enabled = FALSE;
  EXPECT_TRUE(::PrivilegeCheck(token, &wanted, &enabled));
  EXPECT_TRUE(enabled);
  ::CloseHandle(token);
}

}  // namespace
}  // namespace dorovev

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: system_commands_test EXIT_CODE_PROGRAM INPUT_WAITING_PROGRAM\n");
    return 2;
  }
  const auto windows = [](const char* path) {
    return dorovev::win32::from_wide(dorovev::wintest::windows_path(std::wstring(path, path + std::strlen(path))));
  };
  dorovev::exit_code_program = windows(argv[1]);
  dorovev::input_waiting_program = windows(argv[2]);
  return RUN_ALL_TESTS();
}
