// The general and two-decimal number formats and the locale number reader.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "values/number_format.h"

namespace dorovev {
namespace {

// The expected texts are ASCII; the formats give UTF-16.
std::u16string u16(const char* ascii) { return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii)); }

TEST(GeneralFormat, FifteenSignificantDigitsWithoutTrailingZeros) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"}, {-0.0, "0"}, {7, "7"}, {-5, "-5"}, {100, "100"}, {0.5, "0.5"}, {2.5, "2.5"},
      {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"}, {2.0 / 3, "0.666666666666667"},
      {-1.0 / 3, "-0.333333333333333"}, {123456.789, "123456.789"}, {1e14, "100000000000000"},
      {12345678901234.5, "12345678901234.5"}, {123456789012345.6, "123456789012346"},
      {999999999999999, "999999999999999"}, {0.0001, "0.0001"}, {0.00012, "0.00012"},
      {-0.0001, "-0.0001"}, {1.2345678901234567e-4, "0.000123456789012346"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_general(c.value, u'.'), u16(c.text)) << c.text;
}

TEST(GeneralFormat, ScientificBeyondFifteenIntegerDigitsAndBelowOneTenThousandth) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {1e15, "1E15"}, {-1e15, "-1E15"}, {1.5e-5, "1.5E-5"}, {1e-5, "1E-5"}, {-2.25e-7, "-2.25E-7"},
      {123456789012345678.0, "1.23456789012346E17"}, {1e100, "1E100"},
      {std::numeric_limits<double>::max(), "1.79769313486232E308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      // The choice of notation follows the value as rounded to 15 digits.
      {999999999999999.9, "1E15"}, {0.00009999999999999999, "0.0001"}, {0.0000999999999999999, "9.99999999999999E-5"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_general(c.value, u'.'), u16(c.text)) << c.text;
}

TEST(GeneralFormat, UsesTheGivenSeparatorInBothNotations) {
  EXPECT_EQ(format_general(2.5, u','), u"2,5");
  EXPECT_EQ(format_general(-1234.5, u','), u"-1234,5");
  EXPECT_EQ(format_general(0.0005, u','), u"0,0005");
  EXPECT_EQ(format_general(-1.5e-5, u','), u"-1,5E-5");
  EXPECT_EQ(format_general(3, u','), u"3");
}

TEST(GeneralFormat, NeverWritesInfinityOrNotANumber) {
  EXPECT_EQ(format_general(std::numeric_limits<double>::infinity(), u'.'), u"");
  EXPECT_EQ(format_general(-std::numeric_limits<double>::infinity(), u'.'), u"");
  EXPECT_EQ(format_general(std::numeric_limits<double>::quiet_NaN(), u'.'), u"");
  EXPECT_EQ(format_two_decimals(std::numeric_limits<double>::infinity()), u"");
  EXPECT_EQ(format_two_decimals(std::numeric_limits<double>::quiet_NaN()), u"");
}

TEST(TwoDecimalFormat, TwoDecimalsOnlyWhenThereIsAFraction) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {2.5, "2.50"}, {3, "3"}, {1.5, "1.50"}, {-2.5, "-2.50"}, {0.1 + 0.2, "0.30"}, {2.999, "3.00"},
      {-0.001, "0.00"}, {0, "0"}, {-0.0, "0"}, {-7, "-7"}, {1e20, "100000000000000000000"},
      {1.004, "1.00"}, {0.125, "0.13"}, {-0.125, "-0.13"}, {0.375, "0.38"}, {2.625, "2.63"},
      {1.005, "1.00"},  // just below the half in binary
      {1234567.891, "1234567.89"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_two_decimals(c.value), u16(c.text)) << c.text;
}

TEST(LocaleReader, ReadsWithTheGivenSeparatorOnly) {
  struct Case {
    const char16_t* text;
    char16_t separator;
    double value;
  };
  const Case cases[] = {
      {u"2,5", u',', 2.5}, {u" -1,5e2 ", u',', -150}, {u",5", u',', 0.5}, {u"5,", u',', 5}, {u"+3", u',', 3},
      {u"2.5", u'.', 2.5}, {u"7 ", u'.', 7}, {u"1E-2", u'.', 0.01}, {u"1e+2", u'.', 100}, {u"1e-400", u'.', 0},
  };
  for (const Case& c : cases) {
    const auto value = read_locale_real(c.text, c.separator);
    ASSERT_TRUE(value.has_value()) << std::u16string_view(c.text).size();
    EXPECT_DOUBLE_EQ(*value, c.value);
  }
  for (const char16_t* text : {u"", u" ", u",", u"-", u"2.5", u"1,2,3", u"1 2", u"\t1", u"e5", u",e5", u"1e",
                               u"1e400", u"1,5x", u"--1", u"0x10", u"1.000,5"}) {
    EXPECT_FALSE(read_locale_real(text, u',')) << std::u16string_view(text).size();
  }
}

}  // namespace
}  // namespace dorovev
