#include "tools/cli/cli_terminal.h"

#include "terminal/input/composed_text.h"
#include "terminal/input/key_data.h"
#include "terminal/input/key_messages.h"
#include "terminal/interpreter/interpreter.h"
#include "terminal/model/terminal_model.h"
#include "terminal/native/cp932_text.h"
#include "terminal/native/native_platform.h"
#include "tools/cli/clock.h"
#include "tools/picture/png_writer.h"
#include "tools/picture/text_picture.h"

namespace {

constexpr int GraphicTab = 2;
constexpr int DumpTab = 1;
constexpr std::size_t FetchBytes = 4096;

// The native platform's record and graphic plane, with the port, the log,
// the messages, the view and the clock of the line the tool is on. The text
// canvas is not drawn: pictures of the text screen are made from the record,
// and a scroll of the canvas would copy megabytes for every line.
class LinePlatform final : public Platform {
 public:
  LinePlatform(NativeTerminal& terminal, TerminalLine& line) : terminal_(terminal), line_(line) {}

  int tab = 0;

  TerminalState* StateOf(Window w) override { return native().StateOf(w); }
  void ResizeTextCanvas(int, int) override {}
  FontMetrics MeasureFont(const FontSpec& font) override { return native().MeasureFont(font); }
  void DrawText(Canvas canvas, int x, int y, const std::uint8_t* bytes, int length, const FontSpec& font,
                COLORREF fg, COLORREF bg) override {
    if (canvas == Canvas::Graphic) native().DrawText(canvas, x, y, bytes, length, font, fg, bg);
  }
  void FillRect(Canvas canvas, int x, int y, int width, int height, COLORREF colour) override {
    if (canvas == Canvas::Graphic) native().FillRect(canvas, x, y, width, height, colour);
  }
  void CopyRect(Canvas canvas, int toX, int toY, int width, int height, int fromX, int fromY) override {
    if (canvas == Canvas::Graphic) native().CopyRect(canvas, toX, toY, width, height, fromX, fromY);
  }
  void SetPixel(Canvas canvas, int x, int y, COLORREF colour) override { native().SetPixel(canvas, x, y, colour); }
  bool DrawsCellsExactly(const FontSpec& font) override { return native().DrawsCellsExactly(font); }

  // The words the interpreter waits for: what arrived and was not yet
  // interpreted first, then what the line has now.
  int ReadBlock(Window w, std::uint8_t* buffer, int maximum) override {
    if (native().input.size() - native().inputPosition < 2 && !FetchArrived()) return PortClosed;
    return native().ReadBlock(w, buffer, maximum);
  }
  int TransmitByte(Window w, int byte) override {
    TerminalState* state = StateOf(w);
    if (state == nullptr || state->connected == 0) return 0;
    const std::uint8_t value = std::uint8_t(byte);
    line_.Send(value);
    if (state->localEcho) InterpretReceived(w, &value, 1);
    return 1;
  }
  // What arrived but was not yet interpreted is discarded with the line's queues.
  void PurgePort(Window) override {
    line_.Purge();
    native().input.resize(native().inputPosition);
  }
  bool AppendToLog(Window, const std::uint8_t* bytes, int length) override {
    return line_.Log(bytes, std::size_t(length));
  }
  MessageAnswer ShowMessage(Window, std::string_view text, TextCoding coding, std::string_view caption,
                            MessageIcon, MessageButtons) override {
    line_.Tell(std::string(caption), coding == TextCoding::Utf8 ? std::string(text) : Utf8Of(text));
    return MessageAnswer::Ok;
  }
  void SelectTab(int selected) override { tab = selected; }
  void PauseMilliseconds(int milliseconds) override { line_.Await(milliseconds); }
  std::uint64_t MillisecondClock() override { return MonotonicMs(); }

  // What only a window shows.
  void Beep() override {}
  void SetStatusText(int, std::string_view, TextCoding) override {}
  void InvalidateTerminal(Window) override {}
  void ShowTerminalCaret(Window) override {}
  void HideTerminalCaret(Window) override {}
  void PlaceTerminalCaret(Window) override {}
  void RelayoutWindow(Window) override {}

