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

std::vector<std::uint8_t> Join8(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> bytes;
  for (const auto& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
  return bytes;
}

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

// A front end as the window is: what the terminal tells waits until the call
// into the terminal has returned, then each box lets the program run, as a
// modal loop does: it may push more or let time pass while the box is open.
struct ModalHost : NativePlatform {
  std::vector<Notice> told;
  std::function<void()> whileOpen;
  void Tell(const Notice& notice) override { told.push_back(notice); }
  bool ShowTold() override {
    std::vector<Notice> shown;
    shown.swap(told);
    for (const Notice& notice : shown) {
      std::function<void()> action;
      action.swap(whileOpen);
      if (action) action();
      ShowMessage(notice.text, notice.coding, notice.caption, notice.icon, MessageButtons::Ok);
    }
    return !shown.empty();
  }
};

class ToldAfterReceive : public ::testing::Test {
 protected:
  void SetUp() override { StartAsConnected(terminal); }
  // As the pump: a push, then what it told, then the wait restarted.
  void PushAndShow(const std::vector<std::uint16_t>& words) {
    Push(terminal, words);
    if (host.ShowTold()) terminal.RestartWaitClock();
  }
  ModalHost host;
  Terminal terminal{host.Roles()};
};

// Nothing is shown while the terminal works: the dump and the message of a
// failed sequence wait, in order, until Receive has returned, and a push made
// while their boxes are open comes after the block that told them.
TEST_F(ToldAfterReceive, BoxesComeAfterTheBlockAndKeepTheOrder) {
  const std::vector<std::uint8_t> more = Bytes(Jis("ＸＹ"));
  Push(terminal, Join({Jis("Ａ"), {Csi}, Jis("９Ｊ"), Jis("Ｂ")}));
  EXPECT_TRUE(host.events.empty());
  ASSERT_EQ(host.told.size(), 2u);
  host.whileOpen = [this, &more] { terminal.Receive(more.data(), more.size()); };
  EXPECT_TRUE(host.ShowTold());
  EXPECT_EQ(ScreenRowText(terminal.state, 0), "ＡＸＹ");  // Ｂ went with the failed block
  ASSERT_EQ(host.events.size(), 2u);
  EXPECT_EQ(host.events[0].rfind("message デバッグデータ内容|", 0), 0u);
  EXPECT_EQ(host.events[1], "message 通信ターミナル|ＣＳＩシーケンス実行出来ない！！");
  EXPECT_EQ(host.logFile.bytes, Join8({Bytes(Join({Jis("Ａ"), {Csi}, Jis("９Ｊ"), Jis("Ｂ")})), more}));
}

// The time a box is open is the user's: point-plot mode does not end
// meanwhile, and its half minute counts from the box's end.
TEST_F(ToldAfterReceive, BoxTimeIsNotTheDevicesTime) {
  Push(terminal, {Esc, Point});
  host.logFile.capacity = host.logFile.bytes.size();
  host.whileOpen = [this] { host.clock += 60000; };
  PushAndShow(Join({Jis("１；２"), {Cr}}));
  EXPECT_EQ(host.events.back(), "message 通信ターミナル|ログファイルに書き込む事が出来ない！！");
  EXPECT_EQ(terminal.plane.Pixel(1, 2), MakeColour(0, 0, 0));  // plotted, black on the white plane
  terminal.Tick(host.clock + 29999);
  EXPECT_TRUE(terminal.Waiting());
  terminal.Tick(host.clock + 30000);
  EXPECT_TRUE(host.ShowTold());
  EXPECT_EQ(host.events.back(), PlotFailure);
}

}  // namespace
