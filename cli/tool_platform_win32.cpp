#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "cli/tool_platform.h"
#include "terminal/link/device_name.h"
#include "terminal/link/settings/settings_lists.h"

namespace {

// The port name as the window's resources give it.
constexpr const char* PortText = "COM";

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return text;
}

// The number the window's record holds for a name of its port list, or 0.
std::uint8_t PortNumberOf(const std::string& port) {
  for (int position = 0; position < PortEntryCount; ++position) {
    if (UpperCase(port) == PortEntryText(PortText, position)) return *PortNumberAtPosition(position);
  }
  return 0;
}

}  // namespace

std::unique_ptr<LogFile> NewToolLogFile() { return std::make_unique<ToolLogFile>(); }

const char DefaultPort[] = "COM5";

// Device names are read without regard to case, as Windows reads them.
bool TakePortName(const std::string& text, std::string& port, std::string& why) {
  why = "not a port of the window's list: COM1 to COM20 or TELNET";
  if (PortNumberOf(text) == 0) return false;
  port = UpperCase(text);
  return true;
}

std::string PortDevice(const std::string& port) { return DeviceName(PortNumberOf(port), PortText); }

void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdin), _O_BINARY);
}
