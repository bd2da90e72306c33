// Arbitrary received byte streams through the interpreter, its own port reads
// and point-plot mode, on the native platform.
//
// The first byte selects the options: bit 0 newLine, bit 1 no auto-wrap,
// bit 2 local echo, bit 3 drawing on, bit 4 a silent device at the end of the
// input instead of a closed port, bits 5-7 a log that fails after that many
// times 16 bytes (0: never). The rest is what the device sends.
#include <cstddef>
#include <cstdint>

#include "terminal/interpreter/interpreter.h"
#include "terminal/model/terminal_model.h"
#include "terminal/native/native_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  // One terminal for the whole run, its memory reused: only what the input
  // does is measured, not the allocation of a record and two canvases.
  static NativeTerminal terminal;
  Raster text = std::move(terminal.platform.text);
  Raster graphic = std::move(terminal.platform.graphic);
  terminal.platform = NativePlatform{};
  terminal.platform.text = std::move(text);
  terminal.platform.graphic = std::move(graphic);
  // Cells of 2 x 2 pixels keep the text canvas small; the drawing logic is the same.
  terminal.platform.largestCell = 2;
  StartNativeTerminal(terminal, (options & 0x08) != 0);
  TerminalState& state = *terminal.state;
  state.newLine = options & 0x01;
  state.autoWrap = (options & 0x02) ? 0 : 1;
  state.localEcho = (options & 0x04) ? 1 : 0;
  terminal.platform.inputEndCloses = (options & 0x10) == 0;
  terminal.platform.emptyReadMilliseconds = 500;  // the waits' bounds come quickly
  if ((options >> 5) != 0) terminal.platform.logCapacity = std::size_t(options >> 5) * 16;
  terminal.platform.input.assign(data + 1, data + size);
  std::uint8_t block[100];
  for (;;) {
    const int count = ReadPumpBlock(terminal.platform, block);
    if (count == 0) break;
    terminal.platform.AppendToLog(terminal.window, block, count);
    InterpretReceived(terminal.window, block, count);
    // Echo a byte now and then, as key presses would.
    if (state.localEcho) terminal.platform.TransmitByte(terminal.window, block[0]);
  }
  FlushDrawing();
  return 0;
}
