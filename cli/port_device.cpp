#include "cli/port_device.h"

#include "cli/stop_signal.h"
#include "terminal/link/network_serial_device.h"
#include "terminal/link/termios_serial_device.h"

std::unique_ptr<AwaitableDevice> MakePortDevice(const std::string& port) {
  NetworkPort address;
  std::string why;
  if (!ParseNetworkPort(port, address, why)) return std::make_unique<TermiosSerialDevice>(port);
  return std::make_unique<NetworkSerialDevice>(address, [] { return StopSignal() != 0; });
}

bool CheckPortName(const std::string& port, std::string& why) {
  NetworkPort address;
  why = "no file name";
  if (port.empty()) return false;
  return !IsNetworkPortName(port) || ParseNetworkPort(port, address, why);
}
