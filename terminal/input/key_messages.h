// Key-down and key-up of the terminal window.
#pragma once

#include "terminal/input/key_translation.h"

// What the input method should be told after a key-down.
enum class ImeRequest { None, Open, Close };

// What the window procedure does after the key has been handled here.
struct KeyOutcome {
  bool defaultProcessing;  // hand the message to the default window procedure
  ImeRequest ime;          // open or close the window's input method first
};

// Key-down (WM_KEYDOWN): Alt state, the Kanji key's IME toggle, and outside
// IME input mode the key report with its status text in pane 1.
KeyOutcome KeyDown(Keyboard& keyboard, const KeyStroke& stroke);

// Key-up (WM_KEYUP): Alt state and the release of Shift, Ctrl and the Windows keys.
KeyOutcome KeyUp(KeyData& keys, const KeyStroke& stroke);

// The release of a key, whichever window receives it: Shift, Ctrl and the
// Windows keys clear their `modifiers` bits. True for those keys. Nothing is
// sent or shown.
bool ReleaseModifierKey(KeyData& keys, unsigned virtualKey);
