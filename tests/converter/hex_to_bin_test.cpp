#include <gtest/gtest.h>

#include <string>

#include "converter/hex_reader.h"
#include "tests/converter/converter_test_support.h"

namespace {

struct BinRun {
    RunResult run;
    std::string image;
};

BinRun ToBin(const ScratchDir& dir, const std::string& hex, const std::string& romSize)
{
    WriteBytes(dir.File("in.hex"), hex);
    RunResult run = RunWithArguments({"-b", dir.File("in.hex"), dir.File("out.bin"), romSize});
    return {run, ReadBytes(dir.File("out.bin"))};
}

// The 16k image with `bytes` at `offset` and 0xFF everywhere else.
std::string Erased16kWith(std::size_t offset, const std::string& bytes)
{
    std::string image(0x4000, '\xFF');
    image.replace(offset, bytes.size(), bytes);
    return image;
}

TEST(HexPair, DigitRuleForHexDigitsAndOtherCharacters)
{
    EXPECT_EQ(HexPairValue('0', '0'), 0);
    EXPECT_EQ(HexPairValue('9', 'F'), 0x9F);
    EXPECT_EQ(HexPairValue('a', 'b'), 0xAB);
    EXPECT_EQ(HexPairValue('F', 'f'), 0xFF);
    EXPECT_EQ(HexPairValue('G', '0'), 256);
    EXPECT_EQ(HexPairValue(':', '0'), (10 + 9) * 16);
    EXPECT_EQ(HexPairValue('\xFF', '\x80'), (15 + 9) * 16 + 9);
}

TEST(HexToBinImage, EmptyInputGivesAnErasedImage)
{
    ScratchDir dir;
    const BinRun result = ToBin(dir, "", "32k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_EQ(result.image, std::string(0x8000, '\xFF'));
}

TEST(HexToBinImage, EndRecordAloneGivesAnErasedImage)
{
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":00000001FF\r\n", "16k").image, std::string(0x4000, '\xFF'));
}

TEST(HexToBinImage, ConsoleTextsOfASuccessfulRun)
{
    ScratchDir dir;
    const std::string hex = ":020000020000FC\r\n:0100200020BF\r\n:00000001FF\r\n";
    const BinRun result = ToBin(dir, hex, "16k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_NE(result.run.console.find("\n\nMaking Binary file.\nInput file size=45\n"
                                      "Output file size=16384\nFinished!\n"),
              std::string::npos)
        << result.run.console;
    EXPECT_EQ(result.image, Erased16kWith(0x20, "\x20"));
}

TEST(HexToBinLeniency, LowerCaseDigitsReadLikeUpperCase)
{
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":04001000deadbeefxx\n", "16k").image,
              Erased16kWith(0x10, "\xDE\xAD\xBE\xEF"));
}

TEST(HexToBinLeniency, WrongChecksumIsUsedAllTheSame)
{
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":0200000012345A\r\n", "16k").image, Erased16kWith(0, "\x12\x34"));
}

TEST(HexToBinLeniency, RecordsAfterTheEndRecordAreApplied)
{
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":00000001FF\r\n:01000100AA54\r\n", "16k").image,
              Erased16kWith(1, "\xAA"));
}

TEST(HexToBinLeniency, LinearAddressRecordIsIgnored)
{
    ScratchDir dir;
    const BinRun result = ToBin(dir, ":020000040001F9\r\n:0100100055AA\r\n", "128k");
    std::string expected(0x20000, '\xFF');
    expected[0x10] = '\x55';
    EXPECT_EQ(result.image, expected);
}

TEST(HexToBinLeniency, LinesThatAreNotRecordsAreSkipped)
{
    ScratchDir dir;
    const std::string hex = "comment line\r\n"
                            "\r\n"
                            " :0100000011EE\r\n"
                            ":-100000011EE\r\n"
                            ":01000000\r\n"
                            ":0100010022DC\r\n";
    EXPECT_EQ(ToBin(dir, hex, "16k").image, Erased16kWith(1, "\x22"));
}

