#include "terminal/ui/about_box.h"

#include <cwchar>
#include <iterator>

#include "terminal/input/key_data.h"
#include "terminal/ui/resource_ids.h"

namespace {

// Room for a label's text read from the template or a string resource.
constexpr int LabelChars = 102;
// The picture of bitmap 500 and where it goes, over the hidden icon.
constexpr int PictureSize = 64;
constexpr int PictureLeft = 10;
constexpr int PictureTop = 10;
// The program's own version, shown as ターミナル v.03.10.000.
constexpr int ProgramMajor = 3;
constexpr int ProgramMinor = 10;
constexpr int ProgramBuild = 0;

// Uses the label's template text as the format of its own new text. The
// result has room for far more than any template's expansion, and swprintf
// never writes past it.
template <typename... Numbers>
void FormatLabel(HWND dialog, int labelId, Numbers... numbers) {
  wchar_t format[LabelChars] = {};
  GetDlgItemTextW(dialog, labelId, format, LabelChars);
  wchar_t text[4 * LabelChars] = {};
  std::swprintf(text, std::size(text), format, numbers...);
  SetDlgItemTextW(dialog, labelId, text);
}

HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

INT_PTR InitAboutBox(HWND dialog) {
  ShowWindow(GetDlgItem(dialog, IDC_ABOUT_ICON), SW_HIDE);
  DWORD version = GetVersion();
  FormatLabel(dialog, IDC_ABOUT_PLATFORM_VERSION, int(LOBYTE(LOWORD(version))),
              int(HIBYTE(LOWORD(version))));
  FormatLabel(dialog, IDC_ABOUT_PROGRAM_VERSION, ProgramMajor, ProgramMinor, ProgramBuild);
  wchar_t credit[LabelChars] = {};
  LoadStringW(InstanceOf(dialog), IDS_CREDIT, credit, LabelChars);
  SetDlgItemTextW(dialog, IDC_ABOUT_CREDIT, credit);
  SetDlgItemTextW(dialog, IDC_ABOUT_MODE, L"NT モード");
  return TRUE;
}

void PaintPicture(HWND dialog) {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(dialog, &paint);
  HDC memory = CreateCompatibleDC(target);
  if (memory) {
    HBITMAP picture = LoadBitmapW(InstanceOf(dialog), MAKEINTRESOURCEW(IDB_ABOUT));
    if (picture) {
      HGDIOBJ previous = SelectObject(memory, picture);
      BitBlt(target, PictureLeft, PictureTop, PictureSize, PictureSize, memory, 0, 0, SRCCOPY);
      SelectObject(memory, previous);
      DeleteObject(picture);
    }
    DeleteDC(memory);
  }
  EndPaint(dialog, &paint);
}

}  // namespace

// Only OK ends the box: IDCANCEL (Esc, the close box) is left unhandled on purpose.
INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return InitAboutBox(dialog);
    case WM_PAINT:
      PaintPicture(dialog);
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK) return FALSE;
      EndDialog(dialog, 1);
      return TRUE;
    default:
      return FALSE;
  }
}

void RunAboutBox(HINSTANCE instance, HWND mainWindow) {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), mainWindow, AboutProc, 0);
}

void ShowDebugInformation(HWND terminalWindow) {
  wchar_t text[64] = {};
  std::swprintf(text, std::size(text), L"Key_Dataの大きさ：%d", int(sizeof(KeyData)));
  MessageBoxW(terminalWindow, text, L"通信ターミナル", MB_OK);
}
