#include "terminal/input/key_translation.h"

#include "terminal/input/key_data.h"
#include "terminal/input/key_jis_tables.h"
#include "terminal/input/virtual_keys.h"

namespace {

constexpr std::uint32_t AltDownFlag = 1u << 29;
constexpr std::uint16_t NoCharacter = 0xFFFF;

// PC-9821 key codes of the letters A-Z.
constexpr std::uint8_t LetterKeyCodes[26] = {
    0x1D, 0x2D, 0x2B, 0x1F, 0x12, 0x20, 0x21, 0x22, 0x17, 0x23, 0x24, 0x25, 0x2F,
    0x2E, 0x18, 0x19, 0x10, 0x13, 0x1E, 0x14, 0x16, 0x2C, 0x11, 0x2A, 0x15, 0x29,
};

// PC-9821 key codes of the keypad digits 0-9.
constexpr std::uint8_t KeypadKeyCodes[10] = {
    0x4E, 0x4A, 0x4B, 0x4C, 0x46, 0x47, 0x48, 0x42, 0x43, 0x44,
};

constexpr std::uint16_t FullWidthDigitZero = 0x2330;

struct FixedKey {
  unsigned virtualKey;
  KeyEntry entry;
};

// The keys whose fields are not a run over a range of virtual keys.
constexpr FixedKey FixedKeys[] = {
    {VkEscape, {KeyKind::Character, 0x00, 0x29, 0}},
    {VkOemMinus, {KeyKind::Character, 0x0B, 0x2D, 0}},
    {VkOem7, {KeyKind::Character, 0x0C, 0x2E, 0}},
    {VkOem5, {KeyKind::Character, 0x0D, 0x89, 0}},
    {VkBack, {KeyKind::Character, 0x0E, 0x2A, 0}},
    {VkTab, {KeyKind::Character, 0x0F, 0x2B, 0}},
    {VkOem3, {KeyKind::Character, 0x1A, 0x2F, 0}},
    {VkOem4, {KeyKind::Character, 0x1B, 0x30, 0}},
    {VkReturn, {KeyKind::Character, 0x1C, 0x28, 0}},
    {VkOemPlus, {KeyKind::Character, 0x26, 0x33, 0}},
    {VkOem1, {KeyKind::Character, 0x27, 0x34, 0}},
    {VkOem6, {KeyKind::Character, 0x28, 0x32, 0}},
    {VkOemComma, {KeyKind::Character, 0x30, 0x36, 0}},
    {VkOemPeriod, {KeyKind::Character, 0x31, 0x37, 0}},
    {VkOem2, {KeyKind::Character, 0x32, 0x38, 0}},
    {VkOem8, {KeyKind::Character, 0x33, 0x87, 0}},
    {VkSpace, {KeyKind::Character, 0x34, 0x2C, 0}},
    {VkMultiply, {KeyKind::Keypad, 0x45, 0x55, 0x215F}},   // ×
    {VkAdd, {KeyKind::Keypad, 0x49, 0x57, 0x215C}},        // ＋
    {VkSeparator, {KeyKind::Keypad, 0x4F, 0x8C, 0x2124}},  // ，
    {VkSubtract, {KeyKind::Keypad, 0x40, 0x56, 0x215D}},   // －
    {VkDecimal, {KeyKind::Keypad, 0x50, 0x63, 0x2125}},    // ．
    {VkDivide, {KeyKind::Keypad, 0x41, 0x54, 0x2160}},     // ÷
    {VkPause, {KeyKind::NoCharacter, 0x60, 0x48, 0}},
    // The PC-9821 ROLL DOWN and ROLL UP keys; their usages are each other's.
    {VkPrior, {KeyKind::NoCharacter, 0x37, 0x4E, 0}},
    {VkNext, {KeyKind::NoCharacter, 0x36, 0x4B, 0}},
    {VkEnd, {KeyKind::NoCharacter, 0x3F, 0x4D, 0}},
    {VkHome, {KeyKind::NoCharacter, 0x3E, 0x4A, 0}},
    {VkLeft, {KeyKind::NoCharacter, 0x3B, 0x50, 0}},
    {VkUp, {KeyKind::NoCharacter, 0x3A, 0x52, 0}},
    {VkRight, {KeyKind::NoCharacter, 0x3C, 0x4F, 0}},
    {VkDown, {KeyKind::NoCharacter, 0x3D, 0x51, 0}},
    {VkInsert, {KeyKind::NoCharacter, 0x38, 0x49, 0}},
    {VkDelete, {KeyKind::NoCharacter, 0x39, 0x4C, 0}},
    {VkF11, {KeyKind::NoCharacter, 0x52, 0x44, 0}},
    {VkF12, {KeyKind::NoCharacter, 0x53, 0x45, 0}},
};

bool InRange(unsigned value, unsigned first, unsigned last) {
  return value >= first && value <= last;
}

bool FindRangeKey(unsigned vk, KeyEntry& entry) {
  if (InRange(vk, '1', '9')) {
    entry = {KeyKind::Character, std::uint8_t(vk - '0'), std::uint8_t(0x1E + vk - '1'), 0};
  } else if (vk == '0') {
    entry = {KeyKind::Character, 0x0A, 0x27, 0};
  } else if (InRange(vk, 'A', 'Z')) {
    entry = {KeyKind::Character, LetterKeyCodes[vk - 'A'], std::uint8_t(0x04 + vk - 'A'), 0};
  } else if (InRange(vk, VkNumpad0, VkNumpad9)) {
    const unsigned digit = vk - VkNumpad0;
    entry = {KeyKind::Keypad, KeypadKeyCodes[digit],
             std::uint8_t(digit == 0 ? 0x62 : 0x58 + digit),
             std::uint16_t(FullWidthDigitZero + digit)};
  } else if (InRange(vk, VkF1, VkF10)) {
    entry = {KeyKind::NoCharacter, std::uint8_t(0x62 + vk - VkF1), std::uint8_t(0x3A + vk - VkF1), 0};
  } else if (InRange(vk, VkF13, VkF15)) {
    entry = {KeyKind::NoCharacter, std::uint8_t(0x54 + vk - VkF13), std::uint8_t(0x68 + vk - VkF13), 0};
  } else {
    return false;
  }
  return true;
}

// Shift, Ctrl, the Windows keys and the locks change the keyboard state and send nothing.
bool ApplyStateKey(KeyData& keys, unsigned vk) {
  switch (vk) {
    case VkShift: keys.modifiers |= ModifierShift; return true;
    case VkControl: keys.modifiers |= ModifierCtrl; return true;
    case VkLWin: keys.modifiers |= ModifierLeftWindows; return true;
    case VkRWin: keys.modifiers |= ModifierRightWindows; return true;
    case VkCapital: keys.modes ^= ModeCapsLock; return true;
    case VkKana: keys.modes ^= ModeKanaLock; return true;
    case VkNonConvert:
    case VkKanji: return true;
    default: return false;
  }
}

std::uint16_t JisCodeOf(const KeyData& keys, const KeyEntry& entry) {
  switch (entry.kind) {
    case KeyKind::Character: return LookupKeyJis(keys.modifiers, keys.modes, entry.keyCode);
    case KeyKind::Keypad: return entry.jisCode;
    case KeyKind::NoCharacter: break;
  }
  return NoCharacter;
}

// The eight bytes of Key_Data, with nothing around them.
void SendKeyReport(Keyboard& keyboard) {
  std::uint8_t bytes[KeyReportSize];
  EncodeKeyReport(keyboard.Key_Data, bytes);
  keyboard.output.SendFromUser(bytes, KeyReportSize);
}

}  // namespace

