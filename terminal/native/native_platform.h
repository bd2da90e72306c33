// The platform of the tests, the replay tool, the fuzzer and the benchmarks:
// canvases as in-memory rasters, the port fed from a byte string, the user's
// side recorded as a list of events.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "terminal/model/platform.h"
#include "terminal/native/raster.h"

struct NativePlatform : Platform {
  TerminalState* state = nullptr;
  Window window = nullptr;

  // Canvases. With drawing off every canvas call returns at once.
  bool drawing = true;
  int largestCell = 64;  // keeps a wild FontSpec from asking for a huge canvas
  Raster text;
  Raster graphic;
  int textCanvasWidth = 0;  // kept with drawing off too
  int textCanvasHeight = 0;
  long drawTextCalls = 0;
  long copyRectCalls = 0;
  long fillRectCalls = 0;

  // The port: what the device sends, read from `inputPosition` on.
  std::vector<std::uint8_t> input;
  std::size_t inputPosition = 0;
  bool inputEndCloses = true;  // false: at the end reads find nothing, as from a silent device
  std::uint64_t emptyReadMilliseconds = 0;  // how long a read that finds nothing takes
  long purges = 0;

  // The communication log; a write that would take it past logCapacity fails.
  std::vector<std::uint8_t> log;
  std::size_t logCapacity = SIZE_MAX;
  bool logOpen = true;

  // "beep", "message CAPTION|TEXT", "tab N", "caret show", "caret hide", "sent XX".
  std::vector<std::string> events;
  std::vector<std::uint8_t> sent;
  std::string statusTexts[4];
  long invalidations = 0;
  long caretPlacements = 0;
  long relayouts = 0;
  std::uint64_t clock = 0;  // milliseconds; a pause advances it without sleeping

  TerminalState* StateOf(Window w) override;
  void ResizeTextCanvas(int width, int height) override;
  FontMetrics MeasureFont(const FontSpec& font) override;
  void DrawText(Canvas canvas, int x, int y, const std::uint8_t* bytes, int length,
                const FontSpec& font, COLORREF fg, COLORREF bg) override;
  void FillRect(Canvas canvas, int x, int y, int width, int height, COLORREF colour) override;
  void CopyRect(Canvas canvas, int toX, int toY, int width, int height, int fromX,
                int fromY) override;
  void SetPixel(Canvas canvas, int x, int y, COLORREF colour) override;
  bool DrawsCellsExactly(const FontSpec& font) override;
  int ReadBlock(Window w, std::uint8_t* buffer, int maximum) override;
  int TransmitByte(Window w, int byte) override;
  void PurgePort(Window w) override;
  bool AppendToLog(Window w, const std::uint8_t* bytes, int length) override;
  MessageAnswer ShowMessage(Window owner, std::string_view text, TextCoding coding,
                            std::string_view caption, MessageIcon icon,
                            MessageButtons buttons) override;
  void Beep() override;
  void SetStatusText(int pane, std::string_view text, TextCoding coding) override;
  void InvalidateTerminal(Window w) override;
  void SelectTab(int tab) override;
  void ShowTerminalCaret(Window w) override;
  void HideTerminalCaret(Window w) override;
  void PlaceTerminalCaret(Window w) override;
  void RelayoutWindow(Window w) override;
  void PauseMilliseconds(int milliseconds) override;
  std::uint64_t MillisecondClock() override;
};

// A terminal as right after a successful connect with the default settings:
// black text on white, every cell a full-width space, cursor home.
struct NativeTerminal {
  std::unique_ptr<TerminalState> state;
  NativePlatform platform;
  Window window;
};

// Makes `terminal` the process's platform and connects it with a new record.
// `drawing` off keeps the canvases empty (the model alone).
void StartNativeTerminal(NativeTerminal& terminal, bool drawing);

// What the receive pump would take from the port now: at most 100 bytes, an
// even count, never past an ESC 点 pair (the device waits for the terminal's
// ACK before it sends anything more). 0 at the end of the input.
int ReadPumpBlock(NativePlatform& platform, std::uint8_t* buffer);
