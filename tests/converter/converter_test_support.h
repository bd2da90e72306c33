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
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string File(const std::string& name) const;
};

// What one in-process run of the program printed and returned.
struct RunResult {
    int exitCode;
    std::string console;
};

RunResult RunWithArguments(const std::vector<std::string>& arguments);

void WriteBytes(const std::string& name, const std::string& bytes);
std::string ReadBytes(const std::string& name);

// Bytes drawn from a fixed seed, so a failing case can be repeated.
std::string RandomBytes(std::size_t size, unsigned seed);

// The text of `hex` split at CR LF; fails the current test on a bare LF or CR.
std::vector<std::string> HexLines(const std::string& hex);

// True when the bytes of a record line sum to 0 modulo 256.
bool ChecksumHolds(const std::string& line);
