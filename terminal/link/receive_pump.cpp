#include <windows.h>

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/receive_plan.h"
#include "terminal/link/receive_stage.h"
#include "terminal/link/reconnect.h"
#include "terminal/link/serial_link.h"

namespace {

// How often the terminal is told the time while it awaits words: its bounds
// (seconds) are kept to within this.
constexpr UINT AwaitTickMs = 50;
// How soon a pump that found a box of the terminal's up tries again.
constexpr UINT PumpRetryMs = 20;

// Shows what the terminal told during the call that just returned; the time
// the boxes were up was the user's.
void ShowTold(LinkSession& session, Terminal& terminal) {
  session.showingTold = true;
  const bool shown = session.host.ShowTold();
  session.showingTold = false;
  if (shown) terminal.RestartWaitClock();
}

// A timer that finds no session (the window's link has ended) ends itself.
void CALLBACK ContinuePump(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  if (LinkSession* session = SessionOf(window)) ReceivePump(*session);
}

void ShowBlockSize(LinkSession& session, int lastBlock) {
  session.host.SetStatusText(ReceivedPane, ReceivedCountText(lastBlock), TextCoding::Utf8);
}

void StopAwaitTicks(LinkSession& session) {
  if (session.awaitTicking) KillTimer(session.notifyWindow, AwaitTimerId);
  session.awaitTicking = false;
}

void CALLBACK TickAwaited(HWND window, UINT, UINT_PTR id, DWORD) {
  LinkSession* session = SessionOf(window);
  if (session == nullptr) {
    KillTimer(window, id);
    return;
  }
  if (session->showingTold) return;
  Terminal* terminal = session->terminal;
  if (terminal != nullptr) {
    terminal->Tick(GetTickCount64());
    ShowTold(*session, *terminal);
  }
  if (terminal == nullptr || !terminal->Waiting()) StopAwaitTicks(*session);
}

// While the terminal awaits words a timer tells it the time, so that a
// device that stops in the middle of a sequence is given up in time.
void FollowAwaited(LinkSession& session, const Terminal& terminal) {
  if (!terminal.Waiting()) return StopAwaitTicks(session);
  if (!session.awaitTicking) SetTimer(session.notifyWindow, AwaitTimerId, AwaitTickMs, TickAwaited);
  session.awaitTicking = true;
}

// Input or a command waiting for the user-interface thread (paint and timer
// messages do not count: the pump repaints itself).
bool InputWaiting() {
  MSG message;
  return PeekMessageW(&message, nullptr, 0, 0,
                      PM_NOREMOVE | PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE) != FALSE;
}

// The device has gone: what the terminal awaited ends with its message, then
// the view closes the connection as the disconnect command does and tells the
// user, once. With automatic reconnect on, the loss is its business instead,
// and no box may stop it: the close that follows ends what the terminal
// awaited without a message, as a disconnect does.
void ReportDeviceLost(LinkSession& session, Terminal& terminal) {
  if (session.lossReported) return;
  session.lossReported = true;
  if (TakeOverDeviceLoss(session)) return;
  session.trace.Writer().Connection(ConnectionEvent::Lost, "");
  terminal.EndOfInput();
  ShowTold(session, terminal);
  session.view.DeviceLost();
}

// Takes everything the device has queued into the receive stage (at most what
// the stage has room for). The stage keeps a lone byte, so the device read
// need not be rounded to whole words. The line errors the device cleared (its
// reads and the watcher's status queries) are told by the connection.
int FetchWaiting(LinkSession& session) {
  ReceiveStage& stage = session.received;
  const int room = MakeStageRoom(stage);
  std::size_t got = 0;
  std::string error;
  const DeviceRead read = session.connection.Read(StageRoom(stage), std::size_t(room), got, error);
  if (read == DeviceRead::Gone) {
    session.deviceLost = true;
    return ClosedPort;
  }
  if (got > 0) AddToStage(stage, int(got));
  return int(got);
}

}  // namespace

// Hands out the staged bytes in even blocks, asking the device only when the
// stage cannot fill the block. Bytes staged before the device was lost are
// still handed out.
int ReadBlock(LinkSession& session, std::uint8_t* buffer, int maximum) {
  const Terminal* terminal = session.terminal;
  if (terminal == nullptr || !terminal->state.connected) return ClosedPort;
  ReceiveStage& stage = session.received;
  if (!session.deviceLost && !StageCanServe(stage, maximum)) FetchWaiting(session);
  const int n = TakeFromStage(stage, buffer, maximum);
  return n == 0 && session.deviceLost ? ClosedPort : n;
}

// Pushes everything waiting into the terminal, block by block (the terminal
// logs each block before it interprets it).
//
// During a flood the pump repaints at most every RepaintIntervalMs; at those
// moments it gives way to waiting input or commands by continuing from a timer
// (timer messages come after input), keeping pumpDoneEvent reset so that no
// second notification is posted. It ends at the first empty read, instead of
// polling an idle device: the watcher posts again when data arrives. What the
// last blocks drew is painted by the message loop's own WM_PAINT once the
// thread is idle, or by the next paced repaint while data keeps coming.
int ReceivePump(LinkSession& session) {
  Terminal* terminal = session.terminal;
  if (terminal == nullptr || !terminal->state.connected) return 0;
  if (session.showingTold) {
    SetTimer(session.notifyWindow, PumpTimerId, PumpRetryMs, ContinuePump);
    return 1;
  }
  std::uint8_t block[PumpBlockBytes];
  int lastBlock = 0;
  for (;;) {
    const int n = ReadBlock(session, block, PumpBlockBytes);
    if (n == ClosedPort) {
      if (terminal->state.connected && session.deviceLost) ReportDeviceLost(session, *terminal);
      return 0;
    }
    if (n == 0) break;
    ++session.dataBlocks;
    session.trace.Writer().Received(block, std::size_t(n));
    terminal->Receive(block, std::size_t(n));
    session.trace.Writer().Flush();
    ShowTold(session, *terminal);
    // A box of what the terminal told may have let the disconnect command run.
    if (!terminal->state.connected) return 0;
    lastBlock = n;
    if (RepaintDue(session.pacer, GetTickCount64())) {
      ShowBlockSize(session, lastBlock);
      session.view.RepaintNow();
      if (InputWaiting()) {
        session.trace.Writer().Sync();
        FollowAwaited(session, *terminal);
        SetTimer(session.notifyWindow, PumpTimerId, USER_TIMER_MINIMUM, ContinuePump);
        return 1;
      }
    }
  }
  if (lastBlock > 0) ShowBlockSize(session, lastBlock);
  session.trace.Writer().Sync();
  FollowAwaited(session, *terminal);
  SetEvent(session.pumpDoneEvent);
  return 1;
}
