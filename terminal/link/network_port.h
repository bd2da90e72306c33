// A serial line served over the network, named as device test tools name it:
// "rfc2217://HOST:PORT" (telnet with the COM port control option: the line
// settings travel with the connection) or "socket://HOST:PORT" (the bytes as
// they are; the line settings are the server's). HOST is a name, an IPv4
// address or an IPv6 address in brackets ("[::1]:7416"); PORT is 1 to 65535.
#pragma once

#include <string>

enum class NetworkKind { Rfc2217, RawTcp };

struct NetworkPort {
  NetworkKind kind = NetworkKind::Rfc2217;
  std::string host;  // without brackets
  std::string port;  // decimal digits
  // The address as the user names it, for messages and the status bar.
  std::string Text() const;
};

// True when `text` starts with one of the two schemes: it names a network
// port, well formed or not, and never a device file.
bool IsNetworkPortName(const std::string& text);

// False, with `error` saying what is wrong, for a name that is not a network
// port or whose host or port is missing or malformed.
bool ParseNetworkPort(const std::string& text, NetworkPort& port, std::string& error);
