// Compile-mode switches, the embedded command line and the icon image plan.
#include <gtest/gtest.h>

#include <string>

#include "container/compile_options.h"

namespace dorovev {
namespace {

TEST(CompileSwitches, AreFoundAnywhereAndOptionsRunToTheEnd) {
  struct Case {
    const char16_t* command_line;
    bool quiet;
    bool delete_script;
    const char16_t* embedded;  // nullptr: none
    const char16_t* icon;      // nullptr: none
  };
  const Case cases[] = {
      {u"x -COMPILE a.scp b.exe", false, false, nullptr, nullptr},
      {u"x -COMPILE a.scp b.exe -QUIET", true, false, nullptr, nullptr},
      {u"x -COMPILE a.scp b.exe -DEL -quiet", false, true, nullptr, nullptr},  // case counts
      {u"x -COMPILE a.scp b.exe -OPTS:/x=1 -ICON:c:\\i.ico", false, false, u"/x=1 ", u"c:\\i.ico"},
      {u"x -COMPILE a.scp b.exe -ICON:c:\\i.ico", false, false, nullptr, nullptr},  // no icon without -OPTS:
      {u"x -COMPILE a.scp b.exe -OPTS:-HIDE /y=2 -QUIET", true, false, u"-HIDE /y=2 -QUIET", nullptr},
      {u"x -COMPILE a.scp b.exe -OPTS:", false, false, u"", nullptr},
      {u"x -ICON:a.ico -OPTS:/z=3", false, false, u"/z=3", nullptr},
  };
  for (const Case& c : cases) {
    const CompileSwitches switches = read_compile_switches(c.command_line);
    SCOPED_TRACE(std::string(std::u16string_view(c.command_line).begin(), std::u16string_view(c.command_line).end()));
    EXPECT_EQ(switches.quiet, c.quiet);
    EXPECT_EQ(switches.delete_script, c.delete_script);
    EXPECT_EQ(switches.embedded_command_line.has_value(), c.embedded != nullptr);
    if (c.embedded) {
      EXPECT_EQ(*switches.embedded_command_line, c.embedded);
    }
    EXPECT_EQ(switches.icon_file.has_value(), c.icon != nullptr);
    if (c.icon) {
      EXPECT_EQ(*switches.icon_file, c.icon);
    }
  }
}

TEST(EmbeddedCommandLine, IsInvertedBase64BothWays) {
  // "/x=5": 2F 78 3D 35 inverted is D0 87 C2 CA.
  EXPECT_EQ(encode_embedded_command_line("/x=5"), "0IfCyg==");
  EXPECT_EQ(decode_embedded_command_line("0IfCyg=="), "/x=5");
  EXPECT_EQ(encode_embedded_command_line(""), "");
  EXPECT_EQ(decode_embedded_command_line(""), "");
  EXPECT_EQ(decode_embedded_command_line("abc"), std::nullopt);  // no base64 length
  const std::string all = [] {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) bytes.push_back(static_cast<char>(byte));
    return bytes;
  }();
  EXPECT_EQ(decode_embedded_command_line(encode_embedded_command_line(all)), all);
}

TEST(EmbeddedCommandLine, MacroParametersLoseTheHostSwitches) {
  EXPECT_EQ(macro_parameters_of(u"/x=5 -HIDE"), u"x=5");
  EXPECT_EQ(macro_parameters_of(u" -NOSYSTRAY /NOSTOPKEY /a=1 /b=2 /HIDE "), u"a=1 /b=2");
  EXPECT_EQ(macro_parameters_of(u"//x=1"), u"/x=1");  // one leading / goes
  EXPECT_EQ(macro_parameters_of(u"-HIDE-HIDE"), u"");
  EXPECT_EQ(macro_parameters_of(u"-hide"), u"-hide");  // the switches are upper case
  EXPECT_TRUE(names_switch(u"a /NOSTOPKEY b", u"NOSTOPKEY"));
  EXPECT_TRUE(names_switch(u"-HIDE", u"HIDE"));
  EXPECT_FALSE(names_switch(u"HIDE", u"HIDE"));
}

// An icon file directory with the given entries (size, bit count), each with 4 bytes of
// image data.
std::string icon_file(std::initializer_list<std::pair<int, int>> entries) {
  std::string bytes = {0, 0, 1, 0, static_cast<char>(entries.size()), 0};
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const auto& [size, bits] : entries) {
    const char entry[16] = {static_cast<char>(size), static_cast<char>(size), 0, 0, 1, 0, static_cast<char>(bits), 0,
                            4, 0, 0, 0, static_cast<char>(offset & 0xFF), static_cast<char>(offset >> 8), 0, 0};
    bytes.append(entry, 16);
    offset += 4;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) bytes.append(4, static_cast<char>('a' + i));
  return bytes;
}

TEST(IconPlan, SlotsTakeSizesByDepthAndGapsTakeTheOtherDepth) {
  const std::string file = icon_file({{16, 4}, {32, 32}, {48, 8}, {16, 32}, {24, 24}, {20, 32}});
  const std::optional<IconPlan> plan = plan_icon_images(file);
  ASSERT_TRUE(plan.has_value());
  const auto data = [&](const std::optional<IconImage>& image) {
    return image ? file.substr(image->offset, image->size) : std::string("-");
  };
  EXPECT_EQ(data(plan->sixteen), "dddd");  // the last 16 x 16 of any depth
  const char* expected[10] = {"aaaa", "dddd", "eeee", "eeee", "bbbb", "bbbb", "cccc", "cccc", "-", "-"};
  for (int slot = 0; slot < 10; ++slot) EXPECT_EQ(data(plan->slots[slot]), expected[slot]) << slot + 1;
}

TEST(IconPlan, FilesWithoutSixteenOrBrokenAreToldApart) {
  const std::optional<IconPlan> no_sixteen = plan_icon_images(icon_file({{32, 32}}));
  ASSERT_TRUE(no_sixteen.has_value());
  EXPECT_FALSE(no_sixteen->sixteen.has_value());
  EXPECT_FALSE(plan_icon_images("").has_value());
  EXPECT_FALSE(plan_icon_images(std::string("\0\0\2\0\1\0", 6)).has_value());  // a cursor file
  std::string cut = icon_file({{16, 32}});
  cut.resize(cut.size() - 1);  // the image runs past the end
  EXPECT_FALSE(plan_icon_images(cut).has_value());
  // Only the first ten entries count.
  std::string eleven = icon_file({{32, 32}, {32, 32}, {32, 32}, {32, 32}, {32, 32}, {32, 32}, {32, 32}, {32, 32},
                                  {32, 32}, {32, 32}, {16, 32}});
  EXPECT_FALSE(plan_icon_images(eleven)->sixteen.has_value());
}

}  // namespace
}  // namespace dorovev
