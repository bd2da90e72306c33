#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "converter/orvik_main.h"
#include "converter/rom_size.h"
#include "tests/converter/converter_test_support.h"

namespace {

const std::string banner =
    "orvik Ver1.0.3 Binary data <-> Intel Hex data Converter.\n"
    "Portable edition for Windows and Linux, written in standard C++17.\n";

TEST(RomSize, NamedSizesAreExactAndAnythingElseIsOneMegabyte)
{
    const std::pair<const char*, long> sizes[] = {
        {"16k", 0x4000},     {"32k", 0x8000},      {"64k", 0x10000},   {"128k", 0x20000},
        {"256k", 0x40000},   {"512k", 0x80000},    {"1024k", 0x100000}, {"16K", 0x100000},
        {"2048k", 0x100000}, {"16kb", 0x100000},   {"", 0x100000},
    };
    for (const auto& [text, bytes] : sizes) {
        EXPECT_EQ(ParseRomSize(text), bytes) << text;
    }
}

TEST(ArgumentCount, AnythingButFourArgumentsGivesTheUsageText)
{
    const std::string usage =
        "Parameter Error!\n\nUsage: orvik flag input_file output_file ROM_size\n\n"
        "  flag: -h Convert to Intel Hex data.\n        -b Convert to Binary data.\n\n"
        "  ROM_size: 16k,32k,64k,128k,256k,512k,1024k\n\nTry again!\n";
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {}, {"-h", "a", "b"}, {"-h", "a", "b", "16k", "extra"}}) {
        const RunResult run = RunWithArguments(arguments);
        EXPECT_EQ(run.exitCode, -1);
        EXPECT_EQ(run.console, banner + usage);
    }
}

TEST(Flags, OnlyHAndBWithTheSecondCharacterFolded)
{
    ScratchDir dir;
    WriteBytes(dir.File("in"), "");
    for (const char* flag : {"-hx", "h", "--h", "_h", "", "-", "-bh"}) {
        const RunResult run = RunWithArguments({flag, dir.File("in"), dir.File("out"), "16k"});
        EXPECT_EQ(run.exitCode, 3) << flag;
        EXPECT_EQ(run.console, banner + "Convert flag " + flag + "\nInput file " + dir.File("in") +
                                   "\nOutput file " + dir.File("out") +
                                   "\n\nFlag Error!\nFinished!\n");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
    const RunResult upper = RunWithArguments({"-B", dir.File("in"), dir.File("out"), "16k"});
    EXPECT_EQ(upper.exitCode, 0);
    EXPECT_NE(upper.console.find("Convert flag -B\n"), std::string::npos);
    EXPECT_NE(upper.console.find("Making Binary file.\n"), std::string::npos);
}

// Arguments over their limits are refused whole: a cut name would name
// another file.
TEST(ArgumentLimits, LimitIsAcceptedAndOneMoreIsRefused)
{
    ScratchDir dir;
    const std::string base = dir.File("");
    const std::string name255 = base + std::string(255 - base.size(), 'f');
    const std::string out255 = base + std::string(255 - base.size(), 'o');
    const std::string name256 = name255 + "g";
    WriteBytes(name255, "\x01\x02");
    EXPECT_EQ(RunWithArguments({"-h     ", name255, out255, "1024k"}).exitCode, 3);
    EXPECT_EQ(RunWithArguments({"-h", name255, out255, "1024k"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(out255), ":020000020000FC\r\n:020000000102FB\r\n:00000001FF\r\n");

    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-h      ", name255, name256, "16k"}, "flag may have at most 7"},
        {{"-h", name256, dir.File("x"), "16k"}, "input_file may have at most 255"},
        {{"-h", name255, name256 + "o", "16k"}, "output_file may have at most 255"},
        {{"-h", name255, dir.File("x"), "1024k   "}, "ROM_size may have at most 7"},
    };
    for (const auto& [arguments, limit] : cases) {
        const RunResult run = RunWithArguments(arguments);
        EXPECT_EQ(run.exitCode, argumentTooLongExit);
        EXPECT_EQ(run.console, banner + "Parameter too long: " + limit + " characters.\nFinished!\n");
        EXPECT_FALSE(std::filesystem::exists(name256));
        EXPECT_FALSE(std::filesystem::exists(dir.File("x")));
    }
}

TEST(ProcessExit, WrongArgumentCountIsSeenAs255ByTheShell)
{
    const std::string program = ORVIK_PROGRAM;
    const auto statusOf = [](const std::string& command) {
        const int status = std::system((command + " >/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(statusOf(program), 255);
    EXPECT_EQ(statusOf(program + " -h a b c d"), 255);
    EXPECT_EQ(statusOf(program + " -q a b c"), 3);
}

// Past the file size limit a write fails instead of the signal ending the
// program, so the failure is reported with its own exit code.
TEST(ProcessExit, WritePastTheFileSizeLimitIsReported)
{
    ScratchDir dir;
    WriteBytes(dir.File("in.bin"), RandomBytes(0x10000, 8));
    const std::string command = "ulimit -f 64; " + std::string(ORVIK_PROGRAM) + " -h " +
                                dir.File("in.bin") + " " + dir.File("out.hex") + " 64k";
    std::FILE* output = popen(command.c_str(), "r");
    ASSERT_NE(output, nullptr);
    std::string console;
    for (int c; (c = std::fgetc(output)) != EOF;) {
        console += static_cast<char>(c);
    }
    const int status = pclose(output);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 6) << status;
    EXPECT_NE(console.find("\nCannot write output file.\nFinished!\n"), std::string::npos)
        << console;
}

}  // namespace
