// The window commands on real windows: window_fixture (its path is the first argument)
// opens a known set of windows, and the commands are dispatched as a run would.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "commands/windows/window_commands.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "win_test_support.h"

namespace dorovev {
namespace {

using namespace codes;
using namespace wintest;

std::wstring fixture_program;

std::u16string u16(const std::wstring& text) { return win32::from_wide(text); }
std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string handle_text(HWND window) {
  return u16(std::to_wstring(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window))));
}

std::wstring title_of(HWND window) {
  wchar_t buffer[512];
  const int length = ::GetWindowTextW(window, buffer, 512);
  return std::wstring(buffer, length > 0 ? length : 0);
}

struct WindowSearch {
  DWORD process_id;
  const std::wstring* title;
  HWND found = nullptr;
};

BOOL CALLBACK search_child(HWND child, LPARAM context) {
  auto& search = *reinterpret_cast<WindowSearch*>(context);
  if (title_of(child) == *search.title) search.found = child;
  return search.found == nullptr;
}

BOOL CALLBACK search_top(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search.process_id) return TRUE;
  if (title_of(window) == *search.title) search.found = window;
  if (!search.found) ::EnumChildWindows(window, search_child, context);
  return search.found == nullptr;
}

// A window of process `process_id`, top-level or descendant, titled exactly `title`.
HWND window_of(DWORD process_id, const std::wstring& title) {
  WindowSearch search{process_id, &title};
  ::EnumWindows(search_top, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// One window_fixture process; its windows' titles begin with its tag.
struct Fixture {
  ChildProcess process;
  std::wstring tag;

  explicit Fixture(std::wstring tag_) : tag(std::move(tag_)) {}
  bool start() {
    if (!process.start(L"\"" + windows_path(fixture_program) + L"\" " + tag)) return false;
    // The thumbnail is the last window it opens.
    return wait_until([&] { return window(u"Thumb Child") != nullptr; });
  }
  std::u16string title(std::u16string_view name) const { return u16(tag) + u" " + std::u16string(name); }
  HWND window(std::u16string_view name) const { return window_of(process.id(), wide(title(name))); }
};

class WindowCommandsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fixture = new Fixture(L"Dvw" + std::to_wstring(::GetCurrentProcessId()));
    ASSERT_TRUE(fixture->start()) << "window_fixture did not open its windows: " << fixture->process.error();
  }
  static void TearDownTestSuite() {
    delete fixture;
    fixture = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(fixture, nullptr);
    register_window_commands(table);
    set(u"WF_TYPE", u"1");
  }

  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(run.variables, name, value); }
  std::u16string get(std::u16string_view name) {
    return std::u16string(run.resolve(u"%" + std::u16string(name) + u"%").view());
  }
  void line(CommandCode code, std::u16string_view parameters) { dispatch(run, table, code, parameters); }
  // The title of a fixture window: "Alpha" is "<tag> Alpha".
  static std::u16string t(std::u16string_view name) { return fixture->title(name); }
  static HWND w(std::u16string_view name) { return fixture->window(name); }

  static Fixture* fixture;
  win32::Win32Platform platform;
  ProcessState process;
  RunContext run{platform, process};
  CommandTable table;
};

Fixture* WindowCommandsTest::fixture = nullptr;

