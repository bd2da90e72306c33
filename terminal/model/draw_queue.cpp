#include "terminal/model/draw_queue.h"

#include <cstring>

#include "terminal/model/screen_model.h"

namespace {

bool MayLeaveScrolledArea(int col, int length, bool exactFont) {
  return !exactFont || col + length > ScreenColumns;
}

}  // namespace

void DrawQueue::DrawScrollGroup() {
  const int n = scrolls_;
  const int cw = cellWidth_;
  const int ch = cellHeight_;
  if (n < ScreenRows) {
    drawing_.CopyRect(0, 0, cw * ScreenColumns, ch * (ScreenRows - n), 0, ch * n);
  }
  const int firstBlank = n < ScreenRows ? ScreenRows - n : 0;
  for (int row = firstBlank; row < ScreenRows; ++row) {
    drawing_.DrawText(0, row * ch, blankRow, ScreenColumns, appliedFontSpec, blankFg_,
                      blankBg_);
  }
}

void DrawQueue::DrawOperation(const DrawOp& op) {
  const int shift = scrolls_ - op.scrollsBefore;
  if (op.kind == OpKind::Text) {
    const int row = op.y - shift;
    if (row < 0) return;  // scrolled off the top before it would have been seen
    drawing_.DrawText(op.x * cellWidth_, row * cellHeight_, op.bytes, op.width,
                      fonts_[op.fontIndex], op.fg, op.bg);
    return;
  }
  const int y = op.y - shift * cellHeight_;
  if (y + op.height <= 0) return;
  drawing_.FillRect(op.x, y, op.width, op.height, op.fg);
}

int DrawQueue::CurrentFontIndex() {
  if (currentFontIndex_ >= 0) return currentFontIndex_;
  const int index = fontCount_++;
  CopyFontSpec(currentFont_, fonts_[index]);
  fontsExact_[index] = drawing_.DrawsCellsExactly(currentFont_);
  currentFontIndex_ = index;
  return index;
}

// The caller has made room (MakeRoom).
DrawQueue::DrawOp& DrawQueue::NewOp(OpKind kind) {
  DrawOp& op = ops_[opCount_++];
  op.kind = kind;
  op.scrollsBefore = scrolls_;
  return op;
}

// Flushes when the next operation, with a new font if it needs one, would not fit.
void DrawQueue::MakeRoom(bool newFont) {
  if (opCount_ == MaxOps || (newFont && fontCount_ == MaxFonts)) Flush();
}

// Extends the last text operation when the new characters continue it.
bool DrawQueue::AppendToLastText(int row, int col, const std::uint8_t* bytes, int length,
                                 COLORREF fg, COLORREF bg) {
  if (opCount_ == 0 || currentFontIndex_ < 0) return false;
  DrawOp& last = ops_[opCount_ - 1];
  if (last.kind != OpKind::Text || last.y != row || last.x + last.width != col ||
      last.scrollsBefore != scrolls_ || last.fontIndex != currentFontIndex_ || last.fg != fg ||
      last.bg != bg || last.width + length > MaxRunBytes) {
    return false;
  }
  std::memcpy(last.bytes + last.width, bytes, std::size_t(length));
  last.width += length;
  if (MayLeaveScrolledArea(last.x, last.width, fontsExact_[last.fontIndex])) unshiftable_ = true;
  return true;
}

void DrawQueue::ResetQueue() {
  opCount_ = 0;
  fontCount_ = 0;
  currentFontIndex_ = -1;
  scrolls_ = 0;
  unshiftable_ = false;
}

void DrawQueue::SetCellSize(int cellWidth, int cellHeight) {
  cellWidth_ = cellWidth;
  cellHeight_ = cellHeight;
}

void DrawQueue::SetFont(const FontSpec& font) {
  if (std::memcmp(&font, &currentFont_, sizeof font) == 0) return;
  std::memcpy(&currentFont_, &font, sizeof font);
  currentFontIndex_ = -1;
}

void DrawQueue::QueueText(int row, int col, const std::uint8_t* bytes, int length, COLORREF fg,
                          COLORREF bg) {
  if (length <= 0) return;
  if (immediate_) {
    for (int i = 0; i < length; i += 2) {
      drawing_.DrawText((col + i) * cellWidth_, row * cellHeight_, bytes + i,
                        length - i >= 2 ? 2 : 1, currentFont_, fg, bg);
    }
    return;
  }
  if (AppendToLastText(row, col, bytes, length, fg, bg)) return;
  MakeRoom(currentFontIndex_ < 0);
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
  if (MayLeaveScrolledArea(col, op.width, fontsExact_[fontIndex])) unshiftable_ = true;
}

void DrawQueue::QueueScroll(COLORREF fg, COLORREF bg) {
  const bool otherBlank = scrolls_ > 0 && (fg != blankFg_ || bg != blankBg_);
  if (unshiftable_ || otherBlank) Flush();
  // A blank row that does not cover its whole row leaves pixels that the next
  // scroll would move: such scrolls are carried out one by one, in order.
  const bool mergeable = !immediate_ && drawing_.DrawsCellsExactly(appliedFontSpec);
  if (!mergeable) Flush();
  ++scrolls_;
  blankFg_ = fg;
  blankBg_ = bg;
  if (!mergeable) Flush();
}

void DrawQueue::QueueFill(int x, int y, int width, int height, COLORREF colour) {
  // An empty rectangle paints nothing (the split cell of row 0 lies above the screen).
  if (width <= 0 || height <= 0) return;
  if (immediate_) {
    drawing_.FillRect(x, y, width, height, colour);
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
  if (x < 0 || x + width > cellWidth_ * ScreenColumns || y + height > cellHeight_ * ScreenRows) {
    unshiftable_ = true;
  }
}

void DrawQueue::SetImmediate(bool immediate) {
  Flush();
  immediate_ = immediate;
}

void DrawQueue::Discard() { ResetQueue(); }

void DrawQueue::Flush() {
  if (scrolls_ > 0) DrawScrollGroup();
  for (int i = 0; i < opCount_; ++i) DrawOperation(ops_[i]);
  ResetQueue();
}
