#include "terminal/model/draw_queue.h"

#include <cstring>

#include "terminal/model/platform.h"
#include "terminal/model/terminal_model.h"

FontSpec appliedFontSpec;

namespace {

enum class OpKind : std::uint8_t { Text, Fill };

constexpr int MaxOps = 1024;
constexpr int MaxFonts = 64;
constexpr int MaxRunBytes = ScreenColumns + 2;  // a row, and a character started at column 99

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

struct DrawQueue {
  DrawOp ops[MaxOps];
  int opCount = 0;
  FontSpec fonts[MaxFonts];
  bool fontsExact[MaxFonts];  // DrawsCellsExactly of each font
  int fontCount = 0;
  FontSpec currentFont{};
  int currentFontIndex = -1;  // -1: not yet in the table
  int scrolls = 0;            // the pending group, carried out before every operation
  COLORREF blankFg = 0;
  COLORREF blankBg = 0;
  // An operation that may paint beyond the scrolled area (the canvas margins: a
  // character at column 99, a fill of the whole canvas, a glyph of a font that
  // does not keep to its cells) would not move with a scroll; a scroll after
  // it flushes first.
  bool unshiftable = false;
  int cellWidth = 8;
  int cellHeight = 15;
  bool immediate = false;
};

DrawQueue queue;

void DrawScrollGroup() {
  const int n = queue.scrolls;
  const int cw = queue.cellWidth;
  const int ch = queue.cellHeight;
  if (n < ScreenRows) {
    platform->CopyRect(Canvas::Text, 0, 0, cw * ScreenColumns, ch * (ScreenRows - n), 0, ch * n);
  }
  const int firstBlank = n < ScreenRows ? ScreenRows - n : 0;
  for (int row = firstBlank; row < ScreenRows; ++row) {
    platform->DrawText(Canvas::Text, 0, row * ch, blankRow, ScreenColumns, appliedFontSpec,
                       queue.blankFg, queue.blankBg);
  }
}

void DrawOperation(const DrawOp& op) {
  const int shift = queue.scrolls - op.scrollsBefore;
  if (op.kind == OpKind::Text) {
    const int row = op.y - shift;
    if (row < 0) return;  // scrolled off the top before it would have been seen
    platform->DrawText(Canvas::Text, op.x * queue.cellWidth, row * queue.cellHeight, op.bytes,
                       op.width, queue.fonts[op.fontIndex], op.fg, op.bg);
    return;
  }
  const int y = op.y - shift * queue.cellHeight;
  if (y + op.height <= 0) return;
  platform->FillRect(Canvas::Text, op.x, y, op.width, op.height, op.fg);
}

int CurrentFontIndex() {
  if (queue.currentFontIndex >= 0) return queue.currentFontIndex;
  const int index = queue.fontCount++;
  CopyFontSpec(queue.currentFont, queue.fonts[index]);
  queue.fontsExact[index] = platform->DrawsCellsExactly(queue.currentFont);
  queue.currentFontIndex = index;
  return index;
}

// The caller has made room (MakeRoom).
DrawOp& NewOp(OpKind kind) {
  DrawOp& op = queue.ops[queue.opCount++];
  op.kind = kind;
  op.scrollsBefore = queue.scrolls;
  return op;
}

// Flushes when the next operation, with a new font if it needs one, would not fit.
void MakeRoom(bool newFont) {
  if (queue.opCount == MaxOps || (newFont && queue.fontCount == MaxFonts)) FlushDrawing();
}

bool MayLeaveScrolledArea(int col, int length, bool exactFont) {
  return !exactFont || col + length > ScreenColumns;
}

void ResetQueue() {
  queue.opCount = 0;
  queue.fontCount = 0;
  queue.currentFontIndex = -1;
  queue.scrolls = 0;
  queue.unshiftable = false;
}

}  // namespace

