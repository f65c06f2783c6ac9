#!/usr/bin/env python3
"""Writes machine-code-like bytes for a 7-Zip branch filter: many call instructions of that
processor (the kinds the filter rewrites, and near misses it must leave alone) between random
bytes, ending with a call so the stream's last bytes are tested too.
    make-branch-code.py FILTER SIZE SEED OUT     FILTER: ARM ARMT ARM64 PPC SPARC IA64 RISCV"""
import random
import struct
import sys


def le(*words):
    return struct.pack("<%dI" % len(words), *(w & 0xFFFFFFFF for w in words))


def be(*words):
    return struct.pack(">%dI" % len(words), *(w & 0xFFFFFFFF for w in words))


def arm(r):
    return le((0xEB if r.random() < 0.8 else r.getrandbits(8)) << 24 | r.getrandbits(24))


def armt(r):
    return struct.pack("<HH", 0xF000 | r.getrandbits(11), (0xF800 if r.random() < 0.8 else 0xE800) | r.getrandbits(11))


def arm64(r):
    if r.random() < 0.5:
        return le(0x94000000 | r.getrandbits(26))
    near = r.random() < 0.6  # page offsets within 2^17 either way are the ones rewritten
    pages = r.getrandbits(17) if near else r.getrandbits(21)
    if near and r.random() < 0.5:
        pages = -pages
    return le(0x90000000 | (pages & 3) << 29 | ((pages >> 2) & 0x7FFFF) << 5 | r.getrandbits(5))


def ppc(r):
    return be(0x48000000 | r.getrandbits(24) << 2 | r.choice([1, 1, 1, 0, 2, 3]))


def sparc(r):
    x = r.random()
    high = 0x40000000 if x < 0.4 else (0x7FC00000 if x < 0.8 else 0x40000000 | r.getrandbits(30))
    return be(high | r.getrandbits(22))


IA64_BRANCH_TEMPLATES = [0x10, 0x11, 0x12, 0x13, 0x16, 0x17, 0x18, 0x19, 0x1C, 0x1D]


def ia64(r):
    template = r.choice(IA64_BRANCH_TEMPLATES) if r.random() < 0.9 else r.getrandbits(5)
    bundle = r.getrandbits(128) & ~0x1F | template
    for slot in range(3):
        if r.random() < 0.6:
            shift = 5 + 41 * slot
            inst = bundle >> shift & ((1 << 41) - 1)
            inst = inst & ~(0xF << 37) | 5 << 37  # br.call
            if r.random() < 0.7:
                inst &= ~(7 << 9)
            bundle = bundle & ~(((1 << 41) - 1) << shift) | inst << shift
    return bundle.to_bytes(16, "little")


def riscv(r):
    x = r.random()
    rd = r.choice([1, 5, 1, 5, 0, 2, 3, 10, 31])
    word = r.getrandbits(32)
    if x < 0.3:
        return le(word & ~0xFFF | rd << 7 | 0x6F)  # jal
    if x < 0.8:  # auipc, usually followed by a user of its register
        rs1 = rd if r.random() < 0.7 else r.getrandbits(5)
        second = r.getrandbits(32) & ~(31 << 15) | rs1 << 15
        if r.random() < 0.8:
            second |= 3
        return le(word & ~0xFFF | rd << 7 | 0x17, second)
    if x < 0.9:
        return b"\x01\x00"  # c.nop, to put the next one on an odd halfword
    # auipc sp whose immediate looks like a rewritten pair
    return le((r.getrandbits(20) | 3) << 12 | 2 << 7 | 0x17, r.getrandbits(32))


MAKERS = {"ARM": arm, "ARMT": armt, "ARM64": arm64, "PPC": ppc, "SPARC": sparc, "IA64": ia64, "RISCV": riscv}


def make(kind, size, seed):
    r = random.Random(seed)
    maker = MAKERS[kind]
    out = bytearray()
    while len(out) < size:
        if r.random() < 0.3:
            out += r.randbytes(r.choice([1, 2, 3, 4, 8, 16]))
        else:
            out += maker(r)
    del out[size:]
    return bytes(out) + maker(r)


if __name__ == "__main__":
    kind, size, seed, path = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    with open(path, "wb") as f:
        f.write(make(kind, size, seed))
