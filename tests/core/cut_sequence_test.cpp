#include <gtest/gtest.h>

#include <cstdio>

#include "tests/core/terminal_fixture.h"
#include "replay/replay_report.h"

namespace {

using CutSequence = TerminalTest;

const std::string CutCsiFailure = "message 通信ターミナル|受信エラー：ＣＳＩシーケンス実行出来ない！！";

TEST_F(CutSequence, CsiCompletedFromThePortAcrossBlocks) {
  Queue(Jis("４Ｈ"));
  Queue(Jis("Ｚ"));
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
  Queue(Jis("２ｍ"));
  Queue(Jis("Ｂ"));
  Feed(Join({{Csi}, Jis("３")}));
  EXPECT_EQ(state().fgColour, 0x00FF00u);
  EXPECT_EQ(Row(0), "");
  EXPECT_EQ(QueueTaken(), 4u);
}

// The rest of a cut sequence is read by the same grammar as a whole one: the
// forms that are not numbers go on too.
TEST_F(CutSequence, EveryFormContinuesAfterACut) {
  for (const char* next : {"Ｅ", "Ｍ", "ｓ", "ｕ"}) {
    Queue(Jis(next));
    EXPECT_EQ(Feed({Csi}), 1) << next;
  }
  Queue({0x2164, 0x2341, 0x2335, 0x2341, 0x0068});  // ＞, any, ５, any, h: hide the caret
  EXPECT_EQ(Feed({Csi}), 1);
  EXPECT_EQ(events(), (std::vector<std::string>{"caret hide"}));
}

// The device cannot see where the terminal's reads end: a block that ends
// inside a sequence must not change what it means. 49 characters put the
// end of the first block right after the first CSI, 48 do not.
TEST_F(CutSequence, BlockEndInsideASequenceChangesNothing) {
  for (const int filler : {49, 48}) {
    SetCursor(0, 0);
    const std::vector<std::uint16_t> text(std::size_t(filler), Jis("あ")[0]);
    EXPECT_EQ(Feed(Join({text, {Csi}, Jis("ｓ"), {Csi}, Jis("１；２Ｈ"), {Csi}, Jis("ｕい")})), 1) << filler;
    EXPECT_EQ(Row(0).substr(std::size_t(3 * filler), 3), "い") << filler;  // where ｓ saved the cursor
    EXPECT_TRUE(events().empty()) << filler;
  }
}

using Words = std::vector<std::uint16_t>;

// Every form of CSI (without and with parameters, private, and errors of
// each kind), every ESC form and point-plot mode's entry. An error ends at
// the word that makes it one.
std::vector<Words> EverySequence() {
  std::vector<Words> sequences;
  for (const char* form : {"Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｍ", "Ｈ", "ｓ", "ｕ", "消", "Ｊ", "Ｚ", "３Ａ", "３Ｂ",
                           "３Ｃ", "１Ｄ", "１０；２０Ｈ", "５；；ｆ", "１Ｊ", "３Ｊ", "１Ｋ", "３１；４４；１；７ｍ",
                           "１；２；３；４；５；６；７；８；９；０ｍ", "１；２；３；４；５；６；７；８；９；０；",
                           "２５５；１２８；０色", "１；２；３景", "１０；１０；５；５消", "６３９；４７９点",
                           "６４０；０点", "２面", "３面", "１２３４", "１ｈ", "１Ｚ"}) {
    sequences.push_back(Join({{Csi}, Jis(form)}));
  }
  for (const std::uint16_t last : {0x006C, 0x0068, 0x2341}) sequences.push_back({Csi, 0x2164, 0x2341, 0x2335, 0x2341, last});
  sequences.push_back({Csi, 0x2164, 0x2341, 0x2331, 0x2341, 0x2341});
  sequences.push_back({Csi, 0x2164, 0x2341, 0x2333});
  for (const std::uint16_t argument : {0x2337, 0x2338, 0x2176, 0x2341}) sequences.push_back({Esc, argument});
  sequences.push_back(Join({{Esc, 0x4540}, Jis("１２；３４"), {Cr}, Jis("５；６"), {Cr, 0x0004}}));
  return sequences;
}

std::string Listed(const Words& words) {
  std::string text;
  char hex[8];
  for (const std::uint16_t word : words) {
    std::snprintf(hex, sizeof hex, " %04X", unsigned(word));
    text += hex;
  }
  return text;
}

struct Outcome {
  std::string report;  // events (messages, answers, caret, tab), screen, cursor, style
  std::vector<COLORREF> plane;
};

// The input pushed into a new terminal in pieces ending at the given byte
// offsets, then its end. The report and the plane do not depend on drawing.
Outcome Pushed(const std::vector<std::uint8_t>& input, const std::vector<std::size_t>& cuts,
               bool drawing = true) {
  HeadlessTerminal native;
  StartHeadlessTerminal(native, drawing);
  std::size_t from = 0;
  for (const std::size_t to : cuts) {
    native.terminal->Receive(input.data() + from, to - from);
    from = to;
  }
  native.terminal->Receive(input.data() + from, input.size() - from);
  native.terminal->EndOfInput();
  native.terminal->queue.Flush();
  return Outcome{ReplayReport(native), native.plane().Pixels()};
}

// Pushes of `size` bytes each, odd sizes splitting words between pushes.
std::vector<std::size_t> EverySize(std::size_t size, std::size_t length) {
  std::vector<std::size_t> cuts;
  for (std::size_t at = size; at < length; at += size) cuts.push_back(at);
  return cuts;
}

bool Dumped(const Outcome& outcome) { return outcome.report.find("デバッグデータ内容") != std::string::npos; }

// A read may end after any word of a sequence: the sequence means what it
// means when no read ends inside it.
TEST(CutAnywhere, EverySequenceCutAfterAnyOfItsWordsMeansWhatItMeansWhole) {
  const Words before = Join({Jis("前"), {Csi}, Jis("１；３Ｈ")});
  for (const Words& sequence : EverySequence()) {
    const std::vector<std::uint8_t> input = Bytes(Join({before, sequence, Jis("後")}));
    const Outcome whole = Pushed(input, {});
    for (std::size_t word = 1; word < sequence.size(); ++word) {
      const Outcome pieces = Pushed(input, {2 * (before.size() + word)});
      EXPECT_EQ(pieces.report, whole.report) << "cut after word " << word << " of " << Listed(sequence);
      EXPECT_TRUE(pieces.plane == whole.plane) << "cut after word " << word << " of " << Listed(sequence);
    }
  }
}

// Reads of every size, down to single bytes: a sequence arriving in any
// pieces means what it means whole. A sequence error dumps to the end of its
// block, which a short read ends early, so an error is checked as the last
// thing received.
TEST(CutAnywhere, EverySequenceInPushesOfEverySizeMeansWhatItMeansWhole) {
  const Words before = Join({Jis("前"), {Csi}, Jis("１；３Ｈ")});
  for (const Words& sequence : EverySequence()) {
    std::vector<std::uint8_t> input = Bytes(Join({before, sequence, Jis("後")}));
    Outcome whole = Pushed(input, {}, false);
    if (Dumped(whole)) {
      input = Bytes(Join({before, sequence}));
      whole = Pushed(input, {}, false);
    }
    for (std::size_t size = 1; size < input.size(); ++size) {
      const Outcome pieces = Pushed(input, EverySize(size, input.size()), false);
      EXPECT_EQ(pieces.report, whole.report) << "pushes of " << size << " bytes: " << Listed(sequence);
      EXPECT_TRUE(pieces.plane == whole.plane) << "pushes of " << size << " bytes: " << Listed(sequence);
    }
  }
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

// Numbers without end, word by word: the grammar rejects the eleventh, as it
// would uncut, long before the collection is full.
TEST_F(CutSequence, EndlessNumbersAreRejectedBeforeTheCollectionOverflows) {
  std::vector<std::uint16_t> numbers;
  for (int i = 0; i < 250; ++i) numbers.insert(numbers.end(), {0x2331, 0x2128});  // "１；"
  wordByWord = true;
  Queue(numbers);
  EXPECT_EQ(Feed({Csi}), 0);
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[1], "message 通信ターミナル|ＣＳＩシーケンス実行出来ない！！");
  EXPECT_EQ(QueueTaken(), 2u * 20);
}

TEST_F(CutSequence, CutSequenceThatCompletesAsAnErrorIsDumped) {
  Queue(Jis("１Ｈ"));
  Feed(Join({{Csi}, Jis("９９")}));
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0].rfind("message デバッグデータ内容|00000000  009B 2339 2339 2331 2348 ", 0), 0u);
}

