// ReadLn>, ReadFile>, the write-line command and the join of two files: text files in
// the ANSI code page with CR LF line ends.
//
// A fault the commands name no result for (a file that opens but cannot be read, a line
// that cannot be written, an output that cannot be replaced) is a runtime-error report
// naming the file, and the command's result is left as it was. Nothing is ever written
// in part: the join writes a temporary file beside its output and puts it in place only
// once it is complete.
#include <windows.h>

#include <optional>
#include <string>

#include "commands/files/file_command_parts.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "values/comma_split.h"
#include "values/file_names.h"
#include "values/number_readers.h"
#include "values/text_lines.h"

namespace dorovev::files {
namespace {

using namespace codes;
using win32::UniqueFileHandle;
using win32::wide;

constexpr std::u16string_view kNoFile = u"##NOFILE##";
constexpr std::u16string_view kEndOfFile = u"##EOF##";
constexpr std::u16string_view kCannotRead = u"Cannot read file";
constexpr std::u16string_view kCannotWrite = u"Cannot write to file";

// A read-only file refuses writing on Windows; the check is made here as well, because
// not every system enforces the attribute (Wine running as root does not).
bool is_read_only(std::u16string_view path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An open file read in chunks; a failing read ends it and is remembered.
class FileByteSource final : public ByteSource {
 public:
  explicit FileByteSource(HANDLE file) : file_(file) {}
  std::size_t read(char* buffer, std::size_t size) override {
    DWORD read = 0;
    if (failed_ || !::ReadFile(file_, buffer, static_cast<DWORD>(size), &read, nullptr)) {
      failed_ = true;
      return 0;
    }
    return read;
  }
  bool failed() const { return failed_; }

 private:
  HANDLE file_;
  bool failed_ = false;
};

// `file,linenumber,result`; the rest after the file is resolved as a whole first.
void read_line_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text file = run.resolve(split.first);
  const Text rest = run.resolve(split.rest);
  const CommaSplit pieces = split_at_first_comma(rest.view());
  const std::optional<std::int32_t> number = read_strict_integer(run.resolve(pieces.first).view());
  const std::u16string_view result = pieces.rest;
  if (!number || !run.platform.file_exists(file.view())) {
    AssignVariable(run.variables, result, kNoFile);
    return;
  }
  UniqueFileHandle handle(::CreateFileW(wide(file.view()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!handle) {
    const DWORD error = ::GetLastError();
    AssignVariable(run.variables, result, u"##ERR## - Code : " + decimal(error));
    return;
  }
  FileByteSource source(handle.get());
  const std::optional<std::string> line =
      read_numbered_line(source, *number, [&run] { return run.process.stop_requested; });
  if (source.failed()) return run.report_file_fault(kCannotRead, file.view());
  AssignVariable(run.variables, result, line ? run.platform.ansi_to_text(*line) : std::u16string(kEndOfFile));
}

// `file,result`: the whole file; UTF-16 after the little-endian byte-order mark (the mark
// kept as the first character), the ANSI code page otherwise.
void read_file_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text file = run.resolve(split.first);
  if (!run.platform.file_exists(file.view())) {
    AssignVariable(run.variables, split.rest, kNoFile);
    return;
  }
  const std::optional<std::string> bytes = run.platform.read_file(file.view());
  if (!bytes) return run.report_file_fault(kCannotRead, file.view());
  if (bytes->size() >= 2 && static_cast<unsigned char>((*bytes)[0]) == 0xFF &&
      static_cast<unsigned char>((*bytes)[1]) == 0xFE) {
    std::u16string text(bytes->size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char16_t>(static_cast<unsigned char>((*bytes)[2 * i]) |
                                      (static_cast<unsigned char>((*bytes)[2 * i + 1]) << 8));
    }
    AssignVariable(run.variables, split.rest, text);
    return;
  }
  AssignVariable(run.variables, split.rest, run.platform.ansi_to_text(*bytes));
}

// `file,result,text`: the text (which may hold commas) appended as a line, or without
// its line end when WLN_NOCRLF is 1. The result is "0", or the system's error number
// when the file cannot be opened.
void write_line_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text file = run.resolve(split.first);
  const Text rest = run.resolve(split.rest);
  const CommaSplit pieces = split_at_first_comma(rest.view());
  const Text text = run.resolve(pieces.rest);
  std::string bytes = run.platform.text_to_ansi(text.view());
  if (!run.setting_is_on(u"WLN_NOCRLF")) bytes += "\r\n";

  DWORD error = ERROR_ACCESS_DENIED;
  UniqueFileHandle handle;
  if (!is_read_only(file.view())) {
    handle.reset(::CreateFileW(wide(file.view()).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) error = ::GetLastError();
  }
  if (!handle) {
    AssignVariable(run.variables, pieces.first, decimal(error));
    return;
  }
  DWORD written = 0;
  if (!bytes.empty() && (!::WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                      nullptr) ||
                         written != bytes.size())) {
    return run.report_file_fault(kCannotWrite, file.view());
  }
  if (!::CloseHandle(handle.release())) return run.report_file_fault(kCannotWrite, file.view());
  AssignVariable(run.variables, pieces.first, u"0");
}

// Writes the bytes to a new temporary file in the output's folder and puts it in the
// output's place. False, with nothing changed, when any step fails.
bool replace_file(std::u16string_view output, std::string_view first, std::string_view second) {
  if (is_read_only(output)) return false;
  std::u16string folder(folder_part(output));
  if (folder.empty()) folder = u".";
  wchar_t temporary[MAX_PATH + 1];
  if (!::GetTempFileNameW(wide(folder).c_str(), L"dvj", 0, temporary)) return false;
  bool written = false;
  {
    UniqueFileHandle handle(
        ::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    written = static_cast<bool>(handle);
    for (std::string_view part : {first, second}) {
      while (written && !part.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(part.size(), 1u << 30));
        DWORD done = 0;
        written = ::WriteFile(handle.get(), part.data(), chunk, &done, nullptr) && done == chunk;
        part.remove_prefix(chunk);
      }
    }
    written = written && ::CloseHandle(handle.release());
  }
  if (written && ::MoveFileExW(temporary, wide(output).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  ::DeleteFileW(temporary);
  return false;
}

// `first,second,output,result`: the two files one after the other written to output;
// the result is the number of bytes written, or -1 when first or second is missing.
void join_files_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split1 = split_at_first_comma(parameters);
  const Text first = run.resolve(split1.first);
  const Text rest1 = run.resolve(split1.rest);
  const CommaSplit split2 = split_at_first_comma(rest1.view());
  const Text second = run.resolve(split2.first);
  const Text rest2 = run.resolve(split2.rest);
  const CommaSplit split3 = split_at_first_comma(rest2.view());
  const Text output = run.resolve(split3.first);
  const std::u16string_view result = split3.rest;
  if (!run.platform.file_exists(first.view()) || !run.platform.file_exists(second.view())) {
    AssignVariable(run.variables, result, u"-1");
    return;
  }
  const std::optional<std::string> first_bytes = run.platform.read_file(first.view());
  if (!first_bytes) return run.report_file_fault(kCannotRead, first.view());
  const std::optional<std::string> second_bytes = run.platform.read_file(second.view());
  if (!second_bytes) return run.report_file_fault(kCannotRead, second.view());
  if (!replace_file(output.view(), *first_bytes, *second_bytes)) {
    return run.report_file_fault(kCannotWrite, output.view());
  }
  AssignVariable(run.variables, result, decimal(static_cast<std::int64_t>(first_bytes->size() + second_bytes->size())));
}

}  // namespace

void register_text_commands(CommandTable& table) {
  table.add(u"RLN"_code, read_line_command);
  table.add(u"RFL"_code, read_file_command);
  table.add(u"WLN"_code, write_line_command);
  table.add(u"APP"_code, join_files_command);
}

}  // namespace dorovev::files
