// The shared immutable text.
#include <gtest/gtest.h>

#include "values/text.h"

namespace dorovev {
namespace {

TEST(TextValue, CopiesShareTheCharacters) {
  const Text original(u"value");
  Text copy = original;
  EXPECT_TRUE(copy.shares_storage_with(original));
  EXPECT_EQ(copy, u"value");
  Text moved = std::move(copy);
  EXPECT_TRUE(moved.shares_storage_with(original));
  EXPECT_TRUE(copy.empty());  // NOLINT: a moved-from text is the empty text
  moved = Text(u"other");
  EXPECT_EQ(original, u"value");  // the original is untouched
  Text& alias = moved;
  moved = alias;  // self-assignment keeps the value
  EXPECT_EQ(moved, u"other");
}

TEST(TextValue, TheEmptyTextOwnsNothing) {
  EXPECT_TRUE(Text().shares_storage_with(Text(u"")));
  EXPECT_EQ(Text().view(), u"");
  EXPECT_EQ(Text(std::u16string_view(u"a\0b", 3)).size(), 3u);
}

}  // namespace
}  // namespace dorovev
