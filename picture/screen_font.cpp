#include "picture/screen_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

struct ScreenFace {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

void ScreenFaceCloser::operator()(ScreenFace* screenFace) const {
  if (screenFace->face != nullptr) FT_Done_Face(screenFace->face);
  if (screenFace->library != nullptr) FT_Done_FreeType(screenFace->library);
  delete screenFace;
}

namespace {

constexpr int DefaultHeight = 14;  // the terminal's FontSpec height
constexpr int FullWidthSpace = 0x3000;

int Round(double value) { return int(std::lround(value)); }

// Cell metrics follow GDI's text metrics, which the window's cell is made of:
// a positive height is the cell, usWinAscent + usWinDescent scaled to that
// many pixels, plus the external leading GDI adds from the hhea line gap.
// The byte cell is the average character width; in a fixed-pitch Japanese
// face that is a half-width glyph, exactly half a full-width one. So the cell
// width here is half the full-width advance at the chosen size, a half pixel
// rounded up as GDI rounds: IPAGothic at height 14 is 13 pixels per em, a
// full-width advance of 13 and a cell of 7 x 14, the cell (and caret) the
// program shows under Wine.
bool SetCellMetrics(FT_Face face, int logHeight, ScreenFont& font) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (os2 == nullptr || hhea == nullptr || os2->usWinAscent + os2->usWinDescent == 0) return false;
  const double winUnits = double(os2->usWinAscent) + os2->usWinDescent;
  const int height = logHeight == 0 ? DefaultHeight : logHeight;
  const double pixelsPerUnit = height > 0 ? height / winUnits : double(-height) / face->units_per_EM;
  if (FT_Set_Char_Size(face, 0, FT_F26Dot6(Round(pixelsPerUnit * face->units_per_EM * 64)), 72, 72) != 0 ||
      FT_Load_Char(face, FullWidthSpace, FT_LOAD_TARGET_MONO) != 0) {
    return false;
  }
  const double hheaUnits = double(hhea->Ascender) - hhea->Descender;
  const double leading = std::max(0.0, hhea->Line_Gap - (winUnits - hheaUnits));
  font.ascent = Round(os2->usWinAscent * pixelsPerUnit);
  font.cellHeight = Round(winUnits * pixelsPerUnit) + Round(leading * pixelsPerUnit);
  font.cellWidth = int((face->glyph->advance.x + 64) / 128);
  font.underlineTop = std::min(font.ascent - Round(face->underline_position * pixelsPerUnit), font.cellHeight - 1);
  font.underlineHeight = std::max(1, Round(face->underline_thickness * pixelsPerUnit));
  return font.cellWidth > 0 && font.cellHeight > 0;
}

// Copies a one-bit glyph bitmap: every set bit becomes a pixel in `colour`.
void CopyMonoBitmap(const FT_Bitmap& bitmap, Raster& raster, int left, int top, COLORREF colour) {
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* bits = bitmap.buffer + std::ptrdiff_t(row) * bitmap.pitch;
    for (unsigned column = 0; column < bitmap.width; ++column) {
      if (bits[column / 8] & (0x80 >> (column % 8))) {
        SetRasterPixel(raster, left + int(column), top + int(row), colour);
      }
    }
  }
}

}  // namespace

bool OpenScreenFont(const std::string& path, int logHeight, ScreenFont& font, std::string& error) {
  font.face.reset(new ScreenFace);
  ScreenFace& screenFace = *font.face;
  if (FT_Init_FreeType(&screenFace.library) != 0) {
    error = "FreeType cannot start";
    return false;
  }
  if (FT_New_Face(screenFace.library, path.c_str(), 0, &screenFace.face) != 0) {
    error = "cannot open the screen font " + (path.empty() ? std::string("(IPAGothic not found)") : path);
    return false;
  }
  if (!FT_IS_SCALABLE(screenFace.face) || !SetCellMetrics(screenFace.face, logHeight, font)) {
    error = "the screen font " + path + " has no cell metrics";
    return false;
  }
  return true;
}

// Glyphs are one bit deep: the window's font has the default quality, which
// Wine draws without smoothing, so every glyph pixel is the text colour. A
// bold glyph is widened by one pixel and a slanted one sheared, as GDI
// synthesises the weight and italic a face does not have.
void DrawGlyph(const ScreenFont& font, Raster& raster, int x, int y, char32_t character,
               GlyphStyle style, COLORREF colour) {
  FT_Face face = font.face->face;
  const FT_UInt index = character > 0x20 ? FT_Get_Char_Index(face, character) : 0;
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
  if (style.italic) FT_GlyphSlot_Oblique(slot);
  if (style.bold) FT_Outline_EmboldenXY(&slot->outline, 64, 0);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return;
  CopyMonoBitmap(slot->bitmap, raster, x + slot->bitmap_left, y + font.ascent - slot->bitmap_top, colour);
}
