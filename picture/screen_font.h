// The text screen's font without Windows: a TrueType face rasterised by
// FreeType in the byte cells the window measures for it.
#pragma once

#include <memory>
#include <string>

#include "terminal/native/raster.h"

struct ScreenFace;  // FreeType's library and the open face
struct ScreenFaceCloser {
  void operator()(ScreenFace* face) const;
};

struct ScreenFont {
  std::unique_ptr<ScreenFace, ScreenFaceCloser> face;
  int cellWidth = 0;        // one byte cell; a full-width character takes two
  int cellHeight = 0;       // one screen row
  int ascent = 0;           // baseline below the top of the row
  int underlineTop = 0;     // below the top of the row
  int underlineHeight = 0;
};

// Opens the font file at the size a FontSpec's height asks for, with GDI's
// meaning: above 0 the cell height, below 0 the character (em) height, 0 the
// terminal's own default of 14. False, with `error` telling why, when the file
// is no usable scalable font.
bool OpenScreenFont(const std::string& path, int logHeight, ScreenFont& font, std::string& error);

struct GlyphStyle {
  bool bold = false;
  bool italic = false;
};

// Draws one character's glyph in `colour`, its advance starting at x, the row
// starting at y; only the glyph's own pixels change (the background is the
// caller's). Nothing is drawn for a character the face lacks or below U+0021.
void DrawGlyph(const ScreenFont& font, Raster& raster, int x, int y, char32_t character,
               GlyphStyle style, COLORREF colour);
