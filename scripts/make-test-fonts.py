#!/usr/bin/env python3
"""make-test-fonts.py OUT_DIR: font files that answer to the names the skin asks for.

Wine's GDI resolves the skin's faces through font replacements, but its GDI+ looks families up
by their real names only. The test prefix therefore gets Debian's fonts under the Windows names:
Noto Sans CJK SC as "Microsoft YaHei"/"微软雅黑" (it has a real bold weight, as the Windows font
has; a synthesised bold is wider and cuts labels sized for the real one), Liberation Sans (Narrow)
as "Arial" and "Arial Narrow"."""
import pathlib
import sys

from fontTools.ttLib import TTCollection, TTFont

NOTO_SC = 2  # the Simplified Chinese face inside the Noto Sans CJK collections

FONTS = [
    ("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "msyh.ttf", "Microsoft YaHei", "微软雅黑", "Regular"),
    ("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", "msyhbd.ttf", "Microsoft YaHei", "微软雅黑", "Bold"),
    ("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "arial.ttf", "Arial", None, "Regular"),
    ("/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf", "arialbd.ttf", "Arial", None, "Bold"),
    ("/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Regular.ttf", "arialn.ttf", "Arial Narrow", None,
     "Regular"),
]

ENGLISH = 0x409
CHINESE = 0x804


def load(path: str) -> TTFont:
    if path.endswith(".ttc"):
        return TTCollection(path).fonts[NOTO_SC]
    return TTFont(path)


def rename(font: TTFont, family: str, localized: str | None, style: str) -> None:
    names = font["name"]
    full = family if style == "Regular" else f"{family} {style}"
    postscript = full.replace(" ", "") if style == "Regular" else f"{family.replace(' ', '')}-{style}"
    for record in list(names.names):
        if record.nameID in (1, 2, 3, 4, 6, 16, 17):
            names.removeNames(nameID=record.nameID)
    for lang in (ENGLISH,):
        names.setName(family, 1, 3, 1, lang)
        names.setName(style, 2, 3, 1, lang)
        names.setName(f"{full};test", 3, 3, 1, lang)
        names.setName(full, 4, 3, 1, lang)
        names.setName(postscript, 6, 3, 1, lang)
    if localized:
        # Wine drops a face whose full name another face of the family has: the bold one must differ.
        names.setName(localized, 1, 3, 1, CHINESE)
        names.setName(style, 2, 3, 1, CHINESE)
        names.setName(localized if style == "Regular" else f"{localized} {style}", 4, 3, 1, CHINESE)


def main() -> int:
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for source, target, family, localized, style in FONTS:
        if not pathlib.Path(source).exists():
            print(f"make-test-fonts: {source} is missing", file=sys.stderr)
            return 1
        font = load(source)
        rename(font, family, localized, style)
        font.save(out / target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
