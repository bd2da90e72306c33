#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/converter/converter_test_support.h"

namespace {

const std::string start = ":020000020000FC\r\n";
const std::string end = ":00000001FF\r\n";
const std::string full32 =
    ":20000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1FF0\r\n";

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

bool ChecksumHolds(const std::string& line)
{
    unsigned sum = 0;
    for (std::size_t i = 1; i + 1 < line.size(); i += 2) {
        sum += static_cast<unsigned>(std::stoul(line.substr(i, 2), nullptr, 16));
    }
    return line.size() % 2 == 1 && (sum & 0xFF) == 0;
}

TEST(BinToHexRecords, SplitIntoRecordsOf32Bytes)
{
    ScratchDir dir;
    EXPECT_EQ(ToHex(dir, "", "16k").hex, start + end);
    EXPECT_EQ(ToHex(dir, Ascending(31), "16k").hex,
              start +
                  ":1F000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E10\r\n" +
                  end);
    EXPECT_EQ(ToHex(dir, Ascending(32), "16k").hex, start + full32 + end);
    EXPECT_EQ(ToHex(dir, Ascending(33), "16k").hex, start + full32 + ":0100200020BF\r\n" + end);
    // A sum of exactly 0x300 gives the checksum 00, not 100.
    EXPECT_EQ(ToHex(dir, std::string(3, '\xFF'), "16k").hex, start + ":03000000FFFFFF00\r\n" + end);
}

TEST(BinToHexRecords, FullSegmentNeedsNoSecondSegmentRecord)
{
    ScratchDir dir;
    const std::vector<std::string> lines = HexLines(ToHex(dir, RandomBytes(65536, 1), "64k").hex);
    ASSERT_EQ(lines.size(), 2048u + 2);
    EXPECT_EQ(lines[2048].substr(0, 9), ":20FFE000");
    EXPECT_EQ(lines[2049], ":00000001FF");
}

TEST(BinToHexRecords, OneByteOverASegmentStartsSegment1000)
{
    ScratchDir dir;
    const std::string image = RandomBytes(65537, 2);
    const std::vector<std::string> lines = HexLines(ToHex(dir, image, "128k").hex);
    ASSERT_EQ(lines.size(), 2048u + 4);
    EXPECT_EQ(lines[2049], ":020000021000EC");
    const unsigned last = static_cast<unsigned char>(image.back());
    char record[16];
    std::snprintf(record, sizeof record, ":01000000%02X%02X", last, (0xFF - last) & 0xFF);
    EXPECT_EQ(lines[2050], record);
    EXPECT_EQ(lines[2051], ":00000001FF");
}

TEST(BinToHexRecords, FullMegabyteHasSixteenSegmentsAndSoundChecksums)
{
    ScratchDir dir;
    const std::vector<std::string> lines =
        HexLines(ToHex(dir, RandomBytes(0x100000, 3), "1024k").hex);
    ASSERT_EQ(lines.size(), 32768u + 16 + 1);
    std::string segments;
    for (const std::string& line : lines) {
        ASSERT_TRUE(ChecksumHolds(line)) << line;
        if (line.compare(0, 9, ":02000002") == 0) {
            segments += line.substr(9, 1);
        }
    }
    EXPECT_EQ(segments, "0123456789ABCDEF");
}

TEST(BinToHexSize, RomSizeBoundsTheImage)
{
    ScratchDir dir;
    EXPECT_EQ(ToHex(dir, RandomBytes(0x4000, 4), "16k").run.exitCode, 0);
    EXPECT_EQ(ToHex(dir, RandomBytes(0x100000, 5), "2048k").run.exitCode, 0);
    EXPECT_EQ(ToHex(dir, RandomBytes(0x100001, 5), "16K").run.exitCode, 2);

    WriteBytes(dir.File("out.hex"), "old contents");
    const HexRun over = ToHex(dir, RandomBytes(0x8001, 6), "32k");
    EXPECT_EQ(over.run.exitCode, 2);
    EXPECT_NE(over.run.console.find("Input file size=32769\nFile size error.\nFinished!\n"),
              std::string::npos)
        << over.run.console;
    EXPECT_EQ(over.hex, "");
}

TEST(BinToHexConsole, SuccessfulRunPrintsEveryTextInOrder)
{
    ScratchDir dir;
    WriteBytes(dir.File("in.bin"), Ascending(33));
    const RunResult run = RunWithArguments({"-H", dir.File("in.bin"), dir.File("out.hex"), "16k"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.console, "orvik Ver1.0.3 Binary data <-> Intel Hex data Converter.\n"
                           "Portable edition for Windows and Linux, written in standard C++17.\n"
                           "Convert flag -H\nInput file " +
                               dir.File("in.bin") + "\nOutput file " + dir.File("out.hex") +
                               "\n\nMaking Intel Hex file.\nInput file size=33\n"
                               "Output file size=122\nFinished!\n");
}

TEST(FileErrors, UnopenableFilesGiveExitCode1)
{
    ScratchDir dir;
    WriteBytes(dir.File("out"), "keep");
    WriteBytes(dir.File("in"), "x");
    for (const char* flag : {"-h", "-b"}) {
        for (const std::string& input : {dir.File("absent"), dir.path.string()}) {
            const RunResult run = RunWithArguments({flag, input, dir.File("out"), "16k"});
            EXPECT_EQ(run.exitCode, 1) << input;
            EXPECT_NE(run.console.find("file.\nCannot open input file.\nFinished!\n"),
                      std::string::npos)
                << run.console;
        }
        const RunResult run = RunWithArguments({flag, dir.File("in"), dir.File("no/out"), "16k"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.console.find("file.\nCannot open output file.\nFinished!\n"),
                  std::string::npos)
            << run.console;
    }
    EXPECT_EQ(ReadBytes(dir.File("out")), "keep");
}

// Opening the output truncates it, so an output that is the input file, under
// any of its names, is refused before that; the input is left as it was.
TEST(FileErrors, OutputThatIsTheInputIsRefusedUntouched)
{
    ScratchDir dir;
    const std::string hex = ":0100000011EE\r\n";
    WriteBytes(dir.File("in.hex"), hex);
    WriteBytes(dir.File("in.bin"), "\x01\x02");
    std::filesystem::create_hard_link(dir.File("in.hex"), dir.File("link.hex"));
    std::filesystem::create_hard_link(dir.File("in.bin"), dir.File("link.bin"));
    std::filesystem::create_directory(dir.File("sub"));
    const std::vector<std::string> cases[] = {
        {"-b", dir.File("in.hex"), dir.File("in.hex")},
        {"-b", dir.File("in.hex"), dir.File("link.hex")},
        {"-b", dir.File("link.hex"), dir.File("sub/../in.hex")},
        {"-h", dir.File("in.bin"), dir.File("in.bin")},
        {"-h", dir.File("link.bin"), dir.File("in.bin")},
    };
    for (std::vector<std::string> arguments : cases) {
        arguments.push_back("16k");
        const RunResult run = RunWithArguments(arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments[2];
        EXPECT_NE(run.console.find("file.\nOutput file is the input file.\nFinished!\n"),
                  std::string::npos)
            << run.console;
    }
    EXPECT_EQ(ReadBytes(dir.File("in.hex")), hex);
    EXPECT_EQ(ReadBytes(dir.File("in.bin")), "\x01\x02");
}

// A write that fails is reported, whether the write itself fails (a large
// output) or only the close that writes the last buffered bytes (a small one).
TEST(FileErrors, FailedWriteGivesExitCode6)
{
    ScratchDir dir;
    WriteBytes(dir.File("small.bin"), "\x01\x02");
    WriteBytes(dir.File("large.bin"), RandomBytes(0x20000, 7));
    WriteBytes(dir.File("in.hex"), ":0100000011EE\r\n");
    const std::vector<std::string> cases[] = {
        {"-h", dir.File("small.bin"), "/dev/full", "16k"},
        {"-h", dir.File("large.bin"), "/dev/full", "1024k"},
        {"-b", dir.File("in.hex"), "/dev/full", "16k"},
        {"-b", dir.File("in.hex"), "/dev/full", "1024k"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        const RunResult run = RunWithArguments(arguments);
        EXPECT_EQ(run.exitCode, 6) << arguments[1] << " " << arguments[3];
        EXPECT_NE(run.console.find("\nCannot write output file.\nFinished!\n"), std::string::npos)
            << run.console;
    }
}

}  // namespace