// The rules of the lookup, seen through GetWindowHandle> (which window a title resolves
// to) and IfWindowOpen> (whether the lookup succeeds). "~" stands for the fixture's tag.
TEST_F(WindowCommandsTest, TitlesResolveByPatternCaseAndWfType) {
  struct Case {
    const char16_t* pattern;
    int wf_type;
    const char16_t* expected;  // the fixture window found, or nullptr
  };
  const Case cases[] = {
      {u"~ Alpha", 1, u"Alpha"},
      {u"~ ALPHA", 1, u"Alpha"},  // the exact lookup ignores case
      {u"~ Alph", 1, nullptr},    // an exact pattern is whole
      {u"lpha*", 1, u"Alpha"},    // a stem is found anywhere in a title
      {u"~ aLPH*", 1, u"Alpha"},
      {u"~ Grand*", -1, nullptr},
      {u"~ Grand*", 0, nullptr},  // no children under 0
      {u"~ Grand*", 1, u"Grandchild"},
      {u"~ Grand*", 2, u"Grandchild"},
      {u"~ Grand*", 3, u"Grandchild"},
      {u"~ Ghos*", 0, u"Ghost"},  // hidden top-level windows count under 0 and 1
      {u"~ Ghos*", 2, nullptr},
      {u"~ Ghost", 1, u"Ghost"},
      {u"~ Ghost", 2, nullptr},
      {u"~ Ghost C*", 1, u"Ghost Child"},
      {u"~ Ghost C*", 2, nullptr},  // a child of a hidden window is not visible
      {u"~ Ghost C*", 3, nullptr},
      {u"~ Alpha", 3, u"Alpha"},  // the exact step still takes visible top-level windows
      {u"~ Alph*", 3, nullptr},   // the enumeration takes none under 3
      {u"~ Twin*", 1, u"Twin"},
      {u"~ Twin*", 2, nullptr},  // the hidden exact stem decides before the visible twin
      {u"~ Twin V*", 2, u"Twin Visible"},
      {u"~ Mixed Case", 1, u"Mixed Case"},  // the handle lookup compares case
      {u"~ MIXED CASE", 1, u"MIXED CASE"},
      {u"~ Mixed Case*", 1, u"Mixed Case"},
      {u"~ Kid O*", 0, nullptr},
      {u"~ Kid O*", 1, u"Kid One"},
      {u"~ Thumb*", 1, nullptr},  // the taskbar's thumbnails never match
      {u"~ Thumb*", 0, nullptr},
      {u"~ Thumb Preview", 1, nullptr},
      {u"~ Thumb Ch*", 1, nullptr},
  };
  for (const Case& c : cases) {
    std::u16string pattern(c.pattern);
    if (pattern.front() == u'~') pattern.replace(0, 1, u16(fixture->tag));
    SCOPED_TRACE(testing::Message() << "pattern " << narrow(wide(pattern)) << ", WF_TYPE " << c.wf_type);
    set(u"WF_TYPE", u16(std::to_wstring(c.wf_type)));
    set(u"h", u"none");
    line(u"GWH"_code, pattern + u",h");
    EXPECT_EQ(any_window_matches(run, pattern), c.expected != nullptr);
    if (c.expected) {
      const HWND expected = w(c.expected);
      ASSERT_NE(expected, nullptr) << "the fixture has no window " << narrow(wide(c.expected));
      EXPECT_EQ(get(u"h"), handle_text(expected));
    } else {
      EXPECT_EQ(get(u"h"), u"none") << "GetWindowHandle> keeps the variable of a window not found";
    }
  }
}

