// The terminal as talvorix-cli drives it: pushed the bytes that arrive and
// the time, typed into, read. This file and its .cpp are the only ones of the
// tool that know the terminal core's interface.
//
// The terminal never waits for the device: a sequence cut at the end of an
// arrival, an ESC waiting for its argument and point-plot mode are states of
// it, ended by Tick when their time is up (5 s for a cut sequence, 30 s of
// silence in point-plot mode) or by EndOfInput when the device has gone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/key_names.h"
#include "terminal/link/connection.h"
#include "cli/screen_view.h"

// The line the terminal is on, as the terminal needs it.
class TerminalLine {
 public:
  virtual ~TerminalLine() = default;
  // A byte the terminal transmits: a key report's, a composed character's, an
  // ACK. False when it could not be sent.
  virtual bool Send(std::uint8_t byte) = 0;
  // Discards what has arrived and was not yet taken.
  virtual void Purge() = 0;
  // Appends received bytes to the communication log; false when it failed.
  virtual bool Log(const std::uint8_t* bytes, std::size_t length) = 0;
  // What the window would show in a message box (a failed sequence, with its dump).
  virtual void Tell(const std::string& caption, const std::string& text) = 0;
};

// The options of the line settings dialog that change the terminal itself.
struct TerminalOptions {
  bool newLine = false;
  bool noWrap = false;
  bool localEcho = false;
};

class ScriptedTerminal {
 public:
  // A terminal as right after a connect with the window's defaults and
  // `options`, with no key held and no lock on.
  ScriptedTerminal(TerminalLine& line, const TerminalOptions& options);
  ~ScriptedTerminal();
  ScriptedTerminal(const ScriptedTerminal&) = delete;
  ScriptedTerminal& operator=(const ScriptedTerminal&) = delete;

  // Connecting again blanks the screen as the window does; the cursor, the
  // graphic plane and the keyboard state stay.
  void Connect();
  void Disconnect();

  // Bytes as they arrived: logged, then interpreted. A lone last byte waits
  // for its partner.
  void Receive(const std::uint8_t* bytes, std::size_t length);
  // The time (monotonic milliseconds), for what the terminal waits for.
  void Tick(std::uint64_t nowMs);
  // Nothing will arrive again: what the terminal waits for ends now.
  void EndOfInput();
  // Whether the terminal waits for more words, so that it is ticked.
  bool Waiting() const;

  // A key-down or key-up as the terminal window receives it.
  void Type(const KeyEvent& key);
  // Code page 932 text as the input method hands it over.
  void SendText(const std::vector<std::uint8_t>& cp932);
  // Raw bytes, sent as the user's bytes are (held while point-plot mode runs).
  void SendBytes(const std::vector<std::uint8_t>& bytes);

  void ReadScreen(ScreenView& view) const;

  // The trace (terminal/link/trace_writer.h), appended to the file at `path`
  // from now on: the bytes pushed in and sent, the user's input, the
  // messages, and the connection's events told with TraceConnection. False
  // when the file cannot be opened or written.
  bool StartTrace(const std::string& path);
  void TraceConnection(ConnectionEvent event, const std::string& detail);
  // False once a write of the trace has failed (the trace is closed then).
  bool Tracing() const;

  // A PNG of the view the window shows: the text screen as the window paints
  // it, or the graphic plane. False, with `error`, when the dump view is
  // shown or the file cannot be written.
  bool WritePicture(const std::string& path, std::string& error) const;

 private:
  struct Core;
  std::unique_ptr<Core> core;
};
