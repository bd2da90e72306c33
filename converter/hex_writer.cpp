#include "converter/hex_writer.h"

#include <cstring>

namespace {

constexpr std::size_t recordDataBytes = 32;
constexpr unsigned long segmentSpan = 0x10000;
constexpr unsigned segmentStep = 0x1000;

// Longest line: ':', count, address, type, 32 data bytes, checksum, CR LF.
constexpr std::size_t longestRecordChars = 1 + 2 * (4 + recordDataBytes + 1) + 2;

// The two upper-case digits of every byte value, so formatting a byte is one copy.
struct DigitPairTable {
    char pairs[256][2];
};

constexpr DigitPairTable MakeDigitPairTable()
{
    constexpr char digits[] = "0123456789ABCDEF";
    DigitPairTable table{};
    for (unsigned value = 0; value < 256; ++value) {
        table.pairs[value][0] = digits[value >> 4];
        table.pairs[value][1] = digits[value & 0x0F];
    }
    return table;
}

constexpr DigitPairTable digitPairs = MakeDigitPairTable();

char* PutByte(char* out, unsigned value)
{
    std::memcpy(out, digitPairs.pairs[value & 0xFF], 2);
    return out + 2;
}

// Writes one record into `out` and returns the end of the line written.
char* PutRecord(char* out, unsigned type, unsigned address, const unsigned char* data,
                std::size_t count)
{
    unsigned sum = static_cast<unsigned>(count) + (address >> 8) + (address & 0xFF) + type;
    *out++ = ':';
    out = PutByte(out, static_cast<unsigned>(count));
    out = PutByte(out, address >> 8);
    out = PutByte(out, address);
    out = PutByte(out, type);
    for (std::size_t k = 0; k < count; ++k) {
        sum += data[k];
        out = PutByte(out, data[k]);
    }
    out = PutByte(out, (0x100 - (sum & 0xFF)) & 0xFF);
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

char* PutSegmentRecord(char* out, unsigned segment)
{
    const unsigned char value[2] = {static_cast<unsigned char>(segment >> 8),
                                    static_cast<unsigned char>(segment)};
    return PutRecord(out, 2, 0, value, 2);
}

}  // namespace

void AppendHexRecords(const unsigned char* data, std::size_t size, std::string& text)
{
    const std::size_t start = text.size();
    const std::size_t records = size / recordDataBytes + 1;
    const std::size_t segments = size / segmentSpan + 1;
    text.resize(start + (records + segments + 1) * longestRecordChars);

    char* const begin = &text[start];
    char* out = PutSegmentRecord(begin, 0);
    unsigned segment = 0;
    unsigned long address = 0;
    std::size_t done = 0;
    while (done < size) {
        const std::size_t count = size - done > recordDataBytes ? recordDataBytes : size - done;
        out = PutRecord(out, 0, static_cast<unsigned>(address), data + done, count);
        done += count;
        address += count;
        if (done < size && address >= segmentSpan) {
            segment = (segment + segmentStep) & 0xFFFF;
            out = PutSegmentRecord(out, segment);
            address = 0;
        }
    }
    out = PutRecord(out, 1, 0, nullptr, 0);
    text.resize(start + static_cast<std::size_t>(out - begin));
}
