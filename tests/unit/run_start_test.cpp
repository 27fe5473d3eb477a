// Preparing a run: the variables every script finds set, macro parameters, LOGFILE.
#include <gtest/gtest.h>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "engine/script_extensions.h"
#include "engine/value_commands.h"
#include "tests/support/fake_platform.h"

namespace dorovev {
namespace {

using testing::FakePlatform;

RunStart with_parameters(std::u16string parameters, std::u16string inherited_log_file = {}) {
  RunStart start;
  start.macro_parameters = std::move(parameters);
  start.inherited_log_file = std::move(inherited_log_file);
  return start;
}

class RunStartTest : public ::testing::Test {
 protected:
  RunStartTest() : run(platform, process) { register_value_commands(table); }
  std::u16string value(std::u16string_view name) { return run.variables.value_of(name).value_or(Text(u"<none>")).str(); }
  std::vector<std::u16string> names() {
    std::vector<std::u16string> all;
    for (std::int32_t i = 0; i < run.variables.count(); ++i) all.push_back(run.variables.entry(i).Name.str());
    return all;
  }

  FakePlatform platform;
  ProcessState process;
  CommandTable table;
  ScriptExtensions extensions;
  RunContext run;
};

TEST_F(RunStartTest, ExtensionsPrepareTheirPartsInOrder) {
  struct Recorder : ScriptExtensions {
    RunContext* run = nullptr;
    std::vector<std::string> steps;
    void note(const char* step) { steps.push_back(step + std::string(" ") + std::to_string(run->variables.count())); }
    void load_text_capture() override { note("text capture"); }
    void create_script_control() override { note("script control"); }
    void put_screen_saver_away() override { note("screen saver"); }
    void read_imports_folder() override { note("imports"); }
  } recorder;
  recorder.run = &run;
  platform.run_indicator = false;
  prepare_run(run, table, recorder, RunStart{});
  // The first three come before any variable but the fixed slots; the imports come last.
  const std::string all = std::to_string(run.variables.count());
  EXPECT_EQ(recorder.steps,
            (std::vector<std::string>{"text capture 0", "script control 0", "screen saver 3", "imports " + all}));
  EXPECT_TRUE(platform.run_indicator);
}

TEST_F(RunStartTest, CreatesTheSystemVariablesInTheirOrder) {
  process.stop_requested = true;
  prepare_run(run, table, extensions, RunStart{});
  EXPECT_FALSE(process.stop_requested);
  const std::vector<std::u16string> expected = {
      u"_LINE_NUM", u"VAREXPLICIT", u"IGNORESPACES", u"CWD", u"OS_VER", u"WIN_DIR", u"SYS_DIR", u"TEMP_DIR",
      u"USERDOCUMENTS_DIR", u"DESKTOP_DIR", u"LF", u"CR", u"CRLF", u"TAB", u"SPACE", u"USER_NAME",
      u"COMPUTER_NAME", u"MSG_STAYONTOP", u"SK_DELAY", u"CF_OVERWRITE", u"WF_TYPE", u"GAW_TYPE", u"MSG_HEIGHT",
      u"MSG_WIDTH", u"MSG_XPOS", u"MSG_YPOS", u"RND_SEED", u"DOROVEV_VER", u"MACRO_PARMS", u"COMMAND_LINE",
      u"SCRIPT_FILE", u"SCRIPT_DIR"};
  EXPECT_EQ(names(), expected);
  struct Case {
    const char16_t* name;
    const char16_t* value;
  };
  const Case cases[] = {
      {u"CWD", u"C:\\"}, {u"TEMP_DIR", u"C:\\Temp\\"}, {u"WIN_DIR", u"C:\\Windows"}, {u"LF", u"\n"},
      {u"CRLF", u"\r\n"}, {u"SPACE", u" "}, {u"WF_TYPE", u"1"}, {u"MSG_WIDTH", u"273"}, {u"RND_SEED", u"12345"},
      {u"DOROVEV_VER", u"11.0.32"}, {u"MACRO_PARMS", u""}, {u"SCRIPT_DIR", u"C:\\Program Files"},
      // A command line holds operator characters; Let keeps such text as it stands.
      {u"COMMAND_LINE", u"\"C:\\Program Files\\dorovev.exe\" -RUN a.scp"},
  };
  for (const Case& c : cases) EXPECT_EQ(value(c.name), c.value) << std::u16string_view(c.name).size();
  EXPECT_EQ(process.random_seed, 12345u);
  EXPECT_FALSE(run.logging);
}

TEST_F(RunStartTest, MacroParametersBecomeVariables) {
  struct Case {
    const char16_t* parameters;
    std::vector<std::pair<const char16_t*, const char16_t*>> variables;
  };
  const Case cases[] = {
      {u"a=1 /b=2 /c=3", {{u"a", u"1"}, {u"b", u"2"}, {u"c", u"3"}}},
      {u"x=5 /name=Joe", {{u"x", u"5"}, {u"name", u"Joe"}}},
      {u"a=1/b=2", {{u"a", u"1/b=2"}}},  // no blank before the slash: one piece
      {u"0", {{u"MACRO_PARMS", u"0"}}},
  };
  for (const Case& c : cases) {
    FakePlatform fresh_platform;
    RunContext fresh(fresh_platform, process);
    prepare_run(fresh, table, extensions, with_parameters(c.parameters));
    for (const auto& [name, expected] : c.variables) {
      EXPECT_EQ(fresh.variables.value_of(name), Text(expected)) << std::u16string_view(c.parameters).size();
    }
  }
}

TEST_F(RunStartTest, ALogFileVariableSwitchesLoggingOn) {
  prepare_run(run, table, extensions, with_parameters(u"LOGFILE=C:\\run.log"));
  EXPECT_TRUE(run.logging);
  EXPECT_EQ(run.log_file, u"C:\\run.log");

  platform.arguments = {u"/LOGFILE=C:\\arg.log"};
  RunContext from_argument(platform, process);
  prepare_run(from_argument, table, extensions, RunStart{});
  EXPECT_EQ(from_argument.log_file, u"C:\\arg.log");

  platform.arguments.clear();
  RunContext nested(platform, process);
  prepare_run(nested, table, extensions, with_parameters(u"0", u"C:\\caller.log"));
  EXPECT_TRUE(nested.logging);
  EXPECT_EQ(nested.log_file, u"C:\\caller.log");
}

}  // namespace
}  // namespace dorovev
