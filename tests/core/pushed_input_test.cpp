// The terminal between pushes: what it awaits, how time and the end of the
// input end it, keys typed meanwhile, and pushes made while it is busy.
#include <gtest/gtest.h>

#include "tests/core/terminal_fixture.h"
#include "tools/replay/replay_report.h"

namespace {

using PushedInput = TerminalTest;

constexpr std::uint16_t Point = 0x4540;
constexpr std::uint16_t Eot = 0x0004;
const std::string CutCsiFailure = "message 通信ターミナル|受信エラー：ＣＳＩシーケンス実行出来ない！！";
const std::string PlotFailure = "message 通信ターミナル|受信エラー：点描画を実行出来ない！！";

void Push(Terminal& terminal, const std::vector<std::uint16_t>& words) {
  const std::vector<std::uint8_t> bytes = Bytes(words);
  terminal.Receive(bytes.data(), bytes.size());
}

TEST_F(PushedInput, CutSequenceWaitsForLaterPushesWithoutAnswering) {
  Push(term(), Join({{Csi}, Jis("１２")}));
  EXPECT_TRUE(term().Waiting());
  EXPECT_TRUE(events().empty());
  Push(term(), Jis("；４"));
  EXPECT_TRUE(term().Waiting());
  Push(term(), Jis("ＨＡ"));
  EXPECT_FALSE(term().Waiting());
  EXPECT_EQ(CursorRow(), 12);
  EXPECT_EQ(CursorCol(), 6);
  EXPECT_EQ(Row(12), "　　Ａ");  // the words after the final are a block of their own
}

TEST_F(PushedInput, EachWordRestartsTheBoundAndTickEndsTheWaitAtIt) {
  Push(term(), {Csi});
  terminal.platform.clock = 4999;
  term().Tick(4999);
  EXPECT_TRUE(term().Waiting());
  Push(term(), Jis("１"));  // at 4999: five more seconds
  term().Tick(9998);
  EXPECT_TRUE(term().Waiting());
  term().Tick(9999);
  EXPECT_FALSE(term().Waiting());
  EXPECT_EQ(events(), (std::vector<std::string>{CutCsiFailure}));
}

TEST_F(PushedInput, PointPlotWaitsHalfAMinuteOfSilence) {
  Push(term(), {Esc, Point});
  term().Tick(29999);
  EXPECT_TRUE(term().Waiting());
  term().Tick(30000);
  EXPECT_EQ(events().back(), PlotFailure);
}

TEST_F(PushedInput, KeysTypedInPointPlotModeFollowTheAckOfEot) {
  Push(term(), {Esc, Point});
  const std::uint8_t report[8] = {0x00, 0x00, 0x1D, 0x00, 0x61, 0x23, 0x41, 0x04};
  term().SendFromUser(report, 8);
  EXPECT_EQ(terminal.platform.sent, (std::vector<std::uint8_t>{0x06, 0x00}));
  Push(term(), Join({Jis("１；２"), {Cr}, {Eot}}));
  const std::vector<std::uint8_t> expected = {0x06, 0x00, 0x06, 0x00, 0x00, 0x00, 0x1D,
                                              0x00, 0x61, 0x23, 0x41, 0x04};
  EXPECT_EQ(terminal.platform.sent, expected);
}

TEST_F(PushedInput, KeysHeldInAFailedPointPlotAreSentAfterIt) {
  Push(term(), {Esc, Point});
  const std::uint8_t key[2] = {0x41, 0x23};
  term().SendFromUser(key, 2);
  term().EndOfInput();
  EXPECT_EQ(events().back(), PlotFailure);
  EXPECT_EQ(terminal.platform.sent, (std::vector<std::uint8_t>{0x06, 0x00, 0x41, 0x23}));
}

TEST_F(PushedInput, DisconnectDropsTheWaitWithoutAMessage) {
  Push(term(), {Esc, Point});
  const std::uint8_t key[2] = {0x41, 0x23};
  term().SendFromUser(key, 2);
  term().Disconnect();
  EXPECT_FALSE(term().Waiting());
  term().Tick(60000);
  EXPECT_EQ(events(), (std::vector<std::string>{"sent 06", "sent 00"}));
  term().Connect();
  Push(term(), Jis("Ｂ"));
  EXPECT_EQ(Row(0), "Ｂ");
}

TEST_F(PushedInput, EndOfInputWithNothingAwaitedSaysNothing) {
  Push(term(), Jis("Ａ"));
  term().EndOfInput();
  EXPECT_TRUE(events().empty());
}

// A host whose message box lets the program push more, as a modal loop does.
struct PushingHost : NativePlatform {
  Terminal* terminal = nullptr;
  std::vector<std::uint8_t> more;
  MessageAnswer ShowMessage(std::string_view message, TextCoding coding, std::string_view caption,
                            MessageIcon icon, MessageButtons buttons) override {
    std::vector<std::uint8_t> now;
    now.swap(more);
    if (!now.empty()) terminal->Receive(now.data(), now.size());
    return NativePlatform::ShowMessage(message, coding, caption, icon, buttons);
  }
};

TEST(PushedInputInsideAMessageBox, WaitsForTheBlockItInterruptedAndKeepsTheOrder) {
  PushingHost host;
  Terminal terminal(host.Roles());
  host.terminal = &terminal;
  InitTerminalState(terminal.state, MakeColour(0, 0, 0), MakeColour(255, 255, 255));
  ApplyFontSpec(terminal);
  terminal.Connect();
  ResetScreenModel(terminal);
  host.more = Bytes(Jis("ＸＹ"));
  // CSI ９Ｊ fails with a message box; meanwhile ＸＹ arrive.
  const std::vector<std::uint8_t> bytes = Bytes(Join({Jis("Ａ"), {Csi}, Jis("９Ｊ"), Jis("Ｂ")}));
  terminal.Receive(bytes.data(), bytes.size());
  EXPECT_EQ(ScreenRowText(terminal.state, 0), "ＡＸＹ");  // Ｂ went with the failed block
  std::vector<std::uint8_t> logged = bytes;
  logged.insert(logged.end(), {0x58, 0x23, 0x59, 0x23});
  EXPECT_EQ(host.logFile.bytes, logged);
}

}  // namespace
