#!/usr/bin/env python3
"""Makes the ZIP archives the skin-source tests read, with zip, 7zz and zipfile.

Usage: make-skin-zips.py OUTPUT_FOLDER
The folder is rebuilt from scratch: src/ holds the member contents the tests compare with."""
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import zipfile

out = pathlib.Path(sys.argv[1]).resolve()
shutil.rmtree(out, ignore_errors=True)
src = out / "src"
(src / "image15").mkdir(parents=True)
(src / "Install_and_uninstall").mkdir()

SKIN = '<?xml version="1.0" encoding="utf-8"?>\n<Window size="700,420"><Label name="t" text="&quot;Tessaro&quot;"/></Window>\n'
(src / "ZKMainFrame.xml").write_text(SKIN, encoding="utf-8")
png = bytes(range(256)) * 3 + b"\x89PNG\r\n\x1a\n"
(src / "image15" / "a.png").write_bytes(png)
# Larger than the reader's 16 KiB buffers, compressible but not trivially.
big = bytearray()
seed = 12345
while len(big) < 200000:
    seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
    big += ("line %d value %d\n" % (len(big), seed % 1000)).encode()
big = bytes(big[:200000])
(src / "big.bin").write_bytes(big)
(src / "Install_and_uninstall" / "bg.png").write_bytes(png[::-1])
(src / "readonly.txt").write_text("read only\n")
os.chmod(src / "readonly.txt", 0o444)
(src / "empty.txt").write_bytes(b"")
# A fixed modification time the Info-ZIP archive carries in its "UT" field.
FIXED_TIME = 1600000000
for f in src.rglob("*"):
    os.utime(f, (FIXED_TIME + 3600, FIXED_TIME))


def run(*args, cwd=src, stdin=None):
    subprocess.run(args, cwd=cwd, check=True, input=stdin, stdout=subprocess.DEVNULL)


def python_zip(name, members, method=zipfile.ZIP_DEFLATED, comment=b""):
    with zipfile.ZipFile(out / name, "w", method) as z:
        for info, data in members:
            if isinstance(info, str):
                info = zipfile.ZipInfo(info, (2021, 3, 4, 5, 6, 8))
                info.compress_type = method
            z.writestr(info, data)
        z.comment = comment


files = ["ZKMainFrame.xml", "image15/a.png", "big.bin", "Install_and_uninstall/bg.png"]
contents = [(f, (src / f).read_bytes()) for f in files]

python_zip("stored.zip", contents + [("empty.txt", b"")], zipfile.ZIP_STORED)
python_zip("deflated.zip", contents + [("empty.txt", b"")])
python_zip("comment60000.zip", contents, comment=b"C" * 60000)
python_zip("comment65535.zip", contents, comment=b"M" * 65535)
python_zip("upper.zip", [("IMAGE15/A.PNG", png), ("ZKMAINFRAME.XML", SKIN.encode())])
python_zip("traversal.zip", [("..\\..\\x.png", b"x"), ("C:/a/b.png", b"b"), ("/abs/c.png", b"c"),
                             ("a/../../d.png", b"d"), ("../e.png", b"e"), ("dir\\..\\f.png", b"f")])
python_zip("utf8.zip", [("bild\u00e4/\u56fe.png", b"u")])

# An archive comment that carries a fake end record after the real one.
fake_end = b"PK\x05\x06" + b"\x01\x00" * 4 + b"\xff" * 8 + b"\x00\x00"
python_zip("fake-end.zip", contents[:1], comment=b"note " + fake_end + b" end")

# Attributes: FAT bits and Unix modes.
def info(name, system, attributes):
    i = zipfile.ZipInfo(name, (2021, 3, 4, 5, 6, 8))
    i.create_system = system
    i.external_attr = attributes
    return i


