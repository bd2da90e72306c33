#!/usr/bin/env python3
"""talvorix.exe under Wine beside the native tools, on the same device output
from the simulated device (talvorix-simdevice):

  log-format      the same stream is received by the window (connected with
                  Shift+Page Up, disconnected with Shift+Page Down) and by
                  talvorix-cli on a pseudo-terminal, whose script waits for the
                  stream's last text: the two Talvorix.log files must be the same
                  bytes once the time texts of their header and stamps are masked,
                  and hold exactly the bytes the device sent.
  replay-picture  the window receives coloured and styled text; its Talvorix.log
                  is replayed with talvorix-replay --log, whose rows must be the
                  rows sent and whose --picture must match a screenshot of the
                  window's text view: the same cell size, every cell's background
                  colour the same, and the characters read from the screenshot's
                  glyphs the replay's rows. The pixels that differ are counted
                  and printed, in total and by kind of cell.
  trace           the window with 動作 -> トレース記録 checked: its Talvorix.trace
                  holds the device's bytes, the key report typed, the ACK and
                  NAK of point-plot mode in the order they crossed the line,
                  as the device's own timed record has them, with monotonic
                  times close to the device's (the differences are printed).

usage: talvorix_compare_test.py CASE EXE SIMDEVICE CLI REPLAY DISPLAY_NUMBER WORKDIR
The files of a run (logs, scenario, pictures) are left in WORKDIR/WINEARCH.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import jis_words as jw  # noqa: E402
import screen_compare as sc  # noqa: E402
from talvorix_session_test import END_STAMP, START_STAMP, open_menu_item, stamps, wait_until  # noqa: E402
from wine_session import TEXT_VIEW, Failed, Session, check, log, require_tools  # noqa: E402

LAST_TEXT = "受信の終わり"



# --- the device's output ----------------------------------------------------

def device_words(string):
    """Text as the simulated device sends it: a JIS X 0208 character as its
    word, a single-byte character as the word 0x00XX (low byte first)."""
    return jw.words(*(ord(c) if ord(c) < 0x80 else jw.jis_of(c) for c in string))


def shown(string):
    """Text as the screen rows show it: a single-byte word takes two byte cells,
    its character and a '.'."""
    return "".join(c + "." if ord(c) < 0x80 else c for c in string)


# The colours of SGR 30-37 and 40-47, and the window's text and background
# colours (the system's, black on white in the Wine prefix).
SGR_COLOURS = [(0, 0, 0), (255, 0, 0), (0, 255, 0), (255, 255, 0),
               (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
DEFAULT_COLOURS = ((0, 0, 0), (255, 255, 255))


class Stream:
    """A scenario of the simulated device built beside the bytes it puts on
    the line, the screen rows they draw and the text and background colours
    asked for in each byte cell written. The bytes come from this file's own
    encoding (jis_words), not from the device program, so that both are
    checked. The stream starts on a blank screen at row 0, column 0."""

    def __init__(self):
        self.lines = ["wait-open"]
        self.data = bytearray()
        self.rows = [""]
        self.kinds = {}  # screen row -> what it shows
        self.colours = DEFAULT_COLOURS
        self.cells = {}  # (row, byte column) -> (text colour, background colour)
        self.column = 0

    def cell_colours(self, row, column):
        return self.cells.get((row, column), DEFAULT_COLOURS)

    def _written(self, string):
        for _ in string:  # every word takes two byte cells
            for _ in range(2):
                self.cells[(len(self.rows) - 1, self.column)] = self.colours
                self.column += 1

    def kind(self, what):
        self.kinds[len(self.rows) - 1] = what

    def text(self, string):
        self.lines.append("text " + string)
        self.data += device_words(string)
        self.rows[-1] += shown(string)
        self._written(string)

    def csi(self, parameters, final):
        """CSI with its parameters and final (SGR "m", RGB text colour "色",
        RGB background "景"), following the colours it sets: SGR 7 and 27
        exchange the text and background colours."""
        self.lines.append("csi %s%s" % (";".join(str(p) for p in parameters), final))
        full_width = chr(ord(final) + 0xFEE0) if final.isascii() else final
        self.data += jw.csi(parameters, full_width)
        text, background = self.colours
        if final == "m":
            for code in parameters:
                if 30 <= code <= 37:
                    text = SGR_COLOURS[code - 30]
                elif 40 <= code <= 47:
                    background = SGR_COLOURS[code - 40]
                elif code in (7, 27):
                    text, background = background, text
        elif final == "色":
            text = tuple(parameters)
        elif final == "景":
            background = tuple(parameters)
        self.colours = (text, background)

    def crlf(self):
        self.lines.append("crlf")
        self.data += jw.words(jw.CR, jw.LF)
        self.rows.append("")
        self.column = 0

    def split_text(self, string, cuts):
        """Text sent in pieces cut at these byte offsets, a pause after each,
        so that the terminal receives words split across pushes."""
        data = device_words(string)
        for start, end in zip([0] + cuts, cuts + [len(data)]):
            self.lines.append("bytes " + data[start:end].hex(" "))
            self.lines.append("pause 150")
        self.data += data
        self.rows[-1] += shown(string)
        self._written(string)

    def scenario(self):
        return "\n".join(self.lines) + "\n"


def log_stream():
    """Text, colours, CR LF and pushes of odd lengths."""
    s = Stream()
    s.text("通信ログの書式")
    s.crlf()
    s.csi([31], "m")
    s.text("赤い文字")
    s.csi([30], "m")
    s.crlf()
    s.csi([0, 128, 0], "色")
    s.csi([255, 255, 0], "景")
    s.text("緑の文字、黄色の地")
    s.csi([0, 0, 0], "色")
    s.csi([255, 255, 255], "景")
    s.crlf()
    s.split_text("あいうAB", [3, 4, 7])  # pushes of 3, 1, 3 and 3 bytes
    s.crlf()
    s.text(LAST_TEXT)
    return s


def picture_stream():
    """Red on blue, bold, underline, reverse, RGB colours, a mixture. Blue is
    a background of row 0 alone."""
    s = Stream()
    s.kind("red on blue")
    s.csi([31], "m")
    s.csi([44], "m")
    s.text("青地に赤の文字AB")
    s.csi([30], "m")
    s.csi([47], "m")
    s.crlf()
    s.kind("bold")
    s.csi([1], "m")
    s.text("太字の文字")
    s.csi([22], "m")
    s.crlf()
    s.kind("underline")
    s.csi([4], "m")
    s.text("下線の文字")
    s.csi([24], "m")
    s.crlf()
    s.kind("reverse")
    s.csi([7], "m")
    s.text("反転の文字")
    s.csi([27], "m")
    s.crlf()
    s.kind("RGB colours")
    s.csi([200, 120, 40], "色")
    s.csi([20, 60, 160], "景")
    s.text("任意の色の文字xy")
    s.csi([0, 0, 0], "色")
    s.csi([255, 255, 255], "景")
    s.crlf()
    s.kind("green on magenta, bold, underline")
    s.csi([32], "m")
    s.csi([45], "m")
    s.csi([1], "m")
    s.csi([4], "m")
    s.text("全部の形")
    s.csi([24], "m")
    s.csi([22], "m")
    s.csi([30], "m")
    s.csi([47], "m")
    s.crlf()
    s.kind("plain")
    s.text(LAST_TEXT)
    return s


# --- the programs -------------------------------------------------------------

class Programs:
    def __init__(self, exe, simdevice, cli, replay, display, workdir):
        self.exe = exe
        self.simdevice = simdevice
        self.cli = cli
        self.replay = replay
        self.display = display
        self.workdir = workdir


def start_device(programs, scenario_path, link, options=()):
    """The simulated device on a new pseudo-terminal behind `link`."""
    device = subprocess.Popen([programs.simdevice, "--link", link, *options, scenario_path],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    line = device.stdout.readline().decode(errors="replace")
    if not line.startswith("PTY ") or not wait_until(lambda: os.path.islink(link), 5):
        stop(device)
        raise Failed("the simulated device did not start (%r)" % line)
    return device


def stop(process):
    if process is not None and process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout=10)


def window_receives(programs, stream, folder, after_disconnect=None, before_connect=None, while_connected=None,
                    device_options=()):
    """talvorix.exe gets the stream from the simulated device on COM5: connected
    with Shift+Page Up, disconnected with Shift+Page Down once its log holds
    every byte. `before_connect(session)`, `while_connected(session)` and
    `after_disconnect(session)` run at those moments. The program runs in
    `folder`; returns its log."""
    os.makedirs(folder, exist_ok=True)
    scenario = os.path.join(folder, "device.scenario")
    with open(scenario, "w", encoding="utf-8") as file:
        file.write(stream.scenario())
    com5 = os.path.join(os.environ["WINEPREFIX"], "dosdevices", "com5")
    device = start_device(programs, scenario, com5, device_options)
    session = Session(programs.exe, os.environ["WINEPREFIX"], programs.display, folder, desktop="talvorixcompare")
    try:
        session.start(with_device=False)
        # A typed character gives the keyboard focus to the terminal window
        # (nothing is sent while disconnected), which then gets Shift's release.
        session.keys("space")
        if before_connect:
            before_connect(session)
        session.keys("shift+Prior")
        check(wait_until(lambda: stamps(session, START_STAMP) == 1, 15), "Shift+Page Up connects the window")
        if while_connected:
            while_connected(session)
        check(wait_until(lambda: session.log_bytes().endswith(bytes(stream.data)), 30),
              "the window's log receives the %d bytes of the stream" % len(stream.data))
        time.sleep(0.5)
        session.keys("shift+Next")
        check(wait_until(lambda: stamps(session, END_STAMP) == 1, 10), "Shift+Page Down disconnects the window")
        if after_disconnect:
            after_disconnect(session)
        return session.log_bytes()
    finally:
        session.close()
        stop(device)


# --- log-format -------------------------------------------------------------

RULE = re.escape("∽".encode("cp932"))
TIME_TEXT = rb"([A-Z][a-z]{2} [A-Z][a-z]{2} [0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4})"
LOG_LINES = [
    ("header", re.compile(rb"\r\n(?:%s){14} %s (?:%s){14}\r\n" % (RULE, TIME_TEXT, RULE))),
    ("start", re.compile(rb"\r\n%s (?:%s){10} %s (?:%s){10}\r\n" % (re.escape(START_STAMP), RULE, TIME_TEXT, RULE))),
    ("end", re.compile(rb"\r\n%s (?:%s){10} %s (?:%s){10}\r\n" % (re.escape(END_STAMP), RULE, TIME_TEXT, RULE))),
]


def log_parts(data):
    """The log as its lines and the received data between them: a list of
    (kind, bytes, time text) with kind header, start, end or data. A line
    counts only in its whole shape (CR LF, label, rules, the 24-character
    time text, CR LF)."""
    parts = []
    at = 0
    pending = bytearray()
    while at < len(data):
        for kind, pattern in LOG_LINES:
            match = pattern.match(data, at)
            if match:
                if pending:
                    parts.append(("data", bytes(pending), None))
                    pending = bytearray()
                parts.append((kind, match.group(0), match.group(1).decode()))
                at = match.end()
                break
        else:
            pending.append(data[at])
            at += 1
    if pending:
        parts.append(("data", bytes(pending), None))
    return parts


def masked(parts):
    """The log with every time text of its lines replaced by '#'."""
    return b"".join(data.replace(when.encode(), b"#" * len(when)) if when else data for _, data, when in parts)


def describe(parts):
    return ", ".join("%s %d bytes%s" % (kind, len(data), " (%s)" % when if when else "") for kind, data, when in parts)


def cli_receives(programs, stream, folder):
    """talvorix-cli gets the stream from the simulated device on a pty; its
    script waits for the stream's last text. Returns its log."""
    os.makedirs(folder, exist_ok=True)
    scenario = os.path.join(folder, "device.scenario")
    with open(scenario, "w", encoding="utf-8") as file:
        file.write(stream.scenario())
    script = os.path.join(folder, "receive.script")
    with open(script, "w", encoding="utf-8") as file:
        file.write("expect %s within 20000\n" % LAST_TEXT)
    link = os.path.join(folder, "device")
    log_path = os.path.join(folder, "Talvorix.log")
    device = start_device(programs, scenario, link)
    try:
        run = subprocess.run([programs.cli, "--port", link, "--log", log_path, script],
                             capture_output=True, timeout=60)
    finally:
        stop(device)
    check(run.returncode == 0, "talvorix-cli finds %s and exits 0 (exit %d%s)" % (
        LAST_TEXT, run.returncode, ": " + run.stdout.decode(errors="replace")[-400:] if run.returncode else ""))
    with open(log_path, "rb") as file:
        return file.read()


