// The device talvorix-cli opens, chosen by the port's form: a network port
// (rfc2217://HOST:PORT, socket://HOST:PORT) on every platform, otherwise a
// port of the platform (tool_platform.h).
#pragma once

#include <memory>
#include <string>

#include "terminal/link/awaitable_device.h"

// A network port is taken as well formed (the command line checked it); its
// connect gives up at once when a stop signal comes.
std::unique_ptr<AwaitableDevice> MakePortDevice(const std::string& port);

// A --port value: a network port that is well formed, or a name the
// platform's ports can have; otherwise false, with `why`.
bool TakePort(const std::string& text, std::string& port, std::string& why);
