#include "terminal/ui/win32_platform.h"

#include <windows.h>

#include <vector>

#include "terminal/interpreter/transmit_status.h"
#include "terminal/ui/gdi_canvas.h"
#include "terminal/ui/main_window.h"
#include "terminal/ui/menu_commands.h"
#include "terminal/ui/status_bar.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/views.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

// <windows.h> names DrawText DrawTextW; the drawing role's method keeps its own name.
#undef DrawText

namespace {

UINT MessageBoxType(MessageIcon icon, MessageButtons buttons) {
  UINT type = buttons == MessageButtons::OkCancel ? MB_OKCANCEL : MB_OK;
  switch (icon) {
    case MessageIcon::Error: return type | MB_ICONERROR;
    case MessageIcon::Warning: return type | MB_ICONWARNING;
    case MessageIcon::Question: return type | MB_ICONQUESTION;
    default: return type;
  }
}

struct GdiDrawing final : Drawing {
  void ResizeTextCanvas(int width, int height) override { GdiResizeTextCanvas(width, height); }
  FontMetrics MeasureFont(const FontSpec& font) override { return GdiMeasureFont(font); }
  void DrawText(int x, int y, const std::uint8_t* bytes, int length, const FontSpec& font,
                COLORREF fg, COLORREF bg) override {
    GdiDrawText(x, y, bytes, length, font, fg, bg);
  }
  void FillRect(int x, int y, int width, int height, COLORREF colour) override {
    GdiFillRect(x, y, width, height, colour);
  }
  void CopyRect(int toX, int toY, int width, int height, int fromX, int fromY) override {
    GdiCopyRect(toX, toY, width, height, fromX, fromY);
  }
  bool DrawsCellsExactly(const FontSpec& font) override { return GdiDrawsCellsExactly(font); }
};

// The terminal window: its message boxes, views, caret and the status bar.
// What the terminal tells waits here until the pump, the await timer or the
// loss of the device shows it, after the call into the terminal has returned.
struct TerminalWindowHost final : HostWindow {
  MessageAnswer ShowMessage(std::string_view text, TextCoding coding, std::string_view caption, MessageIcon icon,
                            MessageButtons buttons) override {
    if (WindowTerminal* record = RecordOf(terminalWindow)) record->link.trace.Message(caption, text, coding);
    int answer = MessageBoxW(terminalWindow, WideText(text, coding).c_str(), WideText(caption).c_str(),
                             MessageBoxType(icon, buttons));
    return answer == IDCANCEL ? MessageAnswer::Cancel : MessageAnswer::Ok;
  }
  void Tell(const Notice& notice) override { told.push_back(notice); }
  // One box at a time, in order; what is told while a box is up (nothing the
  // terminal does, since the window makes no call into it meanwhile) follows.
  bool ShowTold() override {
    bool shown = false;
    while (!told.empty()) {
      const Notice notice = told.front();
      told.erase(told.begin());
      ShowMessage(notice.text, notice.coding, notice.caption, notice.icon, MessageButtons::Ok);
      shown = true;
    }
    return shown;
  }
  void Beep() override { MessageBeep(MB_OK); }
  void SetStatusText(int pane, std::string_view text, TextCoding coding) override {
    SetPaneText(pane, text, coding);
  }
  void ByteSent(std::uint8_t byte) override {
    SetPaneText(TransmittedPane, TransmittedByteText(byte), TextCoding::Utf8);
  }
  void KeyStatus(std::string_view text, TextCoding coding) override { SetPaneText(TransmittedPane, text, coding); }
  void InvalidateTerminal() override { InvalidateTerminalView(terminalWindow); }
  void ShowView(TerminalView view) override { ::ShowView(int(view)); }
  void ShowCaret() override { ShowTerminalCaret(terminalWindow); }
  void HideCaret() override { HideTerminalCaret(terminalWindow); }
  void PlaceCaret() override { FollowCursor(terminalWindow); }
  void Relayout() override { RelayoutForClientSize(GetParent(terminalWindow)); }

  std::vector<Notice> told;
};

struct TickClock final : Clock {
  std::uint64_t Milliseconds() override { return GetTickCount64(); }
};

TerminalWindowHost host;

}  // namespace

TerminalRoles Win32Roles(DeviceOutput& device, CommLog& log) {
  static GdiDrawing drawing;
  static TickClock clock;
  return TerminalRoles{drawing, host, device, log, clock};
}

HostWindow& Win32Host() { return host; }
