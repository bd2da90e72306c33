// The one record of the terminal and the process-wide screen objects beside it.
//
// Portable: no platform header is included here. Handles are opaque pointers;
// the Windows front end converts them to HANDLE, HWND and HFONT, and checks at
// compile time that FontSpec and OverlappedBlock match LOGFONTA and OVERLAPPED.
#pragma once

#include <atomic>
#include <cstdint>

#ifdef _WIN32
typedef unsigned long COLORREF;  // the same type as in <windef.h>
#else
typedef std::uint32_t COLORREF;  // 0x00BBGGRR
#endif

constexpr COLORREF MakeColour(unsigned red, unsigned green, unsigned blue) {
  return COLORREF((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

using Handle = void*;  // HANDLE, HFONT: opaque outside the platform layer
using Window = void*;  // HWND on Windows; any unique pointer in the native build

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

// The layout of OVERLAPPED.
struct OverlappedBlock {
  std::uintptr_t internal;
  std::uintptr_t internalHigh;
  std::uint32_t offset;
  std::uint32_t offsetHigh;
  Handle event;
};

// 200 rows of 100 bytes of Shift-JIS text, row-major (row r, column c at r * 100 + c).
using ScreenBuffer = std::uint8_t[ScreenCells];

struct TerminalState {
  Handle portHandle;
  std::uint8_t portNumber;       // 1-20: COM1-COM20; above 20: TELNET
  ScreenBuffer screen;
  std::uint16_t screenEnd;       // takes the second byte of a character at row 199, column 99
  CellAttr cellAttrs[ScreenCells];
  std::atomic<std::int32_t> connected;  // also the watcher thread's stop flag
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
  std::uint16_t caretShown;
  Handle font;
  FontSpec fontSpec;
  COLORREF fgColour;
  COLORREF bgColour;
  std::uint32_t styleFlags;
  std::int32_t clientWidth;
  std::int32_t clientHeight;
  std::int32_t hScrollMax;
  std::int32_t vScrollMax;
  std::int32_t hScrollPos;
  std::int32_t vScrollPos;
  std::int32_t cursorCol;
  std::int32_t cursorRow;
  std::int32_t cellWidth;
  std::int32_t cellHeight;
  Handle pumpDoneEvent;
  Handle watcherThread;
  Window notifyWindow;
  std::atomic<std::uint32_t> watcherThreadId;  // non-zero exactly while the watcher runs
  OverlappedBlock writeOverlapped;
  OverlappedBlock readOverlapped;
};

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

// Process-wide screen objects (one each, outside the record).
extern CellAttr defaultAttr;
extern ResetDefaults resetDefaults;
extern std::uint8_t blankRow[ScreenColumns];  // 50 full-width spaces, 0x81 0x40
extern SavedCursorSlot SavedCursor;
extern SavedStyleSlot SavedStyle;
