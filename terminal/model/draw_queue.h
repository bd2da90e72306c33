// The text canvas's drawing, queued.
//
// GDI draws a run of characters many times faster than the same characters one
// by one, and a scroll is a copy of the whole canvas. The interpreter therefore
// queues what it draws: characters that follow each other on one row with the
// same font and colours become one DrawText, and consecutive scrolls become one
// CopyRect by N rows, the draws queued before them shifted up and those that
// left the screen dropped. FlushDrawing (terminal_model.h) carries the queue
// out; the pixels are then exactly those of drawing every character at once.
#pragma once

#include <cstdint>

#include "terminal/model/terminal_state.h"

// The font that `font` of the record stands for: the FontSpec of the last
// ApplyFontSpec. Scrolled-in rows are drawn with it.
extern FontSpec appliedFontSpec;

// The cell size the queued rows and columns are drawn at (set by ApplyFontSpec
// after it has flushed).
void SetDrawingCellSize(int cellWidth, int cellHeight);

// Characters queued from now on are drawn with this font description. Cheap
// when it has not changed since the last call.
void SetDrawingFont(const FontSpec& font);

// Characters on one row from a byte cell on: `length` bytes, two per character,
// at most a row's worth.
void QueueText(int row, int col, const std::uint8_t* bytes, int length, COLORREF fg, COLORREF bg);

// A scroll of the text screen by one row; the new bottom row is blankRow drawn
// in the given colours with appliedFontSpec.
void QueueScroll(COLORREF fg, COLORREF bg);

// A solid rectangle in pixels.
void QueueFill(int x, int y, int width, int height, COLORREF colour);

// With immediate drawing every queued operation is carried out at once, the
// reference the queue is measured against.
void SetDrawingImmediate(bool immediate);

// Forgets the queue without drawing it (the canvas it was meant for is gone).
void DiscardDrawing();
