// Fuzzes the INI and registry parameter pieces, the registry number and the text of stored
// values: the first byte picks the value kind, the rest is both the stored data and,
// read as Latin-1 text, the parameters and the number text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/support/fake_platform.h"
#include "values/number_readers.h"
#include "values/registry_text.h"

using namespace dorovev;

namespace {

void check_number(std::u16string_view text) {
  const auto bits = registry_number(text);
  const auto strict = read_strict_integer(text);
  if (strict && (!bits || *bits != static_cast<std::uint32_t>(*strict))) __builtin_trap();
  // Anything beyond the strict reader is a hexadecimal whose 32 bits read back.
  if (bits && !strict) {
    const auto wide = read_strict_integer64(text);
    if (!wide || static_cast<std::uint32_t>(*wide) != *bits || text.find_first_of(u"$xX") == std::u16string_view::npos) {
      __builtin_trap();
    }
  }
}

void check_value_text(RegistryKind kind, std::string_view data) {
  const std::u16string text = registry_value_text(kind, data);
  switch (kind) {
    case RegistryKind::kString:
      if (text.size() > data.size() / 2 || text.find(u'\0') != std::u16string::npos) __builtin_trap();
      break;
    case RegistryKind::kNumber:
      if (data.size() < 4 ? !text.empty() : !read_strict_integer(text)) __builtin_trap();
      break;
    case RegistryKind::kBinary: {
      const std::size_t shown = data.size() < kRegistryBinaryLimit ? data.size() : kRegistryBinaryLimit;
      if (text.size() != 2 * shown || text.find_first_not_of(u"0123456789ABCDEF") != std::u16string::npos) {
        __builtin_trap();
      }
      break;
    }
    case RegistryKind::kOther:
      if (!text.empty()) __builtin_trap();
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto kind = static_cast<RegistryKind>(data[0] % 4);
  ++data, --size;
  const std::string_view stored(reinterpret_cast<const char*>(data), size);
  const std::u16string text(data, data + size);

  check_value_text(kind, stored);
  check_number(text);
  find_registry_root(text);
  names_registry_subkey(text);

  testing::FakePlatform platform;
  tVarArray table(&platform, nullptr);
  table.create_fixed_slots();
  AssignVariable(table, u"k", u"a,b");
  AssignVariable(table, u"v", u"%k%,%v%");
  const IniParameters ini = read_ini_parameters(table, text);
  // The rest is the text after the third comma, untouched.
  if (ini.rest.size() > text.size() || text.substr(text.size() - ini.rest.size()) != ini.rest) __builtin_trap();
  read_registry_parameters(table, text);
  return 0;
}
