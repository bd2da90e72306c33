#include "terminal/link/receive_stage.h"

#include <cstring>

#include "terminal/link/receive_plan.h"

int MakeStageRoom(ReceiveStage& stage) {
  if (stage.start > 0) {
    std::memmove(stage.bytes, stage.bytes + stage.start, std::size_t(stage.count));
    stage.start = 0;
  }
  return ReceiveStageBytes - stage.count;
}

std::uint8_t* StageRoom(ReceiveStage& stage) { return stage.bytes + stage.start + stage.count; }

void AddToStage(ReceiveStage& stage, int added) { stage.count += added; }

bool StageCanServe(const ReceiveStage& stage, int maximum) {
  return maximum > 0 && stage.count >= (maximum & ~1);
}

int TakeFromStage(ReceiveStage& stage, std::uint8_t* buffer, int maximum) {
  const int n = EvenReadCount(std::uint32_t(stage.count), maximum);
  std::memcpy(buffer, stage.bytes + stage.start, std::size_t(n));
  stage.start += n;
  stage.count -= n;
  if (stage.count == 0) stage.start = 0;
  return n;
}

void EmptyStage(ReceiveStage& stage) {
  stage.start = 0;
  stage.count = 0;
}
