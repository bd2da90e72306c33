// The screen side of a terminal: its record, its graphic plane, the queue of
// what it draws on the text canvas, and the two roles that show them; with the
// operations every front end shares.
#pragma once

#include "terminal/model/draw_queue.h"
#include "terminal/model/graphic_plane.h"
#include "terminal/model/roles.h"
#include "terminal/model/terminal_state.h"

struct ScreenModel {
  ScreenModel(Drawing& canvas, HostWindow& window) : queue(canvas), drawing(canvas), host(window) {}
  ScreenModel(const ScreenModel&) = delete;
  ScreenModel& operator=(const ScreenModel&) = delete;

  TerminalState state{};
  GraphicPlane plane;
  DrawQueue queue;
  Drawing& drawing;
  HostWindow& host;
};

// Fills a zeroed record with the values of a new terminal: port 5, 1000000 bit/s,
// 8 data bits, auto-wrap on, the given system colours (also as the reset
// defaults), the default FontSpec.
void InitTerminalState(TerminalState& state, COLORREF windowTextColour, COLORREF windowColour);

void CopyFontSpec(const FontSpec& source, FontSpec& destination);

// Rebuilds the cell size and the text canvas from fontSpec; while connected,
// redraws every character.
void ApplyFontSpec(ScreenModel& model);

// What opening a connection does to the screen: every cell a full-width space
// in defaultAttr (the colours of resetDefaults, flags 0x01), the canvas blanked.
void ResetScreenModel(ScreenModel& model);
