#include "tests/core/corpus/hand_streams.h"

#include "tests/core/terminal_fixture.h"

namespace {

using Words = std::vector<std::uint16_t>;

constexpr std::uint16_t Point = 0x4540;
constexpr std::uint16_t Eot = 0x0004;

// `count` characters, so that what follows starts at word `count` of the input.
Words Filler(int count) {
  Words words;
  for (int i = 0; i < count; ++i) words.push_back(std::uint16_t(0x3021 + i % 90));
  return words;
}

CorpusStream Stream(const char* name, const Words& words, ReplaySettings settings = {}, int oddByte = -1) {
  return CorpusStream{std::string("hand-") + name, StreamBytes(words, oddByte), settings};
}

ReplaySettings Echo() {
  ReplaySettings settings;
  settings.localEcho = true;
  return settings;
}

ReplaySettings NewLine() {
  ReplaySettings settings;
  settings.newLine = true;
  return settings;
}

// ESC 点 and what the device sends after it.
std::vector<CorpusStream> PointPlotStreams() {
  const Words plot = Join({Jis("Ａ"), {Esc, Point}, Jis("１０；２０"), {Cr}, Jis("３；"), {0x2341},
                           Jis("４；５"), {Cr, Eot}, Jis("Ｂ")});
  return {
      Stream("plot-nak-then-words", plot),
      Stream("plot-nak-echoed", plot, Echo()),
      // ESC ends a block, 点 starts the next: the argument comes from the port.
      Stream("plot-esc-ends-block", Join({Filler(49), {Esc, Point}, Jis("７；８"), {Cr, Eot}, Jis("後")})),
      Stream("plot-fifth-digit", Join({{Esc, Point}, Jis("１２３４５；６"), {Cr, Eot}, Jis("後")})),
      Stream("plot-waits-for-a-line", Join({Jis("前"), {Esc, Point}, Jis("５；６")})),
      Stream("plot-waits-echoed", Join({{Esc, Point}, Jis("５；６"), {Cr}}), Echo()),
      Stream("plot-eot-mid-line", Join({{Esc, Point}, Jis("１；２"), {Cr}, Jis("９"), {Eot}, Jis("次")})),
      Stream("plot-twice", Join({{Esc, Point}, Jis("１；１"), {Cr, Eot, Esc, Point}, Jis("２；２"), {Cr, Eot}})),
  };
}

// Sequences that the end of a block cuts, and inputs that end inside one.
std::vector<CorpusStream> CutStreams() {
  return {
      Stream("csi-cut-completes", Join({Filler(47), {Csi}, Jis("３；"), Jis("４Ｈ"), Jis("Ｚ")})),
      Stream("csi-cut-rejected", Join({Filler(49), {Csi}, Jis("Ｅ後")})),
      Stream("csi-cut-dumped", Join({Filler(47), {Csi}, Jis("９９"), Jis("１Ｈ後")})),
      Stream("csi-cut-at-end", Join({Jis("Ｑ"), {Csi}, Jis("１２")})),
      Stream("private-cut", Join({Filler(48), {Csi, 0x2164}, {0x2341, 0x2335, 0x0000, 0x0068}, Jis("後")})),
      Stream("esc-ends-block", Join({Filler(49), {Esc}, Jis("７"), Jis("後")})),
      Stream("esc-at-end", Join({Jis("前"), {Esc}})),
      Stream("odd-last-byte", Join({Jis("奇数"), {Csi}}), {}, 0x41),
  };
}

// A failure at the first word of a full block: a dump of seven lines.
std::vector<CorpusStream> ScreenStreams() {
  return {
      Stream("dump-full-block", Join({{Csi}, Jis("９Ｊ"), Filler(47)})),
      Stream("wrap-newline-odd-column", Join({{Csi}, Jis("５；９７Ｈ"), Jis("ＡＢＣ")}), NewLine()),
      Stream("erase-line-odd-column", Join({Filler(20), {Csi}, Jis("４ｍ"), {Csi}, Jis("７Ｄ"), {Csi}, Jis("１Ｋ")})),
  };
}

}  // namespace

std::vector<CorpusStream> HandStreams() {
  std::vector<CorpusStream> streams = PointPlotStreams();
  for (const auto& group : {CutStreams(), ScreenStreams()}) streams.insert(streams.end(), group.begin(), group.end());
  return streams;
}
