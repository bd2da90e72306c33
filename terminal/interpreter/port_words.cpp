#include "terminal/interpreter/port_words.h"

#include "terminal/interpreter/words.h"
#include "terminal/model/platform.h"

PortWord ReadPortWord(Window window, std::uint16_t& word, int waitMilliseconds) {
  const std::uint64_t start = platform->MillisecondClock();
  for (;;) {
    std::uint8_t bytes[2];
    const int count = platform->ReadBlock(window, bytes, 2);
    if (count == 2) {
      word = WordAt(bytes, 0);
      return platform->AppendToLog(window, bytes, 2) ? PortWord::Arrived
                                                     : PortWord::ArrivedNotLogged;
    }
    if (count == PortClosed) return PortWord::Closed;
    if (platform->MillisecondClock() - start >= std::uint64_t(waitMilliseconds)) {
      return PortWord::TimedOut;
    }
    platform->PauseMilliseconds(1);
  }
}
