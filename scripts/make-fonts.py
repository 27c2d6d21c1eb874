#!/usr/bin/env python3
"""Makes the two TrueType faces in resources/fonts from Debian's font packages.

The build uses the committed .ttf files; rerun this only to remake them:

    sudo apt-get install python3-fonttools fonts-open-sans fonts-noto-extra
    /usr/bin/python3 scripts/make-fonts.py

Each face keeps every glyph of the original file (Latin, Greek and Cyrillic in full, so that
preset names in those scripts draw as letters). What changes:
  - hinting and the digital signature are removed: the plug-in draws glyph outlines
    unhinted, and a signature no longer matches a changed file;
  - Open Sans's kerning pairs are spread over subtables short enough to be read whole;
  - the vertical metrics: Open Sans's make a font height (ascent + descent) of 12, the
    plug-in's usual text, an em of 8.8 px. The ones set here make it 11.1 px, with the
    x-height at 6 px and capitals at 8 px. Text sits on whole-pixel baselines and is drawn
    unhinted with its coverage boosted when light on dark, so a lower case i is legible
    only when the 0.08 em gap between its dot and its stem falls on a pixel row of its own;
    at this size it does (at 10.24 px, Roboto's proportions, the dot still runs into the
    stem). Both faces get the same proportions, and as Noto Sans was drawn from Open Sans
    their capitals and lower case come out the same height.
"""

import argparse
import copy
import pathlib

from fontTools import subset
from fontTools.ttLib import TTFont

# Ascent and descent as fractions of the em; their sum is the font height the plug-in asks for.
ASCENT = 1712 / 2048
DESCENT = 500 / 2048

USE_TYPO_METRICS = 1 << 7

FACES = {
    "OpenSans-Semibold.ttf": "/usr/share/fonts/truetype/open-sans/OpenSans-Semibold.ttf",
    "NotoSans-CondensedSemiBold.ttf": "/usr/share/fonts/truetype/noto/NotoSans-CondensedSemiBold.ttf",
}


def strip_hinting(font):
    options = subset.Options()
    options.glyph_names = True
    options.notdef_outline = True
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.layout_features = ["*"]
    options.legacy_kern = True
    options.hinting = False
    options.drop_tables += ["DSIG"]

    subsetter = subset.Subsetter(options)
    subsetter.populate(glyphs=font.getGlyphOrder(), unicodes=font.getBestCmap().keys())
    subsetter.subset(font)


def split_kern_pairs(font):
    # A kerning subtable records its length in 16 bits, which Open Sans's 18,000 pairs
    # overflow; readers then drop the pairs past the wrapped length (among them every Greek
    # and Cyrillic pair). Subtables of at most 10,920 pairs keep them all.
    if "kern" not in font:
        return

    kern = font["kern"]
    tables = []
    for table in kern.kernTables:
        pairs = sorted(table.kernTable.items(), key=lambda pair: tuple(font.getGlyphID(g) for g in pair[0]))
        for start in range(0, len(pairs), 10920):
            part = copy.copy(table)
            part.kernTable = dict(pairs[start:start + 10920])
            tables.append(part)
    kern.kernTables = tables


def set_vertical_metrics(font):
    units = font["head"].unitsPerEm
    ascent = round(ASCENT * units)
    descent = round(DESCENT * units)

    hhea = font["hhea"]
    hhea.ascent, hhea.descent, hhea.lineGap = ascent, -descent, 0

    # Every platform reads one of these three sets; all say the same.
    os2 = font["OS/2"]
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = ascent, -descent, 0
    os2.usWinAscent, os2.usWinDescent = ascent, descent
    os2.version = max(os2.version, 4)
    os2.fsSelection |= USE_TYPO_METRICS


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", default=pathlib.Path(__file__).resolve().parent.parent / "resources" / "fonts",
                        type=pathlib.Path, help="folder for the made faces (default: resources/fonts)")
    parser.add_argument("--source", action="append", default=[], metavar="NAME=PATH",
                        help="take a face from another file, e.g. OpenSans-Semibold.ttf=/tmp/x.ttf")
    args = parser.parse_args()

    sources = dict(FACES)
    for pair in args.source:
        name, _, path = pair.partition("=")
        sources[name] = path

    for name, path in sources.items():
        font = TTFont(path, recalcTimestamp=False)
        strip_hinting(font)
        split_kern_pairs(font)
        set_vertical_metrics(font)
        font.save(args.out / name)
        print(f"{name}: {len(font.getGlyphOrder())} glyphs, {(args.out / name).stat().st_size} bytes")


if __name__ == "__main__":
    main()
