// Pictures of the text screen as the terminal window paints it, made on Linux
// from the terminal's record: each character in the cells and colours of its
// attribute, in the screen font, with the caret at the cursor.
#pragma once

#include "picture/screen_font.h"
#include "picture/screen_picture.h"
#include "terminal/native/raster.h"

// The rows as the window shows them, one row of cells per screen row, 100
// byte cells wide. Every character is drawn from the even column of its two
// bytes with that cell's attribute, as the window redraws its screen after a
// font change: its background over both cells, its glyph (a full-width one
// over both, two half-width ones one cell each), bold, italic and underline
// from the attribute's flags (reverse needs nothing: its colours are already
// exchanged). While connected, the caret inverts the cell at the cursor.
Raster TextPicture(const TerminalState& state, const ScreenFont& font, RowRange rows);
