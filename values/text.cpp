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

Text& Text::operator=(const Text& other) noexcept {
  if (block_ != other.block_) {
    Text copy(other);
    std::swap(block_, copy.block_);
  }
  return *this;
}

Text& Text::operator=(Text&& other) noexcept {
  if (this != &other) {
    release();
    block_ = other.block_;
    other.block_ = nullptr;
  }
  return *this;
}

void Text::release() noexcept {
  if (block_ && --block_->references == 0) ::operator delete(block_);
  block_ = nullptr;
}

}  // namespace dorovev
