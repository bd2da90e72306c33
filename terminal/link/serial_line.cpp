#include "terminal/link/serial_line.h"

bool OpenLine(SerialDevice& device, const LineSettings& settings, std::string& error) {
  if (!device.Open(error)) return false;
  device.Purge();
  if (!device.Configure(settings, error)) {
    device.Close();
    return false;
  }
  device.SetDtr(true);
  return true;
}

void CloseLine(SerialDevice& device) {
  if (!device.IsOpen()) return;
  device.Drain(CloseDrainMs);
  device.SetDtr(false);
  device.Purge();
  device.Close();
}
