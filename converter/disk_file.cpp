#include "converter/disk_file.h"

#include <filesystem>
#include <system_error>

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
