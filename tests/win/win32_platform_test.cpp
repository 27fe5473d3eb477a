// The platform seam against the real system: code page, files, command line.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

#include "engine/line_analysis.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "values/clock_format.h"
#include "values/expand_text.h"

namespace dorovev {
namespace {

using win32::Win32Platform;

// A folder of real files under the temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"dorovev-platform-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const std::wstring& file : files_) ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(path_.c_str());
  }
  std::u16string write(const std::wstring& name, const std::string& bytes) {
    const std::wstring file = path_ + L"\\" + name;
    std::ofstream(file.c_str(), std::ios::binary) << bytes;
    files_.push_back(file);
    return win32::from_wide(file);
  }
  std::u16string path() const { return win32::from_wide(path_); }

 private:
  std::wstring path_;
  std::vector<std::wstring> files_;
};

TEST(Win32Platform, AnsiConversionFollowsTheSystemCodePage) {
  Win32Platform platform;
  EXPECT_EQ(platform.ansi_to_text("Let>x=1"), u"Let>x=1");
  EXPECT_EQ(platform.text_to_ansi(u"Let>x=1"), "Let>x=1");
  EXPECT_EQ(platform.ansi_to_text(""), u"");
  if (::GetACP() == 1252) {
    EXPECT_EQ(platform.ansi_to_text("caf\xE9 \x80"), u"caf\x00e9 \x20AC");
    EXPECT_EQ(platform.text_to_ansi(u"caf\x00e9 \x20AC"), "caf\xE9 \x80");
    // No look-alike letters: Omega and A with macron are missing, not O and A.
    EXPECT_EQ(platform.text_to_ansi(u"\x03A9\x0100"), "??");
  }
  // A character the code page lacks becomes its default character, never nothing.
  EXPECT_FALSE(platform.text_to_ansi(u"\x4E2D").empty());
}

TEST(Win32Platform, FilesExistAndReadWhole) {
  Win32Platform platform;
  TempFolder folder;
  const std::string big(3 * 1024 * 1024 + 7, 'x');
  const std::u16string small = folder.write(L"small.txt", "abc\r\n");
  const std::u16string large = folder.write(L"large.bin", big);
  const std::u16string empty = folder.write(L"empty.txt", "");
  EXPECT_TRUE(platform.file_exists(small));
  EXPECT_FALSE(platform.file_exists(folder.path()));  // a folder is not a file
  EXPECT_FALSE(platform.file_exists(folder.path() + u"\\missing.txt"));
  EXPECT_EQ(platform.read_file(small), "abc\r\n");
  EXPECT_EQ(platform.read_file(large), big);
  EXPECT_EQ(platform.read_file(empty), "");
  EXPECT_FALSE(platform.read_file(folder.path() + u"\\missing.txt").has_value());
}

TEST(Win32Platform, IncludesARealUtf16File) {
  Win32Platform platform;
  TempFolder folder;
  const std::u16string part = folder.write(L"part.txt", std::string("\xFF\xFEL\0e\0t\0>\0a\0=\0\xE9\0\r\0\n\0", 20));
  tVarArray variables(&platform);
  variables.create_fixed_slots();
  AssignVariable(variables, u"part", part);
  LineList lines;
  lines.emplace_back(u"Include>%part%");
  lines.emplace_back(u"Label>end");
  LineCursor cursor{lines, 1};
  const Text current = lines[0];
  analyse_line(current, cursor, variables, platform, nullptr);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].view(), u"Let>a=\x00e9");
  EXPECT_EQ(cursor.next, 0u);
}

TEST(Win32Platform, CommandLineArgumentsBecomeVariables) {
  // CTest starts this program with the argument /user=ann.
  Win32Platform platform;
  tVarArray variables(&platform);
  variables.create_fixed_slots();
  EXPECT_EQ(ExpandText(variables, u"%user%"), u"ann");
  for (const std::u16string& argument : platform.command_line_arguments()) {
    EXPECT_FALSE(argument.ends_with(u".exe")) << "the program itself is no argument";
  }
}

TEST(Win32Platform, SystemInfoDescribesThisSystem) {
  Win32Platform platform;
  const SystemInfo info = platform.system_info();
  EXPECT_TRUE(info.os_text.starts_with(u"NT.")) << std::string(info.os_text.begin(), info.os_text.end());
  EXPECT_TRUE(info.temp_dir.ends_with(u"\\"));
  for (const std::u16string* folder : {&info.windows_dir, &info.system_dir}) {
    EXPECT_FALSE(folder->empty());
    EXPECT_FALSE(folder->ends_with(u"\\"));
  }
  EXPECT_TRUE(info.system_dir.starts_with(info.windows_dir));
  EXPECT_FALSE(info.user_name.empty());
  EXPECT_FALSE(info.computer_name.empty());
  EXPECT_TRUE(info.executable_path.ends_with(u"win32_platform_test.exe"));
  EXPECT_NE(info.command_line.find(u"/user=ann"), std::u16string::npos);
}

TEST(Win32Platform, LongTimeFormatShowsTimesAsTheSystemDoes) {
  Win32Platform platform;
  const std::u16string picture = platform.long_time_format();
  const TimeDesignators designators = platform.time_designators();
  ASSERT_FALSE(picture.empty());
  // The picture shows hours, minutes and seconds: 14:07:09 shows its 07 and its 09.
  const std::u16string afternoon = format_time_picture({2009, 3, 5, 14, 7, 9, 123}, picture, designators);
  EXPECT_NE(afternoon.find(u"07"), std::u16string::npos) << std::string(picture.begin(), picture.end());
  EXPECT_NE(afternoon.find(u"09"), std::u16string::npos);
  // And it shows them as the system's own time formatting does with the user's format,
  // around midnight and noon too.
  for (const int hour : {0, 1, 11, 12, 13, 14, 23}) {
    SYSTEMTIME time{2009, 3, 4, 5, static_cast<WORD>(hour), 7, 9, 123};
    wchar_t expected[100] = {};
    const int length = ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, expected, 100);
    ASSERT_GT(length, 0);
    EXPECT_EQ(format_time_picture({2009, 3, 5, hour, 7, 9, 123}, picture, designators),
              win32::from_wide(expected, static_cast<std::size_t>(length - 1)))
        << hour;
  }
}

TEST(Win32Platform, TickCountMoves) {
  Win32Platform platform;
  const std::uint32_t first = platform.tick_count();
  ::Sleep(20);
  EXPECT_NE(platform.tick_count(), first);
}

}  // namespace
}  // namespace dorovev
