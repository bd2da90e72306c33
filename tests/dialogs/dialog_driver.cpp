// Opens the line settings dialog, the About box or the debug information on a
// record of defaults, for the tests under Wine. While a box is open, a
// snapshot of every window of the driver (texts, styles, list contents,
// selections, check states) is rewritten to SNAPSHOT every 200 ms; when the box
// has ended, the record is written to RESULT. All text is UTF-8.
//
//   dialog_driver.exe settings SNAPSHOT RESULT [connected]
//   dialog_driver.exe about SNAPSHOT RESULT
//   dialog_driver.exe debug SNAPSHOT RESULT
//   dialog_driver.exe inspect SNAPSHOT   (the dialogs of other programs, until ended)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "terminal/link/settings/font_face_name.h"
#include "terminal/ui/settings/settings_dialog.h"
#include "terminal/model/screen_model.h"
#include "terminal/ui/about_box.h"
#include "tests/dialogs/default_record.h"

// Stand-ins for the terminal model: the driver records what the dialog asks of it.
CellAttr defaultAttr;
ResetDefaults resetDefaults;

namespace {

HWND mainWindow;
std::wstring snapshotPath;
std::wstring resultPath;
std::string fontLog;

std::string Utf8(const std::wstring& text) {
  int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(length > 0 ? length - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::string Hex(std::string_view bytes) {
  std::string hex;
  char pair[3];
  for (unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    hex += pair;
  }
  return hex;
}

// WM_GETTEXT rather than GetWindowText, so that controls of another process answer too.
std::string TextOf(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                      &copied);
  return Utf8(text);
}

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Utf8(name);
}

std::string ComboItem(HWND combo, LRESULT index) {
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(index), 0);
  if (length == CB_ERR) return "";
  std::wstring text(std::size_t(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::size_t(length));
  return Utf8(text);
}

void DescribeCombo(HWND combo, std::string& line) {
  LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  line += "\tsel=" + (selected == CB_ERR ? std::string("<none>") : ComboItem(combo, selected));
  line += "\titems=";
  for (LRESULT index = 0; index < count; ++index) {
    line += (index ? "|" : "") + ComboItem(combo, index) + "=" +
            std::to_string(SendMessageW(combo, CB_GETITEMDATA, WPARAM(index), 0));
  }
}

// One line per control: id, class, style, state, rectangle in its parent's
// client pixels and on the screen, text, and list contents or check state.
BOOL CALLBACK DescribeControl(HWND control, LPARAM lines) {
  RECT screen;
  GetWindowRect(control, &screen);
  RECT rect = screen;
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  char head[240];
  std::snprintf(head, sizeof head,
                "control %d\tclass=%s\tstyle=%08lx\tenabled=%d\tvisible=%d\trect=%ld,%ld,%ld,%ld\tscreen=%ld,%ld,%ld,%ld",
                GetDlgCtrlID(control), ClassOf(control).c_str(),
                static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)), IsWindowEnabled(control) ? 1 : 0,
                IsWindowVisible(control) ? 1 : 0, rect.left, rect.top, rect.right, rect.bottom, screen.left,
                screen.top, screen.right, screen.bottom);
  std::string line = head;
  line += "\ttext=" + TextOf(control);
  std::string kind = ClassOf(control);
  if (kind == "ComboBox") DescribeCombo(control, line);
  if (kind == "Button") line += "\tchecked=" + std::to_string(SendMessageW(control, BM_GETCHECK, 0, 0));
  reinterpret_cast<std::vector<std::string>*>(lines)->push_back(line);
  return TRUE;
}

BOOL CALLBACK DescribeWindow(HWND window, LPARAM lines) {
  if (window == mainWindow || !IsWindowVisible(window)) return TRUE;
  auto* list = reinterpret_cast<std::vector<std::string>*>(lines);
  RECT units = {0, 0, 400, 800};
  MapDialogRect(window, &units);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  RECT frame;
  GetWindowRect(window, &frame);
  char head[240];
  std::snprintf(head, sizeof head,
                "window\tclass=%s\tstyle=%08lx\tunits=%ld,%ld\torigin=%ld,%ld\tframe=%ld,%ld,%ld,%ld\ttitle=",
                ClassOf(window).c_str(), static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                units.right, units.bottom, origin.x, origin.y, frame.left, frame.top, frame.right,
                frame.bottom);
  list->push_back(head + TextOf(window));
  EnumChildWindows(window, DescribeControl, lines);
  return TRUE;
}

