// Program entry: the window classes, the main window and the message loop.
#include <windows.h>

#include "terminal/ui/main_window.h"
#include "terminal/ui/network_port_view.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

namespace {

// The client area the program starts with: 645 x 500 pixels at (192, 134).
constexpr RECT InitialClient{192, 134, 837, 634};

HWND CreateMainWindow(HINSTANCE instance) {
  RECT frame = InitialClient;
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE);
  return CreateWindowExW(0, MainClassName, WideText(ProgramCaption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                         nullptr, instance, nullptr);
}

int RunMessageLoop(HWND mainWindow) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorW(mainWindow, accelTable, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return int(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  if (previous == nullptr && !RegisterWindowClasses(instance)) return 0;
  accelTable = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
  HWND mainWindow = CreateMainWindow(instance);
  if (mainWindow == nullptr) return 0;
  ShowWindow(mainWindow, show);
  UpdateWindow(mainWindow);
  TakeNetworkPortArgument(mainWindow, commandLine);
  return RunMessageLoop(mainWindow);
}
