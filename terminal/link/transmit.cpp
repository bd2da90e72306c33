#include <windows.h>

#include "terminal/link/link_session.h"
#include "terminal/link/serial_link.h"
#include "terminal/link/window_trace.h"

namespace {

// A write still pending after a second is given up.
constexpr int WriteWaitMs = 1000;

}  // namespace

void WriteByte(int value) {
  if (!linkSession.device.IsOpen()) return;
  const std::uint8_t data = std::uint8_t(value);
  std::string error;
  linkSession.device.Write(&data, 1, WriteWaitMs, error);
}

// A device that has gone is not written to while its disconnect is on its way:
// each write would only fail, or hang for its second.
bool SerialOutput::Transmit(std::uint8_t value) {
  if (!linkSession.device.IsOpen() || linkSession.deviceLost) return false;
  // Traced as it is written: the write returns only once the byte has left.
  WindowTrace().Sent(value);
  WriteByte(value);
  return true;
}

void SerialOutput::Purge() {
  if (!linkSession.device.IsOpen()) return;
  linkSession.device.Purge();
  // What was taken from the device but not yet pushed is discarded with it.
  EmptyStage(linkSession.received);
}
