// The queued drawing must leave exactly the pixels of drawing every character,
// fill and scroll at once.
#include <gtest/gtest.h>

#include <random>

#include "terminal/interpreter/interpreter.h"
#include "terminal/model/draw_queue.h"
#include "terminal/model/screen_model.h"
#include "tests/core/terminal_fixture.h"

namespace {

// Words that exercise what changes the canvas: characters, wraps at odd
// columns, scrolls, styles that overhang, colours, erases, cursor jumps.
std::vector<std::uint16_t> RandomStream(std::mt19937& random, int length) {
  const std::vector<std::vector<std::uint16_t>> pieces = {
      Jis("Ａ"), Jis("漢"), {0x0041}, {Cr}, {Lf}, {Lf, Lf, Lf}, {0x0008},
      Join({{Csi}, Jis("１ｍ")}), Join({{Csi}, Jis("６ｍ")}), Join({{Csi}, Jis("４ｍ")}),
      Join({{Csi}, Jis("０ｍ")}), Join({{Csi}, Jis("２２；２６；２４ｍ")}),
      Join({{Csi}, Jis("３１；４２ｍ")}), Join({{Csi}, Jis("７ｍ")}), Join({{Csi}, Jis("４７；３０ｍ")}),
      Join({{Csi}, Jis("１９９；９７Ｈ")}), Join({{Csi}, Jis("１９９；９８Ｈ")}),
      Join({{Csi}, Jis("３；３Ｃ")}), Join({{Csi}, Jis("１Ｃ")}),
      Join({{Csi}, Jis("０Ｊ")}), Join({{Csi}, Jis("１Ｊ")}), Join({{Csi}, Jis("２Ｊ")}),
      Join({{Csi}, Jis("０Ｋ")}), Join({{Csi}, Jis("１Ｋ")}), Join({{Csi}, Jis("２Ｋ")}),
      Join({{Csi}, Jis("１９５；０Ｈ")}), Join({{Csi}, Jis("０；９９Ｈ")}), {Esc, 0x2337},
  };
  std::vector<std::uint16_t> words;
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> run(1, 60);
  while (int(words.size()) < length) {
    const std::vector<std::uint16_t>& piece = pieces[pick(random)];
    // Characters come in runs, like text.
    const int repeat = piece.size() == 1 && piece[0] > 0x2000 ? run(random) : 1;
    for (int i = 0; i < repeat; ++i) words.insert(words.end(), piece.begin(), piece.end());
  }
  return words;
}

Raster Render(const std::vector<std::uint16_t>& words, bool immediate, bool newLine,
              long& drawCalls) {
  HeadlessTerminal terminal;
  StartHeadlessTerminal(terminal, true);
  terminal.terminal->queue.SetImmediate(immediate);
  terminal.state().newLine = newLine ? 1 : 0;
  const std::vector<std::uint8_t> bytes = Bytes(words);
  terminal.terminal->Receive(bytes.data(), bytes.size());
  terminal.terminal->queue.Flush();
  drawCalls = terminal.platform.drawTextCalls;
  return terminal.platform.text;
}

TEST(DrawQueue, RandomStreamsDrawTheSamePixelsQueuedAsImmediately) {
  std::mt19937 random(1234);
  for (int round = 0; round < 15; ++round) {
    const std::vector<std::uint16_t> words = RandomStream(random, 3000);
    long immediateCalls = 0;
    long queuedCalls = 0;
    const Raster immediate = Render(words, true, round % 3 == 0, immediateCalls);
    const Raster queued = Render(words, false, round % 3 == 0, queuedCalls);
    ASSERT_EQ(immediate.width, queued.width);
    ASSERT_EQ(immediate.height, queued.height);
    for (std::size_t i = 0; i < immediate.pixels.size(); ++i) {
      ASSERT_EQ(immediate.pixels[i], queued.pixels[i])
          << "round " << round << " at x " << i % immediate.width << " y " << i / immediate.width;
    }
    EXPECT_LT(queuedCalls, immediateCalls);
  }
}

void ExpectQueuedAsImmediate(const std::vector<std::uint16_t>& words) {
  long calls = 0;
  const Raster immediate = Render(words, true, false, calls);
  EXPECT_TRUE(Render(words, false, false, calls).pixels == immediate.pixels);
}

std::vector<std::uint16_t> CsiOf(const std::string& text) { return Join({{Csi}, Jis(text)}); }

// Characters are one run only while they follow each other on one row, between
// the same scrolls, in one colour pair.
TEST(DrawQueue, EitherColourChangingStartsANewRun) {
  ExpectQueuedAsImmediate(
      Join({Jis("ＡＢＣ"), CsiOf("３４ｍ"), Jis("ＤＥＦ"), CsiOf("４３ｍ"), Jis("ＧＨＩ")}));
}

TEST(DrawQueue, ACursorJumpAlongTheRowStartsANewRun) {
  ExpectQueuedAsImmediate(Join({Jis("ＡＢ"), CsiOf("０；１０Ｈ"), Jis("ＣＤ")}));
}

TEST(DrawQueue, AScrollBetweenCharactersStartsANewRun) {
  ExpectQueuedAsImmediate(Join({CsiOf("１９８；０Ｈ"), {Lf}, Jis("ＡＢ"), {Lf}, Jis("ＣＤ")}));
}

// 1,200 runs of one character each, more than the queue holds at once.
TEST(DrawQueue, MoreOperationsThanTheQueueHoldsAreDrawnInOrder) {
  std::vector<std::uint16_t> words;
  for (int i = 0; i < 600; ++i) {
    words = Join({words, CsiOf("３１ｍ"), Jis("Ａ"), CsiOf("３２ｍ"), Jis("Ｂ")});
  }
  ExpectQueuedAsImmediate(words);
}

// Fills that end exactly at the right and bottom edges of the screen move with
// a scroll: scrolls around them are still one copy.
TEST(DrawQueue, AnEraseToTheScreensEdgesDoesNotSplitTheScrolls) {
  HeadlessTerminal terminal;
  StartHeadlessTerminal(terminal, true);
  const std::vector<std::uint8_t> bytes =
      Bytes(Join({CsiOf("１９８；０Ｈ"), {Lf, Lf}, CsiOf("０Ｊ"), {Lf}}));
  const long copiesBefore = terminal.platform.copyRectCalls;
  terminal.terminal->Receive(bytes.data(), bytes.size());
  terminal.terminal->queue.Flush();
  EXPECT_EQ(terminal.platform.copyRectCalls - copiesBefore, 1);
}

TEST(DrawQueue, TextOfAScrollingScreenBecomesFewDrawsAndOneCopy) {
  HeadlessTerminal terminal;
  StartHeadlessTerminal(terminal, true);
  const long drawsBefore = terminal.platform.drawTextCalls;
  std::vector<std::uint16_t> words;
  for (int line = 0; line < 400; ++line) {
    const std::vector<std::uint16_t> text(50, std::uint16_t(0x2430 + line % 20));
    words.insert(words.end(), text.begin(), text.end());
  }
  Raster reference;
  {
    long calls = 0;
    reference = Render(words, true, false, calls);
  }
  HeadlessTerminal queued;
  StartHeadlessTerminal(queued, true);
  const long startDraws = queued.platform.drawTextCalls;
  const std::vector<std::uint8_t> bytes = Bytes(words);
  queued.terminal->Receive(bytes.data(), bytes.size());
  queued.terminal->queue.Flush();
  // 400 lines, each one run, the first 200 scrolled off before they were seen.
  EXPECT_LE(queued.platform.drawTextCalls - startDraws, 200 + 200 + 10);
  EXPECT_LE(queued.platform.copyRectCalls, 2);
  EXPECT_EQ(queued.platform.text.pixels, reference.pixels);
  (void)drawsBefore;
}

TEST(DrawQueue, FontChangeFlushesBeforeTheCanvasIsRebuilt) {
  HeadlessTerminal terminal;
  StartHeadlessTerminal(terminal, true);
  const std::vector<std::uint8_t> bytes = Bytes(Join({{Csi}, Jis("４１ｍ"), Jis("Ａ")}));
  terminal.terminal->Receive(bytes.data(), bytes.size());
  terminal.state().fontSpec.lfHeight = 20;
  ApplyFontSpec(*terminal.terminal);
  terminal.terminal->queue.Flush();
  // Redrawn from the model at the new cell size: red behind Ａ.
  EXPECT_EQ(RasterPixel(terminal.platform.text, 0, 20), 0x0000FFu);
  EXPECT_EQ(terminal.state().cellHeight, 21);
}

}  // namespace
