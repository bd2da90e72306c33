#include "terminal/link/link_session.h"

#include "terminal/link/link_texts.h"
#include "terminal/link/serial_link.h"

LinkSession linkSession{};

namespace {

void CloseEvents() {
  if (linkSession.pumpDoneEvent != nullptr) CloseHandle(linkSession.pumpDoneEvent);
  linkSession.pumpDoneEvent = nullptr;
}

}  // namespace

void SetLinkHost(HostWindow& host) { linkSession.host = &host; }

bool StartLink(Terminal& terminal, HWND notifyWindow) {
  linkSession.terminal = &terminal;
  linkSession.notifyWindow = notifyWindow;
  linkSession.pumpDoneEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  if (linkSession.device.Ready() && linkSession.pumpDoneEvent) return true;
  CloseEvents();
  linkSession.terminal = nullptr;
  return false;
}

void EndLink(HWND mainWindow) {
  if (linkSession.terminal == nullptr) return;
  if (linkSession.terminal->state.connected) CloseConnection(mainWindow);
  CloseEvents();
  linkSession.terminal = nullptr;
}

void ShowLinkMessage(const char* text, MessageIcon icon) {
  if (linkSession.host != nullptr) {
    linkSession.host->ShowMessage(text, TextCoding::Utf8, LinkCaption, icon);
  }
}

void StartLinkSession() {
  linkSession.deviceLost = false;
  linkSession.lossReported = false;
  EmptyStage(linkSession.received);
}
