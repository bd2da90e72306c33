// Arithmetic of the main window's layout and of the terminal window's scroll
// bars: plain numbers in, plain numbers out, so it runs (and is tested) without
// a window system.
#pragma once

#include <array>
#include <cstdint>

constexpr int StatusPaneCount = 4;

// Right edges of the four status panes for a client width. Panes 0, 2 and 3
// have fixed widths (200, 50, 50); pane 1 takes whatever lies between. The
// edges are not clamped: below 300 pixels pane 1 ends before pane 0 does.
std::array<int, StatusPaneCount> StatusPaneEdges(int clientWidth);

// Largest scroll position that still fills the view: max(0, cell * cells - client).
std::int32_t ScrollLimit(std::int32_t cellSize, int cells, std::int32_t clientSize);

// The scroll bar codes the terminal window acts on (the Win32 SB_* values).
enum ScrollCode {
  ScrollLineBack = 0,
  ScrollLineForward = 1,
  ScrollPageBack = 2,
  ScrollPageForward = 3,
  ScrollThumbPosition = 4,
  ScrollThumbTrack = 5,
  ScrollToStart = 6,
  ScrollToEnd = 7,
  ScrollEnd = 8,
};

struct ScrollAxis {
  std::int32_t pos;
  std::int32_t max;
  std::int32_t line;  // one cell
  std::int32_t page;  // the client size
};

// The position a scroll code leads to, kept within 0..max. Returns false for
// the codes that do not scroll (dragging the thumb, the end of a scroll, any
// unknown code); `newPos` is then left alone.
bool ScrollTarget(const ScrollAxis& axis, int code, int thumb, std::int32_t* newPos);
