#include "terminal/ui/gdi_canvas.h"

#include "terminal/ui/wide_log_font.h"

#include <cstddef>
#include <cstring>
#include <vector>

#define CHECK_FIELD(field)                                                   \
  static_assert(offsetof(FontSpec, field) == offsetof(LOGFONTA, field) &&     \
                    sizeof(FontSpec::field) == sizeof(LOGFONTA::field),       \
                "FontSpec." #field " must match LOGFONTA")
CHECK_FIELD(lfHeight);
CHECK_FIELD(lfWidth);
CHECK_FIELD(lfEscapement);
CHECK_FIELD(lfOrientation);
CHECK_FIELD(lfWeight);
CHECK_FIELD(lfItalic);
CHECK_FIELD(lfUnderline);
CHECK_FIELD(lfStrikeOut);
CHECK_FIELD(lfCharSet);
CHECK_FIELD(lfOutPrecision);
CHECK_FIELD(lfClipPrecision);
CHECK_FIELD(lfQuality);
CHECK_FIELD(lfPitchAndFamily);
CHECK_FIELD(lfFaceName);
#undef CHECK_FIELD
static_assert(sizeof(FontSpec) == sizeof(LOGFONTA), "FontSpec must be a LOGFONTA");

namespace {

constexpr int FontSlots = 32;

struct CachedFont {
  FontSpec description;
  HFONT font;
  // Characters paint exactly their cells: a run drawn at once gives the
  // pixels of its cells drawn one by one, and nothing spills beside them.
  bool runsExact;
};

struct CanvasSet {
  HWND window = nullptr;
  HDC textDc = nullptr;
  HDC graphicDc = nullptr;
  HBITMAP textBitmap = nullptr;
  HBITMAP graphicBitmap = nullptr;
  HGDIOBJ textInitialBitmap = nullptr;
  HGDIOBJ graphicInitialBitmap = nullptr;
  HGDIOBJ textInitialFont = nullptr;
  int textWidth = 0;
  int textHeight = 0;
  CachedFont fonts[FontSlots];
  int fontCount = 0;
  int nextEviction = 0;
  HFONT selectedFont = nullptr;
  COLORREF textColour = CLR_INVALID;
  COLORREF backColour = CLR_INVALID;
};

CanvasSet canvases;

HFONT CreateFontFromDescription(const FontSpec& description) {
  const LOGFONTW wide = WideLogFont(description);
  return CreateFontIndirectW(&wide);
}

int CellWidth() { return (canvases.textWidth - 100) / 100; }
int CellHeight() { return (canvases.textHeight - 100) / 200; }

HBITMAP NewWhiteBitmap(HDC dc, int width, int height, HGDIOBJ& initial) {
  HDC windowDc = GetDC(canvases.window);
  HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
  ReleaseDC(canvases.window, windowDc);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  if (initial == nullptr) initial = previous;
  PatBlt(dc, 0, 0, width, height, WHITENESS);
  return bitmap;
}

void SelectFont(HFONT font) {
  if (canvases.selectedFont == font) return;
  SelectObject(canvases.textDc, font);
  canvases.selectedFont = font;
}

// Fixed pitch, upright, not emboldened (slanted and emboldened glyphs reach
// past their advance), one cell high, and a character of each kind exactly
// two cells wide.
bool RunsExact(HFONT font, const FontSpec& description) {
  const int cellWidth = CellWidth();
  if (cellWidth <= 0 || description.lfItalic || description.lfWeight > FW_NORMAL) return false;
  SelectFont(font);
  TEXTMETRICA metrics;
  if (!GetTextMetricsA(canvases.textDc, &metrics)) return false;
  // TMPF_FIXED_PITCH set means a variable pitch.
  if ((metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0 || metrics.tmOverhang != 0 ||
      metrics.tmHeight != CellHeight()) {
    return false;
  }
  SIZE wide;
  SIZE narrow;
  if (!GetTextExtentPoint32A(canvases.textDc, "\x81\x40", 2, &wide) ||
      !GetTextExtentPoint32A(canvases.textDc, "A.", 2, &narrow)) {
    return false;
  }
  return wide.cx == 2 * cellWidth && narrow.cx == 2 * cellWidth;
}

void ForgetFonts() {
  if (canvases.textDc != nullptr && canvases.textInitialFont != nullptr) {
    SelectObject(canvases.textDc, canvases.textInitialFont);
  }
  canvases.selectedFont = nullptr;
  for (int i = 0; i < canvases.fontCount; ++i) DeleteObject(canvases.fonts[i].font);
  canvases.fontCount = 0;
  canvases.nextEviction = 0;
}

CachedFont& FontEntry(const FontSpec& description) {
  for (int i = 0; i < canvases.fontCount; ++i) {
    if (std::memcmp(&canvases.fonts[i].description, &description, sizeof description) == 0) return canvases.fonts[i];
  }
  int slot = canvases.fontCount;
  if (slot == FontSlots) {
    slot = canvases.nextEviction;
    canvases.nextEviction = (canvases.nextEviction + 1) % FontSlots;
    if (canvases.selectedFont == canvases.fonts[slot].font) {
      SelectObject(canvases.textDc, canvases.textInitialFont);
      canvases.selectedFont = nullptr;
    }
    DeleteObject(canvases.fonts[slot].font);
  } else {
    ++canvases.fontCount;
  }
  CachedFont& entry = canvases.fonts[slot];
  entry.description = description;
  entry.font = CreateFontFromDescription(description);
  entry.runsExact = RunsExact(entry.font, description);
  return entry;
}

void SetColours(COLORREF fg, COLORREF bg) {
  if (canvases.textColour != fg) SetTextColor(canvases.textDc, fg);
  if (canvases.backColour != bg) SetBkColor(canvases.textDc, bg);
  canvases.textColour = fg;
  canvases.backColour = bg;
}

void FillWith(HDC dc, int x, int y, int width, int height, COLORREF colour) {
  if (width <= 0 || height <= 0) return;
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ previous = SelectObject(dc, brush);
  PatBlt(dc, x, y, width, height, PATCOPY);
  SelectObject(dc, previous);
  DeleteObject(brush);
}

// The plane's pixels as a 32-bit top-down DIB wants them: 0x00RRGGBB where a
// COLORREF is 0x00BBGGRR.
std::uint32_t DibPixel(COLORREF colour) {
  const std::uint32_t value = std::uint32_t(colour);
  return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

// The damaged rows of the plane as a DIB of the plane's width: only the
// damaged columns are converted, the others are left for SetDIBitsToDevice to skip.
std::vector<std::uint32_t> DamagedRows(const GraphicPlane& plane, const PlaneRect& damage) {
  std::vector<std::uint32_t> dib(std::size_t(GraphicWidth) * std::size_t(damage.bottom - damage.top));
  const COLORREF* source = plane.Pixels().data() + std::size_t(damage.top) * GraphicWidth;
  for (std::size_t row = 0; row < dib.size(); row += GraphicWidth) {
    for (int x = damage.left; x < damage.right; ++x) {
      dib[row + std::size_t(x)] = DibPixel(source[row + std::size_t(x)]);
    }
  }
  return dib;
}

// Copies what changed on the plane since the last copy into the bitmap of `dc`.
void CopyPlaneDamage(GraphicPlane& plane, HDC dc) {
  const PlaneRect damage = plane.TakeDamage();
  if (damage.Empty()) return;
  const int rows = damage.bottom - damage.top;
  const std::vector<std::uint32_t> dib = DamagedRows(plane, damage);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = GraphicWidth;
  info.bmiHeader.biHeight = -rows;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, damage.left, damage.top, DWORD(damage.right - damage.left), DWORD(rows),
                    damage.left, 0, 0, UINT(rows), dib.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

bool CreateGdiCanvases(HWND window) {
  canvases.window = window;
  HDC windowDc = GetDC(window);
  canvases.textDc = CreateCompatibleDC(windowDc);
  canvases.graphicDc = CreateCompatibleDC(windowDc);
  ReleaseDC(window, windowDc);
  if (canvases.textDc == nullptr || canvases.graphicDc == nullptr) return false;
  SetBkMode(canvases.textDc, OPAQUE);
  canvases.textInitialFont = GetCurrentObject(canvases.textDc, OBJ_FONT);
  canvases.graphicBitmap = NewWhiteBitmap(canvases.graphicDc, GraphicWidth, GraphicHeight,
                                          canvases.graphicInitialBitmap);
  return true;
}

void DestroyGdiCanvases() {
  ForgetFonts();
  if (canvases.textDc != nullptr) {
    if (canvases.textInitialBitmap != nullptr) SelectObject(canvases.textDc, canvases.textInitialBitmap);
    DeleteDC(canvases.textDc);
  }
  if (canvases.graphicDc != nullptr) {
    if (canvases.graphicInitialBitmap != nullptr) SelectObject(canvases.graphicDc, canvases.graphicInitialBitmap);
    DeleteDC(canvases.graphicDc);
  }
  if (canvases.textBitmap != nullptr) DeleteObject(canvases.textBitmap);
  if (canvases.graphicBitmap != nullptr) DeleteObject(canvases.graphicBitmap);
  canvases = CanvasSet{};
}

void GdiResizeTextCanvas(int width, int height) {
  if (canvases.textDc == nullptr) return;
  HBITMAP old = canvases.textBitmap;
  canvases.textBitmap = NewWhiteBitmap(canvases.textDc, width, height, canvases.textInitialBitmap);
  if (old != nullptr) DeleteObject(old);
  canvases.textWidth = width;
  canvases.textHeight = height;
  // Whether a run can be drawn at once depends on the cell width.
  ForgetFonts();
}

FontMetrics GdiMeasureFont(const FontSpec& font) {
  FontMetrics result{0, 0};
  if (canvases.textDc == nullptr) return result;
  HFONT measured = CreateFontFromDescription(font);
  HGDIOBJ previous = SelectObject(canvases.textDc, measured);
  TEXTMETRICA metrics;
  if (GetTextMetricsA(canvases.textDc, &metrics)) {
    result.averageWidth = metrics.tmAveCharWidth;
    result.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  }
  SelectObject(canvases.textDc, previous);
  DeleteObject(measured);
  return result;
}

void GdiDrawText(int x, int y, const std::uint8_t* bytes, int length,
                 const FontSpec& font, COLORREF fg, COLORREF bg) {
  if (canvases.textDc == nullptr || length <= 0) return;
  const CachedFont& entry = FontEntry(font);
  SelectFont(entry.font);
  SetColours(fg, bg);
  const char* text = reinterpret_cast<const char*>(bytes);
  if (entry.runsExact) {
    TextOutA(canvases.textDc, x, y, text, length);
    return;
  }
  const int step = 2 * CellWidth();
  for (int i = 0; i < length; i += 2) {
    TextOutA(canvases.textDc, x + i / 2 * step, y, text + i, length - i >= 2 ? 2 : 1);
  }
}

void GdiFillRect(int x, int y, int width, int height, COLORREF colour) {
  HDC dc = canvases.textDc;
  if (dc != nullptr) FillWith(dc, x, y, width, height, colour);
}

void GdiCopyRect(int toX, int toY, int width, int height, int fromX, int fromY) {
  HDC dc = canvases.textDc;
  if (dc != nullptr) BitBlt(dc, toX, toY, width, height, dc, fromX, fromY, SRCCOPY);
}

bool GdiDrawsCellsExactly(const FontSpec& font) {
  return canvases.textDc != nullptr && FontEntry(font).runsExact;
}

HDC GdiTextCanvasDc() { return canvases.textDc; }

HDC GdiGraphicCanvasDc(GraphicPlane& plane) {
  if (canvases.graphicDc != nullptr) CopyPlaneDamage(plane, canvases.graphicDc);
  return canvases.graphicDc;
}

HFONT GdiFont(const FontSpec& font) {
  if (canvases.textDc == nullptr) return nullptr;
  return FontEntry(font).font;
}
