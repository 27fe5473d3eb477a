// The command table and the dispatch of one line to its handler.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/command_code.h"

namespace dorovev {

class RunContext;

// A handler gets the raw parameter text; it splits and resolves it itself and stores its
// results in variables.
using CommandHandler = void (*)(RunContext& run, std::u16string_view parameters);

// Command code -> handler, filled at start-up by each command family. A code that is in
// no family's table does nothing.
class CommandTable {
 public:
  CommandTable();
  // Codes are unique: registering a code twice is a programming error and throws.
  void add(CommandCode code, CommandHandler handler);
  CommandHandler find(CommandCode code) const noexcept;
  std::size_t size() const noexcept { return count_; }

 private:
  struct Slot {
    std::uint64_t key = 0;  // 0: free (no code packs to 0 but the empty one)
    CommandHandler handler = nullptr;
  };
  std::size_t slot_of(std::uint64_t key) const noexcept;
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

// Keeps CWD current, then calls the handler of the code, if any. An exception that
// escapes the handler becomes a runtime-error report carrying its message, so the
// person decides whether the run goes on, and the run's finishing steps always happen.
void dispatch(RunContext& run, const CommandTable& table, CommandCode code, std::u16string_view parameters);

}  // namespace dorovev
