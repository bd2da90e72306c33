#include <windows.h>

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/receive_plan.h"
#include "terminal/link/receive_stage.h"
#include "terminal/link/reconnect.h"
#include "terminal/link/serial_link.h"
#include "terminal/link/window_trace.h"

namespace {

constexpr WPARAM DisconnectCommand = 257;
// How often the terminal is told the time while it awaits words: its bounds
// (seconds) are kept to within this.
constexpr UINT AwaitTickMs = 50;

void CALLBACK ContinuePump(HWND window, UINT, UINT_PTR, DWORD) {
  KillTimer(window, PumpTimerId);
  ReceivePump(window, 0, CommNotifyEvent);
}

void ShowBlockSize(int lastBlock) {
  linkSession.host->SetStatusText(ReceivedPane, ReceivedCountText(lastBlock), TextCoding::Utf8);
}

void StopAwaitTicks(HWND window) {
  if (linkSession.awaitTicking) KillTimer(window, AwaitTimerId);
  linkSession.awaitTicking = false;
}

void CALLBACK TickAwaited(HWND window, UINT, UINT_PTR, DWORD) {
  Terminal* terminal = linkSession.terminal;
  if (terminal != nullptr) terminal->Tick(GetTickCount64());
  if (terminal == nullptr || !terminal->Waiting()) StopAwaitTicks(window);
}

// While the terminal awaits words a timer tells it the time, so that a
// device that stops in the middle of a sequence is given up in time.
void FollowAwaited(HWND window, const Terminal& terminal) {
  if (!terminal.Waiting()) return StopAwaitTicks(window);
  if (!linkSession.awaitTicking) SetTimer(window, AwaitTimerId, AwaitTickMs, TickAwaited);
  linkSession.awaitTicking = true;
}

// Repaints whatever is invalid in the program's windows (the terminal view and
// the status bar) now, without waiting for the message loop.
void RepaintNow(HWND window) {
  RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Input or a command waiting for the user-interface thread (paint and timer
// messages do not count: the pump repaints itself).
bool InputWaiting() {
  MSG message;
  return PeekMessageW(&message, nullptr, 0, 0,
                      PM_NOREMOVE | PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE) != FALSE;
}

// The device has gone: what the terminal awaited ends with its message, the
// connection is closed as by the disconnect command (posted to the main
// window, so the command's own handling runs, also the connection mark) and
// the user is told once. With automatic reconnect on, the loss is its
// business instead, and no box may stop it: the close that follows ends what
// the terminal awaited without a message, as a disconnect does.
void ReportDeviceLost(HWND window, Terminal& terminal) {
  if (linkSession.lossReported) return;
  linkSession.lossReported = true;
  if (TakeOverDeviceLoss(window)) return;
  WindowTrace().Connection(ConnectionEvent::Lost, "");
  terminal.EndOfInput();
  PostMessageW(GetAncestor(window, GA_ROOT), WM_COMMAND, DisconnectCommand, 0);
  ShowLinkMessage(DeviceLostText, MessageIcon::Warning);
}

// Line errors the device cleared (its reads and the watcher's status
// queries), shown when the record asks for them.
void ShowLineErrors(const TerminalState& state) {
  const DWORD errors = linkSession.device.TakeLineErrors();
  if (errors != 0 && state.displayErrors) {
    linkSession.host->SetStatusText(LineErrorPane, LineErrorText(errors), TextCoding::Utf8);
  }
}

// Takes everything the device has queued into the receive stage (at most what
// the stage has room for). The stage keeps a lone byte, so the device read
// need not be rounded to whole words.
int FetchWaiting(const TerminalState& state) {
  ReceiveStage& stage = linkSession.received;
  const int room = MakeStageRoom(stage);
  std::size_t got = 0;
  std::string error;
  const DeviceRead read = linkSession.device.Read(StageRoom(stage), std::size_t(room), got, error);
  ShowLineErrors(state);
  if (read == DeviceRead::Gone) {
    linkSession.deviceLost = true;
    return ClosedPort;
  }
  if (got > 0) AddToStage(stage, int(got));
  return int(got);
}

}  // namespace

// Hands out the staged bytes in even blocks, asking the device only when the
// stage cannot fill the block. Bytes staged before the device was lost are
// still handed out.
int ReadBlock(std::uint8_t* buffer, int maximum) {
  const Terminal* terminal = linkSession.terminal;
  if (terminal == nullptr || !terminal->state.connected) return ClosedPort;
  ReceiveStage& stage = linkSession.received;
  if (!linkSession.deviceLost && !StageCanServe(stage, maximum)) FetchWaiting(terminal->state);
  const int n = TakeFromStage(stage, buffer, maximum);
  return n == 0 && linkSession.deviceLost ? ClosedPort : n;
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
int ReceivePump(HWND window, WPARAM, LPARAM) {
  Terminal* terminal = linkSession.terminal;
  if (terminal == nullptr || !terminal->state.connected) return 0;
  std::uint8_t block[PumpBlockBytes];
  int lastBlock = 0;
  for (;;) {
    const int n = ReadBlock(block, PumpBlockBytes);
    if (n == ClosedPort) {
      if (terminal->state.connected && linkSession.deviceLost) ReportDeviceLost(window, *terminal);
      return 0;
    }
    if (n == 0) break;
    ++linkSession.dataBlocks;
    WindowTrace().Received(block, std::size_t(n));
    terminal->Receive(block, std::size_t(n));
    WindowTrace().Flush();
    // A message box of the interpreter may have let the disconnect command run.
    if (!terminal->state.connected) return 0;
    lastBlock = n;
    if (RepaintDue(linkSession.pacer, GetTickCount64())) {
      ShowBlockSize(lastBlock);
      RepaintNow(window);
      if (InputWaiting()) {
        WindowTrace().Sync();
        FollowAwaited(window, *terminal);
        SetTimer(window, PumpTimerId, USER_TIMER_MINIMUM, ContinuePump);
        return 1;
      }
    }
  }
  if (lastBlock > 0) ShowBlockSize(lastBlock);
  WindowTrace().Sync();
  FollowAwaited(window, *terminal);
  SetEvent(linkSession.pumpDoneEvent);
  return 1;
}
