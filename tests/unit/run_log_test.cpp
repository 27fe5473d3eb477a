// The log file of a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/dispatch.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "engine/script_extensions.h"
#include "tests/support/fake_platform.h"

namespace dorovev {
namespace {

using testing::FakePlatform;
using testing::make_lines;

class RunLogTest : public ::testing::Test {
 protected:
  RunLogTest() : run(platform, process) {
    register_core_commands(table);
  }

  // Runs a script file named C:\s.scp with the given macro parameters; returns the
  // entries of the log, without their date and time.
  std::vector<std::string> run_logged(std::initializer_list<const char*> lines,
                                      std::u16string parameters = u"LOGFILE=C:\\run.log") {
    run.lines = make_lines(lines);
    RunStart start;
    start.macro_parameters = parameters;
    start.script_name = u"C:\\s.scp";
    run_loaded_script(run, table, extensions, start);
    // Entries end with CR LF; a value holding a line break continues its entry.
    const auto file = platform.files.find(u"C:\\run.log");
    const std::string log = file == platform.files.end() ? std::string() : file->second;
    EXPECT_TRUE(log.empty() || log.ends_with("\r\n"));
    std::vector<std::string> entries;
    const std::string stamp = "1/15/2009 09:05:03:042 - ";
    for (std::size_t start = 0; start < log.size();) {
      const std::size_t end = log.find("\r\n", start);
      const std::string line = log.substr(start, end - start);
      if (line.starts_with(stamp)) {
        entries.push_back(line.substr(stamp.size()));
      } else {
        EXPECT_FALSE(entries.empty());
        if (!entries.empty()) entries.back() += "\r\n" + line;
      }
      start = end + 2;
    }
    return entries;
  }

  FakePlatform platform;
  ProcessState process;
  CommandTable table;
  ScriptExtensions extensions;
  RunContext run;
};

TEST_F(RunLogTest, StartEveryLineAndFinish) {
  const std::vector<std::string> expected = {"Started Macro : C:\\s.scp", "START: Let>y=5", "  END: Let>y=5",
                                             "START: Let>x=5", "  END: Let>x=5", "Finished Macro : C:\\s.scp"};
  EXPECT_EQ(run_logged({"  Let>y=5", "Let>x=%y%"}), expected);
}

TEST_F(RunLogTest, WriteLogFileZeroPausesTheLineEntries) {
  const std::vector<std::string> expected = {"Started Macro : C:\\s.scp", "START: Let>a=1", "  END: Let>a=1",
                                             "START: Let>_WRITE_LOG_FILE=0", "Finished Macro : C:\\s.scp"};
  EXPECT_EQ(run_logged({"Let>a=1", "Let>_WRITE_LOG_FILE=0", "Let>b=2"}), expected);
}

TEST_F(RunLogTest, DumpsListTheNewestVariableFirst) {
  const std::vector<std::string> entries = run_logged({"Let>_DUMP_VARS=1"});
  const auto start = std::find(entries.begin(), entries.end(), "*** START VARIABLES ***");
  ASSERT_NE(start, entries.end());
  EXPECT_EQ(*(start + 1), "_DUMP_VARS=1");
  const auto end = std::find(start, entries.end(), "*** END VARIABLES ***");
  ASSERT_NE(end, entries.end());
  EXPECT_EQ(*(end - 1), "_LINE_NUM=1");
  EXPECT_EQ(end - start - 1, run.variables.count());
}

TEST_F(RunLogTest, AJumpLogsTheLineItFoundAndExitHasNoEndEntry) {
  const std::vector<std::string> expected = {"Started Macro : C:\\s.scp", "START: Goto>there", "  END: Label>there",
                                             "START: Exit>2", "Finished Macro : C:\\s.scp"};
  EXPECT_EQ(run_logged({"Goto>there", "Label>there", "Exit>2"}), expected);
}

TEST_F(RunLogTest, NoLogFileNoEntriesAndAnUnwritableOneIsSilent) {
  run_logged({"Let>a=1"}, u"");
  EXPECT_FALSE(platform.files.count(u"C:\\run.log"));
  run_logged({"Let>a=1"}, u"LOGFILE=C:\\nowhere\\run.log");
  EXPECT_FALSE(platform.files.count(u"C:\\nowhere\\run.log"));
  EXPECT_TRUE(platform.dialogs.empty());
}

}  // namespace
}  // namespace dorovev
