// What the serial link tells the user: status pane texts and messages (UTF-8,
// shown through the platform with TextCoding::Utf8).
#pragma once

#include <cstdint>
#include <string>

#include "terminal/interpreter/transmit_status.h"

constexpr const char* LinkCaption = "通信ターミナル";
constexpr const char* WatcherCaption = "TTY エラー!";
constexpr const char* LogCreateFailedText = "ログファイルを作成する事が出来ない！！";
constexpr const char* LogWriteFailedText = "ログファイルに書き込む事が出来ない！！";
constexpr const char* WatcherEventFailedText = "スレッド用のイベントが作成できません!";
// Shown when the device stops answering while connected (a USB adapter pulled
// out): the connection is then closed as by the disconnect command.
constexpr const char* DeviceLostText = "通信端子が切断されました！！";

// Line error bits as ClearCommError reports them.
constexpr std::uint32_t LineErrorBreak = 0x0010;    // CE_BREAK
constexpr std::uint32_t LineErrorFrame = 0x0008;    // CE_FRAME
constexpr std::uint32_t LineErrorIo = 0x0400;       // CE_IOE
constexpr std::uint32_t LineErrorOverrun = 0x0002;  // CE_OVERRUN
constexpr std::uint32_t LineErrorRxOver = 0x0001;   // CE_RXOVER
constexpr std::uint32_t LineErrorParity = 0x0004;   // CE_RXPARITY
constexpr std::uint32_t LineErrorTxFull = 0x0100;   // CE_TXFULL

// "受信エラー：" followed by "<BREAK>", "<FRAME>", "<IOE>", "<OVERRUN>",
// "<RXOVER>", "<RXPARITY>", "<TXFULL>" for the bits set, in that order.
std::string LineErrorText(std::uint32_t errors);

// "受信文字数：%d文字数" for a received block of `count` bytes.
std::string ReceivedCountText(int count);
