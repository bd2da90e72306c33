#include "terminal/ui/win32_platform.h"

#include <windows.h>

#include "terminal/link/comm_log.h"
#include "terminal/link/serial_link.h"
#include "terminal/link/window_trace.h"
#include "terminal/ui/gdi_canvas.h"
#include "terminal/ui/main_window.h"
#include "terminal/ui/menu_commands.h"
#include "terminal/ui/status_bar.h"
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
struct TerminalWindowHost final : HostWindow {
  MessageAnswer ShowMessage(std::string_view text, TextCoding coding, std::string_view caption, MessageIcon icon,
                            MessageButtons buttons) override {
    TraceWindowMessage(caption, text, coding);
    int answer = MessageBoxW(terminalWindow, WideText(text, coding).c_str(), WideText(caption).c_str(),
                             MessageBoxType(icon, buttons));
    return answer == IDCANCEL ? MessageAnswer::Cancel : MessageAnswer::Ok;
  }
  void Beep() override { MessageBeep(MB_OK); }
  void SetStatusText(int pane, std::string_view text, TextCoding coding) override {
    SetPaneText(pane, text, coding);
  }
  void InvalidateTerminal() override { InvalidateTerminalView(terminalWindow); }
  void SelectTab(int tab) override { ShowView(tab); }
  void ShowCaret() override { ShowTerminalCaret(terminalWindow); }
  void HideCaret() override { HideTerminalCaret(terminalWindow); }
  void PlaceCaret() override { FollowCursor(terminalWindow); }
  void Relayout() override { RelayoutForClientSize(GetParent(terminalWindow)); }
};

struct TickClock final : Clock {
  std::uint64_t Milliseconds() override { return GetTickCount64(); }
};

TerminalWindowHost host;

}  // namespace

TerminalRoles Win32Roles() {
  static GdiDrawing drawing;
  static SerialOutput device;
  static FileCommLog log;
  static TickClock clock;
  return TerminalRoles{drawing, host, device, log, clock};
}

HostWindow& Win32Host() { return host; }
