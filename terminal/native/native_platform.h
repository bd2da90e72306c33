// The roles of a terminal without Windows, for the tests, the tools, the
// fuzzer and the benchmarks: the text canvas as an in-memory raster, what is
// sent and what the user would see recorded as a list of events, the log
// written in memory, a clock that moves only when told.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "terminal/interpreter/terminal.h"
#include "terminal/link/log_writer.h"
#include "terminal/model/roles.h"
#include "terminal/native/memory_log_file.h"
#include "terminal/native/raster.h"

struct NativePlatform : Drawing, HostWindow, DeviceOutput, CommLog, Clock {
  // The text canvas. With drawing off every canvas call returns at once.
  bool drawing = true;
  int largestCell = 64;  // keeps a wild FontSpec from asking for a huge canvas
  Raster text;
  int textCanvasWidth = 0;  // kept with drawing off too
  int textCanvasHeight = 0;
  long drawTextCalls = 0;
  long copyRectCalls = 0;
  long fillRectCalls = 0;

  long purges = 0;

  // The communication log, open from the start without a header line.
  MemoryLogFile logFile;
  CommLogWriter logWriter{logFile};

  // "beep", "message CAPTION|TEXT", "tab N", "caret show", "caret hide", "sent XX".
  // Status texts: pane 1 the byte sent (ByteSent) or the key status, the others as set.
  std::vector<std::string> events;
  std::vector<std::uint8_t> sent;
  std::string statusTexts[4];
  long invalidations = 0;
  long caretPlacements = 0;
  long relayouts = 0;
  std::uint64_t clock = 0;  // milliseconds

  void ResizeTextCanvas(int width, int height) override;
  FontMetrics MeasureFont(const FontSpec& font) override;
  void DrawText(int x, int y, const std::uint8_t* bytes, int length,
                const FontSpec& font, COLORREF fg, COLORREF bg) override;
  void FillRect(int x, int y, int width, int height, COLORREF colour) override;
  void CopyRect(int toX, int toY, int width, int height, int fromX, int fromY) override;
  bool DrawsCellsExactly(const FontSpec& font) override;
  MessageAnswer ShowMessage(std::string_view text, TextCoding coding, std::string_view caption,
                            MessageIcon icon, MessageButtons buttons) override;
  // Recorded as it is told: the record is not modal, so it keeps its place
  // among the other events.
  void Tell(const Notice& notice) override;
  void Beep() override;
  void SetStatusText(int pane, std::string_view text, TextCoding coding) override;
  void ByteSent(std::uint8_t byte) override;
  void KeyStatus(std::string_view text, TextCoding coding) override;
  void InvalidateTerminal() override;
  void ShowView(TerminalView view) override;
  void ShowCaret() override;
  void HideCaret() override;
  void PlaceCaret() override;
  void Relayout() override;
  bool Transmit(std::uint8_t byte) override;
  void Purge() override;
  bool Append(const std::uint8_t* bytes, int length) override;
  std::uint64_t Milliseconds() override;

  TerminalRoles Roles() { return TerminalRoles{*this, *this, *this, *this, *this}; }
};

// A terminal on the native roles.
struct HeadlessTerminal {
  NativePlatform platform;
  std::unique_ptr<Terminal> terminal;

  TerminalState& state() const { return terminal->state; }
  const GraphicPlane& plane() const { return terminal->plane; }
};

// Brings a terminal just made to the state right after a successful connect
// with the default settings: black text on white, every cell a full-width
// space, cursor home.
void StartAsConnected(Terminal& terminal);

// Makes a new terminal on the native roles and starts it as connected.
// `drawing` off keeps the text canvas empty (the model alone).
void StartHeadlessTerminal(HeadlessTerminal& terminal, bool drawing);
