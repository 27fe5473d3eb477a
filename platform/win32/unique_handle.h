// Ownership of Win32 handles: each kind knows its close function and its invalid value.
#pragma once

#include <windows.h>

#include <utility>

namespace dorovev::win32 {

template <typename Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() noexcept = default;
  explicit UniqueResource(Value value) noexcept : value_(value) {}
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  Value get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
  Value release() noexcept { return std::exchange(value_, Traits::invalid()); }
  void reset(Value value = Traits::invalid()) noexcept {
    if (value_ != Traits::invalid()) Traits::close(value_);
    value_ = value;
  }

 private:
  Value value_ = Traits::invalid();
};

struct FileHandleTraits {
  using Value = HANDLE;
  static Value invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Value value) noexcept { ::CloseHandle(value); }
};

struct KernelHandleTraits {
  using Value = HANDLE;
  static Value invalid() noexcept { return nullptr; }
  static void close(Value value) noexcept { ::CloseHandle(value); }
};

using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueHandle = UniqueResource<KernelHandleTraits>;

}  // namespace dorovev::win32
