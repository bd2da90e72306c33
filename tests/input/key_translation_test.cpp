#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "terminal/input/key_data.h"
#include "terminal/input/key_translation.h"
#include "terminal/input/virtual_keys.h"
#include "tests/input/recording_platform.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

KeyStroke Press(unsigned virtualKey, std::uint16_t repeatCount = 1) {
  return {virtualKey, repeatCount, false};
}

struct KeyTranslation : testing::Test, InputTest {
  Bytes Translate(unsigned virtualKey, std::uint16_t repeatCount = 1) {
    recorder.sent.clear();
    EXPECT_EQ(TranslateKey(keyboard, Press(virtualKey, repeatCount)), 0);
    return recorder.sent;
  }
  KeyEntry EntryOf(unsigned virtualKey) {
    KeyEntry entry{};
    EXPECT_TRUE(FindKeyEntry(virtualKey, entry)) << std::hex << virtualKey;
    return entry;
  }
};

TEST_F(KeyTranslation, SendsTheReportsOfTheExamples) {
  EXPECT_EQ(Translate('A'), (Bytes{0x00, 0x00, 0x1D, 0x00, 0x61, 0x23, 0x41, 0x04}));
  EXPECT_EQ(Translate(VkShift), Bytes{});
  EXPECT_EQ(Translate('A'), (Bytes{0x22, 0x00, 0x1D, 0x00, 0x41, 0x23, 0x41, 0x04}));
  InitKeyboardState(keyboard.Key_Data, false, false);
  EXPECT_EQ(Translate(VkUp), (Bytes{0x00, 0x00, 0x3A, 0x00, 0xFF, 0xFF, 0x26, 0x52}));
  EXPECT_EQ(Translate(VkNumpad0 + 5), (Bytes{0x00, 0x00, 0x47, 0x00, 0x35, 0x23, 0x65, 0x5D}));
}

TEST_F(KeyTranslation, SendsTheReportAsOneSendOfEightBytes) {
  Translate('Q');
  EXPECT_EQ(recorder.sendSizes, std::vector<int>{8});
}

TEST_F(KeyTranslation, WireFormatIsTheRecordLayout) {
  Translate(VkF1);
  std::uint8_t memory[KeyReportSize];
  std::memcpy(memory, &keyboard.Key_Data, sizeof memory);
  EXPECT_EQ(recorder.sent, Bytes(memory, memory + KeyReportSize));
}

TEST_F(KeyTranslation, CharacterKeysUseEveryKeyCodeOfTheTablesOnce) {
  std::vector<unsigned> keys = {VkEscape, VkOemMinus, VkOem7, VkOem5, VkBack, VkTab, VkOem3,
                                VkOem4, VkReturn, VkOemPlus, VkOem1, VkOem6, VkOemComma,
                                VkOemPeriod, VkOem2, VkOem8, VkSpace};
  for (unsigned key = '0'; key <= '9'; ++key) keys.push_back(key);
  for (unsigned key = 'A'; key <= 'Z'; ++key) keys.push_back(key);
  std::set<int> codes;
  std::set<int> usages;
  for (unsigned key : keys) {
    const KeyEntry entry = EntryOf(key);
    EXPECT_EQ(entry.kind, KeyKind::Character) << std::hex << key;
    codes.insert(entry.keyCode);
    usages.insert(entry.usage);
  }
  EXPECT_EQ(codes.size(), 53u);
  EXPECT_EQ(*codes.begin(), 0x00);
  EXPECT_EQ(*codes.rbegin(), 0x34);
  EXPECT_EQ(usages.size(), 53u);
}

