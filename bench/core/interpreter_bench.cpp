// Words per second through the terminal, pushed in pump blocks of 50 words.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "terminal/native/native_platform.h"

namespace {

constexpr std::uint16_t Csi = 0x009B;

void Add(std::vector<std::uint16_t>& words, std::initializer_list<std::uint16_t> more) {
  words.insert(words.end(), more);
}

// A full screen of kanji and kana from the home position: 10,000 characters
// that wrap at every row end.
std::vector<std::uint16_t> ScreenOfText() {
  std::vector<std::uint16_t> words = {Csi, 0x2348};  // CSI Ｈ
  for (int i = 0; i < ScreenCells / 2; ++i) {
    words.push_back(std::uint16_t(i % 3 == 0 ? 0x3021 + (i % 90) : 0x2422 + (i % 80)));
  }
  return words;
}

// Lines of 40 characters ended by CR LF on the bottom row: every line scrolls.
std::vector<std::uint16_t> ScrollingLines() {
  std::vector<std::uint16_t> words;
  for (int line = 0; line < 250; ++line) {
    for (int i = 0; i < 40; ++i) words.push_back(std::uint16_t(0x3021 + (line + i) % 90));
    Add(words, {0x000D, 0x000A});
  }
  return words;
}

// Colours, cursor moves and erases between short runs of text.
std::vector<std::uint16_t> CsiHeavy() {
  std::vector<std::uint16_t> words;
  for (int i = 0; i < 400; ++i) {
    const std::uint16_t row = std::uint16_t(0x2330 + i % 10);
    Add(words, {Csi, 0x2333, std::uint16_t(0x2330 + i % 8), 0x2128, 0x2334,
                std::uint16_t(0x2330 + (i + 3) % 8), 0x236D});            // CSI 3n；4nｍ
    Add(words, {Csi, 0x2331, row, 0x2128, 0x2332, 0x2330, 0x2348});      // CSI 1n；20Ｈ
    Add(words, {0x2341, 0x2342, 0x2343, 0x2344, 0x2345, 0x2346});
    Add(words, {Csi, 0x2330, 0x234B});                                   // CSI 0Ｋ
    Add(words, {Csi, 0x2331, 0x236D, 0x2347, 0x2348, Csi, 0x2330, 0x236D});
    if (i % 50 == 0) Add(words, {Csi, 0x2330, 0x234A});                  // CSI 0Ｊ
  }
  return words;
}

void AddNumber(std::vector<std::uint16_t>& words, int number) {
  if (number >= 10) AddNumber(words, number / 10);
  words.push_back(std::uint16_t(0x2330 + number % 10));  // full-width digit
}

// Points on the graphic plane, CSI x；y点, along a diagonal band in four colours.
std::vector<std::uint16_t> PlottedPoints() {
  std::vector<std::uint16_t> words;
  for (int i = 0; i < 2000; ++i) {
    if (i % 500 == 0) Add(words, {Csi, std::uint16_t(0x2331 + i / 500), 0x2333, 0x236D});  // CSI 3nｍ
    words.push_back(Csi);
    AddNumber(words, (i * 7) % 640);
    words.push_back(0x2128);  // ；
    AddNumber(words, (i * 3) % 480);
    words.push_back(0x4540);  // 点
  }
  return words;
}

void RunStream(benchmark::State& bench, const std::vector<std::uint16_t>& words, bool drawing) {
  HeadlessTerminal terminal;
  StartHeadlessTerminal(terminal, drawing);
  // The interpreter alone: the in-memory log of the native roles would grow by
  // every iteration's bytes and measure the vector instead (the flood under
  // Wine measures the path with the log).
  terminal.platform.logFile.Close();
  std::vector<std::uint8_t> bytes;
  for (const std::uint16_t word : words) {
    bytes.push_back(std::uint8_t(word & 0xFF));
    bytes.push_back(std::uint8_t(word >> 8));
  }
  for (auto _ : bench) {
    for (std::size_t at = 0; at < bytes.size(); at += 100) {
      const int length = int(std::min<std::size_t>(100, bytes.size() - at));
      terminal.terminal->Receive(bytes.data() + at, std::size_t(length));
    }
    terminal.terminal->queue.Flush();
  }
  bench.SetItemsProcessed(std::int64_t(bench.iterations()) * std::int64_t(words.size()));
  bench.counters["draws"] = benchmark::Counter(double(terminal.platform.drawTextCalls),
                                               benchmark::Counter::kAvgIterations);
}

void ModelText(benchmark::State& bench) { RunStream(bench, ScreenOfText(), false); }
void ModelScrolling(benchmark::State& bench) { RunStream(bench, ScrollingLines(), false); }
void ModelCsi(benchmark::State& bench) { RunStream(bench, CsiHeavy(), false); }
void DrawnText(benchmark::State& bench) { RunStream(bench, ScreenOfText(), true); }
void DrawnScrolling(benchmark::State& bench) { RunStream(bench, ScrollingLines(), true); }
void DrawnCsi(benchmark::State& bench) { RunStream(bench, CsiHeavy(), true); }
void GraphicPoints(benchmark::State& bench) { RunStream(bench, PlottedPoints(), true); }

BENCHMARK(ModelText);
BENCHMARK(ModelScrolling);
BENCHMARK(ModelCsi);
BENCHMARK(DrawnText);
BENCHMARK(DrawnScrolling);
BENCHMARK(DrawnCsi);
BENCHMARK(GraphicPoints);

}  // namespace

BENCHMARK_MAIN();
