// The three number readers.
#include <gtest/gtest.h>

#include <cmath>

#include "values/number_readers.h"

namespace dorovev {
namespace {

TEST(IntegerOrZero, ReadsDecimalAndHexadecimalKeepingTheLow32Bits) {
  struct Case {
    const char16_t* text;
    std::int32_t value;
  };
  const Case cases[] = {
      {u"42", 42}, {u"  -17", -17}, {u"+8", 8}, {u"007", 7},
      {u"$1F", 31}, {u"x1f", 31}, {u"X10", 16}, {u"0x10", 16}, {u"0XfF", 255}, {u"-$10", -16},
      {u"2147483648", INT32_MIN}, {u"4294967296", 0}, {u"4294967297", 1},   // low 32 bits of 64
      {u"$FFFFFFFF", -1}, {u"$FFFFFFFFFFFFFFFF", -1},
      {u"9223372036854775807", -1}, {u"-9223372036854775808", 0},
      // Nothing reads: 0.
      {u"9223372036854775808", 0}, {u"$10000000000000000", 0}, {u"", 0}, {u"  ", 0}, {u"-", 0},
      {u"$", 0}, {u"0x", 0}, {u"12 ", 0}, {u"1.5", 0}, {u"\t5", 0}, {u"5a", 0}, {u"0x1g", 0}, {u"--1", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read_integer_or_zero(c.text), c.value) << std::u16string_view(c.text).size();
  }
}

TEST(StrictInteger, FailsOutsideTheSigned32BitRange) {
  EXPECT_EQ(read_strict_integer(u"2147483647"), 2147483647);
  EXPECT_EQ(read_strict_integer(u"-2147483648"), INT32_MIN);
  EXPECT_EQ(read_strict_integer(u" $7FFFFFFF"), 2147483647);
  EXPECT_EQ(read_strict_integer(u"-0x80000000"), INT32_MIN);
  EXPECT_FALSE(read_strict_integer(u"2147483648"));
  EXPECT_FALSE(read_strict_integer(u"$80000000"));
  EXPECT_FALSE(read_strict_integer(u""));
  EXPECT_FALSE(read_strict_integer(u"abc"));
  EXPECT_FALSE(read_strict_integer(u"1e3"));
}

TEST(StrictReal, AlwaysUsesThePointAndReadsTheOddForms) {
  struct Case {
    const char16_t* text;
    double value;
  };
  const Case cases[] = {
      {u"1.5", 1.5}, {u"  -2.25", -2.25}, {u"+3", 3}, {u"1.", 1}, {u".5", 0.5}, {u"1e3", 1000},
      {u"2.5E-1", 0.25}, {u"1e+2", 100}, {u".", 0}, {u"E5", 0}, {u"-e5", 0}, {u"1e-400", 0},
      {u"0.001e-330", 0}, {u"1000e-320", 1e-317}, {u"0.0001e309", 1e305},
      {u"123456789012345678901234567890", 1.2345678901234568e29},
  };
  for (const Case& c : cases) {
    const auto value = read_strict_real(c.text);
    ASSERT_TRUE(value.has_value()) << std::u16string_view(c.text).size();
    EXPECT_DOUBLE_EQ(*value, c.value);
  }
  for (const char16_t* text : {u"", u" ", u"+", u"1,5", u"1e", u"e", u"1e+", u"1.5 ", u"1..2", u"0x10", u"1e400", u"0.1e310", u"00099e400",
                               u"inf", u"nan", u"1-"}) {
    EXPECT_FALSE(read_strict_real(text).has_value()) << std::u16string_view(text).size();
  }
}

}  // namespace
}  // namespace dorovev
