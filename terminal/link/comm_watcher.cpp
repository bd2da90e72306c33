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

// Under Wine a wait on a device without modem lines (a pseudo-terminal)
// reports bytes only if they are queued when it starts; otherwise it ends as
// aborted about a millisecond later, whatever arrives meanwhile, and so does
// every wait once the other side of a pseudo-terminal has gone. Waiting again
// at once would only poll, at the price of a thread that Wine starts for each
// wait, and a pause between waits would delay the data by as much. After an
// aborted wait the watcher therefore looks at the input queue itself, every
// QueuePollMs (a status query, far cheaper than a wait there), so that
// arriving data is noticed within about that time and a vanished device at
// once; every WaitRetryMs it tries a wait again, for a device whose waits work.
constexpr DWORD QueuePollMs = 2;
constexpr ULONGLONG WaitRetryMs = 500;

// A network port has no comm events: its socket is waited on, this long at a
// time, so that a cleared `watching` is seen.
constexpr int NetworkWaitMs = 50;

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
bool Notify(LinkSession& session, NotifyPacing& pacing) {
  WaitForSingleObject(session.pumpDoneEvent, INFINITE);
  if (pacing.posted && session.dataBlocks == pacing.blocksAtPost) {
    ++pacing.emptyRuns;
  } else {
    pacing.emptyRuns = 0;
  }
  if (pacing.emptyRuns > StormEmptyRuns) {
    Sleep(std::min(IdleNotificationPauseMs * (pacing.emptyRuns - StormEmptyRuns), MostIdlePauseMs));
  }
  if (!session.watching) return false;
  pacing.posted = true;
  pacing.blocksAtPost = session.dataBlocks;
  ResetEvent(session.pumpDoneEvent);
  PostMessageW(session.notifyWindow, WM_COMMNOTIFY, WPARAM(session.device.Handle()), CommNotifyEvent);
  return true;
}

enum class WaitOutcome { Received, Quiet, Aborted, Failed };

// One wait for the device's events.
WaitOutcome WaitForEvents(HANDLE port, OVERLAPPED& overlapped) {
  DWORD events = 0;
  if (!WaitCommEvent(port, &events, &overlapped)) {
    DWORD moved = 0;
    if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port, &overlapped, &moved, TRUE)) {
      return GetLastError() == ERROR_OPERATION_ABORTED ? WaitOutcome::Aborted : WaitOutcome::Failed;
    }
  }
  if (events & EV_RXCHAR) return WaitOutcome::Received;
  // An empty event word while connected should not happen; pausing keeps a
  // device that reports it over and over from spinning this thread.
  Sleep(IdleNotificationPauseMs);
  return WaitOutcome::Quiet;
}

// One look at the input queue, in place of a wait, and a pause when it is
// empty. The status query also clears the line errors: the device keeps them
// for the pump, which shows them.
WaitOutcome LookAtQueue(LinkSession& session) {
  DWORD queued = 0;
  if (!session.device.QueuedBytes(queued)) return WaitOutcome::Failed;
  if (queued > 0) return WaitOutcome::Received;
  Sleep(QueuePollMs);
  return WaitOutcome::Quiet;
}

void Watch(LinkSession& session, OVERLAPPED& overlapped) {
  HANDLE port = session.device.Handle();
  NotifyPacing pacing{false, 0, 0};
  ULONGLONG waitAgainAt = 0;  // until then the queue is looked at instead of waited on
  while (session.watching) {
    const WaitOutcome outcome =
        GetTickCount64() < waitAgainAt ? LookAtQueue(session) : WaitForEvents(port, overlapped);
    if (!session.watching) break;
    if (outcome == WaitOutcome::Failed) {
      // A device that refuses a wait or a status query has gone; asking again
      // would only fail again at once. Wake the pump so that it closes the
      // connection.
      session.deviceLost = true;
      pacing.posted = false;
      Notify(session, pacing);
      break;
    }
    if (outcome == WaitOutcome::Aborted) {
      // Not aborted by CloseConnection (which has cleared `watching`).
      waitAgainAt = GetTickCount64() + WaitRetryMs;
    } else if (outcome == WaitOutcome::Received && !Notify(session, pacing)) {
      break;
    }
  }
}

// Bytes, or the end of the connection, are told to the pump as received
// characters are; the pump finds the end when it reads.
void WatchNetwork(LinkSession& session, const NetworkSerialDevice& network) {
  NotifyPacing pacing{false, 0, 0};
  while (session.watching) {
    if (network.AwaitReadable(NetworkWaitMs) && !Notify(session, pacing)) break;
  }
}

}  // namespace

DWORD WINAPI CommWatcher(LPVOID argument) {
  LinkSession& session = *static_cast<LinkSession*>(argument);
  if (const NetworkSerialDevice* network = session.device.Network()) {
    WatchNetwork(session, *network);
    session.watcherThreadId = 0;
    return 1;
  }
  OVERLAPPED overlapped{};
  overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD result = 0;
  if (overlapped.hEvent == nullptr) {
    // Not the user-interface thread: the platform's message box is not for it.
    MessageBoxW(nullptr, Wide(WatcherEventFailedText).c_str(), Wide(WatcherCaption).c_str(),
                MB_ICONWARNING);
  } else if (SetCommMask(session.device.Handle(), EV_RXCHAR)) {
    Watch(session, overlapped);
    result = 1;
  }
  if (overlapped.hEvent != nullptr) CloseHandle(overlapped.hEvent);
  // The end flag, cleared on every way out so that nobody waits for a watcher
  // that has already gone.
  session.watcherThreadId = 0;
  return result;
}
