// The serial device of a POSIX system and its line settings, on a pseudo-terminal.
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "terminal/link/line_settings.h"
#include "terminal/link/arbitrary_speed.h"
#include "terminal/link/serial_line.h"
#include "terminal/link/termios_serial_device.h"
#include "terminal/link/termios_settings.h"

namespace {

// The device end of a pseudo-terminal; the port under test opens the other end.
struct PtyDevice {
  int master = -1;
  std::string slavePath;
  PtyDevice() {
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) ADD_FAILURE() << std::strerror(errno);
    close(slave);
    slavePath = name;
  }
  ~PtyDevice() {
    if (master >= 0) close(master);
  }
};

termios Filled(const LineSettings& settings) {
  termios attributes{};
  std::string error;
  EXPECT_TRUE(FillTermios(settings, attributes, error)) << error;
  return attributes;
}

TEST(TermiosSettings, StandardCodesWhereTheyReachAndNoneBetween) {
  speed_t code = 0;
  ASSERT_TRUE(StandardSpeedCode(1000000, code));
  EXPECT_EQ(code, speed_t(B1000000));
  ASSERT_TRUE(StandardSpeedCode(4800, code));
  EXPECT_EQ(code, speed_t(B4800));
  EXPECT_FALSE(StandardSpeedCode(250000, code));
  EXPECT_FALSE(StandardSpeedCode(960000, code));
}

TEST(TermiosSettings, ARawLineWithTheDataBitsParityAndStopBits) {
  LineSettings settings;
  termios attributes = Filled(settings);
  EXPECT_EQ(attributes.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_EQ(attributes.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(attributes.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(attributes.c_iflag & (IXON | IXOFF | ICRNL | INPCK), 0u);
  EXPECT_NE(attributes.c_cflag & CREAD, 0u);
  EXPECT_NE(attributes.c_cflag & HUPCL, 0u);
  settings.dataBits = 7;
  settings.parity = ParityOdd;
  settings.stopBits = StopBitsTwo;
  attributes = Filled(settings);
  EXPECT_EQ(attributes.c_cflag & CSIZE, tcflag_t(CS7));
  EXPECT_EQ(attributes.c_cflag & (PARENB | PARODD | CSTOPB), tcflag_t(PARENB | PARODD | CSTOPB));
  settings.parity = ParityEven;
  EXPECT_EQ(Filled(settings).c_cflag & (PARENB | PARODD), tcflag_t(PARENB));
}

TEST(TermiosSettings, MarkAndSpaceParityStickTheParityBit) {
  LineSettings settings;
  settings.parity = ParityMark;
  EXPECT_EQ(Filled(settings).c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | PARODD | CMSPAR));
  settings.parity = ParitySpace;
  EXPECT_EQ(Filled(settings).c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | CMSPAR));
}

TEST(TermiosSettings, FlowControlRtsCtsAndXonXoffButNoDtrDsrHere) {
  LineSettings settings;
  settings.flowControl = FlowRtsCts | FlowXonXoff;
  const termios attributes = Filled(settings);
  EXPECT_NE(attributes.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(attributes.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
  EXPECT_EQ(attributes.c_cc[VSTART], 0x11);
  EXPECT_EQ(attributes.c_cc[VSTOP], 0x13);
  settings.flowControl = FlowDtrDsr;
  termios refused{};
  std::string error;
  EXPECT_FALSE(FillTermios(settings, refused, error));
  EXPECT_NE(error.find("DTR/DSR"), std::string::npos) << error;
}

TEST(TermiosSerialDevice, EverySpeedOfTheListReachesTheLine) {
  PtyDevice device;
  for (const ListEntry& entry : BaudRateTable) {
    LineSettings settings;
    settings.baudRate = entry.value;
    TermiosSerialDevice port(device.slavePath);
    std::string error;
    ASSERT_TRUE(OpenLine(port, settings, error)) << entry.text << ": " << error;
    std::uint32_t made = 0;
    ASSERT_TRUE(ReadArbitrarySpeed(device.master, made));
    EXPECT_EQ(made, entry.value) << entry.text;
    CloseLine(port);
  }
}

TEST(TermiosSerialDevice, TheLineSettingsReachTheOtherEnd) {
  PtyDevice device;
  LineSettings settings;
  settings.stopBits = StopBitsTwo;
  settings.flowControl = FlowRtsCts | FlowXonXoff;
  TermiosSerialDevice port(device.slavePath);
  std::string error;
  ASSERT_TRUE(OpenLine(port, settings, error)) << error;
  termios seen{};
  ASSERT_EQ(tcgetattr(device.master, &seen), 0);
  EXPECT_EQ(cfgetospeed(&seen), speed_t(B1000000));
  EXPECT_NE(seen.c_cflag & CSTOPB, 0u);
  EXPECT_NE(seen.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(seen.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
  CloseLine(port);
  EXPECT_FALSE(port.IsOpen());
}

TEST(TermiosSerialDevice, APortThatCannotBeOpenedGivesTheSystemsReason) {
  TermiosSerialDevice missing("/nonexistent/ttyUSB9");
  std::string error;
  EXPECT_FALSE(OpenLine(missing, LineSettings{}, error));
  EXPECT_NE(error.find("/nonexistent/ttyUSB9"), std::string::npos) << error;
  EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
  TermiosSerialDevice notSerial("/dev/null");
  EXPECT_FALSE(OpenLine(notSerial, LineSettings{}, error));
  EXPECT_NE(error.find("not a serial device"), std::string::npos) << error;
  EXPECT_FALSE(notSerial.IsOpen());
}

TEST(TermiosSerialDevice, BytesBothWaysThenTheDeviceVanishes) {
  PtyDevice device;
  TermiosSerialDevice port(device.slavePath);
  std::string error;
  ASSERT_TRUE(OpenLine(port, LineSettings{}, error)) << error;
  std::uint8_t buffer[16];
  std::size_t got = 0;
  EXPECT_EQ(port.Read(buffer, sizeof buffer, got, error), DeviceRead::Nothing);
  ASSERT_EQ(write(device.master, "\x41\x23", 2), 2);
  port.Await(1000);
  ASSERT_EQ(port.Read(buffer, sizeof buffer, got, error), DeviceRead::Data);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), got), "\x41\x23");
  const std::uint8_t ack[2] = {0x06, 0x00};
  ASSERT_TRUE(port.Write(ack, 2, 1000, error)) << error;
  ASSERT_EQ(read(device.master, buffer, sizeof buffer), 2);
  EXPECT_EQ(buffer[0], 0x06);
  close(device.master);
  device.master = -1;
  port.Await(1000);
  EXPECT_EQ(port.Read(buffer, sizeof buffer, got, error), DeviceRead::Gone);
  EXPECT_NE(error.find("has gone"), std::string::npos) << error;
  EXPECT_FALSE(port.Write(ack, 2, 100, error));
  CloseLine(port);
}

}  // namespace
