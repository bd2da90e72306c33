// Character attributes set by the final word ｍ.
#pragma once

#include <cstdint>

#include "terminal/model/terminal_model.h"

void ApplySgr(TerminalModel& model, std::uint16_t code);
