// Key presses of the terminal window turned into key reports.
#pragma once

#include <cstdint>

#include "terminal/input/keyboard.h"

// What a key message says about the key. The Windows front end reads it from
// the message's wParam and lParam (KeyStrokeFromMessage); other front ends
// fill it from their own keyboard events with the Windows virtual-key codes.
struct KeyStroke {
  unsigned virtualKey;
  std::uint16_t repeatCount;  // 1 for a single press
  bool altHeld;               // the Alt key is down as the key goes down or up
};

// A key stroke from the raw parts of a Windows key message: the virtual key in
// wParam, the repeat count in bits 0-15 of lParam and the Alt flag in bit 29.
KeyStroke KeyStrokeFromMessage(std::uintptr_t wParam, std::uint32_t lParam);

// How the report fields of a key with a report are found.
enum class KeyKind {
  Character,     // jisCode from the keyboard tables
  Keypad,        // fixed jisCode
  NoCharacter,   // jisCode 0xFFFF
};

struct KeyEntry {
  KeyKind kind;
  std::uint8_t keyCode;
  std::uint8_t usage;
  std::uint16_t jisCode;  // Keypad only
};

// The report fields of a virtual key, or false for a key without a report
// (the state keys and every unknown key).
bool FindKeyEntry(unsigned virtualKey, KeyEntry& entry);

// Updates the keyboard state for a state key, or fills Key_Data and sends the
// report for a key with a report. Returns 0 when the key was handled, -1 for
// an unknown key (nothing changed).
int TranslateKey(Keyboard& keyboard, const KeyStroke& stroke);
