#include "tests/core/terminal_fixture.h"

#include <iconv.h>

#include "replay/replay_report.h"

std::vector<std::uint16_t> Jis(const std::string& text) {
  iconv_t converter = iconv_open("EUC-JP", "UTF-8");
  std::string euc(text.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* out = euc.data();
  std::size_t outLeft = euc.size();
  iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  euc.resize(euc.size() - outLeft);
  std::vector<std::uint16_t> words;
  for (std::size_t i = 0; i + 1 < euc.size(); i += 2) {
    words.push_back(std::uint16_t((std::uint8_t(euc[i]) & 0x7F) << 8 | (std::uint8_t(euc[i + 1]) & 0x7F)));
  }
  return words;
}

std::vector<std::uint8_t> Bytes(const std::vector<std::uint16_t>& words) {
  std::vector<std::uint8_t> bytes;
  for (const std::uint16_t word : words) {
    bytes.push_back(std::uint8_t(word & 0xFF));
    bytes.push_back(std::uint8_t(word >> 8));
  }
  return bytes;
}

std::vector<std::uint16_t> Join(std::initializer_list<std::vector<std::uint16_t>> parts) {
  std::vector<std::uint16_t> words;
  for (const auto& part : parts) words.insert(words.end(), part.begin(), part.end());
  return words;
}

void TerminalTest::SetUp() { StartHeadlessTerminal(terminal, true); }

int TerminalTest::Feed(const std::vector<std::uint16_t>& words) {
  const std::size_t eventsBefore = events().size();
  const std::vector<std::uint8_t> bytes = Bytes(words);
  term().Receive(bytes.data(), bytes.size());
  PushQueuedWhileAwaited();
  if (term().Waiting()) EndTheWait();
  for (std::size_t i = eventsBefore; i < events().size(); ++i) {
    if (events()[i].rfind("message 通信ターミナル|", 0) == 0) return 0;
  }
  return 1;
}

void TerminalTest::PushQueuedWhileAwaited() {
  while (term().Waiting() && runsTaken < queued.size()) PushRun(queued[runsTaken++]);
}

void TerminalTest::PushRun(const std::vector<std::uint8_t>& run) {
  const std::size_t piece = wordByWord ? 2 : run.size();
  for (std::size_t at = 0; at < run.size() && (at == 0 || term().Waiting()); at += piece) {
    term().Receive(run.data() + at, piece);
    queueTaken += piece;
  }
}

void TerminalTest::EndTheWait() {
  if (!silentDevice) return term().EndOfInput();
  for (int step = 0; step < 1000 && term().Waiting(); ++step) {
    terminal.platform.clock += 100;
    term().Tick(terminal.platform.clock);
  }
}

void TerminalTest::Queue(const std::vector<std::uint16_t>& words) {
  queued.push_back(Bytes(words));
}

void TerminalTest::SetCursor(int row, int col) {
  state().cursorRow = row;
  state().cursorCol = col;
}

std::string TerminalTest::Row(int row) const { return ScreenRowText(state(), row); }

const CellAttr& TerminalTest::Attr(int row, int col) const {
  return state().cellAttrs[row * ScreenColumns + col];
}

COLORREF TerminalTest::CellBackground(int row, int col) {
  term().queue.Flush();
  // Glyph dots may fall anywhere in a cell: take the colour most of the cell has.
  const int cw = state().cellWidth;
  const int ch = state().cellHeight;
  const Raster& text = terminal.platform.text;
  COLORREF best = RasterPixel(text, col * cw, row * ch);
  int bestCount = 0;
  for (int y = 0; y < ch; ++y) {
    const COLORREF colour = RasterPixel(text, col * cw, row * ch + y);
    int count = 0;
    for (int x = 0; x < cw; ++x) count += RasterPixel(text, col * cw + x, row * ch + y) == colour;
    if (count > bestCount) {
      bestCount = count;
      best = colour;
    }
  }
  return best;
}
