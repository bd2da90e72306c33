#include "cli/tool_platform.h"

#include <csignal>

#include "common/command_line.h"

std::unique_ptr<LogFile> NewToolLogFile() { return std::make_unique<ToolLogFile>(); }

const char DefaultPort[] = "/dev/ttyUSB0";

// Any path of a device.
bool TakePortName(const std::string& text, std::string& port, std::string& why) {
  return TakeFileName(text, port, why);
}

std::string PortDevice(const std::string& port) { return port; }

// A reader of the screen listings that goes away is no reason to end.
void PrepareConsole() { std::signal(SIGPIPE, SIG_IGN); }
