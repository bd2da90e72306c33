#include "converter/hex_reader.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char ctrlZ = 0x1A;
constexpr std::size_t headerChars = 9;   // ':', count, address, type
constexpr std::size_t baseChars = 13;    // header and the four digits of a base record

bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// d(c) for every byte value, looked up rather than computed for each digit.
struct DigitTable {
    unsigned char values[256];
};

constexpr DigitTable MakeDigitTable()
{
    DigitTable table{};
    for (int c = 0; c < 256; ++c) {
        table.values[c] = static_cast<unsigned char>(c >= '0' && c <= '9' ? c % 16 : c % 16 + 9);
    }
    return table;
}

constexpr DigitTable digitTable = MakeDigitTable();

int DigitValue(char c)
{
    return digitTable.values[static_cast<unsigned char>(c)];
}

// Bytes that end or interrupt a run of ordinary line characters.
bool IsLineControl(char c)
{
    return c == '\n' || c == '\r' || c == ctrlZ;
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
               std::uint64_t start)
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

// What one unit of a base record's value is worth in bytes: an extended segment
// address (type 2) counts 16-byte paragraphs, an extended linear address
// (type 4) 64 KB pages. 0 for the other types, which set no base.
std::uint64_t BaseUnit(int type)
{
    return type == 2 ? 16 : type == 4 ? 0x10000 : 0;
}

// A line too short for the record header (count, address and type) holds no
// record and is skipped like any other line that is not a record. A base
// record without its four digits leaves the base as it was.
void HandleLine(HexReader& reader, const char* line, std::size_t length)
{
    if (reader.addressError || length < headerChars || line[0] != ':' || !IsAsciiAlnum(line[1]) ||
        !IsAsciiAlnum(line[2])) {
        return;
    }
    const int count = PairAt(line, 1);
    const std::uint64_t address = 256u * PairAt(line, 3) + PairAt(line, 5);
    const std::uint64_t start = reader.addressBase + address;
    if (start > static_cast<std::uint64_t>(reader.romSize)) {
        reader.addressError = true;
        reader.ended = true;
        return;
    }
    const int type = PairAt(line, 7);
    if (BaseUnit(type) != 0 && length >= baseChars) {
        reader.addressBase = (256u * PairAt(line, 9) + PairAt(line, 11)) * BaseUnit(type);
    } else if (type == 0) {
        StoreData(reader, line, length, count, start);
    }
}

void EndLine(HexReader& reader)
{
    HandleLine(reader, reader.line, reader.lineLength);
    reader.lineLength = 0;
}

void PushChar(HexReader& reader, char c)
{
    if (reader.lineLength < hexLineKept) {
        reader.line[reader.lineLength++] = c;
    }
}

// Every line control byte is below 0x1B. Record text has none of those bytes
// between its line ends, so whole 8-byte words are passed over while no byte in
// them is that low; the bytes of the word that stops this are looked at one by one.
std::size_t SkipWordsWithoutLowBytes(const char* text, std::size_t limit)
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    std::size_t skipped = 0;
    while (limit - skipped >= sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, text + skipped, sizeof word);
        if (((word - ones * (ctrlZ + 1)) & ~word & highBits) != 0) {
            break;
        }
        skipped += sizeof word;
    }
    return skipped;
}

// Passes over the run of ordinary characters at `text`, keeping as much of it
// as the line still has room for, and returns the length of the run.
std::size_t TakeOrdinaryRun(HexReader& reader, const char* text, std::size_t size)
{
    std::size_t taken = SkipWordsWithoutLowBytes(text, size);
    while (taken < size && !IsLineControl(text[taken])) {
        ++taken;
    }
    const std::size_t room = hexLineKept - reader.lineLength;
    const std::size_t kept = taken < room ? taken : room;
    std::memcpy(reader.line + reader.lineLength, text, kept);
    reader.lineLength += kept;
    return taken;
}

// A CR is held back until the next character tells whether it starts a CR LF
// line end (dropped) or is an ordinary character of the line.
void TakeOneChar(HexReader& reader, char c)
{
    if (reader.pendingCr) {
        reader.pendingCr = false;
        if (c == '\n') {
            EndLine(reader);
            return;
        }
        PushChar(reader, '\r');
    }
    if (c == ctrlZ) {
        reader.ended = true;
    } else if (c == '\r') {
        reader.pendingCr = true;
    } else if (c == '\n') {
        EndLine(reader);
    } else {
        PushChar(reader, c);
    }
}

}  // namespace

int HexPairValue(char first, char second)
{
    return 16 * DigitValue(first) + DigitValue(second);
}

// A reader used again keeps its image memory; only the state is reset.
void StartHexReader(HexReader& reader, long romSize)
{
    reader.image.assign(hexImageSize, 0xFF);
    reader.romSize = romSize;
    reader.addressBase = 0;
    reader.lineLength = 0;
    reader.pendingCr = false;
    reader.ended = false;
    reader.addressError = false;
}

void FeedHexText(HexReader& reader, const char* text, std::size_t size)
{
    std::size_t i = 0;
    while (i < size && !reader.ended) {
        const std::size_t taken = reader.pendingCr ? 0 : TakeOrdinaryRun(reader, text + i, size - i);
        if (taken > 0) {
            i += taken;
        } else {
            TakeOneChar(reader, text[i]);
            ++i;
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
        EndLine(reader);
    }
}
