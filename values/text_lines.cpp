// Reading a text file line by line.
#include "values/text_lines.h"

#include <algorithm>
#include <cstring>

namespace dorovev {
namespace {

constexpr int kCtrlZ = 0x1A;

}  // namespace

int LineReader::peek() {
  if (position_ == buffer_.size()) {
    if (exhausted_) return -1;
    buffer_.resize(chunk_size_);
    const std::size_t filled = source_.read(buffer_.data(), chunk_size_);
    buffer_.resize(std::min(filled, chunk_size_));
    position_ = 0;
    if (buffer_.empty()) {
      exhausted_ = true;
      return -1;
    }
  }
  return static_cast<unsigned char>(buffer_[position_]);
}

bool LineReader::at_end() {
  const int next = peek();
  return next < 0 || next == kCtrlZ;
}

std::string LineReader::next_line() {
  std::string line;
  while (peek() >= 0) {
    const char* const begin = buffer_.data() + position_;
    const std::size_t available = buffer_.size() - position_;
    std::size_t length = 0;
    while (length < available && begin[length] != '\r' && begin[length] != '\n' && begin[length] != kCtrlZ) ++length;
    line.append(begin, length);
    position_ += length;
    if (length == available) continue;  // the line goes on in the next chunk
    const char end = begin[length];
    if (end == kCtrlZ) break;
    take();
    if (end == '\r' && peek() == '\n') take();
    break;
  }
  return line;
}

std::size_t MemoryByteSource::read(char* buffer, std::size_t size) {
  const std::size_t count = std::min({size, chunk_, bytes_.size()});
  if (count > 0) std::memcpy(buffer, bytes_.data(), count);
  bytes_.remove_prefix(count);
  return count;
}

}  // namespace dorovev
