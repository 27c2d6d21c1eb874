#!/usr/bin/env python3
"""Makes the two TrueType faces in resources/fonts from Debian's font packages.

The build uses the committed .ttf files; rerun this only to remake them:

    sudo apt-get install python3-fonttools fonts-noto-extra
    /usr/bin/python3 scripts/make-fonts.py

Both faces are Noto Sans SemiBold (version 2.004 in fonts-noto-extra), in its normal and
its condensed width, which map the same characters. Each keeps every glyph of the original
file (Latin, Greek and Cyrillic in full, so that preset names in those scripts draw as
letters). What changes:
  - hinting and the digital signature are removed: the plug-in draws glyph outlines
    unhinted, and a signature no longer matches a changed file;
  - the normal width gets a legacy 'kern' table made from its GPOS pair kerning, as the
    framework reads kerning from that table only (the condensed face, used for values,
    scales and capitals, is drawn without kerning);
  - the vertical metrics: the originals make a font height (ascent + descent) of 12, the
    plug-in's usual text, an em of 8.8 px. The ones set here make it 11.1 px, with the
    x-height at 6 px and capitals at 8 px. Text sits on whole-pixel baselines and is drawn
    unhinted with its coverage boosted when light on dark, so a lower case i is legible
    only when the 0.08 em gap between its dot and its stem falls on a pixel row of its own;
    at this size it does (at 10.24 px, Roboto's proportions, the dot still runs into the
    stem). Both faces get the same proportions, so their capitals and lower case come out
    the same height;
  - the version string and the unique ID in the name records say that the file is a modified
    version, and for which product (the font's licence asks that modified versions be told
    apart from the original; it reserves no font name, so the family names stay).
"""

import argparse
import pathlib
import re

from fontTools import subset
from fontTools.ttLib import TTFont, newTable
from fontTools.ttLib.tables._k_e_r_n import KernTable_format_0

# Ascent and descent as fractions of the em; their sum is the font height the plug-in asks for.
ASCENT = 1712 / 2048
DESCENT = 500 / 2048

USE_TYPO_METRICS = 1 << 7

# A format 0 kerning subtable records its length in 16 bits: 10,920 pairs of 6 bytes fit.
PAIRS_PER_SUBTABLE = 10920

NOTO = "/usr/share/fonts/truetype/noto/"

ROOT = pathlib.Path(__file__).resolve().parent.parent

# Name record IDs.
NAME_ID_UNIQUE = 3
NAME_ID_VERSION = 5
NAME_ID_POSTSCRIPT = 6

