// The date and time commands: the clock read into variables, the long time
// picture, and lines with a time or date stamp appended to a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/clock_commands.h"
#include "engine/dispatch.h"
#include "engine/interpreter.h"
#include "engine/line_analysis.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "engine/script_extensions.h"
#include "tests/support/fake_platform.h"
#include "tests/support/script_line_test.h"
#include "values/clock_format.h"

namespace dorovev {
namespace {

using namespace codes;
using testing::FakePlatform;
using testing::make_lines;
using testing::u16;

// Thursday, 5 March 2009, 14:07:09.123: the example of the Part.
constexpr LocalTime kThursday{2009, 3, 5, 14, 7, 9, 123};

class ClockCommandsTest : public testing::ScriptLineTest {
 protected:
  ClockCommandsTest() : ScriptLineTest(register_clock_commands) { platform.now = kThursday; }

  // Runs `line` (which names the result variable r) and gives r.
  std::u16string result_of(std::u16string_view line) {
    run_line(line);
    return value(u"r");
  }
  std::string file(std::u16string_view path) {
    const auto found = platform.files.find(std::u16string(path));
    return found == platform.files.end() ? std::string("<none>") : found->second;
  }
};

TEST_F(ClockCommandsTest, TheExampleOfThePart) {
  EXPECT_EQ(result_of(u"YEA>r"), u"2009");
  EXPECT_EQ(result_of(u"MON>r"), u"03");
  EXPECT_EQ(result_of(u"DAY>r"), u"05");
  EXPECT_EQ(result_of(u"HOU>r"), u"14");
  EXPECT_EQ(result_of(u"MIN>r"), u"07");
  EXPECT_EQ(result_of(u"SEC>r"), u"09");
  EXPECT_EQ(result_of(u"DayOfWeek>r"), u"5");
  run_line(u"DAT>C:\\log.txt,text");
  EXPECT_EQ(file(u"C:\\log.txt"), "2009-03-05:14:07:09:123 - text\r\n");
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(ClockCommandsTest, CommandNamesReachTheirCodes) {
  // The long names and the three-letter rule: any name beginning with a code.
  struct Case {
    const char16_t* line;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"GetDate>r", u"3/5/2009"},   {u"GETDATE>r", u"3/5/2009"}, {u"GDT>r", u"3/5/2009"},
      {u"GetTime>r", u"2:07:09 PM"}, {u"gtm>r", u"2:07:09 PM"},   {u"Year>r", u"2009"},
      {u"Month>r", u"03"},           {u"Day>r", u"05"},           {u"DayOfWeek>r", u"5"},
      {u"DOW>r", u"5"},              {u"Hour>r", u"14"},          {u"Minute>r", u"07"},
      {u"Second>r", u"09"},          {u"Sec>r", u"09"},
  };
  for (const Case& c : cases) {
    AssignVariable(run.variables, u"r", u"");
    EXPECT_EQ(result_of(c.line), c.expected) << std::u16string_view(c.line).size();
  }
}

TEST_F(ClockCommandsTest, FieldsAndWeekdaysOverTheCalendar) {
  struct Case {
    LocalTime time;
    const char16_t *year, *month, *day, *hour, *minute, *second, *weekday;
  };
  const Case cases[] = {
      {{2009, 3, 5, 14, 7, 9, 123}, u"2009", u"03", u"05", u"14", u"07", u"09", u"5"},
      {{2000, 1, 1, 0, 0, 0, 0}, u"2000", u"01", u"01", u"00", u"00", u"00", u"7"},       // Saturday
      {{1999, 12, 31, 23, 59, 59, 999}, u"1999", u"12", u"31", u"23", u"59", u"59", u"6"},  // Friday
      {{2024, 2, 29, 12, 0, 0, 0}, u"2024", u"02", u"29", u"12", u"00", u"00", u"5"},     // leap day
      {{2009, 3, 1, 9, 5, 3, 42}, u"2009", u"03", u"01", u"09", u"05", u"03", u"1"},      // Sunday
      {{1601, 1, 1, 1, 2, 3, 4}, u"1601", u"01", u"01", u"01", u"02", u"03", u"2"},       // Monday
      {{9999, 12, 31, 23, 59, 59, 999}, u"9999", u"12", u"31", u"23", u"59", u"59", u"6"},
      {{1900, 3, 1, 10, 10, 10, 10}, u"1900", u"03", u"01", u"10", u"10", u"10", u"5"},   // no 29 February 1900
  };
  for (const Case& c : cases) {
    platform.now = c.time;
    SCOPED_TRACE(c.time.year);
    EXPECT_EQ(result_of(u"YEA>r"), c.year);
    EXPECT_EQ(result_of(u"MON>r"), c.month);
    EXPECT_EQ(result_of(u"DAY>r"), c.day);
    EXPECT_EQ(result_of(u"HOU>r"), c.hour);
    EXPECT_EQ(result_of(u"MIN>r"), c.minute);
    EXPECT_EQ(result_of(u"SEC>r"), c.second);
    EXPECT_EQ(result_of(u"DOW>r"), c.weekday);
  }
}

TEST_F(ClockCommandsTest, TheWholeParameterAsWrittenNamesTheResult) {
  AssignVariable(run.variables, u"x", u"target");
  run_line(u"YEA>%x%");
  EXPECT_EQ(value(u"%x%"), u"2009");  // not resolved
  EXPECT_EQ(value(u"target"), u"<none>");
  run_line(u"MON>a,b");
  EXPECT_EQ(value(u"a,b"), u"03");  // no splitting at commas either

  run_line(u"DAY> d ");
  EXPECT_EQ(value(u" d "), u"05");  // trimmed only with IGNORESPACES
  EXPECT_EQ(value(u"d"), u"<none>");
  AssignVariable(run.variables, u"IGNORESPACES", u"1");
  run_line(u"DAY> d ");
  EXPECT_EQ(value(u"d"), u"05");
}

TEST_F(ClockCommandsTest, GetDateUsesTheShortDateFormat) {
  struct Case {
    const char16_t* format;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"M/d/yyyy", u"3/5/2009"},   {u"d/M/yyyy", u"5/3/2009"},     {u"dd.MM.yyyy", u"05.03.2009"},
      {u"dd/MM/yyyy", u"05/03/2009"}, {u"yyyy-MM-dd", u"2009-03-05"}, {u"d/M/yy", u"5/3/09"},
      {u"dd MMM yyyy", u"05 Mar 2009"},
  };
  for (const Case& c : cases) {
    platform.date_format = c.format;
    EXPECT_EQ(result_of(u"GetDate>r"), c.expected) << std::u16string_view(c.format).size();
  }
}

TEST_F(ClockCommandsTest, GetTimeUsesTheLongTimeFormat) {
  platform.time_format = u"HH:mm:ss";
  EXPECT_EQ(result_of(u"GetTime>r"), u"14:07:09");
  platform.time_format = u"tt h:mm:ss";
  platform.designators = {u"\x4E0A\x5348", u"\x4E0B\x5348"};
  EXPECT_EQ(result_of(u"GetTime>r"), u"\x4E0B\x5348 2:07:09");
}

// The time picture by itself: 12- and 24-hour clocks, designators, quoting, the edges
// of the day.
struct PictureCase {
  LocalTime time;
  const char* picture;  // UTF-8
  const char* expected;
};

constexpr LocalTime at(int hour, int minute, int second) { return {2009, 3, 5, hour, minute, second, 0}; }

TEST(TimePicture, FormatsTheWindowsPictureLetters) {
  const PictureCase cases[] = {
      {at(14, 7, 9), "h:mm:ss tt", "2:07:09 PM"},
      {at(0, 0, 0), "h:mm:ss tt", "12:00:00 AM"},      // midnight
      {at(0, 59, 59), "h:mm:ss tt", "12:59:59 AM"},
      {at(11, 59, 59), "h:mm:ss tt", "11:59:59 AM"},
      {at(12, 0, 0), "h:mm:ss tt", "12:00:00 PM"},     // noon
      {at(12, 30, 5), "hh:mm:ss tt", "12:30:05 PM"},
      {at(13, 0, 1), "hh:mm:ss tt", "01:00:01 PM"},
      {at(23, 59, 59), "h:mm:ss tt", "11:59:59 PM"},
      {at(9, 5, 3), "HH:mm:ss", "09:05:03"},
      {at(0, 0, 0), "HH:mm:ss", "00:00:00"},
      {at(23, 59, 59), "HH:mm:ss", "23:59:59"},
      {at(9, 5, 3), "H:mm:ss", "9:05:03"},
      {at(0, 5, 3), "H:mm:ss", "0:05:03"},
      {at(9, 5, 3), "h:m:s", "9:5:3"},
      {at(14, 7, 9), "hh:mm:ss t", "02:07:09 P"},
      {at(1, 7, 9), "t h:mm", "A 1:07"},
      {at(14, 7, 9), "HH.mm.ss", "14.07.09"},                          // fi-FI
      {at(14, 7, 9), "H' h 'mm' min 'ss' s'", "14 h 07 min 09 s"},    // fr-CA style
      {at(14, 7, 9), "HH'h'mm", "14h07"},
      {at(14, 7, 9), "'o''clock' h", "o'clock 2"},                     // two quotes in quotes: one
      {at(14, 7, 9), "h 'unterminated", "2 unterminated"},
      {at(14, 7, 9), "hhh:mmm:sss ttt", "02:07:09 PM"},                // long runs count as two
      {at(14, 7, 9), "M S T d y", "M S T d y"},                        // not time letters
      {at(14, 7, 9), "HH:mm:ss.fff", "14:07:09.fff"},
      {at(14, 7, 9), "", ""},
      {at(14, 7, 9), "''", ""},
  };
  for (const PictureCase& c : cases) {
    EXPECT_EQ(format_time_picture(c.time, u16(c.picture), TimeDesignators{}), u16(c.expected)) << c.picture;
  }
}

TEST(TimePicture, DesignatorsComeFromTheLocale) {
  const TimeDesignators lower{u"am", u"pm"};
  EXPECT_EQ(format_time_picture(at(0, 0, 0), u"h:mm tt", lower), u"12:00 am");
  EXPECT_EQ(format_time_picture(at(12, 0, 0), u"h:mm t", lower), u"12:00 p");
  // A 24-hour locale may state no designators at all.
  const TimeDesignators none{u"", u""};
  EXPECT_EQ(format_time_picture(at(14, 7, 9), u"H:mm:ss tt", none), u"14:07:09 ");
  EXPECT_EQ(format_time_picture(at(14, 7, 9), u"t", none), u"");
  // "t" takes a whole character, even one outside the basic plane.
  const TimeDesignators wide{u"\U0001F305x", u"\U0001F307y"};
  EXPECT_EQ(format_time_picture(at(14, 7, 9), u"t", wide), u"\U0001F307");
}

TEST(TimePicture, OutOfRangeFieldsStillFormat) {
  EXPECT_EQ(format_time_picture(at(25, 0, 0), u"h tt H", TimeDesignators{}), u"1 AM 25");
  EXPECT_EQ(format_time_picture(at(-1, -5, 0), u"h tt HH:mm", TimeDesignators{}), u"11 PM -01:-05");
  EXPECT_EQ(format_time_picture(at(-2147483647 - 1, 0, 0), u"H", TimeDesignators{}), u"-2147483648");
}

TEST(ClockFormat, FieldsStampsAndWeekdays) {
  EXPECT_EQ(time_stamp_prefix(kThursday), u"14:07:09:123 - ");
  EXPECT_EQ(date_stamp_prefix(kThursday), u"2009-03-05:14:07:09:123 - ");
  EXPECT_EQ(date_stamp_prefix({987, 1, 2, 3, 4, 5, 6}), u"0987-01-02:03:04:05:006 - ");
  EXPECT_EQ(format_year({-5, 1, 1, 0, 0, 0, 0}), u"-0005");
  EXPECT_EQ(format_year({12345, 1, 1, 0, 0, 0, 0}), u"12345");
  EXPECT_EQ(weekday_number(kThursday), 5);
  EXPECT_EQ(weekday_number({1970, 1, 1, 0, 0, 0, 0}), 5);
  // Fields beyond their ranges count on: month 13 of 2008 is January 2009, day 0 of
  // March the last of February, day 32 of January the first of February.
  EXPECT_EQ(weekday_number({2008, 15, 5, 0, 0, 0, 0}), weekday_number(kThursday));
  EXPECT_EQ(weekday_number({2009, 3, 0, 0, 0, 0, 0}), weekday_number({2009, 2, 28, 0, 0, 0, 0}));
  EXPECT_EQ(weekday_number({2009, 1, 32, 0, 0, 0, 0}), weekday_number({2009, 2, 1, 0, 0, 0, 0}));
  EXPECT_EQ(weekday_number({0, 3, 1, 0, 0, 0, 0}), 4);   // 1 March of year 0: a Wednesday
  EXPECT_EQ(weekday_number({-2147483647 - 1, -2147483647 - 1, -2147483647 - 1, 0, 0, 0, 0}) >= 1, true);
}

TEST_F(ClockCommandsTest, StampsAppendToAnExistingFileAndCreateANewOne) {
  platform.files[u"C:\\log.txt"] = "first line\r\n";
  run_line(u"TIM>C:\\log.txt,second");
  run_line(u"DAT>C:\\log.txt,third");
  EXPECT_EQ(file(u"C:\\log.txt"),
            "first line\r\n"
            "14:07:09:123 - second\r\n"
            "2009-03-05:14:07:09:123 - third\r\n");

  platform.now = {2010, 12, 31, 0, 0, 0, 7};
  run_line(u"TIM>C:\\new.txt,made");
  EXPECT_EQ(file(u"C:\\new.txt"), "00:00:00:007 - made\r\n");
  run_line(u"DAT>C:\\new2.txt,made");
  EXPECT_EQ(file(u"C:\\new2.txt"), "2010-12-31:00:00:00:007 - made\r\n");
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(ClockCommandsTest, StampTextKeepsItsCommasAndIsResolved) {
  run_line(u"DAT>C:\\log.txt,a, b,,c,");
  EXPECT_EQ(file(u"C:\\log.txt"), "2009-03-05:14:07:09:123 - a, b,,c,\r\n");

  AssignVariable(run.variables, u"path", u"C:\\vars.txt");
  AssignVariable(run.variables, u"msg", u"x=1, y=2");
  run_line(u"TIM>%path%,%msg% done");
  EXPECT_EQ(file(u"C:\\vars.txt"), "14:07:09:123 - x=1, y=2 done\r\n");
  run_line(u"TIM>path,msg");  // whole-parameter names, as every resolved piece
  EXPECT_EQ(file(u"C:\\vars.txt"), "14:07:09:123 - x=1, y=2 done\r\n14:07:09:123 - x=1, y=2\r\n");
}

TEST_F(ClockCommandsTest, StampLinesAreWrittenInTheAnsiCodePage) {
  run_line(u"TIM>C:\\log.txt,caf\x00e9 \x20AC \x4E2D");
  EXPECT_EQ(file(u"C:\\log.txt"), "14:07:09:123 - caf\xE9 \x80 ?\r\n");  // the fake's code page is 1252
}

TEST_F(ClockCommandsTest, AStampWithoutACommaWritesTheStampAlone) {
  run_line(u"TIM>C:\\log.txt");
  run_line(u"DAT>C:\\log.txt,");
  EXPECT_EQ(file(u"C:\\log.txt"), "14:07:09:123 - \r\n2009-03-05:14:07:09:123 - \r\n");
}

TEST_F(ClockCommandsTest, AFailingAppendIsARuntimeError) {
  platform.answers = {MessageButton::kOk};
  run_line(u"DAT>C:\\nowhere\\log.txt,text", 3);
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].text, u"Line: 3 Cannot write to file C:\\nowhere\\log.txt");
  EXPECT_EQ(platform.dialogs[0].kind, MessageKind::kInformation);
  EXPECT_EQ(platform.dialogs[0].buttons, MessageButtons::kOkAbort);
  EXPECT_EQ(file(u"C:\\nowhere\\log.txt"), "<none>");
  EXPECT_FALSE(process.stop_requested);

