// The system's reason for a Win32 error code, for messages in UTF-8.
#pragma once

#include <windows.h>

#include <string>

// "error N: the system's message" ("error N" alone where the system has none).
std::string Win32ErrorText(DWORD error);
