#include "terminal/ui/status_bar.h"

#include <commctrl.h>

#include "terminal/ui/view_geometry.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

HWND CreateStatusBar(HWND mainWindow) {
  return CreateStatusWindowW(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, L"", mainWindow, 0);
}

void LayoutStatusPanes(HWND mainWindow) {
  RECT client;
  GetClientRect(mainWindow, &client);
  std::array<int, StatusPaneCount> edges = StatusPaneEdges(client.right - client.left);
  SendMessageW(statusBar, SB_SETPARTS, StatusPaneCount, reinterpret_cast<LPARAM>(edges.data()));
}

void SetPaneText(int pane, std::string_view text, TextCoding coding) {
  if (statusBar == nullptr) return;
  std::wstring wide = WideText(text, coding);
  SendMessageW(statusBar, SB_SETTEXTW, WPARAM(pane), reinterpret_cast<LPARAM>(wide.c_str()));
}