TEST_F(CutSequence, PrivateFormCutInsideCompletesFromThePort) {
  Queue({0x2335, 0x0000, 0x006C});
  EXPECT_EQ(Feed({Csi, 0x2164, 0x0000}), 1);
  EXPECT_EQ(events(), (std::vector<std::string>{"caret show"}));
}

TEST_F(CutSequence, EscArgumentReadFromThePort) {
  Queue({0x2176});
  Queue(Jis("Ｑ"));
  Feed(Join({Jis("Ａ"), {Esc}}));
  EXPECT_EQ(Row(0), "");  // ESC ＊ cleared the screen
  EXPECT_EQ(QueueTaken(), 2u);
  EXPECT_EQ(terminal.platform.logFile.bytes, Bytes({0x2341, Esc, 0x2176}));
}

// As uncut: the dump shows the ESC, its argument and the rest of the block,
// and the rest is dropped.
TEST_F(CutSequence, UnknownEscArgumentFromALaterPushIsDumpedAsUncut) {
  Queue(Jis("ＡＢ"));
  EXPECT_EQ(Feed({Esc}), 0);
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0],
            "message デバッグデータ内容|00000000  001B 2341 2342 　　 　　 　　 　　 　　 　？ＡＢ　　　　　");
  EXPECT_EQ(events()[1], "message 通信ターミナル|ＥＳＣシーケンス実行出来ない！！");
  EXPECT_EQ(Row(0), "");
}

TEST_F(CutSequence, EscWhoseArgumentNeverComes) {
  EXPECT_EQ(Feed({Esc}), 0);
  EXPECT_EQ(events(),
            (std::vector<std::string>{"message 通信ターミナル|受信エラー：ＥＳＣシーケンス実行出来ない！！"}));
}

}  // namespace
