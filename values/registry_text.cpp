// The portable half of the INI and registry commands.
#include "values/registry_text.h"

#include <array>
#include <string>

#include "values/comma_split.h"
#include "values/expand_text.h"
#include "values/number_readers.h"

namespace dorovev {

std::optional<RegistryRoot> find_registry_root(std::u16string_view name) noexcept {
  struct Entry {
    std::u16string_view name;
    RegistryRoot root;
  };
  static constexpr std::array<Entry, 6> kRoots{{
      {u"HKEY_CLASSES_ROOT", RegistryRoot::kClassesRoot},
      {u"HKEY_CURRENT_USER", RegistryRoot::kCurrentUser},
      {u"HKEY_LOCAL_MACHINE", RegistryRoot::kLocalMachine},
      {u"HKEY_USERS", RegistryRoot::kUsers},
      {u"HKEY_CURRENT_CONFIG", RegistryRoot::kCurrentConfig},
      {u"HKEY_DYN_DATA", RegistryRoot::kDynData},
  }};
  for (const Entry& entry : kRoots) {
    if (entry.name == name) return entry.root;
  }
  return std::nullopt;
}

bool names_registry_subkey(std::u16string_view key) noexcept {
  return key.find_first_not_of(u'\\') != std::u16string_view::npos;
}

IniParameters read_ini_parameters(const tVarArray& variables, std::u16string_view parameters) {
  const CommaSplit file = split_at_first_comma(parameters);
  const CommaSplit section = split_at_first_comma(file.rest);
  const CommaSplit key = split_at_first_comma(section.rest);
  return {ExpandText(variables, file.first), ExpandText(variables, section.first), ExpandText(variables, key.first),
          key.rest};
}

RegistryParameters read_registry_parameters(const tVarArray& variables, std::u16string_view parameters) {
  RegistryParameters result;
  const CommaSplit root = split_at_first_comma(parameters);
  result.root = ExpandText(variables, root.first);
  const Text after_root = ExpandText(variables, root.rest);
  const CommaSplit key = split_at_first_comma(after_root.view());
  result.key = ExpandText(variables, key.first);
  const Text after_key = ExpandText(variables, key.rest);
  const CommaSplit value_name = split_at_first_comma(after_key.view());
  result.value_name = ExpandText(variables, value_name.first);
  result.rest = std::u16string(value_name.rest);
  return result;
}

std::optional<std::uint32_t> registry_number(std::u16string_view text) noexcept {
  if (const auto value = read_strict_integer(text)) return static_cast<std::uint32_t>(*value);
  // A hexadecimal beyond the signed range still names 32 bits (`$FFFFFFFF`); a decimal
  // beyond it does not fit and stays a string.
  if (text.find_first_of(u"$xX") == std::u16string_view::npos) return std::nullopt;
  const auto wide = read_strict_integer64(text);
  if (!wide || *wide < 0 || *wide > 0xFFFF'FFFFLL) return std::nullopt;
  return static_cast<std::uint32_t>(*wide);
}

namespace {

std::u16string string_text(std::string_view data) {
  std::u16string text;
  text.reserve(data.size() / 2);
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                            (static_cast<unsigned char>(data[i + 1]) << 8));
    if (unit == u'\0') break;
    text.push_back(unit);
  }
  return text;
}

std::u16string number_text(std::string_view data) {
  if (data.size() < 4) return {};
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
  const std::string decimal = std::to_string(static_cast<std::int32_t>(bits));
  return std::u16string(decimal.begin(), decimal.end());
}

std::u16string binary_text(std::string_view data) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const std::size_t shown = data.size() < kRegistryBinaryLimit ? data.size() : kRegistryBinaryLimit;
  std::u16string text;
  text.reserve(2 * shown);
  for (std::size_t i = 0; i < shown; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 15]);
  }
  return text;
}

}  // namespace

std::u16string registry_value_text(RegistryKind kind, std::string_view data) {
  switch (kind) {
    case RegistryKind::kString: return string_text(data);
    case RegistryKind::kNumber: return number_text(data);
    case RegistryKind::kBinary: return binary_text(data);
    case RegistryKind::kOther: break;
  }
  return {};
}

}  // namespace dorovev
