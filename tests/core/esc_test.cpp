#include <gtest/gtest.h>

#include "tests/core/terminal_fixture.h"

namespace {

using EscSequence = TerminalTest;

constexpr std::uint16_t Point = 0x4540;
constexpr std::uint16_t Eot = 0x0004;
const std::string PlotFailure = "message 通信ターミナル|受信エラー：点描画を実行出来ない！！";

std::vector<std::uint16_t> CsiOf(const std::string& text) { return Join({{Csi}, Jis(text)}); }
std::vector<std::string> Sent(std::initializer_list<const char*> bytes) {
  std::vector<std::string> events;
  for (const char* byte : bytes) events.push_back(std::string("sent ") + byte);
  return events;
}

TEST_F(EscSequence, SaveAndRestoreColoursAndFontButNotStyleFlags) {
  Feed({Esc, 0x2337});
  Feed(CsiOf("３１ｍ"));
  Feed(CsiOf("１ｍ"));
  EXPECT_EQ(Feed({Esc, 0x2338}), 1);
  EXPECT_EQ(state().fgColour, 0x000000u);
  EXPECT_EQ(state().bgColour, 0xFFFFFFu);
  EXPECT_EQ(state().fontSpec.lfWeight, 400);
  EXPECT_STREQ(state().fontSpec.lfFaceName, "FixedSys");
  EXPECT_EQ(state().styleFlags & 0x02, 0x02u);
}

TEST_F(EscSequence, RestoreWithoutSaveGivesBlackAndAnEmptyFont) {
  // The save slot belongs to the terminal: a new one starts with it empty.
  Feed({Esc, 0x2338});
  EXPECT_EQ(state().fgColour, 0u);
  EXPECT_EQ(state().bgColour, 0u);
  EXPECT_EQ(state().fontSpec.lfHeight, 0);
  EXPECT_EQ(state().fontSpec.lfWeight, 0);
}

TEST_F(EscSequence, RestoreRedrawsTheScreenWithEachCellsStyle) {
  Feed(CsiOf("４４ｍ"));
  Feed(Jis("Ａ"));
  Feed({Esc, 0x2337});
  Feed({Esc, 0x2338});
  EXPECT_EQ(CellBackground(0, 0), 0xFF0000u);
  EXPECT_EQ(CellBackground(0, 2), 0xFFFFFFu);
  EXPECT_GT(terminal.platform.relayouts, 1);
}

TEST_F(EscSequence, UnknownArgumentDumpsToTheEndOfTheBlock) {
  EXPECT_EQ(Feed(Join({Jis("Ｚ"), {Esc}, Jis("ＡＢ")})), 0);
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0].rfind("message デバッグデータ内容|00000000  001B 2341 2342 ", 0), 0u);
  EXPECT_EQ(events()[1], "message 通信ターミナル|ＥＳＣシーケンス実行出来ない！！");
  EXPECT_EQ(Row(0), "Ｚ");
}

// ESC 点 that enters no point-plot mode ends no block: a failing sequence
// before it dumps to the end of the block, and the words after it are
// neither shown nor acted on.
TEST_F(EscSequence, EscPointThatStartsNoSequenceEndsNoBlock) {
  EXPECT_EQ(Feed(Join({{Esc, Esc, Point}, Jis("あい")})), 0);
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0].rfind("message デバッグデータ内容|00000000  001B 001B 4540 2422 2424 ", 0), 0u);
  events().clear();
  EXPECT_EQ(Feed(Join({CsiOf("９Ｊ"), {Esc, Point}, Jis("う")})), 0);
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0].rfind("message デバッグデータ内容|00000000  009B 2339 234A 001B 4540 2426 ", 0), 0u);
  EXPECT_EQ(Row(0), "");
  EXPECT_TRUE(terminal.platform.sent.empty());
}

TEST_F(EscSequence, PointPlotPlotsAndAcknowledges) {
  Feed(CsiOf("３４ｍ"));
  Queue(Join({Jis("１２；３４"), {Cr}, Jis("５；６"), {Cr}, {Eot}}));
  Queue(Jis("Ａ"));
  EXPECT_EQ(Feed(Join({{Esc, Point}, Jis("ＸＹ")})), 1);
  // The words after ESC 点 in its push belong to the mode: Ｘ is refused, and
  // its NAK discards Ｙ, which had arrived with it.
  EXPECT_EQ(events(), Sent({"06", "00", "15", "00", "06", "00"}));
  EXPECT_EQ(terminal.platform.purges, 1);
  EXPECT_EQ(terminal.plane().Pixel(12, 34), 0xFF0000u);
  EXPECT_EQ(terminal.plane().Pixel(5, 6), 0xFF0000u);
  EXPECT_EQ(Row(0), "");
  // It stopped after EOT, and every word it took is logged.
  EXPECT_EQ(QueueTaken(), 22u);
  EXPECT_EQ(terminal.platform.logFile.bytes.size(), 2u * (4 + 4 + 11));
}