// Several titles contain the stem: the first in enumeration order wins, a top-level
// window before its own children and a higher window in the Z order before a lower one.
TEST_F(WindowCommandsTest, TheEnumerationOrderDecidesBetweenMatches) {
  const auto raise = [](HWND window) {
    ASSERT_TRUE(::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  };
  const auto resolved = [&](std::u16string_view pattern) {
    set(u"h", u"none");
    line(u"GWH"_code, std::u16string(pattern) + u",h");
    return get(u"h");
  };
  for (const char16_t* upper : {u"One", u"Two"}) {
    SCOPED_TRACE(testing::Message() << "Order " << narrow(wide(upper)) << " on top");
    const std::u16string top = u"Order " + std::u16string(upper);
    raise(w(top));
    EXPECT_EQ(resolved(t(u"Order*")), handle_text(w(top)));
    EXPECT_EQ(resolved(t(u"Kid*")), handle_text(w(u"Kid " + std::u16string(upper))));
    EXPECT_EQ(resolved(std::u16string(upper) + u"*"), handle_text(w(top))) << "the window before its child";
  }
}

TEST_F(WindowCommandsTest, HandleModeTakesTheTitleAsAHandle) {
  const HWND alpha = w(u"Alpha");
  set(u"WIN_USEHANDLE", u"1");
  EXPECT_TRUE(any_window_matches(run, handle_text(alpha)));
  EXPECT_FALSE(any_window_matches(run, t(u"Alpha")));  // a title reads as handle 0
  EXPECT_FALSE(any_window_matches(run, u"0"));

  set(u"WW_TIMEOUT", u"5");
  line(u"WWO"_code, handle_text(alpha));
  EXPECT_EQ(get(u"WW_RESULT"), u"TRUE");

  line(u"GWT"_code, handle_text(alpha) + u",texts");
  EXPECT_EQ(get(u"texts"), t(u"OK Button") + u"\r\n" + t(u"Label") + u"\r\n" + t(u"Grandchild"));

  set(u"x", u"keep");
  line(u"GWP"_code, u"0,x,y");  // an invalid handle reads as 0 and 0, without a report
  EXPECT_EQ(get(u"x"), u"0");
  EXPECT_EQ(get(u"y"), u"0");

  line(u"GWH"_code, t(u"Alpha") + u",h");  // GetWindowHandle> looks titles up in any mode
  EXPECT_EQ(get(u"h"), handle_text(alpha));
}

TEST_F(WindowCommandsTest, WaitsEndWithTheirResult) {
  struct Case {
    CommandCode code;
    const char16_t* title;
    const char16_t* result;
  };
  const Case cases[] = {
      {u"WWO"_code, u"Never Opens*", u"FALSE"},
      {u"WWO"_code, u"alpha*", u"TRUE"},
      {u"WWO"_code, u"Alpha", u"TRUE"},
      {u"WWC"_code, u"Never Opens", u"TRUE"},
      {u"WWC"_code, u"Stubborn", u"FALSE"},
  };
  line(u"CLO"_code, t(u"Stubborn"));  // it refuses
  set(u"WW_TIMEOUT", u"0.3");
  for (const Case& c : cases) {
    SCOPED_TRACE(narrow(wide(c.title)));
    set(u"WW_RESULT", u"unset");
    line(c.code, t(c.title));
    EXPECT_EQ(get(u"WW_RESULT"), c.result);
  }

  // A window that closes ends WaitWindowClosed> with TRUE.
  ASSERT_NE(w(u"Closable"), nullptr);
  set(u"WW_TIMEOUT", u"60");
  line(u"CLO"_code, t(u"Closable"));
  line(u"WWC"_code, t(u"Closable"));
  EXPECT_EQ(get(u"WW_RESULT"), u"TRUE");
  EXPECT_EQ(w(u"Closable"), nullptr);

  // A stop ends a wait without a time-out, and leaves its result alone.
  set(u"WW_TIMEOUT", u"not a number");
  process.stop_requested = true;
  line(u"WWO"_code, t(u"Never Opens"));
  EXPECT_EQ(get(u"WW_RESULT"), u"TRUE");
}

TEST_F(WindowCommandsTest, WaitWindowOpenSeesAWindowThatOpensDuringTheWait) {
  Fixture later(L"DvwLater" + std::to_wstring(::GetCurrentProcessId()));
  ASSERT_TRUE(later.process.start(L"\"" + windows_path(fixture_program) + L"\" " + later.tag));
  set(u"WW_TIMEOUT", u"60");
  line(u"WWO"_code, later.title(u"Kid T*"));
  EXPECT_EQ(get(u"WW_RESULT"), u"TRUE");
  EXPECT_NE(later.window(u"Kid Two"), nullptr);
}

TEST_F(WindowCommandsTest, WaitWindowChangedEndsWhenTheForegroundChanges) {
  line(u"SET"_code, t(u"Alpha"));
  ASSERT_TRUE(wait_until([] { return ::GetForegroundWindow() == w(u"Alpha"); }));
  line(u"WWX"_code, u"1");  // nothing changes it
  EXPECT_EQ(get(u"WWC_RESULT"), u"FALSE");

  const HWND other = w(u"Twin Visible");
  std::thread changer([other] {
    ::Sleep(200);
    force_foreground(other);
  });
  line(u"WWX"_code, u"60");
  changer.join();
  EXPECT_EQ(get(u"WWC_RESULT"), u"TRUE");
  EXPECT_EQ(::GetForegroundWindow(), other);

  // A stop ends the wait at once and leaves the result alone.
  process.stop_requested = true;
  line(u"WWX"_code, u"no number");
  EXPECT_EQ(get(u"WWC_RESULT"), u"TRUE");
}

TEST_F(WindowCommandsTest, AMissingWindowIsReportedByTheCommandsThatSayWhere) {
  const std::wstring log = temp_file(L"dorovev_window_reports_" + std::to_wstring(::GetCurrentProcessId()) + L".txt");
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", log.c_str());
  struct Case {
    CommandCode code;
    const char16_t* parameters;
    const char* suffix;  // nullptr: no report
  };
  const Case cases[] = {
      {u"SET"_code, u"", "Not Present."},
      {u"CLO"_code, u"", "Not Present."},
      {u"WIN"_code, u"1,", "Not Present."},
      {u"GWP"_code, u",x,y", "in GetWindowPos Not Present."},
      {u"GWS"_code, u",x,y", "in GetWindowSize Not Present."},
      {u"MVW"_code, u",1,2", nullptr},
      {u"RSW"_code, u",1,2", nullptr},
      {u"GWH"_code, u",x", nullptr},
      {u"WWO"_code, u"", nullptr},  // with a time-out, below
  };
  set(u"WW_TIMEOUT", u"0.1");
  const std::u16string missing = t(u"Nowhere");
  for (const bool ignore_errors : {false, true}) {
    set(u"IGNOREERRORS", ignore_errors ? u"1" : u"0");
    for (const Case& c : cases) {
      std::u16string parameters(c.parameters);
      parameters.insert(c.code == u"WIN"_code ? 2 : 0, missing);
      SCOPED_TRACE(narrow(wide(parameters)) + (ignore_errors ? " with IGNOREERRORS" : ""));
      ::DeleteFileW(log.c_str());
      process.stop_requested = false;
      set(u"x", u"keep");
      set(u"y", u"keep");
      line(c.code, parameters);
      const std::string expected = c.suffix && !ignore_errors
                                       ? "warning\tAbort Ignore\tLine: 0 Specified Window \"" + narrow(wide(missing)) +
                                             "\" " + c.suffix + "\\nAny Subsequent Key Sends In Script May Cause Exceptions.\n"
                                       : "";
      EXPECT_EQ(read_file(log), expected);
      EXPECT_EQ(process.stop_requested, !expected.empty()) << "the unattended answer is Abort";
      EXPECT_EQ(get(u"x"), u"keep");
      EXPECT_EQ(get(u"y"), u"keep");
    }
  }
  // An empty title names no window, even where the system has untitled ones.
  set(u"IGNOREERRORS", u"0");
  ::DeleteFileW(log.c_str());
  line(u"SET"_code, u"");
  EXPECT_NE(read_file(log).find("Specified Window \"\" Not Present."), std::string::npos) << read_file(log);
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);
  ::DeleteFileW(log.c_str());
}

