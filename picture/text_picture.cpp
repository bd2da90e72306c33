#include "picture/text_picture.h"

#include <vector>

#include "terminal/native/cp932_text.h"
#include "picture/font_file.h"
#include "picture/png_writer.h"

namespace {

// The code points of UTF-8 text (as Cp932ToUtf8 writes it: well formed).
std::vector<char32_t> CodePoints(const std::string& text) {
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + k < text.size(); ++k) point = point << 6 | (text[i + k] & 0x3F);
    points.push_back(point);
    i += std::size_t(length);
  }
  return points;
}

// One character: two byte cells at (x, y) in its attribute.
void DrawCharacter(const ScreenFont& font, Raster& picture, int x, int y, const std::uint8_t* pair,
                   const CellAttr& attr) {
  const int width = 2 * font.cellWidth;
  FillRaster(picture, x, y, width, font.cellHeight, attr.bg);
  const std::vector<char32_t> characters = CodePoints(Cp932ToUtf8(pair, 2));
  const GlyphStyle style{(attr.flags & StyleBold) != 0, (attr.flags & StyleItalic) != 0};
  const int step = characters.size() == 1 ? width : font.cellWidth;
  for (std::size_t i = 0; i < characters.size(); ++i) {
    DrawGlyph(font, picture, x + int(i) * step, y, characters[i], style, attr.fg);
  }
  if (attr.flags & StyleUnderline) {
    FillRaster(picture, x, y + font.underlineTop, width, font.underlineHeight, attr.fg);
  }
}

}  // namespace

Raster TextPicture(const TerminalState& state, const ScreenFont& font, RowRange rows) {
  Raster picture;
  ResizeRaster(picture, font.cellWidth * ScreenColumns, font.cellHeight * (rows.last - rows.first + 1),
               RasterWhite);
  for (int row = rows.first; row <= rows.last; ++row) {
    const int y = (row - rows.first) * font.cellHeight;
    for (int column = 0; column < ScreenColumns; column += 2) {
      const int index = row * ScreenColumns + column;
      DrawCharacter(font, picture, column * font.cellWidth, y, state.screen + index, state.cellAttrs[index]);
    }
  }
  if (state.connected) {
    InvertRaster(picture, state.cursorCol * font.cellWidth, (state.cursorRow - rows.first) * font.cellHeight,
                 font.cellWidth, font.cellHeight);
  }
  return picture;
}

bool WriteTextPicture(const std::string& path, const ScreenModel& model, RowRange rows,
                      std::string& error) {
  ScreenFont font;
  if (!OpenScreenFont(ScreenFontFile(), model.queue.appliedFontSpec.lfHeight, font, error)) {
    return false;
  }
  if (WritePng(path, TextPicture(model.state, font, rows))) return true;
  error = "cannot write " + path;
  return false;
}
