// The keyboard and input-method branches of the terminal window procedure.
//
// The terminal window procedure routes these messages here and returns what
// the handler returns:
//   WM_KEYDOWN         -> TerminalKeyDown
//   WM_KEYUP           -> TerminalKeyUp
//   WM_IME_COMPOSITION -> TerminalImeComposition
// Default processing, where a key needs it, is done inside (DefWindowProcW for
// a Unicode window, DefWindowProcA otherwise).
#pragma once

#include <windows.h>

#include <cstdint>

#include "terminal/input/keyboard.h"

// Keyboard-state initialisation from the keyboard's own Caps Lock and Kana
// toggles. Run once in CreateTerminalState, before any key is handled.
void InitKeyboardStateFromKeyboard(KeyData& keys);

// The Caps Lock and Kana bits of `modes` read again from the keyboard's
// toggles; run when the terminal window gets the keyboard focus.
void ReadLockModesFromKeyboard(KeyData& keys);

// Makes every release of Shift, Ctrl or a Windows key clear its `modifiers`
// bits in `keys`, whichever of the calling thread's windows receives it: the
// main window does not forward key-ups, so the Shift of the connect
// accelerator would otherwise stay held. Until StopWatchingKeyReleases.
void WatchKeyReleases(KeyData& keys);
void StopWatchingKeyReleases();

LRESULT TerminalKeyDown(HWND window, Keyboard& keyboard, WPARAM wParam, LPARAM lParam);
LRESULT TerminalKeyUp(HWND window, KeyData& keys, WPARAM wParam, LPARAM lParam);

// In IME input mode sends the result string (SendImeResult); otherwise drops
// the message without default processing. Returns 0.
LRESULT TerminalImeComposition(HWND window, Keyboard& keyboard, WPARAM wParam, LPARAM lParam);

// Sends the result string of a composition message, then gives the message
// to default processing.
void SendImeResult(HWND window, KeyboardOutput& output, WPARAM wParam, LPARAM lParam);

// The pieces of SendImeResult after the result string has been read: one
// character in code page 932 (the Cp932CharacterEncoder of the Windows build),
// and a UTF-16 text encoded and sent.
int EncodeCp932Character(const char16_t* character, int unitCount, std::uint8_t bytes[2]);
void SendComposedUtf16(KeyboardOutput& output, const char16_t* units, int unitCount);
