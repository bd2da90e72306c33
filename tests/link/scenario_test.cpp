// The simulated device's script language.
#include <gtest/gtest.h>

#include <vector>

#include "simdevice/scenario.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Scenario Parse(const char* script) {
  Scenario scenario = ParseScenario(script);
  EXPECT_EQ(scenario.error, "");
  return scenario;
}

TEST(ScenarioText, JisCharactersAndSingleByteCharacters) {
  std::vector<std::uint16_t> words;
  ASSERT_TRUE(TextToWords("あＡ漢A", false, words));
  EXPECT_EQ(words, (std::vector<std::uint16_t>{0x2422, 0x2341, 0x3441, 0x0041}));
}

TEST(ScenarioText, HalfWidthKatakanaIsOneByteWord) {
  std::vector<std::uint16_t> words;
  ASSERT_TRUE(TextToWords("ｱ", false, words));
  EXPECT_EQ(words, (std::vector<std::uint16_t>{0x00B1}));
}

TEST(ScenarioText, FullWidthFormForSequenceParameters) {
  std::vector<std::uint16_t> words;
  ASSERT_TRUE(TextToWords("3;4H*m色", true, words));
  EXPECT_EQ(words, (std::vector<std::uint16_t>{0x2333, 0x2128, 0x2334, 0x2348, 0x2176, 0x236D, 0x3F27}));
}

TEST(ScenarioText, TextOutsideCodePage932IsRefused) {
  std::vector<std::uint16_t> words;
  EXPECT_FALSE(TextToWords("😀", false, words));
}

TEST(ScenarioParse, SequencesGoOnTheWireLowByteFirst) {
  const Scenario scenario = Parse("csi 3;4H\nesc 点\n");
  ASSERT_EQ(scenario.steps.size(), 2u);
  EXPECT_EQ(scenario.steps[0].bytes, (Bytes{0x9B, 0x00, 0x33, 0x23, 0x28, 0x21, 0x34, 0x23, 0x48, 0x23}));
  EXPECT_EQ(scenario.steps[1].bytes, (Bytes{0x1B, 0x00, 0x40, 0x45}));
}

TEST(ScenarioParse, LineEndsWithCrLfAndControlWords) {
  const Scenario scenario = Parse("line Ａ\ncr\nlf\nbel\nbs\neot\n");
  ASSERT_EQ(scenario.steps.size(), 6u);
  EXPECT_EQ(scenario.steps[0].bytes, (Bytes{0x41, 0x23, 0x0D, 0x00, 0x0A, 0x00}));
  EXPECT_EQ(scenario.steps[1].bytes, (Bytes{0x0D, 0x00}));
  EXPECT_EQ(scenario.steps[3].bytes, (Bytes{0x07, 0x00}));
  EXPECT_EQ(scenario.steps[5].bytes, (Bytes{0x04, 0x00}));
}

TEST(ScenarioParse, RawWordsAndOddByteCounts) {
  const Scenario scenario = Parse("word 2341 0x0d\nbytes 41\n");
  ASSERT_EQ(scenario.steps.size(), 2u);
  EXPECT_EQ(scenario.steps[0].bytes, (Bytes{0x41, 0x23, 0x0D, 0x00}));
  EXPECT_EQ(scenario.steps[1].bytes, (Bytes{0x41}));
}

TEST(ScenarioParse, WaitsFloodsAndTimeouts) {
  const Scenario scenario = Parse("timeout 500\nwait 8\nexpect 06 00\nflood 101 3000 ＡＢ\npause 20\n");
  ASSERT_EQ(scenario.steps.size(), 4u);
  EXPECT_EQ(scenario.steps[0].kind, StepKind::WaitBytes);
  EXPECT_EQ(scenario.steps[0].count, 8u);
  EXPECT_EQ(scenario.steps[0].timeout, 500u);
  EXPECT_EQ(scenario.steps[1].bytes, (Bytes{0x06, 0x00}));
  EXPECT_EQ(scenario.steps[2].kind, StepKind::Flood);
  EXPECT_EQ(scenario.steps[2].count, 101u);
  EXPECT_EQ(scenario.steps[2].rate, 3000u);
  EXPECT_EQ(scenario.steps[2].bytes, (Bytes{0x41, 0x23, 0x42, 0x23}));
  EXPECT_EQ(scenario.steps[3].count, 20u);
}

