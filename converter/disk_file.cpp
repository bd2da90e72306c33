#include "converter/file_size.h"

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
