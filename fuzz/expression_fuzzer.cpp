// Fuzzes the expression evaluator with any text: no crash, no sanitizer report, and a
// bounded time per input (the nesting bound keeps the parser's and the readings' stacks
// small). Both readings run, as text and as a truth value.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/support/fake_command_services.h"
#include "values/expression.h"

using namespace dorovev;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Pairs of bytes are UTF-16 code units, so every character can appear.
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  testing::FakeCommandServices services;
  Expressions expressions(services);
  (void)expressions.evaluate(text, 1);
  (void)expressions.evaluate_truth(text, 2);
  return 0;
}
