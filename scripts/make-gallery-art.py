#!/usr/bin/python3
"""Draws the images of the control gallery skin into assets/gallery/.

Run with Debian's interpreter (it has python3-pil):
    /usr/bin/python3 scripts/make-gallery-art.py [--out DIR]
ring.png: a three-quarter ring whose opacity grows along it, for the Ring control.
spinner.gif: eight frames of a dot circling, for the GifAnim control.
"""
import argparse
import math
import pathlib

from PIL import Image, ImageDraw

SCALE = 4
ACCENT = (56, 155, 253)
RING_SIZE = 40
SPINNER_SIZE = 32
SPINNER_FRAMES = 8
SPINNER_FRAME_MS = 90


def ring():
    size = RING_SIZE * SCALE
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    c = ImageDraw.Draw(img)
    width = 5 * SCALE
    steps = 270
    for i in range(steps):
        alpha = int(40 + 215 * i / steps)
        c.arc((width, width, size - width, size - width), start=i, end=i + 2, fill=ACCENT + (alpha,), width=width)
    return img.resize((RING_SIZE, RING_SIZE), Image.LANCZOS)


def spinner_frames():
    frames = []
    for f in range(SPINNER_FRAMES):
        size = SPINNER_SIZE * SCALE
        img = Image.new("RGB", (size, size), (255, 255, 255))
        c = ImageDraw.Draw(img)
        for d in range(SPINNER_FRAMES):
            angle = 2 * math.pi * d / SPINNER_FRAMES
            x = size / 2 + math.cos(angle) * size * 0.36
            y = size / 2 + math.sin(angle) * size * 0.36
            r = size * 0.08
            shade = 210 if d != f else 0
            colour = ACCENT if d == f else (shade, shade + 20, 255)
            c.ellipse((x - r, y - r, x + r, y + r), fill=colour)
        frames.append(img.resize((SPINNER_SIZE, SPINNER_SIZE), Image.LANCZOS).convert("P", palette=Image.ADAPTIVE))
    return frames


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=str(pathlib.Path(__file__).resolve().parent.parent / "assets" / "gallery"))
    out = pathlib.Path(parser.parse_args().out)
    out.mkdir(parents=True, exist_ok=True)
    ring().save(out / "ring.png", optimize=True)
    frames = spinner_frames()
    frames[0].save(out / "spinner.gif", save_all=True, append_images=frames[1:], duration=SPINNER_FRAME_MS, loop=0)


if __name__ == "__main__":
    main()
