#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// A fresh directory for one test's files, removed again at the end.
struct ScratchDir {
    std::filesystem::path path;
    ScratchDir();
    ~ScratchDir();
    std::string File(const std::string& name) const { return (path / name).string(); }
};

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
