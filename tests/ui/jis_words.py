"""Builds the words the device sends: JIS X 0208 characters, control words,
CSI and ESC sequences, all as little-endian 16-bit words."""

import struct

CSI = 0x009B
ESC = 0x001B
CR = 0x000D
LF = 0x000A
EOT = 0x0004


def jis_of(character):
    """The JIS X 0208 code of a full-width character, or the byte of an ASCII one."""
    if ord(character) < 0x80:
        return ord(character)
    euc = character.encode("euc_jp")
    assert len(euc) == 2, character
    return ((euc[0] & 0x7F) << 8) | (euc[1] & 0x7F)


def words(*codes):
    return b"".join(struct.pack("<H", code) for code in codes)


def text(string):
    """Full-width text as JIS words (ASCII letters become full-width first)."""
    out = []
    for character in string:
        if character == "\n":
            out += [CR, LF]
        elif 0x21 <= ord(character) <= 0x7E:
            out.append(jis_of(chr(ord(character) + 0xFEE0)))
        elif character == " ":
            out.append(jis_of("\u3000"))
        else:
            out.append(jis_of(character))
    return words(*out)


def number(value):
    return [jis_of(chr(ord("０") + int(d))) for d in str(value)]


def csi(parameters, final):
    """CSI p0；p1；... final, the final given as a character."""
    out = [CSI]
    for index, value in enumerate(parameters):
        if index:
            out.append(jis_of("；"))
        out += number(value)
    out.append(jis_of(final))
    return words(*out)


def sgr(*codes):
    return csi(codes, "ｍ")


def esc(argument):
    return words(ESC, jis_of(argument))


def plot_line(x, y):
    return words(*number(x), jis_of("；"), *number(y), CR)
