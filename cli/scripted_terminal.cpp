#include "cli/scripted_terminal.h"

#include "terminal/input/composed_text.h"
#include "terminal/input/key_messages.h"
#include "terminal/input/terminal_keyboard_output.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/native/cp932_text.h"
#include "terminal/native/native_platform.h"
#include "terminal/link/monotonic_clock.h"
#include "terminal/link/trace_clock.h"
#include "terminal/link/traced_keyboard_output.h"
#include "cli/tool_log_file.h"
#include "picture/png_writer.h"
#include "picture/screen_canvas.h"
#include "picture/screen_picture.h"

namespace {

constexpr int GraphicTab = 2;
constexpr int DumpTab = 1;

std::string Utf8Of(std::string_view text, TextCoding coding) {
  if (coding == TextCoding::Utf8) return std::string(text);
  return Cp932ToUtf8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace

// The roles of the terminal: the port, the log, the messages, the view and the
// clock of the line the tool is on. It draws on the canvas the picture of its
// text screen is made with (screen_canvas.h); the graphic plane is its own state.
struct ScriptedTerminal::Core final : HostWindow, DeviceOutput, CommLog, Clock {
  explicit Core(TerminalLine& terminalLine)
      : line(terminalLine), terminal(TerminalRoles{canvas, *this, *this, *this, *this}), keys(terminal) {}

  MessageAnswer ShowMessage(std::string_view text, TextCoding coding, std::string_view caption, MessageIcon,
                            MessageButtons) override {
    const std::string shown = Utf8Of(text, coding);
    trace.Message(std::string(caption), shown);
    line.Tell(std::string(caption), shown);
    return MessageAnswer::Ok;
  }
  // What the terminal tells while it works is printed once its call has
  // returned, in order, as the window shows its boxes.
  void Tell(const Notice& notice) override { told.push_back(notice); }
  bool ShowTold() override {
    std::vector<Notice> shown;
    shown.swap(told);
    for (const Notice& notice : shown) ShowMessage(notice.text, notice.coding, notice.caption, notice.icon, MessageButtons::Ok);
    return !shown.empty();
  }
  void ShowView(TerminalView view) override { tab = int(view); }
  // What only a window shows.
  void Beep() override {}
  void SetStatusText(int, std::string_view, TextCoding) override {}
  void ByteSent(std::uint8_t) override {}
  void KeyStatus(std::string_view, TextCoding) override {}
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
  ScreenCanvas canvas;
  int tab = 0;
  std::vector<Notice> told;
  std::unique_ptr<LogFile> traceFile = NewToolLogFile();
  SystemTraceClock traceClock{*this};
  TraceWriter trace{*traceFile, traceClock, Cp932ToUtf8};
  Terminal terminal;
  TerminalKeyboardOutput keys;
  TracedKeyboardOutput tracedKeys{keys, trace};
  Keyboard keyboard{tracedKeys};
};

ScriptedTerminal::ScriptedTerminal(TerminalLine& line, const TerminalOptions& options) : core(new Core(line)) {
  TerminalState& state = core->terminal.state;
  StartAsConnected(core->terminal);
  state.newLine = options.newLine ? 1 : 0;
  state.autoWrap = options.noWrap ? 0 : 1;
  state.localEcho = options.localEcho ? 1 : 0;
  InitKeyboardState(core->keyboard.Key_Data, false, false);
}

ScriptedTerminal::~ScriptedTerminal() = default;

void ScriptedTerminal::Connect() {
  core->trace.SessionStarted();
  core->terminal.Connect();
  ResetScreenModel(core->terminal);
}

void ScriptedTerminal::Disconnect() { core->terminal.Disconnect(); }

void ScriptedTerminal::Receive(const std::uint8_t* bytes, std::size_t length) {
  core->trace.Received(bytes, length);
  core->terminal.Receive(bytes, length);
  core->trace.Sync();
  core->terminal.queue.Flush();
  core->ShowTold();
}

void ScriptedTerminal::Tick(std::uint64_t nowMs) {
  core->terminal.Tick(nowMs);
  core->trace.Sync();
  core->ShowTold();
}

void ScriptedTerminal::EndOfInput() {
  core->terminal.EndOfInput();
  core->ShowTold();
}

bool ScriptedTerminal::Waiting() const { return core->terminal.Waiting(); }

void ScriptedTerminal::Type(const KeyEvent& key) {
  const KeyStroke stroke{key.virtualKey, 1, key.altHeld};
  if (key.down) {
    KeyDown(core->keyboard, stroke);
  } else {
    KeyUp(core->keyboard.Key_Data, stroke);
  }
}

void ScriptedTerminal::SendText(const std::vector<std::uint8_t>& cp932) {
  SendComposedText(core->keys, cp932.data(), int(cp932.size()));
}

void ScriptedTerminal::SendBytes(const std::vector<std::uint8_t>& bytes) {
  core->tracedKeys.SendFromUser(bytes.data(), int(bytes.size()));
}

bool ScriptedTerminal::StartTrace(const std::string& path) { return core->trace.Open(path, false); }

bool ScriptedTerminal::Tracing() const { return core->trace.IsOpen(); }

void ScriptedTerminal::TraceConnection(ConnectionEvent event, const std::string& detail) {
  core->trace.Connection(event, detail);
}

void ScriptedTerminal::ReadScreen(ScreenView& view) const {
  const TerminalState& state = core->terminal.state;
  UpdateScreenRows(view, state.screen);
  view.cursorRow = state.cursorRow;
  view.cursorCol = state.cursorCol;
  view.tab = core->tab;
}

bool ScriptedTerminal::WritePicture(const std::string& path, std::string& error) const {
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