TEST(ScenarioParse, RepeatsNestAndExpand) {
  const Scenario scenario = Parse("repeat 2\ncr\nrepeat 3\nlf\nend\nend\n");
  ASSERT_EQ(scenario.steps.size(), 8u);
  EXPECT_EQ(scenario.steps[0].bytes, (Bytes{0x0D, 0x00}));
  EXPECT_EQ(scenario.steps[3].bytes, (Bytes{0x0A, 0x00}));
  EXPECT_EQ(scenario.steps[4].bytes, (Bytes{0x0D, 0x00}));
}

TEST(ScenarioParse, PlotPointsTakeBothSeparators) {
  const Scenario scenario = Parse("plot 12,34 5;6\n");
  ASSERT_EQ(scenario.steps.size(), 1u);
  EXPECT_EQ(scenario.steps[0].points, (std::vector<std::uint32_t>{12, 34, 5, 6}));
}

TEST(ScenarioParse, CommentsBlankLinesAndCarriageReturns) {
  const Scenario scenario = Parse("# a comment\r\n\r\ncr\r\necho on\r\nwait-open\r\nvanish\r\nsettings\r\n");
  ASSERT_EQ(scenario.steps.size(), 5u);
  EXPECT_EQ(scenario.steps[4].kind, StepKind::Settings);
  EXPECT_EQ(scenario.steps[1].kind, StepKind::Echo);
  EXPECT_EQ(scenario.steps[1].count, 1u);
  EXPECT_EQ(scenario.steps[2].kind, StepKind::WaitOpen);
  EXPECT_EQ(scenario.steps[3].kind, StepKind::Vanish);
}

TEST(ScenarioParse, ReplugTakesTheAbsenceAndHoldNothing) {
  const Scenario scenario = Parse("replug 1000\nhold\n");
  ASSERT_EQ(scenario.steps.size(), 2u);
  EXPECT_EQ(scenario.steps[0].kind, StepKind::Replug);
  EXPECT_EQ(scenario.steps[0].count, 1000u);
  EXPECT_EQ(scenario.steps[1].kind, StepKind::Hold);
  EXPECT_EQ(ParseScenario("replug\n").error, "line 1: replug needs one number");
  EXPECT_EQ(ParseScenario("hold 3\n").error, "line 1: hold takes nothing");
}

TEST(ScenarioParse, FaultsNameTheirLine) {
  EXPECT_EQ(ParseScenario("cr\nfrobnicate\n").error, "line 2: unknown command frobnicate");
  EXPECT_EQ(ParseScenario("word 12345\n").error, "line 1: bad hexadecimal list");
  EXPECT_EQ(ParseScenario("bytes 100\n").error, "line 1: bad hexadecimal list");
  EXPECT_EQ(ParseScenario("wait\n").error, "line 1: wait needs one number");
  EXPECT_EQ(ParseScenario("wait -3\n").error, "line 1: wait needs one number");
  EXPECT_EQ(ParseScenario("repeat 2\ncr\n").error, "line 2: repeat without end");
  EXPECT_EQ(ParseScenario("end\n").error, "line 1: end without repeat");
  EXPECT_EQ(ParseScenario("plot 1\n").error, "line 1: plot X,Y ...");
  EXPECT_EQ(ParseScenario("echo maybe\n").error, "line 1: echo on|off");
}

TEST(ScenarioParse, HugeRepeatsAreRefusedNotExpanded) {
  EXPECT_EQ(ParseScenario("repeat 1000000000\ncr\ncr\nend\n").error, "line 4: repeat too large");
}

TEST(KeyReport, CharacterWordOrNone) {
  const std::uint8_t a[8] = {0x00, 0x00, 0x1D, 0x00, 0x61, 0x23, 0x41, 0x04};
  const std::uint8_t f1[8] = {0x00, 0x00, 0x62, 0x00, 0xFF, 0xFF, 0x70, 0x3A};
  EXPECT_EQ(KeyReportWord(a), 0x2361);
  EXPECT_EQ(KeyReportWord(f1), -1);
}

}  // namespace
