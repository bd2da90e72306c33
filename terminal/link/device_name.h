// The name under which the platform knows the serial device of a port number.
#pragma once

#include <cstdint>
#include <string>

// Ports 1-20 are "\\.\" + portText + the number ("\\.\COM5"); every larger
// number is the fixed device "\\.\TELNET". portText is the text of string
// resource 784 ("COM"), at most 9 characters of it are used.
std::string DeviceName(std::uint8_t portNumber, const char* portText);
