// One line of a hexadecimal dump: "%08lX  %s" with the offset, eight words in
// hexadecimal and their display forms; exactly 68 bytes of code page 932 text.
#pragma once

#include <cstdint>

constexpr int DumpLineLength = 68;

// Formats up to 16 bytes (an odd last byte is not shown) into `text`, which
// holds DumpLineLength + 1 bytes: the line and a terminating zero. Returns 68.
int FormatDumpLine(std::uint32_t offset, const std::uint8_t* data, int count, char* text);
