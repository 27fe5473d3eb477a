// Text: storage of the shared immutable string.
#include "values/text.h"

#include <cstring>
#include <new>

namespace dorovev {

Text::Text(std::u16string_view text) {
  if (text.empty()) return;
  void* memory = ::operator new(sizeof(Block) + text.size() * sizeof(char16_t));
  block_ = new (memory) Block{1, text.size()};
  std::memcpy(block_ + 1, text.data(), text.size() * sizeof(char16_t));
}

}  // namespace dorovev
