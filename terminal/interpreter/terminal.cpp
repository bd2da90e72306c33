#include "terminal/interpreter/terminal.h"

#include "terminal/interpreter/awaited.h"
#include "terminal/interpreter/interpreter.h"
#include "terminal/interpreter/point_plot.h"
#include "terminal/interpreter/transmit_status.h"
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

std::uint64_t AwaitLimit(Awaited awaited) {
  return awaited == Awaited::PointPlot ? PointPlotWaitMilliseconds : CutSequenceWaitMilliseconds;
}

}  // namespace

Terminal::Terminal(const TerminalRoles& roles)
    : TerminalModel(roles.drawing, roles.host),
      device(roles.device),
      log(roles.log),
      clock(roles.clock) {}

void Terminal::Receive(const std::uint8_t* bytes, std::size_t length) {
  if (length == 0) return;
  InterpreterState& in = interpreter;
  // A message box of the terminal (a sequence's, the log's failure) lets the
  // program run, and it may push again: such a push, and one behind a lone
  // byte, waits in the inbox for the outer call. It is queued before it is
  // logged, so that a push made inside the log's failure box comes after it.
  const bool outer = !in.draining;
  const bool queued = !outer || !in.inbox.empty();
  if (queued) in.inbox.insert(in.inbox.end(), bytes, bytes + length);
  in.draining = true;
  const unsigned generation = in.generation;
  LogWholeWords(log, interpreter.unloggedByte, bytes, length);
  if (!outer) return;
  if (!queued && generation == in.generation) InterpretPush(bytes, length);
  DrainInbox();
  in.draining = false;
  // The time the terminal's message boxes were open was the user's: what is
  // awaited counts its bound from now.
  if (Waiting()) in.waitSince = clock.Milliseconds();
}

// A push that nothing waits before is interpreted where it lies; a lone byte
// left over waits in the inbox.
void Terminal::InterpretPush(const std::uint8_t* bytes, std::size_t length) {
  const unsigned generation = interpreter.generation;
  const std::size_t used = Consume(bytes, length);
  if (generation == interpreter.generation) KeepUnconsumed(bytes + used, length - used);
}

// The inbox is taken out while it is interpreted, so that pushes made
// meanwhile go to a new one, behind what this one leaves.
void Terminal::DrainInbox() {
  InterpreterState& in = interpreter;
  while (in.inbox.size() >= 2) {
    std::vector<std::uint8_t> taken;
    taken.swap(in.inbox);
    const unsigned generation = in.generation;
    const std::size_t used = Consume(taken.data(), taken.size());
    if (generation != in.generation) continue;
    KeepUnconsumed(taken.data() + used, taken.size() - used);
    if (used == 0) break;
  }
}

// Interprets the whole words of `bytes`, block by block (the words of a cut
// sequence go in front of the next block), or word by word in point-plot
// mode; returns how many bytes were taken. Stops when the received bytes
// have been discarded meanwhile (a disconnect inside a message box, a NAK).
std::size_t Terminal::Consume(const std::uint8_t* bytes, std::size_t length) {
  const unsigned generation = interpreter.generation;
  std::size_t at = 0;
  while (length - at >= 2 && generation == interpreter.generation) {
    if (interpreter.awaited == Awaited::PointPlot) {
      TakePointPlotWord(*this, WordAt(bytes + at, 0));
      at += 2;
    } else {
      const int block = NextBlockLength(length - at) / 2;
      const int taken = Waiting() ? ContinueCut(*this, bytes + at, block)
                                  : InterpretWords(*this, bytes + at, block);
      at += 2 * std::size_t(taken);
    }
  }
  return at;
}

// A lone byte left over waits for its partner, ahead of anything pushed since.
void Terminal::KeepUnconsumed(const std::uint8_t* rest, std::size_t length) {
  interpreter.inbox.insert(interpreter.inbox.begin(), rest, rest + length);
}

void Terminal::Tick(std::uint64_t now) {
  // While a push is logged and interpreted, a message box of the terminal
  // (a sequence's, the log's failure) may be open: that time is the user's.
  if (!Waiting() || interpreter.draining) return;
  if (now - interpreter.waitSince >= AwaitLimit(interpreter.awaited)) FailAwaited(*this);
}

void Terminal::EndOfInput() {
  if (Waiting()) FailAwaited(*this);
}

// What arrived stays logged: a lone byte waiting for its partner is logged
// with it.
void Terminal::DiscardReceived() {
  interpreter.inbox.clear();
  ++interpreter.generation;
}

// A lone byte still waiting when the connection ends was never part of a word
// the terminal took: it is neither interpreted nor logged (the window drops it
// from its receive stage too), and the next connection starts on a whole word.
void Terminal::ForgetReceived() {
  DiscardReceived();
  interpreter.unloggedByte = -1;
  interpreter.awaited = Awaited::Nothing;
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
    host.SetStatusText(TransmittedPane, TransmittedByteText(byte), TextCoding::Utf8);
  }
  return true;
}

void Terminal::SendFromUser(const std::uint8_t* bytes, int length) {
  if (interpreter.awaited == Awaited::PointPlot) {
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
