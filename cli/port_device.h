// The device talvorix-cli opens, chosen by the port's form: a network port
// (rfc2217://HOST:PORT, socket://HOST:PORT) or a serial device file.
#pragma once

#include <memory>
#include <string>

#include "terminal/link/awaitable_device.h"

// A network port is taken as well formed (the command line checked it); its
// connect gives up at once when a stop signal comes.
std::unique_ptr<AwaitableDevice> MakePortDevice(const std::string& port);

// True for a device file, or a network port that is well formed; otherwise
// `why` says what is wrong.
bool CheckPortName(const std::string& port, std::string& why);
