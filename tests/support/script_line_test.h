// A fixture for command tests: a run on the fake platform with a command table, driven one
// script line at a time as the main loop hands lines to the dispatcher.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/dispatch.h"
#include "engine/line_analysis.h"
#include "engine/process_state.h"
#include "engine/run_context.h"
#include "tests/support/fake_platform.h"

namespace dorovev::testing {

class ScriptLineTest : public ::testing::Test {
 protected:
  // `register_commands` fills the table with the commands under test.
  explicit ScriptLineTest(void (*register_commands)(CommandTable&)) : run(platform, process) {
    run.variables.create_fixed_slots();
    register_commands(table);
  }

  // Runs one line as the main loop hands it over, numbered as line `number`.
  void run_line(std::u16string_view line, std::int32_t number = 1) {
    run.variables.set_line_number(number);
    const AnalysedLine analysed = split_line(line);
    dispatch(run, table, analysed.code, analysed.parameters);
  }
  // The variable's value, or "<none>" when it does not exist.
  std::u16string value(std::u16string_view name) const {
    return run.variables.value_of(name).value_or(Text(u"<none>")).str();
  }

  FakePlatform platform;
  ProcessState process;
  RunContext run;
  CommandTable table;
};

}  // namespace dorovev::testing
