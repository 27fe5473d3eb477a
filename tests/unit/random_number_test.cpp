// The random-number generator and the RAN command.
#include <gtest/gtest.h>

#include <set>

#include "tests/support/fake_command_services.h"
#include "values/assignment.h"
#include "values/random_number.h"

namespace dorovev {
namespace {

using testing::FakeCommandServices;

TEST(NextRandom, FollowsTheLinearCongruentialSequence) {
  std::uint32_t seed = 0;
  std::vector<std::uint32_t> drawn;
  for (int i = 0; i < 6; ++i) drawn.push_back(next_random(seed, 100));
  EXPECT_EQ(drawn, (std::vector<std::uint32_t>{0, 3, 86, 20, 27, 67}));

  seed = 12345;
  drawn.clear();
  for (int i = 0; i < 4; ++i) drawn.push_back(next_random(seed, 1000));
  EXPECT_EQ(drawn, (std::vector<std::uint32_t>{385, 289, 79, 553}));
}

TEST(NextRandom, ARangeOfZeroGivesZeroAndStillSteps) {
  std::uint32_t seed = 0;
  EXPECT_EQ(next_random(seed, 0), 0u);
  EXPECT_EQ(seed, 1u);
  EXPECT_EQ(next_random(seed, 0), 0u);
  EXPECT_EQ(seed, 134775814u);
}

TEST(NextRandom, StaysBelowTheRangeAndReachesAllOfIt) {
  std::uint32_t seed = 99;
  std::set<std::uint32_t> seen;
  for (int i = 0; i < 1000; ++i) {
    const std::uint32_t number = next_random(seed, 7);
    ASSERT_LT(number, 7u);
    seen.insert(number);
  }
  EXPECT_EQ(seen.size(), 7u);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(next_random(seed, 1), 0u);
}

class RandomCommandTest : public ::testing::Test {
 protected:
  RandomCommandTest() : table(nullptr, nullptr) {
    table.create_fixed_slots();
    AssignVariable(table, u"n", u"10");
  }
  std::u16string value(std::u16string_view name) const {
    const auto found = table.value_of(name);
    return found ? found->str() : u"<unset>";
  }

  FakeCommandServices services;
  tVarArray table;
};

TEST_F(RandomCommandTest, StoresTheNextNumberBelowTheRange) {
  services.seed = 5;
  random_command(table, u"10,r", services);
  EXPECT_EQ(value(u"r"), u"1");
  random_command(table, u"%n%,r", services);
  EXPECT_EQ(value(u"r"), u"1");
  random_command(table, u"n,r", services);
  EXPECT_EQ(value(u"r"), u"5");
  random_command(table, u"none,r", services);
  EXPECT_EQ(value(u"r"), u"0");
  EXPECT_TRUE(services.quiet());
}

TEST_F(RandomCommandTest, ANegativeRangeGivesASigned32BitNumber) {
  services.seed = 5;
  const std::u16string expected[] = {u"673879065", u"771902594", u"-1852372337"};
  for (const std::u16string& number : expected) {
    random_command(table, u"-1,r", services);
    EXPECT_EQ(value(u"r"), number);
  }
}

TEST_F(RandomCommandTest, WithoutAResultNameNothingIsDrawn) {
  services.seed = 5;
  random_command(table, u"10", services);
  random_command(table, u"10,", services);
  EXPECT_EQ(services.seed, 5u);
  EXPECT_EQ(table.value_of(u""), std::nullopt);
}

TEST_F(RandomCommandTest, LetRndSeedRestartsTheSequence) {
  let_command(table, u"RND_SEED=42", services);
  std::vector<std::u16string> first;
  for (int i = 0; i < 5; ++i) {
    random_command(table, u"1000,r", services);
    first.push_back(value(u"r"));
  }
  let_command(table, u"RND_SEED=42", services);
  for (const std::u16string& number : first) {
    random_command(table, u"1000,r", services);
    EXPECT_EQ(value(u"r"), number);
  }
}

}  // namespace
}  // namespace dorovev
