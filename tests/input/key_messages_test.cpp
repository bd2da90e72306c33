#include <gtest/gtest.h>

#include <vector>

#include "terminal/input/key_data.h"
#include "terminal/input/key_messages.h"
#include "terminal/input/virtual_keys.h"
#include "tests/input/recording_platform.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

KeyStroke Stroke(unsigned virtualKey, bool altHeld = false) { return {virtualKey, 1, altHeld}; }

struct KeyMessages : testing::Test, InputTest {
  KeyOutcome Down(unsigned virtualKey, bool altHeld = false) {
    return KeyDown(keyboard, Stroke(virtualKey, altHeld));
  }
  std::string KeyStatus() const { return recorder.LastStatus(); }
};

TEST_F(KeyMessages, KeyDownSendsTheReportAndShowsItsCodes) {
  const KeyOutcome outcome = Down('A');
  EXPECT_FALSE(outcome.defaultProcessing);
  EXPECT_EQ(outcome.ime, ImeRequest::None);
  EXPECT_EQ(recorder.sent, (Bytes{0x00, 0x00, 0x1D, 0x00, 0x61, 0x23, 0x41, 0x04}));
  EXPECT_EQ(KeyStatus(), "鍵盤入力データ：2361, 9821コード：001d, 修飾鍵盤：0000");
}

TEST_F(KeyMessages, StateKeyShowsThePreviousReportsCodesWithTheNewModifiers) {
  Down(VkShift);
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_EQ(KeyStatus(), "鍵盤入力データ：0000, 9821コード：0000, 修飾鍵盤：0022");
  Down('A');
  KeyUp(keyboard.Key_Data, Stroke(VkShift));
  recorder.sent.clear();
  const KeyOutcome outcome = Down(VkControl);
  EXPECT_FALSE(outcome.defaultProcessing);
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_EQ(KeyStatus(), "鍵盤入力データ：2341, 9821コード：001d, 修飾鍵盤：0011");
  for (unsigned key : {VkLWin, VkRWin, VkCapital, VkKana, VkNonConvert}) {
    EXPECT_FALSE(Down(key).defaultProcessing);
  }
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_EQ(KeyStatus(), "鍵盤入力データ：2341, 9821コード：001d, 修飾鍵盤：0099");
}

TEST_F(KeyMessages, FunctionKeyShowsFfffAsItsKeyData) {
  Down(VkF1);
  EXPECT_EQ(KeyStatus(), "鍵盤入力データ：ffff, 9821コード：0062, 修飾鍵盤：0000");
}

TEST_F(KeyMessages, UnknownKeyShowsItsVirtualKeyAndGoesToDefaultProcessing) {
  Down('A');
  recorder.sent.clear();
  const KeyData before = keyboard.Key_Data;
  const KeyOutcome outcome = Down(VkProcessKey);
  EXPECT_TRUE(outcome.defaultProcessing);
  EXPECT_EQ(outcome.ime, ImeRequest::None);
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_EQ(KeyStatus(), "不明の鍵盤入力：00e5");
  EXPECT_EQ(before.jisCode, keyboard.Key_Data.jisCode);
  EXPECT_EQ(before.virtualKey, keyboard.Key_Data.virtualKey);
  Down(VkMenu);
  EXPECT_EQ(KeyStatus(), "不明の鍵盤入力：0012");
}

TEST_F(KeyMessages, AltFlagOfEveryKeyMessageSetsOrClearsTheAltPair) {
  Down('A', true);
  EXPECT_EQ(recorder.sent, (Bytes{0x44, 0x00, 0x1D, 0x00, 0x41, 0x26, 0x41, 0x04}));  // α
  EXPECT_EQ(KeyStatus(), "鍵盤入力データ：2641, 9821コード：001d, 修飾鍵盤：0044");
  KeyUp(keyboard.Key_Data, Stroke('A', false));
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0x00);
  Down(VkProcessKey, true);  // unknown keys still carry the flag
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0x44);
  Down(VkShift, false);
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0x22);
}

TEST_F(KeyMessages, KeyUpReleasesShiftCtrlAndTheWindowsKeys) {
  for (unsigned key : {VkShift, VkControl, VkLWin, VkRWin}) Down(key);
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0xBB);
  recorder.statuses.clear();
  const std::pair<unsigned, std::uint8_t> releases[] = {
      {VkShift, 0x99}, {VkControl, 0x88}, {VkLWin, 0x80}, {VkRWin, 0x00}};
  for (const auto& [key, left] : releases) {
    const KeyOutcome outcome = KeyUp(keyboard.Key_Data, Stroke(key));
    EXPECT_FALSE(outcome.defaultProcessing);
    EXPECT_EQ(keyboard.Key_Data.modifiers, left) << std::hex << key;
  }
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_TRUE(recorder.statuses.empty());
}

TEST_F(KeyMessages, KeyUpOfOtherKeysGoesToDefaultProcessingAndSendsNothing) {
  for (unsigned key : {unsigned('A'), VkCapital, VkKana, VkKanji, VkF1, VkMenu}) {
    EXPECT_TRUE(KeyUp(keyboard.Key_Data, Stroke(key)).defaultProcessing);
  }
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_EQ(keyboard.Key_Data.modes, 0);
}

TEST_F(KeyMessages, KanjiKeyTogglesImeInputModeAndTheInputMethod) {
  KeyOutcome outcome = Down(VkKanji);
  EXPECT_FALSE(outcome.defaultProcessing);
  EXPECT_EQ(outcome.ime, ImeRequest::Open);
  EXPECT_TRUE(ImeInputModeOn(keyboard.Key_Data));
  outcome = Down(VkKanji);
  EXPECT_EQ(outcome.ime, ImeRequest::Close);
  EXPECT_FALSE(ImeInputModeOn(keyboard.Key_Data));
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_TRUE(recorder.statuses.empty());
}

TEST_F(KeyMessages, ImeInputModeLeavesKeysToTheInputMethod) {
  Down(VkKanji);
  for (unsigned key : {unsigned('A'), VkShift, VkCapital, VkUp, VkProcessKey}) {
    const KeyOutcome outcome = Down(key);
    EXPECT_TRUE(outcome.defaultProcessing);
    EXPECT_EQ(outcome.ime, ImeRequest::None);
  }
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_TRUE(recorder.statuses.empty());
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0);       // Shift went to the input method
  EXPECT_EQ(keyboard.Key_Data.modes, ModeImeInput);  // and so did Caps Lock
}

TEST_F(KeyMessages, KeyUpsStillCountInImeInputMode) {
  Down(VkShift);
  Down(VkKanji, true);
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0x66);
  KeyUp(keyboard.Key_Data, Stroke(VkShift));
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0x00);  // Alt flag clear on this release as well
  Down(VkKanji);
  recorder.sent.clear();
  Down('A');
  EXPECT_EQ(recorder.sent, (Bytes{0x00, 0x00, 0x1D, 0x00, 0x61, 0x23, 0x41, 0x04}));
}

}  // namespace
