// One terminal: the object that owns everything the terminal keeps, fed by
// pushes.
//
// The program pushes what the device sent into Receive and the time into Tick;
// the terminal logs, interprets, draws and answers through the roles it was
// made with (terminal/model/roles.h). It never waits for the device: a
// sequence cut at the end of what has arrived, an ESC waiting for its argument
// and point-plot mode are states of the object, finished by the words of
// later pushes, and ended by Tick when their time is up or by EndOfInput when
// nothing more can come. Every receive path (the Windows pump, the replay
// tool, the fuzzer, the benchmarks, the console tool) is this one. It never
// shows anything modal either: what the user must be told goes to the host's
// Tell, and the front end shows it once the call has returned, so no call
// into the terminal ever runs inside another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "terminal/interpreter/word_parser.h"
#include "terminal/model/roles.h"
#include "terminal/model/screen_model.h"

// How long a cut sequence or an ESC waits for its next word: a device that
// stops in the middle of a sequence has given up.
constexpr std::uint64_t CutSequenceWaitMilliseconds = 5000;
// Point-plot mode waits longer: a device may compute between its points. Half
// a minute of silence means the device has given up.
constexpr std::uint64_t PointPlotWaitMilliseconds = 30000;

// The interpreter's state between pushes.
struct InterpreterState {
  WordParser parser;  // the sequence in progress, or point-plot mode
  std::uint64_t waitSince = 0;  // when point-plot mode started or the last push ended
  int unloggedByte = -1;     // a lone received byte, logged when its partner arrives
  int uninterpretedByte = -1;  // the same byte, interpreted with its partner unless a NAK dropped it
  bool pushDropped = false;  // the rest of the push being interpreted is dropped
  int pendingEchoByte = -1;  // the first byte of a local echo, waiting for its partner
  std::vector<std::uint8_t> heldUserBytes;  // typed during point-plot mode
};

class Terminal : public ScreenModel {
 public:
  explicit Terminal(const TerminalRoles& roles);

  // The one receive path: appends the bytes to the log (whole words, in arrival
  // order, before they are interpreted), then interprets them in blocks of at
  // most 100 bytes, whole words. A lone last byte waits for its partner, in the
  // log too.
  void Receive(const std::uint8_t* bytes, std::size_t length);

  // Ends what is awaited when its time is up (CutSequenceWaitMilliseconds,
  // PointPlotWaitMilliseconds since it started or the last push ended), with
  // its message.
  void Tick(std::uint64_t now);

  // The user was kept busy by the front end (its message boxes) since the
  // last push: that time was the user's, not the device's, so what is
  // awaited counts its bound from now.
  void RestartWaitClock();

  // Nothing will come again (the device has gone, a replay has ended): what is
  // awaited ends now, with its message.
  void EndOfInput();

  // A connection starts: nothing awaited, no echo half-gathered, connected.
  void Connect();
  // The user ended the connection: what is awaited is dropped without a
  // message, and so are the bytes held for it.
  void Disconnect();

  // One byte the terminal sends: to the device, then shown by local echo or
  // told to the host (ByteSent). False when not connected or the device took
  // nothing.
  bool Transmit(std::uint8_t byte);

  // Bytes the user sends (key reports, composed text). While point-plot mode
  // runs the device hears only the terminal's ACK and NAK: the bytes are held
  // and sent when the mode ends.
  void SendFromUser(const std::uint8_t* bytes, int length);

  // Nothing received so far is interpreted any more: the rest of the push
  // being interpreted and a lone byte waiting for its partner are dropped
  // (they stay logged). Point-plot mode's NAK discards the input queued
  // before it so.
  void DiscardReceived();

  // Whether something is awaited, so that the program calls Tick.
  bool Waiting() const { return !interpreter.parser.InGround(); }

  DeviceOutput& device;
  CommLog& log;
  Clock& clock;
  InterpreterState interpreter;

 private:
  void InterpretPush(const std::uint8_t* bytes, std::size_t length);
  std::size_t Consume(const std::uint8_t* bytes, std::size_t length);
  void EchoByte(std::uint8_t byte);
  void ForgetReceived();
};
