// The text the mouse moves and the key wait read: the point of MouseMove> and the key of
// WaitKeyDown>.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "commands/input/lock_wait_key.h"
#include "commands/input/mouse_move_target.h"
#include "engine/run_context.h"
#include "tests/support/fake_platform.h"

namespace dorovev {
namespace {

using testing::FakePlatform;

class MoveTargetTest : public ::testing::Test {
 protected:
  MoveTargetTest() : run(platform, process) {
    run.variables.create_fixed_slots();
    AssignVariable(run.variables, u"x", u"10");
    AssignVariable(run.variables, u"y", u"20");
    AssignVariable(run.variables, u"pair", u"3,4");
  }
  FakePlatform platform;
  ProcessState process;
  RunContext run;
};

TEST_F(MoveTargetTest, TwoWholeNumbersAroundTheLastCommaNameThePoint) {
  struct Case {
    std::u16string parameters;
    std::optional<ScreenPoint> point;
  };
  const Case cases[] = {
      {u"100,200", ScreenPoint{100, 200}},
      {u"%x%,%y%", ScreenPoint{10, 20}},
      {u"-5,$10", ScreenPoint{-5, 16}},
      {u"  7,  8", ScreenPoint{7, 8}},
      {u"2147483647,-2147483648", ScreenPoint{2147483647, -2147483647 - 1}},
      {u"10", std::nullopt},        // no comma: no y
      {u"x", std::nullopt},         // no comma: the name is not even resolved
      {u"a,5", std::nullopt},
      {u"5,", std::nullopt},
      {u",5", std::nullopt},
      {u"1,2,3", std::nullopt},     // the x text is "1,2"
      {u"%pair%,5", std::nullopt},  // resolved before it is read: "3,4"
      {u"1.5,2", std::nullopt},
      {u"2147483648,1", std::nullopt},
      {u"1,2 ", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<ScreenPoint> point = read_move_target(run, c.parameters);
    EXPECT_EQ(point.has_value(), c.point.has_value()) << std::string(c.parameters.begin(), c.parameters.end());
    if (point && c.point) {
      EXPECT_EQ(*point, *c.point);
    }
  }
}

TEST(WaitKeyText, OneCharacterOrAVirtualKeyNumberOrNoKey) {
  using Kind = WaitKey::Kind;
  struct Case {
    std::u16string text;
    WaitKey key;
  };
  const Case cases[] = {
      {u"a", {Kind::kCharacter, u'a', 0}},
      {u"V", {Kind::kCharacter, u'V', 0}},
      {u"\u00e9", {Kind::kCharacter, u'\u00e9', 0}},
      {u"VK27", {Kind::kVirtualKey, 0, 27}},
      {u"vk13", {Kind::kVirtualKey, 0, 13}},
      {u"Vk$1B", {Kind::kVirtualKey, 0, 27}},
      {u"VK255", {Kind::kVirtualKey, 0, 255}},
      {u"VK256", {}},  // beyond the virtual keys
      {u"VK-1", {}},
      {u"VK", {}},
      {u"VKx", {}},
      {u"xyz", {}},
      {u"", {}},
      {u"\U0001F600", {}},  // two code units: not one character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read_wait_key(c.text), c.key) << std::string(c.text.begin(), c.text.end());
  }
}

}  // namespace
}  // namespace dorovev
