"""A picture of the text screen (talvorix-replay --picture) against a
screenshot of the window's text view, cell by cell.

Both are RGB images; the picture starts at screen row 0, column 0, and the
screenshot is read from the text view's client area at `origin`. Each byte
cell is compared on its own, knowing the text and background colours the
device asked for there:

- the picture is drawn one bit deep, so its pixels in the background colour
  are the cell's background and its pixels in the text colour its glyph (any
  other colour in it is counted as such);
- the window's background colour of the cell is the colour most of its
  pixels have where the picture shows the background (a colour found by
  counting over the whole cell would be the text colour in a cell that a bold
  glyph mostly covers);
- a pixel that differs is a background difference when the cell's background
  colours differ, otherwise a glyph difference: "shape" when the screenshot
  has the text or the background colour there (a pixel inked in one image and
  not in the other), "shading" when it has any other colour (anti-aliasing:
  a shade between text and background).
"""

import subprocess
from collections import Counter

from wine_session import Screenshot


class Picture(Screenshot):
    """An image file (PNG) as RGB pixels, read through ImageMagick."""

    def __init__(self, path):  # pylint: disable=super-init-not-called
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"],
                             check=True, capture_output=True, timeout=30).stdout
        self.width, self.height, self.pixels = self._parse(ppm)

    def invert_box(self, left, top, width, height):
        """Inverts a box as the caret does (every colour exclusive-or white)."""
        pixels = bytearray(self.pixels)
        for y in range(top, min(top + height, self.height)):
            for x in range(left, min(left + width, self.width)):
                offset = (y * self.width + x) * 3
                for k in range(3):
                    pixels[offset + k] ^= 0xFF
        self.pixels = bytes(pixels)


class CellResult:
    def __init__(self, row, column, text_colour, background_colour):
        self.row = row
        self.column = column
        self.text_colour = text_colour
        self.background_colour = background_colour
        self.picture_other = 0  # picture pixels of neither colour
        self.background_pixels = 0  # picture pixels in the background colour
        self.screen_background = None
        self.background = 0  # differing pixels of a cell whose background differs
        self.shape = 0
        self.shading = 0

    @property
    def differing(self):
        return self.background + self.shape + self.shading


def _cell_pixels(image, left, top, width, height):
    return [image.pixel(x, y) for y in range(top, top + height) for x in range(left, left + width)]


