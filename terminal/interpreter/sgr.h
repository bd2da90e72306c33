// Character attributes set by the final word ｍ.
#pragma once

#include <cstdint>

#include "terminal/model/screen_model.h"

void ApplySgr(ScreenModel& model, std::uint16_t code);
