#include "terminal/ui/main_window.h"

#include <commctrl.h>

#include "terminal/link/comm_log.h"
#include "terminal/link/reconnect.h"
#include "terminal/model/terminal_state.h"
#include "terminal/ui/menu_commands.h"
#include "terminal/ui/link_view.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/status_bar.h"
#include "terminal/ui/status_texts.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/trace_item.h"
#include "terminal/ui/views.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

const wchar_t* const MainClassName = L"TALVORIXClass";
const wchar_t* const TerminalClassName = L"TALVORIXChildClass";

namespace {

bool RegisterOne(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon,
                 const wchar_t* cursor, const wchar_t* menu) {
  WNDCLASSW windowClass{};
  windowClass.style = 0;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = sizeof(LONG_PTR);  // slot 0: the terminal record
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorW(nullptr, cursor);
  windowClass.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
  windowClass.lpszMenuName = menu;
  windowClass.lpszClassName = name;
  return RegisterClassW(&windowClass) != 0;
}

HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

void InsertTab(int index, const char* text) {
  std::wstring wide = WideText(text);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = &wide[0];
  SendMessageW(tabControl, TCM_INSERTITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
}

LRESULT CreateMainWindow(HWND window) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                                  ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                                  ICC_USEREX_CLASSES};
  InitCommonControlsEx(&controls);
  statusBar = CreateStatusBar(window);
  LayoutStatusPanes(window);
  SetPaneText(3, DisconnectedMark);
  if (CreateTabsAndTerminal(window) != 0 || CreateTerminalState(window) != 1) return -1;
  // A log that cannot be opened ends the program: WM_DESTROY frees the record.
  WindowTerminal& record = *RecordOf(window);
  if (!OpenLog(record.link)) return -1;
  StartAutoReconnectItem(window, record.link);
  return 1;
}

void NoticeDeviceChange(HWND window, WPARAM event) {
  WindowTerminal* record = RecordOf(window);
  if (record != nullptr) NoticeDeviceChange(record->link, event);
}

void LayoutMainWindow(HWND window, unsigned width, unsigned height) {
  RECT bar;
  GetWindowRect(statusBar, &bar);
  int barHeight = bar.bottom - bar.top;
  MoveWindow(statusBar, 0, int(height) - barHeight, int(width), barHeight, TRUE);
  LayoutStatusPanes(window);
  RECT display{0, 0, LONG(width), LONG(height) - barHeight};
  SendMessageW(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MoveWindow(tabControl, 0, 0, int(width), int(height) - barHeight, TRUE);
  MoveWindow(terminalWindow, display.left, display.top, display.right - display.left,
             display.bottom - display.top, TRUE);
  InvalidateRect(tabControl, nullptr, TRUE);
  InvalidateRect(terminalWindow, nullptr, TRUE);
}

LRESULT Notify(const NMHDR& header, LPARAM lParam) {
  if (header.code == UINT(TCN_SELCHANGE)) {
    InvalidateRect(tabControl, nullptr, TRUE);
    InvalidateRect(terminalWindow, nullptr, TRUE);
  } else if (header.code == UINT(TCN_KEYDOWN)) {
    const NMTCKEYDOWN& key = *reinterpret_cast<const NMTCKEYDOWN*>(lParam);
    SetPaneText(2, KeyCodeText(MapVirtualKeyW(key.wVKey, MAPVK_VK_TO_VSC)));
    SetPaneText(3, KeyCodeText(MapVirtualKeyW(key.wVKey, MAPVK_VK_TO_CHAR)));
  }
  return 0;
}

void DestroyMainWindow(HWND window) {
  DestroyTerminalState(window);
  DestroyWindow(statusBar);
  DestroyWindow(terminalWindow);
  DestroyWindow(tabControl);
  statusBar = terminalWindow = tabControl = nullptr;
  PostQuitMessage(0);
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN));
  return RegisterOne(instance, MainClassName, MainWindowProc, icon, MAKEINTRESOURCEW(32512) /* IDC_ARROW */,
                     MAKEINTRESOURCEW(IDM_MAIN)) &&
         RegisterOne(instance, TerminalClassName, TerminalWindowProc, nullptr,
                     MAKEINTRESOURCEW(32513) /* IDC_IBEAM */, nullptr);
}

int CreateTabsAndTerminal(HWND mainWindow) {
  HINSTANCE instance = InstanceOf(mainWindow);
  tabControl = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                               mainWindow, reinterpret_cast<HMENU>(IDW_TAB_CONTROL), instance, nullptr);
  if (tabControl != nullptr) {
    terminalWindow = CreateWindowExW(0, TerminalClassName, WideText("通信端末").c_str(),
                                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, tabControl,
                                     reinterpret_cast<HMENU>(IDW_TERMINAL), instance, nullptr);
  }
  if (tabControl == nullptr || terminalWindow == nullptr) {
    MessageBoxUtf8(mainWindow, "通信端末タブウィンドウを作る事が出来ない", ProgramCaption, MB_OK);
    return -1;
  }
  LRESULT extended = SendMessageW(tabControl, TCM_GETEXTENDEDSTYLE, 0, 0);
  SendMessageW(tabControl, TCM_SETEXTENDEDSTYLE, 0, extended & ~LRESULT(TCS_EX_FLATSEPARATORS));
  SendMessageW(tabControl, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  InsertTab(0, "文章画面");
  InsertTab(1, "数値データ表示");
  InsertTab(2, "グラフィック");
  return 0;
}

void RelayoutForClientSize(HWND window) {
  RECT client;
  if (window != terminalWindow && GetClientRect(window, &client)) {
    LayoutMainWindow(window, unsigned(client.right), unsigned(client.bottom));
  }
  if (GetClientRect(terminalWindow, &client)) {
    SizeTerminal(terminalWindow, unsigned(client.bottom), unsigned(client.right));
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return CreateMainWindow(window);
    case WM_SIZE:
      LayoutMainWindow(window, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_COMMAND:
      RunMenuCommand(window, LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
    case WM_DEVICECHANGE:
      NoticeDeviceChange(window, wParam);
      return TRUE;
    case WM_KEYDOWN:
      SendMessageW(terminalWindow, WM_KEYDOWN, wParam, lParam);
      return 0;
    case WM_CHAR:
      SetFocus(terminalWindow);
      SendMessageW(terminalWindow, WM_CHAR, wParam, lParam);
      return 0;
    case WM_CLOSE:
      if (MessageBoxUtf8(terminalWindow, "終了しますか?", "通信端末", MB_ICONQUESTION | MB_OKCANCEL) == IDOK) {
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      DestroyMainWindow(window);
      return 0;
    case WM_INITMENUPOPUP:
      ShowTraceItem(window);
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