def case_log_format(programs, folder):
    stream = log_stream()
    window = log_parts(window_receives(programs, stream, os.path.join(folder, "window")))
    cli = log_parts(cli_receives(programs, stream, os.path.join(folder, "cli")))
    log("window log: " + describe(window))
    log("cli log:    " + describe(cli))
    shape = ["header", "start", "data", "end"]
    check([kind for kind, _, _ in window] == shape, "the window's log is a header, a start stamp, data, an end stamp")
    check([kind for kind, _, _ in cli] == shape, "talvorix-cli's log is a header, a start stamp, data, an end stamp")
    for name, parts in (("the window", window), ("talvorix-cli", cli)):
        check(parts[2][1] == bytes(stream.data), "%s's log holds exactly the bytes the device sent" % name)
        for kind, _, when in parts:
            if when:
                try:
                    time.strptime(when, "%a %b %d %H:%M:%S %Y")
                    valid = True
                except ValueError:
                    valid = False
                check(valid, "%s's %s line has a valid time text (%s)" % (name, kind, when))
    window_masked, cli_masked = masked(window), masked(cli)
    if window_masked != cli_masked:
        at = next((i for i, (a, b) in enumerate(zip(window_masked, cli_masked)) if a != b),
                  min(len(window_masked), len(cli_masked)))
        log("first difference at byte %d: window %s / cli %s" % (
            at, window_masked[at:at + 16].hex(" "), cli_masked[at:at + 16].hex(" ")))
    check(window_masked == cli_masked,
          "the two logs are the same %d bytes once the time texts are masked" % len(window_masked))


