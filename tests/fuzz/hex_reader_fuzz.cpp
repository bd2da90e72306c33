// Feeds whole files to the Intel HEX reader. The first byte picks the ROM size,
// the second where the text is cut in two; the reader must never touch memory
// outside its line and image, and must read the text cut in two exactly as it
// reads it whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "converter/hex_reader.h"

namespace {

constexpr long romSizes[] = {0x4000, 0x8000, 0x10000, 0x20000, 0x40000, 0x80000, 0x100000};

void ReadText(HexReader& reader, long romSize, const char* text, std::size_t size,
              std::size_t cut)
{
    StartHexReader(reader, romSize);
    FeedHexText(reader, text, cut);
    FeedHexText(reader, text + cut, size - cut);
    FinishHexText(reader);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const long romSize = romSizes[data[0] % (sizeof romSizes / sizeof romSizes[0])];
    const char* text = reinterpret_cast<const char*>(data + 2);
    const std::size_t textSize = size - 2;
    const std::size_t cut = textSize == 0 ? 0 : data[1] * textSize / 256;

    static HexReader whole;
    static HexReader split;
    ReadText(whole, romSize, text, textSize, textSize);
    ReadText(split, romSize, text, textSize, cut);
    if (whole.image.size() != hexImageSize || whole.lineLength > hexLineKept ||
        whole.addressError != split.addressError || whole.image != split.image) {
        std::abort();
    }
    return 0;
}
