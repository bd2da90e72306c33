// Operations that change the text screen as a whole: scrolling and erasing.
#pragma once

#include "terminal/model/screen_model.h"

class Terminal;

// Moves every row up by one; the new bottom row is blank in defaultAttr. The
// cursor stays.
void ScrollUp(ScreenModel& model);

// Mode 0 from the split cell (the cursor column one row above the cursor) to the
// end of the screen, 1 from the start up to the split cell, 2 everything and the
// cursor home. Other modes change nothing.
void EraseDisplay(ScreenModel& model, int mode);

// Mode 0 from the cursor to the end of its row, 1 from the row's start up to the
// cursor, 2 the whole row; written as full-width blanks in the current style.
void EraseLine(Terminal& terminal, int mode);
