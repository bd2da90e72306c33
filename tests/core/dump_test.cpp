#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "terminal/interpreter/dump_line.h"
#include "terminal/interpreter/sequence_dump.h"
#include "tests/core/terminal_fixture.h"

namespace {

const std::string Blank = "\x81\x40";
const std::string BlankGroup = Blank + Blank + " ";

std::string Line(std::uint32_t offset, const std::vector<std::uint8_t>& data) {
  char text[DumpLineLength + 8];
  std::memset(text, 0x7F, sizeof text);
  EXPECT_EQ(FormatDumpLine(offset, data.data(), int(data.size()), text), DumpLineLength);
  EXPECT_EQ(text[DumpLineLength], '\0');
  EXPECT_EQ(text[DumpLineLength + 1], 0x7F);  // nothing written past the terminator
  return std::string(text, DumpLineLength);
}

TEST(FormatDumpLine, SixBytesOfAFailedCsi) {
  std::string expected = "00000000  009B 2339 234A ";
  for (int i = 0; i < 5; ++i) expected += BlankGroup;
  expected += Blank + "\x81\x48\x82\x58\x82\x69";
  for (int i = 0; i < 5; ++i) expected += Blank;
  EXPECT_EQ(Line(0, Bytes({0x009B, 0x2339, 0x234A})), expected);
}

TEST(FormatDumpLine, FullLineWithOffsetAndSingleByteForms) {
  const std::string line =
      Line(0x1234ABCD, Bytes({0x0041, 0x00B1, 0x2121, 0x0000, 0x2341, 0x2422, 0x3021, 0x007F}));
  EXPECT_EQ(line.substr(0, 10), "1234ABCD  ");
  EXPECT_EQ(line.substr(10, 40), "0041 00B1 2121 0000 2341 2422 3021 007F ");
  EXPECT_EQ(line.substr(50, 2), Blank);
  EXPECT_EQ(line.substr(52), "A.\xB1.\x81\x40\x81\x48\x82\x60\x82\xA0\x88\x9F\x81\x48");
}

TEST(FormatDumpLine, MoreThanSixteenBytesShowsEightWords) {
  std::vector<std::uint8_t> data(40, 0x21);
  EXPECT_EQ(Line(0, data).size(), 68u);
}

TEST(FormatDumpLine, OddCountDropsTheLastByte) {
  EXPECT_EQ(Line(0, {0x41, 0x00, 0x42}), Line(0, {0x41, 0x00}));
}

using SequenceDump = TerminalTest;

std::string DumpText(TerminalTest& test, std::vector<std::string>& events,
                     const std::vector<std::uint8_t>& bytes) {
  events.clear();
  EXPECT_EQ(ShowSequenceDump(test.terminal.platform, bytes.data(), int(bytes.size())), 0);
  EXPECT_EQ(events.size(), 1u);
  const std::string prefix = "message デバッグデータ内容|";
  EXPECT_EQ(events[0].rfind(prefix, 0), 0u);
  return events[0].substr(prefix.size());
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST_F(SequenceDump, ThirtyTwoBytesGiveTwoLinesEachEndedByALineFeed) {
  const std::string text = DumpText(*this, events(), std::vector<std::uint8_t>(32, 0x21));
  EXPECT_EQ(Count(text, "\\n"), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\\n");
  EXPECT_NE(text.find("\\n00000010  2121"), std::string::npos);
}

TEST_F(SequenceDump, FiftyWordsGiveSixFullLinesAndOneOfTwoWords) {
  const std::string text = DumpText(*this, events(), std::vector<std::uint8_t>(100, 0x21));
  EXPECT_EQ(Count(text, "\\n"), 6u);
  const std::size_t last = text.rfind("\\n") + 2;
  EXPECT_EQ(text.substr(last, 27), "00000060  2121 2121 　　 ");
}

TEST_F(SequenceDump, UnderTwoBytesIsAnEmptyText) {
  EXPECT_EQ(DumpText(*this, events(), {0x1B}), "");
  EXPECT_EQ(DumpText(*this, events(), {}), "");
}

TEST_F(SequenceDump, OddTailByteIsNotShown) {
  const std::string text = DumpText(*this, events(), std::vector<std::uint8_t>(19, 0x21));
  EXPECT_EQ(Count(text, "\\n"), 1u);
  EXPECT_EQ(text.substr(text.find("\\n") + 2, 18), "00000010  2121 　");
}

}  // namespace