TEST_F(KeyTranslation, LetterKeyCodesRunAlongTheKeyboardRows) {
  const std::pair<std::string, int> rows[] = {{"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1D},
                                              {"ZXCVBNM", 0x29}};
  for (const auto& [letters, first] : rows) {
    for (std::size_t i = 0; i < letters.size(); ++i) {
      EXPECT_EQ(EntryOf(unsigned(letters[i])).keyCode, first + int(i)) << letters[i];
    }
  }
  for (unsigned letter = 'A'; letter <= 'Z'; ++letter) {
    EXPECT_EQ(EntryOf(letter).usage, 0x04 + letter - 'A');
  }
}

TEST_F(KeyTranslation, DigitKeysFollowTheKeyboardRow) {
  for (unsigned digit = '1'; digit <= '9'; ++digit) {
    EXPECT_EQ(EntryOf(digit).keyCode, digit - '0');
    EXPECT_EQ(EntryOf(digit).usage, 0x1E + digit - '1');
  }
  EXPECT_EQ(EntryOf('0').keyCode, 0x0A);
  EXPECT_EQ(EntryOf('0').usage, 0x27);
}

TEST_F(KeyTranslation, KeypadGivesTheSameCharacterUnderEveryModifierAndLock) {
  const std::uint8_t modifierSets[] = {0, ModifierShift, ModifierCtrl, ModifierAlt,
                                       ModifierShift | ModifierAlt};
  const std::uint8_t modeSets[] = {0, ModeCapsLock, ModeKanaLock, ModeCapsLock | ModeKanaLock};
  const std::pair<unsigned, std::uint16_t> keys[] = {
      {VkNumpad0, 0x2330}, {VkNumpad0 + 9, 0x2339}, {VkMultiply, 0x215F}, {VkAdd, 0x215C},
      {VkSeparator, 0x2124}, {VkSubtract, 0x215D}, {VkDecimal, 0x2125}, {VkDivide, 0x2160}};
  for (std::uint8_t modifiers : modifierSets) {
    for (std::uint8_t modes : modeSets) {
      for (const auto& [key, jis] : keys) {
        keyboard.Key_Data.modifiers = modifiers;
        keyboard.Key_Data.modes = modes;
        const Bytes report = Translate(key);
        ASSERT_EQ(report.size(), 8u);
        EXPECT_EQ(report[4] | report[5] << 8, jis) << std::hex << key;
      }
    }
  }
  // The same digit on the main keyboard follows the table row.
  keyboard.Key_Data.modifiers = ModifierShift;
  keyboard.Key_Data.modes = 0;
  EXPECT_EQ(Translate('5')[4], 0x73);  // ％ 0x2173
}

TEST_F(KeyTranslation, KeysWithoutCharacterSendFfff) {
  const unsigned keys[] = {VkPause, VkPrior, VkNext, VkEnd, VkHome, VkLeft, VkUp, VkRight,
                           VkDown, VkInsert, VkDelete, VkApps, VkF1, VkF10, VkF12, VkF15};
  for (unsigned key : keys) {
    const Bytes report = Translate(key);
    ASSERT_EQ(report.size(), 8u);
    EXPECT_EQ(report[4], 0xFF);
    EXPECT_EQ(report[5], 0xFF);
    EXPECT_EQ(report[6], key);
  }
}

TEST_F(KeyTranslation, FunctionKeysRunInThreeBlocks) {
  const struct {
    unsigned firstKey, lastKey;
    int firstCode, firstUsage;
  } blocks[] = {{VkF1, VkF10, 0x62, 0x3A}, {VkF11, VkF12, 0x52, 0x44}, {VkF13, VkF15, 0x54, 0x68}};
  for (const auto& block : blocks) {
    for (unsigned key = block.firstKey; key <= block.lastKey; ++key) {
      EXPECT_EQ(EntryOf(key).keyCode, block.firstCode + int(key - block.firstKey)) << key;
      EXPECT_EQ(EntryOf(key).usage, block.firstUsage + int(key - block.firstKey)) << key;
    }
  }
}

TEST_F(KeyTranslation, RollKeysCarryEachOthersUsage) {
  EXPECT_EQ(Translate(VkPrior), (Bytes{0x00, 0x00, 0x37, 0x00, 0xFF, 0xFF, 0x21, 0x4E}));
  EXPECT_EQ(Translate(VkNext), (Bytes{0x00, 0x00, 0x36, 0x00, 0xFF, 0xFF, 0x22, 0x4B}));
}

TEST_F(KeyTranslation, ApplicationsKeyReportsItsRepeatCount) {
  EXPECT_EQ(Translate(VkApps, 1), (Bytes{0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x5D, 0x65}));
  EXPECT_EQ(Translate(VkApps, 0x0203), (Bytes{0x00, 0x00, 0x03, 0x00, 0xFF, 0xFF, 0x5D, 0x65}));
}

TEST_F(KeyTranslation, AutoRepeatSendsOneWholeReportPerKeyDown) {
  recorder.sent.clear();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(TranslateKey(keyboard, Press('Z', 1)), 0);
  const Bytes one = {0x00, 0x00, 0x29, 0x00, 0x7A, 0x23, 0x5A, 0x1D};
  Bytes three;
  for (int i = 0; i < 3; ++i) three.insert(three.end(), one.begin(), one.end());
  EXPECT_EQ(recorder.sent, three);
}

TEST_F(KeyTranslation, StateKeysChangeTheStateAndSendNothing) {
  EXPECT_EQ(Translate(VkShift), Bytes{});
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0x22);
  EXPECT_EQ(Translate(VkControl), Bytes{});
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0x33);
  EXPECT_EQ(Translate(VkLWin), Bytes{});
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0x3B);
  EXPECT_EQ(Translate(VkRWin), Bytes{});
  EXPECT_EQ(keyboard.Key_Data.modifiers, 0xBB);
  EXPECT_EQ(Translate(VkCapital), Bytes{});
  EXPECT_EQ(keyboard.Key_Data.modes, 0x02);
  EXPECT_EQ(Translate(VkKana), Bytes{});
  EXPECT_EQ(keyboard.Key_Data.modes, 0x12);
  EXPECT_EQ(Translate(VkCapital), Bytes{});
  EXPECT_EQ(Translate(VkKana), Bytes{});
  EXPECT_EQ(keyboard.Key_Data.modes, 0x00);
  const KeyData before = keyboard.Key_Data;
  EXPECT_EQ(Translate(VkNonConvert), Bytes{});
  EXPECT_EQ(Translate(VkKanji), Bytes{});
  EXPECT_EQ(std::memcmp(&before, &keyboard.Key_Data, sizeof before), 0);
}

