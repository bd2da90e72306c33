#include "converter/bin_to_hex.h"

#include <cstdio>
#include <string>
#include <vector>

#include "converter/file_size.h"
#include "converter/hex_writer.h"
#include "converter/rom_size.h"

namespace {

// The size check has bounded the image by the ROM size, so it is read whole.
// Bytes that cannot be read (a read error, a file shrinking under us) are not
// invented: only the bytes actually read are converted.
std::vector<unsigned char> ReadImage(std::FILE* input, long size)
{
    std::vector<unsigned char> image(static_cast<std::size_t>(size));
    const std::size_t got = std::fread(image.data(), 1, image.size(), input);
    image.resize(got);
    return image;
}

}  // namespace

int ConvertBinToHex(const char* inputName, const char* outputName, const char* romSizeText,
                    std::ostream& console)
{
    std::FILE* input = std::fopen(inputName, "rb");
    if (input == nullptr) {
        console << "Cannot open input file.\n";
        return 1;
    }
    // Binary mode: the records carry their own CR LF on every platform.
    std::FILE* output = std::fopen(outputName, "wb");
    if (output == nullptr) {
        console << "Cannot open output file.\n";
        std::fclose(input);
        return 1;
    }
    const long inputSize = OpenFileSize(input);
    console << "Input file size=" << inputSize << "\n";
    if (inputSize < 0 || ParseRomSize(romSizeText) < inputSize) {
        console << "File size error.\n";
        std::fclose(output);
        std::fclose(input);
        return 2;
    }

    const std::vector<unsigned char> image = ReadImage(input, inputSize);
    std::string text;
    AppendHexRecords(image.data(), image.size(), text);
    std::fwrite(text.data(), 1, text.size(), output);
    std::fclose(output);
    console << "Output file size=" << FileSizeOnDisk(outputName) << "\n";
    std::fclose(input);
    return 0;
}
