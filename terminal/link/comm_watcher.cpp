#include <windows.h>

#include <algorithm>

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/serial_link.h"

namespace {

// Under Wine the received-character event stays raised while any byte is
// queued, also a lone byte that the pump leaves for its partner: a storm of
// notifications with nothing to read. Once StormEmptyRuns notifications in a
// row have brought no data, the watcher pauses before each further one, a
// little longer each time up to MostIdlePauseMs, so that it does not drive the
// pump round in a tight loop (the partner is still picked up within
// MostIdlePauseMs). A single empty notification is common on Windows (the
// pump had already read the bytes it was for) and costs the next data nothing.
constexpr DWORD StormEmptyRuns = 4;
constexpr DWORD IdleNotificationPauseMs = 10;
constexpr DWORD MostIdlePauseMs = 50;

// Under Wine a pending wait is also aborted whenever the user-interface thread
// asks the device for its status, and without end once the other side of a
// pseudo-terminal has gone. An aborted wait therefore makes the pump look at
// the device at most this often: a vanished device is noticed within about
// half a second, and a live idle one is not polled round in a circle.
constexpr ULONGLONG DeviceCheckIntervalMs = 500;

std::wstring Wide(const char* utf8) {
  wchar_t text[128] = {};
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text, 127);
  return text;
}

// What the pump had read when the previous notification was posted.
struct NotifyPacing {
  bool posted;
  std::uint32_t blocksAtPost;
  DWORD emptyRuns;  // notifications in a row that brought no data
};

// Waits until the pump has finished with the previous notification and posts
// the next one. False when the connection was closed meanwhile.
bool Notify(NotifyPacing& pacing) {
  WaitForSingleObject(linkSession.pumpDoneEvent, INFINITE);
  if (pacing.posted && linkSession.dataBlocks == pacing.blocksAtPost) {
    ++pacing.emptyRuns;
  } else {
    pacing.emptyRuns = 0;
  }
  if (pacing.emptyRuns > StormEmptyRuns) {
    Sleep(std::min(IdleNotificationPauseMs * (pacing.emptyRuns - StormEmptyRuns), MostIdlePauseMs));
  }
  if (!linkSession.watching) return false;
  pacing.posted = true;
  pacing.blocksAtPost = linkSession.dataBlocks;
  ResetEvent(linkSession.pumpDoneEvent);
  PostMessageW(linkSession.notifyWindow, WM_COMMNOTIFY, WPARAM(linkSession.port), CommNotifyEvent);
  return true;
}

enum class WaitOutcome { Events, Aborted, Failed };

// One wait for the device's events.
WaitOutcome WaitForEvents(HANDLE port, OVERLAPPED& overlapped, DWORD& events) {
  events = 0;
  if (WaitCommEvent(port, &events, &overlapped)) return WaitOutcome::Events;
  DWORD moved = 0;
  if (GetLastError() == ERROR_IO_PENDING && GetOverlappedResult(port, &overlapped, &moved, TRUE)) {
    return WaitOutcome::Events;
  }
  return GetLastError() == ERROR_OPERATION_ABORTED ? WaitOutcome::Aborted : WaitOutcome::Failed;
}

void Watch(OVERLAPPED& overlapped) {
  HANDLE port = linkSession.port;
  NotifyPacing pacing{false, 0, 0};
  ULONGLONG lastCheck = 0;
  while (linkSession.watching) {
    DWORD events = 0;
    const WaitOutcome outcome = WaitForEvents(port, overlapped, events);
    if (!linkSession.watching) break;
    if (outcome == WaitOutcome::Failed) {
      // A device that refuses a wait has gone; waiting again would only fail
      // again at once. Wake the pump so that it closes the connection.
      linkSession.deviceLost = true;
      pacing.posted = false;
      Notify(pacing);
      break;
    }
    if (outcome == WaitOutcome::Aborted) {
      // Not aborted by CloseConnection: let the pump look at the device (it
      // reports a vanished one as failed), now and then.
      const ULONGLONG now = GetTickCount64();
      if (now - lastCheck < DeviceCheckIntervalMs) {
        Sleep(IdleNotificationPauseMs);
        continue;
      }
      lastCheck = now;
      if (!Notify(pacing)) break;
    } else if (events & EV_RXCHAR) {
      if (!Notify(pacing)) break;
    } else if (events == 0) {
      // An empty event word while connected should not happen; pausing keeps
      // a device that reports it over and over from spinning this thread.
      Sleep(IdleNotificationPauseMs);
    }
  }
}

}  // namespace

DWORD WINAPI CommWatcher(LPVOID) {
  OVERLAPPED overlapped{};
  overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD result = 0;
  if (overlapped.hEvent == nullptr) {
    // Not the user-interface thread: the platform's message box is not for it.
    MessageBoxW(nullptr, Wide(WatcherEventFailedText).c_str(), Wide(WatcherCaption).c_str(),
                MB_ICONWARNING);
  } else if (SetCommMask(linkSession.port, EV_RXCHAR)) {
    Watch(overlapped);
    result = 1;
  }
  if (overlapped.hEvent != nullptr) CloseHandle(overlapped.hEvent);
  // The end flag, cleared on every way out so that nobody waits for a watcher
  // that has already gone.
  linkSession.watcherThreadId = 0;
  return result;
}
