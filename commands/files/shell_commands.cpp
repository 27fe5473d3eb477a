// CopyFile>, MoveFile>, RenameFile> and the delete command, through ShellFileOp1.
#include <string_view>

#include "commands/files/file_command_parts.h"
#include "commands/files/shell_file_op.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "values/comma_split.h"

namespace dorovev::files {
namespace {

using namespace codes;
using Operation = TShellFileOp::Operation;

// `source,target`, split at the last comma so that the source may hold commas. Without
// a comma the line reports its missing parameter and does nothing.
template <const char16_t* Message>
bool run_with_target(RunContext& run, std::u16string_view parameters, Operation operation) {
  const std::size_t comma = parameters.rfind(u',');
  if (comma == std::u16string_view::npos) {
    run.report_runtime_error(translate(Message));
    return false;
  }
  const Text source = run.resolve(parameters.substr(0, comma));
  const Text target = run.resolve(parameters.substr(comma + 1));
  TShellFileOp& shell = ShellFileOp1();
  shell.RenameOnCollision = !run.setting_is_on(u"CF_OVERWRITE");
  shell.add_source(source.view());
  shell.set_target(target.view());
  shell.run(operation);
  return true;
}

constexpr char16_t kCopyMissing[] = u"Error - CopyFile has Missing Parameter.";
constexpr char16_t kMoveMissing[] = u"Error - MoveFile has Missing Parameter.";
constexpr char16_t kRenameMissing[] = u"Error - RenameFile has Missing Parameter.";

void copy_command(RunContext& run, std::u16string_view parameters) {
  run_with_target<kCopyMissing>(run, parameters, Operation::kCopy);
}

void move_command(RunContext& run, std::u16string_view parameters) {
  const Operation operation = run.setting_is_on(u"MF_RENAME") ? Operation::kRename : Operation::kMove;
  run_with_target<kMoveMissing>(run, parameters, operation);
}

void rename_command(RunContext& run, std::u16string_view parameters) {
  run_with_target<kRenameMissing>(run, parameters, Operation::kRename);
}

// The whole parameter is one path, wildcards allowed; folders go too, for good.
void delete_command(RunContext& run, std::u16string_view parameters) {
  const Text path = run.resolve(parameters);
  TShellFileOp& shell = ShellFileOp1();
  shell.add_source(path.view());
  shell.set_target(u"");
  shell.run(Operation::kDelete);
}

}  // namespace

void register_shell_commands(CommandTable& table) {
  table.add(u"COP"_code, copy_command);
  table.add(u"MOV"_code, move_command);
  table.add(u"REN"_code, rename_command);
  table.add(u"DEL"_code, delete_command);
}

}  // namespace dorovev::files