TEST(HexToBinLeniency, AnyLetterPassesTheCountTest)
{
    // "Z1" counts 19 * 16 + 1 = 305 bytes by the digit rule; only two data pairs
    // are on the line, so only they are stored.
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":Z10000000102\n", "16k").image, Erased16kWith(0, "\x01\x02"));
}

TEST(HexToBinSegments, Segment1000PlacesDataFrom10000)
{
    ScratchDir dir;
    const BinRun result = ToBin(dir, ":020000021000EC\r\n:02000000A1B2AB\r\n", "128k");
    std::string expected(0x20000, '\xFF');
    expected[0x10000] = '\xA1';
    expected[0x10001] = '\xB2';
    EXPECT_EQ(result.image, expected);
}

TEST(HexToBinSegments, SegmentBaseIsSixteenTimesTheSegment)
{
    ScratchDir dir;
    const BinRun result = ToBin(dir, ":020000020123D8\r\n:01000400C03B\r\n", "16k");
    EXPECT_EQ(result.image, Erased16kWith(0x1230 + 4, "\xC0"));
}

TEST(HexToBinAddress, RecordAtTheRomSizeIsAcceptedButAddsNothing)
{
    ScratchDir dir;
    const BinRun result = ToBin(dir, ":0140000077\r\n", "16k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_EQ(result.image, std::string(0x4000, '\xFF'));
}

TEST(HexToBinAddress, RecordOneBeyondTheRomSizeIsAnAddressError)
{
    ScratchDir dir;
    const BinRun result = ToBin(dir, ":0100000011EE\r\n:0140010076\r\n", "16k");
    EXPECT_EQ(result.run.exitCode, 5);
    EXPECT_NE(result.run.console.find("Input file size=28\nAddress error!\nFinished!\n"),
              std::string::npos)
        << result.run.console;
    EXPECT_EQ(result.image, "");
}

TEST(HexToBinAddress, EndRecordIsCheckedLikeAnyOtherRecord)
{
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":020000020400F8\r\n:00000001FF\r\n", "16k").run.exitCode, 0);
    EXPECT_EQ(ToBin(dir, ":020000020401F7\r\n:00000001FF\r\n", "16k").run.exitCode, 5);
}

TEST(HexToBinAddress, RecordCrossingTheRomEndContributesItsFirstPart)
{
    ScratchDir dir;
    std::string record = ":203FF000";
    std::string bytes;
    for (int k = 0; k < 32; ++k) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", k + 1);
        record += pair;
        bytes += static_cast<char>(k + 1);
    }
    const BinRun result = ToBin(dir, record + "00\r\n", "16k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_EQ(result.image, Erased16kWith(0x3FF0, bytes.substr(0, 16)));
}

TEST(HexToBinLineEnds, LoneLfAndCrLfBothEndLines)
{
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":0100000011EE\n:0100010022DC\r\n:0100020033CA", "16k").image,
              Erased16kWith(0, "\x11\x22\x33"));
}

TEST(HexToBinLineEnds, CtrlZEndsTheInput)
{
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":0100000011EE\r\n:0100010022DC\x1A\r\n:0100020033CA\r\n", "16k").image,
              Erased16kWith(0, "\x11\x22"));
}

TEST(HexToBinLineEnds, LoneCrStaysInsideTheLine)
{
    // A CR not followed by LF is an ordinary character, so the record after it
    // is part of the same line and never seen as a record.
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":0100000011EE\r:0100010022DC\n", "16k").image,
              Erased16kWith(0, "\x11"));
}

// A count larger than the digits on its line stores only the complete pairs
// the line holds, never what lies after the line.
TEST(HexToBinMended, ShortRecordStoresOnlyThePairsItHolds)
{
    ScratchDir dir;
    EXPECT_EQ(ToBin(dir, ":10000000AABBC\r\n:0100100055AA\r\n", "16k").image,
              Erased16kWith(0, "\xAA\xBB").replace(0x10, 1, "\x55"));
}

