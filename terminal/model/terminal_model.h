// Operations on the terminal record that every front end shares.
#pragma once

#include "terminal_state.h"

// Fills a zeroed record with the values of a new terminal: port 5, 1000000 bit/s,
// 8 data bits, auto-wrap on, the given system colours, the default FontSpec; also
// the process-wide resetDefaults and blankRow. Handles are left to the caller.
void InitTerminalState(TerminalState& state, COLORREF windowTextColour, COLORREF windowColour,
                       Window terminalWindow);

void CopyFontSpec(const FontSpec& source, FontSpec& destination);

// Rebuilds the cell size and the text canvas from fontSpec; while connected,
// redraws every character. Returns 1, or 0 without a record.
int ApplyFontSpec(Window window, TerminalState* state);

// What opening a connection does to the screen: every cell a full-width space
// in defaultAttr (the colours of resetDefaults, flags 0x01), the canvas blanked.
void ResetScreenModel(Window terminalWindow, TerminalState& state);

// Carries out the drawing the interpreter has queued on the canvases. Called
// before anything reads a canvas (painting, a font change).
void FlushDrawing();