# --- replay-picture -----------------------------------------------------------

def stable_screenshot(session):
    """A screenshot of the display once two in a row show the text view alike."""
    left, top, width, height = TEXT_VIEW
    previous = None
    for _ in range(10):
        shot = session.screenshot()
        area = [shot.pixels[((top + y) * shot.width + left) * 3:((top + y) * shot.width + left + width) * 3]
                for y in range(height)]
        if area == previous:
            return shot
        previous = area
        time.sleep(0.5)
    raise Failed("the text view does not settle")


def replay(programs, log_path, picture_path):
    run = subprocess.run([programs.replay, "--log", log_path, "--picture", picture_path],
                         capture_output=True, timeout=60)
    check(run.returncode == 0, "talvorix-replay --log --picture exits 0%s" % (
        "" if run.returncode == 0 else ": " + run.stderr.decode(errors="replace").strip()))
    report = run.stdout.decode()
    lines = report.split("\n")
    screen = lines.index("screen")
    rows_text = lines[screen + 1:screen + 201]
    cursor = next(line for line in lines if line.startswith("cursor "))
    return rows_text, tuple(int(v) for v in cursor.split()[1:3])


def case_replay_picture(programs, folder):
    """The window's screen model cannot be read from outside the program: the
    debug-information command (その他 -> デバッグ情報) shows only the size of
    the key data, and nothing else exports the screen. What the window showed
    is therefore taken from what it drew, and the replay of its log is held
    against that:
    - the replay's rows are the rows the stream draws (known from the stream);
    - the replay's picture matches a screenshot of the text view: the same
      cell size, at the view's origin, the same background colour in every
      cell (glyph pixels are counted, not required to agree);
    - the characters read from the screenshot, each glyph matched against
      the glyph of every character the screen can show, are the replay's
      rows."""
    stream = picture_stream()
    shots = []
    window_log = window_receives(programs, stream, os.path.join(folder, "window"),
                                 after_disconnect=lambda session: shots.append(stable_screenshot(session)))
    shot = shots[0]
    log_path = os.path.join(folder, "window", "Talvorix.log")
    shot_path = os.path.join(folder, "text-view.png")
    left, top, width, height = TEXT_VIEW
    subprocess.run(["convert", "-size", "%dx%d" % (shot.width, shot.height), "-depth", "8", "rgb:-",
                    "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage", shot_path],
                   input=shot.pixels, check=True, timeout=30)
    check(window_log.count(END_STAMP) == 1, "the window's log holds the session")

    # The text view's client area: the scroll bars lie right of it and below it.
    check(all(shot.pixel(left + width, y) != (255, 255, 255) for y in range(top, top + height)) and
          all(shot.pixel(x, top + height) != (255, 255, 255) for x in range(left, left + width)),
          "the text view's client area ends at the scroll bars (%dx%d at %d,%d)" % (width, height, left, top))

    # The rows the replay of the window's log gives are the rows the device sent.
    picture_path = os.path.join(folder, "replay.png")
    rows, cursor = replay(programs, log_path, picture_path)
    expected = stream.rows + [""] * (200 - len(stream.rows))
    for row, (got, wanted) in enumerate(zip(rows, expected)):
        if got != wanted:
            log("row %d: replay %r, sent %r" % (row, got, wanted))
    check(rows == expected, "talvorix-replay --log gives the %d rows the device drew, the other rows blank" %
          len(stream.rows))

    # The cell: the picture's from its size, the window's from its blocks of
    # background: row 0 is blue across its characters, row 4 is RGB (20, 60, 160).
    picture = sc.Picture(picture_path)
    picture_cell = (picture.width // 100, picture.height // 200)
    check(picture.width % 100 == 0 and picture.height % 200 == 0,
          "the picture is 100 cells by 200 rows (%dx%d)" % (picture.width, picture.height))
    blue = shot.box_of((0, 0, 255), (left, top, left + width - 1, top + height - 1))
    rgb = shot.box_of((20, 60, 160), (left, top, left + width - 1, top + height - 1))
    check(blue is not None and rgb is not None, "the window shows the blue and the RGB backgrounds")
    row0_cells = len(stream.rows[0]) * 2 - sum(1 for c in stream.rows[0] if ord(c) < 0x80)
    window_cell = ((blue[2] - blue[0] + 1) / row0_cells, (rgb[1] - blue[1]) / 4)
    log("cell: picture %dx%d, window %gx%g (row 0: %d byte cells over %d pixels; rows 0 to 4: %d pixels)" % (
        picture_cell + window_cell + (row0_cells, blue[2] - blue[0] + 1, rgb[1] - blue[1])))
    check(window_cell == picture_cell and blue[3] - blue[1] + 1 == picture_cell[1],
          "the picture's cell is the window's cell in this Wine prefix")

    # Alignment: the blue block lies at the same place in both.
    picture_blue = picture.box_of((0, 0, 255))
    check(picture_blue is not None and
          (picture_blue[0] + left, picture_blue[1] + top, picture_blue[2] + left, picture_blue[3] + top) == blue,
          "the picture placed at the text view's origin (%d, %d) covers the window's blue block %s" % (
              left, top, blue))

    # The window shows no caret once disconnected; the replay ends connected
    # and the picture inverts the cursor's cell: undone for the comparison.
    picture.invert_box(cursor[1] * picture_cell[0], cursor[0] * picture_cell[1], picture_cell[0], picture_cell[1])

    cells = sc.compare_cells(picture, shot, (left, top), (width, height), picture_cell, stream.cell_colours)
    report_differences(stream, cells, width * height)
    sc.write_difference_map(os.path.join(folder, "differences.png"), picture, shot, (left, top), (width, height),
                            cells, picture_cell)
    check(all(c.picture_other == 0 and c.background_pixels > 0 for c in cells),
          "every cell of the picture shows the background colour asked for and otherwise only the text colour")
    wrong = [c for c in cells if c.screen_background != c.background_colour]
    for c in wrong[:10]:
        log("  cell row %d column %d: background %s in the picture, %s in the window" % (
            c.row, c.column, c.background_colour, c.screen_background))
    check(not wrong, "every one of the %d cells has the same background colour in both (%d differ)" % (
        len(cells), len(wrong)))

    # What the window showed, read from its pixels: every character position
    # of the view is given the characters whose glyphs come nearest, out of
    # every character the screen can show, regular and bold, as
    # talvorix-replay draws them (pixel for pixel the window's glyphs above,
    # bold aside). The replay's character must be one of them.
    table = glyph_table(programs, folder, picture_cell)
    by_place = {(c.row, c.column): c for c in cells}
    full_rows = height // picture_cell[1]
    columns = width // (2 * picture_cell[0])
    check(len(stream.rows) <= full_rows and all(len(sc.character_pairs(r)) <= columns for r in stream.rows),
          "the rows sent fit in the %d rows of %d characters the text view shows whole" % (full_rows, columns))
    read = sc.read_characters(shot, (left, top), full_rows, columns, picture_cell, by_place, table)
    mismatches = []
    for row in range(full_rows):
        pairs = sc.character_pairs(rows[row])
        pairs += [""] * (columns - len(pairs))
        for column in range(columns):
            distance, found = read[row][column]
            if pairs[column] not in found:
                mismatches.append((row, column, pairs[column], found, distance))
    for row, column, wanted, found, distance in mismatches[:10]:
        log("  row %d character %d: the window shows %s (%d pixels off), the replay %r" % (
            row, column, " or ".join(repr(f) for f in sorted(found)[:5]), distance, wanted))
    farthest = max(distance for line in read for distance, _ in line)
    log("glyphs read: %d positions; the farthest from its nearest glyph: %d pixels" % (full_rows * columns, farthest))
    check(not mismatches, "the rows read from the window's glyphs are the replay's rows (%d rows of %d characters, "
          "%d differ)" % (full_rows, columns, len(mismatches)))


def repertoire():
    """The words of every character the screen shows: each JIS X 0208
    character, then each single-byte one (printable ASCII, half-width kana)."""
    words = []
    for high in range(0x21, 0x7F):
        for low in range(0x21, 0x7F):
            try:
                bytes([high | 0x80, low | 0x80]).decode("euc_jp")
            except UnicodeDecodeError:
                continue
            words.append(high << 8 | low)
    return words + list(range(0x21, 0x7F)) + list(range(0xA1, 0xE0))


def glyph_table(programs, folder, cell):
    """The glyphs of the repertoire, regular and bold, from talvorix-replay's
    pictures, each labelled with the replay's own rows."""
    table = sc.GlyphTable()
    words = repertoire()
    for name, prefix in (("regular", b""), ("bold", jw.sgr(1))):
        input_path = os.path.join(folder, "repertoire-%s.words" % name)
        picture_path = os.path.join(folder, "repertoire-%s.png" % name)
        with open(input_path, "wb") as file:
            file.write(prefix + jw.words(*words))
        run = subprocess.run([programs.replay, "--picture", picture_path, input_path], capture_output=True, timeout=60)
        check(run.returncode == 0, "talvorix-replay draws the %s repertoire" % name)
        lines = run.stdout.decode().split("\n")
        screen = lines.index("screen")
        count = table.add_picture(sc.Picture(picture_path), lines[screen + 1:screen + 201], cell)
        check(count == len(words), "the %s repertoire is %d characters in the replay's rows (%d)" % (
            name, len(words), count))
    log("glyph table: %d characters, %d distinct glyphs" % (
        len(words), len(table.characters)))
    return table


def report_differences(stream, cells, area_pixels):
    """Prints the differing pixels: in total, by kind, and by what the rows show."""
    total = sum(c.differing for c in cells)
    log("pixels compared: %d; differing: %d (%.2f %%)" % (area_pixels, total, 100.0 * total / area_pixels))
    log("  in cells whose background colour differs: %d" % sum(c.background for c in cells))
    log("  glyph shape (text colour against background): %d" % sum(c.shape for c in cells))
    log("  glyph shading (anti-aliasing, other colours): %d" % sum(c.shading for c in cells))
    groups = {}
    for c in cells:
        name = stream.kinds.get(c.row, "?") if (c.row, c.column) in stream.cells else "blank"
        group = groups.setdefault(name, [0, 0, 0, 0, 0])
        group[0] += 1
        group[1] += c.background
        group[2] += c.shape
        group[3] += c.shading
        group[4] += 1 if c.differing else 0
    log("  %-33s %6s %6s %10s %6s %8s" % ("cells showing", "cells", "differ", "background", "shape", "shading"))
    for name, (count, background, shape, shading, differ) in groups.items():
        log("  %-33s %6d %6d %10d %6d %8d" % (name, count, differ, background, shape, shading))


# --- trace -------------------------------------------------------------------

A_REPORT = bytes.fromhex("00 00 1D 00 61 23 41 04")
ACK = bytes.fromhex("06 00")
NAK = bytes.fromhex("15 00")
TRACE_FIRST_TEXT = "追跡の始め"


def trace_stream():
    """Text; the echo of one key report; point-plot mode with a word it
    refuses (NAK) and its end (ACK); the last text. Each turn of the line
    waits for the other side, so both records must hold one order."""
    s = Stream()
    s.text(TRACE_FIRST_TEXT)
    s.lines += ["echo on", "wait 8", "echo off", "esc 点", "expect 06 00", "word 2341", "expect 15 00",
                "pause 100", "eot", "expect 06 00"]
    s.data += jw.words(jw.jis_of("ａ"), 0x001B, jw.jis_of("点"), 0x2341, 0x0004)
    s.text(LAST_TEXT)
    return s


def trace_events(path):
    """(when, ms, kind, bytes) of each event line: `when` the local time in
    seconds, `bytes` those of received, sent and user events."""
    events = []
    with open(path, encoding="utf-8") as file:
        for line in file:
            if line.startswith("#"):
                continue
            fields = line.rstrip("\n").split(" ")
            when = time.mktime(time.strptime(fields[0] + " " + fields[1][:8], "%Y-%m-%d %H:%M:%S"))
            when += int(fields[1][9:]) / 1e6
            data = bytearray()
            if fields[3] in ("received", "sent", "user"):
                for token in fields[4:]:
                    if token == "|":
                        break
                    value = int(token, 16)
                    data += bytes([value & 0xFF, value >> 8]) if len(token) == 4 else bytes([value])
            events.append((when, int(fields[2][1:-2]), fields[3], bytes(data)))
    return events


def turns(events, towards_terminal):
    """The line's turns: (direction, bytes, time of the first) for each run of
    bytes in one direction, the direction "device" for the bytes towards
    the terminal."""
    runs = []
    for when, _, kind, data in events:
        if kind not in ("received", "sent"):
            continue
        direction = "device" if kind == towards_terminal else "terminal"
        if runs and runs[-1][0] == direction:
            runs[-1][1].extend(data)
        else:
            runs.append((direction, bytearray(data), when))
    return [(direction, bytes(data), when) for direction, data, when in runs]


def case_trace(programs, folder):
    stream = trace_stream()
    record = os.path.join(folder, "device.trace")

    def check_trace_item(session):
        open_menu_item(session, 0, 3)  # 動作 -> トレース記録

    def type_a(session):
        first = device_words(TRACE_FIRST_TEXT)
        check(wait_until(lambda: first in session.log_bytes(), 15), "the device's first text arrives")
        session.keys("a")

    window_receives(programs, stream, os.path.join(folder, "window"), before_connect=check_trace_item,
                    while_connected=type_a, device_options=("--timed-record", record))
    window = trace_events(os.path.join(folder, "window", "Talvorix.trace"))
    device = trace_events(record)
    log("window trace: %d events, device record: %d events" % (len(window), len(device)))
    kinds = [kind for _, _, kind, _ in window]
    check(kinds[0] == "start" and kinds[-1] == "end", "the trace runs from start to end (%s)" % kinds)
    received = b"".join(data for _, _, kind, data in window if kind == "received")
    sent = b"".join(data for _, _, kind, data in window if kind == "sent")
    check(received == bytes(stream.data), "the trace's received bytes are the device's %d bytes" % len(stream.data))
    check(sent == A_REPORT + ACK + NAK + ACK, "the trace's sent bytes are the key report, ACK, NAK, ACK (%s)" % sent.hex(" "))
    check([data for _, _, kind, data in window if kind == "user"] == [A_REPORT], "the key report is the user's input")
    check(all(a[0] <= b[0] and a[1] <= b[1] for a, b in zip(window, window[1:])), "the trace's times never go back")
    window_turns = turns(window, "received")
    device_turns = turns(device, "sent")
    check([(d, b) for d, b, _ in window_turns] == [(d, b) for d, b, _ in device_turns],
          "the window's trace and the device's record hold the same turns of the line (%d)" % len(window_turns))
    gaps = [(w - d) * 1000 for (_, _, w), (_, _, d) in zip(window_turns, device_turns)]
    log("window minus device at each turn (ms): " + ", ".join("%.1f" % gap for gap in gaps))
    # The same moments on the same clock: far less apart than any scheduling
    # or time-zone slip would make them.
    check(all(abs(gap) < 250 for gap in gaps), "each turn is at the same moment in both records")


CASES = {
    "log-format": case_log_format,
    "replay-picture": case_replay_picture,
    "trace": case_trace,
}


def main():
    # A time-out ends the test with SIGTERM: leave through the clean-up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    if len(sys.argv) != 8 or sys.argv[1] not in CASES:
        print(__doc__)
        return 2
    require_tools()
    case = sys.argv[1]
    programs = Programs(*sys.argv[2:6], display=int(sys.argv[6]), workdir=sys.argv[7])
    folder = os.path.join(os.path.abspath(programs.workdir), os.environ.get("WINEARCH", "win32"))
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    try:
        CASES[case](programs, folder)
    except Failed:
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