 private:
  NativePlatform& native() { return terminal_.platform; }

  static std::string Utf8Of(std::string_view cp932) {
    return Cp932ToUtf8(reinterpret_cast<const std::uint8_t*>(cp932.data()), cp932.size());
  }

  bool FetchArrived() {
    std::uint8_t bytes[FetchBytes];
    std::size_t got = 0;
    if (line_.Fetch(bytes, sizeof bytes, got) == PortRead::Gone) return false;
    native().input.insert(native().input.end(), bytes, bytes + got);
    return true;
  }

  NativeTerminal& terminal_;
  TerminalLine& line_;
};

}  // namespace

struct CliTerminal::Core {
  explicit Core(TerminalLine& terminalLine) : line(terminalLine), platform(terminal, terminalLine) {}
  TerminalLine& line;
  NativeTerminal terminal;
  LinePlatform platform;
};

CliTerminal::CliTerminal(TerminalLine& line, const TerminalOptions& options) : core(new Core(line)) {
  StartNativeTerminal(core->terminal, true);
  // What arrived is all there is for now, not the end of the line.
  core->terminal.platform.inputEndCloses = false;
  core->terminal.platform.text = Raster{};
  platform = &core->platform;
  TerminalState& state = *core->terminal.state;
  state.newLine = options.newLine ? 1 : 0;
  state.autoWrap = options.noWrap ? 0 : 1;
  state.localEcho = options.localEcho ? 1 : 0;
  InitKeyboardState(false, false);
}

CliTerminal::~CliTerminal() { platform = nullptr; }

void CliTerminal::Connect() {
  core->terminal.state->connected = 1;
  RestartLocalEcho();
  ResetScreenModel(core->terminal.window, *core->terminal.state);
}

void CliTerminal::Disconnect() { core->terminal.state->connected = 0; }

void CliTerminal::Receive(const std::uint8_t* bytes, std::size_t length) {
  NativePlatform& native = core->terminal.platform;
  native.input.insert(native.input.end(), bytes, bytes + length);
  std::uint8_t block[100];
  for (int count; (count = ReadPumpBlock(native, block)) > 0;) {
    // A log that failed has closed; the line reports it when this arrival is done.
    core->line.Log(block, std::size_t(count));
    InterpretReceived(core->terminal.window, block, count);
  }
  native.input.erase(native.input.begin(), native.input.begin() + std::ptrdiff_t(native.inputPosition));
  native.inputPosition = 0;
  FlushDrawing();
}

void CliTerminal::Type(const KeyEvent& key) {
  const KeyStroke stroke{key.virtualKey, 1, key.altHeld};
  if (key.down) {
    KeyDown(core->terminal.window, stroke);
  } else {
    KeyUp(stroke);
  }
}

void CliTerminal::SendText(const std::vector<std::uint8_t>& cp932) {
  SendComposedText(core->terminal.window, cp932.data(), int(cp932.size()));
}

void CliTerminal::SendBytes(const std::vector<std::uint8_t>& bytes) {
  for (const std::uint8_t byte : bytes) platform->TransmitByte(core->terminal.window, byte);
}

void CliTerminal::ReadScreen(ScreenView& view) const {
  const TerminalState& state = *core->terminal.state;
  UpdateScreenRows(view, state.screen);
  view.cursorRow = state.cursorRow;
  view.cursorCol = state.cursorCol;
  view.tab = core->platform.tab;
}

bool CliTerminal::WritePicture(const std::string& path, std::string& error) const {
  FlushDrawing();
  const int tab = core->platform.tab;
  if (tab == DumpTab) {
    error = "the window shows the dump view, of which no picture is made";
    return false;
  }
  if (tab != GraphicTab) return WriteTextPicture(path, *core->terminal.state, RowRange{}, error);
  if (WritePng(path, core->terminal.platform.graphic)) return true;
  error = "cannot write " + path;
  return false;
}
