// Fuzzes the string commands: the input's first byte picks the flags, its lines assign
// variables (`name=value`), and its last line is the parameter text handed to every
// string command in turn. Besides not crashing, the results must keep their promises.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/line_list.h"
#include "tests/support/fake_command_services.h"
#include "tests/support/fake_platform.h"
#include "values/ascii.h"
#include "values/comma_split.h"
#include "values/expand_text.h"
#include "values/number_readers.h"
#include "values/string_commands.h"

using namespace dorovev;

namespace {

std::optional<std::int64_t> number_in(const tVarArray& table, std::u16string_view name) {
  const std::optional<Text> value = table.value_of(name);
  if (!value) return std::nullopt;
  const std::optional<std::int32_t> number = read_strict_integer(value->view());
  if (!number) __builtin_trap();  // every count, length and position is a decimal number
  return *number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  ++data, --size;
  testing::FakePlatform platform;
  const LineList lines = split_lines(platform.ansi_to_text(std::string_view(reinterpret_cast<const char*>(data), size)));
  if (lines.empty()) return 0;

  tVarArray table(&platform, nullptr);
  table.create_fixed_slots();
  for (std::size_t i = 0; i + 1 < lines.size() && i < 16; ++i) {
    const std::u16string_view line = lines[i].view();
    const std::size_t equals = line.find(u'=');
    AssignVariable(table, line.substr(0, equals), equals == std::u16string_view::npos ? u"" : line.substr(equals + 1));
  }
  AssignVariable(table, u"VAREXPLICIT", (flags & 1) ? u"1" : u"0");
  AssignVariable(table, u"IGNORESPACES", (flags & 2) ? u"1" : u"0");
  const std::u16string_view parameters = lines.back().view();
  testing::FakeCommandServices services;

  // LEN: the length of the first piece as it expands, stored under the rest as written
  // (trimmed under IGNORESPACES). Worked out first: the name may be one of the flags.
  {
    const CommaSplit split = split_at_first_comma(parameters);
    const auto length = static_cast<std::int64_t>(ExpandText(table, split.first).size());
    const std::u16string name(table.trimming() ? trim(split.rest) : split.rest);
    length_command(table, parameters, services);
    if (number_in(table, name) != length) __builtin_trap();
  }

  concatenate_command(table, parameters, services);
  replace_command(table, parameters, services);

  const std::size_t reports = services.reports.size();
  substring_command(table, parameters, services);
  position_command(table, parameters, services);
  if (services.reports.size() > reports + 2) __builtin_trap();  // one report per command at most

  // SEP: the count is stored under the result name, and every numbered part exists.
  tVarArray fresh(&platform, nullptr);
  fresh.create_fixed_slots();
  AssignVariable(fresh, u"IGNORESPACES", (flags & 2) ? u"1" : u"0");
  separate_command(fresh, parameters, services);
  std::int32_t count_entries = 0;
  for (std::int32_t i = 3; i < fresh.count(); ++i) {
    const std::u16string_view name = fresh.entry(i).Name.view();
    if (name.ends_with(u"_COUNT")) {
      ++count_entries;
      const std::optional<std::int64_t> count = number_in(fresh, name);
      if (!count || *count < 0 || *count > fresh.count()) __builtin_trap();
    }
  }
  if (count_entries < 1) __builtin_trap();
  if (!services.messages.empty() || services.stop_requests != 0) __builtin_trap();
  return 0;
}
