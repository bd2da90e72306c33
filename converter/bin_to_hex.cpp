#include "converter/bin_to_hex.h"

#include <cstdio>
#include <vector>

#include "converter/disk_file.h"
#include "converter/hex_writer.h"
#include "converter/rom_size.h"

namespace {

// The image is read and converted one 64 KB segment at a time, so each
// segment's records are written from one buffer kept warm in the cache.
// At most `size` bytes are taken, the size the file system reported; bytes
// that cannot be read (a read error, a file shrinking under us) are not
// invented: only the bytes actually read are converted.
void WriteHexRecords(std::FILE* input, long size, std::FILE* output)
{
    std::vector<unsigned char> segment(hexSegmentBytes);
    std::vector<char> text(hexSegmentTextMax);
    char* const begin = text.data();
    std::fwrite(begin, 1, static_cast<std::size_t>(PutHexStart(begin) - begin), output);
    std::size_t left = static_cast<std::size_t>(size);
    for (unsigned index = 0; left > 0; ++index) {
        const std::size_t wanted = left < hexSegmentBytes ? left : hexSegmentBytes;
        const std::size_t got = std::fread(segment.data(), 1, wanted, input);
        if (got == 0) {
            break;
        }
        const char* end = PutHexSegment(segment.data(), got, index, begin);
        std::fwrite(begin, 1, static_cast<std::size_t>(end - begin), output);
        left -= got;
    }
    std::fwrite(begin, 1, static_cast<std::size_t>(PutHexEnd(begin) - begin), output);
}

}  // namespace

int ConvertBinToHex(const char* inputName, const char* outputName, const char* romSizeText,
                    std::ostream& console)
{
    ConversionFiles files;
    if (!OpenConversionFiles(inputName, outputName, console, files)) return 1;
    std::FILE* input = files.input;
    std::FILE* output = files.output;
    const long inputSize = OpenFileSize(input);
    console << "Input file size=" << inputSize << "\n";
    if (inputSize < 0 || ParseRomSize(romSizeText) < inputSize) {
        console << "File size error.\n";
        std::fclose(output);
        std::fclose(input);
        return 2;
    }

    WriteHexRecords(input, inputSize, output);
    std::fclose(output);
    console << "Output file size=" << FileSizeOnDisk(outputName) << "\n";
    std::fclose(input);
    return 0;
}
