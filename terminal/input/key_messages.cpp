#include "terminal/input/key_messages.h"

#include <cstdio>

#include "terminal/input/key_data.h"
#include "terminal/input/virtual_keys.h"

namespace {


void TrackAlt(KeyData& keys, const KeyStroke& stroke) {
  if (stroke.altHeld) {
    keys.modifiers |= ModifierAlt;
  } else {
    keys.modifiers &= std::uint8_t(~ModifierAlt);
  }
}

void ShowKeyStatus(Keyboard& keyboard) {
  const KeyData& keys = keyboard.Key_Data;
  char text[128];
  std::snprintf(text, sizeof text, "鍵盤入力データ：%04x, 9821コード：%04x, 修飾鍵盤：%04x",
                unsigned(keys.jisCode), unsigned(keys.keyCode),
                unsigned(keys.modifiers));
  keyboard.output.KeyStatus(text, TextCoding::Utf8);
}

void ShowUnknownKeyStatus(Keyboard& keyboard, unsigned virtualKey) {
  char text[64];
  std::snprintf(text, sizeof text, "不明の鍵盤入力：%04x", virtualKey);
  keyboard.output.KeyStatus(text, TextCoding::Utf8);
}

// The Kanji key switches between direct key mode and IME input mode, in either mode.
KeyOutcome ToggleImeInputMode(KeyData& keys) {
  keys.modes ^= ModeImeInput;
  return {false, ImeInputModeOn(keys) ? ImeRequest::Open : ImeRequest::Close};
}

}  // namespace

KeyOutcome KeyDown(Keyboard& keyboard, const KeyStroke& stroke) {
  KeyData& keys = keyboard.Key_Data;
  TrackAlt(keys, stroke);
  if (stroke.virtualKey == VkKanji) return ToggleImeInputMode(keys);
  // In IME input mode the keys belong to the input method.
  if (ImeInputModeOn(keys)) return {true, ImeRequest::None};
  if (TranslateKey(keyboard, stroke) == 0) {
    ShowKeyStatus(keyboard);
    return {false, ImeRequest::None};
  }
  ShowUnknownKeyStatus(keyboard, stroke.virtualKey);
  return {true, ImeRequest::None};
}

KeyOutcome KeyUp(KeyData& keys, const KeyStroke& stroke) {
  TrackAlt(keys, stroke);
  return {!ReleaseModifierKey(keys, stroke.virtualKey), ImeRequest::None};
}

bool ReleaseModifierKey(KeyData& keys, unsigned virtualKey) {
  std::uint8_t bits = 0;
  switch (virtualKey) {
    case VkShift: bits = ModifierShift; break;
    case VkControl: bits = ModifierCtrl; break;
    case VkLWin: bits = ModifierLeftWindows; break;
    case VkRWin: bits = ModifierRightWindows; break;
    default: return false;
  }
  keys.modifiers &= std::uint8_t(~bits);
  return true;
}
