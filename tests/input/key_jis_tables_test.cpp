#include <gtest/gtest.h>

#include <set>
#include <string>

#include "terminal/input/key_data.h"
#include "terminal/input/key_jis_tables.h"
#include "terminal/input/key_translation.h"
#include "terminal/input/virtual_keys.h"
#include "terminal/model/jis.h"
#include "tests/input/recording_platform.h"

namespace {

const std::string Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

int KeyCodeOf(unsigned virtualKey) {
  KeyEntry entry{};
  EXPECT_TRUE(FindKeyEntry(virtualKey, entry)) << std::hex << virtualKey;
  return entry.keyCode;
}

int LetterKeyCode(char letter) { return KeyCodeOf(unsigned(letter)); }

bool IsLetterKey(int keyCode) {
  for (char letter : Letters) {
    if (LetterKeyCode(letter) == keyCode) return true;
  }
  return false;
}

std::uint16_t Entry(KeyJisRow row, unsigned virtualKey) {
  return KeyJisTables[row][KeyCodeOf(virtualKey)];
}

// What a JIS code shows as, in UTF-8.
std::string Character(std::uint16_t jis) {
  const std::uint16_t pair = JisToSjis(jis);
  const char bytes[2] = {char(pair & 0xFF), char(pair >> 8)};
  return Cp932ToUtf8(std::string_view(bytes, 2));
}

// The characters a row gives for the keys in keyboard order, from the 1 key
// to the / key of the bottom row (the printable keys, without Esc, BS, Tab,
// Return, the \ key at the end of the bottom row and the space bar).
const unsigned PrintableKeys[] = {
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VkOemMinus, VkOem7, VkOem5,
    'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', VkOem3, VkOem4,
    'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', VkOemPlus, VkOem1, VkOem6,
    'Z', 'X', 'C', 'V', 'B', 'N', 'M', VkOemComma, VkOemPeriod, VkOem2, VkOem8,
};

std::string RowText(KeyJisRow row, unsigned leftOut = 0) {
  std::string text;
  for (unsigned key : PrintableKeys) {
    if (key != leftOut) text += Character(Entry(row, key));
  }
  return text;
}

TEST(KeyJisTablesRows, NormalRowIsTheFullWidthUnshiftedKeyboard) {
  EXPECT_EQ(RowText(KeyRowNormal),
            "１２３４５６７８９０－＾￥ｑｗｅｒｔｙｕｉｏｐ＠｀ａｓｄｆｇｈｊｋｌ；：］ｚｘｃｖｂｎｍ，．／＼");
}

TEST(KeyJisTablesRows, ShiftRowIsTheFullWidthShiftedKeyboard) {
  EXPECT_EQ(Entry(KeyRowShift, '0'), 0x0000);  // Shift+0 gives no character
  EXPECT_EQ(RowText(KeyRowShift, '0'),
            "！”＃＄％＆’（）＝｀｜ＱＷＥＲＴＹＵＩＯＰ～｛ＡＳＤＦＧＨＪＫＬ＋＊｝ＺＸＣＶＢＮＭ＜＞？＿");
}

TEST(KeyJisTablesRows, KanaRowIsTheJisKanaArrangement) {
  EXPECT_EQ(RowText(KeyRowKana),
            "ぬふあうえおやゆよわほへーたていすかんなにらせ゛゜ちとしはきくまのりれけむつさそひこみもねるめろ");
}

TEST(KeyJisTablesRows, KanaShiftRowGivesSmallAndVoicedKanaAndTheDateSigns) {
  EXPECT_EQ(RowText(KeyRowKanaShift),
            "ぷぶぁぅぇぉゃゅょをぼべゐだでぃずがゑ年月廿ぜぷ「ぢどじばぎぐ円時分秒げ」っざぞびごぴぽ、。ぺ・");
}

TEST(KeyJisTablesRows, AltRowsGiveGreekLettersInAlphabetOrderAndMathematicalSigns) {
  for (std::size_t i = 0; i + 1 < Letters.size(); ++i) {  // A-Y; Y's code has no character
    EXPECT_EQ(Entry(KeyRowAlt, unsigned(Letters[i])), 0x2641 + i) << Letters[i];
    EXPECT_EQ(Entry(KeyRowAltShift, unsigned(Letters[i])), 0x2621 + i) << Letters[i];
  }
  EXPECT_EQ(Character(Entry(KeyRowAlt, 'A')), "α");
  EXPECT_EQ(Character(Entry(KeyRowAltShift, 'X')), "Ω");
  EXPECT_EQ(Character(Entry(KeyRowAlt, 'Z')), "∞");
  EXPECT_EQ(Character(Entry(KeyRowAltShift, 'Z')), "∩");
  std::string signs;
  for (unsigned key : {unsigned(VkOemMinus), VkOem7, VkOem5, VkOem3, VkOem4, VkOemPlus, VkOem1,
                       VkOem6, VkOemComma, VkOemPeriod, VkOem2, VkOem8}) {
    signs += Character(Entry(KeyRowAlt, key));
  }
  EXPECT_EQ(signs, "\u212B‰±㎜㎞㎎㎏㏄￡∬∮≡");  // Å is the Angstrom sign
  std::string shiftedSigns;
  for (unsigned key = '1'; key <= '7'; ++key) {
    shiftedSigns += Character(Entry(KeyRowAltShift, key));
  }
  EXPECT_EQ(shiftedSigns, "＋－×÷％√∫");
}

TEST(KeyJisTablesRows, AltKeepsTheDigitsOfTheNormalRow) {
  for (unsigned key = '0'; key <= '9'; ++key) {
    EXPECT_EQ(Entry(KeyRowAlt, key), Entry(KeyRowNormal, key));
  }
}

TEST(KeyJisTablesRules, CapsRowsTurnOnlyTheLettersOver) {
  for (int code = 0; code < KeyJisColumns; ++code) {
    if (IsLetterKey(code)) {
      EXPECT_EQ(KeyJisTables[KeyRowCaps][code], KeyJisTables[KeyRowShift][code]) << code;
      EXPECT_EQ(KeyJisTables[KeyRowCapsShift][code], KeyJisTables[KeyRowNormal][code]) << code;
    } else {
      EXPECT_EQ(KeyJisTables[KeyRowCaps][code], KeyJisTables[KeyRowNormal][code]) << code;
      EXPECT_EQ(KeyJisTables[KeyRowCapsShift][code], KeyJisTables[KeyRowShift][code]) << code;
    }
  }
  for (std::size_t i = 0; i < Letters.size(); ++i) {
    EXPECT_EQ(Entry(KeyRowCaps, unsigned(Letters[i])), 0x2341 + i);
    EXPECT_EQ(Entry(KeyRowCapsShift, unsigned(Letters[i])), 0x2361 + i);
  }
}

TEST(KeyJisTablesRules, CtrlRowGivesControlCodes) {
  for (std::size_t i = 0; i < Letters.size(); ++i) {
    EXPECT_EQ(Entry(KeyRowCtrl, unsigned(Letters[i])), i + 1) << Letters[i];
  }
  EXPECT_EQ(Entry(KeyRowCtrl, VkOem7), 0x001E);
  EXPECT_EQ(Entry(KeyRowCtrl, VkOem5), 0x001C);
  EXPECT_EQ(Entry(KeyRowCtrl, VkOem4), 0x001B);
  EXPECT_EQ(Entry(KeyRowCtrl, VkOem6), 0x001D);
  EXPECT_EQ(Entry(KeyRowCtrl, VkOem8), 0x001F);
  EXPECT_EQ(Entry(KeyRowCtrl, VkOem3), 0x2177);  // ＠ stays
  const std::set<unsigned> controlKeys = {VkOem7, VkOem5, VkOem4, VkOem6, VkOem8};
  for (int code = 0; code < KeyJisColumns; ++code) {
    if (IsLetterKey(code)) continue;
    bool isControlKey = false;
    for (unsigned key : controlKeys) isControlKey |= KeyCodeOf(key) == code;
    if (!isControlKey) {
      EXPECT_EQ(KeyJisTables[KeyRowCtrl][code], KeyJisTables[KeyRowNormal][code]) << code;
    }
  }
}

TEST(KeyJisTablesRules, EditingKeysGiveTheirControlCodesInEveryRow) {
  for (int row = 0; row < KeyJisRowCount; ++row) {
    const KeyJisRow r = KeyJisRow(row);
    EXPECT_EQ(Entry(r, VkEscape), 0x001B) << row;
    EXPECT_EQ(Entry(r, VkBack), 0x0008) << row;
    EXPECT_EQ(Entry(r, VkTab), 0x0009) << row;
    EXPECT_EQ(Entry(r, VkReturn), 0x000D) << row;
    EXPECT_EQ(Entry(r, VkSpace), r == KeyRowKanaShift ? 0x2D5F : 0x2121) << row;
  }
}

TEST(KeyJisTablesRules, EveryEntryIsAJisCodeAControlCodeOrNothing) {
  for (int row = 0; row < KeyJisRowCount; ++row) {
    for (int code = 0; code < KeyJisColumns; ++code) {
      const std::uint16_t entry = KeyJisTables[row][code];
      const unsigned high = entry >> 8;
      const unsigned low = entry & 0xFF;
      const bool control = entry <= 0x001F;
      const bool jis = high >= 0x21 && high <= 0x7E && low >= 0x21 && low <= 0x7E;
      const bool deviceCode = row == KeyRowAltShift && code == 0x0D && entry == 0x2202;
      EXPECT_TRUE(control || jis || deviceCode) << row << " " << code << " " << std::hex << entry;
    }
  }
}

TEST(KeyJisTablesNotedEntries, HoldTheirOwnValues) {
  EXPECT_EQ(Entry(KeyRowNormal, VkOem4), 0x212E);  // ｀, not ［
  EXPECT_EQ(Entry(KeyRowCaps, VkOem4), 0x212E);
  EXPECT_EQ(Entry(KeyRowShift, VkOem7), 0x212E);
  EXPECT_EQ(Entry(KeyRowKanaShift, 'O'), 0x467B);  // 廿, not 日
  EXPECT_EQ(Entry(KeyRowKanaShift, VkOem3), Entry(KeyRowKanaShift, '1'));
  EXPECT_EQ(Character(Entry(KeyRowKanaShift, VkSpace)), "㍻");
  EXPECT_EQ(Entry(KeyRowAlt, 'Y'), 0x2659);
  EXPECT_EQ(Entry(KeyRowAltShift, 'Y'), 0x2639);
  EXPECT_EQ(Entry(KeyRowAltShift, VkOem5), 0x2202);
  EXPECT_EQ(Entry(KeyRowAlt, VkOem2), 0x2D73);
}

// Row selection, first match wins: Kana lock, Alt, Ctrl, Caps Lock.
struct Selection {
  std::uint8_t modifiers;
  std::uint8_t modes;
  KeyJisRow row;
};

TEST(KeyJisRowSelection, FollowsThePrecedenceOfLocksAndModifiers) {
  const Selection cases[] = {
      {0, 0, KeyRowNormal},
      {ModifierShift, 0, KeyRowShift},
      {0x02, 0, KeyRowShift},  // either Shift bit counts
      {0x20, 0, KeyRowShift},
      {0, ModeCapsLock, KeyRowCaps},
      {ModifierShift, ModeCapsLock, KeyRowCapsShift},
      {ModifierCtrl, 0, KeyRowCtrl},
      {ModifierCtrl | ModifierShift, 0, KeyRowCtrl},
      {ModifierCtrl, ModeCapsLock, KeyRowCtrl},
      {0x10, 0, KeyRowCtrl},
      {ModifierAlt, 0, KeyRowAlt},
      {0x40, 0, KeyRowAlt},
      {ModifierAlt | ModifierShift, 0, KeyRowAltShift},
      {ModifierAlt | ModifierCtrl, 0, KeyRowAlt},
      {ModifierAlt, ModeCapsLock, KeyRowAlt},
      {ModifierAlt | ModifierShift, ModeCapsLock, KeyRowAltShift},
      {0, ModeKanaLock, KeyRowKana},
      {ModifierShift, ModeKanaLock, KeyRowKanaShift},
      {ModifierAlt | ModifierCtrl, ModeKanaLock | ModeCapsLock, KeyRowKana},
      {ModifierCtrl | ModifierShift, ModeKanaLock, KeyRowKanaShift},
      {ModifierLeftWindows | ModifierRightWindows, ModeImeInput, KeyRowNormal},
  };
  for (const Selection& c : cases) {
    EXPECT_EQ(SelectKeyJisRow(c.modifiers, c.modes), c.row)
        << std::hex << unsigned(c.modifiers) << " " << unsigned(c.modes);
  }
}

TEST(KeyJisLookup, AnswersEdgeCasesOfModifiersAndLocks) {
  const int m = LetterKeyCode('M');
  const int a = LetterKeyCode('A');
  EXPECT_EQ(LookupKeyJis(ModifierShift, ModeCapsLock, m), 0x236D);  // ｍ
  EXPECT_EQ(LookupKeyJis(ModifierShift, ModeCapsLock, KeyCodeOf(VkOemComma)), 0x2163);  // ＜
  EXPECT_EQ(LookupKeyJis(ModifierShift, ModeCapsLock, KeyCodeOf(VkSpace)), 0x2121);
  EXPECT_EQ(LookupKeyJis(ModifierCtrl | ModifierShift, 0, a), LookupKeyJis(ModifierCtrl, 0, a));
  EXPECT_EQ(LookupKeyJis(ModifierCtrl, ModeKanaLock, a), 0x2441);  // ち, not ^A
  EXPECT_EQ(LookupKeyJis(ModifierAlt, ModeKanaLock, a), 0x2441);   // ち, not α
  EXPECT_EQ(LookupKeyJis(ModifierAlt, ModeCapsLock, a), 0x2641);   // α, Caps Lock changes nothing
}

}  // namespace
