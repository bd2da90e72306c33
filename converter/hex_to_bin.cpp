#include "converter/hex_to_bin.h"

#include <cstdio>
#include <vector>

#include "converter/disk_file.h"
#include "converter/hex_reader.h"
#include "converter/rom_size.h"

namespace {

constexpr std::size_t readChunkSize = 0x10000;

// The input is read in binary chunks and the reader applies the text-mode line
// rules itself, so that Windows and Linux read the same file alike.
void ReadHexFile(std::FILE* input, HexReader& reader)
{
    std::vector<char> chunk(readChunkSize);
    while (!reader.ended) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), input);
        if (got == 0) {
            break;
        }
        FeedHexText(reader, chunk.data(), got);
    }
    FinishHexText(reader);
}

}  // namespace

int ConvertHexToBin(const char* inputName, const char* outputName, const char* romSizeText,
                    std::ostream& console)
{
    ConversionFiles files;
    if (!OpenConversionFiles(inputName, outputName, console, files)) return 1;
    std::FILE* input = files.input;
    std::FILE* output = files.output;
    console << "Input file size=" << OpenFileSize(input) << "\n";

    HexReader reader;
    StartHexReader(reader, ParseRomSize(romSizeText));
    ReadHexFile(input, reader);
    if (reader.addressError) {
        console << "Address error!\n";
        std::fclose(output);
        std::fclose(input);
        return 5;
    }
    const char* image = reinterpret_cast<const char*>(reader.image.data());
    if (!CloseOutputFile(output, WriteOutput(output, image, image + reader.romSize), console)) {
        std::fclose(input);
        return writeErrorExit;
    }
    console << "Output file size=" << FileSizeOnDisk(outputName) << "\n";
    std::fclose(input);
    return 0;
}