  // The path reaches the message as it is, outside ASCII too; Abort stops the macro.
  platform.answers = {MessageButton::kAbort};
  run_line(u"TIM>C:\\n\x00f6where\\log.txt,text", 4);
  ASSERT_EQ(platform.dialogs.size(), 2u);
  EXPECT_EQ(platform.dialogs[1].text, u"Line: 4 Cannot write to file C:\\n\x00f6where\\log.txt");
  EXPECT_TRUE(process.stop_requested);
}

TEST_F(ClockCommandsTest, IgnoreErrorsSilencesAFailingAppend) {
  AssignVariable(run.variables, u"IGNOREERRORS", u"1");
  run_line(u"TIM>C:\\nowhere\\log.txt,text");
  EXPECT_TRUE(platform.dialogs.empty());
  EXPECT_FALSE(process.stop_requested);
}

TEST(ClockCommands, AreAmongTheCoreCommandsAndRunInAScript) {
  CommandTable table;
  register_core_commands(table);
  for (const CommandCode code : {u"GDT"_code, u"GTM"_code, u"YEA"_code, u"MON"_code, u"DAY"_code, u"DOW"_code,
                                 u"HOU"_code, u"MIN"_code, u"SEC"_code, u"TIM"_code, u"DAT"_code}) {
    EXPECT_NE(table.find(code), nullptr);
  }

  FakePlatform platform;
  platform.now = kThursday;
  platform.date_format = u"dd.MM.yyyy";
  platform.time_format = u"HH:mm:ss";
  ProcessState process;
  RunContext run(platform, process);
  ScriptExtensions extensions;
  run.lines = make_lines({"GetDate>d", "GetTime>t", "DayOfWeek>w", "Let>f=C:\\log.txt",
                          "TIM>%f%,%d% %t% day %w%", "Year>y", "DAT>%f%,year %y%"});
  run_loaded_script(run, table, extensions, RunStart{});
  EXPECT_EQ(platform.files[u"C:\\log.txt"],
            "14:07:09:123 - 05.03.2009 14:07:09 day 5\r\n"
            "2009-03-05:14:07:09:123 - year 2009\r\n");
  EXPECT_TRUE(platform.dialogs.empty());
}

}  // namespace
}  // namespace dorovev
