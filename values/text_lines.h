// Reading a text file line by line: a line ends at CR, LF or CR LF, and a Ctrl+Z byte
// ends the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorovev {

// Where the bytes come from: a file read in chunks, or memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills up to `size` bytes and gives how many it filled; 0 at the end (or on a fault,
  // which the source remembers for its owner to report).
  virtual std::size_t read(char* buffer, std::size_t size) = 0;
};

// The bytes of a source cut into lines. The reader buffers the source, so a CR LF split
// between two reads still ends one line, not two.
class LineReader {
 public:
  explicit LineReader(ByteSource& source, std::size_t chunk_size = 65536)
      : source_(source), chunk_size_(chunk_size == 0 ? 1 : chunk_size) {}

  // At the end of the bytes, or before a Ctrl+Z.
  bool at_end();
  // The next line without its line end; at the end, an empty line.
  std::string next_line();

 private:
  int peek();  // the next byte (0 to 255), or -1 at the end of the bytes
  void take() { ++position_; }

  ByteSource& source_;
  std::size_t chunk_size_;
  std::string buffer_;
  std::size_t position_ = 0;
  bool exhausted_ = false;
};

// Line `number` (1-based) of the source, read line by line until the source ends, the
// number of lines is reached or `stopped()` says the run was stopped (asked between
// lines). Nothing when the source ended before that many lines were read; an empty
// line when the number is 0 or less, or when no line was read before the stop.
template <typename Stopped>
std::optional<std::string> read_numbered_line(ByteSource& source, std::int32_t number, Stopped stopped) {
  LineReader reader(source);
  std::string line;
  std::int32_t read = 0;
  while (read < number && !reader.at_end() && !stopped()) {
    line = reader.next_line();
    ++read;
  }
  if (!reader.at_end() || read == number) return line;
  return std::nullopt;
}

// A source over bytes in memory, handed out in chunks of at most `chunk` bytes.
class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view bytes, std::size_t chunk = SIZE_MAX) : bytes_(bytes), chunk_(chunk) {}
  std::size_t read(char* buffer, std::size_t size) override;

 private:
  std::string_view bytes_;
  std::size_t chunk_;
};

}  // namespace dorovev
