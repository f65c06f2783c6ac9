#!/usr/bin/env python3
"""pack-skin.py SKIN_DIR OUT_ZIP [DOCUMENT]: packs the skin folder into the ZIP a program carries.

Without DOCUMENT: the folder for setup (ZKMainFrame.xml), less the other programs' documents and
the images only they name. With it: that document and the files it names, for a program with a
skin document of its own (the uninstaller's ZKUnInstall.xml).

Deterministic: members sorted, fixed times and attributes, so the same folder gives the same bytes."""
import pathlib
import re
import sys
import zipfile

FIXED_TIME = (2024, 1, 1, 0, 0, 0)


def main() -> int:
    if len(sys.argv) not in (3, 4):
        print(__doc__.splitlines()[0], file=sys.stderr)
        return 2
    skin = pathlib.Path(sys.argv[1])
    out = pathlib.Path(sys.argv[2])
    document = sys.argv[3] if len(sys.argv) == 4 else "ZKMainFrame.xml"
    files = sorted(p for p in skin.rglob("*") if p.is_file())
    if not any(p.name == document for p in files):
        print(f"pack-skin: {skin} has no {document}", file=sys.stderr)
        return 1
    def named_in(text, path):
        # An image drawn for a display scale ("name@150.png") goes with the one the text names.
        name = re.sub(r"@\d+(\.[^.]*)$", r"\1", str(path.relative_to(skin)))
        return name.replace("/", "\\") in text

    if len(sys.argv) == 4:
        text = (skin / document).read_text(encoding="utf-8")
        files = [p for p in files if p.name == document or named_in(text, p)]
    else:
        # Setup's pages name some images only in code: everything but the other programs'
        # documents and the images that only those name.
        main = (skin / document).read_text(encoding="utf-8")
        others = [p for p in files if p.suffix == ".xml" and p.parent == skin and p.name != document]
        other_text = "".join(p.read_text(encoding="utf-8") for p in others)
        files = [p for p in files if p not in others and (named_in(main, p) or not named_in(other_text, p))]
    out.parent.mkdir(parents=True, exist_ok=True)
    partial = out.with_suffix(".partial")
    with zipfile.ZipFile(partial, "w") as archive:
        for path in files:
            info = zipfile.ZipInfo(path.relative_to(skin).as_posix(), FIXED_TIME)
            info.external_attr = 0o100644 << 16
            info.flag_bits |= 0x800  # names are UTF-8
            # PNGs are compressed already; the document and bitmaps deflate well.
            info.compress_type = zipfile.ZIP_STORED if path.suffix == ".png" else zipfile.ZIP_DEFLATED
            archive.writestr(info, path.read_bytes(), compresslevel=9)
    partial.replace(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
