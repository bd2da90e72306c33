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
// line ends themselves. An output that is the input file, under whatever name,
// is refused before it is opened, as opening it would destroy the input. On
// failure says which could not be opened, closes what was opened and returns
// false.
struct ConversionFiles {
    std::FILE* input;
    std::FILE* output;
};
bool OpenConversionFiles(const char* inputName, const char* outputName, std::ostream& console,
                         ConversionFiles& files);

// Exit code of a conversion whose output could not be written completely
// (a full disk, a file size limit); what was written stays in the file.
constexpr int writeErrorExit = 6;

// Writes the bytes from `begin` to `end`; false when not all of them were written.
bool WriteOutput(std::FILE* output, const char* begin, const char* end);

// Closes the output of a conversion, which writes the bytes still buffered.
// `written` tells whether every earlier write succeeded. False, after saying
// so on the console, when any write or the close failed.
bool CloseOutputFile(std::FILE* output, bool written, std::ostream& console);
