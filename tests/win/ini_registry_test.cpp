// The INI and registry commands against the real private-profile functions and the real
// registry: INI files in a folder of their own under the temporary folder, registry values
// under HKEY_CURRENT_USER\Software\DorovevTest\<process id>, both removed after each test.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

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

const std::wstring kTestKey = L"Software\\DorovevTest\\" + std::to_wstring(::GetCurrentProcessId());
const std::u16string kTestKey16 = from_wide(kTestKey);

// Reports are recorded in a file instead of shown: each line is kind, buttons and text.
class IniRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring id = std::to_wstring(::GetCurrentProcessId());
    folder_ = std::wstring(temp) + L"dorovev-ini-" + id + L"\\";
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    dialogs_ = std::wstring(temp) + L"dorovev-ini-dialogs-" + id + L".txt";
    ::DeleteFileW(dialogs_.c_str());
    ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", dialogs_.c_str());
    register_ini_commands(table_);
    register_registry_commands(table_);
    run_.variables.create_fixed_slots();
    run_.variables.set_line_number(7);
    process_.stop_requested = false;
  }

  void TearDown() override {
    ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);
    ::DeleteFileW(dialogs_.c_str());
    for (const std::wstring& file : files_) ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder_.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\DorovevTest");  // only when no other run uses it
  }

  void line(CommandCode code, std::u16string_view parameters) { dispatch(run_, table_, code, parameters); }
  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(run_.variables, name, value); }
  std::u16string value(std::u16string_view name) const {
    const auto found = run_.variables.value_of(name);
    return found ? found->str() : u"<unset>";
  }

  // The reports made so far, one text each, and forgets them.
  std::vector<std::string> reports() {
    std::vector<std::string> lines;
    const std::string text = wintest::read_file(dialogs_);
    ::DeleteFileW(dialogs_.c_str());
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }

  // A path in the test folder, removed after the test.
  std::wstring ini_path(const std::wstring& name) {
    files_.push_back(folder_ + name);
    return files_.back();
  }
  std::wstring make_ini(const std::wstring& name, const std::string& contents) {
    const std::wstring path = ini_path(name);
    wintest::write_file(path, contents);
    return path;
  }

  win32::Win32Platform platform_;
  ProcessState process_;
  CommandTable table_;
  RunContext run_{platform_, process_};
  std::wstring folder_;
  std::wstring dialogs_;
  std::vector<std::wstring> files_;
};

constexpr const char* kReportPrefix = "information\tOK Abort\tLine: 7 ";

// --- INI files ---------------------------------------------------------------------------

TEST_F(IniRegistryTest, EditWritesTheWholeRestAndReadGetsItBack) {
  const std::u16string file = from_wide(make_ini(L"edit.ini", "[main]\r\nold=1\r\n"));
  set(u"f", file);
  set(u"sec", u"main");
  line(u"EDI"_code, u"%f%,%sec%,colour,red, green,blue");  // the value keeps its commas
  line(u"EDI"_code, u"%f%,new section,empty,");            // section created, empty value
  line(u"EDI"_code, u"%f%,main,old,2");                    // overwritten in place
  EXPECT_EQ(wintest::read_file(wide(file)), "[main]\r\nold=2\r\ncolour=red, green,blue\r\n[new section]\r\nempty=\r\n");

  line(u"REA"_code, u"%f%,main,colour,got");
  EXPECT_EQ(value(u"got"), u"red, green,blue");
  set(u"other", u"<before>");
  line(u"REA"_code, u"%f%,new section,empty,other");
  EXPECT_EQ(value(u"other"), u"");
  EXPECT_TRUE(reports().empty());
}

TEST_F(IniRegistryTest, AMissingSectionOrKeyReadsEmptyWithoutAReport) {
  set(u"f", from_wide(make_ini(L"read.ini", "[main]\r\nkey=value\r\n")));
  for (const std::u16string_view where : {u"main,absent", u"absent,key"}) {
    set(u"result", u"<before>");
    line(u"REA"_code, u"%f%," + std::u16string(where) + u",result");
    EXPECT_EQ(value(u"result"), u"") << std::string(where.begin(), where.end());
  }
  EXPECT_TRUE(reports().empty());
}

