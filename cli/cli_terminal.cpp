#include "cli/cli_terminal.h"

#include "terminal/input/composed_text.h"
#include "terminal/input/key_messages.h"
#include "terminal/input/terminal_keyboard_output.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/native/cp932_text.h"
#include "terminal/native/native_platform.h"
#include "terminal/link/monotonic_clock.h"
#include "terminal/link/trace_clock.h"
#include "terminal/link/traced_keyboard_output.h"
#include "cli/posix_log_file.h"
#include "picture/png_writer.h"
#include "picture/text_picture.h"

namespace {

constexpr int GraphicTab = 2;
constexpr int DumpTab = 1;

std::string Utf8Of(std::string_view text, TextCoding coding) {
  if (coding == TextCoding::Utf8) return std::string(text);
  return Cp932ToUtf8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace

// The roles of the terminal: the port, the log, the messages, the view and the
// clock of the line the tool is on. No canvas is drawn: pictures are made from
// the terminal's own state (the record, the graphic plane), and a scroll of the
// text canvas would copy megabytes for every line. Fonts are measured as the
// native roles measure them.
struct CliTerminal::Core final : Drawing, HostWindow, DeviceOutput, CommLog, Clock {
  explicit Core(TerminalLine& terminalLine)
      : line(terminalLine), terminal(TerminalRoles{*this, *this, *this, *this, *this}), keys(terminal) {}

  void ResizeTextCanvas(int, int) override {}
  FontMetrics MeasureFont(const FontSpec& font) override { return measures.MeasureFont(font); }
  void DrawText(int, int, const std::uint8_t*, int, const FontSpec&, COLORREF, COLORREF) override {}
  void FillRect(int, int, int, int, COLORREF) override {}
  void CopyRect(int, int, int, int, int, int) override {}
  bool DrawsCellsExactly(const FontSpec& font) override { return measures.DrawsCellsExactly(font); }

  MessageAnswer ShowMessage(std::string_view text, TextCoding coding, std::string_view caption, MessageIcon,
                            MessageButtons) override {
    const std::string shown = Utf8Of(text, coding);
    trace.Message(std::string(caption), shown);
    line.Tell(std::string(caption), shown);
    return MessageAnswer::Ok;
  }
  void SelectTab(int selected) override { tab = selected; }
  // What only a window shows.
  void Beep() override {}
  void SetStatusText(int, std::string_view, TextCoding) override {}
  void InvalidateTerminal() override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void PlaceCaret() override {}
  void Relayout() override {}

  bool Transmit(std::uint8_t byte) override {
    if (!line.Send(byte)) return false;
    trace.Sent(byte);
    return true;
  }
  void Purge() override { line.Purge(); }
  bool Append(const std::uint8_t* bytes, int length) override { return line.Log(bytes, std::size_t(length)); }
  std::uint64_t Milliseconds() override { return MonotonicMs(); }

  TerminalLine& line;
  NativePlatform measures;
  int tab = 0;
  PosixLogFile traceFile;
  SystemTraceClock traceClock{*this};
  TraceWriter trace{traceFile, traceClock, Cp932ToUtf8};
  Terminal terminal;
  TerminalKeyboardOutput keys;
  TracedKeyboardOutput tracedKeys{keys, trace};
  Keyboard keyboard{tracedKeys};
};

CliTerminal::CliTerminal(TerminalLine& line, const TerminalOptions& options) : core(new Core(line)) {
  TerminalState& state = core->terminal.state;
  StartAsConnected(core->terminal);
  state.newLine = options.newLine ? 1 : 0;
  state.autoWrap = options.noWrap ? 0 : 1;
  state.localEcho = options.localEcho ? 1 : 0;
  InitKeyboardState(core->keyboard.Key_Data, false, false);
}

CliTerminal::~CliTerminal() = default;

void CliTerminal::Connect() {
  core->trace.SessionStarted();
  core->terminal.Connect();
  ResetScreenModel(core->terminal);
}

void CliTerminal::Disconnect() { core->terminal.Disconnect(); }

void CliTerminal::Receive(const std::uint8_t* bytes, std::size_t length) {
  core->trace.Received(bytes, length);
  core->terminal.Receive(bytes, length);
  core->trace.Sync();
  core->terminal.queue.Flush();
}

// What the user typed during point-plot mode is sent when the mode gives up.
void CliTerminal::Tick(std::uint64_t nowMs) {
  core->terminal.Tick(nowMs);
  core->trace.Sync();
}

void CliTerminal::EndOfInput() { core->terminal.EndOfInput(); }

bool CliTerminal::Waiting() const { return core->terminal.Waiting(); }

void CliTerminal::Type(const KeyEvent& key) {
  const KeyStroke stroke{key.virtualKey, 1, key.altHeld};
  if (key.down) {
    KeyDown(core->keyboard, stroke);
  } else {
    KeyUp(core->keyboard.Key_Data, stroke);
  }
}

void CliTerminal::SendText(const std::vector<std::uint8_t>& cp932) {
  SendComposedText(core->keys, cp932.data(), int(cp932.size()));
}

void CliTerminal::SendBytes(const std::vector<std::uint8_t>& bytes) {
  core->tracedKeys.SendFromUser(bytes.data(), int(bytes.size()));
}

bool CliTerminal::StartTrace(const std::string& path) { return core->trace.Open(path, false); }

bool CliTerminal::Tracing() const { return core->trace.IsOpen(); }

void CliTerminal::TraceConnection(ConnectionEvent event, const std::string& detail) {
  core->trace.Connection(event, detail);
}

void CliTerminal::ReadScreen(ScreenView& view) const {
  const TerminalState& state = core->terminal.state;
  UpdateScreenRows(view, state.screen);
  view.cursorRow = state.cursorRow;
  view.cursorCol = state.cursorCol;
  view.tab = core->tab;
}

bool CliTerminal::WritePicture(const std::string& path, std::string& error) const {
  core->terminal.queue.Flush();
  if (core->tab == DumpTab) {
    error = "the window shows the dump view, of which no picture is made";
    return false;
  }
  if (core->tab != GraphicTab) return WriteTextPicture(path, core->terminal, RowRange{}, error);
  if (WritePng(path, core->terminal.plane)) return true;
  error = "cannot write " + path;
  return false;
}