# Made face: (source file, whether it gets a legacy 'kern' table).
FACES = {
    "NotoSans-SemiBold.ttf": (NOTO + "NotoSans-SemiBold.ttf", True),
    "NotoSans-CondensedSemiBold.ttf": (NOTO + "NotoSans-CondensedSemiBold.ttf", False),
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


def gpos_pair_kerning(font):
    """The advance changes of the GPOS 'kern' feature's pair lookups between glyphs that
    characters map to, as shaping engines apply them: within a lookup the first subtable that
    holds a pair decides it (a class subtable holds every pair whose first glyph it covers),
    and lookups add up. Contextual kerning has no legacy form and is left out."""
    reachable = set(font.getBestCmap().values())
    gpos = font["GPOS"].table
    lookups = sorted({index
                      for record in gpos.FeatureList.FeatureRecord if record.FeatureTag == "kern"
                      for index in record.Feature.LookupListIndex})

    def advance(value):
        return getattr(value, "XAdvance", 0) if value is not None else 0

    totals = {}
    for index in lookups:
        lookup = gpos.LookupList.Lookup[index]
        if lookup.LookupType == 9:
            subtables = [sub.ExtSubTable for sub in lookup.SubTable if sub.ExtensionLookupType == 2]
        else:
            subtables = lookup.SubTable if lookup.LookupType == 2 else []

        decided = {}
        for sub in subtables:
            covered = sub.Coverage.glyphs
            if sub.Format == 1:
                for first, pair_set in zip(covered, sub.PairSet):
                    if first in reachable:
                        for record in pair_set.PairValueRecord:
                            if record.SecondGlyph in reachable:
                                decided.setdefault((first, record.SecondGlyph), advance(record.Value1))
            else:
                first_classes = sub.ClassDef1.classDefs
                second_classes = sub.ClassDef2.classDefs
                for first in covered:
                    if first in reachable:
                        row = sub.Class1Record[first_classes.get(first, 0)].Class2Record
                        for second in reachable:
                            decided.setdefault((first, second), advance(row[second_classes.get(second, 0)].Value1))

        for pair, value in decided.items():
            totals[pair] = totals.get(pair, 0) + value

    return {pair: value for pair, value in totals.items() if value != 0}


def add_legacy_kern_table(font):
    pairs = sorted(gpos_pair_kerning(font).items(), key=lambda item: (font.getGlyphID(item[0][0]),
                                                                      font.getGlyphID(item[0][1])))
    kern = newTable("kern")
    kern.version = 0
    kern.kernTables = []
    for start in range(0, len(pairs), PAIRS_PER_SUBTABLE):
        subtable = KernTable_format_0()
        subtable.coverage = 1  # horizontal
        subtable.tupleIndex = None
        subtable.kernTable = dict(pairs[start:start + PAIRS_PER_SUBTABLE])
        kern.kernTables.append(subtable)

    font["kern"] = kern
    return len(pairs)


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


def product_identity():
    """The product's name and maker, as the build declares them."""
    cmake = (ROOT / "cmake" / "TidewellTargets.cmake").read_text(encoding="utf-8")

    def declared(variable):
        return re.search(r'^set\(' + variable + r' "([^"]+)"\)', cmake, re.MULTILINE).group(1)

    return declared("TIDEWELL_PRODUCT_NAME"), declared("TIDEWELL_MAKER")


def mark_as_modified(font, changes, product, maker):
    """Rewrites the version string and the unique ID in every record that carries them. The
    version number stays that of the original design; what follows it says what was done."""
    name = font["name"]
    version = name.getDebugName(NAME_ID_VERSION).split(";")[0].strip()
    unique_version = name.getDebugName(NAME_ID_UNIQUE).split(";")[0].strip()
    postscript = name.getDebugName(NAME_ID_POSTSCRIPT)

    texts = {
        NAME_ID_VERSION: f"{version}; modified for {product} by {maker}: {', '.join(changes)}",
        NAME_ID_UNIQUE: f"{unique_version};{maker};{postscript};{product}",
    }
    for record in name.names:
        if record.nameID in texts:
            record.string = texts[record.nameID]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", default=ROOT / "resources" / "fonts",
                        type=pathlib.Path, help="folder for the made faces (default: resources/fonts)")
    parser.add_argument("--source", action="append", default=[], metavar="NAME=PATH",
                        help="take a face from another file, e.g. NotoSans-SemiBold.ttf=/tmp/x.ttf")
    args = parser.parse_args()

    product, maker = product_identity()
    faces = dict(FACES)
    for pair in args.source:
        name, _, path = pair.partition("=")
        faces[name] = (path, faces.get(name, (None, False))[1])

    for name, (path, kerned) in faces.items():
        font = TTFont(path, recalcTimestamp=False)
        strip_hinting(font)
        pairs = add_legacy_kern_table(font) if kerned else 0
        set_vertical_metrics(font)
        changes = ["hinting removed"] + (["kern table added"] if kerned else []) + ["vertical metrics changed"]
        mark_as_modified(font, changes, product, maker)
        font.save(args.out / name)
        print(f"{name}: {len(font.getGlyphOrder())} glyphs, {pairs} kerning pairs, "
              f"{(args.out / name).stat().st_size} bytes")


if __name__ == "__main__":
    main()
