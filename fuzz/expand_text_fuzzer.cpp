// Fuzzes substitution: the input's first byte picks the flags, its lines assign
// variables (`name=value`), and its last line is expanded once, repeatedly, and for an
// expression, and checked against the full expansion without short ways.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/line_list.h"
#include "tests/support/fake_platform.h"
#include "values/expand_text.h"

using namespace dorovev;

namespace {

// Echoes short expressions back, so that braced results flow into further expansion.
class EchoEvaluator : public ExpressionEvaluator {
 public:
  std::optional<Text> evaluate(std::u16string_view expression, std::int32_t) override {
    if (expression.size() > 8 || expression.find(u'!') != std::u16string_view::npos) return std::nullopt;
    return Text(expression);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  ++data, --size;
  testing::FakePlatform platform;
  platform.arguments = {u"/user=ann", u"/x=%y%", u"/flag"};
  const LineList lines = split_lines(platform.ansi_to_text(std::string_view(reinterpret_cast<const char*>(data), size)));
  if (lines.empty()) return 0;

  EchoEvaluator evaluator;
  tVarArray table(&platform, &evaluator);
  table.create_fixed_slots();
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::u16string_view line = lines[i].view();
    const std::size_t equals = line.find(u'=');
    AssignVariable(table, line.substr(0, equals), equals == std::u16string_view::npos ? u"" : line.substr(equals + 1));
  }
  const Text& text = lines.back();
  const bool explicit_names = flags & 1;
  const bool ignore_spaces = flags & 2;
  AssignVariable(table, u"VAREXPLICIT", explicit_names ? u"1" : u"0");
  AssignVariable(table, u"IGNORESPACES", ignore_spaces ? u"1" : u"0");
  const Text once = ExpandText(table, text, false);
  const Text repeated = ExpandText(table, text, true);
  if (text.view().find(u'%') == std::u16string_view::npos && text.view().find(u'{') == std::u16string_view::npos &&
      !ignore_spaces && explicit_names && !(once == repeated)) {
    __builtin_trap();  // without references or names nothing can differ
  }
  // The short ways for common shapes must give what the full expansion gives.
  Text holder;
  if (!(once == ExpandTextInFull(table, text.view(), false)) || !(repeated == ExpandTextInFull(table, text.view())) ||
      ExpandToView(table, text.view(), holder) != repeated.view()) {
    __builtin_trap();
  }
  (void)ExpandForExpression(table, text.view());
  return 0;
}
