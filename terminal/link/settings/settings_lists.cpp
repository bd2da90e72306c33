#include "terminal/link/settings/settings_lists.h"

#include <iterator>

#include "terminal/link/settings/settings_ids.h"

const ValueList BaudRateList = {IDS_BAUD_RATE_FIRST, BaudRateTable, int(std::size(BaudRateTable))};
const ValueList ParityList = {IDS_PARITY_FIRST, ParityTable, int(std::size(ParityTable))};
const ValueList StopBitsList = {IDS_STOP_BITS_FIRST, StopBitsTable, int(std::size(StopBitsTable))};

namespace {

constexpr int ComPortCount = 20;

bool InList(int position, int count) { return position >= 0 && position < count; }

}  // namespace

std::string PortEntryText(std::string_view portName, int position) {
  if (position >= ComPortCount) return "TELNET";
  return std::string(portName) + std::to_string(position + 1);
}

std::string DataBitsEntryText(int position) { return std::to_string(position + FewestDataBits); }

int PositionOfValue(const ValueList& list, std::uint32_t value) {
  for (int position = 0; position < list.count; ++position) {
    if (list.entries[position].value == value) return position;
  }
  return NoSelection;
}

std::optional<std::uint32_t> ValueAtPosition(const ValueList& list, int position) {
  if (!InList(position, list.count)) return std::nullopt;
  return list.entries[position].value;
}

int PortPosition(std::uint8_t portNumber) {
  int position = portNumber - 1;
  return InList(position, PortEntryCount) ? position : NoSelection;
}

std::optional<std::uint8_t> PortNumberAtPosition(int position) {
  if (!InList(position, PortEntryCount)) return std::nullopt;
  return std::uint8_t(position + 1);
}

int DataBitsPosition(std::uint8_t byteSize) {
  int position = byteSize - FewestDataBits;
  return InList(position, DataBitsEntryCount) ? position : NoSelection;
}

std::optional<std::uint8_t> DataBitsAtPosition(int position) {
  if (!InList(position, DataBitsEntryCount)) return std::nullopt;
  return std::uint8_t(position + FewestDataBits);
}
