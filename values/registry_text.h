// The portable half of the INI and registry commands: how their parameters are split and
// resolved, the root key names, the number a registry write takes and the text a read gives.
//
// The registry commands resolve their rest "as a whole" before splitting it further: the
// text after the root is expanded, its first piece is expanded again to give the key, the
// text after that piece is expanded once more, and so on. A comma that a variable brings
// into the rest therefore splits it, as it does for every command that resolves a rest as
// a whole. The Win32 calls themselves stay in commands/system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "values/text.h"
#include "values/variable_table.h"

namespace dorovev {

// The predefined root keys, named exactly (case counts).
enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig, kDynData };
std::optional<RegistryRoot> find_registry_root(std::u16string_view name) noexcept;

// Whether a key text names a key below its root rather than the root itself. RDK deletes
// only such a key: an empty or backslash-only key would take everything under the root.
bool names_registry_subkey(std::u16string_view key) noexcept;

// `file,section,key,rest`: the first three pieces resolved, the rest after the third comma
// as written (EDI resolves it as the value, REA takes it as the result name).
struct IniParameters {
  Text file;
  Text section;
  Text key;
  std::u16string_view rest;  // points into the parameters
};
IniParameters read_ini_parameters(const tVarArray& variables, std::u16string_view parameters);

// `root,key,valuename,rest` of RRK and RWK, resolved as described above; `rest` is the
// text after the value name's comma in the last expansion, not resolved again here.
struct RegistryParameters {
  Text root;
  Text key;
  Text value_name;
  std::u16string rest;
};
RegistryParameters read_registry_parameters(const tVarArray& variables, std::u16string_view parameters);

// The 32 bits that RWK writes as a number: a decimal that fits a signed 32-bit integer, or
// a hexadecimal (`$FF`, `0xFF`) of at most 32 bits, in the shapes every number reader
// takes. Nothing when the text is not such a number: it is then written as a string.
std::optional<std::uint32_t> registry_number(std::u16string_view text) noexcept;

// The kinds of stored value that RRK tells apart.
enum class RegistryKind { kString, kNumber, kBinary, kOther };

// At most this many bytes of a binary value are shown.
inline constexpr std::size_t kRegistryBinaryLimit = 255;

// The text RRK assigns for a value of `kind` stored as `data`: a string (UTF-16 little
// endian) up to its first null character, environment references left as they are; a
// number as a signed decimal (empty when fewer than four bytes are stored); the first 255
// bytes of a binary value as pairs of upper-case hexadecimal digits; anything else empty.
std::u16string registry_value_text(RegistryKind kind, std::string_view data);

}  // namespace dorovev
