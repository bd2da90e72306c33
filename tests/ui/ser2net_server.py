"""ser2net serving a pseudo-terminal on 127.0.0.1 as a network serial port,
configured on its command line (no configuration file): the tests and the
benchmarks of network ports start and stop it through here.

As a command, for shell scripts: ser2net_server.py TTY serves TTY, prints the
port's address once the server listens, and stops the server when terminated.
"""

import signal
import socket
import subprocess
import sys
import time


def free_port():
    """A TCP port on 127.0.0.1 that nothing listens on now."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    """True when a socket listens on `port` (IPv4)."""
    with open("/proc/net/tcp") as table:
        return any(":%04X " % port in row and " 0A " in row for row in table)


class Ser2net:
    """ser2net serving `tty` as an RFC 2217 port on 127.0.0.1:`port`, with
    `line` (speed, parity, data bits, stop bits) as the port's settings
    until a client sets its own. Stopped and started again on the same port,
    it is a lab host's server going away and coming back."""

    def __init__(self, tty, line="1000000n81", port=None):
        self.tty = tty
        self.line = line
        self.port = port if port is not None else free_port()
        self.process = None

    def url(self):
        return "rfc2217://127.0.0.1:%d" % self.port

    def start(self, seconds=10):
        """Starts the server; returns the monotonic time at which it listens."""
        yaml = "connection: &c#  accepter: telnet(rfc2217),tcp,127.0.0.1,%d#  connector: serialdev,%s,%s,local" % (
            self.port, self.tty, self.line)
        self.process = subprocess.Popen(["ser2net", "-n", "-u", "-Y", yaml], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + seconds
        while not listening(self.port):
            if time.monotonic() > deadline or self.process.poll() is not None:
                self.stop()
                raise RuntimeError("ser2net does not listen on port %d" % self.port)
            time.sleep(0.0005)
        return time.monotonic()

    def stop(self):
        if self.process is not None:
            self.process.terminate()
            self.process.wait()
            self.process = None


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    server = Ser2net(sys.argv[1])
    try:
        server.start()
        print(server.url(), flush=True)
        server.process.wait()
    finally:
        server.stop()


if __name__ == "__main__":
    main()
