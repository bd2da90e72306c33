#include "converter/rom_size.h"

#include <cstring>

namespace {

struct RomSizeName {
    const char* text;
    long bytes;
};

constexpr RomSizeName romSizeNames[] = {
    {"16k", 0x4000},    {"32k", 0x8000},    {"64k", 0x10000},    {"128k", 0x20000},
    {"256k", 0x40000},  {"512k", 0x80000},  {"1024k", 0x100000},
};

constexpr long largestRomSize = 0x100000;

}  // namespace

long ParseRomSize(const char* text)
{
    for (const RomSizeName& name : romSizeNames) {
        if (std::strcmp(text, name.text) == 0) {
            return name.bytes;
        }
    }
    return largestRomSize;
}
