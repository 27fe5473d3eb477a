// The file-name texts of the file commands: list prefixes and joins, count patterns,
// names of copies, and IfFileChanged>'s day comparison.
#include <gtest/gtest.h>

#include "values/file_names.h"

namespace dorovev {
namespace {

TEST(FileNames, ListingPrefixIsTheFolderWithOneBackslash) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"C:\\d\\*.txt", u"C:\\d\\"}, {u"C:\\*.txt", u"C:\\"},   {u"*.txt", u"\\"},
      {u"C:*.txt", u"C:\\"},         {u"C:\\d\\\\x", u"C:\\d\\\\"}, {u"", u"\\"},
      {u"\\\\host\\share\\*", u"\\\\host\\share\\"},
  };
  for (const auto& [pattern, prefix] : cases) EXPECT_EQ(listing_prefix(pattern), prefix);
}

TEST(FileNames, JoinPutsTheLastFoundFirst) {
  EXPECT_EQ(join_in_reverse(u"C:\\d\\", {u"a.txt", u"b.txt"}, u";"), u"C:\\d\\b.txt;C:\\d\\a.txt");
  EXPECT_EQ(join_in_reverse(u"\\", {u"a", u"b", u"c"}, u", "), u"\\c, \\b, \\a");
  EXPECT_EQ(join_in_reverse(u"x\\", {u"a"}, u";"), u"x\\a");
  EXPECT_EQ(join_in_reverse(u"x\\", {}, u";"), u"");
  EXPECT_EQ(join_in_reverse(u"x\\", {u"a", u"b"}, u""), u"x\\bx\\a");
}

TEST(FileNames, CountPatternSplitsFolderAndMask) {
  struct Case {
    std::u16string_view pattern, current, directory, mask;
  };
  const Case cases[] = {
      {u"C:\\d\\*.txt", u"C:\\w", u"C:\\d\\", u"*.txt"},
      {u"C:\\d\\", u"C:\\w", u"C:\\d\\", u"*.*"},
      {u"*.log", u"C:\\w", u"C:\\w\\", u"*.log"},
      {u"*.log", u"C:\\", u"C:\\", u"*.log"},
      {u"", u"C:\\w", u"C:\\w\\", u"*.*"},
      {u"C:x.txt", u"C:\\w", u"C:\\", u"x.txt"},
  };
  for (const Case& c : cases) {
    const CountSearch search = split_count_pattern(c.pattern, c.current);
    EXPECT_EQ(search.directory, c.directory);
    EXPECT_EQ(search.mask, c.mask);
  }
}

TEST(FileNames, CopyNamesKeepTheExtension) {
  EXPECT_EQ(copy_name(u"a.txt", false, 1), u"a - Copy.txt");
  EXPECT_EQ(copy_name(u"a.txt", false, 2), u"a - Copy (2).txt");
  EXPECT_EQ(copy_name(u"a.b.txt", false, 1), u"a.b - Copy.txt");
  EXPECT_EQ(copy_name(u"noext", false, 3), u"noext - Copy (3)");
  EXPECT_EQ(copy_name(u".profile", false, 1), u".profile - Copy");
  EXPECT_EQ(copy_name(u"folder.d", true, 1), u"folder.d - Copy");
}

TEST(FileNames, ChangedSinceComparesWithTodayMinusDays) {
  const CalendarDate today{2024, 3, 1};
  struct Case {
    CalendarDate file_day;
    std::u16string_view spec;
    bool passed;
  };
  const Case cases[] = {
      {{2024, 3, 1}, u"<1", true},   {{2024, 3, 1}, u"=0", true},  {{2024, 3, 1}, u">0", false},
      {{2024, 3, 1}, u"0", true},    {{2024, 3, 1}, u"", true},    {{2024, 2, 29}, u"1", true},
      {{2024, 2, 29}, u"<1", false}, {{2024, 2, 28}, u">1", true}, {{2024, 2, 29}, u">1", false},
      {{2023, 3, 1}, u"=366", true}, {{2024, 3, 1}, u"x", true},   {{2024, 3, 1}, u"<-1", false},
      {{2024, 3, 1}, u"<2147483647", true}, {{2024, 3, 1}, u">-2147483648", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(changed_since(c.file_day, today, c.spec), c.passed)
        << c.file_day.year << "-" << c.file_day.month << "-" << c.file_day.day << " spec "
        << std::string(c.spec.begin(), c.spec.end());
  }
}

}  // namespace
}  // namespace dorovev
