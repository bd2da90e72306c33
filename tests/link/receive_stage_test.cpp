// The receive stage hands out what one device read took in the same blocks,
// and in the same order, as reading the device block by block would.
#include "terminal/link/receive_stage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

ReceiveStage stage;

// What a device read of `bytes` does to the stage.
void Arrive(const std::vector<std::uint8_t>& bytes) {
  ASSERT_GE(MakeStageRoom(stage), int(bytes.size()));
  std::memcpy(StageRoom(stage), bytes.data(), bytes.size());
  AddToStage(stage, int(bytes.size()));
}

std::vector<std::uint8_t> Take(int maximum) {
  std::vector<std::uint8_t> block(std::size_t(maximum > 0 ? maximum : 1));
  block.resize(std::size_t(TakeFromStage(stage, block.data(), maximum)));
  return block;
}

std::vector<std::uint8_t> Counting(int from, int count) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(std::uint8_t(from + i));
  return bytes;
}

class ReceiveStageTest : public ::testing::Test {
 protected:
  void SetUp() override { EmptyStage(stage); }
};

TEST_F(ReceiveStageTest, HandsOutBlocksOfAtMostTheMaximumInArrivalOrder) {
  Arrive(Counting(0, 250));
  EXPECT_EQ(Take(100), Counting(0, 100));
  EXPECT_EQ(Take(2), Counting(100, 2)) << "the interpreter's own read takes the next word";
  EXPECT_EQ(Take(100), Counting(102, 100));
  EXPECT_EQ(Take(100), Counting(202, 48));
  EXPECT_TRUE(Take(100).empty());
}

TEST_F(ReceiveStageTest, KeepsALoneByteUntilItsPartnerArrives) {
  Arrive(Counting(0, 101));
  EXPECT_EQ(Take(100).size(), 100u);
  EXPECT_TRUE(Take(100).empty()) << "the odd byte stays staged";
  EXPECT_FALSE(StageCanServe(stage, 2));
  Arrive(Counting(101, 1));
  EXPECT_EQ(Take(100), Counting(100, 2));
}

TEST_F(ReceiveStageTest, AsksTheDeviceOnlyWhenTheBlockCannotBeFilled) {
  Arrive(Counting(0, 150));
  EXPECT_TRUE(StageCanServe(stage, 100));
  Take(100);
  EXPECT_FALSE(StageCanServe(stage, 100)) << "50 staged bytes are fewer than a block";
  EXPECT_TRUE(StageCanServe(stage, 2));
}

TEST_F(ReceiveStageTest, RoomIsTheQueueSizeLessWhatIsStagedAndNeverOverflows) {
  Arrive(Counting(0, 200));
  Take(100);
  EXPECT_EQ(MakeStageRoom(stage), ReceiveStageBytes - 100);
  EXPECT_EQ(Take(100), Counting(100, 100)) << "moving the rest to the front keeps its bytes";
  std::vector<std::uint8_t> full(ReceiveStageBytes, 0x41);
  Arrive(full);
  EXPECT_EQ(MakeStageRoom(stage), 0);
}

TEST_F(ReceiveStageTest, EmptyingDiscardsWhatWasStaged) {
  Arrive(Counting(0, 64));
  EmptyStage(stage);
  EXPECT_TRUE(Take(100).empty());
  EXPECT_EQ(MakeStageRoom(stage), ReceiveStageBytes);
}

}  // namespace
