// The one model of the line settings: its defaults, what a line accepts, and
// the control block the Windows side puts on the device.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "terminal/link/control_block.h"
#include "terminal/link/line_settings.h"

namespace {

LineSettings Line(std::uint8_t flowControl, std::uint8_t parity) {
  return LineSettings{1000000, 8, parity, StopBitsTwo, flowControl};
}

TEST(LineSettings, TheWindowsDefaults) {
  const LineSettings settings;
  EXPECT_EQ(settings.baudRate, 1000000u);
  EXPECT_EQ(settings.dataBits, 8);
  EXPECT_EQ(settings.parity, ParityNone);
  EXPECT_EQ(settings.stopBits, StopBitsOne);
  EXPECT_EQ(settings.flowControl, 0);
  EXPECT_EQ(DescribeLineSettings(settings), "1000000 bit/s 8N1");
}

TEST(LineSettings, EverySpeedOfTheDialogsListAndNoOther) {
  std::string error;
  for (const ListEntry& entry : BaudRateTable) {
    LineSettings settings;
    settings.baudRate = entry.value;
    EXPECT_TRUE(CheckLineSettings(settings, error)) << entry.text << ": " << error;
  }
  for (const std::uint32_t speed : {0u, 19200u, 921600u, 1500000u, 4000000u}) {
    LineSettings settings;
    settings.baudRate = speed;
    EXPECT_FALSE(CheckLineSettings(settings, error)) << speed;
    EXPECT_NE(error.find(std::to_string(speed)), std::string::npos) << error;
  }
}

TEST(LineSettings, StopBitsGoWithDataBitsAsADriverTakesThem) {
  std::string error;
  LineSettings settings;
  settings.dataBits = 5;
  settings.stopBits = StopBitsOneAndHalf;
  EXPECT_TRUE(CheckLineSettings(settings, error)) << error;
  settings.stopBits = StopBitsTwo;
  EXPECT_FALSE(CheckLineSettings(settings, error));
  settings.dataBits = 8;
  EXPECT_TRUE(CheckLineSettings(settings, error)) << error;
  settings.stopBits = StopBitsOneAndHalf;
  EXPECT_FALSE(CheckLineSettings(settings, error));
  EXPECT_NE(error.find("1.5 stop bits"), std::string::npos) << error;
  settings = LineSettings{};
  settings.dataBits = 9;
  EXPECT_FALSE(CheckLineSettings(settings, error));
}

TEST(LineSettings, TheRecordHoldsThemInItsOwnFields) {
  auto state = std::make_unique<TerminalState>();
  const LineSettings settings{250000, 7, ParityEven, StopBitsTwo, FlowRtsCts};
  StoreLineSettings(settings, *state);
  EXPECT_EQ(state->baudRate, 250000u);
  EXPECT_EQ(state->byteSize, 7);
  EXPECT_EQ(DescribeLineSettings(LineSettingsOf(*state)), "250000 bit/s 7E2 RTS/CTS");
}

TEST(ControlBlock, NoFlowControlKeepsDtrAndRtsOnWithoutHandshake) {
  const CommControlBlock block = LineControlBlock(Line(0, ParityNone));
  EXPECT_EQ(block.DCBlength, 28u);
  EXPECT_EQ(block.BaudRate, 1000000u);
  EXPECT_EQ(block.ByteSize, 8);
  EXPECT_EQ(block.Parity, 0);
  EXPECT_EQ(block.StopBits, 2);
  EXPECT_EQ(block.fBinary, 1u);
  EXPECT_EQ(block.fParity, 1u) << "parity checking is on even with parity none";
  EXPECT_EQ(block.fOutxDsrFlow, 0u);
  EXPECT_EQ(block.fDtrControl, DtrControlEnable);
  EXPECT_EQ(block.fOutxCtsFlow, 0u);
  EXPECT_EQ(block.fRtsControl, RtsControlEnable);
  EXPECT_EQ(block.fOutX, 0u);
  EXPECT_EQ(block.fInX, 0u);
  EXPECT_EQ(block.XonChar, 0x11);
  EXPECT_EQ(block.XoffChar, 0x13);
  EXPECT_EQ(block.XonLim, 100);
  EXPECT_EQ(block.XoffLim, 100);
}

TEST(ControlBlock, AllThreeFlowControlsTogether) {
  const CommControlBlock block = LineControlBlock(Line(0x07, ParityEven));
  EXPECT_EQ(block.Parity, 2);
  EXPECT_EQ(block.fOutxDsrFlow, 1u);
  EXPECT_EQ(block.fDtrControl, DtrControlHandshake);
  EXPECT_EQ(block.fOutxCtsFlow, 1u);
  EXPECT_EQ(block.fRtsControl, RtsControlHandshake);
  EXPECT_EQ(block.fOutX, 1u);
  EXPECT_EQ(block.fInX, 1u);
}

TEST(ControlBlock, EachFlowBitAlone) {
  const CommControlBlock dtr = LineControlBlock(Line(FlowDtrDsr, ParityNone));
  EXPECT_EQ(dtr.fDtrControl, DtrControlHandshake);
  EXPECT_EQ(dtr.fRtsControl, RtsControlEnable);
  EXPECT_EQ(dtr.fOutX, 0u);
  const CommControlBlock rts = LineControlBlock(Line(FlowRtsCts, ParityNone));
  EXPECT_EQ(rts.fOutxDsrFlow, 0u);
  EXPECT_EQ(rts.fRtsControl, RtsControlHandshake);
  const CommControlBlock xon = LineControlBlock(Line(FlowXonXoff, ParityNone));
  EXPECT_EQ(xon.fDtrControl, DtrControlEnable);
  EXPECT_EQ(xon.fOutxCtsFlow, 0u);
  EXPECT_EQ(xon.fInX, 1u);
}

}  // namespace
