// Starting programs and naming temporary files.
#include "host/host_services.h"

#include <windows.h>

#include <cstdio>

#include "host/system_files.h"
#include "platform/win32/process_start.h"
#include "platform/win32/wide.h"
#include "values/ascii.h"

namespace dorovev::host {

using win32::from_wide;
using win32::wide;

int run_program(std::u16string_view command_line, int show, bool wait) {
  const win32::UniqueHandle process = win32::start_process(command_line, show);
  if (!process) return -1;
  if (wait) {
    while (::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
      MSG message;
      while (::PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&message);
      ::Sleep(1);
    }
  }
  DWORD code = 0;
  if (!::GetExitCodeProcess(process.get(), &code)) return -1;
  return static_cast<int>(code);
}

std::u16string program_directory() {
  const std::u16string path = program_path();
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

TemporaryNames temporary_names(bool want_file) {
  TemporaryNames names;
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length > 0 && length <= MAX_PATH) names.directory = std::u16string(trim(from_wide(folder, length)));
  if (!want_file) return names;
  wchar_t file[MAX_PATH] = {};
  if (!names.directory.empty() && ::GetTempFileNameW(wide(names.directory).c_str(), L"plrt", 0, file)) {
    names.file = from_wide(file, ::wcslen(file));
    return names;
  }
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  names.file = program_directory() + u"\\" + widen_ascii(stamp) + u"plrt1a.tmp";
  return names;
}

}  // namespace dorovev::host