TEST_F(WindowCommandsTest, WindowsMoveResizeAndChangeState) {
  const HWND alpha = w(u"Alpha");
  line(u"MVW"_code, t(u"Alpha") + u",40,50");
  line(u"RSW"_code, t(u"Alpha") + u",300,200");
  RECT rect{};
  ASSERT_TRUE(::GetWindowRect(alpha, &rect));
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right - rect.left, 300);
  EXPECT_EQ(rect.bottom - rect.top, 200);
  line(u"GWP"_code, u"alpha*,x,y");
  line(u"GWS"_code, u"alpha*,width,height");
  EXPECT_EQ(get(u"x") + u"," + get(u"y") + u"," + get(u"width") + u"," + get(u"height"), u"40,50,300,200");

  // WindowAction> brings the window forward first in title mode.
  line(u"SET"_code, t(u"Mixed Case"));
  ASSERT_TRUE(wait_until([] { return ::GetForegroundWindow() == w(u"Mixed Case"); }));
  line(u"WIN"_code, u"1," + t(u"Alpha"));
  EXPECT_TRUE(::IsZoomed(alpha));
  EXPECT_TRUE(wait_until([&] { return ::GetForegroundWindow() == alpha; }));
  line(u"WIN"_code, u"2," + t(u"Alpha"));
  EXPECT_TRUE(::IsIconic(alpha));
  line(u"SET"_code, t(u"Alpha"));  // a minimised window is restored
  EXPECT_FALSE(::IsIconic(alpha));
  line(u"WIN"_code, u"0," + t(u"Alpha"));
  EXPECT_FALSE(::IsZoomed(alpha));
  line(u"WIN"_code, u"7," + t(u"Alpha"));  // no such action
  EXPECT_FALSE(::IsZoomed(alpha) || ::IsIconic(alpha));

  // In handle mode the action is applied without bringing the window forward first (an
  // action that does nothing shows it; maximising activates the window by itself).
  line(u"SET"_code, t(u"Mixed Case"));
  ASSERT_TRUE(wait_until([] { return ::GetForegroundWindow() == w(u"Mixed Case"); }));
  set(u"WIN_USEHANDLE", u"1");
  line(u"WIN"_code, u"7," + handle_text(alpha));
  EXPECT_EQ(::GetForegroundWindow(), w(u"Mixed Case"));
  line(u"WIN"_code, u"1," + handle_text(alpha));
  EXPECT_TRUE(::IsZoomed(alpha));
  line(u"WIN"_code, u"0," + handle_text(alpha));
  EXPECT_FALSE(::IsZoomed(alpha));
  set(u"WIN_USEHANDLE", u"0");
  line(u"SET"_code, t(u"Mixed Case"));
  ASSERT_TRUE(wait_until([] { return ::GetForegroundWindow() == w(u"Mixed Case"); }));
  line(u"WIN"_code, u"7," + t(u"Alpha"));
  EXPECT_TRUE(wait_until([&] { return ::GetForegroundWindow() == alpha; }));
}

