// The one open and close sequence of a serial line, on a device that records
// what is done to it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/link/serial_line.h"

namespace {

class RecordingDevice final : public SerialDevice {
 public:
  std::vector<std::string> calls;
  bool opens = true;
  bool takesSettings = true;
  bool open = false;

  bool Open(std::string& error) override {
    calls.push_back("open");
    if (!opens) error = "cannot open COM5";
    open = opens;
    return opens;
  }
  bool Configure(const LineSettings& settings, std::string& error) override {
    calls.push_back("configure " + DescribeLineSettings(settings));
    if (!takesSettings) error = "refused";
    return takesSettings;
  }
  void Purge() override { calls.push_back("purge"); }
  void SetDtr(bool raised) override { calls.push_back(raised ? "dtr on" : "dtr off"); }
  void Drain(int waitMs) override { calls.push_back("drain " + std::to_string(waitMs)); }
  void Close() override {
    calls.push_back("close");
    open = false;
  }
  bool IsOpen() const override { return open; }
  DeviceRead Read(std::uint8_t*, std::size_t, std::size_t& got, std::string&) override {
    got = 0;
    return DeviceRead::Nothing;
  }
  bool Write(const std::uint8_t*, std::size_t, int, std::string&) override { return true; }
};

TEST(SerialLine, ARefusedSettingClosesTheDeviceAgain) {
  RecordingDevice device;
  device.takesSettings = false;
  std::string error;
  EXPECT_FALSE(OpenLine(device, LineSettings{}, error));
  EXPECT_EQ(error, "refused");
  EXPECT_FALSE(device.IsOpen());
  EXPECT_EQ(device.calls.back(), "close");
  device.calls.clear();
  device.opens = false;
  EXPECT_FALSE(OpenLine(device, LineSettings{}, error));
  EXPECT_EQ(device.calls, std::vector<std::string>{"open"});
}

TEST(SerialLine, CloseDrainsWithinItsBoundThenDropsDtrOnceOnly) {
  RecordingDevice device;
  std::string error;
  ASSERT_TRUE(OpenLine(device, LineSettings{}, error));
  device.calls.clear();
  CloseLine(device);
  CloseLine(device);
  EXPECT_EQ(device.calls, (std::vector<std::string>{"drain 1000", "dtr off", "purge", "close"}));
}

}  // namespace
