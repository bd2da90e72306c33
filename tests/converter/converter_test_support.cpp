#include "tests/converter/converter_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include <unistd.h>

#include "converter/orvik_main.h"

namespace {

int DigitOf(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

ScratchDir::ScratchDir()
{
    static int serial = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name()
                                             : std::string("none");
    path = std::filesystem::temp_directory_path() /
           ("orvik-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial) + "-" + name);
    std::filesystem::create_directories(path);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string ScratchDir::File(const std::string& name) const
{
    return (path / name).string();
}

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
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& name)
{
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 engine(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(engine));
    }
    return bytes;
}

std::vector<std::string> HexLines(const std::string& hex)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < hex.size()) {
        const std::size_t end = hex.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "text after the last CR LF";
        if (end == std::string::npos) {
            break;
        }
        const std::string line = hex.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line end in " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

bool ChecksumHolds(const std::string& line)
{
    if (line.size() < 11 || line[0] != ':' || line.size() % 2 == 0) {
        return false;
    }
    unsigned sum = 0;
    for (std::size_t i = 1; i < line.size(); i += 2) {
        const int high = DigitOf(line[i]);
        const int low = DigitOf(line[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        sum += static_cast<unsigned>(16 * high + low);
    }
    return (sum & 0xFF) == 0;
}
