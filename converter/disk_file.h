#pragma once

#include <cstdio>
#include <ostream>

// Opens an input file for binary reading; nullptr when it cannot be opened or
// is a directory (which some systems open but nobody can convert).
std::FILE* OpenInputFile(const char* name);

// Size in bytes of a file opened in binary mode, as the file system reports it;
// the read position is back at the start afterwards. -1 when it cannot be told.
long OpenFileSize(std::FILE* file);

// Size in bytes of a closed file on disk; -1 when it cannot be opened.
long FileSizeOnDisk(const char* name);

// The two files of a conversion: the input for binary reading, the output
// created (or truncated) for binary writing, since both conversions write their
// line ends themselves. On failure says which could not be opened, closes what
// was opened and returns false.
struct ConversionFiles {
    std::FILE* input;
    std::FILE* output;
};
bool OpenConversionFiles(const char* inputName, const char* outputName, std::ostream& console,
                         ConversionFiles& files);
