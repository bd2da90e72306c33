// Expectations on the screen as the script sees it, its listing, and the
// dump of the last bytes received.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "cli/expect_parse.h"
#include "cli/received_tail.h"

namespace {

// A screen of full-width spaces with code page 932 text written at rows and columns.
struct Screen {
  std::vector<std::uint8_t> cells = std::vector<std::uint8_t>(ScreenCells);
  Screen() {
    for (int i = 0; i < ScreenCells; i += 2) {
      cells[std::size_t(i)] = 0x81;
      cells[std::size_t(i) + 1] = 0x40;
    }
  }
  void Write(int row, int column, const char* cp932) {
    std::memcpy(&cells[std::size_t(row * ScreenColumns + column)], cp932, std::strlen(cp932));
  }
};

Expectation Parsed(const std::string& verb, const std::string& arguments) {
  Expectation expectation;
  std::string error;
  EXPECT_TRUE(ParseExpectation(verb, arguments, expectation, error)) << error;
  return expectation;
}

bool Met(const Expectation& expectation, const ScreenView& view) {
  return ExpectationCheck(expectation).Met(view, UINT64_MAX);
}

ScreenView ViewOf(const Screen& screen) {
  ScreenView view;
  UpdateScreenRows(view, screen.cells.data());
  return view;
}

// "ＡＢＣ" and "あい" in code page 932.
constexpr const char* Abc = "\x82\x60\x82\x61\x82\x62";
constexpr const char* Ai = "\x82\xA0\x82\xA2";

TEST(ScreenView, RowsDecodeWithoutTrailingBlanks) {
  Screen screen;
  screen.Write(0, 0, Abc);
  screen.Write(5, 10, Ai);
  const ScreenView view = ViewOf(screen);
  EXPECT_EQ(view.rows[0], "ＡＢＣ");
  EXPECT_EQ(view.rows[5], "　　　　　あい");
  EXPECT_EQ(view.rows[6], "");
}

TEST(ScreenView, OnlyChangedRowsAreDecodedAgain) {
  Screen screen;
  ScreenView view = ViewOf(screen);
  view.rows[7] = "stale";
  screen.Write(3, 0, Abc);
  UpdateScreenRows(view, screen.cells.data());
  EXPECT_EQ(view.rows[3], "ＡＢＣ");
  EXPECT_EQ(view.rows[7], "stale");
}

TEST(ScreenView, TheListingEndsAtTheLastRowWithTextOrTheCursor) {
  Screen screen;
  screen.Write(1, 0, Abc);
  ScreenView view = ViewOf(screen);
  view.cursorRow = 3;
  view.cursorCol = 6;
  EXPECT_EQ(ScreenListing(view), "  0|\n  1|ＡＢＣ\n  2|\n  3|\ncursor 3 6\ntab 0\n");
}

TEST(Expectations, TextWithinOneRow) {
  Screen screen;
  screen.Write(2, 4, Abc);
  const ScreenView view = ViewOf(screen);
  EXPECT_TRUE(Met(Parsed("expect", "ＢＣ"), view));
  EXPECT_TRUE(Met(Parsed("expect", "　ＡＢ"), view));
  EXPECT_FALSE(Met(Parsed("expect", "ＣＤ"), view));
  EXPECT_FALSE(Met(Parsed("expect", "ＡＢＣ　"), view));
}

TEST(Expectations, PatternsTakeWholeCharacters) {
  Screen screen;
  screen.Write(0, 0, Abc);
  screen.Write(1, 0, Ai);
  const ScreenView view = ViewOf(screen);
  EXPECT_TRUE(Met(Parsed("expect", "/^Ａ.Ｃ$/"), view));
  EXPECT_TRUE(Met(Parsed("expect", "/^[あ-ん]{2}$/"), view));
  EXPECT_FALSE(Met(Parsed("expect", "/^Ａ.Ｃ.$/"), view));
  EXPECT_FALSE(Met(Parsed("expect", "/ＡＢＣ\\nあ/"), view));
}

// A pattern on which a backtracking engine takes time exponential in the row
// (here 2^50 steps) is matched in time linear in it: the check returns.
TEST(Expectations, NestedRepetitionsAreMatchedInLinearTime) {
  Screen screen;
  std::string fiftyA;
  for (int i = 0; i < 50; ++i) fiftyA += "\x82\x60";
  screen.Write(0, 0, fiftyA.c_str());
  const Expectation nested = Parsed("expect", "/(Ａ*)*Ｂ/");
  EXPECT_FALSE(Met(nested, ViewOf(screen)));
  screen.Write(1, 0, fiftyA.c_str());
  screen.Write(1, 98, "\x82\x61");
  EXPECT_TRUE(Met(nested, ViewOf(screen)));
}

// Past its deadline a check looks at no further row, so that a pattern slow
// on every row cannot hold its line beyond the limit.
TEST(Expectations, APatternsSearchEndsAtTheDeadline) {
  Screen screen;
  screen.Write(5, 0, Abc);
  const ScreenView view = ViewOf(screen);
  const Expectation expectation = Parsed("expect", "/ＡＢＣ/");
  EXPECT_TRUE(ExpectationCheck(expectation).Met(view, UINT64_MAX));
  EXPECT_FALSE(ExpectationCheck(expectation).Met(view, 0));
  screen.Write(0, 0, Abc);
  EXPECT_TRUE(ExpectationCheck(expectation).Met(ViewOf(screen), 0)) << "the first row is always looked at";
}

TEST(Expectations, RowCursorAndView) {
  Screen screen;
  screen.Write(4, 0, Ai);
  ScreenView view = ViewOf(screen);
  view.cursorRow = 4;
  view.cursorCol = 4;
  view.tab = 2;
  EXPECT_TRUE(Met(Parsed("expect-row", "4 あい"), view));
  EXPECT_FALSE(Met(Parsed("expect-row", "4 あ"), view));
  EXPECT_TRUE(Met(Parsed("expect-row", "5"), view));
  EXPECT_TRUE(Met(Parsed("expect-cursor", "4 4"), view));
  EXPECT_FALSE(Met(Parsed("expect-cursor", "4 2"), view));
  EXPECT_TRUE(Met(Parsed("expect-tab", "2"), view));
  EXPECT_FALSE(Met(Parsed("expect-tab", "0"), view));
}

TEST(Expectations, DescribedInWords) {
  EXPECT_EQ(DescribeExpectation(Parsed("expect", "ＯＫ within 200")), "text \"ＯＫ\" on the screen within 200 ms");
  EXPECT_EQ(DescribeExpectation(Parsed("expect", "/a+/")), "a row matching /a+/ within 5000 ms");
  EXPECT_EQ(DescribeExpectation(Parsed("expect-row", "3 x")), "row 3 reading \"x\" within 5000 ms");
  EXPECT_EQ(DescribeExpectation(Parsed("expect-cursor", "1 2")), "the cursor at row 1, column 2 within 5000 ms");
  EXPECT_EQ(DescribeExpectation(Parsed("expect-tab", "1")), "view 1 shown within 5000 ms");
}

TEST(ReceivedTail, KeepsTheLastBytesFromAWordWithTheirOffsetsAndTimes) {
  ReceivedTail tail;
  std::vector<std::uint8_t> words;
  for (int i = 0; i < 101; ++i) words.push_back(std::uint8_t(i));
  AddReceived(tail, words.data(), 99, TraceTime{2026, 12, 9, 10, 0, 0, 5, 1200});
  AddReceived(tail, words.data() + 99, 2, TraceTime{2026, 12, 9, 10, 0, 5, 250000, 6445});
  EXPECT_EQ(tail.total, 101u);
  const std::string dump = DumpReceived(tail);
  // The last 64 bytes would start at 37, inside a word: the dump starts at 38.
  EXPECT_EQ(dump.substr(0, 8), "00000026");
  EXPECT_NE(dump.find("2726 "), std::string::npos) << dump;
  EXPECT_NE(dump.find("\n00000056  5756 5958 5B5A 5D5C 5F5E 6160 6362"), std::string::npos) << dump;
  EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 4) << dump;
  // Each arrival with its time, the longer one by its last bytes, from the
  // same place in a word; the word split between them shown as such.
  const std::string timed = TimedArrivals(tail);
  EXPECT_EQ(timed.substr(0, 54), "2026-12-09 10:00:00.000005 +1200ms received 2322 2524 ") << timed;
  EXPECT_NE(timed.find(" 6160 62 | "), std::string::npos) << timed;
  EXPECT_NE(timed.find("\n2026-12-09 10:00:05.250000 +6445ms received 63 64 | … …\n"), std::string::npos) << timed;
  EXPECT_EQ(std::count(timed.begin(), timed.end(), '\n'), 2) << timed;
}

}  // namespace
