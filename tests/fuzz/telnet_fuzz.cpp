// What a server sends through the telnet codec of an rfc2217:// port. The
// first byte picks the form of the rest:
//
// - even: records that build a server's stream, each a tag and its bytes:
//   the device's byte (0xFF doubled), a negotiation, a subnegotiation, or a
//   one-byte command. Only the device's bytes may come out as data, in order.
// - odd: the bytes as they are, any stream at all.
//
// Either way the stream is pushed in pieces, and the replies must be what the
// protocol allows: three-byte negotiations, at most one for each negotiation
// the server sent, agreement only to the options the client performs or
// accepts; and a request repeated for an option already agreed to is not
// answered again (which would let two ends loop).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "terminal/link/telnet_codec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace telnet;

void Check(bool holds) {
  if (!holds) std::abort();
}

struct Server {
  Bytes stream;
  Bytes data;  // the device's bytes in it
};

void AddRecord(std::uint8_t tag, const std::uint8_t*& at, const std::uint8_t* end, Server& server) {
  const std::uint8_t value = at < end ? *at++ : 0;
  switch (tag % 4) {
    case 0:
      server.data.push_back(value);
      TelnetCodec::Encode(&value, 1, server.stream);
      return;
    case 1:
      server.stream.insert(server.stream.end(), {Iac, std::uint8_t(Will + tag / 4 % 4), value});
      return;
    case 2: {
      server.stream.insert(server.stream.end(), {Iac, Sb});
      const std::size_t length = std::min<std::size_t>(tag / 4 % 8, std::size_t(end - at));
      TelnetCodec::Encode(&value, 1, server.stream);
      TelnetCodec::Encode(at, length, server.stream);
      at += length;
      server.stream.insert(server.stream.end(), {Iac, Se});
      return;
    }
    default:
      server.stream.insert(server.stream.end(), {Iac, std::uint8_t(240 + value % 10)});
  }
}

Server Build(const std::uint8_t* at, const std::uint8_t* end, bool asItIs) {
  Server server;
  if (asItIs) server.stream.assign(at, end);
  while (!asItIs && at < end) {
    const std::uint8_t tag = *at++;
    AddRecord(tag, at, end, server);
  }
  return server;
}

std::size_t Negotiations(const Bytes& stream) {
  std::size_t count = 0;
  for (std::size_t i = 0; i + 1 < stream.size(); ++i) count += stream[i] == Iac && stream[i + 1] >= Will;
  return count;
}

// Each reply a negotiation; WILL only for binary and the COM port option, DO
// only for binary and suppress-go-ahead.
void CheckReplies(const Bytes& replies) {
  Check(replies.size() % 3 == 0);
  for (std::size_t i = 0; i < replies.size(); i += 3) {
    const std::uint8_t verb = replies[i + 1], option = replies[i + 2];
    Check(replies[i] == Iac && verb >= Will && verb <= Dont);
    if (verb == Will) Check(option == Binary || option == ComPort);
    if (verb == Do) Check(option == Binary || option == SuppressGoAhead);
  }
}

// Whatever came before, the server asking twice for every option the client
// takes gets at most one answer to each: the second round none. A byte and
// IAC SE first end whatever command the stream left unfinished.
void CheckNoLoop(TelnetCodec& codec) {
  const Bytes end = {0x00, Iac, Se};
  const Bytes round = {Iac, Do, Binary, Iac, Do, ComPort, Iac, Will, Binary, Iac, Will, SuppressGoAhead};
  Bytes data, first, second;
  codec.Decode(end.data(), end.size(), data, first);
  codec.Decode(round.data(), round.size(), data, first);
  codec.Decode(round.data(), round.size(), data, second);
  Check(first.size() <= round.size() && second.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  if (size == 0) return 0;
  const bool asItIs = (input[0] & 1) != 0;
  const Server server = Build(input + 1, input + size, asItIs);
  TelnetCodec codec;
  Bytes opening, data, replies;
  codec.Start(opening);
  const std::size_t piece = std::size_t(input[0] >> 1) + 1;
  for (std::size_t at = 0; at < server.stream.size(); at += piece) {
    codec.Decode(server.stream.data() + at, std::min(piece, server.stream.size() - at), data, replies);
  }
  if (!asItIs) Check(data == server.data);
  Check(data.size() <= server.stream.size());
  Check(replies.size() <= 3 * Negotiations(server.stream));
  CheckReplies(replies);
  CheckNoLoop(codec);
  return 0;
}
