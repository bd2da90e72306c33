#include "simdevice/sim_device.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

volatile std::sig_atomic_t stopRequested = 0;

namespace {

std::uint64_t NowMs() {
  using namespace std::chrono;
  return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Nap(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

bool Ready(const SimDevice& device) {
  if (!device.open) return false;
  return device.talkWhenConfigured ? device.configured : NowMs() - device.openSince >= device.settle;
}

void WriteAll(SimDevice& device, const std::uint8_t* bytes, std::size_t length);

// Sends the character of every complete key report that arrived since the last call.
void EchoKeyReports(SimDevice& device) {
  while (device.echo && device.received.size() - device.echoCursor >= 8) {
    const int word = KeyReportWord(&device.received[device.echoCursor]);
    device.echoCursor += 8;
    if (word < 0) continue;
    const std::uint8_t bytes[2] = {std::uint8_t(word & 0xFF), std::uint8_t(word >> 8)};
    WriteAll(device, bytes, 2);
  }
}

// A record that cannot be written would be silently short: the device says so
// once and stops, and ends with its own exit code.
void RecordSent(SimDevice& device, const std::uint8_t* bytes, std::size_t length) {
  if (device.record == nullptr || device.recordFailed) return;
  if (std::fwrite(bytes, 1, length, device.record) == length && std::fflush(device.record) == 0) return;
  std::fprintf(stderr, "talvorix-simdevice: cannot write the record\n");
  device.recordFailed = true;
  stopRequested = 1;
}

void TakeSent(SimDevice& device, const std::uint8_t* bytes, std::size_t length) {
  if (device.timedRecord != nullptr) {
    device.timedRecord->Received(bytes, length);
    device.timedRecord->Sync();
  }
  device.received.insert(device.received.end(), bytes, bytes + length);
  RecordSent(device, bytes, length);
  EchoKeyReports(device);
}

// The first change of the line settings after the terminal opened the port
// is the moment the line is configured: told on standard output with the
// milliseconds since this pseudo-terminal was made. A change read after the
// terminal closed the port again belongs to no open port.
void NoteStatus(SimDevice& device, std::uint8_t status) {
  if (!(status & TIOCPKT_IOCTL) || !device.open || device.configured) return;
  device.configured = true;
  std::printf("CONFIGURED %llu\n", static_cast<unsigned long long>(NowMs() - device.madeAt));
  std::fflush(stdout);
}

// Reads one block of what the terminal sent; false when nothing was waiting.
bool ReadSent(SimDevice& device) {
  std::uint8_t buffer[4096];
  const ssize_t got = read(device.master, buffer, sizeof buffer);
  if (got <= 0) return false;
  // Packet mode: every read starts with a status byte, and only a zero one
  // carries the terminal's data.
  if (buffer[0] != TIOCPKT_DATA) {
    NoteStatus(device, buffer[0]);
  } else {
    TakeSent(device, buffer + 1, std::size_t(got - 1));
  }
  return true;
}

// The master reports a hang-up whenever no slave is open: the terminal closed
// the port (or has not opened it yet).
void NoteOpenState(SimDevice& device, bool open) {
  if (!open) {
    device.open = false;
    device.configured = false;
  } else if (!device.open) {
    device.open = true;
    device.openSince = NowMs();
  }
}

// Takes in what the terminal sent, and notices it opening, configuring or closing the port.
// Waits at most `timeout` milliseconds for something to happen. What the
// terminal wrote just before it closed the port is still waiting behind the
// hang-up, and is read all the same.
void Service(SimDevice& device, int timeout) {
  pollfd p{device.master, POLLIN, 0};
  if (poll(&p, 1, timeout) < 0) return;
  const bool hungUp = (p.revents & POLLHUP) != 0;
  NoteOpenState(device, !hungUp);
  const bool read = (p.revents & POLLIN) != 0 && ReadSent(device);
  // The hang-up is reported at once while nothing is waiting: nap instead of spinning.
  if (hungUp && !read) Nap(std::max(1, std::min(timeout, 10)));
}

// Takes in every byte already sent, for at most `milliseconds` (a terminal
// still writing cannot hold the device for longer).
void TakeWaiting(SimDevice& device, std::uint64_t milliseconds) {
  const std::uint64_t end = NowMs() + milliseconds;
  while (NowMs() < end && ReadSent(device)) {
  }
}

// Writes without regard to the open state (echo answers an open port anyway).
// What the device wrote, at the moment the write returned.
void RecordTimed(SimDevice& device, const std::uint8_t* bytes, std::size_t length) {
  if (device.timedRecord == nullptr) return;
  for (std::size_t i = 0; i < length; ++i) device.timedRecord->Sent(bytes[i]);
  device.timedRecord->Sync();
}

void WriteAll(SimDevice& device, const std::uint8_t* bytes, std::size_t length) {
  while (length > 0 && !stopRequested) {
    const ssize_t put = write(device.master, bytes, length);
    if (put > 0) {
      RecordTimed(device, bytes, std::size_t(put));
      bytes += put;
      length -= std::size_t(put);
    } else {
      pollfd p{device.master, POLLOUT, 0};
      poll(&p, 1, 10);
    }
  }
}

// Waits until the terminal has the port open and it has settled.
bool WaitReady(SimDevice& device) {
  while (!Ready(device) && !stopRequested) Service(device, 5);
  return !stopRequested;
}

// Sends bytes to an open port; while the port is closed the device holds them.
void SendBytes(SimDevice& device, const std::uint8_t* bytes, std::size_t length) {
  while (length > 0 && WaitReady(device)) {
    const ssize_t put = write(device.master, bytes, std::min<std::size_t>(length, 1024));
    if (put > 0) {
      RecordTimed(device, bytes, std::size_t(put));
      bytes += put;
      length -= std::size_t(put);
    }
    Service(device, put > 0 ? 0 : 2);
  }
}

void SendWords(SimDevice& device, const std::vector<std::uint16_t>& words) {
  std::vector<std::uint8_t> bytes;
  AppendWords(words, bytes);
  SendBytes(device, bytes.data(), bytes.size());
}

void Flood(SimDevice& device, const Step& step) {
  std::uint64_t sent = 0;
  std::uint64_t start = 0;
  std::vector<std::uint8_t> chunk;
  while (sent < step.count && WaitReady(device)) {
    if (start == 0) start = NowMs();
    std::uint64_t due = step.count;
    if (step.rate > 0) due = std::min(due, step.rate * (NowMs() - start + 1) / 1000);
    const std::uint64_t now = std::min<std::uint64_t>(due - std::min(due, sent), 4096);
    if (now == 0) {
      Service(device, 1);
      continue;
    }
    chunk.resize(std::size_t(now));
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = step.bytes[(sent + i) % step.bytes.size()];
    const ssize_t put = write(device.master, chunk.data(), chunk.size());
    if (put > 0) {
      RecordTimed(device, chunk.data(), std::size_t(put));
      sent += std::uint64_t(put);
    }
    Service(device, put > 0 ? 0 : 2);
  }
}

bool TimedOut(const Step& step, std::uint64_t start, const char* what) {
  if (NowMs() - start < step.timeout) return false;
  std::fprintf(stderr, "talvorix-simdevice: line %d: %s not received in %llu ms\n", step.line, what,
               static_cast<unsigned long long>(step.timeout));
  return true;
}

bool WaitBytes(SimDevice& device, const Step& step) {
  const std::uint64_t start = NowMs();
  while (device.received.size() < device.readCursor + step.count) {
    if (stopRequested || TimedOut(step, start, "bytes")) return false;
    Service(device, 5);
  }
  device.readCursor += step.count;
  return true;
}

bool Expect(SimDevice& device, const std::vector<std::uint8_t>& bytes, const Step& step) {
  const std::uint64_t start = NowMs();
  for (;;) {
    const auto from = device.received.begin() + std::ptrdiff_t(device.readCursor);
    const auto hit = std::search(from, device.received.end(), bytes.begin(), bytes.end());
    if (hit != device.received.end()) {
      device.readCursor = std::size_t(hit - device.received.begin()) + bytes.size();
      return true;
    }
    if (stopRequested || TimedOut(step, start, "expected bytes")) return false;
    Service(device, 5);
  }
}

// True when a NAK came since the cursor (the cursor then passes it).
bool NakArrived(SimDevice& device) {
  Service(device, 0);
  const std::uint8_t nak[2] = {0x15, 0x00};
  const auto from = device.received.begin() + std::ptrdiff_t(device.readCursor);
  const auto hit = std::search(from, device.received.end(), nak, nak + 2);
  if (hit == device.received.end()) return false;
  device.readCursor = std::size_t(hit - device.received.begin()) + 2;
  return true;
}

std::vector<std::uint16_t> PlotLine(std::uint32_t x, std::uint32_t y) {
  std::vector<std::uint16_t> words;
  const std::string text = std::to_string(x) + ";" + std::to_string(y);
  TextToWords(text, true, words);
  words.push_back(0x000D);
  return words;
}

// A device's side of point-plot mode: ESC 点, wait for ACK, the points (a line
// the terminal refused with NAK is sent once more), EOT, wait for the last ACK.
bool Plot(SimDevice& device, const Step& step) {
  const std::vector<std::uint8_t> ack = {0x06, 0x00};
  SendWords(device, {0x001B, 0x4540});
  if (!Expect(device, ack, step)) return false;
  for (std::size_t i = 0; i + 1 < step.points.size(); i += 2) {
    const std::vector<std::uint16_t> line = PlotLine(step.points[i], step.points[i + 1]);
    SendWords(device, line);
    if (NakArrived(device)) SendWords(device, line);
  }
  SendWords(device, {0x0004});
  return Expect(device, ack, step);
}

bool WaitOpenState(SimDevice& device, bool open) {
  while (!stopRequested && (open ? !Ready(device) : device.open)) Service(device, 5);
  return !stopRequested;
}

const char* SpeedName(speed_t speed) {
  static constexpr struct {
    speed_t speed;
    const char* name;
  } names[] = {{B9600, "9600"},     {B19200, "19200"},     {B38400, "38400"},     {B57600, "57600"},
               {B115200, "115200"}, {B230400, "230400"},   {B460800, "460800"},   {B921600, "921600"},
               {B1000000, "1000000"}, {B2000000, "2000000"}, {B3000000, "3000000"}};
  for (const auto& entry : names) {
    if (entry.speed == speed) return entry.name;
  }
  return "other";
}

// What the pty driver keeps of the terminal's settings, seen from this end:
// the speed, two stop bits, RTS/CTS, XON/XOFF and odd parity (it always
// reports 8 data bits and no parity enable).
void PrintSettings(const SimDevice& device) {
  termios settings{};
  if (tcgetattr(device.master, &settings) != 0) {
    std::printf("SETTINGS unknown\n");
  } else {
    std::printf("SETTINGS speed %s cstopb %d crtscts %d ixon %d ixoff %d parodd %d\n",
                SpeedName(cfgetospeed(&settings)), (settings.c_cflag & CSTOPB) != 0,
                (settings.c_cflag & CRTSCTS) != 0, (settings.c_iflag & IXON) != 0, (settings.c_iflag & IXOFF) != 0,
                (settings.c_cflag & PARODD) != 0);
  }
  std::fflush(stdout);
}

// A new pseudo-terminal in raw mode. The device does not keep the slave open
// itself: the master's hang-up then tells it whether the terminal has the
// port open. Packet mode with EXTPROC set on the line makes the pty report
// every change of the line settings to this end (TIOCPKT_IOCTL), so the
// device sees the moment the terminal configures the line.
bool MakePty(SimDevice& device) {
  int slave = -1;
  char name[256] = {};
  if (openpty(&device.master, &slave, name, nullptr, nullptr) != 0) return false;
  termios raw{};
  tcgetattr(slave, &raw);
  cfmakeraw(&raw);
  raw.c_lflag |= EXTPROC;
  tcsetattr(slave, TCSANOW, &raw);
  close(slave);
  int packetMode = 1;
  ioctl(device.master, TIOCPKT, &packetMode);
  fcntl(device.master, F_SETFL, fcntl(device.master, F_GETFL) | O_NONBLOCK);
  device.slavePath = name;
  device.madeAt = NowMs();
  device.open = false;
  device.configured = false;
  return true;
}

// Points the link at the pseudo-terminal in one step (a new link renamed over the old).
bool LinkPty(const SimDevice& device) {
  if (device.linkPath.empty()) return true;
  const std::string temporary = device.linkPath + ".new";
  unlink(temporary.c_str());
  return symlink(device.slavePath.c_str(), temporary.c_str()) == 0 &&
         rename(temporary.c_str(), device.linkPath.c_str()) == 0;
}

// The device appears: a new pseudo-terminal behind the link, its path on standard output.
bool Plug(SimDevice& device) {
  if (!MakePty(device) || !LinkPty(device)) return false;
  std::printf("PTY %s\n", device.slavePath.c_str());
  std::fflush(stdout);
  return true;
}

// The device disappears: the link goes, and the terminal's side of the line
// fails. The bytes already on the line reach the device (and its record) first.
void Unplug(SimDevice& device) {
  if (!device.linkPath.empty()) unlink(device.linkPath.c_str());
  if (device.master >= 0) TakeWaiting(device, 100);
  if (device.master >= 0) close(device.master);
  device.master = -1;
}

// Gone for step.count milliseconds, then back on a new pseudo-terminal behind the same link.
bool Replug(SimDevice& device, const Step& step) {
  Unplug(device);
  const std::uint64_t end = NowMs() + step.count;
  while (!stopRequested && NowMs() < end) Nap(int(std::min<std::uint64_t>(end - NowMs(), 20)));
  if (stopRequested || Plug(device)) return true;
  std::fprintf(stderr, "talvorix-simdevice: line %d: no new pseudo-terminal\n", step.line);
  return false;
}

// True when standard input has bytes waiting, or has ended.
bool StdinReadable() {
  pollfd in{STDIN_FILENO, POLLIN, 0};
  return poll(&in, 1, 0) > 0;
}

// Reads up to the end of the line, never waiting for more than is there, so
// that a stop request is not held up by a line cut short.
void SkipStdinLine() {
  char c = 0;
  while (StdinReadable() && read(STDIN_FILENO, &c, 1) == 1 && c != '\n') {
  }
}

// Waits, still serving the line, until a line arrives on standard input.
void Hold(SimDevice& device) {
  while (!stopRequested) {
    if (StdinReadable()) {
      SkipStdinLine();
      return;
    }
    Service(device, 5);
  }
}

}  // namespace

bool StartDevice(SimDevice& device, const std::string& linkPath, const std::string& recordPath) {
  if (!recordPath.empty()) {
    device.record = std::fopen(recordPath.c_str(), "wb");
    if (device.record == nullptr) return false;
  }
  device.linkPath = linkPath;
  return Plug(device);
}

PlayResult PlayStep(SimDevice& device, const Step& step) {
  bool ok = true;
  switch (step.kind) {
    case StepKind::Send: SendBytes(device, step.bytes.data(), step.bytes.size()); break;
    case StepKind::Pause: ServeFor(device, step.count); break;
    case StepKind::Flood: Flood(device, step); break;
    case StepKind::WaitBytes: ok = WaitBytes(device, step); break;
    case StepKind::Expect: ok = Expect(device, step.bytes, step); break;
    case StepKind::Echo:
      device.echo = step.count != 0;
      device.echoCursor = device.received.size();
      break;
    case StepKind::Plot: ok = Plot(device, step); break;
    case StepKind::WaitOpen: ok = WaitOpenState(device, true); break;
    case StepKind::WaitClose: ok = WaitOpenState(device, false); break;
    case StepKind::Settings: PrintSettings(device); break;
    case StepKind::Replug: ok = Replug(device, step); break;
    case StepKind::Hold: Hold(device); break;
    case StepKind::Vanish:
      StopDevice(device);
      return PlayResult::Quit;
    case StepKind::Quit: return PlayResult::Quit;
  }
  if (stopRequested) return PlayResult::Quit;
  return ok ? PlayResult::Next : PlayResult::Failed;
}

void ServeFor(SimDevice& device, std::uint64_t milliseconds) {
  const std::uint64_t end = NowMs() + milliseconds;
  while (!stopRequested && NowMs() < end) Service(device, int(std::min<std::uint64_t>(end - NowMs(), 20)));
}

void StopDevice(SimDevice& device) {
  Unplug(device);
  device.linkPath.clear();
  if (device.record != nullptr) std::fclose(device.record);
  device.record = nullptr;
}
