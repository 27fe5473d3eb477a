// The registry commands RRK, RWK, RDK and RDV: values under the predefined root keys.
//
// None of them ever reports: a root that is not one of the six names, a key or value that
// is missing, and a write or deletion that the system refuses all leave no trace, and a
// read of anything that cannot be read assigns the empty text.
#include "commands/system/system_commands.h"

#include <windows.h>

#include <string>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "values/comma_split.h"
#include "values/registry_text.h"

namespace dorovev {
namespace {

using namespace codes;
using win32::wide;

struct RegistryKeyTraits {
  using Value = HKEY;
  static Value invalid() noexcept { return nullptr; }
  static void close(Value value) noexcept { ::RegCloseKey(value); }
};
using UniqueRegistryKey = win32::UniqueResource<RegistryKeyTraits>;

// The predefined key a root name selects, or nullptr for any other text.
HKEY root_key(std::u16string_view name) {
  const auto root = find_registry_root(name);
  if (!root) return nullptr;
  switch (*root) {
    case RegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers: return HKEY_USERS;
    case RegistryRoot::kCurrentConfig: return HKEY_CURRENT_CONFIG;
    case RegistryRoot::kDynData: return HKEY_DYN_DATA;
  }
  return nullptr;
}

UniqueRegistryKey open_key(std::u16string_view root, std::u16string_view key, REGSAM access) {
  const HKEY parent = root_key(root);
  HKEY opened = nullptr;
  if (!parent || ::RegOpenKeyExW(parent, wide(key).c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
  return UniqueRegistryKey(opened);
}

RegistryKind kind_of(DWORD type) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: return RegistryKind::kString;
    case REG_DWORD: return RegistryKind::kNumber;
    case REG_BINARY: return RegistryKind::kBinary;
    default: return RegistryKind::kOther;
  }
}

// The text of a value, read whole whatever its size; empty when it cannot be read.
std::u16string read_value_text(HKEY key, std::u16string_view value_name) {
  const std::wstring name = wide(value_name);
  // The value may grow between asking for its size and reading it; a few tries settle it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    const RegistryKind kind = kind_of(type);
    if (kind == RegistryKind::kOther) return {};
    std::string data(size, '\0');
    const LONG status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return {};
    data.resize(size);
    return registry_value_text(kind_of(type), data);
  }
  return {};
}

// `RegistryReadKey>root,key,valuename,result`.
void read_key_command(RunContext& run, std::u16string_view parameters) {
  const RegistryParameters pieces = read_registry_parameters(run.variables, parameters);
  std::u16string text;
  if (const UniqueRegistryKey key = open_key(pieces.root.view(), pieces.key.view(), KEY_READ)) {
    text = read_value_text(key.get(), pieces.value_name.view());
  }
  AssignVariable(run.variables, pieces.rest, text);
}

// `RegistryWriteKey>root,key,valuename,value`: the key path is created as needed. The
// value is a 32-bit number when it reads as one, unless REG_INTASSTR is "1".
void write_key_command(RunContext& run, std::u16string_view parameters) {
  const RegistryParameters pieces = read_registry_parameters(run.variables, parameters);
  const Text value = run.resolve(pieces.rest);
  const HKEY parent = root_key(pieces.root.view());
  if (!parent) return;
  HKEY created = nullptr;
  if (::RegCreateKeyExW(parent, wide(pieces.key.view()).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &created, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const UniqueRegistryKey key(created);
  const std::wstring name = wide(pieces.value_name.view());
  const bool numbers_as_strings = run.setting_is_on(u"REG_INTASSTR");
  if (const auto number = numbers_as_strings ? std::nullopt : registry_number(value.view())) {
    const DWORD bits = *number;
    ::RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&bits), sizeof bits);
    return;
  }
  const std::wstring text = wide(value.view());
  ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// `RegistryDelKey>root,key`: the key goes with all its subkeys and values. A key that is
// the root itself is refused rather than emptied.
void delete_key_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text root = run.resolve(split.first);
  const Text key = run.resolve(split.rest);
  const HKEY parent = root_key(root.view());
  if (!parent || !names_registry_subkey(key.view())) return;
  ::RegDeleteTreeW(parent, wide(key.view()).c_str());
}

// `RegistryDelVal>root,key,valuename`: the key is opened, never created.
void delete_value_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit root = split_at_first_comma(parameters);
  const CommaSplit key = split_at_first_comma(root.rest);
  const Text root_name = run.resolve(root.first);
  const Text key_name = run.resolve(key.first);
  const Text value_name = run.resolve(key.rest);
  if (const UniqueRegistryKey opened = open_key(root_name.view(), key_name.view(), KEY_SET_VALUE)) {
    ::RegDeleteValueW(opened.get(), wide(value_name.view()).c_str());
  }
}

}  // namespace

void register_registry_commands(CommandTable& table) {
  table.add(u"RRK"_code, read_key_command);
  table.add(u"RWK"_code, write_key_command);
  table.add(u"RDK"_code, delete_key_command);
  table.add(u"RDV"_code, delete_value_command);
}

}  // namespace dorovev
