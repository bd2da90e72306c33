#include <gtest/gtest.h>

#include <string>

#include "converter/hex_reader.h"
#include "tests/converter/converter_test_support.h"

namespace {

std::string Repeat(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

// A HEX text read with a ROM size, and the only bytes it may set in the erased image.
struct ReadCase {
    const char* what;
    std::string hex;
    long romSize;
    std::size_t offset;
    std::string bytes;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.what;
}

const char* RomSizeText(long romSize)
{
    return romSize == 0x4000 ? "16k" : "128k";
}

class HexToBinImage : public ::testing::TestWithParam<ReadCase> {};

TEST_P(HexToBinImage, SetsExactlyTheExpectedBytes)
{
    const ReadCase& c = GetParam();
    ScratchDir dir;
    WriteBytes(dir.File("in.hex"), c.hex);
    const RunResult run =
        RunWithArguments({"-b", dir.File("in.hex"), dir.File("out.bin"), RomSizeText(c.romSize)});
    EXPECT_EQ(run.exitCode, 0) << run.console;
    std::string expected(static_cast<std::size_t>(c.romSize), '\xFF');
    expected.replace(c.offset, c.bytes.size(), c.bytes);
    EXPECT_TRUE(ReadBytes(dir.File("out.bin")) == expected);
}

const std::string record3FF0 = ":203FF000" + Repeat("5A", 32) + "00\r\n";
// The longest record Intel HEX has: 255 data bytes, a line of 521 characters.
const std::string record255 = ":FF000000" + Repeat("5A", 255) + "AB\r\n";
// Data after an extended linear address record for page 1, from 0x10000 on.
const std::string linearPage1 = ":020000040001F9\r\n:02000000A1B2AB\r\n:01000200C33A\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, HexToBinImage,
    ::testing::Values(
        ReadCase{"empty input", "", 0x4000, 0, ""},
        ReadCase{"end record only", ":00000001FF\r\n", 0x4000, 0, ""},
        ReadCase{"lower case", ":04001000deadbeef00\n", 0x4000, 0x10, "\xDE\xAD\xBE\xEF"},
        ReadCase{"wrong checksum", ":0200000012345A\r\n", 0x4000, 0, "\x12\x34"},
        ReadCase{"after end record", ":00000001FF\r\n:01000100AA54\r\n", 0x4000, 1, "\xAA"},
        ReadCase{"linear page 1", linearPage1, 0x20000, 0x10000, "\xA1\xB2\xC3"},
        ReadCase{"segment after linear", ":020000040001F9\r\n:020000020100FB\r\n:01000400C03B\r\n",
                 0x20000, 0x1004, "\xC0"},
        ReadCase{"linear after segment", ":020000021000EC\r\n:020000040000FA\r\n:01000400C03B\r\n",
                 0x20000, 0x0004, "\xC0"},
        ReadCase{"segment 1000", ":020000021000EC\r\n:02000000A1B2AB\r\n", 0x20000, 0x10000,
                 "\xA1\xB2"},
        ReadCase{"segment 0123", ":020000020123D8\r\n:01000400C03B\r\n", 0x4000, 0x1234, "\xC0"},
        ReadCase{"start at ROM size", ":0140000077\r\n", 0x4000, 0, ""},
        ReadCase{"crossing ROM end", record3FF0, 0x4000, 0x3FF0, std::string(16, '\x5A')},
        ReadCase{"not records", "text\r\n\r\n :0100000011EE\r\n:-100000011EE\r\n:0100010022DC\r\n",
                 0x4000, 1, "\x22"},
        ReadCase{"letter count", ":Z10000000102\n", 0x4000, 0, "\x01\x02"},
        ReadCase{"LF, CR LF, no end", ":0100000011EE\n:0100010022DC\r\n:0100020033CA", 0x4000, 0,
                 "\x11\x22\x33"},
        ReadCase{"Ctrl-Z", ":0100000011EE\r\n:0100010022DC\x1A\r\n:0100020033CA\r\n", 0x4000, 0,
                 "\x11\x22"},
        ReadCase{"lone CR", ":0100000011EE\r:0100010022DC\n", 0x4000, 0, "\x11"},
        // A count beyond the digits on the line stores only the pairs it holds.
        ReadCase{"short record", ":10000000AABBC\r\n:01000200CC00\r\n", 0x4000, 0, "\xAA\xBB\xCC"},
        ReadCase{"header only", ":01000000\r\n", 0x4000, 0, ""},
        // Every line is read whole, however long.
        ReadCase{"longest record", record255, 0x4000, 0, std::string(255, '\x5A')},
        ReadCase{"colon after 253", std::string(253, 'x') + ":0100050042B8\r\n", 0x4000, 0, ""},
        ReadCase{"colon after 252", std::string(252, 'x') + ":0100050042B8\r\n", 0x4000, 0, ""},
        ReadCase{"huge line", std::string(100000, '7') + "\r\n", 0x4000, 0, ""},
        ReadCase{"record with a long tail",
                 ":01000000AA" + std::string(5000, '0') + "\r\n:01000100BB\r\n", 0x4000, 0,
                 "\xAA\xBB"}),
    [](const ::testing::TestParamInfo<ReadCase>& caseInfo) {
        std::string name;
        for (const char* p = caseInfo.param.what; *p != '\0'; ++p) {
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        }
        return name;
    });

TEST(HexToBinAddress, RecordBeyondTheRomSizeStopsWithAnEmptyOutput)
{
    ScratchDir dir;
    // The last: a linear base of 2^32 (the letter G read as a digit) must not wrap.
    for (const std::string& hex : {std::string(":0100000011EE\r\n:0140010076\r\n"),
                                   std::string(":020000020401F7\r\n:00000001FF\r\n"),
                                   std::string(":02000004G00000\r\n:0100000011EE\r\n")}) {
        WriteBytes(dir.File("in.hex"), hex);
        const RunResult run =
            RunWithArguments({"-b", dir.File("in.hex"), dir.File("out.bin"), "16k"});
        EXPECT_EQ(run.exitCode, 5);
        EXPECT_NE(run.console.find("\nAddress error!\nFinished!\n"),
                  std::string::npos)
            << run.console;
        EXPECT_EQ(ReadBytes(dir.File("out.bin")), "");
    }
}

TEST(HexToBinAddress, LinearBaseCountsAsTheSegmentBaseDoes)
{
    ScratchDir dir;
    WriteBytes(dir.File("in.hex"), linearPage1);
    const RunResult run = RunWithArguments({"-b", dir.File("in.hex"), dir.File("out.bin"), "64k"});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_NE(run.console.find("\nAddress error!\nFinished!\n"), std::string::npos) << run.console;
}

TEST(HexToBinConsole, SuccessfulRunReportsBothSizes)
{
    ScratchDir dir;
    WriteBytes(dir.File("in.hex"), ":0100200020BF\r\n");
    const RunResult run = RunWithArguments({"-b", dir.File("in.hex"), dir.File("out.bin"), "32k"});
    EXPECT_NE(run.console.find("\n\nMaking Binary file.\nInput file size=15\n"
                               "Output file size=32768\nFinished!\n"),
              std::string::npos)
        << run.console;
}

TEST(HexPair, DigitRuleForHexDigitsAndOtherCharacters)
{
    EXPECT_EQ(HexPairValue('9', 'F'), 0x9F);
    EXPECT_EQ(HexPairValue('a', 'b'), 0xAB);
    EXPECT_EQ(HexPairValue('G', '0'), 256);
    EXPECT_EQ(HexPairValue('\xFF', '\x80'), (15 + 9) * 16 + 9);
}

std::vector<unsigned char> ReadInPieces(const std::string& hex, long romSize, std::size_t cut)
{
    HexReader reader;
    StartHexReader(reader, romSize);
    FeedHexText(reader, hex.data(), cut);
    FeedHexText(reader, hex.data() + cut, hex.size() - cut);
    FinishHexText(reader);
    EXPECT_EQ(reader.image.size(), hexImageSize);
    return reader.image;
}

// Bytes past the 1 MB image are dropped: a record near its end, and a count of
// 408 made of letters that are no hex digits.
TEST(HexReaderImage, BytesBeyondTheImageAreDropped)
{
    const std::string hex = ":02000002F000FC\n:20FFF000" + Repeat("3C", 32) + "00\n:ZZFFF800" +
                            Repeat("11", 122) + "\n";
    const std::vector<unsigned char> image = ReadInPieces(hex, 0x100000, hex.size());
    EXPECT_EQ(image[0xFFFEF], 0xFF);
    EXPECT_EQ(image[0xFFFF7], 0x3C);
    EXPECT_EQ(image[0xFFFF8], 0x11);
    EXPECT_EQ(image[0xFFFFF], 0x11);
}

TEST(HexReaderImage, TextCutAnywhereReadsAsWhole)
{
    const std::string hex = ":020000021000EC\r\n:04000000DEADBEEF00\r\n:01000400AA00\r\n" +
                            std::string(300, 'q') + "\r\r\n:0100080077\x1A:0100090088";
    const std::vector<unsigned char> whole = ReadInPieces(hex, 0x20000, hex.size());
    EXPECT_EQ(whole[0x10004], 0xAA);
    EXPECT_EQ(whole[0x10008], 0x77);
    EXPECT_EQ(whole[0x10009], 0xFF);
    for (std::size_t cut = 0; cut < hex.size(); ++cut) {
        ASSERT_TRUE(ReadInPieces(hex, 0x20000, cut) == whole) << "cut at " << cut;
    }
}

}  // namespace
