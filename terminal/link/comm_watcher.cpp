#include <windows.h>

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/serial_link.h"

namespace {

// Under Wine the received-character event stays raised while any byte is
// queued, also a lone byte that the pump leaves for its partner; the watcher
// then pauses this long after a notification that brought no data, so that it
// does not drive the pump round in a tight loop.
constexpr DWORD IdleNotificationPauseMs = 10;

std::wstring Wide(const char* utf8) {
  wchar_t text[128] = {};
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text, 127);
  return text;
}

// What the pump had read when the previous notification was posted.
struct NotifyPacing {
  bool posted;
  std::uint32_t blocksAtPost;
};

// Waits until the pump has finished with the previous notification and posts
// the next one. False when the connection was closed meanwhile.
bool Notify(TerminalState& state, NotifyPacing& pacing) {
  WaitForSingleObject(HANDLE(state.pumpDoneEvent), INFINITE);
  if (pacing.posted && linkSession.dataBlocks == pacing.blocksAtPost) Sleep(IdleNotificationPauseMs);
  if (!state.connected) return false;
  pacing = NotifyPacing{true, linkSession.dataBlocks};
  ResetEvent(HANDLE(state.pumpDoneEvent));
  PostMessageW(HWND(state.notifyWindow), WM_COMMNOTIFY, WPARAM(state.portHandle), CommNotifyEvent);
  return true;
}

// One wait for the device's events; false when the device refused it.
bool WaitForEvents(HANDLE port, OVERLAPPED& overlapped, DWORD& events) {
  events = 0;
  if (WaitCommEvent(port, &events, &overlapped)) return true;
  DWORD moved = 0;
  return GetLastError() == ERROR_IO_PENDING && GetOverlappedResult(port, &overlapped, &moved, TRUE);
}

void Watch(TerminalState& state, OVERLAPPED& overlapped) {
  HANDLE port = HANDLE(state.portHandle);
  NotifyPacing pacing{false, 0};
  while (state.connected) {
    DWORD events = 0;
    if (!WaitForEvents(port, overlapped, events)) {
      // A device that refuses a wait while connected has gone; waiting again
      // would only fail again at once. Wake the pump so that it closes.
      if (!state.connected) break;
      linkSession.deviceLost = true;
      pacing.posted = false;
      Notify(state, pacing);
      break;
    }
    // An empty event word while connected should not happen; pausing keeps a
    // device that reports it over and over from spinning this thread.
    if (events == 0 && state.connected) Sleep(IdleNotificationPauseMs);
    if ((events & EV_RXCHAR) && !Notify(state, pacing)) break;
  }
}

}  // namespace

DWORD WINAPI CommWatcher(LPVOID parameter) {
  TerminalState& state = *static_cast<TerminalState*>(parameter);
  OVERLAPPED overlapped{};
  overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD result = 0;
  if (overlapped.hEvent == nullptr) {
    // Not the user-interface thread: the platform's message box is not for it.
    MessageBoxW(nullptr, Wide(WatcherEventFailedText).c_str(), Wide(WatcherCaption).c_str(),
                MB_ICONWARNING);
  } else if (SetCommMask(HANDLE(state.portHandle), EV_RXCHAR)) {
    Watch(state, overlapped);
    result = 1;
  }
  if (overlapped.hEvent != nullptr) CloseHandle(overlapped.hEvent);
  // The end flag, cleared on every way out so that nobody waits for a watcher
  // that has already gone.
  state.watcherThreadId = 0;
  return result;
}