TEST(HexToBinMended, LongRecordIsCutAtTheReadLimit)
{
    // 124 data bytes: 9 + 248 + 2 characters. The first piece of 253 characters
    // holds 122 complete pairs; the rest of the line is a piece of its own.
    ScratchDir dir;
    std::string line = ":7C000000";
    for (int k = 0; k < 124; ++k) {
        line += "5A";
    }
    line += "00";
    const BinRun result = ToBin(dir, line + "\r\n", "16k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_EQ(result.image, Erased16kWith(0, std::string(122, '\x5A')));
}

TEST(HexToBinMended, PieceOfAnOverlongLineIsReadAsALineOfItsOwn)
{
    // 253 filler characters fill the first piece; the record right behind them
    // starts the second piece and is applied.
    ScratchDir dir;
    const std::string hex = std::string(253, 'x') + ":0100050042B8\r\n";
    EXPECT_EQ(ToBin(dir, hex, "16k").image, Erased16kWith(5, "\x42"));
    const std::string shifted = std::string(252, 'x') + ":0100050042B8\r\n";
    EXPECT_EQ(ToBin(dir, shifted, "16k").image, std::string(0x4000, '\xFF'));
}

TEST(HexToBinMended, VeryLongLinesNeitherCrashNorStoreAnything)
{
    ScratchDir dir;
    const BinRun result = ToBin(dir, std::string(100000, '7') + "\r\n", "16k");
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_EQ(result.image, std::string(0x4000, '\xFF'));
}

TEST(HexToBinMended, BytesBeyondTheImageAreDropped)
{
    HexReader reader;
    StartHexReader(reader, 0x100000);
    std::string hex = ":02000002F000FC\n:20FFF000";
    for (int k = 0; k < 32; ++k) {
        hex += "3C";
    }
    hex += "00\n";
    FeedHexText(reader, hex.data(), hex.size());
    FinishHexText(reader);
    EXPECT_FALSE(reader.addressError);
    ASSERT_EQ(reader.image.size(), hexImageSize);
    EXPECT_EQ(reader.image[0xFFFEF], 0xFF);
    for (std::size_t a = 0xFFFF0; a < hexImageSize; ++a) {
        EXPECT_EQ(reader.image[a], 0x3C);
    }
}

TEST(HexToBinMended, CountAbove255FromNonHexDigitsIsBounded)
{
    // "ZZ" counts 408 bytes; with the image end 8 bytes on, only those are stored.
    HexReader reader;
    StartHexReader(reader, 0x100000);
    std::string hex = ":02000002F000FC\n:ZZFFF800";
    for (int k = 0; k < 122; ++k) {
        hex += "11";
    }
    hex += "\n";
    FeedHexText(reader, hex.data(), hex.size());
    FinishHexText(reader);
    EXPECT_EQ(reader.image.size(), hexImageSize);
    EXPECT_EQ(reader.image[0xFFFF8], 0x11);
    EXPECT_EQ(reader.image[0xFFFFF], 0x11);
}

TEST(HexReaderChunks, SplittingTheTextAnywhereGivesTheSameImage)
{
    const std::string hex = ":020000021000EC\r\n:04000000DEADBEEF00\r\n:01000400AA00\r"
                            "\n" + std::string(300, 'q') + "\n:0100080077\x1A:0100090088";
    HexReader whole;
    StartHexReader(whole, 0x20000);
    FeedHexText(whole, hex.data(), hex.size());
    FinishHexText(whole);
    EXPECT_EQ(whole.image[0x10000], 0xDE);
    EXPECT_EQ(whole.image[0x10008], 0x77);
    EXPECT_EQ(whole.image[0x10009], 0xFF);
    for (std::size_t cut = 1; cut < hex.size(); ++cut) {
        HexReader split;
        StartHexReader(split, 0x20000);
        FeedHexText(split, hex.data(), cut);
        FeedHexText(split, hex.data() + cut, hex.size() - cut);
        FinishHexText(split);
        ASSERT_TRUE(split.image == whole.image) << "cut at " << cut;
    }
}

}  // namespace
