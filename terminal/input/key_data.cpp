#include "terminal/input/key_data.h"

void InitKeyboardState(KeyData& keys, bool capsLockOn, bool kanaLockOn) {
  keys = {};
  SetLockModes(keys, capsLockOn, kanaLockOn);
}

void SetLockModes(KeyData& keys, bool capsLockOn, bool kanaLockOn) {
  keys.modes &= std::uint8_t(~(ModeCapsLock | ModeKanaLock));
  if (capsLockOn) keys.modes |= ModeCapsLock;
  if (kanaLockOn) keys.modes |= ModeKanaLock;
}

bool ImeInputModeOn(const KeyData& keys) { return (keys.modes & ModeImeInput) != 0; }

void EncodeKeyReport(const KeyData& report, std::uint8_t bytes[KeyReportSize]) {
  bytes[0] = report.modifiers;
  bytes[1] = report.modes;
  bytes[2] = std::uint8_t(report.keyCode & 0xFF);
  bytes[3] = std::uint8_t(report.keyCode >> 8);
  bytes[4] = std::uint8_t(report.jisCode & 0xFF);
  bytes[5] = std::uint8_t(report.jisCode >> 8);
  bytes[6] = report.virtualKey;
  bytes[7] = report.usage;
}