TEST_F(IniRegistryTest, BadPiecesAndMissingFilesAreReportedAndChangeNothing) {
  set(u"f", from_wide(make_ini(L"errors.ini", "[s]\r\nk=v\r\n")));
  set(u"gone", from_wide(ini_path(L"missing.ini")));
  struct Case {
    CommandCode code;
    const char16_t* parameters;
    const char* report;
  };
  const Case cases[] = {
      {u"EDI"_code, u",s,k,v", "Error in EditIniFile command."},
      {u"EDI"_code, u"%f%,,k,v", "Error in EditIniFile command."},
      {u"EDI"_code, u"%f%,s,,v", "Error in EditIniFile command."},
      {u"EDI"_code, u"%f%", "Error in EditIniFile command."},
      {u"EDI"_code, u"%gone%,s,k,v", "Ini file in EditIniFile does not exist."},
      {u"REA"_code, u",s,k,result", "Error in ReadIniFile command."},
      {u"REA"_code, u"%f%,,k,result", "Error in ReadIniFile command."},
      {u"REA"_code, u"%f%,s,,result", "Error in ReadIniFile command."},
      {u"REA"_code, u"%gone%,s,k,result", "Ini file in ReadIniFile does not exist."},
  };
  for (const Case& c : cases) {
    set(u"result", u"<before>");
    line(c.code, c.parameters);
    const std::string parameters = wintest::narrow(wide(c.parameters));
    EXPECT_EQ(reports(), std::vector<std::string>{kReportPrefix + std::string(c.report)}) << parameters;
    EXPECT_EQ(value(u"result"), u"<before>") << parameters;
  }
  EXPECT_EQ(wintest::read_file(wide(value(u"f"))), "[s]\r\nk=v\r\n");
  EXPECT_EQ(::GetFileAttributesW(wide(value(u"gone")).c_str()), INVALID_FILE_ATTRIBUTES) << "no file was created";

  set(u"IGNOREERRORS", u"1");
  line(u"EDI"_code, u"%gone%,s,k,v");
  line(u"REA"_code, u"%f%,,k,result");
  EXPECT_TRUE(reports().empty());
}

TEST_F(IniRegistryTest, ReadCutsLongValuesTo2047Characters) {
  const std::string long_value(3000, 'x');
  set(u"f", from_wide(make_ini(L"long.ini", "[s]\r\nexact=" + std::string(2047, 'y') + "\r\nlong=" + long_value + "\r\n")));
  line(u"REA"_code, u"%f%,s,long,result");
  EXPECT_EQ(value(u"result"), std::u16string(2047, u'x'));
  line(u"REA"_code, u"%f%,s,exact,result");
  EXPECT_EQ(value(u"result"), std::u16string(2047, u'y'));
}