// SetFocus> from either side: the foreground window in this thread, or in the fixture's,
// whose input this thread joins only for the change.
TEST_F(WindowCommandsTest, SetFocusTakesTheForegroundFromAnyThread) {
  const HWND own = ::CreateWindowW(L"STATIC", L"Dvw own window", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                   nullptr, nullptr, nullptr);
  ASSERT_NE(own, nullptr);
  ASSERT_TRUE(force_foreground(own));
  line(u"SET"_code, t(u"Alpha"));
  EXPECT_TRUE(wait_until([] { return ::GetForegroundWindow() == w(u"Alpha"); }));

  const DWORD fixture_thread = ::GetWindowThreadProcessId(w(u"Alpha"), nullptr);
  line(u"SET"_code, t(u"Twin Visible"));
  EXPECT_TRUE(wait_until([] { return ::GetForegroundWindow() == w(u"Twin Visible"); }));
  EXPECT_FALSE(::AttachThreadInput(::GetCurrentThreadId(), fixture_thread, FALSE)) << "the input is still joined";
  ::DestroyWindow(own);
}

TEST_F(WindowCommandsTest, TheActiveWindowIsReadWithOrWithoutItsChild) {
  const HWND alpha = w(u"Alpha");
  line(u"SET"_code, t(u"Alpha"));
  ASSERT_TRUE(wait_until([&] { return ::GetForegroundWindow() == alpha; }));
  RECT rect{};
  ::GetWindowRect(alpha, &rect);
  const auto number = [](long value) { return u16(std::to_wstring(value)); };

  line(u"GAW"_code, u"t,x,y,width,height");
  EXPECT_EQ(get(u"t"), t(u"Alpha"));
  EXPECT_EQ(get(u"x"), number(rect.left));
  EXPECT_EQ(get(u"y"), number(rect.top));
  EXPECT_EQ(get(u"width"), number(rect.right - rect.left));
  EXPECT_EQ(get(u"height"), number(rect.bottom - rect.top));

  set(u"width", u"keep");
  set(u"WIN_USEHANDLE", u"1");
  line(u"GAW"_code, u"t,x,y");
  EXPECT_EQ(get(u"t"), handle_text(alpha));
  EXPECT_EQ(get(u"width"), u"keep");

  // The child variant: the first visible titled descendant, by its title in any mode.
  RECT button{};
  ::GetWindowRect(w(u"OK Button"), &button);
  for (const bool by_code : {false, true}) {
    set(u"GAW_TYPE", by_code ? u"0" : u"1");
    set(u"t", u"");
    line(by_code ? u"GAC"_code : u"GAW"_code, u"t,x,y,width");
    EXPECT_EQ(get(u"t"), t(u"OK Button"));
    EXPECT_EQ(get(u"x"), number(button.left));
    EXPECT_EQ(get(u"width"), number(button.right - button.left));
  }
}

