// The terminal between pushes: what it awaits, how time and the end of the
// input end it, keys typed meanwhile, and pushes made while it is busy.
#include <gtest/gtest.h>

#include <functional>

#include "tests/core/terminal_fixture.h"
#include "replay/replay_report.h"

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

// A host whose message box lets the program run, as a modal loop does: it
// may push more, tell the time or disconnect while the box is open.
struct ModalHost : NativePlatform {
  std::function<void()> whileOpen;
  MessageAnswer ShowMessage(std::string_view message, TextCoding coding, std::string_view caption,
                            MessageIcon icon, MessageButtons buttons) override {
    std::function<void()> action;
    action.swap(whileOpen);
    if (action) action();
    return NativePlatform::ShowMessage(message, coding, caption, icon, buttons);
  }
};

class PushedInputInsideAMessageBox : public ::testing::Test {
 protected:
  void SetUp() override { StartAsConnected(terminal); }
  // The next log write fails; its box stays open for a minute of the
  // program's 50 ms ticks.
  void FailTheLogForAMinute() {
    host.logFile.capacity = host.logFile.bytes.size();
    host.whileOpen = [this] {
      for (int i = 0; i < 1200; ++i) terminal.Tick(host.clock += 50);
    };
  }
  ModalHost host;
  Terminal terminal{host.Roles()};
};

TEST_F(PushedInputInsideAMessageBox, WaitsForTheBlockItInterruptedAndKeepsTheOrder) {
  const std::vector<std::uint8_t> more = Bytes(Jis("ＸＹ"));
  host.whileOpen = [this, &more] { terminal.Receive(more.data(), more.size()); };
  // CSI ９Ｊ fails with a message box; meanwhile ＸＹ arrive.
  const std::vector<std::uint8_t> bytes = Bytes(Join({Jis("Ａ"), {Csi}, Jis("９Ｊ"), Jis("Ｂ")}));
  terminal.Receive(bytes.data(), bytes.size());
  EXPECT_EQ(ScreenRowText(terminal.state, 0), "ＡＸＹ");  // Ｂ went with the failed block
  std::vector<std::uint8_t> logged = bytes;
  logged.insert(logged.end(), more.begin(), more.end());
  EXPECT_EQ(host.logFile.bytes, logged);
}

// The time the log's failure box is open is the user's: point-plot mode does
// not end meanwhile, the words that came are its own, and its half minute
// counts from the push's end.
TEST_F(PushedInputInsideAMessageBox, LogFailureBoxStopsTheWaitClock) {
  Push(terminal, {Esc, Point});
  FailTheLogForAMinute();
  Push(terminal, Join({Jis("１；２"), {Cr}}));
  EXPECT_TRUE(terminal.Waiting());
  EXPECT_EQ(terminal.plane.Pixel(1, 2), 0u);
  EXPECT_EQ(ScreenRowText(terminal.state, 0), "");
  terminal.Tick(host.clock + 29999);
  EXPECT_TRUE(terminal.Waiting());
  terminal.Tick(host.clock + 30000);
  EXPECT_EQ(host.events.back(), PlotFailure);
}

// A disconnect while the log's failure box is open forgets the push, as it
// forgets everything received and not yet interpreted.
TEST_F(PushedInputInsideAMessageBox, DisconnectInTheLogFailureBoxForgetsThePush) {
  host.logFile.capacity = 0;
  host.whileOpen = [this] { terminal.Disconnect(); };
  Push(terminal, Jis("ＡＢ"));
  EXPECT_EQ(ScreenRowText(terminal.state, 0), "");
}

}  // namespace
