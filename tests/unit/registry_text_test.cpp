// The portable half of the INI and registry commands: parameter pieces, root names, the
// number a registry write takes and the text a registry read gives.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "values/registry_text.h"

namespace dorovev {
namespace {

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(RegistryNumber, DecimalsInTheSignedRangeAndHexadecimalsOfUpTo32Bits) {
  const struct {
    const char16_t* text;
    std::optional<std::uint32_t> bits;
  } cases[] = {
      {u"10", 10u},
      {u"-1", 0xFFFF'FFFFu},
      {u"2147483647", 0x7FFF'FFFFu},
      {u"-2147483648", 0x8000'0000u},
      {u"$FF", 255u},
      {u"0xff", 255u},
      {u"$FFFFFFFF", 0xFFFF'FFFFu},
      {u"-$10", 0xFFFF'FFF0u},
      {u" 7", 7u},
      {u"2147483648", std::nullopt},  // a decimal beyond the signed range stays text
      {u"4294967295", std::nullopt},
      {u"-2147483649", std::nullopt},
      {u"$100000000", std::nullopt},
      {u"-$FFFFFFFF", std::nullopt},
      {u"abc", std::nullopt},
      {u"", std::nullopt},
      {u"$", std::nullopt},
      {u"1.5", std::nullopt},
      {u"7 ", std::nullopt},
      {u"0x", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(registry_number(c.text), c.bits) << narrow(c.text);
}

std::string bytes(std::initializer_list<int> values) {
  std::string data;
  for (const int value : values) data.push_back(static_cast<char>(value));
  return data;
}

TEST(RegistryValueText, EachKindGivesItsText) {
  std::string many;
  for (int i = 0; i < 300; ++i) many.push_back(static_cast<char>(i));
  const struct {
    RegistryKind kind;
    std::string data;
    std::u16string text;
  } cases[] = {
      {RegistryKind::kString, bytes({'h', 0, 'i', 0, 0, 0}), u"hi"},
      {RegistryKind::kString, bytes({'h', 0, 'i', 0}), u"hi"},              // stored without its null
      {RegistryKind::kString, bytes({'a', 0, 0, 0, 'b', 0, 0, 0}), u"a"},  // up to the first null
      {RegistryKind::kString, bytes({'a', 0, 'b'}), u"a"},                 // an odd byte is no character
      {RegistryKind::kString, bytes({0xAC, 0x20}), u"\u20AC"},
      {RegistryKind::kString, "", u""},
      {RegistryKind::kNumber, bytes({0xFF, 0xFF, 0xFF, 0xFF}), u"-1"},
      {RegistryKind::kNumber, bytes({0x2A, 0, 0, 0}), u"42"},
      {RegistryKind::kNumber, bytes({0, 0, 0, 0x80}), u"-2147483648"},
      {RegistryKind::kNumber, bytes({1, 0, 0, 0, 9, 9}), u"1"},
      {RegistryKind::kNumber, bytes({1, 0, 0}), u""},
      {RegistryKind::kBinary, bytes({0x0A, 0xFF, 0x00}), u"0AFF00"},
      {RegistryKind::kBinary, "", u""},
      {RegistryKind::kOther, bytes({'a', 0, 0, 0}), u""},
  };
  for (const auto& c : cases) EXPECT_EQ(registry_value_text(c.kind, c.data), c.text) << narrow(c.text);

  const std::u16string binary = registry_value_text(RegistryKind::kBinary, many);
  EXPECT_EQ(binary.size(), 510u) << "only the first 255 bytes";
  EXPECT_EQ(binary.substr(0, 8), u"00010203");
  EXPECT_EQ(binary.substr(500), u"FAFBFCFDFE");
  EXPECT_EQ(registry_value_text(RegistryKind::kBinary, many.substr(0, 254)).size(), 508u);
}

TEST(RegistryRoot, OnlyTheSixExactNames) {
  EXPECT_EQ(find_registry_root(u"HKEY_CLASSES_ROOT"), RegistryRoot::kClassesRoot);
  EXPECT_EQ(find_registry_root(u"HKEY_CURRENT_USER"), RegistryRoot::kCurrentUser);
  EXPECT_EQ(find_registry_root(u"HKEY_LOCAL_MACHINE"), RegistryRoot::kLocalMachine);
  EXPECT_EQ(find_registry_root(u"HKEY_USERS"), RegistryRoot::kUsers);
  EXPECT_EQ(find_registry_root(u"HKEY_CURRENT_CONFIG"), RegistryRoot::kCurrentConfig);
  EXPECT_EQ(find_registry_root(u"HKEY_DYN_DATA"), RegistryRoot::kDynData);
  for (const std::u16string_view other : {u"hkey_current_user", u"HKCU", u" HKEY_USERS", u"HKEY_USERS ", u""}) {
    EXPECT_EQ(find_registry_root(other), std::nullopt) << narrow(other);
  }
}

TEST(RegistryKeyNames, AnEmptyOrBackslashOnlyKeyIsTheRootItself) {
  for (const std::u16string_view root : {u"", u"\\", u"\\\\\\"}) EXPECT_FALSE(names_registry_subkey(root));
  for (const std::u16string_view key : {u"Software", u"\\Software", u"a\\", u" "}) {
    EXPECT_TRUE(names_registry_subkey(key)) << narrow(key);
  }
}

class ParameterPieces : public ::testing::Test {
 protected:
  ParameterPieces() : table(nullptr, nullptr) { table.create_fixed_slots(); }
  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(table, name, value); }
  tVarArray table;
};

TEST_F(ParameterPieces, IniTakesThreeResolvedPiecesAndTheRestAsWritten) {
  set(u"f", u"C:\\a.ini");
  set(u"v", u"x,y");
  const struct {
    const char16_t* parameters;
    const char16_t* file;
    const char16_t* section;
    const char16_t* key;
    const char16_t* rest;
  } cases[] = {
      {u"%f%,s,k,%v%,z", u"C:\\a.ini", u"s", u"k", u"%v%,z"},
      {u"f,s,k,", u"C:\\a.ini", u"s", u"k", u""},  // a whole piece names a variable too
      {u"a.ini,s,k", u"a.ini", u"s", u"k", u""},
      {u"a.ini", u"a.ini", u"", u"", u""},
      {u"", u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    const IniParameters pieces = read_ini_parameters(table, c.parameters);
    EXPECT_EQ(pieces.file.view(), c.file) << narrow(c.parameters);
    EXPECT_EQ(pieces.section.view(), c.section) << narrow(c.parameters);
    EXPECT_EQ(pieces.key.view(), c.key) << narrow(c.parameters);
    EXPECT_EQ(pieces.rest, c.rest) << narrow(c.parameters);
  }
}

TEST_F(ParameterPieces, RegistryResolvesEachRestAsAWholeBeforeSplittingIt) {
  set(u"k", u"Software\\X");
  set(u"pair", u"Software\\Y,name");  // its comma splits the rest it was expanded into
  set(u"v", u"a,b");
  const struct {
    const char16_t* parameters;
    const char16_t* root;
    const char16_t* key;
    const char16_t* value_name;
    const char16_t* rest;
  } cases[] = {
      {u"HKEY_USERS,%k%,name,result", u"HKEY_USERS", u"Software\\X", u"name", u"result"},
      {u"HKEY_USERS,%pair%,result", u"HKEY_USERS", u"Software\\Y", u"name", u"result"},
      {u"HKEY_USERS,%k%,name,%v%,c", u"HKEY_USERS", u"Software\\X", u"name", u"a,b,c"},
      {u"HKEY_USERS,%k%", u"HKEY_USERS", u"Software\\X", u"", u""},
      {u"", u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    const RegistryParameters pieces = read_registry_parameters(table, c.parameters);
    EXPECT_EQ(pieces.root.view(), c.root) << narrow(c.parameters);
    EXPECT_EQ(pieces.key.view(), c.key) << narrow(c.parameters);
    EXPECT_EQ(pieces.value_name.view(), c.value_name) << narrow(c.parameters);
    EXPECT_EQ(pieces.rest, c.rest) << narrow(c.parameters);
  }
}

}  // namespace
}  // namespace dorovev
