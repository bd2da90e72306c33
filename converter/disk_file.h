#pragma once

#include <cstdio>

// Opens an input file for binary reading; nullptr when it cannot be opened or
// is a directory (which some systems open but nobody can convert).
std::FILE* OpenInputFile(const char* name);

// Size in bytes of a file opened in binary mode, as the file system reports it;
// the read position is back at the start afterwards. -1 when it cannot be told.
long OpenFileSize(std::FILE* file);

// Size in bytes of a closed file on disk; -1 when it cannot be opened.
long FileSizeOnDisk(const char* name);
