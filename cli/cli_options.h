// The command line of talvorix-cli.
#pragma once

#include <string>

#include "cli/cli_session.h"

extern const char CliUsage[];

struct CliOptions {
  SessionSettings session;  // the port defaults to DefaultPort, the line to the window's defaults
  std::string scriptPath;   // "-" for standard input
};

// False, with `error` saying which argument is wrong, for a command line
// the usage does not allow or line settings a line cannot have.
bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error);
