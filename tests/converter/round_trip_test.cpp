#include <gtest/gtest.h>

#include <string>

#include "tests/converter/converter_test_support.h"

namespace {

struct RoundTripCase {
    std::size_t size;
    const char* romSize;
    std::size_t romBytes;
};

void PrintTo(const RoundTripCase& c, std::ostream* os)
{
    *os << c.size << " bytes in " << c.romSize;
}

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, ImageComesBackFollowedByErasedBytes)
{
    const RoundTripCase c = GetParam();
    ScratchDir dir;
    const std::string image = RandomBytes(c.size, static_cast<unsigned>(c.size));
    WriteBytes(dir.File("in.bin"), image);
    ASSERT_EQ(RunWithArguments({"-h", dir.File("in.bin"), dir.File("mid.hex"), c.romSize}).exitCode, 0);
    ASSERT_EQ(RunWithArguments({"-b", dir.File("mid.hex"), dir.File("out.bin"), c.romSize}).exitCode, 0);
    const std::string back = ReadBytes(dir.File("out.bin"));
    ASSERT_EQ(back.size(), c.romBytes);
    EXPECT_TRUE(back.compare(0, image.size(), image) == 0);
    EXPECT_EQ(back.substr(image.size()), std::string(c.romBytes - image.size(), '\xFF'));
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundTrip,
                         ::testing::Values(RoundTripCase{0, "16k", 0x4000},
                                           RoundTripCase{1, "16k", 0x4000},
                                           RoundTripCase{4095, "16k", 0x4000},
                                           RoundTripCase{0x4000, "16k", 0x4000},
                                           RoundTripCase{20001, "32k", 0x8000},
                                           RoundTripCase{0x10000, "64k", 0x10000},
                                           RoundTripCase{0x10001, "128k", 0x20000},
                                           RoundTripCase{200003, "256k", 0x40000},
                                           RoundTripCase{0x7FFFF, "512k", 0x80000},
                                           RoundTripCase{0x100000, "1024k", 0x100000}),
                         [](const ::testing::TestParamInfo<RoundTripCase>& caseInfo) {
                             return std::to_string(caseInfo.param.size) + "BytesIn" +
                                    caseInfo.param.romSize;
                         });

TEST(RoundTripRomSize, ReadingWithASmallerRomStopsAtTheFirstRecordBeyondIt)
{
    ScratchDir dir;
    const std::string image = RandomBytes(0x8000, 77);
    WriteBytes(dir.File("in.bin"), image);
    ASSERT_EQ(RunWithArguments({"-h", dir.File("in.bin"), dir.File("mid.hex"), "32k"}).exitCode, 0);
    const RunResult read = RunWithArguments({"-b", dir.File("mid.hex"), dir.File("out.bin"), "16k"});
    EXPECT_EQ(read.exitCode, 5);
}

}  // namespace
