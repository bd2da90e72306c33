// Texts the shell writes into the status bar (UTF-8; the status bar gets them
// as UTF-16).
#pragma once

#include <cstdint>
#include <string>

// The connection mark of pane 3.
extern const char* const ConnectedMark;     // "[●]"
extern const char* const DisconnectedMark;  // "[×]"
extern const char* const WaitingMark;       // "[○]": waiting for a lost device to come back

// Pane 1 while automatic reconnect waits for the lost device, and once it is back.
extern const char* const WaitingForDeviceText;  // "通信端子が切断されました。再接続を待っています"
extern const char* const ReconnectedText;       // "再接続しました"

// "[%02x]": a key's scan code or character code, shown when a key is pressed
// while the tab control has the focus.
std::string KeyCodeText(unsigned code);

// The dump view's figures for pane 1.
std::string DumpFiguresText(std::int32_t count, std::int32_t full, std::int32_t tail,
                            std::int32_t start, std::int32_t end);
