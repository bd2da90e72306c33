#pragma once

#include <cstddef>

// Intel HEX text of a ROM image, written segment by segment: the opening
// segment record 0000, then for every 64 KB of data its records (32 data bytes
// each, only the last of the file may be shorter) preceded, from the second
// segment on, by its extended segment address record, and the end-of-file
// record. Digits are upper case; every line ends with CR LF on every platform.
// Each Put function writes into `out` and returns the end of what it wrote.

constexpr std::size_t hexSegmentBytes = 0x10000;

// Room a full segment's text needs: its segment record and 2048 data records.
constexpr std::size_t hexSegmentTextMax = (hexSegmentBytes / 32 + 1) * (1 + 2 * 37 + 2);

char* PutHexStart(char* out);
// `data` holds `size` bytes (at most 64 KB) of segment number `segmentIndex`
// (segment value 0x1000 times the index), starting at its address 0000.
char* PutHexSegment(const unsigned char* data, std::size_t size, unsigned segmentIndex, char* out);
char* PutHexEnd(char* out);