python_zip("attributes.zip", [
    (info("fat-all.txt", 0, 0x01 | 0x02 | 0x04 | 0x20), b"f"),
    (info("fat-dir/", 0, 0x10), b""),
    (info("ntfs-hidden.txt", 11, 0x02 | 0x20), b"n"),
    (info("unix-readonly.txt", 3, 0o100444 << 16), b"r"),
    (info("unix-writable.txt", 3, 0o100644 << 16), b"w"),
    (info("unix-dir/", 3, (0o40755 << 16) | 0x10), b""),
])

# Times: a "UT" block with all three times behind an unrelated block, one with a
# truncated block, and one with none (DOS time only).
def ut_info(name, extra):
    i = zipfile.ZipInfo(name, (2021, 3, 4, 5, 6, 8))
    i.extra = extra
    return i


unrelated = struct.pack("<HH", 0xCAFE, 3) + b"abc"
full_ut = struct.pack("<HHBIII", 0x5455, 13, 7, 1500000000, 1500000100, 1500000200)
short_ut = struct.pack("<HHBI", 0x5455, 13, 7, 1400000000)  # claims 13 bytes, holds 5
python_zip("times.zip", [(ut_info("full.txt", unrelated + full_ut), b"1"),
                         (ut_info("short.txt", short_ut), b"2"),
                         (ut_info("dos.txt", b""), b"3")], zipfile.ZIP_STORED)

# Damaged members: one flipped byte inside stored data, one inside a deflate stream.
data = bytearray((out / "stored.zip").read_bytes())
at = data.find(b"Window size")
data[at] ^= 0x20
(out / "bad-crc-stored.zip").write_bytes(bytes(data))
with zipfile.ZipFile(out / "deflated.zip") as z:
    big_info = z.getinfo("big.bin")
data = bytearray((out / "deflated.zip").read_bytes())
local = big_info.header_offset
name_len, extra_len = struct.unpack("<HH", data[local + 26:local + 30])
start = local + 30 + name_len + extra_len
for k in range(50):
    data[start + big_info.compress_size // 2 + k] ^= 0x55
(out / "bad-deflate.zip").write_bytes(bytes(data))

# Info-ZIP: Unix attributes, "UT" times, an archive comment and a password.
run("zip", "-q", "-r", str(out / "infozip.zip"), "ZKMainFrame.xml", "image15", "readonly.txt",
    "Install_and_uninstall")
run("zip", "-q", "-z", str(out / "infozip.zip"), stdin=b"Tessaro skin\n.\n")
run("zip", "-q", "-P", "secret", str(out / "password.zip"), "ZKMainFrame.xml", "big.bin")

# 7-Zip: deflated, stored, and ZipCrypto encrypted.
run("7zz", "a", "-bd", "-tzip", str(out / "7z-deflate.zip"), "ZKMainFrame.xml", "image15", "big.bin")
run("7zz", "a", "-bd", "-tzip", "-mx=0", str(out / "7z-stored.zip"), "ZKMainFrame.xml", "big.bin")
run("7zz", "a", "-bd", "-tzip", "-psecret", "-mem=ZipCrypto", str(out / "7z-password.zip"),
    "ZKMainFrame.xml", "big.bin")

# Self-extractor style: a stub before the archive, offsets left as they were, and the same
# with the offsets adjusted by zip -A.
stub = b"MZ" + bytes(4094) + b"stub end"
zip_bytes = (out / "deflated.zip").read_bytes()
(out / "prefixed-raw.zip").write_bytes(stub + zip_bytes)
(out / "prefixed-adjusted.zip").write_bytes(stub + zip_bytes)
run("zip", "-q", "-A", str(out / "prefixed-adjusted.zip"), cwd=out)

# Markup documents at the size limit and one byte over it.
exact = b"<a/>" + b" " * (4194304 - 4)
python_zip("limits.zip", [("exact.xml", exact), ("over.xml", exact + b" ")])

# A folder-mode skin beside the archives.
shutil.copytree(src, out / "folder")

(out / "ready").write_text("ok\n")
