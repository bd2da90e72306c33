#include "terminal/interpreter/terminal.h"

#include "terminal/interpreter/awaited.h"
#include "terminal/interpreter/interpreter.h"
#include "terminal/interpreter/point_plot.h"
#include "terminal/interpreter/words.h"

namespace {

// The next block of `available` received bytes: at most PumpBlockBytes, whole
// words.
int NextBlockLength(std::size_t available) {
  return int(available < std::size_t(PumpBlockBytes) ? available : PumpBlockBytes) & ~1;
}

// The log holds whole words only, as the window's pump hands them over: a
// lone byte is logged with its partner, so that every stamp stands at an even
// distance from the start stamp before it. A failed append has told the user
// and closed the log, and later ones are skipped: reception goes on without it.
void LogWholeWords(CommLog& log, int& unloggedByte, const std::uint8_t* bytes, std::size_t length) {
  if (unloggedByte >= 0) {
    const std::uint8_t word[2] = {std::uint8_t(unloggedByte), bytes[0]};
    log.Append(word, 2);
    ++bytes;
    --length;
  }
  unloggedByte = length % 2 != 0 ? bytes[length - 1] : -1;
  if (length >= 2) log.Append(bytes, int(length - length % 2));
}

}  // namespace

Terminal::Terminal(const TerminalRoles& roles)
    : ScreenModel(roles.drawing, roles.host),
      device(roles.device),
      log(roles.log),
      clock(roles.clock) {}

void Terminal::Receive(const std::uint8_t* bytes, std::size_t length) {
  if (length == 0) return;
  LogWholeWords(log, interpreter.unloggedByte, bytes, length);
  InterpretPush(bytes, length);
  if (Waiting()) interpreter.waitSince = clock.Milliseconds();
}

// A lone byte left by the push before goes in front of this one; a lone last
// byte waits for the next.
void Terminal::InterpretPush(const std::uint8_t* bytes, std::size_t length) {
  std::vector<std::uint8_t> joined;
  if (interpreter.uninterpretedByte >= 0) {
    joined.reserve(length + 1);
    joined.push_back(std::uint8_t(interpreter.uninterpretedByte));
    joined.insert(joined.end(), bytes, bytes + length);
    bytes = joined.data();
    length = joined.size();
    interpreter.uninterpretedByte = -1;
  }
  interpreter.pushDropped = false;
  const std::size_t used = Consume(bytes, length);
  if (used < length && !interpreter.pushDropped) interpreter.uninterpretedByte = bytes[used];
}

// Interprets the whole words of `bytes` in blocks of at most PumpBlockBytes,
// a sequence in progress going on across them, or word by word in point-plot
// mode; after point-plot mode a block starts at the next word. Returns how
// many bytes were taken; stops when the rest of the push was dropped (a NAK).
std::size_t Terminal::Consume(const std::uint8_t* bytes, std::size_t length) {
  std::size_t at = 0;
  while (length - at >= 2 && !interpreter.pushDropped) {
    if (interpreter.parser.state() == ParserState::PointPlot) {
      TakePointPlotWord(*this, WordAt(bytes + at, 0));
      at += 2;
    } else {
      at += 2 * std::size_t(InterpretBlock(*this, bytes + at, NextBlockLength(length - at) / 2));
    }
  }
  return at;
}

void Terminal::Tick(std::uint64_t now) {
  if (Waiting() && now - interpreter.waitSince >= AwaitLimit(interpreter.parser)) FailAwaited(*this);
}

void Terminal::RestartWaitClock() {
  if (Waiting()) interpreter.waitSince = clock.Milliseconds();
}

void Terminal::EndOfInput() {
  if (Waiting()) FailAwaited(*this);
}

// What arrived stays logged: a lone byte waiting for its partner is logged
// with it.
void Terminal::DiscardReceived() {
  interpreter.pushDropped = true;
  interpreter.uninterpretedByte = -1;
}

// A lone byte still waiting when the connection ends was never part of a word
// the terminal took: it is neither interpreted nor logged (the window drops it
// from its receive stage too), and the next connection starts on a whole word.
void Terminal::ForgetReceived() {
  DiscardReceived();
  interpreter.unloggedByte = -1;
  interpreter.parser.Reset();
  interpreter.heldUserBytes.clear();
  interpreter.pendingEchoByte = -1;
}

void Terminal::Connect() {
  ForgetReceived();
  state.connected = true;
}

void Terminal::Disconnect() {
  state.connected = false;
  ForgetReceived();
}

bool Terminal::Transmit(std::uint8_t byte) {
  if (!state.connected || !device.Transmit(byte)) return false;
  if (state.localEcho) {
    EchoByte(byte);
  } else {
    host.ByteSent(byte);
  }
  return true;
}

void Terminal::SendFromUser(const std::uint8_t* bytes, int length) {
  if (interpreter.parser.state() == ParserState::PointPlot) {
    interpreter.heldUserBytes.insert(interpreter.heldUserBytes.end(), bytes, bytes + length);
    return;
  }
  for (int i = 0; i < length; ++i) Transmit(bytes[i]);
}

// The two bytes of an echoed word are gathered across calls; the word is shown
// when it is complete.
void Terminal::EchoByte(std::uint8_t byte) {
  int& pending = interpreter.pendingEchoByte;
  if (pending < 0) {
    pending = byte;
    return;
  }
  const std::uint16_t word = std::uint16_t(pending | byte << 8);
  pending = -1;
  InterpretEchoWord(*this, word);
}
