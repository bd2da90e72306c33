// A new file of the platform's kind (tool_platform.h: the log's kind), for
// the trace; apart from tool_platform.h, so that the terminal's code does not
// see the Win32 headers.
#pragma once

#include <memory>

#include "terminal/link/log_file.h"

std::unique_ptr<LogFile> NewToolLogFile();
