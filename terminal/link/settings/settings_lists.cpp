#include "terminal/link/settings/settings_lists.h"

#include <iterator>

#include "terminal/link/settings/settings_ids.h"

const ListEntry BaudRateTable[25] = {
    {"4800", 4800},       {"9600", 9600},       {"28800", 28800},     {"38400", 38400},
    {"51200", 51200},     {"56000", 56000},     {"57600", 57600},     {"64000", 64000},
    {"76800", 76800},     {"115.2k", 115200},   {"128k", 128000},     {"153.6k", 153600},
    {"230.4k", 230400},   {"250k", 250000},     {"312.5k", 312500},   {"375k", 375000},
    {"460.8k", 460800},   {"500k", 500000},     {"600k", 600000},     {"750K", 750000},
    {"800K", 800000},     {"960K", 960000},     {"1000k", 1000000},   {"2000k", 2000000},
    {"3000k", 3000000},
};

// Listed by how often they are wanted, not by the line's parity code.
const ListEntry ParityTable[5] = {
    {"なし", 0}, {"偶数", 2}, {"奇数", 1}, {"マーク", 3}, {"スペース", 4},
};

const ListEntry StopBitsTable[3] = {
    {"1", 0}, {"1.5", 1}, {"2", 2},
};

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
