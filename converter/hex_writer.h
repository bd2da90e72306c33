#pragma once

#include <cstddef>
#include <string>

// Appends the Intel HEX text of a ROM image to `text`: the opening segment
// record 0000, data records of 32 bytes (only the last may be shorter), a new
// extended segment address record after every 64 KB when more data follows,
// and the end-of-file record. Digits are upper case and every line ends with
// CR LF, whatever the platform. Images up to 1 MB keep the segment in range.
void AppendHexRecords(const unsigned char* data, std::size_t size, std::string& text);