void SetDrawingCellSize(int cellWidth, int cellHeight) {
  queue.cellWidth = cellWidth;
  queue.cellHeight = cellHeight;
}

void SetDrawingFont(const FontSpec& font) {
  if (std::memcmp(&font, &queue.currentFont, sizeof font) == 0) return;
  std::memcpy(&queue.currentFont, &font, sizeof font);
  queue.currentFontIndex = -1;
}

void QueueText(int row, int col, const std::uint8_t* bytes, int length, COLORREF fg, COLORREF bg) {
  if (length <= 0) return;
  if (queue.immediate) {
    for (int i = 0; i < length; i += 2) {
      platform->DrawText(Canvas::Text, (col + i) * queue.cellWidth, row * queue.cellHeight,
                         bytes + i, length - i >= 2 ? 2 : 1, queue.currentFont, fg, bg);
    }
    return;
  }
  if (queue.opCount > 0 && queue.currentFontIndex >= 0) {
    DrawOp& last = queue.ops[queue.opCount - 1];
    if (last.kind == OpKind::Text && last.y == row && last.x + last.width == col &&
        last.scrollsBefore == queue.scrolls && last.fontIndex == queue.currentFontIndex &&
        last.fg == fg && last.bg == bg && last.width + length <= MaxRunBytes) {
      std::memcpy(last.bytes + last.width, bytes, std::size_t(length));
      last.width += length;
      if (MayLeaveScrolledArea(last.x, last.width, queue.fontsExact[last.fontIndex])) {
        queue.unshiftable = true;
      }
      return;
    }
  }
  MakeRoom(queue.currentFontIndex < 0);
  const int fontIndex = CurrentFontIndex();
  DrawOp& op = NewOp(OpKind::Text);
  op.x = col;
  op.y = row;
  op.width = length < MaxRunBytes ? length : MaxRunBytes;
  op.height = 1;
  op.fg = fg;
  op.bg = bg;
  op.fontIndex = fontIndex;
  std::memcpy(op.bytes, bytes, std::size_t(op.width));
  if (MayLeaveScrolledArea(col, op.width, queue.fontsExact[fontIndex])) queue.unshiftable = true;
}

void QueueScroll(COLORREF fg, COLORREF bg) {
  const bool otherBlank = queue.scrolls > 0 && (fg != queue.blankFg || bg != queue.blankBg);
  if (queue.unshiftable || otherBlank) FlushDrawing();
  // A blank row that does not cover its whole row leaves pixels that the next
  // scroll would move: such scrolls are carried out one by one, in order.
  const bool mergeable = !queue.immediate && platform->DrawsCellsExactly(appliedFontSpec);
  if (!mergeable) FlushDrawing();
  ++queue.scrolls;
  queue.blankFg = fg;
  queue.blankBg = bg;
  if (!mergeable) FlushDrawing();
}

void QueueFill(int x, int y, int width, int height, COLORREF colour) {
  // An empty rectangle paints nothing (the split cell of row 0 lies above the screen).
  if (width <= 0 || height <= 0) return;
  if (queue.immediate) {
    platform->FillRect(Canvas::Text, x, y, width, height, colour);
    return;
  }
  MakeRoom(false);
  DrawOp& op = NewOp(OpKind::Fill);
  op.x = x;
  op.y = y;
  op.width = width;
  op.height = height;
  op.fg = colour;
  op.bg = colour;
  op.fontIndex = 0;
  if (x < 0 || x + width > queue.cellWidth * ScreenColumns ||
      y + height > queue.cellHeight * ScreenRows) {
    queue.unshiftable = true;
  }
}

void SetDrawingImmediate(bool immediate) {
  FlushDrawing();
  queue.immediate = immediate;
}

void DiscardDrawing() { ResetQueue(); }

void FlushDrawing() {
  if (queue.scrolls > 0) DrawScrollGroup();
  for (int i = 0; i < queue.opCount; ++i) DrawOperation(queue.ops[i]);
  ResetQueue();
}
