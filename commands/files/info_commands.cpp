// FileSize>, FileDate>, FileTime> and the test behind IfFileChanged>.
#include <windows.h>

#include <optional>
#include <string>

#include "commands/files/file_command_parts.h"
#include "commands/files/file_commands.h"
#include "commands/files/find_files.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "values/clock_format.h"
#include "values/comma_split.h"
#include "values/file_names.h"

namespace dorovev {
namespace files {
namespace {

using namespace codes;

constexpr std::u16string_view kFileNotFound = u"File Not Found";

// The last-write time of an existing file (not a folder) in local time, with the
// two-second steps of the stored file times: odd seconds are taken down.
std::optional<LocalTime> last_write_time(std::u16string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(win32::wide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  FILETIME local;
  SYSTEMTIME time;
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &time)) {
    return std::nullopt;
  }
  return LocalTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond & ~1, 0};
}

// `file,result`: the size of the file (the first match of a wildcard name).
void file_size_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text file = run.resolve(split.first);
  const std::vector<FoundEntry> found = find_entries(file.view());
  AssignVariable(run.variables, split.rest,
                 found.empty() ? std::u16string(kFileNotFound) : decimal(static_cast<std::int64_t>(found.front().size)));
}

template <std::u16string (*Format)(const LocalTime&)>
void file_stamp_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text file = run.resolve(split.first);
  const std::optional<LocalTime> time = last_write_time(file.view());
  AssignVariable(run.variables, split.rest, time ? Format(*time) : std::u16string(kFileNotFound));
}

std::u16string date_digits(const LocalTime& time) { return format_year(time) + format_month(time) + format_day(time); }
std::u16string time_digits(const LocalTime& time) {
  return format_hour(time) + format_minute(time) + format_second(time);
}

}  // namespace

void register_info_commands(CommandTable& table) {
  table.add(u"FSZ"_code, file_size_command);
  table.add(u"FDT"_code, file_stamp_command<date_digits>);
  table.add(u"FTM"_code, file_stamp_command<time_digits>);
}

}  // namespace files

// `file,spec,...`: the file's last-write day against today minus the days of spec. A
// missing file (or a folder) is reported and fails the test.
bool file_changed_test(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text file = run.resolve(split.first);
  const Text spec = run.resolve(split_at_first_comma(split.rest).first);
  const std::optional<LocalTime> written = files::last_write_time(file.view());
  if (!written) {
    run.report_runtime_error(translate(u"File specifed in IfFileChangedSince is not valid."));
    return false;
  }
  return changed_since(calendar_date(*written), calendar_date(run.platform.local_time()), spec.view());
}

}  // namespace dorovev
