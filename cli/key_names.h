// Keys named as xdotool names them ("a", "shift+a", "ctrl+shift+z", "Return",
// "KP_5", "Caps_Lock"), turned into the key-downs and key-ups the terminal
// window receives for them, with the Windows virtual-key codes of a Japanese
// (JIS) keyboard.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One key message as the window receives it.
struct KeyEvent {
  unsigned virtualKey;
  bool down;     // a key-down; false for a key-up
  bool altHeld;  // the Alt key is down with it
};

// The events of one stroke: the held keys (shift, ctrl, alt, super) go down
// in the order written, the last key goes down and up, the held keys come up
// in reverse order. An upper-case letter or a shifted mark ("A", "exclam") is
// typed with Shift, as xdotool types it. False, with `error`, for a name the
// window has no key for, and for strokes the window never turns into a key
// report: Alt with a key but without Ctrl, and F10 (the system's menu keys),
// and Shift with Page Up or Page Down (its connect and disconnect commands).
bool KeyEventsFromName(std::string_view name, std::vector<KeyEvent>& events, std::string& error);
