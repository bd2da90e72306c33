// The serial link's portable parts: device names, the control block, the log's
// time text, the status texts and the read arithmetic.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "terminal/link/control_block.h"
#include "terminal/link/device_name.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/log_format.h"
#include "terminal/link/receive_plan.h"

namespace {

std::unique_ptr<TerminalState> LineState(std::uint8_t flowControl, std::uint8_t parity) {
  auto state = std::make_unique<TerminalState>();
  state->baudRate = 1000000;
  state->byteSize = 8;
  state->parity = parity;
  state->stopBits = 2;
  state->flowControl = flowControl;
  return state;
}

const LogClock SixthOfDecember{2026, 12, 6, 0, 15, 20, 17};

TEST(DeviceName, PortsUpToTwentyAreComPorts) {
  EXPECT_EQ(DeviceName(1, "COM"), "\\\\.\\COM1");
  EXPECT_EQ(DeviceName(5, "COM"), "\\\\.\\COM5");
  EXPECT_EQ(DeviceName(20, "COM"), "\\\\.\\COM20");
}

TEST(DeviceName, AboveTwentyIsTelnetUpToTheLastByteValue) {
  EXPECT_EQ(DeviceName(21, "COM"), "\\\\.\\TELNET");
  EXPECT_EQ(DeviceName(200, "COM"), "\\\\.\\TELNET");
  EXPECT_EQ(DeviceName(255, "COM"), "\\\\.\\TELNET");
}

TEST(DeviceName, PortTextIsCutToTheResourceBuffer) {
  EXPECT_EQ(DeviceName(3, "AUX"), "\\\\.\\AUX3");
  EXPECT_EQ(DeviceName(3, "ABCDEFGHIJKLMNOP"), "\\\\.\\ABCDEFGHI3");
}

TEST(ControlBlock, NoFlowControlKeepsDtrAndRtsOnWithoutHandshake) {
  const CommControlBlock block = LineControlBlock(*LineState(0, 0));
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
  const CommControlBlock block = LineControlBlock(*LineState(0x07, 2));
  EXPECT_EQ(block.Parity, 2);
  EXPECT_EQ(block.fOutxDsrFlow, 1u);
  EXPECT_EQ(block.fDtrControl, DtrControlHandshake);
  EXPECT_EQ(block.fOutxCtsFlow, 1u);
  EXPECT_EQ(block.fRtsControl, RtsControlHandshake);
  EXPECT_EQ(block.fOutX, 1u);
  EXPECT_EQ(block.fInX, 1u);
}

TEST(ControlBlock, EachFlowBitAlone) {
  const CommControlBlock dtr = LineControlBlock(*LineState(0x01, 0));
  EXPECT_EQ(dtr.fDtrControl, DtrControlHandshake);
  EXPECT_EQ(dtr.fRtsControl, RtsControlEnable);
  EXPECT_EQ(dtr.fOutX, 0u);
  const CommControlBlock rts = LineControlBlock(*LineState(0x02, 0));
  EXPECT_EQ(rts.fOutxDsrFlow, 0u);
  EXPECT_EQ(rts.fRtsControl, RtsControlHandshake);
  const CommControlBlock xon = LineControlBlock(*LineState(0x04, 0));
  EXPECT_EQ(xon.fDtrControl, DtrControlEnable);
  EXPECT_EQ(xon.fOutxCtsFlow, 0u);
  EXPECT_EQ(xon.fInX, 1u);
}

TEST(LogTime, DayIsZeroPaddedAndTheTextHas24Characters) {
  const std::string text = LogTimeText(SixthOfDecember);
  EXPECT_EQ(text, "Sun Dec 06 15:20:17 2026");
  EXPECT_EQ(text.size(), 24u);
}

TEST(LogTime, EveryFieldTwoDigitsAndEnglishNames) {
  EXPECT_EQ(LogTimeText(LogClock{2027, 1, 31, 6, 0, 5, 9}), "Sat Jan 31 00:05:09 2027");
  EXPECT_EQ(LogTimeText(LogClock{2026, 7, 1, 3, 23, 59, 59}), "Wed Jul 01 23:59:59 2026");
}

TEST(LogTime, OutOfRangeClockFieldsStayInsideTheNameTables) {
  EXPECT_EQ(LogTimeText(LogClock{2026, 13, 1, 7, 0, 0, 0}).substr(0, 7), "Sun Jan");
  EXPECT_EQ(LogTimeText(LogClock{2026, 0, 1, -1, 0, 0, 0}).substr(0, 7), "Sat Dec");
}

TEST(LineErrors, NamesFollowThePrefixInTableOrder) {
  EXPECT_EQ(LineErrorText(LineErrorOverrun | LineErrorFrame), "受信エラー：<FRAME><OVERRUN>");
  EXPECT_EQ(LineErrorText(0x0010 | 0x0008 | 0x0400 | 0x0002 | 0x0001 | 0x0004 | 0x0100),
            "受信エラー：<BREAK><FRAME><IOE><OVERRUN><RXOVER><RXPARITY><TXFULL>");
  EXPECT_EQ(LineErrorText(LineErrorTxFull | LineErrorRxOver), "受信エラー：<RXOVER><TXFULL>");
}

TEST(LineErrors, BitsWithoutNameShowThePrefixAlone) {
  EXPECT_EQ(LineErrorText(0x8000), "受信エラー：");  // CE_MODE
  EXPECT_EQ(LineErrorText(0x8000 | LineErrorParity), "受信エラー：<RXPARITY>");
}

TEST(StatusTexts, ReceivedCountAndTransmittedByte) {
  EXPECT_EQ(ReceivedCountText(100), "受信文字数：100文字数");
  EXPECT_EQ(TransmittedByteText(0x0A), "送信したバイトデータ：[0A]");
  EXPECT_EQ(TransmittedByteText(0x1FF), "送信したバイトデータ：[FF]") << "only the low 8 bits are sent";
}

TEST(ReadCount, WholeWordsOnlyAndNeverAboveTheMaximum) {
  EXPECT_EQ(EvenReadCount(101, 100), 100);
  EXPECT_EQ(EvenReadCount(1, 100), 0) << "a lone byte waits for its partner";
  EXPECT_EQ(EvenReadCount(5, 2), 2);
  EXPECT_EQ(EvenReadCount(99, 100), 98);
  EXPECT_EQ(EvenReadCount(0, 100), 0);
  EXPECT_EQ(EvenReadCount(16384, 101), 100);
  EXPECT_EQ(EvenReadCount(0xFFFFFFFFu, 100), 100);
  EXPECT_EQ(EvenReadCount(50, 0), 0);
}

TEST(RepaintPacing, AtMostOneRepaintPerInterval) {
  RepaintPacer pacer{1000};
  EXPECT_FALSE(RepaintDue(pacer, 1000));
  EXPECT_FALSE(RepaintDue(pacer, 1000 + RepaintIntervalMs - 1));
  EXPECT_TRUE(RepaintDue(pacer, 1000 + RepaintIntervalMs));
  EXPECT_FALSE(RepaintDue(pacer, 1000 + RepaintIntervalMs + 1)) << "the interval restarts at each repaint";
  EXPECT_TRUE(RepaintDue(pacer, 1000 + 2 * RepaintIntervalMs));
}

TEST(RepaintPacing, AFloodOfBlocksRepaintsAtLeastTwentyTimesASecond) {
  // 3000 blocks a second, one every third of a millisecond.
  RepaintPacer pacer{0};
  int repaints = 0;
  for (int block = 0; block < 3000; ++block) repaints += RepaintDue(pacer, std::uint64_t(block) / 3);
  EXPECT_GE(repaints, 20);
  EXPECT_LE(repaints, 1000 / int(RepaintIntervalMs));
}

}  // namespace
