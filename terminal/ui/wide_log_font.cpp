#include "terminal/ui/wide_log_font.h"

#include <cstring>

LOGFONTW WideLogFont(const FontSpec& font) {
  LOGFONTW wide{};
  wide.lfHeight = font.lfHeight;
  wide.lfWidth = font.lfWidth;
  wide.lfEscapement = font.lfEscapement;
  wide.lfOrientation = font.lfOrientation;
  wide.lfWeight = font.lfWeight;
  wide.lfItalic = font.lfItalic;
  wide.lfUnderline = font.lfUnderline;
  wide.lfStrikeOut = font.lfStrikeOut;
  wide.lfCharSet = font.lfCharSet;
  wide.lfOutPrecision = font.lfOutPrecision;
  wide.lfClipPrecision = font.lfClipPrecision;
  wide.lfQuality = font.lfQuality;
  wide.lfPitchAndFamily = font.lfPitchAndFamily;
  char face[LF_FACESIZE + 1] = {};
  std::memcpy(face, font.lfFaceName, LF_FACESIZE);  // a name of 32 bytes has no NUL of its own
  if (MultiByteToWideChar(932, 0, face, -1, wide.lfFaceName, LF_FACESIZE) == 0) {
    wide.lfFaceName[0] = L'\0';
  }
  return wide;
}
