#include "terminal/link/termios_settings.h"

namespace {

struct StandardSpeed {
  std::uint32_t bitsPerSecond;
  speed_t code;
};

// The speeds of the settings dialog's list that have a standard code.
constexpr StandardSpeed StandardSpeeds[] = {
    {4800, B4800},     {9600, B9600},     {38400, B38400},     {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800},   {500000, B500000},
    {1000000, B1000000}, {2000000, B2000000}, {3000000, B3000000},
};

constexpr tcflag_t DataBitsFlags[] = {CS5, CS6, CS7, CS8};

// Mark and space parity, and DTR/DSR flow control, where the system has them
// (Linux has the first, some BSDs the second).
#ifdef CMSPAR
constexpr tcflag_t StickParity = CMSPAR;
#else
constexpr tcflag_t StickParity = 0;
#endif
#if defined(CDTR_IFLOW) && defined(CDSR_OFLOW)
constexpr tcflag_t DtrDsrFlow = CDTR_IFLOW | CDSR_OFLOW;
#else
constexpr tcflag_t DtrDsrFlow = 0;
#endif

constexpr unsigned char XonCharacter = 0x11;
constexpr unsigned char XoffCharacter = 0x13;

bool SetParity(std::uint8_t parity, tcflag_t& cflag, std::string& error) {
  cflag &= ~tcflag_t(PARENB | PARODD);
  if (parity == ParityOdd) cflag |= PARENB | PARODD;
  if (parity == ParityEven) cflag |= PARENB;
  if (parity != ParityMark && parity != ParitySpace) return true;
  if (StickParity == 0) {
    error = "mark and space parity are not available on this system";
    return false;
  }
  cflag |= PARENB | StickParity | (parity == ParityMark ? PARODD : 0);
  return true;
}

bool SetFlowControl(std::uint8_t flow, termios& attributes, std::string& error) {
  if (flow & FlowRtsCts) attributes.c_cflag |= CRTSCTS;
  if (flow & FlowXonXoff) {
    attributes.c_iflag |= IXON | IXOFF;
    attributes.c_cc[VSTART] = XonCharacter;
    attributes.c_cc[VSTOP] = XoffCharacter;
  }
  if (!(flow & FlowDtrDsr)) return true;
  if (DtrDsrFlow == 0) {
    error = "DTR/DSR flow control is not available on this system";
    return false;
  }
  attributes.c_cflag |= DtrDsrFlow;
  return true;
}

}  // namespace

bool StandardSpeedCode(std::uint32_t bitsPerSecond, speed_t& code) {
  for (const StandardSpeed& speed : StandardSpeeds) {
    if (speed.bitsPerSecond == bitsPerSecond) {
      code = speed.code;
      return true;
    }
  }
  return false;
}

bool FillTermios(const LineSettings& settings, termios& attributes, std::string& error) {
  cfmakeraw(&attributes);
  attributes.c_cflag |= CLOCAL | CREAD | HUPCL;
  attributes.c_cflag &= ~tcflag_t(CSIZE | CSTOPB | CRTSCTS);
  attributes.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY | INPCK);
  // A byte with a parity or framing error is passed on as it came: the window
  // too reads on through line errors.
  attributes.c_cflag |= DataBitsFlags[(settings.dataBits - 5) & 3];
  // A UART sends one and a half stop bits for "two" with 5 data bits.
  if (settings.stopBits != StopBitsOne) attributes.c_cflag |= CSTOPB;
  attributes.c_cc[VMIN] = 0;
  attributes.c_cc[VTIME] = 0;
  speed_t code = B38400;
  StandardSpeedCode(settings.baudRate, code);
  cfsetispeed(&attributes, code);
  cfsetospeed(&attributes, code);
  return SetParity(settings.parity, attributes.c_cflag, error) &&
         SetFlowControl(settings.flowControl, attributes, error);
}
