// The file-name texts of the file commands.
#include "values/file_names.h"

#include "values/number_readers.h"

namespace dorovev {
namespace {

std::size_t end_of_folder(std::u16string_view path) noexcept {
  const std::size_t separator = path.find_last_of(u"\\:");
  return separator == std::u16string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::u16string_view name_part(std::u16string_view path) noexcept { return path.substr(end_of_folder(path)); }

std::u16string_view folder_part(std::u16string_view path) noexcept { return path.substr(0, end_of_folder(path)); }

std::u16string listing_prefix(std::u16string_view pattern) {
  std::u16string prefix(folder_part(pattern));
  if (prefix.empty() || prefix.back() != u'\\') prefix += u'\\';
  return prefix;
}

std::u16string join_in_reverse(std::u16string_view prefix, const std::vector<std::u16string>& names,
                               std::u16string_view delimiter) {
  std::u16string joined;
  for (auto name = names.rbegin(); name != names.rend(); ++name) {
    if (name != names.rbegin()) joined += delimiter;
    joined += prefix;
    joined += *name;
  }
  return joined;
}

CountSearch split_count_pattern(std::u16string_view pattern, std::u16string_view current_directory) {
  CountSearch search{std::u16string(folder_part(pattern)), std::u16string(name_part(pattern))};
  if (search.directory.empty()) search.directory = current_directory;
  if (search.directory.empty() || search.directory.back() != u'\\') search.directory += u'\\';
  if (search.mask.empty()) search.mask = u"*.*";
  return search;
}

std::u16string copy_name(std::u16string_view name, bool is_folder, int attempt) {
  std::size_t dot = is_folder ? std::u16string_view::npos : name.rfind(u'.');
  if (dot == 0) dot = std::u16string_view::npos;
  const std::u16string_view stem = name.substr(0, dot);
  const std::u16string_view extension = dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
  std::u16string result(stem);
  result += u" - Copy";
  if (attempt > 1) {
    const std::string number = std::to_string(attempt);
    result += u" (";
    result.append(number.begin(), number.end());
    result += u')';
  }
  result += extension;
  return result;
}

bool changed_since(CalendarDate file_day, CalendarDate today, std::u16string_view spec) {
  char16_t comparison = u'=';
  if (!spec.empty() && (spec.front() == u'<' || spec.front() == u'>' || spec.front() == u'=')) {
    comparison = spec.front();
    spec.remove_prefix(1);
  }
  // Day numbers order the days as their yyyymmdd numbers do, and stay meaningful when
  // n reaches beyond the calendar.
  const std::int64_t threshold = std::int64_t{day_number(today)} - read_integer_or_zero(spec);
  const std::int64_t day = day_number(file_day);
  if (comparison == u'<') return threshold < day;
  if (comparison == u'>') return day < threshold;
  return day == threshold;
}

}  // namespace dorovev
