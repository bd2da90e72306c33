#include "terminal/input/key_data.h"

KeyData Key_Data = {};

void InitKeyboardState(bool capsLockOn, bool kanaLockOn) {
  Key_Data = {};
  SetLockModes(capsLockOn, kanaLockOn);
}

void SetLockModes(bool capsLockOn, bool kanaLockOn) {
  Key_Data.modes &= std::uint8_t(~(ModeCapsLock | ModeKanaLock));
  if (capsLockOn) Key_Data.modes |= ModeCapsLock;
  if (kanaLockOn) Key_Data.modes |= ModeKanaLock;
}

bool ImeInputModeOn() { return (Key_Data.modes & ModeImeInput) != 0; }

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
