// Bytes taken from the device but not yet handed out by ReadBlock.
//
// Under Wine every device call is a round trip to the server, and at the top
// line rate the pump would make three of them for each 100-byte block. So one
// device read takes everything waiting (up to the driver's queue size) into
// this stage, and ReadBlock hands the bytes out in the same blocks as before:
// at most the maximum asked for, always whole words, in arrival order, a lone
// byte kept until its partner arrives. The interpreter's own two-byte reads
// take from the same stage, so nothing is reordered.
#pragma once

#include <cstdint>

constexpr int ReceiveStageBytes = 16384;  // the driver's input queue

struct ReceiveStage {
  std::uint8_t bytes[ReceiveStageBytes];
  int start;
  int count;
};

// Room for more bytes from the device, after moving what is staged to the front.
int MakeStageRoom(ReceiveStage& stage);

// Where MakeStageRoom's room begins; the device read writes there.
std::uint8_t* StageRoom(ReceiveStage& stage);

// Adds the bytes a device read placed at StageRoom.
void AddToStage(ReceiveStage& stage, int added);

// True when a read of `maximum` bytes can be served without asking the device.
bool StageCanServe(const ReceiveStage& stage, int maximum);

// Takes at most `maximum` staged bytes, rounded down to whole words.
int TakeFromStage(ReceiveStage& stage, std::uint8_t* buffer, int maximum);

void EmptyStage(ReceiveStage& stage);
