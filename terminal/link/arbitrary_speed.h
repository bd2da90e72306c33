// The kernel's arbitrary-speed interface (termios2, BOTHER): speeds that have
// no standard speed code, such as 250000 or 960000 bit/s. Kept apart because
// its header cannot be included together with <termios.h>.
#pragma once

#include <cstdint>

// Sets both directions of the open terminal `fd` to `bitsPerSecond`, keeping
// every other attribute. False with errno set when the driver refuses it.
bool SetArbitrarySpeed(int fd, std::uint32_t bitsPerSecond);

// The output speed the driver keeps for `fd`, in bit/s. False with errno set.
bool ReadArbitrarySpeed(int fd, std::uint32_t& bitsPerSecond);
