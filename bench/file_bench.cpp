// File command benchmarks under Wine64 (wall clock, so figures to read, never a pass or
// fail): GetFileList> over a folder of 10,000 files against a plain FindFirstFileW loop
// that builds the same list, and ReadLn> of line 10,000 of a 20,000-line file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/wall_clock.h"
#include "commands/files/file_commands.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

using namespace dorovev;
using namespace dorovev::codes;

namespace {

constexpr int kFiles = 10000;
constexpr int kLines = 20000;

std::wstring temporary_folder() {
  wchar_t base[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, base);
  return std::wstring(base) + L"dorovev-file-bench";
}

// The folder of empty files, made once and kept for later runs.
void make_files(const std::wstring& folder) {
  ::CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < kFiles; ++i) {
    const std::wstring name = folder + L"\\file" + std::to_wstring(i) + L".txt";
    if (::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
}

// The yardstick: every file of the pattern, the last found first, joined by ";".
std::wstring plain_list(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW((folder + L"\\*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::wstring list;
  for (auto name = names.rbegin(); name != names.rend(); ++name) {
    if (!list.empty()) list += L';';
    list += folder + L"\\" + *name;
  }
  return list;
}

}  // namespace

int main() {
  const std::wstring folder = temporary_folder();
  make_files(folder);
  std::string lines;
  for (int i = 1; i <= kLines; ++i) lines += "line number " + std::to_string(i) + "\r\n";
  const std::wstring text_file = folder + L"-lines.txt";
  const HANDLE file = ::CreateFileW(text_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  ::CloseHandle(file);

  win32::Win32Platform platform;
  ProcessState process;
  CommandTable table;
  register_file_commands(table);
  RunContext run(platform, process);
  run.variables.create_fixed_slots();
  const std::u16string pattern = win32::from_wide(folder) + u"\\*.txt,list";
  const std::u16string read_line = win32::from_wide(text_file) + u",10000,line";

  const double plain = bench::mean_milliseconds(10, [&] { plain_list(folder); });
  const double listed = bench::mean_milliseconds(10, [&] { dispatch(run, table, u"GFL"_code, pattern); });
  const double read = bench::mean_milliseconds(20, [&] { dispatch(run, table, u"RLN"_code, read_line); });
  std::printf("GetFileList> of %d files: %.2f ms, plain FindFirstFileW loop %.2f ms, ratio %.2f\n", kFiles, listed,
              plain, listed / plain);
  std::printf("ReadLn> of line 10,000 of %d lines: %.2f ms\n", kLines, read);
  ::DeleteFileW(text_file.c_str());
  return 0;
}
