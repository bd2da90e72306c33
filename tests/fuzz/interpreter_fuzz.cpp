// Arbitrary received byte streams through the terminal: its blocks, the words
// it awaits between pushes and point-plot mode, on the native roles.
//
// The first byte selects the options: bit 0 newLine, bit 1 no auto-wrap,
// bit 2 local echo, bit 3 drawing on, bit 4 a silent device at the end of the
// input instead of a closed port, bits 5-7 a log that fails after that many
// times 16 bytes (0: never). The rest is what the device sends, pushed in
// pieces of 1 to 128 bytes whose lengths come from the input itself.
#include <cstddef>
#include <cstdint>

#include "terminal/native/native_platform.h"

namespace {

void Configure(HeadlessTerminal& native, std::uint8_t options) {
  // Cells of 2 x 2 pixels keep the text canvas small; the drawing logic is the same.
  native.platform.largestCell = 2;
  StartHeadlessTerminal(native, (options & 0x08) != 0);
  TerminalState& state = native.state();
  state.newLine = options & 0x01;
  state.autoWrap = (options & 0x02) ? 0 : 1;
  state.localEcho = (options & 0x04) ? 1 : 0;
  if ((options >> 5) != 0) native.platform.logFile.capacity = std::size_t(options >> 5) * 16;
}

// The input ends as the device does: the port closes, or it falls silent and
// time passes beyond every bound.
void EndInput(HeadlessTerminal& native, bool silent) {
  if (!silent) return native.terminal->EndOfInput();
  native.platform.clock += PointPlotWaitMilliseconds;
  native.terminal->Tick(native.platform.clock);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  HeadlessTerminal native;
  Configure(native, options);
  Terminal& terminal = *native.terminal;
  std::size_t at = 1;
  while (at < size) {
    const std::size_t piece = std::size_t(data[at] % 128) + 1;
    const std::size_t length = piece < size - at ? piece : size - at;
    terminal.Receive(data + at, length);
    native.platform.clock += 10;
    terminal.Tick(native.platform.clock);
    // A key now and then, as the user would type one.
    terminal.SendFromUser(data + at, 1);
    at += length;
  }
  EndInput(native, (options & 0x10) != 0);
  terminal.queue.Flush();
  return 0;
}
