// An in-memory stand-in for the files and programs the script container and the
// self-replacement hand-off reach (a fake: nothing touches the disk or starts a process).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "container/self_replacement.h"

namespace dorovev::testing {

class FakeContainerSystem : public SelfReplacementSystem {
 public:
  struct Started {
    std::u16string path;
    std::u16string argument;
    bool operator==(const Started&) const = default;
  };

  std::map<std::u16string, std::string> files;  // full path -> bytes
  std::set<std::u16string> read_only;
  std::set<std::u16string> unreadable;
  std::set<std::u16string> unwritable;
  // How many more deletions of a file fail, as if another process still held it open;
  // kForever for a file that never lets go.
  static constexpr int kForever = -1;
  std::map<std::u16string, int> held;
  bool start_fails = false;
  std::u16string current = u"C:\\";

  std::vector<std::u16string> log;  // "read P", "write P", "cd P", "delete P" in order
  std::vector<Started> started;
  std::vector<std::uint32_t> delays;
  int delete_calls = 0;

  // A path without a drive or a leading backslash is relative to the current directory.
  std::u16string resolve(std::u16string_view path) const {
    const bool absolute = (path.size() >= 2 && path[1] == u':') || (!path.empty() && path[0] == u'\\');
    return absolute ? std::u16string(path) : current + std::u16string(path);
  }

  std::optional<std::string> read_file(std::u16string_view path) override {
    const std::u16string full = resolve(path);
    log.push_back(u"read " + full);
    const auto file = files.find(full);
    if (file == files.end() || unreadable.count(full)) return std::nullopt;
    return file->second;
  }

  bool write_file(std::u16string_view path, std::string_view bytes) override {
    const std::u16string full = resolve(path);
    log.push_back(u"write " + full);
    if (unwritable.count(full) || read_only.count(full) || held.count(full)) return false;
    files[full] = std::string(bytes);
    return true;
  }

  bool set_current_directory(std::u16string_view path) override {
    log.push_back(u"cd " + std::u16string(path));
    current = path;
    if (!current.empty() && current.back() != u'\\') current += u'\\';
    return true;
  }

  bool file_exists(std::u16string_view path) override { return files.count(resolve(path)) != 0; }

  bool delete_file(std::u16string_view path) override {
    const std::u16string full = resolve(path);
    log.push_back(u"delete " + full);
    ++delete_calls;
    if (!files.count(full) || read_only.count(full)) return false;
    if (const auto holder = held.find(full); holder != held.end()) {
      if (holder->second == kForever) return false;
      if (holder->second > 0) {
        --holder->second;
        return false;
      }
      held.erase(holder);
    }
    files.erase(full);
    return true;
  }

  void clear_read_only(std::u16string_view path) override { read_only.erase(resolve(path)); }

  void delay(std::uint32_t milliseconds) override { delays.push_back(milliseconds); }

  bool start_program(std::u16string_view path, std::u16string_view argument) override {
    if (start_fails) return false;
    started.push_back({std::u16string(path), std::u16string(argument)});
    return true;
  }
};

}  // namespace dorovev::testing
