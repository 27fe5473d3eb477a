// Text: the immutable, reference-counted UTF-16 string that every variable value is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>

namespace dorovev {

// A value is written once and then shared: copying a Text copies a pointer and bumps a
// count, never the characters. The empty text owns no storage at all, so creating,
// copying and destroying it never allocates. The count is not atomic: all script work
// happens on the one GUI thread, and a Text must not be shared with another thread.
class Text {
 public:
  Text() noexcept = default;
  explicit Text(std::u16string_view text);
  Text(const Text& other) noexcept : block_(other.block_) { retain(); }
  Text(Text&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
  Text& operator=(const Text& other) noexcept {
    Block* const block = other.block_;  // read first: `other` may be this text
    if (block) ++block->references;
    release();
    block_ = block;
    return *this;
  }
  Text& operator=(Text&& other) noexcept {
    if (this != &other) {
      release();
      block_ = other.block_;
      other.block_ = nullptr;
    }
    return *this;
  }
  ~Text() { release(); }

  std::u16string_view view() const noexcept {
    return block_ ? std::u16string_view(characters(), block_->size) : std::u16string_view();
  }
  operator std::u16string_view() const noexcept { return view(); }
  std::u16string str() const { return std::u16string(view()); }
  std::size_t size() const noexcept { return block_ ? block_->size : 0; }
  bool empty() const noexcept { return size() == 0; }

  // True when both texts are the same stored characters, not merely equal ones.
  bool shares_storage_with(const Text& other) const noexcept { return block_ == other.block_; }

  friend bool operator==(const Text& a, const Text& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const Text& a, std::u16string_view b) noexcept { return a.view() == b; }

 private:
  struct Block {
    std::size_t references;
    std::size_t size;
  };
  const char16_t* characters() const noexcept {
    return reinterpret_cast<const char16_t*>(block_ + 1);
  }
  void retain() noexcept {
    if (block_) ++block_->references;
  }
  void release() noexcept {
    if (block_ && --block_->references == 0) ::operator delete(block_);
    block_ = nullptr;
  }

  Block* block_ = nullptr;
};

}  // namespace dorovev
