// Dispatch, the runtime-error report and the dispatcher's own commands.
#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/dispatch.h"
#include "engine/dispatcher_commands.h"
#include "engine/run_context.h"
#include "tests/support/fake_platform.h"
#include "tests/support/script_line_test.h"

namespace dorovev {
namespace {

using namespace codes;
using testing::FakePlatform;
using testing::make_lines;

class DispatchTest : public testing::ScriptLineTest {
 protected:
  DispatchTest() : ScriptLineTest(register_dispatcher_commands) {}
};

TEST_F(DispatchTest, UnknownCodesDoNothing) {
  run_line(u"Foo>1");
  run_line(u"// comment");
  run_line(u"Label>start");
  EXPECT_TRUE(platform.dialogs.empty());
  EXPECT_FALSE(process.stop_requested);
}

TEST_F(DispatchTest, CodesAreUniqueAndFoundDirectly) {
  EXPECT_EQ(table.find(u"WAI"_code) != nullptr, true);
  EXPECT_EQ(table.find(u"WWO"_code), nullptr);
  EXPECT_EQ(table.find(CommandCode()), nullptr);
  EXPECT_THROW(table.add(u"WAI"_code, [](RunContext&, std::u16string_view) {}), std::logic_error);
}

TEST_F(DispatchTest, KeepsCwdCurrent) {
  run_line(u"Foo>1");
  EXPECT_EQ(value(u"CWD"), u"C:\\");
  platform.directories.insert(u"C:\\work");
  run_line(u"ChangeDirectory>C:\\work");
  EXPECT_EQ(value(u"CWD"), u"C:\\");  // the refresh happens before each command
  run_line(u"Foo>1");
  EXPECT_EQ(value(u"CWD"), u"C:\\work");
}

TEST_F(DispatchTest, RuntimeErrorsNameTheLineAndAbortStops) {
  platform.answers = {MessageButton::kOk};
  run_line(u"CHA>C:\\nowhere", 7);
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].text, u"Line: 7 Directory C:\\nowhere Does Not Exist.");
  EXPECT_EQ(platform.dialogs[0].kind, MessageKind::kWarning);
  EXPECT_EQ(platform.dialogs[0].buttons, MessageButtons::kOkAbort);
  EXPECT_FALSE(process.stop_requested);

  platform.answers = {MessageButton::kAbort};
  run_line(u"CHA>C:\\nowhere", 8);
  EXPECT_TRUE(process.stop_requested);
}

TEST_F(DispatchTest, IgnoreErrorsSilencesReports) {
  AssignVariable(run.variables, u"IGNOREERRORS", u"1");
  run_line(u"CHA>C:\\nowhere", 7);
  EXPECT_TRUE(platform.dialogs.empty());
  AssignVariable(run.variables, u"IGNOREERRORS", u"yes");  // only "1" silences
  run_line(u"CHA>C:\\nowhere", 7);
  EXPECT_EQ(platform.dialogs.size(), 1u);
}

TEST_F(DispatchTest, AnEscapingExceptionBecomesAReportAndTheRunGoesOn) {
  table.add(u"BOO"_code, [](RunContext&, std::u16string_view) { throw std::runtime_error("disk on fire"); });
  run_line(u"Boom>x", 3);
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].text, u"Line: 3 disk on fire");
  EXPECT_FALSE(process.stop_requested);
}

TEST_F(DispatchTest, WaitWaitsTheSecondsAndEndsOnAStopRequest) {
  struct Case {
    const char16_t* line;
    std::uint32_t milliseconds;
  };
  const Case cases[] = {{u"Wait>1.25", 1250}, {u"Wait>0.5", 500}, {u"Wait>0", 0}, {u"Wait>abc", 0}, {u"Wait>-3", 0},
                        {u"Wait>0.0004", 0}, {u"Wait>0.0006", 1}};
  for (const Case& c : cases) {
    const std::uint32_t start = platform.ticks;
    run_line(c.line);
    EXPECT_EQ(platform.ticks - start, c.milliseconds) << std::u16string_view(c.line).size();
  }
  AssignVariable(run.variables, u"delay", u"2");
  const std::uint32_t start = platform.ticks;
  run_line(u"Wait>%delay%");
  EXPECT_EQ(platform.ticks - start, 2000u);

  // The stop hotkey arrives as a message during the wait.
  platform.on_pump = [&] {
    if (platform.ticks - start > 2100) process.stop_requested = true;
  };
  run_line(u"Wait>3600");
  EXPECT_LT(platform.ticks - start, 2200u);
}

