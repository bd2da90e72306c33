// A serial device a single-threaded front end (talvorix-cli) can wait on: it
// sleeps until something arrives instead of polling the device.
#pragma once

#include "terminal/link/serial_device.h"

class AwaitableDevice : public SerialDevice {
 public:
  // Waits at most `waitMs` until something can be read or the device has gone.
  virtual void Await(int waitMs) = 0;
  // The device as the user names it, for messages.
  virtual const std::string& Name() const = 0;
};
