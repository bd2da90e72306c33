// The client's side of a telnet connection carrying a serial line, with the
// COM port control option (RFC 854, RFC 856 binary transmission, RFC 2217),
// as a codec without any I/O: the bytes a server sends go in and come out as
// the device's bytes and the replies the protocol asks for; line settings,
// DTR and purges go in and come out as command bytes.
//
// - The device's bytes: a 0xFF byte travels doubled (IAC IAC) both ways;
//   Encode doubles, Decode undoubles.
// - Every other telnet command a server sends is consumed: option
//   negotiation is answered (at most one three-byte reply per request, and
//   only a request that would change an option's state is answered, so two
//   ends never loop), subnegotiations and the one-byte commands (NOP, AYT,
//   GA, ...) are read and dropped. None of their bytes reaches the data.
// - The client asks for binary transmission both ways and offers the COM port
//   option. It accepts binary and suppress-go-ahead from the server and
//   refuses every other option.
// - The server's answers to the COM port commands (command + 100) are read
//   and dropped, except that an acknowledged purge is counted: a server that
//   never acknowledges a modem-control request is simply not waited for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "terminal/link/line_settings.h"

namespace telnet {
constexpr std::uint8_t Se = 240;
constexpr std::uint8_t Sb = 250;
constexpr std::uint8_t Will = 251;
constexpr std::uint8_t Wont = 252;
constexpr std::uint8_t Do = 253;
constexpr std::uint8_t Dont = 254;
constexpr std::uint8_t Iac = 255;
constexpr std::uint8_t Binary = 0;
constexpr std::uint8_t SuppressGoAhead = 3;
constexpr std::uint8_t ComPort = 44;
// The COM port commands a client sends; a server answers with command + 100.
constexpr std::uint8_t SetBaudRate = 1;
constexpr std::uint8_t SetDataSize = 2;
constexpr std::uint8_t SetParity = 3;
constexpr std::uint8_t SetStopSize = 4;
constexpr std::uint8_t SetControl = 5;
constexpr std::uint8_t PurgeData = 12;
constexpr std::uint8_t ServerAnswer = 100;
}  // namespace telnet

// Where an option we asked for stands.
enum class OptionAnswer { Pending, Accepted, Refused };

class TelnetCodec {
 public:
  // The client's opening requests: WILL BINARY, DO BINARY, WILL COM-PORT-OPTION.
  void Start(std::vector<std::uint8_t>& out);
  // The server's bytes: the device's bytes appended to `data`, the replies
  // owed to the server appended to `replies`. A command cut between two calls
  // is finished by the next.
  void Decode(const std::uint8_t* in, std::size_t length, std::vector<std::uint8_t>& data,
              std::vector<std::uint8_t>& replies);

  // The device's bytes as they travel: each 0xFF doubled.
  static void Encode(const std::uint8_t* bytes, std::size_t length, std::vector<std::uint8_t>& out);
  // Speed, data bits, parity, stop bits and flow control, one command each.
  static void EncodeLineSettings(const LineSettings& settings, std::vector<std::uint8_t>& out);
  static void EncodeDtr(bool raised, std::vector<std::uint8_t>& out);
  // Asks the server to discard what it received from the device and has not
  // sent yet. What it holds to send to the device is left alone: it may be
  // the terminal's last bytes, written just before a close.
  static void EncodePurge(std::vector<std::uint8_t>& out);

  OptionAnswer ComPortAnswer() const;
  // How many purges the server has acknowledged so far.
  std::uint32_t PurgeAcks() const { return purgeAcks_; }

 private:
  enum class State : std::uint8_t { Data, Iac, Option, Sub, SubIac };
  enum class Side : std::uint8_t { No, WantYes, Yes };

  void Step(std::uint8_t byte, std::vector<std::uint8_t>& data, std::vector<std::uint8_t>& replies);
  void Command(std::uint8_t byte, std::vector<std::uint8_t>& data);
  void SubIacByte(std::uint8_t byte, std::vector<std::uint8_t>& data);
  void SubByte(std::uint8_t byte);
  void SubEnded();
  void Negotiate(std::uint8_t option, std::vector<std::uint8_t>& replies);
  void Enable(std::array<Side, 256>& sides, bool offered, std::uint8_t option, std::uint8_t yes, std::uint8_t no,
              std::vector<std::uint8_t>& replies);
  void Disable(std::array<Side, 256>& sides, std::uint8_t option, std::uint8_t no,
               std::vector<std::uint8_t>& replies);

  State state_ = State::Data;
  std::uint8_t verb_ = 0;
  // The first bytes of a subnegotiation: the option, the command, its value.
  std::array<std::uint8_t, 3> sub_{};
  std::size_t subLength_ = 0;
  std::uint32_t purgeAcks_ = 0;
  std::array<Side, 256> ours_{};    // options this end performs
  std::array<Side, 256> theirs_{};  // options the server performs
};
