#include "terminal/link/control_block.h"

CommControlBlock LineControlBlock(const TerminalState& state) {
  const bool dtrDsr = (state.flowControl & FlowDtrDsr) != 0;
  const bool rtsCts = (state.flowControl & FlowRtsCts) != 0;
  const bool xonXoff = (state.flowControl & FlowXonXoff) != 0;
  CommControlBlock block{};
  block.DCBlength = 28;
  block.BaudRate = state.baudRate;
  block.ByteSize = state.byteSize;
  block.Parity = state.parity;
  block.StopBits = state.stopBits;
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
