#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "converter/rom_size.h"
#include "tests/converter/converter_test_support.h"

namespace {

const std::string banner =
    "orvik Ver1.0.3 Binary data <-> Intel Hex data Converter.\n"
    "Portable edition for Windows and Linux, written in standard C++17.\n";

const std::string usage =
    "Parameter Error!\n\nUsage: orvik flag input_file output_file ROM_size\n\n"
    "  flag: -h Convert to Intel Hex data.\n        -b Convert to Binary data.\n\n"
    "  ROM_size: 16k,32k,64k,128k,256k,512k,1024k\n\nTry again!\n";

TEST(RomSize, EveryNamedSizeAndTheFallback)
{
    EXPECT_EQ(ParseRomSize("16k"), 0x4000);
    EXPECT_EQ(ParseRomSize("32k"), 0x8000);
    EXPECT_EQ(ParseRomSize("64k"), 0x10000);
    EXPECT_EQ(ParseRomSize("128k"), 0x20000);
    EXPECT_EQ(ParseRomSize("256k"), 0x40000);
    EXPECT_EQ(ParseRomSize("512k"), 0x80000);
    EXPECT_EQ(ParseRomSize("1024k"), 0x100000);
    EXPECT_EQ(ParseRomSize("16K"), 0x100000);
    EXPECT_EQ(ParseRomSize("2048k"), 0x100000);
    EXPECT_EQ(ParseRomSize("16"), 0x100000);
    EXPECT_EQ(ParseRomSize("16kb"), 0x100000);
    EXPECT_EQ(ParseRomSize(""), 0x100000);
}

TEST(ArgumentCount, NoArgumentsGiveTheUsageText)
{
    const RunResult run = RunWithArguments({});
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_EQ(run.console, banner + usage);
}

TEST(ArgumentCount, ThreeOrFiveArgumentsGiveTheUsageText)
{
    const RunResult three = RunWithArguments({"-h", "a", "b"});
    EXPECT_EQ(three.exitCode, -1);
    EXPECT_EQ(three.console, banner + usage);
    const RunResult five = RunWithArguments({"-h", "a", "b", "16k", "extra"});
    EXPECT_EQ(five.exitCode, -1);
    EXPECT_EQ(five.console, banner + usage);
}

TEST(Flags, UnknownFlagsAreRefusedAndEchoedAsTyped)
{
    for (const char* flag : {"-hx", "h", "--h", "-x", "", "-", "+h", "-bh"}) {
        ScratchDir dir;
        WriteBytes(dir.File("in"), "data");
        const RunResult run = RunWithArguments({flag, dir.File("in"), dir.File("out"), "16k"});
        EXPECT_EQ(run.exitCode, 3) << flag;
        EXPECT_EQ(run.console, banner + "Convert flag " + flag + "\nInput file " + dir.File("in") +
                                   "\nOutput file " + dir.File("out") +
                                   "\n\nFlag Error!\nFinished!\n")
            << flag;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out"))) << flag;
    }
}

TEST(Flags, OnlyTheSecondCharacterIsFolded)
{
    ScratchDir dir;
    WriteBytes(dir.File("in"), "");
    EXPECT_EQ(RunWithArguments({"-H", dir.File("in"), dir.File("out"), "16k"}).exitCode, 0);
    EXPECT_EQ(RunWithArguments({"-B", dir.File("in"), dir.File("out"), "16k"}).exitCode, 0);
    EXPECT_EQ(RunWithArguments({"_h", dir.File("in"), dir.File("out"), "16k"}).exitCode, 3);
    const RunResult upper = RunWithArguments({"-B", dir.File("in"), dir.File("out"), "16k"});
    EXPECT_NE(upper.console.find("Convert flag -B\n"), std::string::npos);
    EXPECT_NE(upper.console.find("Making Binary file.\n"), std::string::npos);
}

// Arguments longer than their limits are refused whole, with exit code 4 and
// no conversion: a cut name would point at another file.
TEST(ArgumentLimits, EachArgumentAtItsLimitIsAccepted)
{
    ScratchDir dir;
    const std::string base = dir.File("");
    const std::string input = base + std::string(255 - base.size(), 'i');
    const std::string output = base + std::string(255 - base.size(), 'o');
    WriteBytes(input, "\x01\x02");
    const RunResult run = RunWithArguments({"-h", input, output, "1024k"});
    EXPECT_EQ(run.exitCode, 0) << run.console;
    EXPECT_EQ(ReadBytes(output), ":020000020000FC\r\n:020000000102FB\r\n:00000001FF\r\n");
    EXPECT_EQ(RunWithArguments({"-h" + std::string(5, ' '), input, output, "1024k"}).exitCode, 3);
}

TEST(ArgumentLimits, EachArgumentOneOverItsLimitIsRefused)
{
    ScratchDir dir;
    const std::string base = dir.File("");
    const std::string fits = base + std::string(255 - base.size(), 'f');
    const std::string tooLong = base + std::string(256 - base.size(), 'f');
    WriteBytes(fits, "x");
    WriteBytes(tooLong, "x");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"-h" + std::string(6, ' '), fits, dir.File("out"), "16k"},
         "Parameter too long: flag may have at most 7 characters.\n"},
        {{"-h", tooLong, dir.File("out"), "16k"},
         "Parameter too long: input_file may have at most 255 characters.\n"},
        {{"-h", fits, tooLong + "o", "16k"},
         "Parameter too long: output_file may have at most 255 characters.\n"},
        {{"-h", fits, dir.File("out"), "1024k   "},
         "Parameter too long: ROM_size may have at most 7 characters.\n"},
    };
    for (const Case& c : cases) {
        const RunResult run = RunWithArguments(c.arguments);
        EXPECT_EQ(run.exitCode, 4);
        EXPECT_EQ(run.console, banner + c.message + "Finished!\n");
        EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
        EXPECT_FALSE(std::filesystem::exists(tooLong + "o"));
    }
}

int ExitStatusOf(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
}

TEST(ProcessExit, WrongArgumentCountIsSeenAs255ByTheShell)
{
    const std::string program = ORVIK_PROGRAM;
    EXPECT_EQ(ExitStatusOf(program + " >/dev/null"), 255);
    EXPECT_EQ(ExitStatusOf(program + " -h a b c d >/dev/null"), 255);
    EXPECT_EQ(ExitStatusOf(program + " -q a b c >/dev/null"), 3);
}

}  // namespace
