// Key names as xdotool writes them, and the key reports they make through the
// terminal, as the window sends them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "terminal/input/virtual_keys.h"
#include "cli/scripted_terminal.h"
#include "cli/key_names.h"

namespace {

std::vector<KeyEvent> Events(const std::string& name) {
  std::vector<KeyEvent> events;
  std::string error;
  EXPECT_TRUE(KeyEventsFromName(name, events, error)) << name << ": " << error;
  return events;
}

std::string Refusal(const std::string& name) {
  std::vector<KeyEvent> events;
  std::string error;
  EXPECT_FALSE(KeyEventsFromName(name, events, error)) << name;
  EXPECT_TRUE(events.empty()) << name;
  return error;
}

// "D41 U41" for the key-down and key-up of 'A', "+" marking Alt held.
std::string Spelled(const std::vector<KeyEvent>& events) {
  std::string text;
  char one[16];
  for (const KeyEvent& event : events) {
    std::snprintf(one, sizeof one, "%s%c%02X", text.empty() ? "" : " ", event.down ? 'D' : 'U', event.virtualKey);
    text += one;
    if (event.altHeld) text += "+";
  }
  return text;
}

TEST(KeyNames, LettersDigitsAndNamedKeys) {
  EXPECT_EQ(Spelled(Events("a")), "D41 U41");
  EXPECT_EQ(Spelled(Events("z")), "D5A U5A");
  EXPECT_EQ(Spelled(Events("0")), "D30 U30");
  EXPECT_EQ(Spelled(Events("Return")), "D0D U0D");
  EXPECT_EQ(Spelled(Events("Escape")), "D1B U1B");
  EXPECT_EQ(Spelled(Events("Up")), "D26 U26");
  EXPECT_EQ(Spelled(Events("Prior")), Spelled(Events("Page_Up")));
  EXPECT_EQ(Spelled(Events("Next")), "D22 U22");
  EXPECT_EQ(Spelled(Events("at")), "DC0 UC0");
  EXPECT_EQ(Spelled(Events("backslash")), "DDF UDF");
  EXPECT_EQ(Spelled(Events("Menu")), "D5D U5D");
}

TEST(KeyNames, FunctionAndKeypadKeysByNumber) {
  EXPECT_EQ(Spelled(Events("F1")), "D70 U70");
  EXPECT_EQ(Spelled(Events("F12")), "D7B U7B");
  EXPECT_EQ(Spelled(Events("F15")), "D7E U7E");
  EXPECT_EQ(Spelled(Events("KP_0")), "D60 U60");
  EXPECT_EQ(Spelled(Events("KP_5")), "D65 U65");
  EXPECT_EQ(Spelled(Events("KP_Divide")), "D6F U6F");
  for (const char* name : {"F0", "F16", "F01", "KP_10", "KP_", "f1"}) {
    EXPECT_NE(Refusal(name).find("no key is named"), std::string::npos) << name;
  }
}

TEST(KeyNames, HeldKeysGoDownInOrderAndComeUpInReverse) {
  EXPECT_EQ(Spelled(Events("shift+a")), "D10 D41 U41 U10");
  EXPECT_EQ(Spelled(Events("ctrl+shift+z")), "D11 D10 D5A U5A U10 U11");
  EXPECT_EQ(Spelled(Events("super+e")), "D5B D45 U45 U5B");
  EXPECT_EQ(Spelled(Events("Super_R+e")), "D5C D45 U45 U5C");
  EXPECT_EQ(Spelled(Events("ctrl+alt+a")), "D11 D12+ D41+ U41+ U12 U11");
}

TEST(KeyNames, UpperCaseAndShiftedMarksAreTypedWithShift) {
  EXPECT_EQ(Spelled(Events("A")), Spelled(Events("shift+a")));
  EXPECT_EQ(Spelled(Events("shift+A")), Spelled(Events("shift+a")));
  EXPECT_EQ(Spelled(Events("ctrl+A")), "D11 D10 D41 U41 U10 U11");
  EXPECT_EQ(Spelled(Events("exclam")), "D10 D31 U31 U10");
  EXPECT_EQ(Spelled(Events("underscore")), "D10 DDF UDF U10");
  EXPECT_EQ(Spelled(Events("plus")), "D10 DBB UBB U10");
}

TEST(KeyNames, LocksAndStateKeysAreKeysOfTheirOwn) {
  EXPECT_EQ(Spelled(Events("Caps_Lock")), "D14 U14");
  EXPECT_EQ(Spelled(Events("Kana_Lock")), "D15 U15");
  EXPECT_EQ(Spelled(Events("shift")), "D10 U10");
  EXPECT_EQ(Spelled(Events("Muhenkan")), "D1D U1D");
}

TEST(KeyNames, StrokesTheWindowNeverReportsAreRefused) {
  EXPECT_NE(Refusal("alt+a").find("system keys"), std::string::npos);
  EXPECT_NE(Refusal("alt").find("system keys"), std::string::npos);
  EXPECT_NE(Refusal("F10").find("system keys"), std::string::npos);
  EXPECT_NE(Refusal("ctrl+F10").find("system keys"), std::string::npos);
  EXPECT_NE(Refusal("shift+Prior").find("connect"), std::string::npos);
  EXPECT_NE(Refusal("shift+Next").find("disconnect"), std::string::npos);
  EXPECT_EQ(Spelled(Events("ctrl+shift+Prior")), "D11 D10 D21 U21 U10 U11");
}

TEST(KeyNames, OnlyModifiersCanBeHeld) {
  EXPECT_NE(Refusal("a+b").find("\"a\" cannot be held"), std::string::npos);
  EXPECT_NE(Refusal("shift+nothing").find("no key is named \"nothing\""), std::string::npos);
  EXPECT_NE(Refusal("ctrl+").find("no key is named"), std::string::npos);
  EXPECT_NE(Refusal("").find("no key is named"), std::string::npos);
}

// The line a terminal sends on: what it transmits, in order.
class RecordingLine final : public TerminalLine {
 public:
  std::vector<std::uint8_t> sent;
  bool Send(std::uint8_t byte) override {
    sent.push_back(byte);
    return true;
  }
  void Purge() override {}
  bool Log(const std::uint8_t*, std::size_t) override { return true; }
  void Tell(const std::string&, const std::string&) override {}
};

// The bytes sent for the keys, each report as "00 00 1D 00 61 23 41 04", "|" between.
std::string ReportsFor(const std::vector<std::string>& names) {
  RecordingLine line;
  ScriptedTerminal terminal(line, TerminalOptions{});
  for (const std::string& name : names) {
    for (const KeyEvent& event : Events(name)) terminal.Type(event);
  }
  std::string text;
  char byte[4];
  for (std::size_t i = 0; i < line.sent.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%02X", line.sent[i]);
    text += (i == 0 ? "" : i % 8 == 0 ? "|" : " ") + std::string(byte);
  }
  return text;
}

TEST(KeyReports, TheWindowsExamples) {
  EXPECT_EQ(ReportsFor({"a"}), "00 00 1D 00 61 23 41 04");
  EXPECT_EQ(ReportsFor({"shift+a"}), "22 00 1D 00 41 23 41 04");
  EXPECT_EQ(ReportsFor({"Up"}), "00 00 3A 00 FF FF 26 52");
  EXPECT_EQ(ReportsFor({"KP_5"}), "00 00 47 00 35 23 65 5D");
}

TEST(KeyReports, HeldKeysAreReleasedAfterTheStroke) {
  EXPECT_EQ(ReportsFor({"shift+a", "a"}), "22 00 1D 00 41 23 41 04|00 00 1D 00 61 23 41 04");
  EXPECT_EQ(ReportsFor({"ctrl+shift+z"}), "33 00 29 00 1A 00 5A 1D");
}

TEST(KeyReports, CapsLockTogglesAndStaysBetweenKeys) {
  EXPECT_EQ(ReportsFor({"Caps_Lock", "a", "shift+a", "Caps_Lock", "a"}),
            "00 02 1D 00 41 23 41 04|22 02 1D 00 61 23 41 04|00 00 1D 00 61 23 41 04");
  EXPECT_EQ(ReportsFor({"Kana_Lock", "a"}), "00 10 1D 00 41 24 41 04");
}

TEST(KeyReports, CtrlWithAltReachesTheAltRow) {
  EXPECT_EQ(ReportsFor({"ctrl+alt+a", "a"}), "55 00 1D 00 41 26 41 04|00 00 1D 00 61 23 41 04");
}

TEST(KeyReports, ShiftedMarksAsOnAJisKeyboard) {
  EXPECT_EQ(ReportsFor({"exclam"}), "22 00 01 00 2A 21 31 1E");
  EXPECT_EQ(ReportsFor({"F12"}), "00 00 53 00 FF FF 7B 45");
  EXPECT_EQ(ReportsFor({"Menu"}), "00 00 01 00 FF FF 5D 65");
}

}  // namespace
