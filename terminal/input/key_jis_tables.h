// The JIS code of each character key under the modifiers and locks held.
#pragma once

#include <array>
#include <cstdint>

// The rows of KeyJisTables, in table order.
enum KeyJisRow {
  KeyRowNormal,
  KeyRowShift,
  KeyRowCaps,
  KeyRowCapsShift,
  KeyRowCtrl,
  KeyRowKana,
  KeyRowKanaShift,
  KeyRowAlt,
  KeyRowAltShift,
  KeyJisRowCount
};

// One entry per PC-9821 key code of a character key, 0x00-0x34.
constexpr int KeyJisColumns = 53;

using KeyJisRowEntries = std::array<std::uint16_t, KeyJisColumns>;
extern const std::array<KeyJisRowEntries, KeyJisRowCount> KeyJisTables;

// The row that the `modifiers` and `modes` bytes of the key report select.
KeyJisRow SelectKeyJisRow(std::uint8_t modifiers, std::uint8_t modes);

// The entry for a character key; keyCode must be 0x00-0x34.
std::uint16_t LookupKeyJis(std::uint8_t modifiers, std::uint8_t modes, int keyCode);
