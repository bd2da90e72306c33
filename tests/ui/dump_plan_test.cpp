#include "terminal/ui/dump_plan.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A window of 30 lines of 15 pixels whose vertical range is 0..2600.
constexpr DumpWindow thirtyLines{0, 2600, 450, 15};

DumpWindow At(std::int32_t pos, DumpWindow window = thirtyLines) {
  window.scrollPos = pos;
  return window;
}

TEST(DumpLineCount, PartialLineCountsOnlyWithAWholeWord) {
  EXPECT_EQ(DumpLineCount(0), 0);
  EXPECT_EQ(DumpLineCount(1), 0);
  EXPECT_EQ(DumpLineCount(2), 1);
  EXPECT_EQ(DumpLineCount(16), 1);
  EXPECT_EQ(DumpLineCount(17), 1);
  EXPECT_EQ(DumpLineCount(18), 2);
}

TEST(PlanDump, BeforeTheFirstConnectionTheLogIsShownFromItsFirstByte) {
  DumpPlan plan = PlanDump(0, 86, thirtyLines);  // one header line
  EXPECT_EQ(plan.from, 0);
  EXPECT_EQ(plan.label, 0);
  EXPECT_EQ(plan.count, 86);
}

TEST(PlanDump, DataThatFitsStartsAtTheDataStartWhateverThePosition) {
  for (std::int32_t pos : {0, 1300, 2600}) {
    DumpPlan plan = PlanDump(171, 171 + 400, At(pos));
    EXPECT_EQ(plan.from, 171);
    EXPECT_EQ(plan.label, 0);
    EXPECT_EQ(plan.count, 400);
  }
}

TEST(PlanDump, TrailingOddByteIsNeverShown) {
  EXPECT_EQ(PlanDump(100, 117, thirtyLines).count, 16);
  EXPECT_EQ(PlanDump(100, 118, thirtyLines).count, 18);
  EXPECT_EQ(PlanDump(100, 101, thirtyLines).count, 0);
}

TEST(PlanDump, ScrollRangeMapsLinearlyOntoTheFirstLine) {
  // 100 lines of data, 30 visible: the first line runs from 0 to 70.
  std::int32_t start = 171;
  std::int32_t end = start + 1600;
  DumpPlan top = PlanDump(start, end, At(0));
  EXPECT_EQ(top.from, start);
  EXPECT_EQ(top.count, 480);
  DumpPlan middle = PlanDump(start, end, At(1300));
  EXPECT_EQ(middle.label, 35 * 16);
  EXPECT_EQ(middle.from, start + 35 * 16);
  DumpPlan bottom = PlanDump(start, end, At(2600));
  EXPECT_EQ(bottom.label, 70 * 16);
  EXPECT_EQ(bottom.from + bottom.count, end);
}

TEST(PlanDump, LastScreenEndsAtTheLastWholeWord) {
  DumpPlan bottom = PlanDump(0, 1601, At(2600));
  EXPECT_EQ(bottom.from + bottom.count, 1600);
  EXPECT_EQ(bottom.count % 2, 0);
}

TEST(PlanDump, ZeroRangeShowsTheNewestScreenInsteadOfDividingByZero) {
  DumpWindow hidden{0, 0, 450, 15};
  DumpPlan plan = PlanDump(0, 1600, hidden);
  EXPECT_EQ(plan.label, 70 * 16);
  EXPECT_EQ(plan.count, 480);
}

TEST(PlanDump, LongLogAndLargeRangeDoNotOverflow) {
  // 200 MB of data near the bottom of the range: (lines - visible) * pos
  // needs more than 32 bits.
  std::int32_t end = 200000000;
  DumpPlan plan = PlanDump(0, end, At(2599));
  EXPECT_GT(plan.from, 0);
  EXPECT_LE(plan.from + plan.count, end);
  EXPECT_EQ(plan.count, 480);
  std::int64_t lines = end / 16;
  EXPECT_EQ(plan.label / 16, (lines - 30) * 2599 / 2600);
}

TEST(PlanDump, PositionOutsideTheRangeIsHeldInsideIt) {
  DumpPlan beyond = PlanDump(0, 1600, At(9999));
  EXPECT_EQ(beyond.label, 70 * 16);
  DumpPlan before = PlanDump(0, 1600, At(-5));
  EXPECT_EQ(before.label, 0);
}

TEST(PlanDump, NothingToShow) {
  EXPECT_EQ(PlanDump(500, 500, thirtyLines).count, 0);
  EXPECT_EQ(PlanDump(500, 400, thirtyLines).count, 0);  // data start behind the end
  EXPECT_EQ(PlanDump(0, 1600, DumpWindow{0, 2600, 450, 0}).count, 0);  // no font yet
  EXPECT_EQ(PlanDump(0, 1600, DumpWindow{0, 2600, 0, 15}).count, 0);
  EXPECT_EQ(PlanDump(0, 1600, DumpWindow{0, 2600, 14, 15}).count, 0);  // not one whole line
}