TEST_F(DispatchTest, WaitReadyWaitsForQuietSecondsOfItsKind) {
  struct Case {
    const char16_t* line;
    std::uint32_t input_quiet_for;  // milliseconds before the line
    std::uint32_t painted_ago;      // milliseconds before the line
    std::uint32_t waited;           // by the fake clock, to the 10 ms step
  };
  const Case cases[] = {
      {u"WaitReady>0", 0, 0, 2000},      {u"WaitReady>", 1500, 0, 500},     {u"WaitReady>0", 5000, 0, 0},
      {u"WaitReady>1", 0, 0, 10000},     {u"WaitReady>1", 9000, 4000, 6000}, {u"WaitReady>1", 12000, 12000, 0},
      {u"WaitReady>%one%", 9000, 9000, 1000},
  };
  AssignVariable(run.variables, u"one", u"1");
  for (const Case& c : cases) {
    platform.input_reset_at = platform.ticks - c.input_quiet_for;
    platform.paint_reset_at = platform.ticks - c.painted_ago;
    platform.run_indicator = true;
    const std::uint32_t start = platform.ticks;
    run_line(c.line);
    const std::uint32_t waited = platform.ticks - start;
    EXPECT_GE(waited, c.waited) << std::u16string_view(c.line).size();
    EXPECT_LT(waited, c.waited + 20) << std::u16string_view(c.line).size();
    EXPECT_TRUE(platform.run_indicator);  // switched off for a painting wait, then on again
    EXPECT_FALSE(platform.foreground_input_attached);
  }

  // A wait for painting to stop ends on a stop request; the wait for input does not look.
  platform.input_reset_at = platform.paint_reset_at = platform.ticks;
  bool indicator_during_wait = true;
  platform.on_pump = [&] {
    indicator_during_wait = platform.run_indicator;
    process.stop_requested = true;
  };
  std::uint32_t start = platform.ticks;
  run_line(u"WaitReady>1");
  EXPECT_LT(platform.ticks - start, 20u);
  EXPECT_FALSE(indicator_during_wait);
  platform.input_reset_at = platform.ticks;
  start = platform.ticks;
  run_line(u"WaitReady>0");
  EXPECT_GE(platform.ticks - start, 2000u);

  // Nothing to wait for while one of our own windows is in the foreground.
  process.stop_requested = false;
  platform.on_pump = nullptr;
  platform.foreground_own = true;
  const int attachments = platform.foreground_attachments;
  start = platform.ticks;
  run_line(u"WaitReady>1");
  EXPECT_EQ(platform.ticks, start);
  EXPECT_EQ(platform.foreground_attachments, attachments);
}

TEST_F(DispatchTest, DirectoriesAreCreatedAndChanged) {
  run_line(u"CreateDir>C:\\new");
  EXPECT_TRUE(platform.directories.count(u"C:\\new"));
  run_line(u"CreateDir>C:\\new");  // already there: silent
  run_line(u"ChangeDirectory>C:\\new");
  EXPECT_EQ(platform.current, u"C:\\new");
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(DispatchTest, AssTestsVariablesAndArguments) {
  platform.arguments = {u"/user=ann"};
  RunContext with_arguments(platform, process);
  with_arguments.variables.create_fixed_slots();
  AssignVariable(with_arguments.variables, u"X", u"1");
  struct Case {
    const char16_t* line;
    const char16_t* result;
  };
  const Case cases[] = {{u"Assigned>x,res", u"TRUE"}, {u"ASS>nosuch,res", u"FALSE"}, {u"ASS>USER,res", u"TRUE"},
                        {u"ASS>%x%,res", u"FALSE"}};
  for (const Case& c : cases) {
    const AnalysedLine analysed = split_line(c.line);
    dispatch(with_arguments, table, analysed.code, analysed.parameters);
    EXPECT_EQ(with_arguments.variables.value_of(u"res"), Text(c.result)) << std::u16string_view(c.line).size();
  }
}

TEST_F(DispatchTest, RgbKeepsTheLowByteOfEachChannel) {
  AssignVariable(run.variables, u"b", u"255");
  struct Case {
    const char16_t* line;
    const char16_t* colour;
  };
  const Case cases[] = {{u"RGB>0,0,255,c", u"16711680"}, {u"RGB>300,0,0,c", u"44"}, {u"RGB>255,255,255,c", u"16777215"},
                        {u"RGB>x,-1,%b%,c", u"16776960"}, {u"RGB>1,2,3,c", u"197121"}};
  for (const Case& c : cases) {
    run_line(c.line);
    EXPECT_EQ(value(u"c"), c.colour);
  }
}

TEST_F(DispatchTest, ExportWritesTheDecodedBlock) {
  run.lines = make_lines({"EXP>logo,%out%", "logo:", "48656C6C6F", "", "empty:", "", "x"});
  AssignVariable(run.variables, u"out", u"C:\\logo.bin");
  export_data_block(run, u"logo,%out%");
  EXPECT_EQ(platform.files[u"C:\\logo.bin"], "Hello");
  export_data_block(run, u"empty,C:\\empty.bin");
  export_data_block(run, u"nosuch,C:\\none.bin");
  EXPECT_FALSE(platform.files.count(u"C:\\empty.bin"));
  EXPECT_FALSE(platform.files.count(u"C:\\none.bin"));
}

}  // namespace
}  // namespace dorovev
