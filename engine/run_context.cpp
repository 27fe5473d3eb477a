// The run context and the runtime-error report.
#include "engine/run_context.h"

#include <string>

namespace dorovev {

RunContext::RunContext(Platform& platform_, ProcessState& process_, ExpressionEvaluator* evaluator)
    : platform(platform_), process(process_), variables(&platform_, evaluator ? evaluator : &expressions_) {}

void RunContext::report_runtime_error(std::u16string_view message, MessageKind kind, MessageButtons buttons) {
  if (setting_is_on(u"IGNOREERRORS")) return;
  const std::string number = std::to_string(variables.line_number());
  std::u16string text(translate(u"Line"));
  text += u": ";
  text.append(number.begin(), number.end());
  text += u' ';
  text += message;
  if (platform.show_message_dialog(text, kind, buttons) == MessageButton::kAbort) stop_macro();
}

void RunContext::show_message(std::u16string_view text, MessageKind kind) {
  platform.show_message_dialog(text, kind, MessageButtons::kOk);
}

bool RunContext::setting_is_on(std::u16string_view name) const {
  std::u16string reference(u"%");
  reference += name;
  reference += u'%';
  return resolve(reference) == std::u16string_view(u"1");
}

void RunContext::report_file_fault(std::u16string_view message, std::u16string_view path) {
  std::u16string text(translate(message));
  text += u' ';
  text += path;
  report_runtime_error(text);
}

void RunContext::stop_macro() {
  // Script-loaded DLLs are released here too once the DLL commands exist.
  process.stop_requested = true;
}

std::u16string_view translate(std::u16string_view text) noexcept { return text; }

}  // namespace dorovev
