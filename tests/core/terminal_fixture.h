// A connected native terminal for the interpreter tests, and words written as text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "terminal/native/native_platform.h"

// JIS words of UTF-8 text (every character must be in JIS X 0208).
std::vector<std::uint16_t> Jis(const std::string& text);

// Little-endian bytes of words.
std::vector<std::uint8_t> Bytes(const std::vector<std::uint16_t>& words);

std::vector<std::uint16_t> Join(std::initializer_list<std::vector<std::uint16_t>> parts);

constexpr std::uint16_t Csi = 0x009B;
constexpr std::uint16_t Esc = 0x001B;
constexpr std::uint16_t Cr = 0x000D;
constexpr std::uint16_t Lf = 0x000A;

class TerminalTest : public ::testing::Test {
 public:
  void SetUp() override;

  // Pushes the words as received, in one push. While the terminal then awaits
  // more words (a cut sequence, an ESC argument, point-plot mode) the queued
  // runs follow, each in one push, as the pump pushes what a read brought; if
  // it still awaits when the queue is empty, the port closes (or, for a
  // silent device, time passes until the bound). Returns 0 when a failure
  // message was shown, else 1.
  int Feed(const std::vector<std::uint16_t>& words);
  // A run of words the device sends after the next Feed's words, while they are
  // awaited: one push, or one push per word with wordByWord.
  void Queue(const std::vector<std::uint16_t>& words);
  // How many bytes of the queue have been pushed.
  std::size_t QueueTaken() const { return queueTaken; }
  void SetCursor(int row, int col);

  // A screen row as UTF-8, trailing blanks removed.
  std::string Row(int row) const;
  const CellAttr& Attr(int row, int col) const;
  int CursorRow() const { return state().cursorRow; }
  int CursorCol() const { return state().cursorCol; }
  TerminalState& state() const { return terminal.state(); }
  Terminal& term() const { return *terminal.terminal; }
  std::vector<std::string>& events() { return terminal.platform.events; }
  // The colour of the text canvas at the centre of the cell's left half, after a flush.
  COLORREF CellBackground(int row, int col);

  HeadlessTerminal terminal;
  bool silentDevice = false;  // the device neither sends nor closes at the end of the queue
  bool wordByWord = false;    // queued runs trickle in, one push per word

 private:
  void PushQueuedWhileAwaited();
  void PushRun(const std::vector<std::uint8_t>& run);
  void EndTheWait();
  std::vector<std::vector<std::uint8_t>> queued;  // runs, each one push
  std::size_t runsTaken = 0;
  std::size_t queueTaken = 0;
};
