// The serial link's portable parts: device names, the log's
// time text, the status texts and the read arithmetic.
#include <gtest/gtest.h>

#include <string>

#include "terminal/link/device_name.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/log_format.h"
#include "terminal/link/receive_plan.h"

namespace {

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
