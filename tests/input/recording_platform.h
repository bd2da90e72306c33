// A platform that records what the keyboard code sends and shows, for the input tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "terminal/model/platform.h"

struct ShownStatus {
  int pane;
  std::string utf8;  // the text as the user reads it, whatever coding it came in
};

struct RecordingPlatform : Platform {
  std::vector<std::uint8_t> sent;
  std::vector<Window> sentTo;
  std::vector<ShownStatus> statuses;

  TerminalState* StateOf(Window) override { return nullptr; }
  void ResizeTextCanvas(int, int) override {}
  FontMetrics MeasureFont(const FontSpec&) override { return {8, 16}; }
  void DrawText(Canvas, int, int, const std::uint8_t*, int, const FontSpec&, COLORREF,
                COLORREF) override {}
  void FillRect(Canvas, int, int, int, int, COLORREF) override {}
  void CopyRect(Canvas, int, int, int, int, int, int) override {}
  void SetPixel(Canvas, int, int, COLORREF) override {}
  int ReadBlock(Window, std::uint8_t*, int) override { return PortClosed; }
  int TransmitByte(Window window, int byte) override;
  void PurgePort(Window) override {}
  bool AppendToLog(Window, const std::uint8_t*, int) override { return true; }
  MessageAnswer ShowMessage(Window, std::string_view, TextCoding, std::string_view, MessageIcon,
                            MessageButtons) override {
    return MessageAnswer::Ok;
  }
  void Beep() override {}
  void SetStatusText(int pane, std::string_view text, TextCoding coding) override;
  void InvalidateTerminal(Window) override {}
  void SelectTab(int) override {}
  void ShowTerminalCaret(Window) override {}
  void HideTerminalCaret(Window) override {}
  void PlaceTerminalCaret(Window) override {}
  void RelayoutWindow(Window) override {}
  void PauseMilliseconds(int) override {}
  std::uint64_t MillisecondClock() override { return 0; }

  // The last text of a pane, or "" when none was shown.
  std::string LastStatus(int pane) const;
};

// Code page 932 bytes as UTF-8 (through iconv), so tests read what the user sees.
std::string Cp932ToUtf8(std::string_view cp932);

// Installs a fresh recorder as the process platform and a keyboard just started
// with both locks off, for each test.
struct InputTest {
  RecordingPlatform recorder;
  Platform* previous;
  InputTest();
  ~InputTest();
};
