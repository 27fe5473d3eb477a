// The CRY command, as a script line reaches it; the fake's ANSI code page is Windows-1252.
#include <gtest/gtest.h>

#include <string>

#include "engine/crypt_command.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "tests/support/fake_platform.h"
#include "tests/support/script_line_test.h"

namespace dorovev {
namespace {

using testing::FakePlatform;
using namespace std::string_literals;

constexpr const char16_t* kPlain = u"Hello, W\u00F6rld \u20AC!";
// kPlain enciphered with the key "key" at the three levels, read back in Windows-1252.
constexpr const char16_t* kWeakCipher = u"\u00ED/$\u00F9&\u0008\u201A~\u00D2[L6\u2026\u2030k";
constexpr const char16_t* kMediumCipher = u"T\u0153V\u0178\u00B4\u00B2\u00C9,d\u00E9\u00F6\u2019\u00CC[\u0018";
constexpr const char16_t* kStrongCipher = u"WC\u00B1\u00A3\u00B4\u00BF9,\u0005\u000D\u0006\u00AA\u00D3\u00E4\u00F8";

class CryptCommandTest : public testing::ScriptLineTest {
 protected:
  CryptCommandTest() : ScriptLineTest(register_crypt_command) {}
};

TEST(CryptLevelSetting, OnlyTwoAndThreeRaiseTheLevel) {
  const struct {
    const char16_t* setting;
    TEncryptionLevel level;
  } cases[] = {
      {u"%CRYPT_LEVEL%", TEncryptionLevel::elWeak32bit},  // undefined
      {u"", TEncryptionLevel::elWeak32bit},
      {u"0", TEncryptionLevel::elWeak32bit},
      {u"1", TEncryptionLevel::elWeak32bit},
      {u"2", TEncryptionLevel::elMedium64bit},
      {u"3", TEncryptionLevel::elStrong96bit},
      {u"4", TEncryptionLevel::elWeak32bit},
      {u"03", TEncryptionLevel::elWeak32bit},
      {u"3 ", TEncryptionLevel::elWeak32bit},
      {u"2.0", TEncryptionLevel::elWeak32bit},
      {u"96", TEncryptionLevel::elWeak32bit},
  };
  for (const auto& c : cases) EXPECT_EQ(crypt_level_of_setting(c.setting), c.level) << "case " << (&c - cases);
}

TEST_F(CryptCommandTest, LevelComesFromCryptLevel) {
  AssignVariable(run.variables, u"plain", kPlain);
  const struct {
    const char16_t* setting;  // nullptr: CRYPT_LEVEL undefined
    const char16_t* enciphered;
  } cases[] = {
      {nullptr, kWeakCipher}, {u"1", kWeakCipher},     {u"2", kMediumCipher},
      {u"3", kStrongCipher},  {u"x", kWeakCipher},     {u"", kWeakCipher},
  };
  for (const auto& c : cases) {
    if (c.setting) AssignVariable(run.variables, u"CRYPT_LEVEL", c.setting);
    run_line(u"CRY>key,%plain%,coded");
    EXPECT_EQ(value(u"coded"), c.enciphered) << "case " << (&c - cases);
    run_line(u"CRY>key,%coded%,back");
    EXPECT_EQ(value(u"back"), kPlain) << "case " << (&c - cases);
  }
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(CryptCommandTest, RoundTripsAtEveryLevel) {
  // Every character of the code page, the NUL included.
  std::string all_bytes;
  for (int i = 0; i < 256; ++i) all_bytes.push_back(static_cast<char>(i));
  const std::u16string every_character = platform.ansi_to_text(all_bytes);
  const std::u16string texts[] = {u""s, u"a"s, kPlain, every_character, u"Let>x=%y%, {1+2}"s};
  AssignVariable(run.variables, u"secret", u"\u0416\u0430\u0431\u0430, 12345678901");
  for (const char16_t* level : {u"1", u"2", u"3"}) {
    AssignVariable(run.variables, u"CRYPT_LEVEL", level);
    for (const std::u16string& text : texts) {
      AssignVariable(run.variables, u"plain", text);
      run_line(u"CRY>%secret%,%plain%,coded");
      if (!text.empty()) {
        EXPECT_NE(value(u"coded"), text);
      }
      EXPECT_EQ(value(u"coded").size(), text.size());
      run_line(u"CRY>%secret%,%coded%,back");
      EXPECT_EQ(value(u"back"), text) << "level " << static_cast<char>(level[0]);
    }
  }
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(CryptCommandTest, KeyIsUtf16AndTextIsAnsi) {
  // U+03A9 is not in the code page: as a key it keeps its own code, as text it is `?`.
  run_line(u"CRY>\u03A9,A,omega_key");
  run_line(u"CRY>?,A,question_key");
  EXPECT_NE(value(u"omega_key"), value(u"question_key"));
  run_line(u"CRY>key,\u03A9,coded");
  run_line(u"CRY>key,%coded%,back");
  EXPECT_EQ(value(u"back"), u"?");
}

TEST_F(CryptCommandTest, ParameterShapes) {
  AssignVariable(run.variables, u"secret", u"key");
  run_line(u"CRY>key,Hello,plain_key");
  EXPECT_NE(value(u"plain_key"), u"<none>");
  run_line(u"CRY>%secret%,Hello,r,s");  // the result name is the rest, as written
  EXPECT_EQ(value(u"r,s"), value(u"plain_key"));
  run_line(u"Crypt>key,,empty");
  EXPECT_EQ(value(u"empty"), u"");
  // Missing pieces give an empty text and an empty result name; nothing fails.
  run_line(u"CRY>");
  run_line(u"CRY>key");
  run_line(u"CRY>key,Hello");
  EXPECT_TRUE(platform.dialogs.empty());
}

}  // namespace
}  // namespace dorovev
