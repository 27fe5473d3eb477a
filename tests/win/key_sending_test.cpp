// The keystroke commands against a real window: input_recorder takes the focus and writes
// down every key message it receives, and the tests compare that record with the key events
// each command must produce.
//
// Each case ends with a marker key (VK_OEM_CLEAR), which no command sends; the case's record
// is everything the recorder wrote before the marker arrived.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "commands/input/input_commands.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/win32_platform.h"
#include "win_test_support.h"

namespace dorovev {
namespace {

using namespace codes;
using namespace wintest;

std::wstring recorder_path;
constexpr wchar_t kTitle[] = L"Dorovev key recorder";
constexpr BYTE kMarkerKey = VK_OEM_CLEAR;

// One key message: "down 10", "up 24 ext"; WM_SYSKEY* count as key messages, as the
// system chooses between the two by the state of Alt.
struct KeyMessage {
  std::string text;
  unsigned scan = 0;
};

struct Record {
  std::vector<KeyMessage> keys;
  std::wstring characters;  // the WM_CHAR units

  std::vector<std::string> key_texts() const {
    std::vector<std::string> texts;
    for (const KeyMessage& key : keys) texts.push_back(key.text);
    return texts;
  }
};

Record parse_record(const std::string& text) {
  Record record;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    char name[32] = {};
    unsigned vk = 0, scan = 0, ext = 0;
    if (std::sscanf(line.c_str(), "%31s vk=%x scan=%x ext=%u", name, &vk, &scan, &ext) == 4) {
      const std::string kind(name);
      const bool down = kind == "WM_KEYDOWN" || kind == "WM_SYSKEYDOWN";
      char key[24];
      std::snprintf(key, sizeof key, "%s %02x%s", down ? "down" : "up", vk, ext ? " ext" : "");
      record.keys.push_back({key, scan});
    } else if (std::sscanf(line.c_str(), "WM_CHAR %x", &vk) == 1) {
      record.characters.push_back(static_cast<wchar_t>(vk));
    }
  }
  return record;
}

class KeySendingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    recording_ = new std::wstring(temp_file(L"dorovev_key_recording.txt"));
    recorder_ = new ChildProcess;
    ASSERT_TRUE(recorder_->start(L"\"" + recorder_path + L"\" \"" + kTitle + L"\" \"" + *recording_ + L"\""))
        << recorder_->error();
    window_ = wait_for_top_window(recorder_->id(), kTitle);
    ASSERT_NE(window_, nullptr) << "the recorder's window did not appear";
  }
  static void TearDownTestSuite() {
    delete recorder_;
    recorder_ = nullptr;
    delete recording_;
    recording_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    register_key_commands(table_);
    process_.stop_requested = false;
    ASSERT_TRUE(force_foreground(window_)) << "the recorder did not become the foreground window";
    start_ = read_file(*recording_).size();
  }

  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(run_.variables, name, value); }
  void run(CommandCode code, std::u16string_view parameters) { dispatch(run_, table_, code, parameters); }

  // What the recorder saw since the case began, once the marker key has arrived.
  Record recorded() {
    ::keybd_event(kMarkerKey, 0, 0, 0);
    ::keybd_event(kMarkerKey, 0, KEYEVENTF_KEYUP, 0);
    std::string text;
    const bool arrived = wait_until([&] {
      text = read_file(*recording_).substr(start_);
      return text.find("WM_KEYUP vk=fe") != std::string::npos;
    });
    EXPECT_TRUE(arrived) << "the marker key never reached the recorder; it saw:\n" << text;
    Record record = parse_record(text.substr(0, text.find("WM_KEYDOWN vk=fe")));
    start_ += text.size();
    return record;
  }

  static ChildProcess* recorder_;
  static std::wstring* recording_;
  static HWND window_;
  std::size_t start_ = 0;
  win32::Win32Platform platform_;
  ProcessState process_;
  RunContext run_{platform_, process_};
  CommandTable table_;
};

ChildProcess* KeySendingTest::recorder_ = nullptr;
std::wstring* KeySendingTest::recording_ = nullptr;
HWND KeySendingTest::window_ = nullptr;

using Keys = std::vector<std::string>;

// The key messages of an Alt code: Alt held while the keypad types the digits.
Keys alt_code(const char* digits) {
  Keys keys{"down 12"};
  for (const char* d = digits; *d; ++d) {
    char key[8];
    std::snprintf(key, sizeof key, "%02x", 0x60 + (*d - '0'));
    keys.push_back(std::string("down ") + key);
    keys.push_back(std::string("up ") + key);
  }
  keys.push_back("up 12");
  return keys;
}

