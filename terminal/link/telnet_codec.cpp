#include "terminal/link/telnet_codec.h"

using namespace telnet;

namespace {

void Put3(std::vector<std::uint8_t>& out, std::uint8_t a, std::uint8_t b, std::uint8_t c) {
  out.insert(out.end(), {a, b, c});
}

// IAC SB COM-PORT-OPTION command value IAC SE, the value's 0xFF bytes doubled.
void ComPortCommand(std::uint8_t command, const std::vector<std::uint8_t>& value, std::vector<std::uint8_t>& out) {
  Put3(out, Iac, Sb, ComPort);
  out.push_back(command);
  TelnetCodec::Encode(value.data(), value.size(), out);
  out.insert(out.end(), {Iac, Se});
}

// The line's parity and stop bits in the option's codes.
std::uint8_t ParityValue(std::uint8_t parity) { return std::uint8_t(parity + 1); }

std::uint8_t StopSizeValue(std::uint8_t stopBits) {
  if (stopBits == StopBitsOneAndHalf) return 3;
  return stopBits == StopBitsTwo ? 2 : 1;
}

// The option sets one flow control for both directions: hardware when RTS/CTS
// is chosen, else XON/XOFF, else DSR, else none.
std::uint8_t FlowValue(std::uint8_t flow) {
  if (flow & FlowRtsCts) return 3;
  if (flow & FlowXonXoff) return 2;
  return (flow & FlowDtrDsr) ? 19 : 1;
}

bool IsNegotiation(std::uint8_t byte) { return byte >= Will && byte <= Dont; }

}  // namespace

void TelnetCodec::Start(std::vector<std::uint8_t>& out) {
  ours_[Binary] = Side::WantYes;
  theirs_[Binary] = Side::WantYes;
  ours_[ComPort] = Side::WantYes;
  Put3(out, Iac, Will, Binary);
  Put3(out, Iac, Do, Binary);
  Put3(out, Iac, Will, ComPort);
}

void TelnetCodec::Decode(const std::uint8_t* in, std::size_t length, std::vector<std::uint8_t>& data,
                         std::vector<std::uint8_t>& replies) {
  for (std::size_t i = 0; i < length; ++i) Step(in[i], data, replies);
}

void TelnetCodec::Step(std::uint8_t byte, std::vector<std::uint8_t>& data, std::vector<std::uint8_t>& replies) {
  switch (state_) {
    case State::Data:
      if (byte == Iac) state_ = State::Iac;
      else data.push_back(byte);
      return;
    case State::Iac:
      return Command(byte, data);
    case State::Option:
      state_ = State::Data;
      return Negotiate(byte, replies);
    case State::Sub:
      if (byte == Iac) state_ = State::SubIac;
      else SubByte(byte);
      return;
    case State::SubIac:
      return SubIacByte(byte, data);
  }
}

// The byte after IAC: a doubled 0xFF is data, a negotiation verb waits for its
// option, SB starts a subnegotiation; any other command is dropped.
void TelnetCodec::Command(std::uint8_t byte, std::vector<std::uint8_t>& data) {
  state_ = State::Data;
  if (byte == Iac) {
    data.push_back(Iac);
  } else if (IsNegotiation(byte)) {
    verb_ = byte;
    state_ = State::Option;
  } else if (byte == Sb) {
    subLength_ = 0;
    state_ = State::Sub;
  }
}

// Inside a subnegotiation IAC IAC is a 0xFF of its value and IAC SE ends it.
// Another command there breaks the subnegotiation off unread and is taken as
// the command it is.
void TelnetCodec::SubIacByte(std::uint8_t byte, std::vector<std::uint8_t>& data) {
  state_ = State::Sub;
  if (byte == Iac) return SubByte(byte);
  if (byte == Se) {
    state_ = State::Data;
    return SubEnded();
  }
  Command(byte, data);
}

// Only the first bytes are kept: the option, the command and a value's first byte.
void TelnetCodec::SubByte(std::uint8_t byte) {
  if (subLength_ < sub_.size()) sub_[subLength_] = byte;
  if (subLength_ < sub_.size() + 1) ++subLength_;
}

void TelnetCodec::SubEnded() {
  const bool purgeAnswer = subLength_ >= 2 && sub_[0] == ComPort && sub_[1] == ServerAnswer + PurgeData;
  if (purgeAnswer) ++purgeAcks_;
}

void TelnetCodec::Negotiate(std::uint8_t option, std::vector<std::uint8_t>& replies) {
  const bool ours = option == Binary || option == ComPort;
  const bool theirs = option == Binary || option == SuppressGoAhead;
  if (verb_ == Do) Enable(ours_, ours, option, Will, Wont, replies);
  if (verb_ == Dont) Disable(ours_, option, Wont, replies);
  if (verb_ == Will) Enable(theirs_, theirs, option, Do, Dont, replies);
  if (verb_ == Wont) Disable(theirs_, option, Dont, replies);
}

// A request to turn an option on: an answer to our own request needs no reply;
// otherwise it is agreed to or refused.
void TelnetCodec::Enable(std::array<Side, 256>& sides, bool offered, std::uint8_t option, std::uint8_t yes,
                         std::uint8_t no, std::vector<std::uint8_t>& replies) {
  Side& side = sides[option];
  if (side == Side::Yes) return;
  if (side == Side::WantYes) {
    side = Side::Yes;
    return;
  }
  if (offered) side = Side::Yes;
  Put3(replies, Iac, offered ? yes : no, option);
}

// A request to turn an option off: agreed to when it was on; a refusal of our
// own request needs no reply.
void TelnetCodec::Disable(std::array<Side, 256>& sides, std::uint8_t option, std::uint8_t no,
                          std::vector<std::uint8_t>& replies) {
  Side& side = sides[option];
  if (side == Side::Yes) Put3(replies, Iac, no, option);
  side = Side::No;
}

OptionAnswer TelnetCodec::ComPortAnswer() const {
  if (ours_[ComPort] == Side::WantYes) return OptionAnswer::Pending;
  return ours_[ComPort] == Side::Yes ? OptionAnswer::Accepted : OptionAnswer::Refused;
}

void TelnetCodec::Encode(const std::uint8_t* bytes, std::size_t length, std::vector<std::uint8_t>& out) {
  for (std::size_t i = 0; i < length; ++i) {
    out.push_back(bytes[i]);
    if (bytes[i] == Iac) out.push_back(Iac);
  }
}

void TelnetCodec::EncodeLineSettings(const LineSettings& settings, std::vector<std::uint8_t>& out) {
  const std::uint32_t speed = settings.baudRate;
  ComPortCommand(SetBaudRate,
                 {std::uint8_t(speed >> 24), std::uint8_t(speed >> 16), std::uint8_t(speed >> 8), std::uint8_t(speed)},
                 out);
  ComPortCommand(SetDataSize, {settings.dataBits}, out);
  ComPortCommand(SetParity, {ParityValue(settings.parity)}, out);
  ComPortCommand(SetStopSize, {StopSizeValue(settings.stopBits)}, out);
  ComPortCommand(SetControl, {FlowValue(settings.flowControl)}, out);
}

void TelnetCodec::EncodeDtr(bool raised, std::vector<std::uint8_t>& out) {
  ComPortCommand(SetControl, {std::uint8_t(raised ? 8 : 9)}, out);
}

void TelnetCodec::EncodePurge(std::vector<std::uint8_t>& out) { ComPortCommand(PurgeData, {1}, out); }
