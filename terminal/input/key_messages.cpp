#include "terminal/input/key_messages.h"

#include <cstdio>

#include "terminal/input/key_data.h"
#include "terminal/input/virtual_keys.h"
#include "terminal/model/platform.h"

namespace {

constexpr int DiagnosticsPane = 1;

void TrackAlt(const KeyStroke& stroke) {
  if (stroke.altHeld) {
    Key_Data.modifiers |= ModifierAlt;
  } else {
    Key_Data.modifiers &= std::uint8_t(~ModifierAlt);
  }
}

void ShowKeyStatus() {
  char text[128];
  std::snprintf(text, sizeof text, "鍵盤入力データ：%04x, 9821コード：%04x, 修飾鍵盤：%04x",
                unsigned(Key_Data.jisCode), unsigned(Key_Data.keyCode),
                unsigned(Key_Data.modifiers));
  platform->SetStatusText(DiagnosticsPane, text, TextCoding::Utf8);
}

void ShowUnknownKeyStatus(unsigned virtualKey) {
  char text[64];
  std::snprintf(text, sizeof text, "不明の鍵盤入力：%04x", virtualKey);
  platform->SetStatusText(DiagnosticsPane, text, TextCoding::Utf8);
}

// The Kanji key switches between direct key mode and IME input mode, in either mode.
KeyOutcome ToggleImeInputMode() {
  Key_Data.modes ^= ModeImeInput;
  return {false, ImeInputModeOn() ? ImeRequest::Open : ImeRequest::Close};
}

}  // namespace

KeyOutcome KeyDown(Window window, const KeyStroke& stroke) {
  TrackAlt(stroke);
  if (stroke.virtualKey == VkKanji) return ToggleImeInputMode();
  // In IME input mode the keys belong to the input method.
  if (ImeInputModeOn()) return {true, ImeRequest::None};
  if (TranslateKey(window, stroke) == 0) {
    ShowKeyStatus();
    return {false, ImeRequest::None};
  }
  ShowUnknownKeyStatus(stroke.virtualKey);
  return {true, ImeRequest::None};
}

KeyOutcome KeyUp(const KeyStroke& stroke) {
  TrackAlt(stroke);
  return {!ReleaseModifierKey(stroke.virtualKey), ImeRequest::None};
}

bool ReleaseModifierKey(unsigned virtualKey) {
  std::uint8_t bits = 0;
  switch (virtualKey) {
    case VkShift: bits = ModifierShift; break;
    case VkControl: bits = ModifierCtrl; break;
    case VkLWin: bits = ModifierLeftWindows; break;
    case VkRWin: bits = ModifierRightWindows; break;
    default: return false;
  }
  Key_Data.modifiers &= std::uint8_t(~bits);
  return true;
}
