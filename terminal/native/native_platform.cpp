#include "terminal/native/native_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "terminal/interpreter/interpreter.h"
#include "terminal/model/draw_queue.h"
#include "terminal/model/terminal_model.h"
#include "terminal/native/cp932_text.h"

namespace {

constexpr std::string_view LogFailedText = "ログファイルに書き込む事が出来ない！！";
constexpr std::string_view MessageCaption = "通信ターミナル";
constexpr std::uint16_t WordEsc = 0x001B;
constexpr std::uint16_t WordPoint = 0x4540;

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

TerminalState* NativePlatform::StateOf(Window w) { return w == window ? state : nullptr; }

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
void NativePlatform::DrawText(Canvas canvas, int x, int y, const std::uint8_t* bytes, int length,
                              const FontSpec& font, COLORREF fg, COLORREF bg) {
  ++drawTextCalls;
  if (!drawing || canvas != Canvas::Text) return;
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

void NativePlatform::FillRect(Canvas canvas, int x, int y, int width, int height,
                              COLORREF colour) {
  ++fillRectCalls;
  if (!drawing) return;
  FillRaster(canvas == Canvas::Text ? text : graphic, x, y, width, height, colour);
}

void NativePlatform::CopyRect(Canvas canvas, int toX, int toY, int width, int height, int fromX,
                              int fromY) {
  ++copyRectCalls;
  if (!drawing) return;
  CopyRaster(canvas == Canvas::Text ? text : graphic, toX, toY, width, height, fromX, fromY);
}

void NativePlatform::SetPixel(Canvas canvas, int x, int y, COLORREF colour) {
  if (!drawing) return;
  SetRasterPixel(canvas == Canvas::Text ? text : graphic, x, y, colour);
}

// Slanted and bold glyphs here overhang into the next cell.
bool NativePlatform::DrawsCellsExactly(const FontSpec& font) {
  return font.lfItalic == 0 && font.lfWeight <= 400;
}

int NativePlatform::ReadBlock(Window w, std::uint8_t* buffer, int maximum) {
  if (StateOf(w) == nullptr) return 0;
  const std::size_t waiting = input.size() - inputPosition;
  const std::size_t count = std::min<std::size_t>(waiting, std::size_t(maximum > 0 ? maximum : 0)) & ~std::size_t(1);
  if (count == 0) {
    // A lone last byte never finds its partner.
    if (waiting < 2 && inputEndCloses) return PortClosed;
    clock += emptyReadMilliseconds;
    return 0;
  }
  std::memcpy(buffer, input.data() + inputPosition, count);
  inputPosition += count;
  return int(count);
}

int NativePlatform::TransmitByte(Window w, int byte) {
  TerminalState* s = StateOf(w);
  if (s == nullptr || s->connected.load() == 0) return 0;
  const std::uint8_t value = std::uint8_t(byte & 0xFF);
  sent.push_back(value);
  char line[16];
  std::snprintf(line, sizeof line, "sent %02X", unsigned(value));
  events.push_back(line);
  if (s->localEcho) {
    InterpretReceived(w, &value, 1);
  } else {
    std::snprintf(line, sizeof line, "[%02X]", unsigned(value));
    statusTexts[1] = std::string("送信したバイトデータ：") + line;
  }
  return 1;
}

void NativePlatform::PurgePort(Window) { ++purges; }

// Once the log has been closed after a failure, later writes are skipped
// silently (the user was told once).
bool NativePlatform::AppendToLog(Window w, const std::uint8_t* bytes, int length) {
  if (!logOpen) return true;
  if (log.size() + std::size_t(length) > logCapacity) {
    logOpen = false;
    ShowMessage(w, LogFailedText, TextCoding::Utf8, MessageCaption, MessageIcon::Error,
                MessageButtons::Ok);
    return false;
  }
  log.insert(log.end(), bytes, bytes + length);
  return true;
}

MessageAnswer NativePlatform::ShowMessage(Window, std::string_view messageText, TextCoding coding,
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

void NativePlatform::InvalidateTerminal(Window) { ++invalidations; }

void NativePlatform::SelectTab(int tab) { events.push_back("tab " + std::to_string(tab)); }

void NativePlatform::ShowTerminalCaret(Window) { events.push_back("caret show"); }

void NativePlatform::HideTerminalCaret(Window) { events.push_back("caret hide"); }

void NativePlatform::PlaceTerminalCaret(Window) { ++caretPlacements; }

void NativePlatform::RelayoutWindow(Window) { ++relayouts; }

void NativePlatform::PauseMilliseconds(int milliseconds) { clock += std::uint64_t(milliseconds); }

std::uint64_t NativePlatform::MillisecondClock() { return clock; }

void StartNativeTerminal(NativeTerminal& terminal, bool drawing) {
  if (terminal.state) {
    // A new record in the same memory.
    TerminalState* state = terminal.state.get();
    state->~TerminalState();
    new (state) TerminalState();
  } else {
    terminal.state = std::make_unique<TerminalState>();
  }
  terminal.window = &terminal;
  NativePlatform& native = terminal.platform;
  native.state = terminal.state.get();
  native.window = terminal.window;
  native.drawing = drawing;
  ResizeRaster(native.graphic, drawing ? GraphicWidth : 0, drawing ? GraphicHeight : 0, RasterWhite);
  platform = &native;
  DiscardDrawing();  // what an earlier terminal of this process left
  SetDrawingImmediate(false);
  resetDefaults = ResetDefaults{};
  defaultAttr = CellAttr{};
  SavedCursor = SavedCursorSlot{};
  SavedStyle = SavedStyleSlot{};
  InitTerminalState(*terminal.state, MakeColour(0, 0, 0), MakeColour(255, 255, 255),
                    terminal.window);
  ApplyFontSpec(terminal.window, terminal.state.get());
  terminal.state->connected = 1;
  ResetScreenModel(terminal.window, *terminal.state);
}

int ReadPumpBlock(NativePlatform& native, std::uint8_t* buffer) {
  constexpr int PumpBlockBytes = 100;
  const std::size_t waiting = native.input.size() - native.inputPosition;
  int count = int(std::min<std::size_t>(waiting, PumpBlockBytes)) & ~1;
  if (count == 0) return 0;
  const std::uint8_t* next = native.input.data() + native.inputPosition;
  for (int i = 0; i + 4 <= count; i += 2) {
    const int first = next[i] | next[i + 1] << 8;
    const int second = next[i + 2] | next[i + 3] << 8;
    if (first == WordEsc && second == WordPoint) {
      count = i + 4;
      break;
    }
  }
  std::memcpy(buffer, next, std::size_t(count));
  native.inputPosition += std::size_t(count);
  return count;
}
