#include <gtest/gtest.h>

#include "tests/core/terminal_fixture.h"

namespace {

using CutSequence = TerminalTest;

const std::string CutCsiFailure = "message 通信ターミナル|受信エラー：ＣＳＩシーケンス実行出来ない！！";

TEST_F(CutSequence, CsiCompletedFromThePortAcrossBlocks) {
  Queue(Join({Jis("４Ｈ"), Jis("Ｚ")}));
  EXPECT_EQ(Feed(Join({Jis("Ａ"), {Csi}, Jis("３；")})), 1);
  EXPECT_EQ(CursorRow(), 3);
  EXPECT_EQ(CursorCol(), 4);
  // The interpreter took exactly the rest of the sequence.
  EXPECT_EQ(QueueTaken(), 4u);
  // Every byte is logged in the order it arrived.
  EXPECT_EQ(terminal.platform.logFile.bytes, Bytes(Join({Jis("Ａ"), {Csi}, Jis("３；４Ｈ")})));
}

TEST_F(CutSequence, CsiCutRightAfterCsiCompletesWithABareFinal) {
  SetCursor(5, 5);
  Queue(Jis("Ｈ"));
  EXPECT_EQ(Feed({Csi}), 1);
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_EQ(CursorCol(), 0);
}

TEST_F(CutSequence, WordsAfterTheCutBlockAreLeftForThePump) {
  Queue(Join({Jis("２ｍ"), Jis("Ｂ")}));
  Feed(Join({{Csi}, Jis("３")}));
  EXPECT_EQ(state().fgColour, 0x00FF00u);
  EXPECT_EQ(Row(0), "");
  EXPECT_EQ(QueueTaken(), 4u);
}

TEST_F(CutSequence, OtherWordsEndACutSequenceWithTheReceiveError) {
  for (const char* next : {"Ｅ", "Ｍ", "ｓ", "ｕ"}) {
    events().clear();
    Queue(Jis(next));
    EXPECT_EQ(Feed({Csi}), 0) << next;
    EXPECT_EQ(events(), (std::vector<std::string>{CutCsiFailure})) << next;
  }
  events().clear();
  Queue({0x2164});  // the private form cannot start from the port
  EXPECT_EQ(Feed({Csi}), 0);
  EXPECT_EQ(events(), (std::vector<std::string>{CutCsiFailure}));
}

TEST_F(CutSequence, PortClosingEndsTheWait) {
  EXPECT_EQ(Feed(Join({{Csi}, Jis("１２")})), 0);
  EXPECT_EQ(events(), (std::vector<std::string>{CutCsiFailure}));
}

TEST_F(CutSequence, SilentDeviceEndsTheWaitAfterTheBound) {
  silentDevice = true;
  EXPECT_EQ(Feed({Csi}), 0);
  EXPECT_EQ(events(), (std::vector<std::string>{CutCsiFailure}));
  EXPECT_GE(terminal.platform.clock, 5000u);
  EXPECT_LT(terminal.platform.clock, 5100u);
}

TEST_F(CutSequence, EndlessDigitsAreRejectedBeforeTheCollectionOverflows) {
  std::vector<std::uint16_t> digits(500, 0x2128);  // separators never end a sequence
  Queue(digits);
  EXPECT_EQ(Feed({Csi}), 0);
  EXPECT_EQ(events(), (std::vector<std::string>{CutCsiFailure}));
  EXPECT_LT(QueueTaken(), 200u);
}

TEST_F(CutSequence, CutSequenceThatCompletesAsAnErrorIsDumped) {
  Queue(Jis("１Ｈ"));
  Feed(Join({{Csi}, Jis("９９")}));
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0].rfind("message デバッグデータ内容|00000000  009B 2339 2339 2331 2348 ", 0), 0u);
}

TEST_F(CutSequence, PrivateFormCutInsideCompletesFromThePort) {
  Queue({0x2335, 0x0000});
  Feed({Csi, 0x2164, 0x0000});
  // ５ is a digit and extends the sequence; 0x0000 is neither: rejected.
  EXPECT_EQ(events(), (std::vector<std::string>{CutCsiFailure}));
}

TEST_F(CutSequence, EscArgumentReadFromThePort) {
  Queue(Join({{0x2176}, Jis("Ｑ")}));
  Feed(Join({Jis("Ａ"), {Esc}}));
  EXPECT_EQ(Row(0), "");  // ESC ＊ cleared the screen
  EXPECT_EQ(QueueTaken(), 2u);
  EXPECT_EQ(terminal.platform.logFile.bytes, Bytes({0x2341, Esc, 0x2176}));
}

TEST_F(CutSequence, UnknownEscArgumentFromThePortDumpsTheEscAlone) {
  Queue(Jis("Ａ"));
  EXPECT_EQ(Feed({Esc}), 0);
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0],
            "message デバッグデータ内容|00000000  001B 　　 　　 　　 　　 　　 　　 　　 　？　　　　　　　");
  EXPECT_EQ(events()[1], "message 通信ターミナル|ＥＳＣシーケンス実行出来ない！！");
}

TEST_F(CutSequence, EscWhoseArgumentNeverComes) {
  EXPECT_EQ(Feed({Esc}), 0);
  EXPECT_EQ(events(),
            (std::vector<std::string>{"message 通信ターミナル|受信エラー：ＥＳＣシーケンス実行出来ない！！"}));
}

}  // namespace
