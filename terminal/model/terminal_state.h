// The terminal's record: the screen, the pen, the line settings and the
// screen objects beside them. One terminal object owns it
// (terminal/interpreter/terminal.h).
//
// Portable: no platform header is included here. The Windows front end checks
// at compile time that FontSpec matches LOGFONTA.
#pragma once

#include <cstdint>

#ifdef _WIN32
typedef unsigned long COLORREF;  // the same type as in <windef.h>
#else
typedef std::uint32_t COLORREF;  // 0x00BBGGRR
#endif

constexpr COLORREF MakeColour(unsigned red, unsigned green, unsigned blue) {
  return COLORREF((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

constexpr int ScreenRows = 200;
constexpr int ScreenColumns = 100;  // byte cells; a character takes two
constexpr int ScreenCells = ScreenRows * ScreenColumns;
constexpr int GraphicWidth = 640;
constexpr int GraphicHeight = 480;

// Style bits of CellAttr::flags and TerminalState::styleFlags.
constexpr std::uint32_t StyleReset = 0x01;
constexpr std::uint32_t StyleBold = 0x02;
constexpr std::uint32_t StyleUnderline = 0x04;
constexpr std::uint32_t StyleItalic = 0x08;
constexpr std::uint32_t StyleReverse = 0x10;

struct CellAttr {
  COLORREF fg;
  COLORREF bg;
  std::uint32_t flags;
};

// Field for field the layout of LOGFONTA: it is handed to the font API as it is.
struct FontSpec {
  std::int32_t lfHeight;
  std::int32_t lfWidth;
  std::int32_t lfEscapement;
  std::int32_t lfOrientation;
  std::int32_t lfWeight;
  std::uint8_t lfItalic;
  std::uint8_t lfUnderline;
  std::uint8_t lfStrikeOut;
  std::uint8_t lfCharSet;
  std::uint8_t lfOutPrecision;
  std::uint8_t lfClipPrecision;
  std::uint8_t lfQuality;
  std::uint8_t lfPitchAndFamily;
  char lfFaceName[32];
};
static_assert(sizeof(FontSpec) == 60, "FontSpec must keep the LOGFONTA layout");

// 200 rows of 100 bytes of Shift-JIS text, row-major (row r, column c at r * 100 + c).
using ScreenBuffer = std::uint8_t[ScreenCells];

// What an attribute reset (SGR 0) copies back into the record.
struct ResetDefaults {
  std::int32_t cursorCol;
  std::int32_t cursorRow;
  COLORREF fgColour;
  COLORREF bgColour;
  FontSpec fontSpec;  // edited in place by the font dialog; all zero until a font is chosen
};

struct SavedCursorSlot {
  std::int32_t cursorCol;
  std::int32_t cursorRow;
};

struct SavedStyleSlot {
  COLORREF fgColour;
  COLORREF bgColour;
  FontSpec fontSpec;
};

// A blank row of the screen: 50 full-width spaces (0x81 0x40).
struct BlankRowBytes {
  std::uint8_t bytes[ScreenColumns];
  constexpr BlankRowBytes() : bytes() {
    for (int i = 0; i < ScreenColumns; i += 2) {
      bytes[i] = 0x81;
      bytes[i + 1] = 0x40;
    }
  }
};
inline constexpr BlankRowBytes blankRowBytes{};
inline constexpr const std::uint8_t* blankRow = blankRowBytes.bytes;

struct TerminalState {
  std::uint8_t portNumber;       // 1-20: COM1-COM20; above 20: TELNET
  ScreenBuffer screen;
  std::uint16_t screenEnd;       // takes the second byte of a character at row 199, column 99
  CellAttr cellAttrs[ScreenCells];
  bool connected;
  std::int32_t localEcho;
  std::int32_t newLine;
  std::int32_t autoWrap;
  std::int32_t useCnReceive;
  std::int32_t displayErrors;
  std::uint8_t byteSize;
  std::uint8_t flowControl;      // 0x01 DTR/DSR, 0x02 RTS/CTS, 0x04 XON/XOFF
  std::uint8_t parity;           // 0 none, 1 odd, 2 even, 3 mark, 4 space
  std::uint8_t stopBits;         // 0 one, 1 one and a half, 2 two
  std::uint32_t baudRate;
  FontSpec fontSpec;
  COLORREF fgColour;
  COLORREF bgColour;
  std::uint32_t styleFlags;
  std::int32_t cursorCol;
  std::int32_t cursorRow;
  std::int32_t cellWidth;
  std::int32_t cellHeight;
  // The screen objects of the record: the attributes of scrolled-in and reset
  // cells, what SGR 0 restores, and the slots of CSI ｓ / ESC ７.
  CellAttr defaultAttr;
  ResetDefaults resetDefaults;
  SavedCursorSlot SavedCursor;
  SavedStyleSlot SavedStyle;
};
