// What the interpreter tells the user when the device sends something it cannot carry out.
#pragma once

#include <string_view>

#include "terminal/model/roles.h"

constexpr std::string_view MessageCaption = "通信ターミナル";
constexpr std::string_view CsiFailedText = "ＣＳＩシーケンス実行出来ない！！";
constexpr std::string_view CutCsiFailedText = "受信エラー：ＣＳＩシーケンス実行出来ない！！";
constexpr std::string_view EscFailedText = "ＥＳＣシーケンス実行出来ない！！";
// An ESC that ends a block and whose argument never arrives (left open by the
// protocol; worded like the cut CSI sequence's message).
constexpr std::string_view CutEscFailedText = "受信エラー：ＥＳＣシーケンス実行出来ない！！";
constexpr std::string_view PointPlotFailedText = "受信エラー：点描画を実行出来ない！！";
constexpr std::string_view NoMemoryText = "メモリ領域が空いていません！！";

// Tells the user of an error (shown by the front end as an error box with the
// caption "通信ターミナル").
void ShowFailure(HostWindow& host, std::string_view text);
