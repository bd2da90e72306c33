// What a replay shows, and a digest of it that is the same on every platform.
#pragma once

#include <cstdint>
#include <string>

#include "terminal/native/native_platform.h"

// The replay's report (events, screen rows, cursor, style), then a line
// "plane DIGEST" when anything was drawn on the graphic plane.
std::string ReplayOutcome(const HeadlessTerminal& terminal);

// FNV-1a of 64 bits as 16 lowercase hexadecimal digits.
std::string Digest(const std::string& bytes);
