// Line shapes, name matching and comment skipping.
#include <gtest/gtest.h>

#include "engine/line_search.h"
#include "engine/line_shapes.h"
#include "tests/support/fake_platform.h"

namespace dorovev {
namespace {

using testing::make_lines;
using testing::u16;

TEST(LineShapes, NamesComeFromFixedPositionsUntrimmed) {
  EXPECT_EQ(label_name(u"Label>start"), u"start");
  EXPECT_EQ(label_name(u"  label>start "), u"start ");
  EXPECT_EQ(label_name(u"LABEL"), u"");
  EXPECT_EQ(label_name(u"Labels>x"), u">x");  // only the letters count, the name starts at 7
  EXPECT_FALSE(label_name(u"Lab>x"));
  EXPECT_EQ(subroutine_start_name(u"SRT>Sub1"), u"Sub1");
  EXPECT_EQ(subroutine_end_name(u"End>Sub1"), u"Sub1");
  EXPECT_EQ(subroutine_end_name(u"EndIf"), u"f");  // the If-end exception belongs to the loop
  EXPECT_EQ(repeat_name(u"Repeat>k"), u"k");
  EXPECT_FALSE(repeat_name(u"Repea>k"));
  EXPECT_EQ(dialog_end_name(u"EndDialog>Dlg1"), u"Dlg1");
  EXPECT_EQ(dialog_end_name(u"ENDDIALOG"), u"");
  EXPECT_TRUE(is_endif_line(u"  endif"));
  EXPECT_TRUE(is_endif_line(u"ENDIF>"));
  EXPECT_FALSE(is_endif_line(u"End>x"));
  EXPECT_TRUE(is_else_line(u"Else"));
  EXPECT_TRUE(is_else_line(u"elseif"));
  EXPECT_FALSE(is_else_line(u"Els"));
}

TEST(LineShapes, NamesMatchExactlyUnlessIgnoringSpaces) {
  EXPECT_TRUE(names_match(u"start", u"start", false));
  EXPECT_FALSE(names_match(u"start", u"start ", false));
  EXPECT_FALSE(names_match(u"Start", u"start", false));
  EXPECT_TRUE(names_match(u"start", u"start ", true));
  EXPECT_TRUE(names_match(u" start", u"start\t", true));
  EXPECT_FALSE(names_match(u"start", u"Start", true));
}

TEST(Comments, ACommentRunIsPassedOverButNeverTheLastLine) {
  const LineList lines = make_lines({"// one", "// two", "  // three", "Let>x=1", "// five", "// six"});
  EXPECT_EQ(skip_comment_run(lines, 1), 3u);  // from line 1, lines 2 and 3 are passed over
  EXPECT_EQ(skip_comment_run(lines, 3), 3u);  // not a comment: nothing to pass
  EXPECT_EQ(skip_comment_run(lines, 5), 5u);  // the last line is reached as an ordinary line
  EXPECT_EQ(skip_comment_run(lines, 6), 6u);
  EXPECT_TRUE(is_comment_line(u"   //x"));
  EXPECT_FALSE(is_comment_line(u"/ /x"));
}

TEST(BlockComments, ForwardSkipHidesLinesUpToTheClosingLine) {
  const LineList lines = make_lines({"/* start", "Label>hidden", "a", "b", "end */  ", "Let>x=1"});
  EXPECT_TRUE(opens_block_comment(lines[0].view()));
  EXPECT_EQ(skip_block_comment_forward(lines, 1), 5u);
  EXPECT_FALSE(opens_block_comment(u"/* note */"));
  EXPECT_FALSE(opens_block_comment(u"  /* note */  "));
  EXPECT_TRUE(opens_block_comment(u"  /* note */ x"));

  // Never closed: the rest of the script is hidden.
  const LineList open = make_lines({"/*", "a", "b"});
  EXPECT_EQ(skip_block_comment_forward(open, 1), 3u);
  EXPECT_EQ(skip_block_comment_forward(make_lines({"/*"}), 1), 1u);
}

TEST(BlockComments, BackwardSkipFindsTheOpeningLine) {
  const LineList lines = make_lines({"Repeat>k", "/* a", "b", "c */", "Until>k"});
  EXPECT_EQ(skip_block_comment_backward(lines, 3), 1u);
  EXPECT_EQ(skip_block_comment_backward(lines, 4), 4u);  // not a closing line
  EXPECT_EQ(skip_block_comment_backward(make_lines({"/* one line */"}), 0), 0u);
  EXPECT_EQ(skip_block_comment_backward(make_lines({"a", "b */"}), 1), 0u);  // no opener: the first line
}

// The search cache must answer every search as a fresh scan does, also from inside a
// block comment, past the end, and after the list changed.
TEST(LineSearch, TheCacheAnswersAsAFreshScan) {
  LineList lines = make_lines({"Label>a", "/*", "Label>b", "*/", "SRT>s", "Label>b", "END>s", "Label> a",
                               "/* one-line */", "Label>c", "END>s"});
  LineSearchCache cache;
  const auto check_all = [&] {
    for (std::size_t from = 0; from <= lines.size() + 1; ++from) {
      for (LineShape shape : {LineShape::kLabel, LineShape::kSubroutineStart, LineShape::kSubroutineEnd}) {
        for (std::u16string_view name : {u"a", u"b", u"c", u"s", u"missing"}) {
          for (bool ignore_spaces : {false, true}) {
            EXPECT_EQ(cache.find_forward(lines, from, shape, name, ignore_spaces),
                      find_forward(lines, from, shape, name, ignore_spaces))
                << "from " << from << " name " << std::string(name.begin(), name.end());
          }
        }
      }
    }
  };
  check_all();
  EXPECT_EQ(cache.find_forward(lines, 0, LineShape::kLabel, u"b", false), 5u);  // the first is hidden
  EXPECT_EQ(cache.find_forward(lines, 2, LineShape::kLabel, u"b", false), 2u);  // unless a search starts inside

  lines.insert(lines.begin(), Text(u"Label>c"));  // as an include shifts the lines
  check_all();
  EXPECT_EQ(cache.find_forward(lines, 0, LineShape::kLabel, u"c", false), 0u);
  lines[0] = Text(u"Label>d");  // the same length, another text
  check_all();
  lines = make_lines({"Label>x", "Label>y"});  // a new list altogether
  check_all();
  EXPECT_EQ(cache.find_forward(lines, 0, LineShape::kLabel, u"y", false), 1u);
}

}  // namespace
}  // namespace dorovev
