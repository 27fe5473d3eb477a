// The variable table: name search, assignment and the fixed slots.
#include "values/variable_table.h"

#include "values/ascii.h"

namespace dorovev {

tVarArray::tVarArray(VariableHost* host, ExpressionEvaluator* evaluator)
    : host_(host), evaluator_(evaluator) {
  if (host_) {
    const std::vector<std::u16string> arguments = host_->command_line_arguments();
    arguments_ = parse_command_line_variables(arguments);
  }
}

void tVarArray::create_fixed_slots() {
  static constexpr std::u16string_view kNames[] = {u"_LINE_NUM", u"VAREXPLICIT", u"IGNORESPACES"};
  const Text zero(u"0");
  for (std::u16string_view name : kNames) AssignVariable(*this, name, zero);
}

void tVarArray::set_line_number(std::int32_t line) {
  if (entries_.empty()) return;
  entries_[0].LineNumber = line;
  // Scripts jump around a few thousand lines at most; beyond that the text is made anew.
  constexpr std::int32_t kRemembered = 1 << 16;
  const auto slot = static_cast<std::size_t>(line);
  if (line >= 0 && line < kRemembered) {
    if (slot >= line_number_texts_.size()) line_number_texts_.resize(slot + 1);
    Text& text = line_number_texts_[slot];
    if (text.empty()) text = Text(widen_ascii(std::to_string(line)));
    entries_[0].Value = text;
    return;
  }
  entries_[0].Value = Text(widen_ascii(std::to_string(line)));
}

void tVarArray::note_written(std::int32_t index) noexcept {
  if (index == kVarExplicitSlot) implicit_lookup_ = entries_[kVarExplicitSlot].Value == std::u16string_view(u"0");
  if (index == kIgnoreSpacesSlot) trimming_ = entries_[kIgnoreSpacesSlot].Value == std::u16string_view(u"1");
}

namespace {

// A stored name is upper case already; only the wanted one needs changing.
bool equals_upper_name(std::u16string_view stored, std::u16string_view wanted) noexcept {
  if (stored.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] != upper_ascii(wanted[i])) return false;
  }
  return true;
}

// FNV-1a over the upper-case name. Its low bits depend only on the low bits of the
// characters, so the slot is taken from the top bits of a final multiplication.
std::size_t hash_name(std::u16string_view name) noexcept {
  std::uint64_t hash = 14695981039346656037ull;
  for (char16_t c : name) hash = (hash ^ upper_ascii(c)) * 1099511628211ull;
  return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> 32);
}

}  // namespace

std::int32_t tVarArray::find_entry_in_slots(std::u16string_view name) const noexcept {
  if (hash_slots_.empty()) return -1;
  const std::size_t mask = hash_slots_.size() - 1;
  for (std::size_t slot = hash_name(name) & mask;; slot = (slot + 1) & mask) {
    const std::int32_t stored = hash_slots_[slot];
    if (stored == 0) return -1;
    if (equals_upper_name(entries_[static_cast<std::size_t>(stored - 1)].Name.view(), name)) return stored - 1;
  }
}

void tVarArray::add_to_hash(std::int32_t index) {
  const std::size_t shape = shape_of_name(entries_[static_cast<std::size_t>(index)].Name.view());
  name_shapes_[shape >> 6] |= std::uint64_t{1} << (shape & 63);
  if (entries_[static_cast<std::size_t>(index)].Name.view().find(u'%') != std::u16string_view::npos) {
    names_hold_percent_ = true;
  }
  const auto place = [this](std::int32_t entry) {
    const std::size_t mask = hash_slots_.size() - 1;
    std::size_t slot = hash_name(entries_[static_cast<std::size_t>(entry)].Name.view()) & mask;
    while (hash_slots_[slot] != 0) slot = (slot + 1) & mask;
    hash_slots_[slot] = entry + 1;
  };
  if (entries_.size() * 2 > hash_slots_.size()) {
    hash_slots_.assign(hash_slots_.empty() ? 64 : hash_slots_.size() * 2, 0);
    for (std::int32_t entry = 0; entry < index; ++entry) place(entry);
  }
  place(index);
}

std::optional<Text> tVarArray::value_of(std::u16string_view name) const {
  const std::int32_t index = find_entry(name);
  if (index < 0) return std::nullopt;
  return entries_[static_cast<std::size_t>(index)].Value;
}

FoundVariable FindVariable(const tVarArray& table, std::u16string_view name) noexcept {
  const auto& items = table.name_index().items;
  std::int32_t lo = 0;
  std::int32_t hi = static_cast<std::int32_t>(items.size()) - 1;
  bool found = false;
  while (lo <= hi) {
    const std::int32_t mid = lo + (hi - lo) / 2;
    const int order = compare_ignoring_ascii_case(items[static_cast<std::size_t>(mid)].name.view(), name);
    if (order < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (order == 0) {
        found = true;
        lo = mid;
      }
    }
  }
  return {found, lo};
}

void AssignVariable(tVarArray& table, std::u16string_view name, Text value) {
  if (table.trimming()) name = trim(name);
  const std::uint32_t now = table.host_ ? table.host_->tick_count() : 0;
  const std::int32_t existing = table.find_entry(name);
  if (existing >= 0) {
    TVariableTable& entry = table.entries_[static_cast<std::size_t>(existing)];
    entry.Value = std::move(value);
    entry.LastSet = now;
    table.note_written(existing);
    return;
  }
  const FoundVariable found = FindVariable(table, name);
  const Text key(to_upper_ascii(name));
  const std::int32_t index = table.count();
  table.entries_.push_back(TVariableTable{key, std::move(value), 0, now});
  table.index_.items.insert(table.index_.items.begin() + found.position, tMySL::Item{key, TVarData{index}});
  table.add_to_hash(index);
  table.note_written(index);
}

void AssignVariable(tVarArray& table, std::u16string_view name, std::u16string_view value) {
  // A value that does not change keeps its stored text: nothing is allocated.
  const std::int32_t existing = table.find_entry(table.trimming() ? trim(name) : name);
  if (existing >= 0 && table.entries_[static_cast<std::size_t>(existing)].Value == value) {
    table.entries_[static_cast<std::size_t>(existing)].LastSet = table.host_ ? table.host_->tick_count() : 0;
    return;
  }
  AssignVariable(table, name, Text(value));
}

std::vector<CommandLineVariable> parse_command_line_variables(std::span<const std::u16string> arguments) {
  std::vector<CommandLineVariable> variables;
  for (const std::u16string& argument : arguments) {
    if (argument.empty() || argument[0] != u'/') continue;
    const std::size_t equals = argument.find(u'=');
    if (equals == std::u16string::npos) continue;
    variables.push_back({argument.substr(1, equals - 1), Text(std::u16string_view(argument).substr(equals + 1))});
  }
  return variables;
}

}  // namespace dorovev
