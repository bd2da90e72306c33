#include "terminal/link/arbitrary_speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

bool SetArbitrarySpeed(int fd, std::uint32_t bitsPerSecond) {
  termios2 attributes{};
  if (ioctl(fd, TCGETS2, &attributes) != 0) return false;
  attributes.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
  attributes.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  attributes.c_ispeed = bitsPerSecond;
  attributes.c_ospeed = bitsPerSecond;
  return ioctl(fd, TCSETS2, &attributes) == 0;
}

bool ReadArbitrarySpeed(int fd, std::uint32_t& bitsPerSecond) {
  termios2 attributes{};
  if (ioctl(fd, TCGETS2, &attributes) != 0) return false;
  bitsPerSecond = attributes.c_ospeed;
  return true;
}
