#include "terminal/link/control_block.h"

CommControlBlock LineControlBlock(const LineSettings& settings) {
  const bool dtrDsr = (settings.flowControl & FlowDtrDsr) != 0;
  const bool rtsCts = (settings.flowControl & FlowRtsCts) != 0;
  const bool xonXoff = (settings.flowControl & FlowXonXoff) != 0;
  CommControlBlock block{};
  block.DCBlength = 28;
  block.BaudRate = settings.baudRate;
  block.ByteSize = settings.dataBits;
  block.Parity = settings.parity;
  block.StopBits = settings.stopBits;
  block.fBinary = 1;
  // Parity checking stays on even with parity none; the driver ignores it then.
  block.fParity = 1;
  block.fOutxDsrFlow = dtrDsr;
  block.fDtrControl = dtrDsr ? DtrControlHandshake : DtrControlEnable;
  block.fOutxCtsFlow = rtsCts;
  block.fRtsControl = rtsCts ? RtsControlHandshake : RtsControlEnable;
  block.fOutX = xonXoff;
  block.fInX = xonXoff;
  block.XonChar = 0x11;
  block.XoffChar = 0x13;
  block.XonLim = 100;
  block.XoffLim = 100;
  return block;
}
