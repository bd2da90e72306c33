#include "terminal/ui/win32_platform.h"

#include <windows.h>

#include "terminal/link/comm_log.h"
#include "terminal/link/serial_link.h"
#include "terminal/model/platform.h"
#include "terminal/ui/gdi_canvas.h"
#include "terminal/ui/main_window.h"
#include "terminal/ui/menu_commands.h"
#include "terminal/ui/status_bar.h"
#include "terminal/ui/views.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

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

struct Win32Platform final : Platform {
  TerminalState* StateOf(Window window) override { return RecordOf(HWND(window)); }

  void ResizeTextCanvas(int width, int height) override { GdiResizeTextCanvas(width, height); }
  FontMetrics MeasureFont(const FontSpec& font) override { return GdiMeasureFont(font); }
  void DrawText(Canvas canvas, int x, int y, const std::uint8_t* bytes, int length, const FontSpec& font,
                COLORREF fg, COLORREF bg) override {
    GdiDrawText(canvas, x, y, bytes, length, font, fg, bg);
  }
  void FillRect(Canvas canvas, int x, int y, int width, int height, COLORREF colour) override {
    GdiFillRect(canvas, x, y, width, height, colour);
  }
  void CopyRect(Canvas canvas, int toX, int toY, int width, int height, int fromX, int fromY) override {
    GdiCopyRect(canvas, toX, toY, width, height, fromX, fromY);
  }
  void SetPixel(Canvas canvas, int x, int y, COLORREF colour) override { GdiSetPixel(canvas, x, y, colour); }
  bool DrawsCellsExactly(const FontSpec& font) override { return GdiDrawsCellsExactly(font); }

  int ReadBlock(Window window, std::uint8_t* buffer, int maximum) override {
    return ::ReadBlock(HWND(window), buffer, maximum);
  }
  int TransmitByte(Window window, int byte) override { return ::TransmitByte(HWND(window), byte); }
  void PurgePort(Window window) override { ::PurgePort(HWND(window)); }
  bool AppendToLog(Window window, const std::uint8_t* bytes, int length) override {
    return ::AppendToLog(HWND(window), bytes, length);
  }

  MessageAnswer ShowMessage(Window owner, std::string_view text, TextCoding coding, std::string_view caption,
                            MessageIcon icon, MessageButtons buttons) override {
    int answer = MessageBoxW(HWND(owner), WideText(text, coding).c_str(), WideText(caption).c_str(),
                             MessageBoxType(icon, buttons));
    return answer == IDCANCEL ? MessageAnswer::Cancel : MessageAnswer::Ok;
  }
  void Beep() override { MessageBeep(MB_OK); }
  void SetStatusText(int pane, std::string_view text, TextCoding coding) override {
    SetPaneText(pane, text, coding);
  }

  void InvalidateTerminal(Window window) override { InvalidateTerminalView(HWND(window)); }
  void SelectTab(int tab) override { ShowView(tab); }
  void ShowTerminalCaret(Window window) override { ::ShowTerminalCaret(HWND(window)); }
  void HideTerminalCaret(Window window) override { ::HideTerminalCaret(HWND(window)); }
  void PlaceTerminalCaret(Window window) override { FollowCursor(HWND(window)); }
  void RelayoutWindow(Window window) override { RelayoutForClientSize(HWND(window)); }

  void PauseMilliseconds(int milliseconds) override { Sleep(DWORD(milliseconds)); }
  std::uint64_t MillisecondClock() override { return GetTickCount64(); }
};

}  // namespace

void InstallWin32Platform() {
  static Win32Platform windows;
  platform = &windows;
}
