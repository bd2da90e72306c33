// The program's keyboard: the state its key reports carry, and where they go.
#pragma once

#include <cstdint>
#include <string_view>

#include "terminal/input/key_data.h"
#include "terminal/model/roles.h"

// Where key reports and composed text go, and where their status texts show.
struct KeyboardOutput {
  virtual ~KeyboardOutput() = default;
  // Bytes the user sends, in order (Terminal::SendFromUser).
  virtual void SendFromUser(const std::uint8_t* bytes, int length) = 0;
  // What the last key or composed character sent, or a key that could not be read.
  virtual void KeyStatus(std::string_view text, TextCoding coding) = 0;
};

struct Keyboard {
  explicit Keyboard(KeyboardOutput& to) : output(to) {}
  KeyData Key_Data{};
  KeyboardOutput& output;
};