void WriteFileUtf8(const std::wstring& path, const std::string& text) {
  std::wstring partial = path + L".part";
  FILE* file = _wfopen(partial.c_str(), L"wb");
  if (!file) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void CALLBACK WriteSnapshot(HWND, UINT, UINT_PTR, DWORD) {
  std::vector<std::string> lines;
  DWORD version = GetVersion();
  lines.push_back("version\t" + std::to_string(LOBYTE(LOWORD(version))) + "." +
                  std::to_string(HIBYTE(LOWORD(version))));
  // Every window on the desktop: the driver's own boxes, or those of a program it inspects.
  EnumWindows(DescribeWindow, reinterpret_cast<LPARAM>(&lines));
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  WriteFileUtf8(snapshotPath, text + fontLog);
}

std::string FontLine(const char* what, const FontSpec& font) {
  char line[200];
  std::snprintf(line, sizeof line, "%s\theight=%ld\tweight=%ld\titalic=%d\tunderline=%d\tcharset=%d\tface=",
                what, long(font.lfHeight), long(font.lfWeight), font.lfItalic, font.lfUnderline,
                font.lfCharSet);
  return line + Hex(FaceNameOf(font)) + "\n";
}

std::string RecordText(const TerminalState& state) {
  const CellAttr& defaultAttr = state.defaultAttr;
  const ResetDefaults& resetDefaults = state.resetDefaults;
  char text[400];
  std::snprintf(text, sizeof text,
                "port=%d\nbaud=%lu\nbits=%d\nparity=%d\nstop=%d\nflow=%d\nwrap=%ld\nnewline=%ld\necho=%ld\n"
                "cnreceive=%ld\nerrors=%ld\nfg=%06lx\ndefaultfg=%06lx\n",
                state.portNumber, static_cast<unsigned long>(state.baudRate), state.byteSize, state.parity,
                state.stopBits, state.flowControl, long(state.autoWrap), long(state.newLine),
                long(state.localEcho), long(state.useCnReceive), long(state.displayErrors),
                static_cast<unsigned long>(state.fgColour), static_cast<unsigned long>(defaultAttr.fg));
  return text + FontLine("font", state.fontSpec) + FontLine("resetfont", resetDefaults.fontSpec);
}

HWND MakeMainWindow(HINSTANCE instance) {
  return CreateWindowExW(0, L"STATIC", L"dialog driver", WS_OVERLAPPED, 0, 0, 200, 60, nullptr, nullptr,
                         instance, nullptr);
}

int Inspect() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

// The terminal behind the settings dialog: a font applied to it is measured
// (and logged with the font) and lays the window out again.
struct DriverDrawing final : Drawing {
  void ResizeTextCanvas(int, int) override {}
  FontMetrics MeasureFont(const FontSpec& font) override {
    fontLog += FontLine("appliedfont", font);
    return {8, 16};
  }
  void DrawText(int, int, const std::uint8_t*, int, const FontSpec&, COLORREF, COLORREF) override {}
  void FillRect(int, int, int, int, COLORREF) override {}
  void CopyRect(int, int, int, int, int, int) override {}
};

struct DriverHost final : HostWindow {
  MessageAnswer ShowMessage(std::string_view, TextCoding, std::string_view, MessageIcon,
                            MessageButtons) override {
    return MessageAnswer::Ok;
  }
  void Beep() override {}
  void SetStatusText(int, std::string_view, TextCoding) override {}
  void Tell(const Notice&) override {}
  void ByteSent(std::uint8_t) override {}
  void KeyStatus(std::string_view, TextCoding) override {}
  void InvalidateTerminal() override {}
  void ShowView(TerminalView) override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void PlaceCaret() override {}
  void Relayout() override { fontLog += "applied\trelayout\n"; }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count < 3 || (count < 4 && std::wstring(arguments[1]) != L"inspect")) return 2;
  std::wstring mode = arguments[1];
  snapshotPath = arguments[2];
  resultPath = count > 3 ? arguments[3] : L"";
  mainWindow = MakeMainWindow(instance);
  static DriverDrawing drawing;
  static DriverHost host;
  static ScreenModel model(drawing, host);
  TerminalState* state = &model.state;
  *state = *NewDefaultRecord();
  state->fgColour = GetSysColor(COLOR_WINDOWTEXT);
  state->bgColour = GetSysColor(COLOR_WINDOW);
  state->connected = count > 4 && std::wstring(arguments[4]) == L"connected";
  SetTimer(nullptr, 0, 200, WriteSnapshot);
  if (mode == L"inspect") return Inspect();
  std::string ended;
  if (mode == L"settings") {
    ended = "ended=" + std::to_string(RunLineSettingsDialog(instance, mainWindow, &model)) + "\n";
  } else if (mode == L"about") {
    RunAboutBox(instance, mainWindow);
    ended = "ended=1\n";
  } else if (mode == L"debug") {
    ShowDebugInformation(mainWindow);
    ended = "ended=1\n";
  } else {
    return 2;
  }
  WriteFileUtf8(resultPath, ended + RecordText(*state) + fontLog);
  DestroyWindow(mainWindow);
  return 0;
}
