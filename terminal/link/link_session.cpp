#include "terminal/link/link_session.h"

#include "terminal/interpreter/interpreter.h"
#include "terminal/link/link_texts.h"

static_assert(sizeof(OverlappedBlock) == sizeof(OVERLAPPED), "OverlappedBlock must keep the OVERLAPPED layout");
static_assert(offsetof(OVERLAPPED, hEvent) == offsetof(OverlappedBlock, event), "event must be hEvent");

LinkSession linkSession{{false}, false, {0}, {}};

TerminalState* LinkState(HWND window) { return platform == nullptr ? nullptr : platform->StateOf(window); }

void RestartOverlapped(OverlappedBlock& block) {
  const Handle event = block.event;
  block = OverlappedBlock{};
  block.event = event;
}

void ShowLinkMessage(HWND owner, const char* text, MessageIcon icon) {
  platform->ShowMessage(owner, text, TextCoding::Utf8, LinkCaption, icon);
}

void StartLinkSession() {
  linkSession.deviceLost = false;
  linkSession.lossReported = false;
  RestartLocalEcho();
  EmptyStage(linkSession.received);
}
