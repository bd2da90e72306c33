// The key report and the program's keyboard state.
//
// One record for each keyboard (terminal/input/keyboard.h): the report of the
// last key sent, whose `modifiers` and `modes` bytes are also the live
// keyboard state. Its memory layout is the wire format of a key report
// (fields little-endian).
#pragma once

#include <cstddef>
#include <cstdint>

struct KeyData {
  std::uint8_t modifiers;   // USB HID boot-keyboard modifier byte
  std::uint8_t modes;       // Caps Lock 0x02, Kana lock 0x10, IME input mode 0x80
  std::uint16_t keyCode;    // PC-9821 key code
  std::uint16_t jisCode;    // JIS X 0208 code of the key's character, 0xFFFF for none
  std::uint8_t virtualKey;  // Windows virtual-key code
  std::uint8_t usage;       // USB HID Keyboard/Keypad page usage id
};

constexpr int KeyReportSize = 8;
static_assert(sizeof(KeyData) == KeyReportSize, "a key report is 8 bytes");
static_assert(offsetof(KeyData, modifiers) == 0, "key report layout");
static_assert(offsetof(KeyData, modes) == 1, "key report layout");
static_assert(offsetof(KeyData, keyCode) == 2, "key report layout");
static_assert(offsetof(KeyData, jisCode) == 4, "key report layout");
static_assert(offsetof(KeyData, virtualKey) == 6, "key report layout");
static_assert(offsetof(KeyData, usage) == 7, "key report layout");

// `modifiers` bits. Shift, Ctrl and Alt always set and clear both sides together.
constexpr std::uint8_t ModifierCtrl = 0x11;
constexpr std::uint8_t ModifierShift = 0x22;
constexpr std::uint8_t ModifierAlt = 0x44;
constexpr std::uint8_t ModifierLeftWindows = 0x08;
constexpr std::uint8_t ModifierRightWindows = 0x80;

// `modes` bits.
constexpr std::uint8_t ModeCapsLock = 0x02;
constexpr std::uint8_t ModeKanaLock = 0x10;
constexpr std::uint8_t ModeImeInput = 0x80;

// The keyboard state of a program that has just started: no report yet, no
// modifier held, the two locks as the keyboard has them, outside IME input mode.
void InitKeyboardState(KeyData& keys, bool capsLockOn, bool kanaLockOn);

// Sets the Caps Lock and Kana bits of `modes` to the keyboard's own toggles;
// the other bits stay. A lock pressed while another window had the focus
// would otherwise leave them out of step.
void SetLockModes(KeyData& keys, bool capsLockOn, bool kanaLockOn);

bool ImeInputModeOn(const KeyData& keys);

// The eight bytes of the report in wire order.
void EncodeKeyReport(const KeyData& report, std::uint8_t bytes[KeyReportSize]);
