#include "cli/port_device.h"

#include "cli/stop_signal.h"
#include "cli/tool_platform.h"
#include "terminal/link/network_serial_device.h"

std::unique_ptr<AwaitableDevice> MakePortDevice(const std::string& port) {
  NetworkPort address;
  std::string why;
  if (!ParseNetworkPort(port, address, why)) return std::make_unique<ToolSerialDevice>(PortDevice(port));
  return std::make_unique<NetworkSerialDevice>(address, [] { return StopSignal() != 0; });
}

bool TakePort(const std::string& text, std::string& port, std::string& why) {
  if (!IsNetworkPortName(text)) return TakePortName(text, port, why);
  NetworkPort address;
  port = text;
  return ParseNetworkPort(text, address, why);
}
