// The main loop and every control-flow line, run as whole scripts.
#include <gtest/gtest.h>

#include <string>

#include "engine/dispatch.h"
#include "engine/interpreter.h"
#include "engine/main_loop.h"
#include "engine/run_context.h"
#include "engine/script_extensions.h"
#include "tests/support/fake_platform.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

using namespace codes;
using testing::FakePlatform;
using testing::make_lines;
using testing::u16;

// A stand-in for the expression evaluator (a fake: the real one is built with the
// expressions): constants and one comparison of two numbers or two quoted texts.
class ComparingEvaluator : public ExpressionEvaluator {
 public:
  std::optional<Text> evaluate(std::u16string_view expression, std::int32_t) override {
    if (expression == u"true") return Text(u"TRUE");
    if (expression == u"false") return Text(u"FALSE");
    for (std::u16string_view op : {u"<>", u"=", u"<", u">"}) {
      const std::size_t at = expression.find(op);
      if (at == std::u16string_view::npos) continue;
      const std::u16string_view left = expression.substr(0, at);
      const std::u16string_view right = expression.substr(at + op.size());
      const auto a = read_strict_real(left);
      const auto b = read_strict_real(right);
      const int order = (a && b) ? (*a < *b ? -1 : *a > *b) : left.compare(right);
      const bool result = op == u"=" ? order == 0 : op == u"<>" ? order != 0 : op == u"<" ? order < 0 : order > 0;
      return Text(result ? u"TRUE" : u"FALSE");
    }
    return std::nullopt;
  }
};

// The one-line tests answer what the test sets.
struct FakeTests : ScriptExtensions {
  bool window = false;
  bool file = false;
  bool changed = false;
  int releases = 0;
  bool window_exists(RunContext&, std::u16string_view) override { return window; }
  bool file_exists(std::u16string_view) override { return file; }
  bool file_changed(RunContext&, std::u16string_view) override { return changed; }
  void release_run_resources() override { ++releases; }
};

class MainLoopTest : public ::testing::Test {
 protected:
  MainLoopTest() : run(platform, process, &evaluator) {
    register_core_commands(table);
    // Log>text appends the resolved text and a `;` to the variable `log`. A script that
    // loops for ever by mistake is stopped once the log grows long, so that it fails
    // instead of hanging.
    table.add(u"LOG"_code, [](RunContext& run, std::u16string_view parameters) {
      const Text before = run.variables.value_of(u"log").value_or(Text());
      AssignVariable(run.variables, u"log", before.str() + run.resolve(parameters).str() + u";");
      if (before.size() > 10000) run.stop_macro();
    });
    table.add(u"STO"_code, [](RunContext& run, std::u16string_view) { run.stop_macro(); });
    run.variables.create_fixed_slots();
  }

  // Each script starts afresh as a run does: no stop request, the pointer at the top.
  void run_script(std::initializer_list<const char*> lines) {
    process.stop_requested = false;
    run.next_line = 0;
    run.lines = make_lines(lines);
    run_main_loop(run, table, tests);
  }
  std::u16string log() { return value(u"log"); }
  std::u16string value(std::u16string_view name) { return run.variables.value_of(name).value_or(Text(u"<none>")).str(); }
  std::vector<std::u16string> dialog_texts() {
    std::vector<std::u16string> texts;
    for (const auto& dialog : platform.dialogs) texts.push_back(dialog.text);
    return texts;
  }

  FakePlatform platform;
  ProcessState process;
  ComparingEvaluator evaluator;
  FakeTests tests;
  CommandTable table;
  RunContext run;
};

TEST_F(MainLoopTest, RunsEveryLineInOrderWithItsNumber) {
  run_script({"Log>%_LINE_NUM%", "Log>%_LINE_NUM%", "Log>%_LINE_NUM%"});
  EXPECT_EQ(log(), u"1;2;3;");
  EXPECT_EQ(tests.releases, 1);
  EXPECT_TRUE(run.lines.empty());
  EXPECT_EQ(run.macro_result, u"%MACRO_RESULT%");  // never set: the text itself
}

TEST_F(MainLoopTest, GotoJumpsAndAMissingLabelEndsTheRun) {
  run_script({"Goto>skip", "Log>never", "Label>skip", "Log>after", "GOT>nowhere", "Log>never"});
  EXPECT_EQ(log(), u"after;");
  EXPECT_EQ(dialog_texts(), std::vector<std::u16string>{u"Line: 5 Error - Label nowhere Not Found!"});
}

