#include "tests/converter/converter_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "converter/orvik_main.h"

RunResult RunWithArguments(const std::vector<std::string>& arguments)
{
    std::vector<const char*> argv{"orvik"};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    std::ostringstream console;
    const int code = RunOrvik(static_cast<int>(argv.size()), argv.data(), console);
    return {code, console.str()};
}

void WriteBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& name)
{
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 engine(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(engine() & 0xFF);
    }
    return bytes;
}

std::vector<std::string> HexLines(const std::string& hex)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = hex.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(hex.substr(start, end - start));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.back();
    }
    EXPECT_EQ(start, hex.size()) << "text after the last CR LF";
    return lines;
}
