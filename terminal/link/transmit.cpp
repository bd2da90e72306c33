#include <windows.h>

#include "terminal/link/link_session.h"
#include "terminal/link/serial_link.h"

namespace {

// A write still pending after a second is given up.
constexpr int WriteWaitMs = 1000;

}  // namespace

void WriteByte(LinkSession& session, int value) {
  if (!session.device.IsOpen()) return;
  const std::uint8_t data = std::uint8_t(value);
  std::string error;
  session.device.Write(&data, 1, WriteWaitMs, error);
}

// A device that has gone is not written to while its disconnect is on its way:
// each write would only fail, or hang for its second.
bool SerialOutput::Transmit(std::uint8_t value) {
  if (!session_.device.IsOpen() || session_.deviceLost) return false;
  // Traced as it is written: the write returns only once the byte has left.
  session_.trace.Writer().Sent(value);
  WriteByte(session_, value);
  return true;
}

void SerialOutput::Purge() {
  if (!session_.device.IsOpen()) return;
  session_.device.Purge();
  // What was taken from the device but not yet pushed is discarded with it.
  EmptyStage(session_.received);
}
