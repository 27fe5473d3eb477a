// The variable table of one run: entries in creation order and a sorted name index.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "values/text.h"

namespace dorovev {

// The evaluator of `{...}` parameters. It shows its own messages; a text that yields no
// value (or fails to parse) gives nothing, and substitution leaves the braces in place.
class ExpressionEvaluator {
 public:
  virtual ~ExpressionEvaluator() = default;
  virtual std::optional<Text> evaluate(std::u16string_view expression, std::int32_t line) = 0;
  // The value read as a truth value, as conditions read it. By default: its text is "TRUE".
  virtual std::optional<bool> evaluate_truth(std::u16string_view expression, std::int32_t line) {
    const std::optional<Text> value = evaluate(expression, line);
    if (!value) return std::nullopt;
    return value->view() == std::u16string_view(u"TRUE");
  }
};

// What the table needs from outside: the millisecond tick count recorded at every
// assignment, and the process command line, whose `/name=value` arguments can be read
// like variables.
class VariableHost {
 public:
  virtual ~VariableHost() = default;
  virtual std::uint32_t tick_count() = 0;
  virtual std::vector<std::u16string> command_line_arguments() = 0;
};

// One variable. Names are stored upper-cased (letters a to z only).
struct TVariableTable {
  Text Name;
  Text Value;
  std::int32_t LineNumber = 0;  // entry 0 only: the line now executing, 1-based
  std::uint32_t LastSet = 0;    // tick count of the last assignment
};

// An index holder: the position of a variable in the entry array.
struct TVarData {
  std::int32_t index;
};

// The name index: upper-case names kept sorted by the order FindVariable searches in.
struct tMySL {
  struct Item {
    Text name;
    TVarData data;
  };
  std::vector<Item> items;
};

// The fixed slots that every run creates first, read by position rather than by name.
enum FixedSlot : std::int32_t { kLineNumberSlot = 0, kVarExplicitSlot = 1, kIgnoreSpacesSlot = 2 };

// A `/name=value` argument of the process command line.
struct CommandLineVariable {
  std::u16string name;
  Text value;
};

// The variable table of one run. Entries are never removed or moved, so an entry's
// position is its permanent index. Everything that writes a variable goes through
// AssignVariable; the main loop alone also writes the line number of entry 0.
class tVarArray {
 public:
  explicit tVarArray(VariableHost* host = nullptr, ExpressionEvaluator* evaluator = nullptr);

  std::int32_t count() const noexcept { return static_cast<std::int32_t>(entries_.size()); }
  const TVariableTable& entry(std::int32_t index) const { return entries_[static_cast<std::size_t>(index)]; }
  const tMySL& name_index() const noexcept { return index_; }

  // Creates the fixed slots _LINE_NUM, VAREXPLICIT and IGNORESPACES, each holding "0".
  void create_fixed_slots();
  // Sets the text and the number of entry 0 to the line now executing.
  void set_line_number(std::int32_t line);
  std::int32_t line_number() const noexcept { return entries_.empty() ? 0 : entries_[0].LineNumber; }

  // Implicit lookup is on while VAREXPLICIT holds exactly "0"; trimming while
  // IGNORESPACES holds exactly "1". Both are off in an empty table.
  bool implicit_lookup() const noexcept { return implicit_lookup_; }
  bool trimming() const noexcept { return trimming_; }

  ExpressionEvaluator* evaluator() const noexcept { return evaluator_; }
  void set_evaluator(ExpressionEvaluator* evaluator) noexcept { evaluator_ = evaluator; }
  const std::vector<CommandLineVariable>& command_line_variables() const noexcept { return arguments_; }

  // The entry of a variable by name (any case), or -1. Gives the same answer as
  // FindVariable, through a hash of the names instead of a binary search.
  std::int32_t find_entry(std::u16string_view name) const noexcept {
    // Most texts tried as names are no name; the filter turns them away right here.
    const std::size_t shape = shape_of_name(name);
    if (((name_shapes_[shape >> 6] >> (shape & 63)) & 1) == 0) return -1;
    return find_entry_in_slots(name);
  }
  bool some_name_holds_percent() const noexcept { return names_hold_percent_; }
  // The value of a variable by name (any case), if it exists.
  std::optional<Text> value_of(std::u16string_view name) const;

 private:
  friend void AssignVariable(tVarArray&, std::u16string_view, Text);
  friend void AssignVariable(tVarArray&, std::u16string_view, std::u16string_view);

  VariableHost* host_;
  ExpressionEvaluator* evaluator_;
  std::vector<CommandLineVariable> arguments_;
  void add_to_hash(std::int32_t index);
  std::int32_t find_entry_in_slots(std::u16string_view name) const noexcept;
  // The filter's bit for a name: its length and its first and last letters, mixed.
  static std::size_t shape_of_name(std::u16string_view name) noexcept {
    if (name.empty()) return 0;
    const auto upper = [](char16_t c) -> std::size_t { return (c >= u'a' && c <= u'z') ? c - 32 : c; };
    const std::size_t key = (name.size() << 16) ^ (upper(name.front()) << 8) ^ upper(name.back());
    return ((key * 0x9E3779B97F4A7C15ull) >> 54) & 1023;
  }
  // Reads the two switches again after entry `index` was written.
  void note_written(std::int32_t index) noexcept;
  bool implicit_lookup_ = false;
  bool trimming_ = false;

  std::vector<TVariableTable> entries_;
  tMySL index_;
  // Open addressing over the upper-case names: entry index + 1, 0 for a free slot. The
  // size is a power of two, at least twice the number of entries. Substitution looks
  // names up on every parameter, and a probe is cheaper than a binary search.
  std::vector<std::int32_t> hash_slots_;
  // A filter over the names' length and first and last letters: most texts that
  // substitution tries as a name (values, paths, whole parameters) are no name, and
  // the filter turns them away before the name is hashed.
  std::uint64_t name_shapes_[16] = {};
  // Whether any name holds `%`: until one does, no text that holds it needs looking up.
  bool names_hold_percent_ = false;
  // The text of every line number set so far, made once per line.
  std::vector<Text> line_number_texts_;
};

struct FoundVariable {
  bool found;
  std::int32_t position;  // in the name index: the match, or where the name would go
};

// Binary search of the name index, comparing with ASCII case ignored.
FoundVariable FindVariable(const tVarArray& table, std::u16string_view name) noexcept;

// Creates or overwrites a variable. The value is stored as given.
void AssignVariable(tVarArray& table, std::u16string_view name, Text value);
void AssignVariable(tVarArray& table, std::u16string_view name, std::u16string_view value);

// Splits `/name=value` arguments off a command line; arguments without `=` define nothing.
std::vector<CommandLineVariable> parse_command_line_variables(std::span<const std::u16string> arguments);

}  // namespace dorovev
