#include "terminal/ui/views.h"

#include <commctrl.h>

#include <algorithm>

#include "terminal/model/screen_model.h"
#include "terminal/ui/gdi_canvas.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/view_geometry.h"
#include "terminal/ui/window_handles.h"

namespace {

// The terminal window while a paint of all of it is known to be coming: it was
// invalidated by InvalidateTerminalView and has not been painted since. That
// paint draws the screen and places the caret as they are then.
HWND paintPending = nullptr;

void SetScrollBar(HWND window, int bar, std::int32_t pos, std::int32_t max) {
  SetScrollPos(window, bar, pos, FALSE);
  SetScrollRange(window, bar, 0, max, TRUE);
}

int ScrollAlong(HWND window, int bar, std::int32_t& pos, const ScrollAxis& axis, unsigned code,
                unsigned thumb) {
  std::int32_t target = 0;
  if (!ScrollTarget(axis, int(code), int(thumb), &target)) return 0;
  pos = target;
  SetScrollPos(window, bar, pos, TRUE);
  InvalidateRect(window, nullptr, TRUE);
  return 1;
}

}  // namespace

int SizeTerminal(HWND window, unsigned height, unsigned width) {
  WindowTerminal* record = RecordOf(window);
  if (record == nullptr) return 0;
  ViewState& view = record->view;
  const TerminalState& state = record->terminal.state;
  view.clientHeight = std::int32_t(height);
  view.vScrollMax = ScrollLimit(state.cellHeight, ScreenRows, view.clientHeight);
  view.vScrollPos = std::min(view.vScrollPos, view.vScrollMax);
  SetScrollBar(window, SB_VERT, view.vScrollPos, view.vScrollMax);
  view.clientWidth = std::int32_t(width);
  view.hScrollMax = ScrollLimit(state.cellWidth, ScreenColumns, view.clientWidth);
  view.hScrollPos = std::min(view.hScrollPos, view.hScrollMax);
  SetScrollBar(window, SB_HORZ, view.hScrollPos, view.hScrollMax);
  InvalidateRect(window, nullptr, TRUE);
  return 1;
}

int ScrollVertical(HWND window, unsigned code, unsigned thumb) {
  WindowTerminal* record = RecordOf(window);
  if (record == nullptr) return 0;
  ViewState& view = record->view;
  ScrollAxis axis{view.vScrollPos, view.vScrollMax, record->terminal.state.cellHeight, view.clientHeight};
  return ScrollAlong(window, SB_VERT, view.vScrollPos, axis, code, thumb);
}

int ScrollHorizontal(HWND window, unsigned code, unsigned thumb) {
  WindowTerminal* record = RecordOf(window);
  if (record == nullptr) return 0;
  ViewState& view = record->view;
  ScrollAxis axis{view.hScrollPos, view.hScrollMax, record->terminal.state.cellWidth, view.clientWidth};
  return ScrollAlong(window, SB_HORZ, view.hScrollPos, axis, code, thumb);
}

int PaintTerminal(HWND window) {
  paintPending = nullptr;
  WindowTerminal* record = RecordOf(window);
  if (record == nullptr) return 0;
  const ViewState& view = record->view;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  switch (SendMessageW(tabControl, TCM_GETCURSEL, 0, 0)) {
    case 0:
      // The interpreter queues its drawing; the canvas is complete only after a flush.
      record->terminal.queue.Flush();
      BitBlt(dc, 0, 0, view.clientWidth, view.clientHeight, GdiTextCanvasDc(),
             std::max(0, view.hScrollPos), std::max(0, view.vScrollPos), SRCCOPY);
      ShowTerminalCaret(window);
      break;
    case 1:
      HideTerminalCaret(window);
      PaintDump(window, dc);
      break;
    case 2:
      HideTerminalCaret(window);
      BitBlt(dc, 0, 0, std::min(view.clientWidth, GraphicWidth),
             std::min(view.clientHeight, GraphicHeight),
             GdiGraphicCanvasDc(record->terminal.plane), 0, 0, SRCCOPY);
      break;
    default:
      break;
  }
  EndPaint(window, &paint);
  PlaceTerminalCaret(window);
  return 1;
}

int ShowTerminalCaret(HWND window) {
  WindowTerminal* record = RecordOf(window);
  if (record == nullptr) return 0;
  const TerminalState& state = record->terminal.state;
  if (state.connected && record->view.caretShown != 1) {
    CreateCaret(window, nullptr, state.cellWidth, state.cellHeight);
    ShowCaret(window);
    record->view.caretShown = 1;
  }
  return PlaceTerminalCaret(window);
}

int HideTerminalCaret(HWND window) {
  WindowTerminal* record = RecordOf(window);
  if (record == nullptr) return 0;
  if (record->terminal.state.connected && record->view.caretShown != 0) {
    HideCaret(window);
    DestroyCaret();
    record->view.caretShown = 0;
  }
  return 1;
}

int PlaceTerminalCaret(HWND window) {
  WindowTerminal* record = RecordOf(window);
  if (record == nullptr) return 0;
  const TerminalState& state = record->terminal.state;
  const ViewState& view = record->view;
  if (state.connected && (view.caretShown & 1) != 0) {
    SetCaretPos(state.cursorCol * state.cellWidth - view.hScrollPos,
                state.cursorRow * state.cellHeight - view.vScrollPos);
  }
  return 1;
}

// During a flood the interpreter invalidates the window after every block and
// moves the caret at every line end; under Wine each of these is a round trip
// to the window server, which ends up paced by the scheduler when the machine
// is busy, and left the user-interface thread waiting for most of a flood.
// Once a paint is pending, neither can change what that paint shows, so both
// are left to it.
int InvalidateTerminalView(HWND window) {
  if (paintPending == window) return 1;
  InvalidateRect(window, nullptr, TRUE);
  paintPending = window;
  return 1;
}

int FollowCursor(HWND window) {
  if (paintPending == window) return 1;
  return PlaceTerminalCaret(window);
}