// A log held in memory that records every read.
struct FakeLog {
  std::vector<std::uint8_t> bytes;
  std::vector<std::int32_t> readLengths;
  int failAtRead = -1;

  DumpReader Reader() {
    return [this](std::int32_t offset, std::uint8_t* buffer, std::int32_t length) {
      if (int(readLengths.size()) == failAtRead) return false;
      readLengths.push_back(length);
      if (offset < 0 || offset + length > std::int32_t(bytes.size())) return false;
      std::copy(bytes.begin() + offset, bytes.begin() + offset + length, buffer);
      return true;
    };
  }
};

struct DrawnLine {
  int line;
  std::int32_t label;
  std::vector<std::uint8_t> bytes;
};

FakeLog LogOf(int size) {
  FakeLog log;
  for (int i = 0; i < size; ++i) log.bytes.push_back(std::uint8_t(i * 7 + i / 256));
  return log;
}

TEST(WalkDump, TallWindowIsReadInChunksThatFitTheBuffer) {
  FakeLog log = LogOf(5000);
  // 300 lines of 4 pixels: far more than the buffer's 63 lines.
  DumpPlan plan = PlanDump(100, 4900, DumpWindow{0, 0, 1200, 4});
  ASSERT_EQ(plan.count, 4800);
  std::vector<DrawnLine> drawn;
  ASSERT_TRUE(WalkDump(plan, log.Reader(), [&](int line, std::int32_t label, const std::uint8_t* bytes, int count) {
    drawn.push_back({line, label, std::vector<std::uint8_t>(bytes, bytes + count)});
  }));
  for (std::int32_t length : log.readLengths) EXPECT_LE(length, DumpBufferBytes);
  ASSERT_EQ(drawn.size(), 300u);
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(drawn[i].line, i);
    EXPECT_EQ(drawn[i].label, 16 * i);
    ASSERT_EQ(drawn[i].bytes.size(), 16u);
    EXPECT_TRUE(std::equal(drawn[i].bytes.begin(), drawn[i].bytes.end(), log.bytes.begin() + 100 + 16 * i))
        << "line " << i;
  }
}

TEST(WalkDump, ShortLastLineCarriesOnlyWholeWords) {
  FakeLog log = LogOf(200);
  DumpPlan plan = PlanDump(10, 10 + 37, thirtyLines);
  std::vector<DrawnLine> drawn;
  ASSERT_TRUE(WalkDump(plan, log.Reader(), [&](int line, std::int32_t label, const std::uint8_t* bytes, int count) {
    drawn.push_back({line, label, std::vector<std::uint8_t>(bytes, bytes + count)});
  }));
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[2].line, 2);
  EXPECT_EQ(drawn[2].label, 32);
  EXPECT_EQ(drawn[2].bytes, std::vector<std::uint8_t>(log.bytes.begin() + 42, log.bytes.begin() + 46));
}

TEST(WalkDump, LabelsContinueFromTheScrolledFirstLine) {
  FakeLog log = LogOf(1800);
  DumpPlan plan = PlanDump(171, 1771, At(2600));
  std::vector<std::int32_t> labels;
  ASSERT_TRUE(WalkDump(plan, log.Reader(), [&](int, std::int32_t label, const std::uint8_t*, int) {
    labels.push_back(label);
  }));
  ASSERT_EQ(labels.size(), 30u);
  EXPECT_EQ(labels.front(), 70 * 16);
  EXPECT_EQ(labels.back(), 99 * 16);
}

TEST(WalkDump, FailedReadStopsAndIsReported) {
  FakeLog log = LogOf(5000);
  log.failAtRead = 1;
  DumpPlan plan = PlanDump(0, 4800, DumpWindow{0, 0, 1200, 4});
  int lines = 0;
  EXPECT_FALSE(WalkDump(plan, log.Reader(), [&](int, std::int32_t, const std::uint8_t*, int) { ++lines; }));
  EXPECT_EQ(lines, DumpBufferBytes / 16);  // the first chunk only
}

TEST(WalkDump, NothingPlannedReadsNothing) {
  FakeLog log = LogOf(10);
  int lines = 0;
  EXPECT_TRUE(WalkDump(DumpPlan{0, 0, 0}, log.Reader(), [&](int, std::int32_t, const std::uint8_t*, int) { ++lines; }));
  EXPECT_TRUE(log.readLengths.empty());
  EXPECT_EQ(lines, 0);
}

}  // namespace
