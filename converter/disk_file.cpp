#include "converter/disk_file.h"

#include <filesystem>
#include <system_error>

#include "converter/file_identity.h"

std::FILE* OpenInputFile(const char* name)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(name, ignored)) {
        return nullptr;
    }
    return std::fopen(name, "rb");
}

long OpenFileSize(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long size = std::ftell(file);
    std::rewind(file);
    return size;
}

long FileSizeOnDisk(const char* name)
{
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        return -1;
    }
    const long size = OpenFileSize(file);
    std::fclose(file);
    return size;
}

bool OpenConversionFiles(const char* inputName, const char* outputName, std::ostream& console,
                         ConversionFiles& files)
{
    files.input = OpenInputFile(inputName);
    if (files.input == nullptr) {
        console << "Cannot open input file.\n";
        return false;
    }
    // Opening the output for writing truncates it, so an output that is the
    // input (under any name) is refused before that.
    if (IsSameFile(inputName, outputName)) {
        console << "Output file is the input file.\n";
        std::fclose(files.input);
        return false;
    }
    files.output = std::fopen(outputName, "wb");
    if (files.output == nullptr) {
        console << "Cannot open output file.\n";
        std::fclose(files.input);
        return false;
    }
    return true;
}

bool WriteOutput(std::FILE* output, const char* begin, const char* end)
{
    const std::size_t size = static_cast<std::size_t>(end - begin);
    return std::fwrite(begin, 1, size, output) == size;
}

bool CloseOutputFile(std::FILE* output, bool written, std::ostream& console)
{
    const bool closed = std::fclose(output) == 0;
    if (written && closed) {
        return true;
    }
    console << "Cannot write output file.\n";
    return false;
}
