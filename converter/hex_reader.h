#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The reader builds the whole 1 MB image, whatever the ROM size; only the first
// ROM-size bytes of it are written out.
constexpr std::size_t hexImageSize = 0x100000;

// The characters of a line the reader keeps: the record header (':', count,
// address, type) and the data digits of the largest count the digit rule can
// give (408). A line may be longer, and is still read as one line: no field
// lies beyond these characters (the checksum is not verified), so the rest of
// it is passed over.
constexpr std::size_t hexLineKept = 9 + 2 * 408;

// State of reading one Intel HEX text, fed in chunks of any size. The text is
// read the way a text-mode stream reads it: CR LF and a lone LF end a line,
// Ctrl-Z ends the input.
struct HexReader {
    std::vector<unsigned char> image;
    long romSize = 0;
    // Added to every record's address: set by the last extended segment address
    // record (type 2, value x 16) or extended linear address record (type 4,
    // value x 65536). 64 bits wide, since letters read as digits can make a base
    // beyond 32 bits, which must fail the address check rather than wrap.
    std::uint64_t addressBase = 0;
    char line[hexLineKept] = {};  // the kept start of the line being read
    std::size_t lineLength = 0;
    bool pendingCr = false;
    bool ended = false;         // Ctrl-Z read or an address error found
    bool addressError = false;  // a record starting beyond the ROM size
};

// Value of a digit pair: 16 * d(first) + d(second), d(c) = c mod 16 for "0"-"9"
// and (c mod 16) + 9 for any other character. Characters are taken as bytes
// 0-255, so the result lies between 0 and 408.
int HexPairValue(char first, char second);

void StartHexReader(HexReader& reader, long romSize);
void FeedHexText(HexReader& reader, const char* text, std::size_t size);
// Handles what is left after the last chunk or a Ctrl-Z: a last line without a
// line end.
void FinishHexText(HexReader& reader);
