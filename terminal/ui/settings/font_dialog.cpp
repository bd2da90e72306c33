#include "terminal/ui/settings/font_dialog.h"

#include <commdlg.h>

#include <string>

#include "terminal/link/settings/font_face_name.h"
#include "terminal/ui/wide_log_font.h"

static_assert(sizeof(FontSpec) == sizeof(LOGFONTA), "FontSpec must keep the LOGFONTA layout");

namespace {

// Face names are kept as code page 932 bytes, whatever the system code page
// is, so that Japanese face names survive the trip through the wide dialog
// (WideLogFont reads them the same way).
constexpr UINT FaceNameCodePage = 932;

void StoreLogFont(const LOGFONTW& wide, FontSpec& font) {
  font.lfHeight = wide.lfHeight;
  font.lfWidth = wide.lfWidth;
  font.lfEscapement = wide.lfEscapement;
  font.lfOrientation = wide.lfOrientation;
  font.lfWeight = wide.lfWeight;
  font.lfItalic = wide.lfItalic;
  font.lfUnderline = wide.lfUnderline;
  font.lfStrikeOut = wide.lfStrikeOut;
  font.lfCharSet = wide.lfCharSet;
  font.lfOutPrecision = wide.lfOutPrecision;
  font.lfClipPrecision = wide.lfClipPrecision;
  font.lfQuality = wide.lfQuality;
  font.lfPitchAndFamily = wide.lfPitchAndFamily;
  // Room for every character of the longest wide name as a double-byte pair.
  char sjis[2 * LF_FACESIZE + 1] = {};
  int length = WideCharToMultiByte(FaceNameCodePage, 0, wide.lfFaceName, -1, sjis, sizeof sjis,
                                   nullptr, nullptr);
  StoreFaceName(std::string_view(sjis, length > 0 ? std::size_t(length - 1) : 0), font);
}

}  // namespace

bool ChooseTerminalFont(HWND owner, FontSpec& font, COLORREF& colour) {
  LOGFONTW wide = WideLogFont(font);
  CHOOSEFONTW choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.lpLogFont = &wide;
  choice.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_FIXEDPITCHONLY;
  choice.rgbColors = colour;
  if (!ChooseFontW(&choice)) return false;
  StoreLogFont(wide, font);
  colour = choice.rgbColors;
  return true;
}