TEST_F(IniRegistryTest, ARelativeNameIsTheFileInTheCurrentDirectory) {
  // The file that passes the existence test is the file written, not one of the same name
  // in the Windows directory (removed again should it appear there).
  const std::wstring name = L"dorovev-relative-" + std::to_wstring(::GetCurrentProcessId()) + L".ini";
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  files_.push_back(std::wstring(windows) + L"\\" + name);
  const std::wstring path = make_ini(name, "[s]\r\n");
  wchar_t previous[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(folder_.c_str()));
  line(u"EDI"_code, from_wide(name) + u",s,k,here");
  line(u"REA"_code, from_wide(name) + u",s,k,result");
  ::SetCurrentDirectoryW(previous);
  EXPECT_EQ(wintest::read_file(path), "[s]\r\nk=here\r\n");
  EXPECT_EQ(value(u"result"), u"here");
  EXPECT_EQ(::GetFileAttributesW(files_.front().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(reports().empty());
}

TEST_F(IniRegistryTest, AFileThatCannotBeWrittenIsReported) {
  const std::wstring path = make_ini(L"locked.ini", "[s]\r\nk=v\r\n");
  set(u"f", from_wide(path));
  const HANDLE locked = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  line(u"EDI"_code, u"%f%,s,k,new");
  ::CloseHandle(locked);
  EXPECT_EQ(reports(), std::vector<std::string>{kReportPrefix + std::string("Cannot write to file ") +
                                                 wintest::narrow(path)});
  EXPECT_EQ(wintest::read_file(path), "[s]\r\nk=v\r\n");
}

// --- Registry ----------------------------------------------------------------------------

HKEY create_test_key(const std::wstring& below = L"") {
  HKEY key = nullptr;
  const std::wstring path = below.empty() ? kTestKey : kTestKey + L"\\" + below;
  EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  return key;
}

void store(HKEY key, const wchar_t* name, DWORD type, const std::string& data) {
  ASSERT_EQ(::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
}

std::string utf16_bytes(std::wstring_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

struct Stored {
  DWORD type = REG_NONE;
  std::string data;
  bool exists = false;
};
Stored stored(const std::wstring& key_path, const wchar_t* name) {
  Stored result;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, key_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return result;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &result.type, nullptr, &size) == ERROR_SUCCESS) {
    result.data.resize(size);
    result.exists = ::RegQueryValueExW(key, name, nullptr, &result.type, reinterpret_cast<BYTE*>(result.data.data()),
                                       &size) == ERROR_SUCCESS;
  }
  ::RegCloseKey(key);
  return result;
}

bool key_exists(const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

std::string dword(DWORD bits) { return std::string(reinterpret_cast<const char*>(&bits), sizeof bits); }

TEST_F(IniRegistryTest, ReadGivesEachKindItsText) {
  std::string binary_300;
  std::u16string hex_255;
  for (int i = 0; i < 300; ++i) {
    binary_300.push_back(static_cast<char>(i * 7));
    if (i < 255) {
      static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
      hex_255 += kDigits[((i * 7) & 0xFF) >> 4];
      hex_255 += kDigits[(i * 7) & 15];
    }
  }
  const HKEY key = create_test_key();
  store(key, L"text", REG_SZ, utf16_bytes(std::wstring(L"hello, world") + L'\0'));
  store(key, L"unterminated", REG_SZ, utf16_bytes(L"abc"));
  store(key, L"expandable", REG_EXPAND_SZ, utf16_bytes(std::wstring(L"%SystemRoot%\\x") + L'\0'));
  store(key, L"all ones", REG_DWORD, dword(4294967295u));
  store(key, L"number", REG_DWORD, dword(42));
  store(key, L"short binary", REG_BINARY, std::string("\x0a\xff\x00", 3));
  store(key, L"long binary", REG_BINARY, binary_300);
  store(key, L"empty binary", REG_BINARY, "");
  store(key, L"several", REG_MULTI_SZ, utf16_bytes(std::wstring(L"a\0b\0\0", 5)));
  store(key, L"wide number", REG_QWORD, dword(5) + dword(0));
  store(key, L"", REG_SZ, utf16_bytes(std::wstring(L"default") + L'\0'));
  ::RegCloseKey(key);
  set(u"k", kTestKey16);

  const struct {
    const char16_t* value_name;
    std::u16string text;
  } cases[] = {
      {u"text", u"hello, world"},
      {u"unterminated", u"abc"},
      {u"expandable", u"%SystemRoot%\\x"},
      {u"all ones", u"-1"},
      {u"number", u"42"},
      {u"short binary", u"0AFF00"},
      {u"long binary", hex_255},
      {u"empty binary", u""},
      {u"several", u""},
      {u"wide number", u""},
      {u"absent", u""},
      {u"", u"default"},
  };
  for (const auto& c : cases) {
    set(u"result", u"<before>");
    line(u"RRK"_code, u"HKEY_CURRENT_USER,%k%," + std::u16string(c.value_name) + u",result");
    EXPECT_EQ(value(u"result"), c.text) << wintest::narrow(wide(c.value_name));
  }
  set(u"result", u"");
  line(u"RRK"_code, u"HKEY_CURRENT_USER,%k%,long binary,result");
  EXPECT_EQ(value(u"result").size(), 510u);
  EXPECT_TRUE(reports().empty());
}

TEST_F(IniRegistryTest, OnlyTheExactRootNamesSelectARoot) {
  const HKEY key = create_test_key();
  store(key, L"name", REG_SZ, utf16_bytes(std::wstring(L"found") + L'\0'));
  ::RegCloseKey(key);
  set(u"k", kTestKey16);
  for (const std::u16string_view root : {u"hkey_current_user", u"HKCU", u"HKEY_CURRENT_USER ", u""}) {
    set(u"result", u"<before>");
    line(u"RRK"_code, std::u16string(root) + u",%k%,name,result");
    EXPECT_EQ(value(u"result"), u"") << std::string(root.begin(), root.end());
    line(u"RWK"_code, std::u16string(root) + u",%k%\\made,name,1");
  }
  EXPECT_FALSE(key_exists(kTestKey + L"\\made"));
  line(u"RRK"_code, u"HKEY_CURRENT_USER,%k%,name,result");
  EXPECT_EQ(value(u"result"), u"found");
  line(u"RRK"_code, u"HKEY_CURRENT_USER,%k%\\absent,name,result");
  EXPECT_EQ(value(u"result"), u"");
  EXPECT_TRUE(reports().empty());
}

TEST_F(IniRegistryTest, WriteTakesNumbersAsNumbersUnlessToldOtherwise) {
  set(u"k", kTestKey16);
  const struct {
    const char16_t* int_as_string;  // REG_INTASSTR, or nullptr to leave it undefined
    const char16_t* value;
    DWORD type;
    std::string data;
  } cases[] = {
      {nullptr, u"10", REG_DWORD, dword(10)},
      {nullptr, u"-1", REG_DWORD, dword(0xFFFFFFFF)},
      {nullptr, u"$FF", REG_DWORD, dword(255)},
      {nullptr, u"0xFF", REG_DWORD, dword(255)},
      {nullptr, u"$FFFFFFFF", REG_DWORD, dword(0xFFFFFFFF)},
      {nullptr, u"2147483647", REG_DWORD, dword(0x7FFFFFFF)},
      {nullptr, u"2147483648", REG_SZ, utf16_bytes(std::wstring(L"2147483648") + L'\0')},
      {nullptr, u"$100000000", REG_SZ, utf16_bytes(std::wstring(L"$100000000") + L'\0')},
      {nullptr, u"abc", REG_SZ, utf16_bytes(std::wstring(L"abc") + L'\0')},
      {nullptr, u"1.5", REG_SZ, utf16_bytes(std::wstring(L"1.5") + L'\0')},
      {nullptr, u"", REG_SZ, utf16_bytes(std::wstring(1, L'\0'))},
      {u"1", u"10", REG_SZ, utf16_bytes(std::wstring(L"10") + L'\0')},
      {u"1", u"abc", REG_SZ, utf16_bytes(std::wstring(L"abc") + L'\0')},
      {u"0", u"10", REG_DWORD, dword(10)},
      {u"1 ", u"10", REG_DWORD, dword(10)},
  };
  for (const auto& c : cases) {
    if (c.int_as_string) set(u"REG_INTASSTR", c.int_as_string);
    set(u"v", c.value);
    line(u"RWK"_code, u"HKEY_CURRENT_USER,%k%,value,%v%");
    const Stored written = stored(kTestKey, L"value");
    const std::string label = wintest::narrow(wide(c.value));
    EXPECT_EQ(written.type, c.type) << label;
    EXPECT_EQ(written.data, c.data) << label;
  }
  set(u"REG_INTASSTR", u"0");
  line(u"RWK"_code, u"HKEY_CURRENT_USER,%k%,wrapped,-1");
  line(u"RRK"_code, u"HKEY_CURRENT_USER,%k%,wrapped,result");
  EXPECT_EQ(value(u"result"), u"-1");
}

TEST_F(IniRegistryTest, WriteCreatesTheKeyPathAndKeepsCommasInTheValue) {
  set(u"k", kTestKey16 + u"\\one\\two");
  set(u"name", u"my value");
  line(u"RWK"_code, u"HKEY_CURRENT_USER,%k%\\three,%name%,a, b,c");
  const Stored written = stored(kTestKey + L"\\one\\two\\three", L"my value");
  EXPECT_EQ(written.type, DWORD{REG_SZ});
  EXPECT_EQ(written.data, utf16_bytes(std::wstring(L"a, b,c") + L'\0'));
  line(u"RRK"_code, u"HKEY_CURRENT_USER,%k%\\three,%name%,result");
  EXPECT_EQ(value(u"result"), u"a, b,c");
  EXPECT_TRUE(reports().empty());
}

TEST_F(IniRegistryTest, DeletingAKeyTakesItsSubkeysAndDeletingAValueOnlyThatValue) {
  const HKEY parent = create_test_key(L"tree");
  store(parent, L"kept", REG_SZ, utf16_bytes(std::wstring(L"1") + L'\0'));
  store(parent, L"dropped", REG_SZ, utf16_bytes(std::wstring(L"2") + L'\0'));
  ::RegCloseKey(parent);
  const HKEY child = create_test_key(L"tree\\doomed\\deeper");
  store(child, L"x", REG_DWORD, dword(1));
  ::RegCloseKey(child);
  ::RegCloseKey(create_test_key(L"tree\\sibling"));
  set(u"k", kTestKey16);

  line(u"RDV"_code, u"HKEY_CURRENT_USER,%k%\\tree,dropped");
  line(u"RDV"_code, u"HKEY_CURRENT_USER,%k%\\absent,kept");  // opened, never created
  EXPECT_TRUE(stored(kTestKey + L"\\tree", L"kept").exists);
  EXPECT_FALSE(stored(kTestKey + L"\\tree", L"dropped").exists);
  EXPECT_FALSE(key_exists(kTestKey + L"\\absent"));

  line(u"RDK"_code, u"hkey_current_user,%k%\\tree\\doomed");
  EXPECT_TRUE(key_exists(kTestKey + L"\\tree\\doomed\\deeper")) << "no root, no deletion";
  line(u"RDK"_code, u"HKEY_CURRENT_USER,%k%\\tree\\doomed");
  EXPECT_FALSE(key_exists(kTestKey + L"\\tree\\doomed"));
  EXPECT_TRUE(key_exists(kTestKey + L"\\tree\\sibling"));
  EXPECT_TRUE(stored(kTestKey + L"\\tree", L"kept").exists);
  line(u"RDK"_code, u"HKEY_CURRENT_USER,%k%\\tree\\doomed");  // already gone: nothing happens
  EXPECT_TRUE(reports().empty());
}

}  // namespace
}  // namespace dorovev
