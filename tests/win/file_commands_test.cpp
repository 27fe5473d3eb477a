// The file commands against real files in a temporary folder: the shell operations, file
// lists and counts, sizes and time stamps, text files, the joins and the file tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <tuple>
#include <sstream>
#include <string>
#include <vector>

#include "commands/files/file_commands.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "win_test_support.h"

namespace dorovev {
namespace {

using namespace codes;
using win32::from_wide;
using win32::wide;

// Removes a folder and everything in it, read-only files included.
void remove_tree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(child);
      } else {
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(search, &data));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(path.c_str());
}

// A run with the file commands over a fresh temporary folder; the runtime-error reports
// are answered unattended and kept in a file the test reads.
class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = wintest::temp_file(L"dorovev-files-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++serial));
    remove_tree(folder_);
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
    dialogs_ = folder_ + L".dialogs";
    ::DeleteFileW(dialogs_.c_str());
    ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", dialogs_.c_str());
    register_file_commands(table);
    AssignVariable(run.variables, u"CF_OVERWRITE", u"0");
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr);
    ::DeleteFileW(dialogs_.c_str());
    remove_tree(folder_);
  }

  // The path of a name in the folder, as the commands take it.
  std::u16string path(const std::wstring& name) const { return from_wide(folder_ + L"\\" + name); }
  std::wstring wpath(const std::wstring& name) const { return folder_ + L"\\" + name; }
  void write(const std::wstring& name, const std::string& bytes) { wintest::write_file(wpath(name), bytes); }
  std::string read(const std::wstring& name) { return wintest::read_file(wpath(name)); }
  bool exists(const std::wstring& name) { return ::GetFileAttributesW(wpath(name).c_str()) != INVALID_FILE_ATTRIBUTES; }
  void make_folder(const std::wstring& name) { ASSERT_TRUE(::CreateDirectoryW(wpath(name).c_str(), nullptr)); }

  void command(CommandCode code, const std::u16string& parameters) { dispatch(run, table, code, parameters); }
  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(run.variables, name, value); }
  std::u16string value(std::u16string_view name) {
    const std::optional<Text> found = run.variables.value_of(name);
    return found ? found->str() : u"<unset>";
  }
  // The reports made since the last call, one line each ("information\tOK Abort\tLine: ...").
  std::vector<std::string> reports() {
    std::vector<std::string> lines;
    std::istringstream text(wintest::read_file(dialogs_));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    ::DeleteFileW(dialogs_.c_str());
    return lines;
  }
  // A handle that keeps every other opener of the file out.
  win32::UniqueFileHandle lock(const std::wstring& name) {
    return win32::UniqueFileHandle(::CreateFileW(wpath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }

  std::wstring folder_;
  std::wstring dialogs_;
  win32::Win32Platform platform;
  ProcessState process;
  RunContext run{platform, process};
  CommandTable table;
};

std::string utf8(std::u16string_view text) {
  return wintest::narrow(std::wstring(text.begin(), text.end()));
}

// --- Copy, move, rename, delete --------------------------------------------------------

TEST_F(FileCommandsTest, CopySplitsAtTheLastCommaSoTheSourceMayHoldCommas) {
  write(L"a,b.txt", "comma");
  command(u"COP"_code, path(L"a,b.txt") + u"," + path(L"copy.txt"));
  EXPECT_EQ(read(L"copy.txt"), "comma");
  EXPECT_EQ(read(L"a,b.txt"), "comma");
  EXPECT_TRUE(reports().empty());
}

TEST_F(FileCommandsTest, CopyOntoAnExistingFileKeepsItUnlessOverwriteIsOn) {
  write(L"new.txt", "new");
  write(L"old.txt", "old");
  const std::u16string copy = path(L"new.txt") + u"," + path(L"old.txt");
  command(u"COP"_code, copy);
  command(u"COP"_code, copy);
  EXPECT_EQ(read(L"old.txt"), "old");
  EXPECT_EQ(read(L"old - Copy.txt"), "new");
  EXPECT_EQ(read(L"old - Copy (2).txt"), "new");

  set(u"CF_OVERWRITE", u"1");
  command(u"COP"_code, copy);
  EXPECT_EQ(read(L"old.txt"), "new");
  EXPECT_FALSE(exists(L"old - Copy (3).txt"));
}

TEST_F(FileCommandsTest, CopyIntoAFolderAndOntoItselfFindFreeNames) {
  write(L"a.txt", "a");
  make_folder(L"sub");
  write(L"sub\\a.txt", "kept");
  ::SetFileAttributesW(wpath(L"sub\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  command(u"COP"_code, path(L"a.txt") + u"," + path(L"sub"));
  EXPECT_EQ(read(L"sub\\a.txt"), "kept");
  EXPECT_EQ(read(L"sub\\a - Copy.txt"), "a");
  command(u"COP"_code, path(L"a.txt") + u"," + path(L"a.txt"));
  EXPECT_EQ(read(L"a - Copy.txt"), "a");
}

TEST_F(FileCommandsTest, CopyWithWildcardsTakesFilesAndFolders) {
  write(L"one.log", "1");
  write(L"two.log", "2");
  make_folder(L"logs.log");
  write(L"logs.log\\inner.txt", "inner");
  make_folder(L"target");
  write(L"target\\one.log", "old");
  command(u"COP"_code, path(L"*.log") + u"," + path(L"target"));
  EXPECT_EQ(read(L"target\\one.log"), "old");
  EXPECT_EQ(read(L"target\\one - Copy.log"), "1");
  EXPECT_EQ(read(L"target\\two.log"), "2");
  EXPECT_EQ(read(L"target\\logs.log\\inner.txt"), "inner");
}

TEST_F(FileCommandsTest, MoveRenamesWhenMfRenameIsOneAndRenameRenames) {
  struct Case {
    CommandCode code;
    const char16_t* mf_rename;
  };
  for (const Case& c : {Case{u"MOV"_code, u"0"}, Case{u"MOV"_code, u"1"}, Case{u"REN"_code, u"0"}}) {
    set(u"MF_RENAME", c.mf_rename);
    write(L"from.txt", "moved");
    ::DeleteFileW(wpath(L"to.txt").c_str());
    command(c.code, path(L"from.txt") + u"," + path(L"to.txt"));
    EXPECT_FALSE(exists(L"from.txt"));
    EXPECT_EQ(read(L"to.txt"), "moved");
  }
  // A move onto an existing file keeps it too.
  set(u"MF_RENAME", u"0");
  write(L"from.txt", "second");
  command(u"MOV"_code, path(L"from.txt") + u"," + path(L"to.txt"));
  EXPECT_EQ(read(L"to.txt"), "moved");
  EXPECT_EQ(read(L"to - Copy.txt"), "second");
}

TEST_F(FileCommandsTest, DeleteTakesWildcardsAndFolders) {
  write(L"a.tmp", "");
  write(L"b.tmp", "");
  write(L"keep.txt", "");
  make_folder(L"dir.tmp");
  write(L"dir.tmp\\inner.txt", "");
  command(u"DEL"_code, path(L"*.tmp"));
  EXPECT_FALSE(exists(L"a.tmp"));
  EXPECT_FALSE(exists(L"b.tmp"));
  EXPECT_FALSE(exists(L"dir.tmp"));
  EXPECT_TRUE(exists(L"keep.txt"));
  command(u"DEL"_code, u"");  // nothing to delete: nothing happens
  EXPECT_TRUE(exists(L"keep.txt"));
}

TEST_F(FileCommandsTest, AMissingTargetIsReportedAndNothingHappens) {
  write(L"a.txt", "a");
  run.variables.set_line_number(7);
  const std::pair<CommandCode, std::string> cases[] = {
      {u"COP"_code, "Line: 7 Error - CopyFile has Missing Parameter."},
      {u"MOV"_code, "Line: 7 Error - MoveFile has Missing Parameter."},
      {u"REN"_code, "Line: 7 Error - RenameFile has Missing Parameter."},
  };
  for (const auto& [code, message] : cases) {
    command(code, path(L"a.txt"));
    EXPECT_EQ(reports(), std::vector<std::string>{"information\tOK Abort\t" + message});
    EXPECT_EQ(read(L"a.txt"), "a");
  }
  set(u"IGNOREERRORS", u"1");
  command(u"COP"_code, path(L"a.txt"));
  EXPECT_TRUE(reports().empty());
}

TEST_F(FileCommandsTest, NamesOutsideTheAnsiCodePageWork) {
  const std::wstring name = L"\x4E2D\x03A9.txt";
  write(name, "wide");
  command(u"COP"_code, path(name) + u"," + path(L"\x0100.txt"));
  EXPECT_EQ(read(L"\x0100.txt"), "wide");
  command(u"FSZ"_code, path(name) + u",size");
  EXPECT_EQ(value(u"size"), u"4");
  command(u"WLN"_code, path(name) + u",result,more");
  EXPECT_EQ(value(u"result"), u"0");
  EXPECT_EQ(read(name), "widemore\r\n");
  command(u"RLN"_code, path(name) + u",1,line");
  EXPECT_EQ(value(u"line"), u"widemore");
  command(u"GFL"_code, path(L"\x4E2D*") + u",list");
  EXPECT_EQ(value(u"list"), path(name));
}

// --- Lists, counts, sizes, time stamps, tests --------------------------------------------

// The entries of a pattern in the order the file system gives them.
std::vector<std::u16string> enumeration_order(const std::wstring& pattern, bool folders) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data;
  HANDLE search = ::FindFirstFileW(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders) names.push_back(from_wide(name));
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return names;
}

TEST_F(FileCommandsTest, FileListGivesTheLastFoundFirstWithItsDelimiterAndType) {
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"other.log"}) write(name, "");
  ::SetFileAttributesW(wpath(L"c.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  make_folder(L"d.txt");
  make_folder(L"e.txt");
  const auto joined = [&](bool folders, std::u16string_view delimiter) {
    std::vector<std::u16string> names = enumeration_order(wpath(L"*.txt"), folders);
    std::u16string text;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
      if (!text.empty()) text += delimiter;
      text += path(L"") + *name;
    }
    return text;
  };
  command(u"GFL"_code, path(L"*.txt") + u",list");
  EXPECT_EQ(value(u"list"), joined(false, u";"));
  const std::u16string list = value(u"list");
  EXPECT_EQ(std::count(list.begin(), list.end(), u';'), 2) << "hidden files count";
  command(u"GFL"_code, path(L"*.txt") + u",list, | ");
  EXPECT_EQ(value(u"list"), joined(false, u" | "));
  set(u"GFL_TYPE", u"1");
  command(u"GFL"_code, path(L"*.txt") + u",list");
  EXPECT_EQ(value(u"list"), joined(true, u";"));
  command(u"GFL"_code, path(L"*.none") + u",list");
  EXPECT_EQ(value(u"list"), u"");
}

TEST_F(FileCommandsTest, CountTakesSubfoldersOnlyWhenAskedAndSkipsHiddenOnes) {
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.log"}) write(name, "");
  make_folder(L"sub");
  write(L"sub\\d.txt", "");
  make_folder(L"sub\\deeper");
  write(L"sub\\deeper\\e.txt", "");
  make_folder(L"hidden");
  write(L"hidden\\f.txt", "");
  ::SetFileAttributesW(wpath(L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const std::pair<std::u16string, std::u16string> cases[] = {
      {path(L"*.txt") + u",n,0", u"2"},
      {path(L"*.txt") + u",n,1", u"4"},
      {path(L"*.txt") + u",n", u"2"},  // the two-piece form stores into its second piece
      {path(L"") + u",n,0", u"3"},     // no mask: every file
      {path(L"*.none") + u",n,1", u"0"},
  };
  for (const auto& [parameters, count] : cases) {
    set(u"n", u"unset");
    command(u"COU"_code, parameters);
    EXPECT_EQ(value(u"n"), count) << utf8(parameters);
  }
}

TEST_F(FileCommandsTest, SizeDateAndTimeOfAFileOrFileNotFound) {
  write(L"sized.bin", std::string(1234, 'x'));
  // 4 July 2021, 13:05:07 local time: an odd second, which the stamps take down.
  SYSTEMTIME local{2021, 7, 0, 4, 13, 5, 7, 0};
  SYSTEMTIME utc;
  FILETIME written;
  ASSERT_TRUE(::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
  ASSERT_TRUE(::SystemTimeToFileTime(&utc, &written));
  {
    win32::UniqueFileHandle file(::CreateFileW(wpath(L"sized.bin").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &written));
  }
  make_folder(L"folder");
  const std::tuple<CommandCode, std::u16string, std::u16string> cases[] = {
      {u"FSZ"_code, path(L"sized.bin"), u"1234"},
      {u"FSZ"_code, path(L"size*.bin"), u"1234"},
      {u"FDT"_code, path(L"sized.bin"), u"20210704"},
      {u"FTM"_code, path(L"sized.bin"), u"130506"},
      {u"FSZ"_code, path(L"missing.bin"), u"File Not Found"},
      {u"FDT"_code, path(L"missing.bin"), u"File Not Found"},
      {u"FTM"_code, path(L"folder"), u"File Not Found"},
  };
  for (const auto& [code, file, expected] : cases) {
    command(code, file + u",result");
    EXPECT_EQ(value(u"result"), expected) << utf8(file);
  }
  EXPECT_TRUE(reports().empty());
}

TEST_F(FileCommandsTest, AnyFileMatchesFindsFilesFoldersAndWildcards) {
  write(L"a.txt", "");
  ::SetFileAttributesW(wpath(L"a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  make_folder(L"dir");
  const std::pair<std::u16string, bool> cases[] = {
      {path(L"a.txt"), true}, {path(L"*.txt"), true},   {path(L"dir"), true},
      {path(L"b.txt"), false}, {path(L"*.none"), false}, {u"", false},
  };
  for (const auto& [pattern, matches] : cases) EXPECT_EQ(any_file_matches(pattern), matches) << utf8(pattern);
}

TEST_F(FileCommandsTest, FileChangedComparesWithTodayAndReportsAMissingFile) {
  write(L"today.txt", "now");
  const std::pair<std::u16string, bool> cases[] = {
      {u"<1", true}, {u"=0", true}, {u">0", false}, {u"0", true}, {u"=1", false}, {u">-1", true},
  };
  for (const auto& [spec, passed] : cases) {
    EXPECT_EQ(file_changed_test(run, path(L"today.txt") + u"," + spec + u",yes,no"), passed) << utf8(spec);
  }
  EXPECT_TRUE(reports().empty());
  run.variables.set_line_number(3);
  make_folder(L"folder");
  for (const std::wstring& name : {std::wstring(L"missing.txt"), std::wstring(L"folder")}) {
    EXPECT_FALSE(file_changed_test(run, path(name) + u",<1,yes"));
    EXPECT_EQ(reports(), std::vector<std::string>{
                             "information\tOK Abort\tLine: 3 File specifed in IfFileChangedSince is not valid."});
  }
}

// --- Text files -------------------------------------------------------------------------

TEST_F(FileCommandsTest, ReadLineGivesTheLineOrItsMarker) {
  write(L"two.txt", "one\r\ncaf\xE9\r\n");
  write(L"empty.txt", "");
  write(L"ctrlz.txt", "one\x1Atwo\r\n");
  const std::pair<std::u16string, std::u16string> cases[] = {
      {path(L"two.txt") + u",1,line", u"one"},
      {path(L"two.txt") + u",3,line", u"##EOF##"},
      {path(L"two.txt") + u",x,line", u"##NOFILE##"},
      {path(L"empty.txt") + u",1,line", u"##EOF##"},
      {path(L"ctrlz.txt") + u",2,line", u"##EOF##"},
      {path(L"missing.txt") + u",1,line", u"##NOFILE##"},
  };
  for (const auto& [parameters, line] : cases) {
    command(u"RLN"_code, parameters);
    EXPECT_EQ(value(u"line"), line) << utf8(parameters);
  }
  if (::GetACP() == 1252) {
    command(u"RLN"_code, path(L"two.txt") + u",2,line");
    EXPECT_EQ(value(u"line"), u"caf\x00e9");
  }
  // The rest after the file is resolved as a whole: the line number may come from it.
  set(u"where", u"2,line");
  command(u"RLN"_code, path(L"two.txt") + u",%where%");
  EXPECT_NE(value(u"line"), u"##EOF##");
  EXPECT_NE(value(u"line"), u"##NOFILE##");
}

TEST_F(FileCommandsTest, ReadLineStopsBetweenLinesWhenTheRunIsStopped) {
  write(L"two.txt", "one\r\ntwo\r\n");
  process.stop_requested = true;
  command(u"RLN"_code, path(L"two.txt") + u",2,line");
  EXPECT_EQ(value(u"line"), u"") << "no line read, and the file not at its end";
}

TEST_F(FileCommandsTest, ALockedFileGivesTheErrorMarkerOrAReport) {
  write(L"locked.txt", "secret\r\n");
  const win32::UniqueFileHandle held = lock(L"locked.txt");
  ASSERT_TRUE(held);
  command(u"RLN"_code, path(L"locked.txt") + u",1,line");
  EXPECT_EQ(value(u"line"), u"##ERR## - Code : 32");
  command(u"WLN"_code, path(L"locked.txt") + u",result,more");
  EXPECT_EQ(value(u"result"), u"32");
  set(u"text", u"before");
  command(u"RFL"_code, path(L"locked.txt") + u",text");
  EXPECT_EQ(value(u"text"), u"before");
  EXPECT_EQ(reports(), std::vector<std::string>{"information\tOK Abort\tLine: 0 Cannot read file " +
                                                utf8(path(L"locked.txt"))});
}

TEST_F(FileCommandsTest, ReadFileTakesAnsiOrUtf16AfterItsMark) {
  write(L"ansi.txt", "a\r\nb\r\n");
  write(L"utf8.txt", "\xEF\xBB\xBFx");
  write(L"utf16.txt", std::string("\xFF\xFEh\0i\0\r\0\n\0", 10));
  const std::pair<std::wstring, std::u16string> cases[] = {
      {L"ansi.txt", u"a\r\nb\r\n"},
      {L"utf16.txt", u"\xFEFFhi\r\n"},
      {L"missing.txt", u"##NOFILE##"},
  };
  for (const auto& [name, text] : cases) {
    command(u"RFL"_code, path(name) + u",text");
    EXPECT_EQ(value(u"text"), text) << wintest::narrow(name);
  }
  command(u"RFL"_code, path(L"utf8.txt") + u",text");
  EXPECT_EQ(value(u"text"), platform.ansi_to_text("\xEF\xBB\xBFx")) << "a UTF-8 mark is converted like any bytes";
}

TEST_F(FileCommandsTest, WriteLineAppendsLinesOrTextAndGivesTheErrorNumber) {
  command(u"WLN"_code, path(L"out.txt") + u",result,a, b");
  EXPECT_EQ(value(u"result"), u"0");
  command(u"WLN"_code, path(L"out.txt") + u",result,\x4E2D");
  set(u"WLN_NOCRLF", u"1");
  command(u"WLN"_code, path(L"out.txt") + u",result,x");
  command(u"WLN"_code, path(L"out.txt") + u",result,y");
  EXPECT_EQ(read(L"out.txt"), "a, b\r\n?\r\nxy");

  write(L"readonly.txt", "kept");
  ::SetFileAttributesW(wpath(L"readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  const std::pair<std::wstring, std::u16string> failures[] = {
      {L"readonly.txt", u"5"},
      {L"no folder\\out.txt", u"3"},
  };
  for (const auto& [name, error] : failures) {
    command(u"WLN"_code, path(name) + u",result,text");
    EXPECT_EQ(value(u"result"), error) << wintest::narrow(name);
  }
  EXPECT_EQ(read(L"readonly.txt"), "kept");
  EXPECT_TRUE(reports().empty());
}

TEST_F(FileCommandsTest, PathsPastTheOldLengthLimitWorkOrEndInTheirMarkers) {
  // The folder's path fits the old limit of 260 characters; the file's does not.
  const std::wstring deep = std::wstring(150, L'd');
  const std::wstring name = deep + L"\\" + std::wstring(150, L'f') + L".txt";
  ASSERT_GT(wpath(name).size(), static_cast<std::size_t>(MAX_PATH));
  make_folder(deep);
  // Where the system takes such paths (Wine does; Windows only for programs that declare
  // it), the commands work on them; elsewhere each ends in its own result.
  const HANDLE probe = ::CreateFileW((wpath(name) + L"~").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  const bool long_paths = probe != INVALID_HANDLE_VALUE;
  if (long_paths) ::CloseHandle(probe);

  command(u"WLN"_code, path(name) + u",written,some text");
  command(u"RFL"_code, path(name) + u",whole");
  command(u"RLN"_code, path(name) + u",1,line");
  command(u"FSZ"_code, path(name) + u",size");
  command(u"GFL"_code, path(deep + L"\\*.txt") + u",list");
  if (long_paths) {
    EXPECT_EQ(value(u"written"), u"0");
    EXPECT_EQ(value(u"whole"), u"some text\r\n");
    EXPECT_EQ(value(u"line"), u"some text");
    EXPECT_EQ(value(u"size"), u"11");
    EXPECT_EQ(value(u"list"), path(name));
    command(u"DEL"_code, path(name));
    EXPECT_FALSE(exists(name));
  } else {
    EXPECT_NE(value(u"written"), u"0");
    EXPECT_EQ(value(u"whole"), u"##NOFILE##");
    EXPECT_EQ(value(u"line"), u"##NOFILE##");
    EXPECT_EQ(value(u"size"), u"File Not Found");
    EXPECT_EQ(value(u"list"), u"");
  }
  EXPECT_TRUE(reports().empty());
}

TEST_F(FileCommandsTest, JoinWritesBothFilesOrMinusOne) {
  write(L"first.txt", "one\r\n");
  write(L"second.txt", "two");
  command(u"APP"_code, path(L"first.txt") + u"," + path(L"second.txt") + u"," + path(L"out.txt") + u",size");
  EXPECT_EQ(read(L"out.txt"), "one\r\ntwo");
  EXPECT_EQ(value(u"size"), u"8");
  // Onto its own first file.
  command(u"APP"_code, path(L"first.txt") + u"," + path(L"second.txt") + u"," + path(L"first.txt") + u",size");
  EXPECT_EQ(read(L"first.txt"), "one\r\ntwo");
  command(u"APP"_code, path(L"missing.txt") + u"," + path(L"second.txt") + u"," + path(L"out2.txt") + u",size");
  EXPECT_EQ(value(u"size"), u"-1");
  EXPECT_FALSE(exists(L"out2.txt"));
  EXPECT_TRUE(reports().empty());
}

TEST_F(FileCommandsTest, JoinOntoAReadOnlyOutputIsReportedAndLeavesNothingBehind) {
  write(L"first.txt", "one");
  write(L"second.txt", "two");
  write(L"out.txt", "kept");
  ::SetFileAttributesW(wpath(L"out.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  set(u"size", u"before");
  command(u"APP"_code, path(L"first.txt") + u"," + path(L"second.txt") + u"," + path(L"out.txt") + u",size");
  EXPECT_EQ(read(L"out.txt"), "kept");
  EXPECT_EQ(value(u"size"), u"before");
  EXPECT_EQ(reports(), std::vector<std::string>{"information\tOK Abort\tLine: 0 Cannot write to file " +
                                                utf8(path(L"out.txt"))});
  EXPECT_EQ(enumeration_order(wpath(L"*"), false).size(), 3u) << "no temporary file left";
}

}  // namespace
}  // namespace dorovev