TEST_F(KeyTranslation, LocksChooseTheRowOfTheNextKey) {
  Translate(VkCapital);
  EXPECT_EQ(Translate('B')[4], 0x42);  // Ｂ
  EXPECT_EQ(Translate('B')[1], ModeCapsLock);
  Translate(VkKana);
  EXPECT_EQ(Translate('B')[4], 0x33);  // こ 0x2433
  EXPECT_EQ(Translate('B')[1], ModeCapsLock | ModeKanaLock);
}

TEST_F(KeyTranslation, UnknownKeysChangeNothingAndSendNothing) {
  Translate('A');
  const KeyData before = keyboard.Key_Data;
  recorder.sent.clear();
  const unsigned unknown[] = {VkMenu, VkConvert, 0x0C, 0x29, 0x2A, 0x2B, 0x2C, 0x2F, 0x7F, 0x87,
                              0x90, 0x91, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xE2, VkProcessKey,
                              0xF0, 0xFE, 0x00, 0x01, 0x5F, 0x141, 0x126,
                              0x3A, 0x40};  // just past the digits, just before the letters
  for (unsigned key : unknown) {
    EXPECT_EQ(TranslateKey(keyboard, Press(key)), -1) << std::hex << key;
  }
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_EQ(std::memcmp(&before, &keyboard.Key_Data, sizeof before), 0);
}

TEST_F(KeyTranslation, ReportsNeverCarryTheImeBitOrAHighKeyCodeByte) {
  keyboard.Key_Data.modes = ModeCapsLock | ModeKanaLock;
  for (unsigned key = 0; key < 0x100; ++key) {
    if (key == VkCapital || key == VkKana) continue;
    recorder.sent.clear();
    if (TranslateKey(keyboard, Press(key, 0xFFFF)) != 0 || recorder.sent.empty()) continue;
    EXPECT_EQ(recorder.sent[1] & ModeImeInput, 0) << std::hex << key;
    EXPECT_EQ(recorder.sent[3], 0) << std::hex << key;
  }
}

TEST(KeyStrokeMessage, ReadsRepeatCountAndAltFlag) {
  const KeyStroke plain = KeyStrokeFromMessage(0x41, 0x001E0001);
  EXPECT_EQ(plain.virtualKey, 0x41u);
  EXPECT_EQ(plain.repeatCount, 1);
  EXPECT_FALSE(plain.altHeld);
  const KeyStroke withAlt = KeyStrokeFromMessage(0x5D, 0x215D0102);
  EXPECT_EQ(withAlt.repeatCount, 0x0102);
  EXPECT_TRUE(withAlt.altHeld);
  EXPECT_FALSE(KeyStrokeFromMessage(0x41, 0xC0000001).altHeld);  // release and previous-state bits
  // Bit 29 alone, and every bit but 29: no neighbouring bit stands in for it.
  EXPECT_TRUE(KeyStrokeFromMessage(0x41, 0x20000001).altHeld);
  const KeyStroke allButAlt = KeyStrokeFromMessage(0x41, 0xDFFFFFFF);
  EXPECT_FALSE(allButAlt.altHeld);
  EXPECT_EQ(allButAlt.repeatCount, 0xFFFF);
}

TEST(KeyboardState, StartsWithTheKeyboardsLocksAndNothingElse) {
  KeyData keys = {0xFF, 0xFF, 0x1234, 0x5678, 0x9A, 0xBC};
  InitKeyboardState(keys, true, false);
  EXPECT_EQ(keys.modes, ModeCapsLock);
  InitKeyboardState(keys, false, true);
  EXPECT_EQ(keys.modes, ModeKanaLock);
  InitKeyboardState(keys, true, true);
  EXPECT_EQ(keys.modes, ModeCapsLock | ModeKanaLock);
  EXPECT_EQ(keys.modifiers, 0);
  EXPECT_EQ(keys.keyCode, 0);
  EXPECT_EQ(keys.jisCode, 0);
  EXPECT_EQ(keys.virtualKey, 0);
  EXPECT_EQ(keys.usage, 0);
  EXPECT_FALSE(ImeInputModeOn(keys));
}

}  // namespace