TEST_F(WindowCommandsTest, ChildTextsAndTheWindowListComeFromTheDesktop) {
  struct Case {
    const char16_t* title;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"Alpha", t(u"OK Button") + u"\r\n" + t(u"Label") + u"\r\n" + t(u"Grandchild")},
      {u"ALPHA", u""},  // exact, letter case included
      {u"Alpha*", u""},  // no wildcard
      {u"Ghost", t(u"Ghost Child")},  // hidden windows too
  };
  set(u"WF_TYPE", u"0");  // not applied here
  for (const Case& c : cases) {
    line(u"GWT"_code, t(c.title) + u",texts");
    EXPECT_EQ(get(u"texts"), c.expected) << narrow(wide(c.title));
  }

  line(u"GWL"_code, u"list");
  const std::u16string list = get(u"list");
  EXPECT_NE(list.find(t(u"Alpha") + u"\r\n"), std::u16string::npos);
  EXPECT_NE(list.find(t(u"MIXED CASE") + u"\r\n"), std::u16string::npos);
  EXPECT_EQ(list.find(t(u"Ghost")), std::u16string::npos) << "hidden windows are not listed";
  EXPECT_EQ(list.find(t(u"Label")), std::u16string::npos) << "children are not listed";
  EXPECT_EQ(list.substr(list.size() - 2), u"\r\n");
}

TEST_F(WindowCommandsTest, FindWindowByTextNamesTheWindowOfAMatchingChild) {
  struct Case {
    std::u16string text;
    bool handle_mode;
    std::u16string expected;
  };
  const Case cases[] = {
      {t(u"grandCHILD"), false, t(u"Alpha")},
      {u"\"" + t(u"OK"), false, t(u"Alpha")},  // the quoted text is part of each entry
      {t(u"Ghost Child"), false, t(u"Ghost")},
      {t(u"Alpha"), false, u"NOT FOUND"},  // top-level entries are not searched
      {t(u"Thumb Child"), false, t(u"Thumb Preview")},  // the inventory excludes nothing
      {t(u"Grandchild"), true, handle_text(w(u"Alpha"))},
      {t(u"Nowhere"), true, u"0"},
  };
  for (const Case& c : cases) {
    set(u"WIN_USEHANDLE", c.handle_mode ? u"1" : u"0");
    line(u"FIN"_code, c.text + u",0,found");
    EXPECT_EQ(get(u"found"), c.expected) << narrow(wide(c.text));
  }
  // The class is part of each entry too.
  set(u"WIN_USEHANDLE", u"0");
  line(u"FIN"_code, u"button,0,found");
  EXPECT_EQ(get(u"found"), t(u"Alpha"));

  line(u"SET"_code, t(u"Mixed Case"));
  ASSERT_TRUE(wait_until([] { return ::GetForegroundWindow() == w(u"Mixed Case"); }));
  line(u"FIN"_code, t(u"Label") + u",1,found");
  EXPECT_TRUE(wait_until([] { return ::GetForegroundWindow() == w(u"Alpha"); }));
  // Bringing a window forward shows it, hidden or not.
  const HWND ghost = w(u"Ghost");
  line(u"FIN"_code, t(u"Ghost Child") + u",1,found");
  EXPECT_TRUE(::IsWindowVisible(ghost));
  ::ShowWindow(ghost, SW_HIDE);
}

