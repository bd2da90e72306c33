#pragma once

#include <ostream>

// Exit code of a run whose argument is longer than its limit.
constexpr int argumentTooLongExit = 4;

// The whole orvik program: "orvik flag input_file output_file ROM_size".
// All messages go to `console`; the result is the process exit code.
int RunOrvik(int argc, const char* const* argv, std::ostream& console);
