// Character attributes set by the final word ｍ.
#pragma once

#include <cstdint>

#include "terminal/model/terminal_state.h"

void ApplySgr(Window window, TerminalState& state, std::uint16_t code);
