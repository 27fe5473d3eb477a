// The INI commands EDI and REA, through the system's private-profile functions.
//
// Both take `file,section,key,` and a rest: the value EDI writes (resolved, commas and
// all) or the variable REA assigns (as written). A missing file, section or key name and
// a file that does not exist are runtime errors; nothing is created in either case.
//
// The file is checked where its name points from the current directory, and that same
// file is the one read or written: the profile functions would otherwise take a name
// without a directory as a file in the Windows directory, so that the check passed for one
// file and the write went to another.
#include "commands/system/system_commands.h"

#include <windows.h>

#include <optional>
#include <string>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "values/registry_text.h"

namespace dorovev {
namespace {

using namespace codes;
using win32::wide;

// REA reads into this many characters, the last for the terminating null: a longer value
// is cut to 2047 characters.
constexpr DWORD kIniBufferSize = 2048;

struct IniMessages {
  std::u16string_view bad_parameters;
  std::u16string_view missing_file;
};
constexpr IniMessages kEditMessages{u"Error in EditIniFile command.", u"Ini file in EditIniFile does not exist."};
constexpr IniMessages kReadMessages{u"Error in ReadIniFile command.", u"Ini file in ReadIniFile does not exist."};

// The full path of an existing file named by `file`, or nothing after reporting why not.
std::optional<std::wstring> checked_ini_file(RunContext& run, const IniParameters& pieces,
                                             const IniMessages& messages) {
  if (pieces.file.empty() || pieces.section.empty() || pieces.key.empty()) {
    run.report_runtime_error(translate(messages.bad_parameters));
    return std::nullopt;
  }
  if (!run.platform.file_exists(pieces.file.view())) {
    run.report_runtime_error(translate(messages.missing_file));
    return std::nullopt;
  }
  const std::wstring name = wide(pieces.file.view());
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = ::GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = ::GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (length == 0 || length >= full.size()) return name;  // the check passed on the name itself
  full.resize(length);
  return full;
}

// `EditIniFile>file,section,key,value`. A file the system refuses to write (locked,
// read-only) is reported as any file command's write failure is, not passed over.
void edit_ini_command(RunContext& run, std::u16string_view parameters) {
  const IniParameters pieces = read_ini_parameters(run.variables, parameters);
  const auto file = checked_ini_file(run, pieces, kEditMessages);
  if (!file) return;
  const Text value = run.resolve(pieces.rest);
  if (::WritePrivateProfileStringW(wide(pieces.section.view()).c_str(), wide(pieces.key.view()).c_str(),
                                   wide(value.view()).c_str(), file->c_str())) {
    return;
  }
  run.report_file_fault(u"Cannot write to file", pieces.file.view());
}

// `ReadIniFile>file,section,key,result`: a missing section or key reads as empty text.
void read_ini_command(RunContext& run, std::u16string_view parameters) {
  const IniParameters pieces = read_ini_parameters(run.variables, parameters);
  const auto file = checked_ini_file(run, pieces, kReadMessages);
  if (!file) return;
  wchar_t buffer[kIniBufferSize] = {};
  const DWORD length = ::GetPrivateProfileStringW(wide(pieces.section.view()).c_str(), wide(pieces.key.view()).c_str(),
                                                  L"", buffer, kIniBufferSize, file->c_str());
  AssignVariable(run.variables, pieces.rest, win32::from_wide(buffer, length < kIniBufferSize ? length : 0));
}

}  // namespace

void register_ini_commands(CommandTable& table) {
  table.add(u"EDI"_code, edit_ini_command);
  table.add(u"REA"_code, read_ini_command);
}

}  // namespace dorovev
