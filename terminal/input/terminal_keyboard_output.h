// A terminal as the keyboard's output: the reports go through its
// SendFromUser, the status texts to its host window.
#pragma once

#include "terminal/input/keyboard.h"
#include "terminal/interpreter/terminal.h"

struct TerminalKeyboardOutput final : KeyboardOutput {
  explicit TerminalKeyboardOutput(Terminal& to) : terminal(to) {}
  void SendFromUser(const std::uint8_t* bytes, int length) override {
    terminal.SendFromUser(bytes, length);
  }
  void KeyStatus(std::string_view text, TextCoding coding) override { terminal.host.KeyStatus(text, coding); }
  Terminal& terminal;
};
