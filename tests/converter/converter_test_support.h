#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tests/scratch_dir.h"

struct RunResult {
    int exitCode;
    std::string console;
};

// Runs the program in-process with these arguments after the program name.
RunResult RunWithArguments(const std::vector<std::string>& arguments);

void WriteBytes(const std::string& name, const std::string& bytes);
std::string ReadBytes(const std::string& name);
std::string RandomBytes(std::size_t size, unsigned seed);

// The lines of a HEX text, each of which must end with CR LF.
std::vector<std::string> HexLines(const std::string& hex);
