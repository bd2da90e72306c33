// A terminal record with the values a new terminal starts with.
#pragma once

#include <memory>

#include "terminal/model/terminal_state.h"

inline std::unique_ptr<TerminalState> NewDefaultRecord() {
  auto state = std::make_unique<TerminalState>();
  state->portNumber = 5;
  state->baudRate = 1000000;
  state->byteSize = 8;
  state->autoWrap = 1;
  state->useCnReceive = 1;
  state->displayErrors = 1;
  return state;
}
