#include "terminal/link/link_session.h"

#include "terminal/link/serial_link.h"

namespace {

// The property of the top-level window that leads its timers to the session.
constexpr const wchar_t* SessionProperty = L"TalvorixLinkSession";

HWND RootOf(HWND window) { return GetAncestor(window, GA_ROOT); }

void CloseEvents(LinkSession& session) {
  if (session.pumpDoneEvent != nullptr) CloseHandle(session.pumpDoneEvent);
  session.pumpDoneEvent = nullptr;
}

}  // namespace

bool StartLink(LinkSession& session, Terminal& terminal, HWND notifyWindow) {
  session.terminal = &terminal;
  session.notifyWindow = notifyWindow;
  session.pumpDoneEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  if (session.device.Ready() && session.pumpDoneEvent && SetPropW(RootOf(notifyWindow), SessionProperty, &session)) {
    return true;
  }
  CloseEvents(session);
  session.terminal = nullptr;
  return false;
}

void EndLink(LinkSession& session) {
  if (session.terminal == nullptr) return;
  if (session.terminal->state.connected) CloseConnection(session);
  session.connection.Log().Close();
  CloseEvents(session);
  RemovePropW(RootOf(session.notifyWindow), SessionProperty);
  session.terminal = nullptr;
}

LinkSession* SessionOf(HWND window) { return static_cast<LinkSession*>(GetPropW(RootOf(window), SessionProperty)); }

void StartLinkSession(LinkSession& session) {
  session.deviceLost = false;
  session.lossReported = false;
  EmptyStage(session.received);
}
