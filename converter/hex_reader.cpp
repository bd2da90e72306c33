#include "converter/hex_reader.h"

namespace {

constexpr char ctrlZ = 0x1A;
constexpr std::size_t headerChars = 9;   // ':', count, address, type
constexpr std::size_t segmentChars = 13; // header and the four segment digits

bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int DigitValue(char c)
{
    const int value = static_cast<unsigned char>(c) % 16;
    return c >= '0' && c <= '9' ? value : value + 9;
}

int PairAt(const char* line, std::size_t position)
{
    return HexPairValue(line[position], line[position + 1]);
}

// Only the data digits the line really holds are read: a count larger than the
// line stores the bytes whose two digits are present and nothing more. Bytes
// falling beyond the 1 MB image are dropped without a word, as bytes between the
// ROM size and the end of the image are: neither can reach the output.
void StoreData(HexReader& reader, const char* line, std::size_t length, int count,
               unsigned long start)
{
    const std::size_t present = (length - headerChars) / 2;
    const std::size_t stored = static_cast<std::size_t>(count) < present
                                   ? static_cast<std::size_t>(count)
                                   : present;
    for (std::size_t k = 0; k < stored && start + k < hexImageSize; ++k) {
        reader.image[start + k] =
            static_cast<unsigned char>(PairAt(line, headerChars + 2 * k) & 0xFF);
    }
}

// A line too short for the record header (count, address and type) holds no
// record and is skipped like any other line that is not a record. A segment
// record without its four segment digits leaves the segment as it was.
void HandleLine(HexReader& reader, const char* line, std::size_t length)
{
    if (reader.addressError || length < headerChars || line[0] != ':' || !IsAsciiAlnum(line[1]) ||
        !IsAsciiAlnum(line[2])) {
        return;
    }
    const int count = PairAt(line, 1);
    const unsigned long address = 256ul * PairAt(line, 3) + PairAt(line, 5);
    const unsigned long start = reader.segmentBase + address;
    if (start > static_cast<unsigned long>(reader.romSize)) {
        reader.addressError = true;
        reader.ended = true;
        return;
    }
    const int type = PairAt(line, 7);
    if (type == 2 && length >= segmentChars) {
        reader.segmentBase = (256ul * PairAt(line, 9) + PairAt(line, 11)) * 16;
    } else if (type == 0) {
        StoreData(reader, line, length, count, start);
    }
}

void EndPiece(HexReader& reader)
{
    HandleLine(reader, reader.line, reader.lineLength);
    reader.lineLength = 0;
}

void PushChar(HexReader& reader, char c)
{
    reader.line[reader.lineLength++] = c;
    if (reader.lineLength == hexLineLimit) {
        EndPiece(reader);
    }
}

}  // namespace

int HexPairValue(char first, char second)
{
    return 16 * DigitValue(first) + DigitValue(second);
}

void StartHexReader(HexReader& reader, long romSize)
{
    reader = HexReader{};
    reader.image.assign(hexImageSize, 0xFF);
    reader.romSize = romSize;
}

void FeedHexText(HexReader& reader, const char* text, std::size_t size)
{
    for (std::size_t i = 0; i < size && !reader.ended; ++i) {
        const char c = text[i];
        if (reader.pendingCr) {
            reader.pendingCr = false;
            if (c == '\n') {
                EndPiece(reader);
                continue;
            }
            PushChar(reader, '\r');
        }
        if (c == ctrlZ) {
            reader.ended = true;
        } else if (c == '\r') {
            reader.pendingCr = true;
        } else if (c == '\n') {
            EndPiece(reader);
        } else {
            PushChar(reader, c);
        }
    }
}

void FinishHexText(HexReader& reader)
{
    if (reader.pendingCr) {
        reader.pendingCr = false;
        PushChar(reader, '\r');
    }
    if (reader.lineLength > 0) {
        EndPiece(reader);
    }
}
