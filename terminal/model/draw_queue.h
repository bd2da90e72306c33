// The text canvas's drawing, queued.
//
// GDI draws a run of characters many times faster than the same characters one
// by one, and a scroll is a copy of the whole canvas. The interpreter therefore
// queues what it draws: characters that follow each other on one row with the
// same font and colours become one DrawText, and consecutive scrolls become one
// CopyRect by N rows, the draws queued before them shifted up and those that
// left the screen dropped. Flush carries the queue out; the pixels are then
// exactly those of drawing every character at once.
#pragma once

#include <cstdint>

#include "terminal/model/roles.h"
#include "terminal/model/terminal_state.h"

class DrawQueue {
 public:
  explicit DrawQueue(Drawing& drawing) : drawing_(drawing) {}
  DrawQueue(const DrawQueue&) = delete;
  DrawQueue& operator=(const DrawQueue&) = delete;

  // The font that the record's font stands for: the FontSpec of the last
  // ApplyFontSpec. Scrolled-in rows are drawn with it.
  FontSpec appliedFontSpec{};

  // The cell size the queued rows and columns are drawn at (set by ApplyFontSpec
  // after it has flushed).
  void SetCellSize(int cellWidth, int cellHeight);

  // Characters queued from now on are drawn with this font description. Cheap
  // when it has not changed since the last call.
  void SetFont(const FontSpec& font);

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
  void SetImmediate(bool immediate);

  // Carries out the queued drawing on the canvases. Called before anything
  // reads a canvas (painting, a font change).
  void Flush();

  // Forgets the queue without drawing it (the canvas it was meant for is gone).
  void Discard();

 private:
  enum class OpKind : std::uint8_t { Text, Fill };

  static constexpr int MaxOps = 1024;
  static constexpr int MaxFonts = 64;
  static constexpr int MaxRunBytes = ScreenColumns + 2;  // a row, and a character started at column 99

  // Text: x is the column, y the row, width the byte count. Fill: pixels.
  struct DrawOp {
    OpKind kind;
    int scrollsBefore;  // scrolls of the pending group that happened before this operation
    int x;
    int y;
    int width;
    int height;
    COLORREF fg;  // the fill colour of a Fill
    COLORREF bg;
    int fontIndex;
    std::uint8_t bytes[MaxRunBytes];
  };

  void DrawScrollGroup();
  void DrawOperation(const DrawOp& op);
  int CurrentFontIndex();
  DrawOp& NewOp(OpKind kind);
  void MakeRoom(bool newFont);
  bool AppendToLastText(int row, int col, const std::uint8_t* bytes, int length, COLORREF fg,
                        COLORREF bg);
  void ResetQueue();

  Drawing& drawing_;
  DrawOp ops_[MaxOps];
  int opCount_ = 0;
  FontSpec fonts_[MaxFonts];
  bool fontsExact_[MaxFonts];  // DrawsCellsExactly of each font
  int fontCount_ = 0;
  FontSpec currentFont_{};
  int currentFontIndex_ = -1;  // -1: not yet in the table
  int scrolls_ = 0;            // the pending group, carried out before every operation
  COLORREF blankFg_ = 0;
  COLORREF blankBg_ = 0;
  // An operation that may paint beyond the scrolled area (the canvas margins: a
  // character at column 99, a fill of the whole canvas, a glyph of a font that
  // does not keep to its cells) would not move with a scroll; a scroll after
  // it flushes first.
  bool unshiftable_ = false;
  int cellWidth_ = 8;
  int cellHeight_ = 15;
  bool immediate_ = false;
};