TEST_F(MainLoopTest, LabelsInBlockCommentsAreInvisible) {
  run_script({"GOT>x", "/*", "Label>x", "*/", "Log>never"});
  EXPECT_EQ(dialog_texts(), std::vector<std::u16string>{u"Line: 1 Error - Label x Not Found!"});
}

TEST_F(MainLoopTest, LabelNamesFollowIgnoreSpaces) {
  run_script({"GOT>start", "Log>never", "Label>start ", "Log>found"});
  EXPECT_EQ(dialog_texts().size(), 1u);
  platform.dialogs.clear();
  AssignVariable(run.variables, u"log", u"");
  run_script({"Let>IGNORESPACES=1", "GOT>start", "Log>never", "Label>start ", "Log>found"});
  EXPECT_TRUE(platform.dialogs.empty());
  EXPECT_EQ(log(), u"found;");
}

TEST_F(MainLoopTest, RepeatLoopsWithEveryUntilForm) {
  struct Case {
    const char* until;
    const char16_t* log;
  };
  const Case cases[] = {{"Until>i,5", u"1;2;3;4;5;"}, {"Until>i=5", u"1;2;3;4;5;"}, {"Until>i>4", u"1;2;3;4;5;"},
                        {"Until>i>0", u"1;"},         {"Until>i<>3", u"1;"}};
  for (const Case& c : cases) {
    AssignVariable(run.variables, u"log", u"");
    run_script({"Let>i=0", "Repeat>i", "Add>i,1", "Log>%i%", c.until, "Log>end"});
    EXPECT_EQ(log(), std::u16string(c.log) + u"end;") << c.until;
  }
  // Texts compare as texts.
  AssignVariable(run.variables, u"log", u"");
  run_script({"Let>name=Ann", "Let>n=0", "Repeat>name", "Add>n,1", "If>%n%=2", "Let>name=Joe", "EndIf", "Log>%name%",
              "Until>name,Joe"});
  EXPECT_EQ(log(), u"Ann;Joe;");
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(MainLoopTest, AnUntilWithoutItsRepeatStartsOverFromTheTop) {
  AssignVariable(run.variables, u"n", u"0");
  run_script({"Add>n,1", "If>%n%=2,done", "Until>i,5", "Label>done", "Log>%n%"});
  EXPECT_EQ(dialog_texts(), std::vector<std::u16string>{u"Line: 3 Error - Repeat>i Not Found!"});
  EXPECT_EQ(log(), u"2;");
}

TEST_F(MainLoopTest, FalseBlocksAreSkippedCountingNestedOnes) {
  run_script({"Let>x=2", "If>x=1", "Log>a", "If>x=2", "Log>b", "Else", "Log>c", "EndIf",
              "IfFileExists>f", "Log>d", "EndIf", "Else", "Log>e", "EndIf", "Log>f"});
  EXPECT_EQ(log(), u"e;f;");
  AssignVariable(run.variables, u"log", u"");
  run_script({"Let>x=1", "If>x=1", "Log>a", "If>x=2", "Log>b", "Else", "Log>c", "EndIf", "Else", "Log>d", "EndIf"});
  EXPECT_EQ(log(), u"a;c;");
}

TEST_F(MainLoopTest, MissingBlockEndsAreReported) {
  run_script({"If>1=2", "Log>never"});
  run_script({"If>1=1", "Else", "Log>never"});
  EXPECT_EQ(dialog_texts(), (std::vector<std::u16string>{u"Line: 1 Error - missing ELSE/ENDIF",
                                                         u"Line: 2 Error - missing IF/ENDIF"}));
  EXPECT_EQ(log(), u"<none>");
}

TEST_F(MainLoopTest, IfWithLabelsJumpsOrCallsASubroutine) {
  run_script({"Let>x=1", "If>x=1,yes,no", "Label>no", "Log>no", "GOT>end", "Label>yes", "Log>yes", "Label>end"});
  EXPECT_EQ(log(), u"yes;");
  AssignVariable(run.variables, u"log", u"");
  // `done` is no label, so the line calls the subroutine and the run goes on after it.
  run_script({"Let>x=1", "If>x=1,done", "Log>after", "GOT>end", "SRT>done", "Log>in done", "END>done", "Label>end"});
  EXPECT_EQ(log(), u"in done;after;");
  AssignVariable(run.variables, u"log", u"");
  run_script({"If>1=1,nothing", "Log>never"});
  EXPECT_EQ(dialog_texts(), std::vector<std::u16string>{u"Line: 1 Error - Subroutine/Label nothing Not Found!"});
}

TEST_F(MainLoopTest, SubroutinesTakeArgumentsAndReturn) {
  run_script({"GOS>Tell,Hello,,World", "Log>back", "GOT>end", "SRT>Tell", "Log>%Tell_var_1%|%Tell_var_2%|%Tell_var_3%",
              "END>other", "Log>still inside", "END>Tell", "Label>end"});
  EXPECT_EQ(log(), u"Hello||World;still inside;back;");
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(MainLoopTest, RunningIntoASubroutineStepsOverIt) {
  run_script({"Log>a", "SRT>sub", "Log>never", "EndIf", "END>sub", "Log>b", "SRT>open", "Log>never"});
  EXPECT_EQ(log(), u"a;b;");
  EXPECT_EQ(dialog_texts(), std::vector<std::u16string>{u"Line: 7 Error - ENDSUB For Subroutine open Not Found!"});
}

TEST_F(MainLoopTest, SubroutinesRecurse) {
  run_script({"Let>n=0", "GOS>down", "Log>done %n%", "GOT>end", "SRT>down", "Add>n,1", "If>%n%<4,down", "END>down",
              "Label>end"});
  EXPECT_EQ(log(), u"done 4;");
  EXPECT_TRUE(run.subroutines.empty());
}

TEST_F(MainLoopTest, ExitEndsTheRunWithItsCode) {
  run_script({"Let>MACRO_RESULT=ok", "Exit>3", "Log>never"});
  EXPECT_EQ(process.exit_code, 3);
  EXPECT_EQ(run.macro_result, u"ok");
  EXPECT_EQ(tests.releases, 1);
  run_script({"Let>c=x", "EXI>%c%"});
  EXPECT_EQ(process.exit_code, 0);
}

TEST_F(MainLoopTest, AStopRequestEndsTheRunAndItStillFinishes) {
  run_script({"Log>a", "Stop>", "Log>never"});
  EXPECT_EQ(log(), u"a;");
  EXPECT_EQ(tests.releases, 1);
}

TEST_F(MainLoopTest, AbortInAReportStopsBeforeTheNextLine) {
  platform.answers = {MessageButton::kAbort};
  run_script({"CHA>C:\\nowhere", "Log>never"});
  EXPECT_EQ(log(), u"<none>");
  EXPECT_TRUE(process.stop_requested);
}

TEST_F(MainLoopTest, StepDelayWaitsBeforeEveryLine) {
  const std::uint32_t start = platform.ticks;
  run_script({"Let>STEP_DELAY=200", "Log>a", "Log>b"});
  EXPECT_EQ(platform.ticks - start, 400u);
  const std::uint32_t explicit_start = platform.ticks;
  run_script({"Let>VAREXPLICIT=1", "Log>a", "Log>b"});
  EXPECT_EQ(platform.ticks - explicit_start, 200u);  // only before the first line
}

TEST_F(MainLoopTest, OneLineTestsBecomeIfLines) {
  struct Case {
    bool window;
    const char* line;
    const char16_t* log;
  };
  const Case cases[] = {
      {true, "IfWindowOpen>Notepad*,yes,no", u"yes;"}, {false, "IfWindowOpen>Notepad*,yes,no", u"no;yes;"},
      {false, "IfWindowOpen>Notepad*,yes", u"block;next;no;yes;"},  // false without a false label: next line
      {true, "IfWindowOpen>Notepad*", u"block;next;no;yes;"},       // a block
      {false, "IfWindowOpen>Notepad*", u"next;no;yes;"},            // a skipped block
  };
  for (const Case& c : cases) {
    tests.window = c.window;
    AssignVariable(run.variables, u"log", u"");
    run_script({c.line, "Log>block", "EndIf", "Log>next", "Label>no", "Log>no", "Label>yes", "Log>yes"});
    EXPECT_EQ(log(), c.log) << c.line;
  }
  AssignVariable(run.variables, u"log", u"");
  platform.directories.insert(u"C:\\data");
  tests.changed = true;
  run_script({"IfDirExists>C:\\data,d", "Label>d", "IfFileChanged>f,a,c2,x", "Label>c2", "Log>changed"});
  EXPECT_EQ(log(), u"changed;");
}

}  // namespace
}  // namespace dorovev
