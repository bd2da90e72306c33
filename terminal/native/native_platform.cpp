#include "terminal/native/native_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "terminal/interpreter/transmit_status.h"
#include "terminal/link/link_texts.h"
#include "terminal/model/screen_model.h"
#include "terminal/native/cp932_text.h"

namespace {

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

std::string AsUtf8(std::string_view text, TextCoding coding) {
  if (coding == TextCoding::Utf8) return std::string(text);
  return Cp932ToUtf8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// A stand-in for a glyph: a few pixels in the text colour whose places depend
// on the bytes and on every font field that changes how a character looks,
// an underline, and for a slanted or bold font one pixel of overhang into the
// next cell, as such glyphs have.
void DrawGlyph(Raster& raster, int x, int y, int cellWidth, int cellHeight,
               const std::uint8_t* bytes, int length, const FontSpec& font, COLORREF fg) {
  const int width = cellWidth * length;
  std::uint32_t hash = 2166136261u;
  const auto mix = [&hash](std::uint32_t value) { hash = (hash ^ value) * 16777619u; };
  for (int i = 0; i < length; ++i) mix(bytes[i]);
  mix(std::uint32_t(font.lfHeight));
  mix(std::uint32_t(font.lfWeight));
  mix(font.lfItalic);
  mix(font.lfUnderline);
  mix(font.lfStrikeOut);
  mix(font.lfCharSet);
  for (const char c : font.lfFaceName) mix(std::uint8_t(c));
  for (int dot = 0; dot < 3; ++dot) {
    SetRasterPixel(raster, x + int(hash % std::uint32_t(width)), y + int((hash >> 12) % std::uint32_t(cellHeight)), fg);
    mix(std::uint32_t(dot));
  }
  if (font.lfUnderline) FillRaster(raster, x, y + cellHeight - 1, width, 1, fg);
  if (font.lfItalic || font.lfWeight > 400) SetRasterPixel(raster, x + width, y + 1, fg);
}

}  // namespace

void NativePlatform::ResizeTextCanvas(int width, int height) {
  textCanvasWidth = width;
  textCanvasHeight = height;
  if (drawing) ResizeRaster(text, width, height, RasterWhite);
}

FontMetrics NativePlatform::MeasureFont(const FontSpec& font) {
  const int width = font.lfWidth > 0 ? font.lfWidth : 8;
  const int height = font.lfHeight != 0 ? (font.lfHeight < 0 ? -font.lfHeight : font.lfHeight) : 14;
  return FontMetrics{Clamp(width, 1, largestCell), Clamp(height + 1, 2, largestCell)};
}

// Every two bytes are one character cell, drawn at x + 2 × cell width × i as if
// alone: the opaque background of its cell, then its glyph.
void NativePlatform::DrawText(int x, int y, const std::uint8_t* bytes, int length,
                              const FontSpec& font, COLORREF fg, COLORREF bg) {
  ++drawTextCalls;
  if (!drawing) return;
  const int cellWidth = (textCanvasWidth - 100) / ScreenColumns;
  const int cellHeight = (textCanvasHeight - 100) / ScreenRows;
  if (cellWidth <= 0 || cellHeight <= 0) return;
  for (int i = 0; i < length; i += 2) {
    const int cellBytes = length - i >= 2 ? 2 : 1;
    const int cellX = x + i * cellWidth;
    FillRaster(text, cellX, y, cellWidth * cellBytes, cellHeight, bg);
    DrawGlyph(text, cellX, y, cellWidth, cellHeight, bytes + i, cellBytes, font, fg);
  }
}

void NativePlatform::FillRect(int x, int y, int width, int height, COLORREF colour) {
  ++fillRectCalls;
  if (!drawing) return;
  FillRaster(text, x, y, width, height, colour);
}

void NativePlatform::CopyRect(int toX, int toY, int width, int height, int fromX, int fromY) {
  ++copyRectCalls;
  if (!drawing) return;
  CopyRaster(text, toX, toY, width, height, fromX, fromY);
}

// Slanted and bold glyphs here overhang into the next cell.
bool NativePlatform::DrawsCellsExactly(const FontSpec& font) {
  return font.lfItalic == 0 && font.lfWeight <= 400;
}

bool NativePlatform::Transmit(std::uint8_t byte) {
  sent.push_back(byte);
  char line[16];
  std::snprintf(line, sizeof line, "sent %02X", unsigned(byte));
  events.push_back(line);
  return true;
}

void NativePlatform::Purge() { ++purges; }

// The user is told of a failed write as the window tells them.
bool NativePlatform::Append(const std::uint8_t* bytes, int length) {
  if (logWriter.Append(bytes, std::size_t(length)) == LogResult::Done) return true;
  Tell(Notice{LinkCaption, LogWriteFailedText, TextCoding::Utf8, MessageIcon::Error});
  return false;
}

void NativePlatform::Tell(const Notice& notice) {
  ShowMessage(notice.text, notice.coding, notice.caption, notice.icon, MessageButtons::Ok);
}

MessageAnswer NativePlatform::ShowMessage(std::string_view messageText, TextCoding coding,
                                          std::string_view caption, MessageIcon, MessageButtons) {
  std::string line = "message " + std::string(caption) + "|";
  for (const char c : AsUtf8(messageText, coding)) {
    if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  events.push_back(line);
  return MessageAnswer::Ok;
}

void NativePlatform::Beep() { events.push_back("beep"); }

void NativePlatform::SetStatusText(int pane, std::string_view statusText, TextCoding coding) {
  if (pane >= 0 && pane < 4) statusTexts[pane] = AsUtf8(statusText, coding);
}

void NativePlatform::InvalidateTerminal() { ++invalidations; }

void NativePlatform::ShowView(TerminalView view) { events.push_back("tab " + std::to_string(int(view))); }

void NativePlatform::ByteSent(std::uint8_t byte) { statusTexts[TransmittedPane] = TransmittedByteText(byte); }

void NativePlatform::KeyStatus(std::string_view statusText, TextCoding coding) {
  statusTexts[TransmittedPane] = AsUtf8(statusText, coding);
}

void NativePlatform::ShowCaret() { events.push_back("caret show"); }

void NativePlatform::HideCaret() { events.push_back("caret hide"); }

void NativePlatform::PlaceCaret() { ++caretPlacements; }

void NativePlatform::Relayout() { ++relayouts; }

std::uint64_t NativePlatform::Milliseconds() { return clock; }

void StartHeadlessTerminal(HeadlessTerminal& native, bool drawing) {
  NativePlatform& platform = native.platform;
  platform.drawing = drawing;
  native.terminal = std::make_unique<Terminal>(platform.Roles());
  StartAsConnected(*native.terminal);
}

void StartAsConnected(Terminal& terminal) {
  InitTerminalState(terminal.state, MakeColour(0, 0, 0), MakeColour(255, 255, 255));
  ApplyFontSpec(terminal);
  terminal.Connect();
  ResetScreenModel(terminal);
}
