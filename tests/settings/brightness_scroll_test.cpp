// The brightness scroll bar's position rules, without a window: every request type at the ends
// of the range and in between, and values that would leave the range.
#include "settings/brightness_scroll.h"

#include <gtest/gtest.h>

namespace {

struct ScrollCase {
  const char* label;
  int request;
  WORD thumbArgument;
  int position;
  int trackPosition;
  int expectedPosition;
  int expectedBrightness;
};

// The bar as the dialog sets it up: the range 0 to 8 and a page of 1.
SCROLLINFO BrightnessBar(int position, int trackPosition) {
  return {sizeof(SCROLLINFO), SIF_ALL, 0, 8, 1, position, trackPosition};
}

class ScrollRuleTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollRuleTest, MovesWithinTheRange) {
  const ScrollCase& c = GetParam();
  const ScrollOutcome outcome =
      ApplyScrollRequest(c.request, c.thumbArgument, BrightnessBar(c.position, c.trackPosition));
  EXPECT_EQ(outcome.position, c.expectedPosition) << c.label << ": scroll bar position";
  EXPECT_EQ(outcome.brightness, c.expectedBrightness) << c.label << ": brightness";
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ScrollRuleTest,
    ::testing::Values(ScrollCase{"page left at 0 stays", SB_PAGELEFT, 0, 0, 0, 0, 0},
                      ScrollCase{"page left at 5", SB_PAGELEFT, 0, 5, 5, 4, 4},
                      ScrollCase{"page right at 8 stays", SB_PAGERIGHT, 0, 8, 8, 8, 8},
                      ScrollCase{"page right at 3", SB_PAGERIGHT, 0, 3, 3, 4, 4},
                      ScrollCase{"line left at 0 stays", SB_LINELEFT, 0, 0, 0, 0, 0},
                      ScrollCase{"line left at 1", SB_LINELEFT, 0, 1, 1, 0, 0},
                      ScrollCase{"line right at 7", SB_LINERIGHT, 0, 7, 7, 8, 8},
                      ScrollCase{"line right at 8 stays", SB_LINERIGHT, 0, 8, 8, 8, 8},
                      ScrollCase{"left end", SB_LEFT, 0, 6, 6, 0, 0},
                      ScrollCase{"right end", SB_RIGHT, 0, 2, 2, 8, 8},
                      ScrollCase{"thumb dropped at 6", SB_THUMBPOSITION, 6, 2, 6, 6, 6},
                      ScrollCase{"thumb dropped at 0", SB_THUMBPOSITION, 0, 5, 0, 0, 0},
                      ScrollCase{"thumb value past the end", SB_THUMBPOSITION, 20, 5, 5, 8, 8},
                      ScrollCase{"negative thumb value", SB_THUMBPOSITION, 0xFFFF, 5, 5, 0, 0},
                      ScrollCase{"drag shows the track position", SB_THUMBTRACK, 7, 3, 7, 3, 7},
                      ScrollCase{"drag back to 0", SB_THUMBTRACK, 0, 3, 0, 3, 0},
                      ScrollCase{"drag ignores the message's value", SB_THUMBTRACK, 1, 3, 6, 3, 6},
                      ScrollCase{"end of scrolling changes nothing", SB_ENDSCROLL, 0, 5, 5, 5, 5},
                      ScrollCase{"an unknown request changes nothing", 99, 0, 5, 5, 5, 5},
                      ScrollCase{"a stale position above the range", SB_ENDSCROLL, 0, 12, 12, 8, 8},
                      ScrollCase{"a stale position below the range", SB_LINELEFT, 0, -3, -3, 0,
                                 0}));

TEST(ScrollRuleBigPageTest, PagingKeepsBothEndsWithLargerPages) {
  // With a page of 3 the highest position is 6; a page left from 2 would reach -1.
  SCROLLINFO info = BrightnessBar(2, 2);
  info.nPage = 3;
  EXPECT_EQ(ApplyScrollRequest(SB_PAGELEFT, 0, info).position, 0) << "page left from 2";
  info.nPos = info.nTrackPos = 5;
  EXPECT_EQ(ApplyScrollRequest(SB_PAGERIGHT, 0, info).position, 6) << "page right from 5";
  EXPECT_EQ(ApplyScrollRequest(SB_RIGHT, 0, info).position, 6) << "right end with page 3";
}

}  // namespace
