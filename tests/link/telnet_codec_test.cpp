// The telnet codec in the protocol's own terms: what the server's bytes give
// as the device's data and as replies, cut at every place, and the commands
// the client sends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/link/telnet_codec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Decoded {
  Bytes data;
  Bytes replies;
};

// The stream decoded by a codec that has sent its opening requests, cut in
// two at `cut`.
Decoded DecodeCut(const Bytes& stream, std::size_t cut, TelnetCodec& codec) {
  Bytes opening;
  codec.Start(opening);
  Decoded out;
  codec.Decode(stream.data(), cut, out.data, out.replies);
  codec.Decode(stream.data() + cut, stream.size() - cut, out.data, out.replies);
  return out;
}

TEST(TelnetCodec, TheClientAsksForBinaryBothWaysAndTheComPortOption) {
  TelnetCodec codec;
  Bytes opening;
  codec.Start(opening);
  EXPECT_EQ(opening, (Bytes{255, 251, 0, 255, 253, 0, 255, 251, 44}));
  EXPECT_EQ(codec.ComPortAnswer(), OptionAnswer::Pending);
}

// Every kind of command a server may send, between the device's bytes: none
// of its bytes reaches the data, wherever the stream is cut.
TEST(TelnetCodec, OnlyTheDevicesBytesReachTheDataWhereverTheStreamIsCut) {
  const Bytes stream = {
      0x41, 255, 253, 0,     // DO BINARY: answers our WILL, no reply
      255, 251, 0,           // WILL BINARY: answers our DO
      255, 253, 44,          // DO COM-PORT-OPTION: answers our WILL
      0x00, 255, 255, 0x0D,  // data 00 FF 0D
      255, 241, 255, 246,    // NOP, AYT
      255, 250, 44, 101, 0, 1, 194, 0, 255, 240,  // the server's answer to SET-BAUDRATE
      0x42, 255, 249,        // data 42, GA
      255, 251, 1,           // WILL ECHO: refused
      255, 253, 24,          // DO TERMINAL-TYPE: refused
      255, 253, 24,          // asked again: refused again
      255, 250, 24, 255, 255, 1, 255, 240,  // a subnegotiation holding a doubled 0xFF
      255, 250, 44, 112, 1, 255, 240,       // the purge acknowledged
      255, 254, 0,           // DONT BINARY: agreed to
      255, 254, 0,           // again: nothing to agree to
      0xFF - 1, 255, 255};
  const Bytes data = {0x41, 0x00, 0xFF, 0x0D, 0x42, 0xFE, 0xFF};
  const Bytes replies = {255, 254, 1, 255, 252, 24, 255, 252, 24, 255, 252, 0};
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    TelnetCodec codec;
    const Decoded out = DecodeCut(stream, cut, codec);
    EXPECT_EQ(out.data, data) << "cut at " << cut;
    EXPECT_EQ(out.replies, replies) << "cut at " << cut;
    EXPECT_EQ(codec.ComPortAnswer(), OptionAnswer::Accepted);
    EXPECT_EQ(codec.PurgeAcks(), 1u);
  }
}

// A command inside a subnegotiation breaks it off and is taken as itself; the
// bytes after it are data again.
TEST(TelnetCodec, ABrokenSubnegotiationEndsAtTheCommandInsideIt) {
  TelnetCodec codec;
  const Decoded out = DecodeCut({255, 250, 44, 112, 255, 241, 0x43, 255, 240, 0x44}, 3, codec);
  EXPECT_EQ(out.data, (Bytes{0x43, 0x44}));
  EXPECT_EQ(codec.PurgeAcks(), 0u) << "a broken subnegotiation is not read";
}

TEST(TelnetCodec, AServerRefusingTheComPortOptionIsToldWithoutAReply) {
  TelnetCodec codec;
  const Decoded out = DecodeCut({255, 254, 44}, 1, codec);
  EXPECT_EQ(codec.ComPortAnswer(), OptionAnswer::Refused);
  EXPECT_TRUE(out.replies.empty());
}

TEST(TelnetCodec, TheDevicesBytesTravelWithEach0xFFDoubled) {
  const Bytes bytes = {0x00, 0xFF, 0xFF, 0x0D, 0xFE};
  Bytes wire;
  TelnetCodec::Encode(bytes.data(), bytes.size(), wire);
  EXPECT_EQ(wire, (Bytes{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x0D, 0xFE}));
}

TEST(TelnetCodec, LineSettingsDtrAndPurgeAreComPortCommands) {
  LineSettings line;
  line.baudRate = 115200;
  line.dataBits = 7;
  line.parity = ParityEven;
  line.stopBits = StopBitsTwo;
  line.flowControl = FlowRtsCts | FlowXonXoff;
  Bytes wire;
  TelnetCodec::EncodeLineSettings(line, wire);
  TelnetCodec::EncodeDtr(true, wire);
  TelnetCodec::EncodePurge(wire);
  EXPECT_EQ(wire, (Bytes{255, 250, 44, 1, 0x00, 0x01, 0xC2, 0x00, 255, 240,  // 115200 bit/s
                         255, 250, 44, 2, 7, 255, 240,                       // 7 data bits
                         255, 250, 44, 3, 3, 255, 240,                       // even parity
                         255, 250, 44, 4, 2, 255, 240,                       // two stop bits
                         255, 250, 44, 5, 3, 255, 240,                       // hardware flow control
                         255, 250, 44, 5, 8, 255, 240,                       // DTR on
                         255, 250, 44, 12, 1, 255, 240}));                   // purge what the server received
}

TEST(TelnetCodec, OneAndAHalfStopBitsAndNoFlowControlHaveTheirCodes) {
  LineSettings line;
  line.dataBits = 5;
  line.stopBits = StopBitsOneAndHalf;
  Bytes wire;
  TelnetCodec::EncodeLineSettings(line, wire);
  EXPECT_EQ(Bytes(wire.begin() + 24, wire.end()),
            (Bytes{255, 250, 44, 4, 3, 255, 240, 255, 250, 44, 5, 1, 255, 240}));
}

}  // namespace
