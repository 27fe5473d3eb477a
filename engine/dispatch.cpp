// Dispatch of command codes to handlers.
#include "engine/dispatch.h"

#include <exception>
#include <stdexcept>
#include <string>

#include "engine/run_context.h"
#include "values/ascii.h"

namespace dorovev {
namespace {

// Room for every code of the language with the table never more than half full.
constexpr std::size_t kSlots = 512;

std::size_t hash_key(std::uint64_t key) noexcept { return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 40); }

}  // namespace

CommandTable::CommandTable() : slots_(kSlots) {}

std::size_t CommandTable::slot_of(std::uint64_t key) const noexcept {
  std::size_t slot = hash_key(key) & (kSlots - 1);
  while (slots_[slot].key != 0 && slots_[slot].key != key) slot = (slot + 1) & (kSlots - 1);
  return slot;
}

void CommandTable::add(CommandCode code, CommandHandler handler) {
  if (code.key() == 0 || handler == nullptr) throw std::invalid_argument("a command needs a code and a handler");
  if (count_ * 2 >= kSlots) throw std::length_error("the command table is full");
  Slot& slot = slots_[slot_of(code.key())];
  if (slot.key != 0) throw std::logic_error("a command code is registered twice");
  slot = Slot{code.key(), handler};
  ++count_;
}

CommandHandler CommandTable::find(CommandCode code) const noexcept {
  if (code.key() == 0) return nullptr;
  return slots_[slot_of(code.key())].handler;
}

namespace {

// CWD follows the current directory before every command. A stored value that already
// equals it needs no assignment, whatever it would resolve to.
void refresh_current_directory(RunContext& run) {
  static const Text kReference(u"%CWD%");
  const std::u16string directory = run.platform.current_directory();
  std::int32_t& entry = run.cwd_entry;
  if (entry < 0) entry = run.variables.find_entry(u"CWD");
  if (entry >= 0 && run.variables.entry(entry).Value == std::u16string_view(directory)) return;
  if (ExpandText(run.variables, kReference) != std::u16string_view(directory)) {
    AssignVariable(run.variables, u"CWD", directory);
  }
}

}  // namespace

void dispatch(RunContext& run, const CommandTable& table, CommandCode code, std::u16string_view parameters) {
  refresh_current_directory(run);

  const CommandHandler handler = table.find(code);
  if (!handler) return;
  try {
    handler(run, parameters);
  } catch (const std::exception& error) {
    run.report_runtime_error(widen_ascii(error.what()));
  } catch (...) {
    run.report_runtime_error(u"Unexpected error");
  }
}

}  // namespace dorovev