def compare_cells(picture, screen, origin, size, cell, colours):
    """Compares the area of `size` (width, height) of the picture at (0, 0)
    with the screenshot at `origin`, in cells of `cell` (width, height);
    `colours(row, column)` gives the text and background colours the device
    asked for in that byte cell. Cells cut by the area's edges are compared as
    far as they are shown. Returns the CellResult of every cell, row by row."""
    width, height = size
    cell_width, cell_height = cell
    results = []
    for top in range(0, height, cell_height):
        for left in range(0, width, cell_width):
            w = min(cell_width, width - left)
            h = min(cell_height, height - top)
            drawn = _cell_pixels(picture, left, top, w, h)
            shown = _cell_pixels(screen, origin[0] + left, origin[1] + top, w, h)
            text, background = colours(top // cell_height, left // cell_width)
            result = CellResult(top // cell_height, left // cell_width, text, background)
            result.picture_other = sum(1 for p in drawn if p not in (text, background))
            behind = Counter(b for a, b in zip(drawn, shown) if a == background)
            result.background_pixels = sum(behind.values())
            result.screen_background = behind.most_common(1)[0][0] if behind else None
            same_background = result.screen_background == background
            for a, b in zip(drawn, shown):
                if a == b:
                    continue
                if not same_background:
                    result.background += 1
                elif b in (text, background):
                    result.shape += 1
                else:
                    result.shading += 1
            results.append(result)
    return results


def _ink_mask(pixels, background, text):
    """The pixels of a glyph as a bit mask: those nearer the text colour than
    the background."""
    mask = 0
    for index, pixel in enumerate(pixels):
        off = sum((p - q) ** 2 for p, q in zip(pixel, background))
        if off > sum((p - q) ** 2 for p, q in zip(pixel, text)):
            mask |= 1 << index
    return mask


def glyph_mask(image, left, top, cell, text, background):
    """The glyph of the character (two byte cells) at (left, top)."""
    pixels = _cell_pixels(image, left, top, 2 * cell[0], cell[1])
    return _ink_mask(pixels, background, text)


def character_pairs(row_text):
    """A screen row as printed by talvorix-replay, split into characters of
    two byte cells each: a full-width character alone, two half-width ones
    (ASCII, half-width katakana) together. Blank pairs are "" (a row's blanks
    are spaces or U+3000)."""
    pairs = []
    pending = ""
    for character in row_text:
        wide = ord(character) > 0x7F and not 0xFF61 <= ord(character) <= 0xFF9F
        if wide:
            pairs.append(character)
        else:
            pending += character
            if len(pending) == 2:
                pairs.append(pending)
                pending = ""
    if pending:
        pairs.append(pending + " ")
    return [pair if pair.strip(" \u3000") else "" for pair in pairs]


class GlyphTable:
    """Glyphs (masks) with the characters they draw, taken from pictures of
    rows whose text is known. Characters that share a glyph share its entry."""

    def __init__(self):
        self.characters = {}  # mask -> set of characters
        self._nearest = {}

    def add_picture(self, picture, rows, cell, text=(0, 0, 0), background=(255, 255, 255)):
        """Every character of `rows` (talvorix-replay's rows of the picture)."""
        count = 0
        for row, row_text in enumerate(rows):
            for column, character in enumerate(character_pairs(row_text)):
                mask = glyph_mask(picture, column * 2 * cell[0], row * cell[1], cell, text, background)
                self.characters.setdefault(mask, set()).add(character)
                count += 1
        self._nearest.clear()
        return count

    def nearest(self, mask):
        """(differing pixels, characters) of the glyphs nearest to `mask`."""
        if mask not in self._nearest:
            distances = {glyph: (glyph ^ mask).bit_count() for glyph in self.characters}
            best = min(distances.values())
            found = set()
            for glyph, distance in distances.items():
                if distance == best:
                    found |= self.characters[glyph]
            self._nearest[mask] = (best, found)
        return self._nearest[mask]


def read_characters(screen, origin, rows, columns, cell, cells, table):
    """Reads the screenshot's characters: for each screen row and character
    column, (differing pixels, characters) of the nearest glyphs of `table`,
    the glyph taken against the colours `cells` (compare_cells' results by
    (row, byte column)) asked for there."""
    read = []
    for row in range(rows):
        line = []
        for column in range(columns):
            first = cells[(row, 2 * column)]
            mask = glyph_mask(screen, origin[0] + column * 2 * cell[0], origin[1] + row * cell[1], cell,
                              first.text_colour, first.background_colour)
            line.append(table.nearest(mask))
        read.append(line)
    return read


def write_difference_map(path, picture, screen, origin, size, cells, cell):
    """A PNG of the compared area: white where both agree, red where a cell's
    background differs, black for a glyph's shape, blue for its shading."""
    width, height = size
    by_place = {(c.row, c.column): c for c in cells}
    out = bytearray(b"\xff" * (width * height * 3))
    for y in range(height):
        for x in range(width):
            a = picture.pixel(x, y)
            b = screen.pixel(origin[0] + x, origin[1] + y)
            if a == b:
                continue
            c = by_place[(y // cell[1], x // cell[0])]
            if c.screen_background != c.background_colour:
                colour = (255, 0, 0)
            elif b in (c.text_colour, c.background_colour):
                colour = (0, 0, 0)
            else:
                colour = (0, 0, 255)
            out[(y * width + x) * 3:(y * width + x) * 3 + 3] = bytes(colour)
    subprocess.run(["convert", "-size", "%dx%d" % (width, height), "-depth", "8", "rgb:-", path],
                   input=bytes(out), check=True, timeout=30)
