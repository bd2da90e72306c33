// Reading a whole input file of the tools: a failure is an answer, never an
// exception or a silently empty content.
#pragma once

#include <cstdio>
#include <string>

// Appends everything left in the stream to `bytes`. False when a read fails,
// as it does on a folder, which the system lets one open but not read.
bool ReadWholeStream(std::FILE* stream, std::string& bytes);

// The bytes of the file at `path`. False when it cannot be opened or read;
// errno then tells why.
bool ReadWholeFile(const std::string& path, std::string& bytes);
