#include "terminal/link/settings/settings_lists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

namespace {

std::string TextAt(const ValueList& list, int position) { return list.entries[position].text; }

// "115.2k" and "750K" mean thousands; plain digits are bits per second.
double RateOfText(const std::string& text) {
  char* end = nullptr;
  double number = std::strtod(text.c_str(), &end);
  return (*end == 'k' || *end == 'K') ? number * 1000 : number;
}

TEST(BaudRateList, HasTwentyFiveRatesFrom4800To3000000InRisingOrder) {
  ASSERT_EQ(BaudRateList.count, 25);
  EXPECT_EQ(BaudRateTable[0].value, 4800u);
  EXPECT_EQ(BaudRateTable[24].value, 3000000u);
  for (int position = 1; position < BaudRateList.count; ++position) {
    EXPECT_LT(BaudRateTable[position - 1].value, BaudRateTable[position].value) << position;
  }
}

TEST(BaudRateList, EveryTextNamesItsOwnRate) {
  for (const ListEntry& entry : BaudRateTable) {
    EXPECT_DOUBLE_EQ(RateOfText(entry.text), double(entry.value)) << entry.text;
  }
}

TEST(BaudRateList, OnlyThe750800And960EntriesUseACapitalK) {
  std::set<std::string> capital;
  for (const ListEntry& entry : BaudRateTable) {
    std::string text = entry.text;
    if (text.back() == 'K') capital.insert(text);
  }
  EXPECT_EQ(capital, (std::set<std::string>{"750K", "800K", "960K"}));
  EXPECT_EQ(TextAt(BaudRateList, PositionOfValue(BaudRateList, 1000000)), "1000k");
  EXPECT_EQ(TextAt(BaudRateList, PositionOfValue(BaudRateList, 115200)), "115.2k");
  EXPECT_EQ(TextAt(BaudRateList, PositionOfValue(BaudRateList, 76800)), "76800");
}

TEST(BaudRateList, TextsComeFromStrings800On) {
  EXPECT_EQ(BaudRateList.firstStringId, 800);
  EXPECT_EQ(ParityList.firstStringId, 832);
  EXPECT_EQ(StopBitsList.firstStringId, 848);
}

TEST(ParityList, ListOrderDiffersFromTheLineCode) {
  ASSERT_EQ(ParityList.count, 5);
  EXPECT_EQ(TextAt(ParityList, 0), "なし");
  EXPECT_EQ(TextAt(ParityList, 1), "偶数");
  EXPECT_EQ(TextAt(ParityList, 2), "奇数");
  EXPECT_EQ(TextAt(ParityList, 3), "マーク");
  EXPECT_EQ(TextAt(ParityList, 4), "スペース");
  EXPECT_EQ(ValueAtPosition(ParityList, 1), 2u);  // even
  EXPECT_EQ(ValueAtPosition(ParityList, 2), 1u);  // odd
  EXPECT_EQ(PositionOfValue(ParityList, 1), 2);
  EXPECT_EQ(PositionOfValue(ParityList, 2), 1);
  EXPECT_EQ(ValueAtPosition(ParityList, 3), 3u);
  EXPECT_EQ(ValueAtPosition(ParityList, 4), 4u);
}

TEST(StopBitsList, OneOneAndAHalfTwo) {
  ASSERT_EQ(StopBitsList.count, 3);
  EXPECT_EQ(TextAt(StopBitsList, 0), "1");
  EXPECT_EQ(TextAt(StopBitsList, 1), "1.5");
  EXPECT_EQ(TextAt(StopBitsList, 2), "2");
  for (int position = 0; position < 3; ++position) {
    EXPECT_EQ(ValueAtPosition(StopBitsList, position), std::uint32_t(position));
  }
}

TEST(ValueLists, EveryEntryMapsBackToItsOwnPosition) {
  for (const ValueList* list : {&BaudRateList, &ParityList, &StopBitsList}) {
    for (int position = 0; position < list->count; ++position) {
      EXPECT_EQ(PositionOfValue(*list, *ValueAtPosition(*list, position)), position);
    }
  }
}

TEST(ValueLists, AValueWithoutAnEntryLeavesNoSelection) {
  EXPECT_EQ(PositionOfValue(BaudRateList, 19200), NoSelection);
  EXPECT_EQ(PositionOfValue(BaudRateList, 0), NoSelection);
  EXPECT_EQ(PositionOfValue(ParityList, 5), NoSelection);
  EXPECT_EQ(PositionOfValue(StopBitsList, 255), NoSelection);
}

TEST(ValueLists, NoSelectionAndPositionsOutsideGiveNoValue) {
  EXPECT_FALSE(ValueAtPosition(BaudRateList, NoSelection));
  EXPECT_FALSE(ValueAtPosition(BaudRateList, 25));
  EXPECT_FALSE(ValueAtPosition(ParityList, 5));
  EXPECT_FALSE(ValueAtPosition(StopBitsList, -2));
}

TEST(ValueLists, TheFirstEqualEntryIsSelected) {
  const ListEntry doubled[] = {{"a", 7}, {"b", 9}, {"c", 9}};
  const ValueList list = {0, doubled, 3};
  EXPECT_EQ(PositionOfValue(list, 9), 1);
}

TEST(PortList, Com1ToCom20ThenTelnet) {
  ASSERT_EQ(PortEntryCount, 21);
  EXPECT_EQ(PortEntryText("COM", 0), "COM1");
  EXPECT_EQ(PortEntryText("COM", 4), "COM5");
  EXPECT_EQ(PortEntryText("COM", 19), "COM20");
  EXPECT_EQ(PortEntryText("COM", 20), "TELNET");
}

TEST(PortList, EntriesAreMadeFromThePortNameString) {
  EXPECT_EQ(PortEntryText("PORT", 2), "PORT3");
}

TEST(PortList, TelnetIsPort21) {
  EXPECT_EQ(PortNumberAtPosition(20), 21);
  EXPECT_EQ(PortPosition(21), 20);
  EXPECT_EQ(PortNumberAtPosition(0), 1);
  EXPECT_EQ(PortPosition(5), 4);
  EXPECT_EQ(PortPosition(20), 19);
}

TEST(PortList, PortNumbersWithoutAnEntryLeaveNoSelection) {
  EXPECT_EQ(PortPosition(0), NoSelection);
  EXPECT_EQ(PortPosition(22), NoSelection);
  EXPECT_EQ(PortPosition(255), NoSelection);
  EXPECT_FALSE(PortNumberAtPosition(NoSelection));
  EXPECT_FALSE(PortNumberAtPosition(21));
}

TEST(DataBitsList, FiveToEight) {
  ASSERT_EQ(DataBitsEntryCount, 4);
  for (int position = 0; position < 4; ++position) {
    EXPECT_EQ(DataBitsEntryText(position), std::to_string(position + 5));
    EXPECT_EQ(DataBitsAtPosition(position), position + 5);
    EXPECT_EQ(DataBitsPosition(std::uint8_t(position + 5)), position);
  }
  EXPECT_EQ(DataBitsPosition(4), NoSelection);
  EXPECT_EQ(DataBitsPosition(9), NoSelection);
  EXPECT_EQ(DataBitsPosition(0), NoSelection);
  EXPECT_FALSE(DataBitsAtPosition(4));
  EXPECT_FALSE(DataBitsAtPosition(NoSelection));
}

}  // namespace