KeyStroke KeyStrokeFromMessage(std::uintptr_t wParam, std::uint32_t lParam) {
  return {unsigned(wParam), std::uint16_t(lParam & 0xFFFF), (lParam & AltDownFlag) != 0};
}

bool FindKeyEntry(unsigned virtualKey, KeyEntry& entry) {
  for (const FixedKey& key : FixedKeys) {
    if (key.virtualKey == virtualKey) {
      entry = key.entry;
      return true;
    }
  }
  return FindRangeKey(virtualKey, entry);
}

int TranslateKey(Keyboard& keyboard, const KeyStroke& stroke) {
  KeyData& keys = keyboard.Key_Data;
  if (ApplyStateKey(keys, stroke.virtualKey)) return 0;
  KeyEntry entry;
  if (stroke.virtualKey == VkApps) {
    // The Applications key reports the low byte of the repeat count as its key code.
    entry = {KeyKind::NoCharacter, std::uint8_t(stroke.repeatCount & 0xFF), 0x65, 0};
  } else if (!FindKeyEntry(stroke.virtualKey, entry)) {
    return -1;
  }
  keys.keyCode = entry.keyCode;
  keys.virtualKey = std::uint8_t(stroke.virtualKey);
  keys.usage = entry.usage;
  keys.jisCode = JisCodeOf(keys, entry);
  SendKeyReport(keyboard);
  return 0;
}
