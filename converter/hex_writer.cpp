#include "converter/hex_writer.h"

#include <cstring>

namespace {

constexpr std::size_t recordDataBytes = 32;
constexpr unsigned segmentStep = 0x1000;

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

char* PutHexStart(char* out)
{
    return PutSegmentRecord(out, 0);
}

char* PutHexSegment(const unsigned char* data, std::size_t size, unsigned segmentIndex, char* out)
{
    if (segmentIndex > 0) {
        out = PutSegmentRecord(out, (segmentIndex * segmentStep) & 0xFFFF);
    }
    for (std::size_t done = 0; done < size; done += recordDataBytes) {
        const std::size_t count = size - done > recordDataBytes ? recordDataBytes : size - done;
        out = PutRecord(out, 0, static_cast<unsigned>(done), data + done, count);
    }
    return out;
}

char* PutHexEnd(char* out)
{
    return PutRecord(out, 1, 0, nullptr, 0);
}
