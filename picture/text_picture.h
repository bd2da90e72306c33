// Pictures of the text screen as the terminal window paints it: each
// character in the cells and colours of its attribute, in the screen font,
// with the caret at the cursor.
#pragma once

#include <string>

#include "terminal/model/terminal_model.h"
#include "terminal/native/raster.h"
#include "picture/screen_font.h"

// Screen rows first to last, both counted from 0 and included.
struct RowRange {
  int first = 0;
  int last = ScreenRows - 1;
};

// The rows as the window shows them, one row of cells per screen row, 100
// byte cells wide. Every character is drawn from the even column of its two
// bytes with that cell's attribute, as the window redraws its screen after a
// font change: its background over both cells, its glyph (a full-width one
// over both, two half-width ones one cell each), bold, italic and underline
// from the attribute's flags (reverse needs nothing: its colours are already
// exchanged). While connected, the caret inverts the cell at the cursor.
Raster TextPicture(const TerminalState& state, const ScreenFont& font, RowRange rows);

// Writes the picture of the rows as a PNG in IPAGothic at the size of the
// font the screen was measured with. False, with `error` telling why, when
// the font cannot be opened or the file not written.
bool WriteTextPicture(const std::string& path, const TerminalModel& model, RowRange rows,
                      std::string& error);
