// What the four drop-down lists of the line settings dialog hold, and how a
// list position maps to a record value and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One list entry: its text (UTF-8, the same as the string resource that
// carries it) and the value the record takes when it is chosen.
struct ListEntry {
  const char* text;
  std::uint32_t value;
};

// A list whose entries come from consecutive string resources, in this order.
struct ValueList {
  int firstStringId;
  const ListEntry* entries;
  int count;
};

extern const ListEntry BaudRateTable[25];
extern const ListEntry ParityTable[5];
extern const ListEntry StopBitsTable[3];

extern const ValueList BaudRateList;
extern const ValueList ParityList;
extern const ValueList StopBitsList;

// A list left without a selected entry.
constexpr int NoSelection = -1;

// The port list: "COM1" to "COM20", then "TELNET"; position + 1 is the port number.
constexpr int PortEntryCount = 21;
// The data-bits list: "5" to "8"; position + 5 is the number of data bits.
constexpr int DataBitsEntryCount = 4;
constexpr int FewestDataBits = 5;

// The text of a port entry, made with "%s%d" from the port name ("COM").
std::string PortEntryText(std::string_view portName, int position);
std::string DataBitsEntryText(int position);

// Position of the first entry whose value equals, or NoSelection.
int PositionOfValue(const ValueList& list, std::uint32_t value);
// The value of the entry at a position; nothing for NoSelection or a position
// outside the list.
std::optional<std::uint32_t> ValueAtPosition(const ValueList& list, int position);

int PortPosition(std::uint8_t portNumber);
std::optional<std::uint8_t> PortNumberAtPosition(int position);
int DataBitsPosition(std::uint8_t byteSize);
std::optional<std::uint8_t> DataBitsAtPosition(int position);
