#include "terminal/model/screen_model.h"

#include <cstring>

namespace {

FontSpec DefaultFontSpec() {
  FontSpec description{};
  description.lfHeight = 14;
  description.lfWeight = 400;
  description.lfCharSet = 128;
  description.lfPitchAndFamily = 0x31;
  std::strcpy(description.lfFaceName, "FixedSys");
  return description;
}

// The font a cell's style bits select, on the base of the current fontSpec.
void StyleFont(FontSpec& font, std::uint32_t flags) {
  font.lfWeight = (flags & StyleBold) ? 700 : 400;
  font.lfUnderline = (flags & StyleUnderline) ? 1 : 0;
  font.lfItalic = (flags & StyleItalic) ? 1 : 0;
}

bool SameLook(const CellAttr& a, const CellAttr& b) {
  constexpr std::uint32_t fontBits = StyleBold | StyleUnderline | StyleItalic;
  return a.fg == b.fg && a.bg == b.bg && (a.flags & fontBits) == (b.flags & fontBits);
}

// Draws the whole screen model, each run of characters that look alike in one call.
void RenderScreen(ScreenModel& model, const FontSpec& base) {
  const TerminalState& state = model.state;
  for (int row = 0; row < ScreenRows; ++row) {
    const int rowStart = row * ScreenColumns;
    int col = 0;
    while (col < ScreenColumns) {
      const CellAttr& attr = state.cellAttrs[rowStart + col];
      int end = col + 2;
      while (end < ScreenColumns && SameLook(state.cellAttrs[rowStart + end], attr)) end += 2;
      FontSpec font = base;
      StyleFont(font, attr.flags);
      model.drawing.DrawText(col * state.cellWidth, row * state.cellHeight,
                         state.screen + rowStart + col, end - col, font, attr.fg, attr.bg);
      col = end;
    }
  }
}

}  // namespace

void InitTerminalState(TerminalState& state, COLORREF windowTextColour, COLORREF windowColour) {
  state.portNumber = 5;
  state.autoWrap = 1;
  state.useCnReceive = 1;
  state.displayErrors = 1;
  state.byteSize = 8;
  state.baudRate = 1000000;
  state.fgColour = windowTextColour;
  state.bgColour = windowColour;
  state.resetDefaults.cursorCol = 0;
  state.resetDefaults.cursorRow = 0;
  state.resetDefaults.fgColour = windowTextColour;
  state.resetDefaults.bgColour = windowColour;
  state.fontSpec = DefaultFontSpec();
}

void CopyFontSpec(const FontSpec& source, FontSpec& destination) {
  destination.lfHeight = source.lfHeight;
  destination.lfWidth = source.lfWidth;
  destination.lfEscapement = source.lfEscapement;
  destination.lfOrientation = source.lfOrientation;
  destination.lfWeight = source.lfWeight;
  destination.lfItalic = source.lfItalic;
  destination.lfUnderline = source.lfUnderline;
  destination.lfStrikeOut = source.lfStrikeOut;
  destination.lfCharSet = source.lfCharSet;
  destination.lfOutPrecision = source.lfOutPrecision;
  destination.lfClipPrecision = source.lfClipPrecision;
  destination.lfQuality = source.lfQuality;
  destination.lfPitchAndFamily = source.lfPitchAndFamily;
  // A face name without its terminator (a record from elsewhere) is cut to 31 bytes.
  const std::size_t length = strnlen(source.lfFaceName, sizeof source.lfFaceName - 1);
  std::memcpy(destination.lfFaceName, source.lfFaceName, length);
  std::memset(destination.lfFaceName + length, 0, sizeof destination.lfFaceName - length);
}

void ApplyFontSpec(ScreenModel& model) {
  TerminalState& state = model.state;
  model.queue.Flush();
  FontSpec working;
  CopyFontSpec(state.fontSpec, working);
  CopyFontSpec(working, model.queue.appliedFontSpec);
  const FontMetrics metrics = model.drawing.MeasureFont(working);
  state.cellWidth = metrics.averageWidth;
  state.cellHeight = metrics.lineHeight;
  model.queue.SetCellSize(state.cellWidth, state.cellHeight);
  model.host.Relayout();
  model.drawing.ResizeTextCanvas(state.cellWidth * ScreenColumns + 100,
                                 state.cellHeight * ScreenRows + 100);
  if (state.connected) {
    RenderScreen(model, working);
    model.host.InvalidateTerminal();
  }
}

void ResetScreenModel(ScreenModel& model) {
  TerminalState& state = model.state;
  for (int row = 0; row < ScreenRows; ++row) {
    std::memcpy(state.screen + row * ScreenColumns, blankRow, ScreenColumns);
  }
  state.screenEnd = 0;
  CellAttr& defaultAttr = state.defaultAttr;
  defaultAttr.fg = state.resetDefaults.fgColour;
  defaultAttr.bg = state.resetDefaults.bgColour;
  defaultAttr.flags = StyleReset;
  state.fgColour = defaultAttr.fg;
  state.bgColour = defaultAttr.bg;
  state.styleFlags = defaultAttr.flags;
  for (CellAttr& attr : state.cellAttrs) attr = defaultAttr;
  model.queue.Flush();
  for (int row = 0; row < ScreenRows; ++row) {
    model.drawing.DrawText(0, row * state.cellHeight, blankRow, ScreenColumns,
                           model.queue.appliedFontSpec, defaultAttr.fg, defaultAttr.bg);
  }
  model.host.InvalidateTerminal();
}
