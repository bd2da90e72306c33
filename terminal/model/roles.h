// What the portable terminal asks of the program it runs in, one interface
// per role.
//
// The terminal (terminal/interpreter/terminal.h) is handed one object for each
// role when it is made and reaches the world only through them: it draws on
// its text canvas (Drawing), shows itself in a window (HostWindow), writes to the
// device (DeviceOutput), appends to the communication log (CommLog) and reads
// the time (Clock). It never reads from the device: received bytes are pushed
// into it. Its graphic plane is not a role: it is the terminal's own state
// (terminal/model/graphic_plane.h), which the front ends show.
//
// The Windows front end implements the roles with GDI, user32 and the comm
// API (terminal/ui, terminal/link); terminal/native implements them for the
// tests and tools. A test fake implements only the role it stands in for.
//
// Text: strings the system itself writes (messages, captions, status texts) are
// UTF-8 in the sources; screen text and dump text are code page 932 bytes.
// Each call that takes text says which it is, and the implementation converts
// (the Windows front end hands every user-interface text to Win32 as UTF-16).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "terminal/model/terminal_state.h"

enum class TextCoding { Utf8, Cp932 };

enum class MessageIcon { None, Error, Warning, Question };

enum class MessageButtons { Ok, OkCancel };

enum class MessageAnswer { Ok, Cancel };

// What the user must be told in a message box: an error, the dump of a failed
// sequence, a failed log write.
struct Notice {
  std::string caption;  // UTF-8
  std::string text;     // in `coding`
  TextCoding coding;
  MessageIcon icon;
};

// The views of the window, 0, 1 and 2 as the tabs count them.
enum class TerminalView { Text, Dump, Graphic };

struct FontMetrics {
  std::int32_t averageWidth;  // becomes cellWidth
  std::int32_t lineHeight;    // height plus external leading: becomes cellHeight
};

// The off-screen text canvas. Coordinates in pixels; drawing outside it is
// clipped. It is (cellWidth * 100 + 100) x (cellHeight * 200 + 100), white when
// created.
struct Drawing {
  virtual ~Drawing() = default;
  virtual void ResizeTextCanvas(int width, int height) = 0;  // a new, white canvas
  virtual FontMetrics MeasureFont(const FontSpec& font) = 0;
  // Draws Shift-JIS bytes with an opaque background, the font made from `font`.
  // Every two bytes are one character cell, twice the text canvas's cell width
  // ((canvas width - 100) / 100) apart, each drawn as if it were drawn alone.
  virtual void DrawText(int x, int y, const std::uint8_t* bytes, int length,
                        const FontSpec& font, COLORREF fg, COLORREF bg) = 0;
  virtual void FillRect(int x, int y, int width, int height, COLORREF colour) = 0;
  // Copies a rectangle within the canvas (the scroll of the text screen).
  virtual void CopyRect(int toX, int toY, int width, int height, int fromX, int fromY) = 0;
  // Whether DrawText with this font paints exactly its character cells (2 x cell
  // width by cell height each, every pixel of them) and nothing beside them.
  // Queued scrolls are merged only then; false is always safe, only slower.
  virtual bool DrawsCellsExactly(const FontSpec& font) {
    (void)font;
    return false;
  }
};

// The window the terminal is shown in, and the user in front of it.
struct HostWindow {
  virtual ~HostWindow() = default;
  // A modal box, for the front end's own use: the terminal never calls it.
  virtual MessageAnswer ShowMessage(std::string_view text, TextCoding coding,
                                    std::string_view caption, MessageIcon icon,
                                    MessageButtons buttons = MessageButtons::Ok) = 0;
  // Records what the user must be told. The terminal calls it while it works
  // (inside Receive, Tick, EndOfInput); nothing modal may run there, or the
  // program could push again into a terminal in the middle of a block. The
  // front end shows what was told, in order, once the call has returned
  // (ShowTold); one that shows without a modal loop may do so at once.
  virtual void Tell(const Notice& notice) = 0;
  // Shows what Tell recorded and not yet shown, in order; true when anything
  // was shown (the user's time went to it). While it shows, the front end
  // makes no call into the terminal.
  virtual bool ShowTold() { return false; }
  virtual void Beep() = 0;
  // A status pane's text, for the front end's own use: the terminal never
  // calls it, it says what changed (ByteSent, KeyStatus).
  virtual void SetStatusText(int pane, std::string_view text, TextCoding coding) = 0;
  // A byte went to the device (the window shows it in its status bar).
  virtual void ByteSent(std::uint8_t byte) = 0;
  // What the keyboard sent or could not read (the window's status bar too).
  virtual void KeyStatus(std::string_view text, TextCoding coding) = 0;
  virtual void InvalidateTerminal() = 0;
  virtual void ShowView(TerminalView view) = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;
  virtual void PlaceCaret() = 0;  // where the cursor now is
  // Lays the window out again for its current client size (after a font change).
  virtual void Relayout() = 0;
};

// The line towards the device.
struct DeviceOutput {
  virtual ~DeviceOutput() = default;
  // Sends one byte; false when it cannot be sent (the device has gone).
  virtual bool Transmit(std::uint8_t byte) = 0;
  // Discards what is queued in both directions and not yet received.
  virtual void Purge() = 0;
};

// The communication log.
struct CommLog {
  virtual ~CommLog() = default;
  // Appends received bytes; false when the log could not be written (the
  // implementation has then told the user and closed the log).
  virtual bool Append(const std::uint8_t* bytes, int length) = 0;
};

struct Clock {
  virtual ~Clock() = default;
  virtual std::uint64_t Milliseconds() = 0;
};

// The roles a terminal is made with.
struct TerminalRoles {
  Drawing& drawing;
  HostWindow& host;
  DeviceOutput& device;
  CommLog& log;
  Clock& clock;
};
