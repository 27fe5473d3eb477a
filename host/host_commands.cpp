// Host commands.
#include "host/host_commands.h"

#include <windows.h>
#include <shellapi.h>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "host/main_form.h"
#include "platform/win32/wide.h"
#include "values/comma_split.h"
#include "values/number_readers.h"

namespace dorovev::host {
namespace {

using namespace codes;

void icon_command(RunContext& run, std::u16string_view parameters) {
  MainForm* form = MainForm::current_form();
  if (!form) return;
  const CommaSplit split = split_at_first_comma(parameters);
  const Text file = run.resolve(split.first);
  const std::int32_t index = read_integer_or_zero(run.resolve(split.rest).view());
  HICON icon = nullptr;
  if (index >= 0) ::ExtractIconExW(win32::wide(file.view()).c_str(), index, &icon, nullptr, 1);
  form->set_icon(icon);
}

}  // namespace

void register_host_commands(CommandTable& table) { table.add(u"ICO"_code, icon_command); }

}  // namespace dorovev::host
