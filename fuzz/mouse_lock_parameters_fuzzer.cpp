// Fuzzes the parameter readers of the mouse moves and the key wait: any text gives a point
// or none, and a key or none, and a point read back from its own text is the same point.
#include <cstddef>
#include <cstdint>
#include <string>

#include "commands/input/lock_wait_key.h"
#include "commands/input/mouse_move_target.h"
#include "engine/run_context.h"
#include "tests/support/fake_platform.h"

using namespace dorovev;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static testing::FakePlatform platform;
  static ProcessState process;
  static RunContext run(platform, process);
  static const bool prepared = [] {
    run.variables.create_fixed_slots();
    AssignVariable(run.variables, u"x", u"12");
    return true;
  }();
  (void)prepared;
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

  if (const auto point = read_move_target(run, text)) {
    const std::string x = std::to_string(point->x), y = std::to_string(point->y);
    std::u16string again(x.begin(), x.end());
    again += u',';
    again.append(y.begin(), y.end());
    const auto reread = read_move_target(run, again);
    if (!reread || !(*reread == *point)) __builtin_trap();
  }
  const WaitKey key = read_wait_key(text);
  if (key.kind == WaitKey::Kind::kCharacter && text.size() != 1) __builtin_trap();
  if (key.kind == WaitKey::Kind::kVirtualKey && key.virtual_key != 0 && text.size() < 3) __builtin_trap();
  return 0;
}
