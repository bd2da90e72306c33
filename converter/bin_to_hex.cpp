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
// invented: only the bytes actually read are converted. False as soon as a
// write fails: nothing more is written then.
bool WriteHexRecords(std::FILE* input, long size, std::FILE* output)
{
    std::vector<unsigned char> segment(hexSegmentBytes);
    std::vector<char> text(hexSegmentTextMax);
    char* const begin = text.data();
    bool written = WriteOutput(output, begin, PutHexStart(begin));
    std::size_t left = static_cast<std::size_t>(size);
    for (unsigned index = 0; written && left > 0; ++index) {
        const std::size_t wanted = left < hexSegmentBytes ? left : hexSegmentBytes;
        const std::size_t got = std::fread(segment.data(), 1, wanted, input);
        if (got == 0) {
            break;
        }
        written = WriteOutput(output, begin, PutHexSegment(segment.data(), got, index, begin));
        left -= got;
    }
    return written && WriteOutput(output, begin, PutHexEnd(begin));
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

    if (!CloseOutputFile(output, WriteHexRecords(input, inputSize, output), console)) {
        std::fclose(input);
        return writeErrorExit;
    }
    console << "Output file size=" << FileSizeOnDisk(outputName) << "\n";
    std::fclose(input);
    return 0;
}
