// Base64, hexadecimal text, the UTF-16 byte-order-mark test and the BAS command.
#include <gtest/gtest.h>

#include <string>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "engine/unicode.h"
#include "engine/value_commands.h"
#include "tests/support/fake_platform.h"
#include "tests/support/script_line_test.h"
#include "values/base64.h"

namespace dorovev {
namespace {

using testing::FakePlatform;
using namespace std::string_literals;

TEST(Base64, EncodesWithPadding) {
  const struct {
    std::string bytes;
    const char* text;
  } cases[] = {
      {"", ""},           {"a", "YQ=="},         {"ab", "YWI="},         {"abc", "YWJj"},
      {"f", "Zg=="},      {"fo", "Zm8="},        {"foo", "Zm9v"},        {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\0"s, "AA=="},      {"\xFF\xFF\xFF", "////"},
      {"\xFB\xEF\xBE", "++++"}, {"\x00\x10\x83\x10\x51\x87"s, "ABCDEFGH"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Base64Encode(c.bytes), c.text) << c.text;
    EXPECT_EQ(Base64Decode(c.text), c.bytes) << c.text;
  }
}

TEST(Base64, EveryByteValueRoundTrips) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    const std::string part = bytes.substr(bytes.size() - length);
    const std::string text = Base64Encode(part);
    ASSERT_EQ(text.size(), (length + 2) / 3 * 4);
    ASSERT_EQ(Base64Decode(text), part) << length;
  }
}

TEST(Base64, DecodingFailsOnlyOnTheLength) {
  for (const char* text : {"YWJ", "Y", "YWJjZ", "YWJjZGV", "===", " YWJj"}) {
    try {
      (void)Base64Decode(text);
      ADD_FAILURE() << text;
    } catch (const Base64FormatError& error) {
      EXPECT_STREQ(error.what(), "Base64: Incorrect string format");
    }
  }
  EXPECT_EQ(Base64Decode(""), "");
}

TEST(Base64, CharactersOutsideTheAlphabetCountAs63) {
  // `/`, `=` outside the last group, and anything else all read as 63.
  EXPECT_EQ(Base64Decode("____"), "\xFF\xFF\xFF");
  EXPECT_EQ(Base64Decode("*-.\xE9"), "\xFF\xFF\xFF");
  EXPECT_EQ(Base64Decode("A A="), "\x03\xF0");            // the space is 63
  EXPECT_EQ(Base64Decode("YQ==YQ=="), "a\x0F\xFF" "a");   // `=` in an earlier group is 63
  EXPECT_EQ(Base64Decode("===="), "\xFF");                // third `=`: one byte from the first two
  EXPECT_EQ(Base64Decode("YW=j"), "a");                   // the third character decides first
  EXPECT_EQ(Base64Decode("Y=Jj"), "c\xF2" "c");           // `=` early in the last group is 63
  EXPECT_EQ(Base64Decode("YR=="), "a");                   // leftover bits are dropped
  EXPECT_EQ(Base64Decode("YWJ="), "ab");
}

TEST(HexToBytes, FillsHalfTheLengthFromPairsOfDigits) {
  EXPECT_FALSE(HexToBytes(u""));
  EXPECT_EQ(HexToBytes(u"4"), "");  // a text that is not empty gives a stream, even an empty one
  EXPECT_EQ(HexToBytes(u"00fFA0"), "\x00\xFF\xA0"s);
  EXPECT_EQ(HexToBytes(u"48656c6C6f"), "Hello");
  EXPECT_EQ(HexToBytes(u"414"), "A");
  // Conversion stops at the first pair that is not two digits; the rest of the stream is zero.
  EXPECT_EQ(HexToBytes(u"41 42"), "A\0"s);
  EXPECT_EQ(HexToBytes(u"4G41"), "\0\0"s);
  EXPECT_EQ(HexToBytes(u"41424g4344"), "AB\0\0\0"s);
  EXPECT_EQ(HexToBytes(u"\xFF10\xFF11"), "\0"s);  // fullwidth digits are no hexadecimal digits
}

TEST(HexToBytes, DataBlocksKeepOnlyThePrefix) {
  EXPECT_EQ(decode_hex_prefix(u"00fFA0"), "\x00\xFF\xA0"s);
  EXPECT_EQ(decode_hex_prefix(u"41 42"), "A");
  EXPECT_EQ(decode_hex_prefix(u"4G41"), "");
  EXPECT_EQ(decode_hex_prefix(u"414"), "A");
  EXPECT_EQ(decode_hex_prefix(u""), "");
}

TEST(HasUtf16Bom, ComparesTheFirstTwoBytesWithFFFE) {
  FakePlatform platform;
  platform.files[u"C:\\le.txt"] = "\xFF\xFE" "a\0"s;
  platform.files[u"C:\\mark.txt"] = "\xFF\xFE";
  platform.files[u"C:\\be.txt"] = "\xFE\xFF\0a"s;
  platform.files[u"C:\\utf8.txt"] = "\xEF\xBB\xBF" "a";
  platform.files[u"C:\\short.txt"] = "\xFF";
  platform.files[u"C:\\empty.txt"] = "";
  platform.files[u"C:\\locked.txt"] = "\xFF\xFE";
  platform.unreadable.push_back(u"C:\\locked.txt");
  EXPECT_TRUE(HasUtf16Bom(platform, u"C:\\le.txt"));
  EXPECT_TRUE(HasUtf16Bom(platform, u"C:\\mark.txt"));
  EXPECT_FALSE(HasUtf16Bom(platform, u"C:\\be.txt"));
  EXPECT_FALSE(HasUtf16Bom(platform, u"C:\\utf8.txt"));
  EXPECT_FALSE(HasUtf16Bom(platform, u"C:\\short.txt"));
  EXPECT_FALSE(HasUtf16Bom(platform, u"C:\\empty.txt"));
  EXPECT_FALSE(HasUtf16Bom(platform, u"C:\\locked.txt"));
  EXPECT_FALSE(HasUtf16Bom(platform, u"C:\\missing.txt"));
}

// The BAS command, as a script line reaches it; the fake's ANSI code page is Windows-1252.
class Base64CommandTest : public testing::ScriptLineTest {
 protected:
  Base64CommandTest() : ScriptLineTest(register_value_commands) {}
};

TEST_F(Base64CommandTest, EncodesAndDecodes) {
  AssignVariable(run.variables, u"list", u"a,b");
  AssignVariable(run.variables, u"r", u"kept name");
  const struct {
    const char16_t* line;
    const char16_t* name;
    const char16_t* value;
  } cases[] = {
      {u"BAS>abc,ENCODE,r", u"r", u"YWJj"},
      {u"BAS>ab,encode,r", u"r", u"YWI="},
      {u"BAS>a,Encode,r", u"r", u"YQ=="},
      {u"BAS>,ENCODE,r", u"r", u""},
      {u"BAS>%list%,ENCODE,r", u"r", u"YSxi"},
      {u"BAS>YWJj,DECODE,r", u"r", u"abc"},
      {u"BAS>YWI=,DECODE,r", u"r", u"ab"},
      {u"BAS>YWJ,DECODE,r", u"r", u"DECODE ERROR: SOURCE NOT BASE64"},
      {u"BAS>YWJj,decode,r", u"r", u"abc"},  // any action but ENCODE decodes
      {u"BAS>YWJj,x,r", u"r", u"abc"},
      {u"BAS>YWJj,,r", u"r", u"abc"},
      {u"BAS>YWJj,ENCODE ,r", u"r", u"abc"},
      {u"BAS>,,r", u"r", u""},
      {u"BAS>abc,ENCODE,r,s", u"r,s", u"YWJj"},  // the result name is the rest, as written
      {u"Base64>abc,ENCODE,r", u"r", u"YWJj"},
  };
  for (const auto& c : cases) {
    run_line(c.line);
    EXPECT_EQ(value(c.name), c.value) << "case " << (&c - cases);
  }
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(Base64CommandTest, TextGoesThroughTheAnsiCodePage) {
  // U+20AC is byte 0x80 in Windows-1252; U+03A9 is not in it and becomes `?`.
  run_line(u"BAS>\u20AC,ENCODE,euro");
  EXPECT_EQ(value(u"euro"), u"gA==");
  run_line(u"BAS>\u03A9,ENCODE,omega");
  EXPECT_EQ(value(u"omega"), u"Pw==");
  run_line(u"BAS>\u00E9t\u00E9,ENCODE,latin");
  EXPECT_EQ(value(u"latin"), u"6XTp");
  run_line(u"BAS>gA==,DECODE,back");
  EXPECT_EQ(value(u"back"), u"\u20AC");
  run_line(u"BAS>6XTp,DECODE,back");
  EXPECT_EQ(value(u"back"), u"\u00E9t\u00E9");
  // A source character outside the code page is `?`, which decodes as 63.
  run_line(u"BAS>\u03A9\u03A9\u03A9\u03A9,DECODE,odd");
  EXPECT_EQ(value(u"odd"), u"\u00FF\u00FF\u00FF");
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(Base64CommandTest, RoundTripsThroughVariables) {
  AssignVariable(run.variables, u"plain", u"Hello, W\u00F6rld \u20AC!");
  run_line(u"BAS>%plain%,ENCODE,coded");
  run_line(u"BAS>%coded%,DECODE,again");
  EXPECT_EQ(value(u"again"), u"Hello, W\u00F6rld \u20AC!");
}

}  // namespace
}  // namespace dorovev
