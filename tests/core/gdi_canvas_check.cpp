// Under Wine: the text canvas drawn through the queue must hold exactly the
// pixels of drawing every character at once, with real GDI fonts; and the
// window's copy of the graphic plane, brought up to date piece by piece from
// the plane's damage, must hold exactly the plane's pixels. Prints one line
// per font and per plane round, and exits non-zero on a difference.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "terminal/interpreter/terminal.h"
#include "terminal/ui/gdi_canvas.h"

namespace {

// The canvases of the check: GDI's.
struct GdiCheckDrawing final : Drawing {
  void ResizeTextCanvas(int width, int height) override { GdiResizeTextCanvas(width, height); }
  FontMetrics MeasureFont(const FontSpec& font) override { return GdiMeasureFont(font); }
  void DrawText(int x, int y, const std::uint8_t* bytes, int length,
                const FontSpec& font, COLORREF fg, COLORREF bg) override {
    GdiDrawText(x, y, bytes, length, font, fg, bg);
  }
  void FillRect(int x, int y, int width, int height, COLORREF colour) override {
    GdiFillRect(x, y, width, height, colour);
  }
  void CopyRect(int toX, int toY, int width, int height, int fromX,
                int fromY) override {
    GdiCopyRect(toX, toY, width, height, fromX, fromY);
  }
  bool DrawsCellsExactly(const FontSpec& font) override { return GdiDrawsCellsExactly(font); }
};

// The other roles are silent: the check looks only at the canvas.
struct SilentHost final : HostWindow {
  MessageAnswer ShowMessage(std::string_view, TextCoding, std::string_view, MessageIcon,
                            MessageButtons) override {
    return MessageAnswer::Ok;
  }
  void Beep() override {}
  void SetStatusText(int, std::string_view, TextCoding) override {}
  void Tell(const Notice&) override {}
  void ByteSent(std::uint8_t) override {}
  void KeyStatus(std::string_view, TextCoding) override {}
  void InvalidateTerminal() override {}
  void ShowView(TerminalView) override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void PlaceCaret() override {}
  void Relayout() override {}
};

struct SilentLine final : DeviceOutput, CommLog, Clock {
  bool Transmit(std::uint8_t) override { return true; }
  void Purge() override {}
  bool Append(const std::uint8_t*, int) override { return true; }
  std::uint64_t Milliseconds() override { return 0; }
};

// Text runs, wraps at the last column, scrolls, colour and style changes, erases.
std::vector<std::uint8_t> RandomWords(std::mt19937& random) {
  static const std::vector<std::vector<std::uint16_t>> pieces = {
      {0x2341}, {0x3441}, {0x2422}, {0x0041}, {0x00B1}, {0x000D, 0x000A}, {0x000A, 0x000A},
      {0x009B, 0x2331, 0x236D},                          // bold
      {0x009B, 0x2334, 0x236D},                          // underline
      {0x009B, 0x2336, 0x236D},                          // italic
      {0x009B, 0x2332, 0x2332, 0x2128, 0x2332, 0x2336, 0x2128, 0x2332, 0x2334, 0x236D},
      {0x009B, 0x2333, 0x2331, 0x2128, 0x2334, 0x2334, 0x236D},  // red on blue
      {0x009B, 0x2337, 0x236D},                          // reverse
      {0x009B, 0x2331, 0x2339, 0x2339, 0x2128, 0x2339, 0x2337, 0x2348},  // row 199, column 97
      {0x009B, 0x2331, 0x2339, 0x2335, 0x2128, 0x2339, 0x2338, 0x2348},  // row 195, column 98
      {0x009B, 0x2330, 0x234B}, {0x009B, 0x2331, 0x234A}, {0x009B, 0x2330, 0x234A},
  };
  std::vector<std::uint8_t> bytes;
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> repeat(1, 40);
  while (bytes.size() < 6000) {
    const std::vector<std::uint16_t>& piece = pieces[pick(random)];
    const int times = piece.size() == 1 ? repeat(random) : 1;
    for (int t = 0; t < times; ++t) {
      for (const std::uint16_t word : piece) {
        bytes.push_back(std::uint8_t(word & 0xFF));
        bytes.push_back(std::uint8_t(word >> 8));
      }
    }
  }
  return bytes;
}

std::vector<std::uint32_t> CanvasPixels(HDC dc, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(std::size_t(width) * height);
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  GetDIBits(dc, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

std::vector<std::uint32_t> Render(Terminal& terminal, const std::vector<std::uint8_t>& bytes,
                                  bool immediate, const FontSpec& font) {
  TerminalState& state = terminal.state;
  std::memcpy(&state.fontSpec, &font, sizeof font);
  // Disconnected, the new canvas stays white: the last render's screen is not redrawn.
  state.connected = false;
  ApplyFontSpec(terminal);
  state.connected = true;
  ResetScreenModel(terminal);
  state.cursorRow = 0;
  state.cursorCol = 0;
  terminal.queue.SetImmediate(immediate);
  terminal.Receive(bytes.data(), bytes.size());
  terminal.queue.Flush();
  terminal.queue.SetImmediate(false);
  return CanvasPixels(GdiTextCanvasDc(), state.cellWidth * 100 + 100, state.cellHeight * 200 + 100);
}

void AddWord(std::vector<std::uint8_t>& bytes, std::uint16_t word) {
  bytes.push_back(std::uint8_t(word & 0xFF));
  bytes.push_back(std::uint8_t(word >> 8));
}

// CSI, the numbers in full-width digits separated by ；, the final word.
void AddCsi(std::vector<std::uint8_t>& bytes, std::initializer_list<int> numbers, std::uint16_t final) {
  AddWord(bytes, 0x009B);
  bool first = true;
  for (const int number : numbers) {
    if (!first) AddWord(bytes, 0x2128);
    first = false;
    for (const char digit : std::to_string(number)) AddWord(bytes, std::uint16_t(0x2330 + (digit - '0')));
  }
  AddWord(bytes, final);
}

// Points in random colours, white rectangles partly off the plane, now and
// then the whole plane in a random background colour.
std::vector<std::uint8_t> RandomPlotting(std::mt19937& random) {
  constexpr std::uint16_t Colour = 0x3F27, Background = 0x374A, Erase = 0x3E43, Point = 0x4540;
  std::uniform_int_distribution<int> byte(0, 255), x(0, 639), y(0, 479), size(0, 200), kind(0, 99);
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 300; ++i) {
    const int what = kind(random);
    if (what < 3) {
      AddCsi(bytes, {byte(random), byte(random), byte(random)}, Background);
      AddCsi(bytes, {}, Erase);
    } else if (what < 10) {
      AddCsi(bytes, {x(random), y(random), size(random), size(random)}, Erase);
    } else {
      if (what < 40) AddCsi(bytes, {byte(random), byte(random), byte(random)}, Colour);
      AddCsi(bytes, {x(random), y(random)}, Point);
    }
  }
  return bytes;
}

// A COLORREF as a 32-bit DIB holds it.
std::uint32_t AsDib(COLORREF colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// Pushes plotting and looks at the window's copy after every push, so that it
// is brought up to date from many small damages; then compares it whole.
int CheckGraphicCanvas(Terminal& terminal, std::mt19937& random) {
  int failures = 0;
  for (int round = 0; round < 4; ++round) {
    for (int push = 0; push < 20; ++push) {
      const std::vector<std::uint8_t> bytes = RandomPlotting(random);
      terminal.Receive(bytes.data(), bytes.size());
      GdiGraphicCanvasDc(terminal.plane);
    }
    const std::vector<std::uint32_t> shown =
        CanvasPixels(GdiGraphicCanvasDc(terminal.plane), GraphicWidth, GraphicHeight);
    const std::vector<COLORREF>& plane = terminal.plane.Pixels();
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) differing += (shown[i] & 0xFFFFFF) != AsDib(plane[i]);
    std::printf("graphic plane round %d: %zu pixels of the window's copy differ\n", round, differing);
    failures += differing != 0;
  }
  return failures;
}

FontSpec Font(const char* face, int height, int pitch) {
  FontSpec font{};
  font.lfHeight = height;
  font.lfWeight = 400;
  font.lfCharSet = 128;
  font.lfPitchAndFamily = std::uint8_t(pitch);
  std::strcpy(font.lfFaceName, face);
  return font;
}

}  // namespace

int main() {
  if (!CreateGdiCanvases(nullptr)) {
    std::puts("no device context");
    return 2;
  }
  static GdiCheckDrawing drawing;
  static SilentHost host;
  static SilentLine line;
  static Terminal terminal(TerminalRoles{drawing, host, line, line, line});
  TerminalState& state = terminal.state;
  InitTerminalState(state, 0x000000, 0xFFFFFF);
  terminal.Connect();
  const FontSpec fonts[] = {Font("FixedSys", 14, 0x31), Font("MS Gothic", 16, 0x31),
                            Font("MS PGothic", 16, 0x22), FontSpec{}};
  std::mt19937 random(77);
  int failures = 0;
  for (const FontSpec& font : fonts) {
    for (int round = 0; round < 3; ++round) {
      const std::vector<std::uint8_t> bytes = RandomWords(random);
      const std::vector<std::uint32_t> immediate = Render(terminal, bytes, true, font);
      const std::vector<std::uint32_t> queued = Render(terminal, bytes, false, font);
      std::size_t differing = 0;
      const int width = state.cellWidth * 100 + 100;
      int left = width, top = 1 << 30, right = -1, bottom = -1;
      for (std::size_t i = 0; i < immediate.size(); ++i) {
        if (immediate[i] == queued[i]) continue;
        ++differing;
        const int x = int(i % std::size_t(width));
        const int y = int(i / std::size_t(width));
        left = x < left ? x : left;
        right = x > right ? x : right;
        top = y < top ? y : top;
        bottom = y > bottom ? y : bottom;
      }
      std::printf("font \"%s\" cell %dx%d%s round %d: %zu pixels differ", font.lfFaceName,
                  state.cellWidth, state.cellHeight,
                  GdiDrawsCellsExactly(font) ? " (runs and scrolls merged)" : "", round, differing);
      if (differing != 0) std::printf(" within x %d-%d, y %d-%d", left, right, top, bottom);
      std::printf("\n");
      failures += differing != 0;
    }
  }
  failures += CheckGraphicCanvas(terminal, random);
  DestroyGdiCanvases();
  return failures == 0 ? 0 : 1;
}
