// Carrying out a script on a session, line by line.
#pragma once

#include <vector>

#include "cli/cli_session.h"
#include "cli/script.h"

// The tool's exit codes.
constexpr int ExitDone = 0;         // every line succeeded
constexpr int ExitFailed = 1;       // an expectation failed, or the line or a picture did
constexpr int ExitCannotStart = 2;  // usage, script or a port that cannot be opened

// Runs the lines in order and stops at the first that fails, after telling
// why on standard error: for an expectation, what was expected, the screen
// and the last bytes received. `screen` lines print on standard output.
int RunScript(const std::vector<ScriptLine>& lines, Session& session);
