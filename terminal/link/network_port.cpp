#include "terminal/link/network_port.h"

namespace {

constexpr const char* Rfc2217Scheme = "rfc2217://";
constexpr const char* RawTcpScheme = "socket://";

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

bool ValidPortNumber(const std::string& digits) {
  if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  const long number = std::stol(digits);
  return number >= 1 && number <= 65535;
}

// "HOST:PORT" or "[IPV6]:PORT" into its host and port text.
bool SplitHostPort(const std::string& rest, std::string& host, std::string& port) {
  std::size_t colon = rest.rfind(':');
  if (colon == std::string::npos) return false;
  host = rest.substr(0, colon);
  port = rest.substr(colon + 1);
  if (!host.empty() && host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    host = host.substr(1, host.size() - 2);
    return true;
  }
  return host.find_first_of(":[]/ ") == std::string::npos;
}

}  // namespace

std::string NetworkPort::Text() const {
  const std::string bracketed = host.find(':') == std::string::npos ? host : "[" + host + "]";
  return std::string(kind == NetworkKind::Rfc2217 ? Rfc2217Scheme : RawTcpScheme) + bracketed + ":" + port;
}

bool IsNetworkPortName(const std::string& text) {
  return StartsWith(text, Rfc2217Scheme) || StartsWith(text, RawTcpScheme);
}

bool ParseNetworkPort(const std::string& text, NetworkPort& port, std::string& error) {
  if (!IsNetworkPortName(text)) {
    error = "neither rfc2217://HOST:PORT nor socket://HOST:PORT";
    return false;
  }
  port.kind = StartsWith(text, Rfc2217Scheme) ? NetworkKind::Rfc2217 : NetworkKind::RawTcp;
  const std::string rest = text.substr(text.find("//") + 2);
  if (!SplitHostPort(rest, port.host, port.port) || port.host.empty()) {
    error = "no HOST:PORT after the scheme (an IPv6 address goes in brackets: [::1]:PORT)";
    return false;
  }
  if (!ValidPortNumber(port.port)) {
    error = "the port is not a number from 1 to 65535";
    return false;
  }
  return true;
}