TEST_F(EscSequence, ThirdNumberIsIgnoredAndNumbersCarryOver) {
  Queue(Join({Jis("５；５；５"), {Cr}, Jis("１；２"), {Cr}, Jis("７"), {Cr}, {Eot}}));
  Feed({Esc, Point});
  const GraphicPlane& plane = terminal.plane();
  EXPECT_EQ(plane.Pixel(5, 5), 0u);
  EXPECT_EQ(plane.Pixel(1, 2), 0u);
  EXPECT_EQ(plane.Pixel(7, 2), 0u);
}

TEST_F(EscSequence, FiveDigitsFailWithoutAnAnswer) {
  Queue(Join({Jis("１２３４５；"), Jis("６")}));
  EXPECT_EQ(Feed({Esc, Point}), 0);
  std::vector<std::string> expected = Sent({"06", "00"});
  expected.push_back(PlotFailure);
  EXPECT_EQ(events(), expected);
}

// The NAK discards everything that arrived before it, also the rest of the run
// that held the stray word (logged all the same); the device's next run
// starts the fresh line.
TEST_F(EscSequence, StrayWordEarnsANakAndAFreshLine) {
  const std::vector<std::uint16_t> refused = Join({Jis("１；Ａ２；３"), {Cr}, {Eot}});
  const std::vector<std::uint16_t> again = Join({Jis("４；５"), {Cr}, {Eot}});
  Queue(refused);
  Queue(again);
  Feed({Esc, Point});
  EXPECT_EQ(events(), Sent({"06", "00", "15", "00", "06", "00"}));
  EXPECT_EQ(terminal.platform.purges, 1);
  EXPECT_EQ(terminal.plane().Pixel(2, 3), 0xFFFFFFu);
  EXPECT_EQ(terminal.plane().Pixel(4, 5), 0u);
  EXPECT_EQ(terminal.platform.logFile.bytes, Bytes(Join({{Esc, Point}, refused, again})));
}

TEST_F(EscSequence, EotInsideALineDoesNotPlotIt) {
  Queue(Join({Jis("９；９"), {Eot}}));
  Feed({Esc, Point});
  EXPECT_EQ(terminal.plane().Pixel(9, 9), 0xFFFFFFu);
}

TEST_F(EscSequence, PointsOutsideThePlaneAreClipped) {
  Queue(Join({Jis("９９９９；９９９９"), {Cr}, {Eot}}));
  EXPECT_EQ(Feed({Esc, Point}), 1);
}

TEST_F(EscSequence, LongRunsOfDigitsAndNumbersStayInsideTheirStores) {
  std::vector<std::uint16_t> line(300, 0x2330);  // 300 zeros: too many digits
  Queue(Join({line, {Cr}}));
  EXPECT_EQ(Feed({Esc, Point}), 0);
  EXPECT_EQ(events().back(), PlotFailure);
  events().clear();
  std::vector<std::uint16_t> many;
  for (int i = 0; i < 40; ++i) many.push_back(0x2128);  // 41 empty numbers
  Queue(Join({Jis("８；９"), many, {Cr}, {Eot}}));
  EXPECT_EQ(Feed({Esc, Point}), 1);
  EXPECT_EQ(terminal.plane().Pixel(8, 9), 0u);
}

TEST_F(EscSequence, PortClosingEndsPointPlot) {
  Queue(Jis("１；２"));
  EXPECT_EQ(Feed({Esc, Point}), 0);
  EXPECT_EQ(events().back(), PlotFailure);
}

TEST_F(EscSequence, SilentDeviceEndsPointPlotAfterTheBound) {
  silentDevice = true;
  EXPECT_EQ(Feed({Esc, Point}), 0);
  EXPECT_GE(terminal.platform.clock, 30000u);
}

// The log is the user's record, not the device's: a log that cannot be
// written is reported once and the mode goes on with the words that came.
TEST_F(EscSequence, LogFailureDoesNotEndPointPlot) {
  terminal.platform.logFile.capacity = 4;
  Queue(Join({Jis("１；２"), {Cr}, {Eot}}));
  Feed({Esc, Point});
  const std::vector<std::string> expected = {
      "sent 06", "sent 00", "message 通信ターミナル|ログファイルに書き込む事が出来ない！！",
      "sent 06", "sent 00"};
  EXPECT_EQ(events(), expected);
  EXPECT_EQ(terminal.plane().Pixel(1, 2), 0u);
  EXPECT_FALSE(term().Waiting());
}

TEST_F(EscSequence, EscPointAtTheEndOfABlockReadsItsArgumentFirst) {
  Queue(Join({{Point}, Jis("３；４"), {Cr}, {Eot}}));
  EXPECT_EQ(Feed({Esc}), 1);
  EXPECT_EQ(terminal.plane().Pixel(3, 4), 0u);
  EXPECT_EQ(terminal.platform.logFile.bytes, Bytes(Join({{Esc, Point}, Jis("３；４"), {Cr}, {Eot}})));
}

}  // namespace
