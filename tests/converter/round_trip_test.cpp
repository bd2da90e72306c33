#include <gtest/gtest.h>

#include <string>

#include "tests/converter/converter_test_support.h"

namespace {

TEST(RoundTrip, ImageComesBackFollowedByErasedBytes)
{
    const std::pair<std::size_t, const char*> cases[] = {
        {0, "16k"},        {1, "16k"},       {4095, "16k"},   {0x4000, "16k"},
        {20001, "32k"},    {0x10000, "64k"}, {0x10001, "128k"}, {200003, "256k"},
        {0x7FFFF, "512k"}, {0x100000, "1024k"},
    };
    ScratchDir dir;
    for (const auto& [size, romSize] : cases) {
        const std::string image = RandomBytes(size, static_cast<unsigned>(size));
        WriteBytes(dir.File("in.bin"), image);
        ASSERT_EQ(RunWithArguments({"-h", dir.File("in.bin"), dir.File("mid.hex"), romSize}).exitCode, 0);
        ASSERT_EQ(RunWithArguments({"-b", dir.File("mid.hex"), dir.File("out.bin"), romSize}).exitCode, 0);
        std::string expected = image;
        expected.resize(static_cast<std::size_t>(std::stoul(romSize)) * 1024, '\xFF');
        EXPECT_TRUE(ReadBytes(dir.File("out.bin")) == expected) << size << " bytes in " << romSize;
    }
}

}  // namespace
