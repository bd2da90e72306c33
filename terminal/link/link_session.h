// What the Windows serial link keeps besides the record: the state of the
// current connection that the watcher, the pump and the transmitter share.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "terminal/model/platform.h"
#include "terminal/model/terminal_state.h"
#include "terminal/link/receive_stage.h"

struct LinkSession {
  // Set by whichever thread first sees the device fail (a USB adapter pulled
  // out); from then on nothing is read from it, and the pump closes the
  // connection as the disconnect command does.
  std::atomic<bool> deviceLost;
  bool lossReported;              // the user has been told for this connection
  std::atomic<std::uint32_t> dataBlocks;  // blocks the pump has read, for the watcher's pacing
  ReceiveStage received;          // taken from the device, not yet read (ReadBlock)
};

extern LinkSession linkSession;

// The pump's continuation timer on the terminal window (see ReceivePump).
constexpr UINT_PTR PumpTimerId = 0x7A11;

TerminalState* LinkState(HWND window);

inline OVERLAPPED* AsOverlapped(OverlappedBlock& block) { return reinterpret_cast<OVERLAPPED*>(&block); }

// Restarts an overlapped block for a new operation, keeping its event.
void RestartOverlapped(OverlappedBlock& block);

// A modal message with caption "通信ターミナル".
void ShowLinkMessage(HWND owner, const char* text, MessageIcon icon);

// Clears the per-connection state at connect.
void StartLinkSession();
