// The hand-off by which a program replaces its own file through a copy of itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "container/self_replacement.h"
#include "tests/support/fake_container_system.h"

namespace dorovev {
namespace {

using testing::FakeContainerSystem;
using Started = FakeContainerSystem::Started;

const std::u16string kDirectory = u"C:\\Program Files\\Macros\\";
const std::u16string kProgram = kDirectory + u"macro.exe";
const std::u16string kCopy = kDirectory + u"temp0a0.exe";

struct Scenario {
  FakeContainerSystem system;
  Scenario() {
    system.files[kProgram] = "old program";
    system.current = u"C:\\Users\\ann\\";
  }
  HandOffResult start(const std::u16string& program_path, std::u16string_view argument, HandOffLimits limits = {}) {
    ScriptImage image(system, program_path);
    return perform_start_up_hand_off(system, image, argument, limits);
  }
};

TEST(StartUpHandOff, OnlySetsTheCurrentDirectoryWhenNotAsked) {
  const struct {
    std::u16string program;
    std::u16string argument;
  } cases[] = {
      {kProgram, u""},
      {kProgram, u"/x=5"},
      {kProgram, u"DELTEMP"},      // the argument must be exactly "deltemp"
      {kProgram, u"deltemp "},
      {kDirectory + u"temp0a0.exe.bak", kProgram},
      {kDirectory + u"xtemp0a0.exe", kProgram},
      {kDirectory + u"temp0a0", kProgram},
  };
  for (const auto& c : cases) {
    Scenario scenario;
    scenario.system.files[kCopy] = "copy";
    const HandOffResult result = scenario.start(c.program, c.argument);
    EXPECT_EQ(result.outcome, HandOffOutcome::kNone);
    EXPECT_FALSE(result.ends_program());
    EXPECT_EQ(result.message(), u"");
    EXPECT_EQ(scenario.system.current, kDirectory);
    EXPECT_EQ(scenario.system.files.size(), 2u);
    EXPECT_EQ(scenario.system.delete_calls, 0);
    EXPECT_TRUE(scenario.system.started.empty());
  }
}

TEST(StartUpHandOff, DeltempDeletesTheCopyAndGoesOn) {
  const struct {
    const char* what;
    bool present;
    bool read_only;
    int held;
    std::size_t delays;
  } cases[] = {
      {"present", true, false, 0, 0},
      {"already gone", false, false, 0, 0},
      {"read-only", true, true, 0, 1},
      {"still held by the ending copy", true, false, 25, 25},
      {"read-only and held", true, true, 3, 4},
  };
  for (const auto& c : cases) {
    Scenario scenario;
    if (c.present) scenario.system.files[kCopy] = "copy";
    if (c.read_only) scenario.system.read_only.insert(kCopy);
    if (c.held) scenario.system.held[kCopy] = c.held;
    const HandOffResult result = scenario.start(kProgram, u"deltemp");
    EXPECT_EQ(result.outcome, HandOffOutcome::kCopyDeleted) << c.what;
    EXPECT_EQ(result.path, kCopy) << c.what;
    EXPECT_FALSE(result.ends_program()) << c.what;
    EXPECT_FALSE(scenario.system.files.count(kCopy)) << c.what;
    EXPECT_EQ(scenario.system.files[kProgram], "old program") << c.what;
    EXPECT_EQ(scenario.system.delays, std::vector<std::uint32_t>(c.delays, 10)) << c.what;
    EXPECT_TRUE(scenario.system.started.empty()) << c.what;
  }
}

TEST(StartUpHandOff, GivesUpOnACopyThatCannotBeDeletedAndGoesOn) {
  Scenario scenario;
  scenario.system.files[kCopy] = "copy";
  scenario.system.held[kCopy] = FakeContainerSystem::kForever;
  const HandOffResult result = scenario.start(kProgram, u"deltemp", {.delete_attempts = 40, .retry_milliseconds = 10});
  EXPECT_EQ(result.outcome, HandOffOutcome::kCopyNotDeleted);
  EXPECT_FALSE(result.ends_program());
  EXPECT_EQ(result.message(), u"Cannot delete file \"C:\\Program Files\\Macros\\temp0a0.exe\"");
  EXPECT_EQ(scenario.system.delete_calls, 40);
  EXPECT_EQ(scenario.system.delays.size(), 40u);
  EXPECT_TRUE(scenario.system.files.count(kCopy));
}

TEST(StartUpHandOff, TheCopyReplacesTheFileNamedByItsArgumentAndStartsIt) {
  const struct {
    const char* what;
    std::u16string copy_name;
    bool target_present;
    bool read_only;
    int held;
  } cases[] = {
      {"plain", u"temp0a0.exe", true, false, 0},
      {"name in upper case", u"TEMP0A0.EXE", true, false, 0},
      {"name in mixed case", u"Temp0A0.Exe", true, false, 0},
      {"target read-only", u"temp0a0.exe", true, true, 0},
      {"target still held by the ending program", u"temp0a0.exe", true, false, 100},
      {"target already gone", u"temp0a0.exe", false, false, 0},
  };
  for (const auto& c : cases) {
    Scenario scenario;
    const std::u16string copy = kDirectory + c.copy_name;
    scenario.system.files[copy] = "new program SO!#CDT20240101EO!#CDT";
    if (!c.target_present) scenario.system.files.erase(kProgram);
    if (c.read_only) scenario.system.read_only.insert(kProgram);
    if (c.held) scenario.system.held[kProgram] = c.held;

    ScriptImage image(scenario.system, copy);
    const HandOffResult result = perform_start_up_hand_off(scenario.system, image, kProgram);
    EXPECT_EQ(result.outcome, HandOffOutcome::kReplaced) << c.what;
    EXPECT_EQ(result.path, kProgram) << c.what;
    EXPECT_TRUE(result.ends_program()) << c.what;
    EXPECT_EQ(result.message(), u"") << c.what;
    EXPECT_EQ(scenario.system.files[kProgram], "new program SO!#CDT20240101EO!#CDT") << c.what;
    EXPECT_EQ(image.read_section("cdt"), "20240101") << c.what;
    EXPECT_EQ(scenario.system.started, (std::vector<Started>{{kProgram, u"deltemp"}})) << c.what;
  }
}

TEST(StartUpHandOff, TheCopyReportsWhatStoppedItAndEnds) {
  const struct {
    const char* what;
    std::u16string argument;
    void (*arrange)(FakeContainerSystem&);
    HandOffOutcome outcome;
    std::u16string message;
    const char* target_after;  // nullptr: deleted
  } cases[] = {
      {"no argument", u"", [](FakeContainerSystem&) {}, HandOffOutcome::kNoTarget, u"No file to replace was given",
       "old program"},
      {"own file unreadable", kProgram, [](FakeContainerSystem& system) { system.unreadable.insert(kCopy); },
       HandOffOutcome::kOwnFileUnreadable, u"Cannot open file \"" + kCopy + u"\"", "old program"},
      {"target never lets go", kProgram,
       [](FakeContainerSystem& system) { system.held[kProgram] = FakeContainerSystem::kForever; },
       HandOffOutcome::kTargetNotDeleted, u"Cannot delete file \"" + kProgram + u"\"", "old program"},
      {"target cannot be written", kProgram, [](FakeContainerSystem& system) { system.unwritable.insert(kProgram); },
       HandOffOutcome::kTargetNotWritten, u"Cannot create file \"" + kProgram + u"\"", nullptr},
      {"target cannot be started", kProgram, [](FakeContainerSystem& system) { system.start_fails = true; },
       HandOffOutcome::kTargetNotStarted, u"Cannot start \"" + kProgram + u"\"", "new program"},
  };
  for (const auto& c : cases) {
    Scenario scenario;
    scenario.system.files[kCopy] = "new program";
    c.arrange(scenario.system);
    const HandOffResult result = scenario.start(kCopy, c.argument, {.delete_attempts = 20, .retry_milliseconds = 10});
    EXPECT_EQ(result.outcome, c.outcome) << c.what;
    EXPECT_TRUE(result.ends_program()) << c.what;
    EXPECT_EQ(result.message(), c.message) << c.what;
    EXPECT_TRUE(scenario.system.started.empty()) << c.what;
    // The copy, which holds the new program, is always left in place.
    EXPECT_EQ(scenario.system.files[kCopy], "new program") << c.what;
    const auto target = scenario.system.files.find(kProgram);
    if (c.target_after) {
      ASSERT_NE(target, scenario.system.files.end()) << c.what;
      EXPECT_EQ(target->second, c.target_after) << c.what;
    } else {
      EXPECT_EQ(target, scenario.system.files.end()) << c.what;
    }
  }
}

TEST(BeginSelfReplacement, WritesTheCopyBesideTheProgramAndStartsItWithTheProgramsPath) {
  Scenario scenario;
  ScriptImage image(scenario.system, kProgram);
  image.add_section("cdt", "20240101");
  const HandOffResult result = begin_self_replacement(scenario.system, image);
  EXPECT_EQ(result.outcome, HandOffOutcome::kCopyStarted);
  EXPECT_EQ(result.path, kCopy);
  EXPECT_TRUE(result.ends_program());
  EXPECT_EQ(scenario.system.files[kCopy], "old programSO!#CDT20240101EO!#CDT");
  EXPECT_EQ(scenario.system.files[kProgram], "old program");
  // The path holds a blank; the system side passes it as one argument.
  EXPECT_EQ(scenario.system.started, (std::vector<Started>{{kCopy, kProgram}}));
}

TEST(BeginSelfReplacement, ReportsFailuresAndLetsTheProgramGoOn) {
  const struct {
    const char* what;
    void (*arrange)(FakeContainerSystem&);
    HandOffOutcome outcome;
    std::u16string message;
  } cases[] = {
      {"program unreadable", [](FakeContainerSystem& system) { system.unreadable.insert(kProgram); },
       HandOffOutcome::kProgramNotRead, u"Cannot open file \"" + kProgram + u"\""},
      {"copy cannot be written", [](FakeContainerSystem& system) { system.unwritable.insert(kCopy); },
       HandOffOutcome::kCopyNotWritten, u"Cannot create file \"" + kCopy + u"\""},
      {"copy cannot be started", [](FakeContainerSystem& system) { system.start_fails = true; },
       HandOffOutcome::kCopyNotStarted, u"Cannot start \"" + kCopy + u"\""},
  };
  for (const auto& c : cases) {
    Scenario scenario;
    c.arrange(scenario.system);
    ScriptImage image(scenario.system, kProgram);
    const HandOffResult result = begin_self_replacement(scenario.system, image);
    EXPECT_EQ(result.outcome, c.outcome) << c.what;
    EXPECT_FALSE(result.ends_program()) << c.what;
    EXPECT_EQ(result.message(), c.message) << c.what;
    EXPECT_TRUE(scenario.system.started.empty()) << c.what;
    EXPECT_EQ(scenario.system.files[kProgram], "old program") << c.what;
  }
}

TEST(SelfReplacement, ThreeStartsLeaveTheNewProgramAndNoCopy) {
  FakeContainerSystem system;
  system.files[kProgram] = "old program";

  // 1. The program adds a section and hands over to a copy of itself.
  ScriptImage program(system, kProgram);
  program.add_section("cdt", "20240101");
  ASSERT_EQ(begin_self_replacement(system, program).outcome, HandOffOutcome::kCopyStarted);
  ASSERT_EQ(system.started.size(), 1u);
  // The program takes a moment to end and let go of its file.
  system.held[kProgram] = 5;

  // 2. The copy, started as the shell would start it.
  ScriptImage copy(system, system.started[0].path);
  ASSERT_EQ(perform_start_up_hand_off(system, copy, system.started[0].argument).outcome, HandOffOutcome::kReplaced);
  ASSERT_EQ(system.started.size(), 2u);

  // 3. The program again, with "deltemp".
  ScriptImage restarted(system, system.started[1].path);
  EXPECT_EQ(perform_start_up_hand_off(system, restarted, system.started[1].argument).outcome,
            HandOffOutcome::kCopyDeleted);
  EXPECT_EQ(restarted.read_section("cdt"), "20240101");
  EXPECT_EQ(system.files.size(), 1u);
  EXPECT_EQ(system.files[kProgram], "old programSO!#CDT20240101EO!#CDT");
}

}  // namespace
}  // namespace dorovev
