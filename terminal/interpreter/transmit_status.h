// What the status bar says about the bytes the terminal sends.
#pragma once

#include <string>

// Status pane numbers.
constexpr int ReceivedPane = 0;
constexpr int TransmittedPane = 1;
constexpr int LineErrorPane = 2;

// "送信したバイトデータ：[%02X]" for a transmitted byte.
std::string TransmittedByteText(int byte);