Keys concat(std::initializer_list<Keys> parts) {
  Keys all;
  for (const Keys& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(KeySendingTest, CommandsProduceTheirKeyEvents) {
  struct Step {
    CommandCode code;
    const char16_t* parameters;
  };
  struct Case {
    const char* what;
    std::vector<std::pair<const char16_t*, const char16_t*>> settings;
    std::vector<Step> steps;
    Keys keys;
  };
  const Keys tab{"down 09", "up 09"};
  const Case cases[] = {
      {"capitals with Shift around the key",
       {},
       {{u"SEN"_code, u"Hello"}},
       {"down 10", "down 48", "up 48", "up 10", "down 45", "up 45", "down 4c", "up 4c", "down 4c", "up 4c", "down 4f",
        "up 4f"}},
      {"a character without a key, by its Alt code", {}, {{u"SEN"_code, u"\u00e9"}}, alt_code("0233")},
      {"AsciiKeys, each code by Alt and the keypad", {}, {{u"ASC"_code, u"65, 66"}},
       concat({alt_code("0065"), alt_code("0066")})},
      {"AsciiKeys, an item that is no number types code 0", {}, {{u"ASC"_code, u"x"}}, alt_code("0000")},
      {"a repeat count", {}, {{u"PRE"_code, u"Tab * 3"}}, concat({tab, tab, tab})},
      {"a repeat count that is no number", {}, {{u"PRE"_code, u"Tab*x"}}, {}},
      {"a name with a leading blank and no count", {}, {{u"PRE"_code, u" Tab"}}, {}},
      {"a name that is no key", {}, {{u"PRE"_code, u"Tabulator"}, {u"REL"_code, u"Tab"}}, {}},
      {"navigation keys as direct extended events", {}, {{u"PRE"_code, u"home"}}, {"down 24 ext", "up 24 ext"}},
      {"navigation keys through the key sender in the legacy form",
       {{u"SK_LEGACY", u"1"}},
       {{u"PRE"_code, u"home"}},
       {"down 24", "up 24"}},
      {"F keys of both ranges", {}, {{u"PRE"_code, u"f5"}, {u"PRE"_code, u"F13"}}, {"down 74", "up 74", "down 7c", "up 7c"}},
      {"keypad digits", {}, {{u"PRE"_code, u"NP5"}}, {"down 65 ext", "up 65 ext", "down 00"}},
      {"keypad operators", {}, {{u"PRE"_code, u"NP ADD"}}, {"down 6b ext", "up 6b ext", "down 00"}},
      {"key names unexpanded by default", {{u"k", u"tab"}}, {{u"PRE"_code, u"%k%"}}, {}},
      {"key names expanded with PRESS_ALLOWVARS",
       {{u"k", u"tab"}, {u"PRESS_ALLOWVARS", u"1"}},
       {{u"PRE"_code, u"%k%"}},
       tab},
      {"Ctrl and Alt held and released by name",
       {},
       {{u"PRE"_code, u"ctrl"}, {u"PRE"_code, u"ALT"}, {u"REL"_code, u"alt"}, {u"REL"_code, u"Ctrl"}},
       {"down 11", "down 12", "up 12", "up 11"}},
      {"AltGr, Ctrl then right Alt",
       {},
       {{u"PRE"_code, u"ALTGR"}, {u"REL"_code, u"ALTGR"}},
       {"down 11", "down 12 ext", "up 11", "up 12 ext"}},
      {"AltGr in the legacy form, Alt then Ctrl",
       {{u"SK_LEGACY", u"1"}},
       {{u"PRE"_code, u"ALTGR"}, {u"REL"_code, u"ALTGR"}},
       {"down 12", "down 11", "up 12", "up 11"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunContext fresh(platform_, process_);
    for (const auto& [name, value] : c.settings) AssignVariable(fresh.variables, name, value);
    for (const Step& step : c.steps) dispatch(fresh, table_, step.code, step.parameters);
    const Record record = recorded();
    EXPECT_EQ(record.key_texts(), c.keys);
  }
}

TEST_F(KeySendingTest, SendTypesItsTextLiterally) {
  run(u"SEN"_code, u"Hi {Enter} %x%, 5+5!");
  EXPECT_EQ(recorded().characters, L"Hi {Enter} %x%, 5+5!");
  set(u"text", u"a\tb");
  run(u"SEN"_code, u"%text%");
  EXPECT_EQ(recorded().characters, L"a\tb");
}

TEST_F(KeySendingTest, TextOutsideTheAnsiCodePageIsTypedWholeAsUnicodeUnits) {
  // U+0141 is in no Western code page, so the plain a goes as a Unicode unit as well.
  run(u"SEN"_code, u"a\u0141\U0001F600");
  const Record record = recorded();
  EXPECT_EQ(record.characters, L"a\u0141\U0001F600");
  const Keys packets(4, "down e7");
  Keys downs;
  // Only the key is compared: Wine builds the message's scan byte and extended bit from the
  // whole 16-bit unit, so U+0141 arrives marked extended.
  for (const std::string& key : record.key_texts()) {
    if (key.rfind("down", 0) == 0) downs.push_back(key.substr(0, 7));
  }
  EXPECT_EQ(downs, packets) << "every unit is a VK_PACKET key, none goes through the layout";
}

TEST_F(KeySendingTest, LegacyNavigationKeysCarryTheirScanCodeAndDirectOnesNone) {
  run(u"PRE"_code, u"End");
  const Record direct = recorded();
  ASSERT_EQ(direct.keys.size(), 2u);
  EXPECT_EQ(direct.keys[0].scan, 0u);
  set(u"SK_LEGACY", u"1");
  run(u"PRE"_code, u"End");
  const Record legacy = recorded();
  ASSERT_EQ(legacy.keys.size(), 2u);
  EXPECT_EQ(legacy.keys[0].scan, ::MapVirtualKeyW(VK_END, MAPVK_VK_TO_VSC));
  EXPECT_NE(legacy.keys[0].scan, 0u);
}

TEST_F(KeySendingTest, ShiftHeldByPressTypesCapitalsUntilReleased) {
  run(u"PRE"_code, u"SHIFT");
  run(u"SEN"_code, u"abc");
  run(u"REL"_code, u"SHIFT");
  run(u"SEN"_code, u"d");
  EXPECT_EQ(recorded().characters, L"ABCd");
}

TEST_F(KeySendingTest, TheRunsEndReleasesShiftCtrlAndAlt) {
  run(u"PRE"_code, u"SHIFT");
  run(u"PRE"_code, u"CTRL");
  release_modifier_keys();
  const Keys expected{"down 10", "down 11", "up 10", "up 11", "up 12"};
  EXPECT_EQ(recorded().key_texts(), expected);
  EXPECT_EQ(::GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
  EXPECT_EQ(::GetAsyncKeyState(VK_CONTROL) & 0x8000, 0);
  run(u"SEN"_code, u"a");
  EXPECT_EQ(recorded().characters, L"a");
}

TEST_F(KeySendingTest, IgnoreCapsInvertsShiftWhileCapsLockIsOn) {
  ::keybd_event(VK_CAPITAL, 0, 0, 0);
  ::keybd_event(VK_CAPITAL, 0, KEYEVENTF_KEYUP, 0);
  recorded();
  const bool caps_on = wait_until([] { return (::GetKeyState(VK_CAPITAL) & 1) == 1; });
  set(u"SK_IGNORECAPS", u"1");
  run(u"SEN"_code, u"aA1");
  const Keys keys = recorded().key_texts();
  ::keybd_event(VK_CAPITAL, 0, 0, 0);
  ::keybd_event(VK_CAPITAL, 0, KEYEVENTF_KEYUP, 0);
  recorded();
  ASSERT_TRUE(caps_on) << "Caps Lock did not come on";
  const Keys expected{"down 10", "down 41", "up 41", "up 10", "down 41", "up 41", "down 10", "down 31", "up 31", "up 10"};
  EXPECT_EQ(keys, expected);
}

// SK_DELAY waits while serving the message queue: a timer that fires during the wait after
// the first key asks to stop, and the wait and the command end there, the rest untyped.
ProcessState* timer_process = nullptr;
void CALLBACK stop_from_timer(HWND, UINT, UINT_PTR, DWORD) { timer_process->stop_requested = true; }

TEST_F(KeySendingTest, TheStopKeyEndsTheKeyDelayAndTheCommand) {
  struct Case {
    CommandCode code;
    const char16_t* parameters;
    Keys keys;
  };
  const Case cases[] = {
      {u"SEN"_code, u"abc", {"down 41", "up 41"}},
      {u"PRE"_code, u"Tab * 3", {}},  // Press waits before each key
  };
  timer_process = &process_;
  for (const Case& c : cases) {
    process_.stop_requested = false;
    RunContext fresh(platform_, process_);
    AssignVariable(fresh.variables, u"SK_DELAY", u"600000");
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, stop_from_timer);
    ASSERT_NE(timer, 0u);
    dispatch(fresh, table_, c.code, c.parameters);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(process_.stop_requested);
    process_.stop_requested = false;
    EXPECT_EQ(recorded().key_texts(), c.keys);
  }
}

TEST_F(KeySendingTest, TheStopRequestEndsARepeatedPress) {
  process_.stop_requested = true;
  run(u"PRE"_code, u"Tab * 1000000");
  process_.stop_requested = false;
  EXPECT_TRUE(recorded().keys.empty());
}

}  // namespace
}  // namespace dorovev

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: key_sending_test <input_recorder.exe>\n");
    return 2;
  }
  const std::string path = argv[1];
  dorovev::recorder_path = dorovev::wintest::windows_path(std::wstring(path.begin(), path.end()));
  return RUN_ALL_TESTS();
}
