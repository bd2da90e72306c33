// What the four drop-down lists of the line settings dialog hold, and how a
// list position maps to a record value and back. The values and their texts
// are the line settings' own tables (terminal/link/line_settings.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "terminal/link/line_settings.h"

// A list whose entries come from consecutive string resources, in this order.
struct ValueList {
  int firstStringId;
  const ListEntry* entries;
  int count;
};

extern const ValueList BaudRateList;
extern const ValueList ParityList;
extern const ValueList StopBitsList;

// A list left without a selected entry.
constexpr int NoSelection = -1;

// The port list: "COM1" to "COM20", then "TELNET"; position + 1 is the port number.
constexpr int PortEntryCount = 21;
// The data-bits list: "5" to "8"; position + 5 is the number of data bits.
constexpr int DataBitsEntryCount = MostDataBits - FewestDataBits + 1;

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
