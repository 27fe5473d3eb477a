// The portable matching rules: title patterns, the letter-case rule of "contains", the
// scope of each WF_TYPE, and the walks over the window inventory.
#include "commands/windows/window_rules.h"

#include <gtest/gtest.h>

namespace dorovev::windows {
namespace {

TEST(WindowRules, OnlyALastStarMakesAWildcard) {
  struct Case {
    std::u16string_view pattern;
    std::u16string_view stem;
    bool wildcard;
  };
  const Case cases[] = {
      {u"Notepad*", u"Notepad", true}, {u"Notepad", u"Notepad", false}, {u"*", u"", true},
      {u"**", u"*", true},             {u"*pad", u"*pad", false},       {u"a?c", u"a?c", false},
      {u"", u"", false},
  };
  for (const Case& c : cases) {
    const TitlePattern parsed = parse_title_pattern(c.pattern);
    EXPECT_EQ(parsed.stem, c.stem);
    EXPECT_EQ(parsed.wildcard, c.wildcard);
  }
}

TEST(WindowRules, ContainsFoldsOnlyTheLettersAToZ) {
  struct Case {
    std::u16string_view title;
    std::u16string_view stem;
    bool contained;
  };
  const Case cases[] = {
      {u"Untitled - Notepad", u"Notepad", true},
      {u"Untitled - Notepad", u"NOTEPAD", true},
      {u"Untitled - Notepad", u"untitled - notepad", true},
      {u"Untitled - Notepad", u"Notepad2", false},
      {u"Calculator", u"Notepad", false},
      {u"pad", u"Notepad", false},             // a stem longer than the title
      {u"Anything", u"", true},                // the empty stem
      {u"", u"", true},
      {u"\u00c9t\u00e9", u"\u00e9T\u00c9", false},  // letters outside a to z keep their case
      {u"\u00c9t\u00e9", u"\u00c9T\u00e9", true},
      {u"[x] {y}", u"] {Y", true},             // "[" and "{" are not "{" and "[" folded
      {u"[", u"{", false},
      {u"@", u"`", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(title_contains(c.title, c.stem), c.contained)
        << std::string(c.title.begin(), c.title.end()) << " / " << std::string(c.stem.begin(), c.stem.end());
  }
}

TEST(WindowRules, WfTypeSetsWhichWindowsTakePart) {
  struct Case {
    std::int32_t wf_type;
    bool top_level, top_level_visible_only, children, children_visible_only, exact_visible_only;
  };
  const Case cases[] = {
      {-5, true, false, false, false, false}, {0, true, false, false, false, false},
      {1, true, false, true, false, false},   {2, true, true, true, true, true},
      {3, false, true, true, true, true},     {99, false, true, true, true, true},
  };
  for (const Case& c : cases) {
    const WindowScope scope = window_scope(c.wf_type);
    SCOPED_TRACE(c.wf_type);
    EXPECT_EQ(scope.top_level, c.top_level);
    if (scope.top_level) {
      EXPECT_EQ(scope.top_level_visible_only, c.top_level_visible_only);
    }
    EXPECT_EQ(scope.children, c.children);
    if (scope.children) {
      EXPECT_EQ(scope.children_visible_only, c.children_visible_only);
    }
    EXPECT_EQ(scope.exact_visible_only, c.exact_visible_only);
  }
}

TEST(WindowRules, HandlesAreWrittenAsTheir32Bits) {
  EXPECT_EQ(handle_text(0), u"0");
  EXPECT_EQ(handle_text(65812), u"65812");
  EXPECT_EQ(handle_text(0xFFFFFFFFu), u"4294967295");
  EXPECT_EQ(handle_text(0xFFFFFFFF80000000ull), u"2147483648");  // a sign-extended handle
}

InventoryEntry top(std::uint64_t handle, std::u16string text) {
  return {true, handle, handle, u"Frame", std::move(text)};
}
InventoryEntry child(std::uint64_t handle, std::uint64_t top_handle, std::u16string text,
                     std::u16string class_name = u"Static") {
  return {false, handle, top_handle, std::move(class_name), std::move(text)};
}

TEST(WindowRules, InventoryLinesNameKindHandleClassAndText) {
  EXPECT_EQ(inventory_line({true, 65812, 65812, u"Notepad", u"Untitled - Notepad"}),
            u"PARENT:65812 - Notepad \"Untitled - Notepad\"");
  EXPECT_EQ(inventory_line(child(7, 1, u"OK", u"Button")), u"CHILD:7 - Button \"OK\"");
}

// Two windows titled "Editor", an untitled one between them whose child must not be taken
// for a child of the first, and a last window named by its handle.
const std::vector<InventoryEntry> kInventory = {
    top(1, u"Editor"),          child(11, 1, u"File"),  child(12, 1, u"Edit Button", u"Button"),
    child(21, 2, u"Orphan OK"),  // the top-level window 2 has no text, so no entry
    top(3, u"Editor"),          child(31, 3, u"Second"),
    top(4, u"Tools"),           child(41, 4, u"OK", u"Button"),
    top(5, u"Empty"),
    top(6, u"Editor"),          child(61, 6, u"Third"),
};

TEST(WindowRules, ChildTextsGatherTheChildrenOfTheNamedWindow) {
  struct Case {
    std::u16string_view title;
    bool handle_mode;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"Editor", false, u"File\r\nEdit Button"},  // the next top-level entry ends the walk
      {u"editor", false, u""},
      {u"Tools", false, u"OK"},
      {u"Empty", false, u""},
      {u"Empty", true, u""},
      {u"4", true, u"OK"},
      {u"4", false, u""},
      {u"2", true, u"Orphan OK"},  // the untitled window by its handle
      {u"", false, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(child_texts(kInventory, c.title, c.handle_mode), c.expected)
        << std::string(c.title.begin(), c.title.end()) << (c.handle_mode ? " (handle)" : "");
  }
  // A window with the title but no child texts lets the next one with that title count.
  const std::vector<InventoryEntry> quiet_first = {top(1, u"A"), top(2, u"A"), child(21, 2, u"x"), top(3, u"A"),
                                                   child(31, 3, u"y")};
  EXPECT_EQ(child_texts(quiet_first, u"A", false), u"x");
}

TEST(WindowRules, FindByTextNamesTheTopLevelWindowOfTheFirstMatchingChild) {
  struct Case {
    std::u16string_view text;
    std::optional<std::size_t> expected;
  };
  const Case cases[] = {
      {u"ok", 6},              // not the orphan's "Orphan OK": its window has no entry
      {u"button", 0},          // the class is part of the line
      {u"CHILD:31 -", 4},      // so are the prefix and the handle
      {u"\"second\"", 4},      // and the quotation marks
      {u"Editor", std::nullopt},  // top-level lines are not searched
      {u"Nowhere", std::nullopt},
      {u"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(window_with_child_text(kInventory, c.text), c.expected) << std::string(c.text.begin(), c.text.end());
  }
  EXPECT_EQ(window_with_child_text({}, u"x"), std::nullopt);
  EXPECT_EQ(window_with_child_text({child(1, 9, u"x")}, u"x"), std::nullopt);
}

}  // namespace
}  // namespace dorovev::windows
