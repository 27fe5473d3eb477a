// Icon replacement through the resource update functions.
#include "host/icon_replacement.h"

#include <windows.h>

#include <string>

#include "container/compile_options.h"
#include "platform/win32/wide.h"

namespace dorovev::host {

namespace {

constexpr WORD kLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);  // 2057

}  // namespace

IconReplacement replace_icon_images(std::u16string_view executable, std::string_view icon_file,
                                    std::u16string_view icon_path) {
  IconReplacement outcome;
  const std::optional<IconPlan> plan = plan_icon_images(icon_file);
  if (!plan || !plan->sixteen) {
    outcome.message = u"No 16x16 icon found in " + std::u16string(icon_path);
    return outcome;
  }
  const HANDLE update = ::BeginUpdateResourceW(win32::wide(executable).c_str(), FALSE);
  if (!update) {
    outcome.message = u"Error updating icon: 1";
    return outcome;
  }
  const auto write = [&](int number, const IconImage& image) {
    void* data = const_cast<char*>(icon_file.data() + image.offset);
    return ::UpdateResourceW(update, RT_ICON, MAKEINTRESOURCEW(number), kLanguage, data, image.size) != FALSE;
  };
  for (int number = 1; number <= 10; ++number) {
    if (!write(number, *plan->sixteen)) {
      ::EndUpdateResourceW(update, TRUE);
      outcome.message = u"Error updating icon: " + win32::from_wide(std::to_wstring(number));
      return outcome;
    }
  }
  for (int number = 1; number <= 10; ++number) {
    const std::optional<IconImage>& image = plan->slots[static_cast<std::size_t>(number - 1)];
    if (image && !write(number, *image)) {
      ::EndUpdateResourceW(update, TRUE);
      outcome.message = u"Error updating icon: " + win32::from_wide(std::to_wstring(number));
      return outcome;
    }
  }
  outcome.replaced = ::EndUpdateResourceW(update, FALSE) != FALSE;
  if (!outcome.replaced) outcome.message = u"Error updating icon: 10";
  return outcome;
}

}  // namespace dorovev::host
