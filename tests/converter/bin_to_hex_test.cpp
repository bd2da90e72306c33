#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/converter/converter_test_support.h"

namespace {

std::string Ascending(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i);
    }
    return bytes;
}

struct HexRun {
    RunResult run;
    std::string hex;
};

HexRun ToHex(const ScratchDir& dir, const std::string& image, const std::string& romSize)
{
    WriteBytes(dir.File("in.bin"), image);
    RunResult run = RunWithArguments({"-h", dir.File("in.bin"), dir.File("out.hex"), romSize});
    return {run, ReadBytes(dir.File("out.hex"))};
}

TEST(BinToHexRecords, ThirtyOneBytesMakeOneShortRecord)
{
    ScratchDir dir;
    const HexRun result = ToHex(dir, Ascending(31), "16k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_EQ(result.hex,
              ":020000020000FC\r\n"
              ":1F000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E10\r\n"
              ":00000001FF\r\n");
}

TEST(BinToHexRecords, ThirtyTwoBytesFillExactlyOneRecord)
{
    ScratchDir dir;
    const HexRun result = ToHex(dir, Ascending(32), "16k");
    EXPECT_EQ(result.hex,
              ":020000020000FC\r\n"
              ":20000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1FF0\r\n"
              ":00000001FF\r\n");
}

TEST(BinToHexRecords, ThirtyThreeBytesSpillOneByteAtAddress20)
{
    ScratchDir dir;
    const HexRun result = ToHex(dir, Ascending(33), "16k");
    EXPECT_EQ(result.hex,
              ":020000020000FC\r\n"
              ":20000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1FF0\r\n"
              ":0100200020BF\r\n"
              ":00000001FF\r\n");
}

TEST(BinToHexRecords, ChecksumOfAZeroSumIsZeroNotHundred)
{
    ScratchDir dir;
    const HexRun result = ToHex(dir, std::string(3, '\xFF'), "16k");
    EXPECT_EQ(result.hex, ":020000020000FC\r\n:03000000FFFFFF00\r\n:00000001FF\r\n");
}

TEST(BinToHexRecords, EmptyImageGivesOnlySegmentAndEndRecords)
{
    ScratchDir dir;
    const HexRun result = ToHex(dir, "", "16k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_EQ(result.hex, ":020000020000FC\r\n:00000001FF\r\n");
}

TEST(BinToHexRecords, FullSegmentNeedsNoSecondSegmentRecord)
{
    ScratchDir dir;
    const HexRun result = ToHex(dir, RandomBytes(65536, 1), "64k");
    const std::vector<std::string> lines = HexLines(result.hex);
    ASSERT_EQ(lines.size(), 2048u + 2);
    EXPECT_EQ(lines[1].substr(0, 9), ":20000000");
    EXPECT_EQ(lines[2048].substr(0, 9), ":20FFE000");
    EXPECT_EQ(lines[2049], ":00000001FF");
    for (const std::string& line : lines) {
        EXPECT_TRUE(ChecksumHolds(line)) << line;
    }
}

TEST(BinToHexRecords, OneByteOverASegmentStartsSegment1000)
{
    ScratchDir dir;
    const std::string image = RandomBytes(65537, 2);
    const HexRun result = ToHex(dir, image, "128k");
    const std::vector<std::string> lines = HexLines(result.hex);
    ASSERT_EQ(lines.size(), 2048u + 4);
    EXPECT_EQ(lines[2049], ":020000021000EC");
    const unsigned char last = static_cast<unsigned char>(image.back());
    char expected[16];
    std::snprintf(expected, sizeof expected, ":01000000%02X%02X", last, (0x100 - 1 - last) & 0xFF);
    EXPECT_EQ(lines[2050], expected);
    EXPECT_EQ(lines[2051], ":00000001FF");
}

TEST(BinToHexRecords, EverySegmentOfAFullMegabyteIsAnnounced)
{
    ScratchDir dir;
    const HexRun result = ToHex(dir, RandomBytes(0x100000, 3), "1024k");
    const std::vector<std::string> lines = HexLines(result.hex);
    ASSERT_EQ(lines.size(), 32768u + 16 + 1);
    std::vector<std::string> segments;
    for (const std::string& line : lines) {
        EXPECT_TRUE(ChecksumHolds(line)) << line;
        if (line.compare(0, 9, ":02000002") == 0) {
            segments.push_back(line.substr(9, 4));
        }
    }
    ASSERT_EQ(segments.size(), 16u);
    EXPECT_EQ(segments[1], "1000");
    EXPECT_EQ(segments[15], "F000");
}

TEST(BinToHexSize, ImageOfExactlyTheRomSizeIsConverted)
{
    ScratchDir dir;
    const HexRun result = ToHex(dir, RandomBytes(0x4000, 4), "16k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_EQ(HexLines(result.hex).size(), 512u + 2);
}

TEST(BinToHexSize, OneByteOverTheRomSizeIsRefusedAndLeavesAnEmptyFile)
{
    ScratchDir dir;
    WriteBytes(dir.File("out.hex"), "old contents");
    const HexRun result = ToHex(dir, RandomBytes(0x8001, 5), "32k");
    EXPECT_EQ(result.run.exitCode, 2);
    EXPECT_NE(result.run.console.find("Input file size=32769\nFile size error.\nFinished!\n"),
              std::string::npos)
        << result.run.console;
    EXPECT_EQ(result.hex, "");
}

TEST(BinToHexSize, UnknownRomSizeTextMeansOneMegabyte)
{
    ScratchDir dir;
    EXPECT_EQ(ToHex(dir, RandomBytes(0x100000, 6), "2048k").run.exitCode, 0);
    EXPECT_EQ(ToHex(dir, RandomBytes(0x100000, 6), "16K").run.exitCode, 0);
    EXPECT_EQ(ToHex(dir, RandomBytes(0x100001, 6), "16K").run.exitCode, 2);
}

TEST(BinToHexConsole, SuccessfulRunPrintsEveryTextInOrder)
{
    ScratchDir dir;
    WriteBytes(dir.File("in.bin"), Ascending(33));
    const RunResult run = RunWithArguments({"-H", dir.File("in.bin"), dir.File("out.hex"), "16k"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.console,
              "orvik Ver1.0.3 Binary data <-> Intel Hex data Converter.\n"
              "Portable edition for Windows and Linux, written in standard C++17.\n"
              "Convert flag -H\nInput file " + dir.File("in.bin") + "\nOutput file " +
                  dir.File("out.hex") + "\n\n"
              "Making Intel Hex file.\n"
              "Input file size=33\n"
              "Output file size=122\n"
              "Finished!\n");
}

TEST(BinToHexConsole, MissingInputLeavesTheOutputAlone)
{
    ScratchDir dir;
    WriteBytes(dir.File("out.hex"), "keep");
    const RunResult run = RunWithArguments({"-h", dir.File("absent.bin"), dir.File("out.hex"), "16k"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.console.find("Making Intel Hex file.\nCannot open input file.\nFinished!\n"),
              std::string::npos)
        << run.console;
    EXPECT_EQ(ReadBytes(dir.File("out.hex")), "keep");
}

TEST(BinToHexConsole, UnwritableOutputIsReported)
{
    ScratchDir dir;
    WriteBytes(dir.File("in.bin"), "x");
    const RunResult run =
        RunWithArguments({"-h", dir.File("in.bin"), dir.File("no-such-dir/out.hex"), "16k"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.console.find("Making Intel Hex file.\nCannot open output file.\nFinished!\n"),
              std::string::npos)
        << run.console;
}

}  // namespace
