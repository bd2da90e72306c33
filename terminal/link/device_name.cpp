#include "terminal/link/device_name.h"

#include <cstdio>

std::string DeviceName(std::uint8_t portNumber, const char* portText) {
  if (portNumber > 20) return "\\\\.\\TELNET";
  // The port text comes from a 10-character resource buffer.
  char text[10] = {};
  std::snprintf(text, sizeof text, "%s", portText);
  char name[32];
  std::snprintf(name, sizeof name, "\\\\.\\%s%d", text, int(portNumber));
  return name;
}
