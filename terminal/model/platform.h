// The one boundary between the portable terminal and the platform it runs on.
//
// The terminal's logic (record, interpreter, sequences, log format, keyboard
// translation, settings tables) asks the platform for everything else through
// this interface: drawing on the two off-screen canvases, the serial port and
// the communication log, message boxes and the beep, the view (invalidation,
// caret, tab, status panes, layout) and the clock.
//
// Two implementations exist: the Windows front end (GDI, kernel32, user32) in
// terminal/ui, and the native one in terminal/native used by the tests, the
// replay tool, the fuzzer and the benchmarks.
//
// Text: strings the system itself writes (messages, captions, status texts) are
// UTF-8 in the sources; screen text and dump text are code page 932 bytes.
// Each call that takes text says which it is, and the platform converts
// (the Windows front end hands every user-interface text to Win32 as UTF-16).
#pragma once

#include <cstdint>
#include <string_view>

#include "terminal_state.h"

enum class Canvas { Text, Graphic };

enum class TextCoding { Utf8, Cp932 };

enum class MessageIcon { None, Error, Warning, Question };

enum class MessageButtons { Ok, OkCancel };

enum class MessageAnswer { Ok, Cancel };

struct FontMetrics {
  std::int32_t averageWidth;  // becomes cellWidth
  std::int32_t lineHeight;    // height plus external leading: becomes cellHeight
};

// What ReadBlock reports besides a byte count.
constexpr int PortClosed = -1;  // nothing will ever come again (disconnected, device gone, end of input)

struct Platform {
  virtual ~Platform() = default;

  // The record in slot 0 of a window, or nullptr.
  virtual TerminalState* StateOf(Window window) = 0;

  // Canvases. Coordinates in pixels; drawing outside a canvas is clipped.
  // The text canvas is (cellWidth * 100 + 100) x (cellHeight * 200 + 100),
  // the graphic plane 640 x 480; both are white when created.
  virtual void ResizeTextCanvas(int width, int height) = 0;  // a new, white canvas
  virtual FontMetrics MeasureFont(const FontSpec& font) = 0;
  // Draws Shift-JIS bytes with an opaque background, the font made from `font`.
  // Every two bytes are one character cell, twice the text canvas's cell width
  // ((canvas width - 100) / 100) apart, each drawn as if it were drawn alone.
  virtual void DrawText(Canvas canvas, int x, int y, const std::uint8_t* bytes, int length,
                        const FontSpec& font, COLORREF fg, COLORREF bg) = 0;
  virtual void FillRect(Canvas canvas, int x, int y, int width, int height, COLORREF colour) = 0;
  // Copies a rectangle within one canvas (the scroll of the text screen).
  virtual void CopyRect(Canvas canvas, int toX, int toY, int width, int height, int fromX,
                        int fromY) = 0;
  virtual void SetPixel(Canvas canvas, int x, int y, COLORREF colour) = 0;
  // Whether DrawText with this font paints exactly its character cells (2 x cell
  // width by cell height each, every pixel of them) and nothing beside them.
  // Queued scrolls are merged only then; false is always safe, only slower.
  virtual bool DrawsCellsExactly(const FontSpec& font) {
    (void)font;
    return false;
  }

  // Serial port (the serial link's operations on the open device).
  // ReadBlock: an even number of bytes, at most `maximum`; 0 when nothing is
  // waiting now; PortClosed when nothing will come again.
  virtual int ReadBlock(Window window, std::uint8_t* buffer, int maximum) = 0;
  // Sends one byte (local echo and the status pane included); 0 when not connected.
  virtual int TransmitByte(Window window, int byte) = 0;
  // Discards everything queued in both directions.
  virtual void PurgePort(Window window) = 0;
  // Appends received bytes to the communication log; false when the log could
  // not be written (the platform has then told the user and closed the log).
  virtual bool AppendToLog(Window window, const std::uint8_t* bytes, int length) = 0;

  // The user.
  virtual MessageAnswer ShowMessage(Window owner, std::string_view text, TextCoding coding,
                                    std::string_view caption, MessageIcon icon,
                                    MessageButtons buttons = MessageButtons::Ok) = 0;
  virtual void Beep() = 0;
  virtual void SetStatusText(int pane, std::string_view text, TextCoding coding) = 0;

  // The view.
  virtual void InvalidateTerminal(Window window) = 0;
  virtual void SelectTab(int tab) = 0;  // shows view 0 text, 1 dump, 2 graphic
  virtual void ShowTerminalCaret(Window window) = 0;
  virtual void HideTerminalCaret(Window window) = 0;
  virtual void PlaceTerminalCaret(Window window) = 0;
  // Lays the window out again for its current client size (after a font change).
  virtual void RelayoutWindow(Window window) = 0;

  // The clock.
  virtual void PauseMilliseconds(int milliseconds) = 0;
  virtual std::uint64_t MillisecondClock() = 0;
};

// The platform of this process, installed once at start-up.
extern Platform* platform;