TEST_F(WindowCommandsTest, GetWindowProcessNamesTheOwningProgram) {
  line(u"GPW"_code, t(u"Alpha") + u",pid,file");
  EXPECT_EQ(get(u"pid"), u16(std::to_wstring(fixture->process.id())));
  const std::u16string file = get(u"file");
  const std::u16string ending = u"window_fixture.exe";
  ASSERT_GE(file.size(), ending.size()) << narrow(wide(file));
  EXPECT_TRUE(::CompareStringOrdinal(wide(file.substr(file.size() - ending.size())).c_str(), -1,
                                     wide(ending).c_str(), -1, TRUE) == CSTR_EQUAL)
      << narrow(wide(file));
  line(u"GPW"_code, t(u"Nowhere") + u",pid,file");
  EXPECT_EQ(get(u"pid"), u"0");
  EXPECT_EQ(get(u"file"), u"");
}

// Wine's own notepad, end to end, as a script would drive it.
TEST_F(WindowCommandsTest, NotepadIsWaitedForReadMovedSizedAndClosed) {
  ChildProcess notepad;
  ASSERT_TRUE(notepad.start(L"notepad.exe")) << notepad.error();
  set(u"WW_TIMEOUT", u"60");
  line(u"WWO"_code, u"Untitled - Notepad");
  ASSERT_EQ(get(u"WW_RESULT"), u"TRUE");
  const HWND main_window = wait_for_top_window(notepad.id(), L"Untitled - Notepad");
  ASSERT_NE(main_window, nullptr);
  const HWND edit = find_child_window(main_window, L"Edit");
  ASSERT_NE(edit, nullptr);
  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Written by the test"));
  ::SendMessageW(edit, EM_SETMODIFY, FALSE, 0);

  line(u"GWT"_code, u"Untitled - Notepad,text");
  EXPECT_NE(get(u"text").find(u"Written by the test"), std::u16string::npos) << narrow(wide(get(u"text")));

  line(u"MVW"_code, u"Untitled - Notepad,60,70");
  line(u"RSW"_code, u"Untitled*,420,310");
  line(u"GWP"_code, u"Untitled - Notepad,x,y");
  line(u"GWS"_code, u"Untitled - Notepad,width,height");
  EXPECT_EQ(get(u"x") + u"," + get(u"y") + u"," + get(u"width") + u"," + get(u"height"), u"60,70,420,310");

  line(u"WIN"_code, u"1,Untitled*");
  EXPECT_TRUE(::IsZoomed(main_window));
  line(u"WIN"_code, u"0,Untitled - Notepad");
  EXPECT_FALSE(::IsZoomed(main_window));
  line(u"GWS"_code, u"Untitled - Notepad,width,height");
  EXPECT_EQ(get(u"width") + u"," + get(u"height"), u"420,310");

  line(u"CLO"_code, u"Untitled - Notepad");
  line(u"WWC"_code, u"Untitled - Notepad");
  EXPECT_EQ(get(u"WW_RESULT"), u"TRUE");
  EXPECT_TRUE(wait_until([&] { return !notepad.running(); }));
}

}  // namespace
}  // namespace dorovev

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_commands_test WINDOW_FIXTURE\n");
    return 2;
  }
  const std::string path = argv[1];
  dorovev::fixture_program.assign(path.begin(), path.end());
  return RUN_ALL_TESTS();
}
