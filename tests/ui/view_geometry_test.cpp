#include "terminal/ui/view_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusPaneEdges, FirstLayoutOfTheStartingClientArea) {
  EXPECT_EQ(StatusPaneEdges(645), (std::array<int, 4>{200, 545, 595, 645}));
}

TEST(StatusPaneEdges, StretchingPaneFollowsTheWidth) {
  EXPECT_EQ(StatusPaneEdges(1024), (std::array<int, 4>{200, 924, 974, 1024}));
}

TEST(StatusPaneEdges, NarrowWindowIsNotClamped) {
  // Below 300 pixels pane 1 ends before pane 0 does.
  EXPECT_EQ(StatusPaneEdges(250), (std::array<int, 4>{200, 150, 200, 250}));
  EXPECT_EQ(StatusPaneEdges(0), (std::array<int, 4>{200, -100, -50, 0}));
}

TEST(ScrollLimit, CanvasLargerThanTheView) {
  EXPECT_EQ(ScrollLimit(15, 200, 400), 2600);
  EXPECT_EQ(ScrollLimit(8, 100, 645), 155);
}

TEST(ScrollLimit, ViewLargerThanTheCanvasGivesZero) {
  EXPECT_EQ(ScrollLimit(8, 100, 1000), 0);
  EXPECT_EQ(ScrollLimit(15, 200, 3000), 0);
  EXPECT_EQ(ScrollLimit(0, 200, 10), 0);
}

class ScrollTargetTest : public ::testing::Test {
 protected:
  // Vertical bar: line 15, page 400, range 0..2600, at 300.
  ScrollAxis axis{300, 2600, 15, 400};
  std::int32_t Target(int code, int thumb = 0) {
    std::int32_t pos = -12345;
    EXPECT_TRUE(ScrollTarget(axis, code, thumb, &pos)) << "code " << code;
    return pos;
  }
};

TEST_F(ScrollTargetTest, LineAndPageSteps) {
  EXPECT_EQ(Target(ScrollLineBack), 285);
  EXPECT_EQ(Target(ScrollLineForward), 315);
  EXPECT_EQ(Target(ScrollPageBack), 0);  // 300 - 400 is clamped at the top
  EXPECT_EQ(Target(ScrollPageForward), 700);
}

TEST_F(ScrollTargetTest, JumpsToTheEnds) {
  EXPECT_EQ(Target(ScrollToStart), 0);
  EXPECT_EQ(Target(ScrollToEnd), 2600);
}

TEST_F(ScrollTargetTest, ReleasedThumbMovesToItsPosition) {
  EXPECT_EQ(Target(ScrollThumbPosition, 1234), 1234);
  EXPECT_EQ(Target(ScrollThumbPosition, 65535), 2600);
}

TEST_F(ScrollTargetTest, StepsStopAtTheLimits) {
  axis.pos = 2590;
  EXPECT_EQ(Target(ScrollLineForward), 2600);
  EXPECT_EQ(Target(ScrollPageForward), 2600);
  axis.pos = 5;
  EXPECT_EQ(Target(ScrollLineBack), 0);
}

TEST_F(ScrollTargetTest, DraggingAndEndOfScrollDoNothing) {
  for (int code : {int(ScrollThumbTrack), int(ScrollEnd), 9, 100}) {
    std::int32_t pos = 77;
    EXPECT_FALSE(ScrollTarget(axis, code, 2000, &pos)) << "code " << code;
    EXPECT_EQ(pos, 77);
  }
}

TEST(ScrollTarget, HorizontalBarMovesByOneByteCell) {
  ScrollAxis horizontal{0, 155, 8, 645};
  std::int32_t pos = 0;
  ASSERT_TRUE(ScrollTarget(horizontal, ScrollLineForward, 0, &pos));
  EXPECT_EQ(pos, 8);
  ASSERT_TRUE(ScrollTarget(horizontal, ScrollPageForward, 0, &pos));
  EXPECT_EQ(pos, 155);
}

TEST(ScrollTarget, HiddenBarStaysAtZero) {
  ScrollAxis fits{0, 0, 15, 3000};
  std::int32_t pos = 99;
  for (int code : {0, 1, 2, 3, 6, 7}) {
    ASSERT_TRUE(ScrollTarget(fits, code, 0, &pos));
    EXPECT_EQ(pos, 0);
  }
}

}  // namespace
