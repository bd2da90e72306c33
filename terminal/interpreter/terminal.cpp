#include "terminal/interpreter/terminal.h"

#include <cstring>

#include "terminal/interpreter/awaited.h"
#include "terminal/interpreter/interpreter.h"
#include "terminal/interpreter/point_plot.h"
#include "terminal/interpreter/transmit_status.h"
#include "terminal/interpreter/words.h"

namespace {

constexpr std::uint16_t WordPoint = 0x4540;  // 点

// The next block of `available` received bytes: at most PumpBlockBytes, whole
// words, and ending after an ESC 点 pair, since a device that has sent ESC 点
// waits for the terminal's ACK before it sends its points.
int NextBlockLength(const std::uint8_t* bytes, std::size_t available) {
  const int length = int(available < std::size_t(PumpBlockBytes) ? available : PumpBlockBytes) & ~1;
  for (int i = 0; i + 4 <= length; i += 2) {
    if (WordAt(bytes, i / 2) == WordEsc && WordAt(bytes, i / 2 + 1) == WordPoint) return i + 4;
  }
  return length;
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
  // A failed append has told the user and closed the log; reception goes on without it.
  log.Append(bytes, int(length));
  interpreter.inbox.insert(interpreter.inbox.end(), bytes, bytes + length);
  // A message box of the interpreter lets the program run, and it may push
  // again: those bytes wait in the inbox for the outer call.
  if (!interpreter.draining) Drain();
}

void Terminal::Drain() {
  InterpreterState& in = interpreter;
  in.draining = true;
  while (in.inbox.size() - in.inboxStart >= 2) {
    if (Waiting()) {
      TakeAwaitedWord();
    } else {
      InterpretNextBlock();
    }
  }
  in.inbox.erase(in.inbox.begin(), in.inbox.begin() + std::ptrdiff_t(in.inboxStart));
  in.inboxStart = 0;
  in.draining = false;
}

void Terminal::InterpretNextBlock() {
  InterpreterState& in = interpreter;
  // A copy: pushes made while the block is interpreted may move the inbox.
  std::uint8_t block[PumpBlockBytes];
  const int length = NextBlockLength(in.inbox.data() + in.inboxStart, in.inbox.size() - in.inboxStart);
  std::memcpy(block, in.inbox.data() + in.inboxStart, std::size_t(length));
  in.inboxStart += std::size_t(length);
  InterpretWords(*this, block, length / 2);
}

void Terminal::TakeAwaitedWord() {
  InterpreterState& in = interpreter;
  const std::uint16_t word = WordAt(in.inbox.data() + in.inboxStart, 0);
  in.inboxStart += 2;
  in.lastWordAt = clock.Milliseconds();
  switch (in.awaited) {
    case Awaited::CutCsi: TakeCutCsiWord(*this, word); break;
    case Awaited::EscArgument: TakeEscArgument(*this, word); break;
    case Awaited::PointPlot: TakePointPlotWord(*this, word); break;
    case Awaited::Nothing: break;
  }
}

void Terminal::Tick(std::uint64_t now) {
  // Inside a message box of the interpreter the time is the user's: the next
  // tick after it looks again.
  if (!Waiting() || interpreter.draining) return;
  if (now - interpreter.lastWordAt >= AwaitLimit(interpreter.awaited)) FailAwaited(*this);
}

void Terminal::EndOfInput() {
  if (Waiting()) FailAwaited(*this);
}

void Terminal::ForgetReceived() {
  interpreter.inbox.clear();
  interpreter.inboxStart = 0;
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
