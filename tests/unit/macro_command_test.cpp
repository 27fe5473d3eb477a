// `Macro>`: nested runs of other script files, their parameters and results.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dispatch.h"
#include "engine/interpreter.h"
#include "engine/macro_command.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "engine/script_extensions.h"
#include "tests/support/fake_platform.h"

namespace dorovev {
namespace {

using testing::FakePlatform;

class MacroCommandTest : public ::testing::Test {
 protected:
  MacroCommandTest() { register_core_commands(table); }

  void file(const char16_t* path, const char* script) { platform.files[path] = script; }

  // Runs `script` as the top-level run; gives the caller's variable `name` afterwards.
  void run_main(const char* script) {
    run.lines = split_lines(platform.ansi_to_text(script));
    run_loaded_script(run, table, extensions, RunStart{});
  }
  std::u16string value(std::u16string_view name) {
    // The finished run keeps its variables.
    return run.variables.value_of(name).value_or(Text(u"<none>")).str();
  }
  std::vector<std::u16string> dialog_texts() {
    std::vector<std::u16string> texts;
    for (const auto& dialog : platform.dialogs) texts.push_back(dialog.text);
    return texts;
  }

  FakePlatform platform;
  ProcessState process;
  CommandTable table;
  ScriptExtensions extensions;
  RunContext run{platform, process};
};

TEST_F(MacroCommandTest, AChainOfThreeScriptsPassesParametersAndResults) {
  file(u"C:\\jobs\\second.scp",
       "Assigned>first_only,seen\n"
       "Macro>C:\\jobs\\third.scp /n={%n%+1} /tag=%tag%\n"
       "Let>MACRO_RESULT=%MACRO_RESULT%+%n%-%seen%\n");
  file(u"C:\\jobs\\third.scp", "Let>MACRO_RESULT=third:%n%:%tag%:%MACRO_PARMS%");
  run_main(
      "Let>first_only=secret\n"
      "Macro>C:\\jobs\\second.scp /n=3 /tag=x\n"
      "Let>after=%MACRO_RESULT%\n"
      "Let>still=%first_only%\n");
  // The parameters are resolved as one text: the braces reach the third run whole.
  EXPECT_EQ(value(u"after"), u"third:4:x:n={3+1} /tag=x+3-FALSE");
  EXPECT_EQ(value(u"still"), u"secret");  // the caller's variables are its own
  EXPECT_EQ(value(u"n"), u"<none>");      // and the called script's vanish
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(MacroCommandTest, ANameWithoutTheExtensionIsLookedForBesideTheProgram) {
  file(u"C:\\Program Files\\report.scp", "Let>MACRO_RESULT=%MACRO_PARMS%;%SCRIPT_FILE%");
  file(u"C:\\Program Files\\silent.scp", "Let>x=1");
  run_main("Macro>report\nLet>one=%MACRO_RESULT%\nMacro> silent / a=1\nLet>two=%MACRO_RESULT%");
  EXPECT_EQ(value(u"one"), u"0;C:\\Program Files\\dorovev.exe");  // no "/": the parameters are "0"
  EXPECT_EQ(value(u"two"), u"%MACRO_RESULT%");                     // never set by the called script
}

TEST_F(MacroCommandTest, AMissingFileIsReportedUnlessErrorsAreIgnored) {
  run_main("Let>MACRO_RESULT=before\nMacro>none\nLet>IGNOREERRORS=1\nMacro>gone.scp\nLet>after=%MACRO_RESULT%");
  EXPECT_EQ(dialog_texts(), std::vector<std::u16string>{u"Line: 2 Macro, C:\\Program Files\\none.scp, specified in "
                                                        u"Macro> command Does Not Exist"});
  EXPECT_EQ(value(u"after"), u"before");
}

TEST_F(MacroCommandTest, ExitEndsOnlyTheCalledRunAndAbortEndsBoth) {
  file(u"C:\\exits.scp", "Let>MACRO_RESULT=early\nExit>7\nLet>MACRO_RESULT=late");
  run_main("Macro>C:\\exits.scp\nLet>after=%MACRO_RESULT%");
  EXPECT_EQ(value(u"after"), u"early");
  EXPECT_EQ(process.exit_code, 7);

  // An error in the called script carries its own line number; Abort stops the caller too.
  file(u"C:\\fails.scp", "Let>x=1\nGoto>nowhere\nLet>never=1");
  platform.answers = {MessageButton::kAbort};
  RunContext second(platform, process);
  second.lines = split_lines(u"Macro>C:\\fails.scp\nLet>reached=1");
  run_loaded_script(second, table, extensions, RunStart{});
  EXPECT_EQ(platform.dialogs.back().text, u"Line: 2 Error - Label nowhere Not Found!");
  EXPECT_FALSE(second.variables.value_of(u"reached").has_value());
}

TEST_F(MacroCommandTest, AnUnreadableFileEndsTheCalledRunWithAnEmptyResult) {
  file(u"C:\\locked.scp", "Let>x=1");
  platform.unreadable.push_back(u"C:\\locked.scp");
  run_main("Let>MACRO_RESULT=before\nMacro>C:\\locked.scp\nLet>after=[%MACRO_RESULT%]");
  EXPECT_EQ(dialog_texts(), std::vector<std::u16string>{u"Error Attempting to Read : C:\\locked.scp"});
  EXPECT_EQ(value(u"after"), u"[]");
}

TEST_F(MacroCommandTest, TheCalledRunLogsWhereItsCallerLogs) {
  file(u"C:\\inner.scp", "Let>x=1");
  run_main("Let>_WRITE_LOG_FILE=0\nMacro>C:\\inner.scp /LOGFILE=C:\\own.log");
  EXPECT_EQ(platform.files.count(u"C:\\own.log"), 1u);  // its own LOGFILE switches logging on for it

  platform.files.erase(u"C:\\own.log");
  RunStart logging;
  logging.macro_parameters = u"LOGFILE=C:\\caller.log";
  RunContext caller(platform, process);
  caller.lines = split_lines(u"Macro>C:\\inner.scp");
  run_loaded_script(caller, table, extensions, logging);
  const std::string log = platform.files[u"C:\\caller.log"];
  EXPECT_NE(log.find("Started Macro : C:\\inner.scp"), std::string::npos);
  EXPECT_NE(log.find("Finished Macro : C:\\inner.scp"), std::string::npos);
}

TEST_F(MacroCommandTest, AScriptCallingItselfStopsAtTheNestingBound) {
  file(u"C:\\self.scp", "Macro>C:\\self.scp");
  platform.answers = {};  // every report is answered OK
  run_main("Let>IGNOREERRORS=0\nMacro>C:\\self.scp\nLet>after=%MACRO_RESULT%");
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_NE(platform.dialogs[0].text.find(u"nested too deeply"), std::u16string::npos);
  EXPECT_EQ(process.macro_nesting, 0);
}

}  // namespace
}  // namespace dorovev
