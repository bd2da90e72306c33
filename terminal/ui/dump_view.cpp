#include <cstdint>

#include "terminal/interpreter/dump_line.h"
#include "terminal/model/draw_queue.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/dump_plan.h"
#include "terminal/ui/gdi_canvas.h"
#include "terminal/ui/status_bar.h"
#include "terminal/ui/status_texts.h"
#include "terminal/ui/views.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

namespace {


void DrawDumpLine(HDC dc, const TerminalState& state, int line, std::int32_t label,
                  const std::uint8_t* bytes, int count) {
  char text[DumpLineLength + 1];
  FormatDumpLine(std::uint32_t(label), bytes, count, text);
  TextOutA(dc, 0, line * state.cellHeight, text, DumpLineLength);
}

}  // namespace

void PaintDump(HWND window, HDC dc) {
  WindowTerminal* record = RecordOf(window);
  // A failed write has closed the log: there is no file to read, and its old
  // handle must never be used again, so the view stays empty.
  if (record == nullptr || !record->link.connection.Log().IsOpen()) return;
  const TerminalState* state = &record->terminal.state;
  int pos = GetScrollPos(window, SB_VERT);
  int minimum = 0;
  int maximum = 0;
  GetScrollRange(window, SB_VERT, &minimum, &maximum);
  std::int32_t end = std::int32_t(record->link.logFile.End());
  std::int32_t start = std::int32_t(record->link.connection.Log().DataStart());
  DumpPlan plan = PlanDump(start, end, DumpWindow{pos, maximum, record->view.clientHeight, state->cellHeight});
  if (plan.count == 0) return;
  // The dump is drawn in the font the text screen was last laid out with.
  HGDIOBJ previousFont = SelectObject(dc, GdiFont(record->terminal.queue.appliedFontSpec));
  SetTextColor(dc, state->resetDefaults.fgColour);
  SetBkColor(dc, state->resetDefaults.bgColour);
  Win32LogFile& log = record->link.logFile;
  const auto readLog = [&log](std::int32_t offset, std::uint8_t* buffer, std::int32_t count) {
    return log.ReadAt(offset, buffer, std::uint32_t(count));
  };
  bool read = WalkDump(plan, readLog, [&](int line, std::int32_t label, const std::uint8_t* bytes, int count) {
    DrawDumpLine(dc, *state, line, label, bytes, count);
  });
  if (read) {
    DumpLines lines = SplitDumpLines(plan.count);
    SetPaneText(1, DumpFiguresText(plan.count, lines.full, lines.tail, start, end));
  } else {
    MessageBoxUtf8(window, "ログファイルに読み込む事が出来ない！！", ProgramCaption, MB_ICONERROR);
  }
  SelectObject(dc, previousFont);
}
