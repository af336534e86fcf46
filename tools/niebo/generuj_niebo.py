#!/usr/bin/env python3
"""Makes Przyklady/Sky02.bmp: a sky for the far wall of the picture.

A vertical gradient from deep blue at the top to a pale haze at the horizon,
with soft clouds from smoothed value noise. Pure Python, a 24-bit BMP,
the same bytes on every run (fixed seed).

    python3 tools/niebo/generuj_niebo.py [output.bmp]
"""
import math
import os
import random
import struct
import sys

SZEROKOSC, WYSOKOSC = 512, 256


def szum(ziarno, komorka):
    """Smooth value noise: a grid of random values, bilinear with a smoothstep."""
    los = random.Random(ziarno)
    nx, ny = SZEROKOSC // komorka + 2, 2 * WYSOKOSC // komorka + 2
    siatka = [[los.random() for _ in range(nx)] for _ in range(ny)]

    def gladko(t):
        return t * t * (3 - 2 * t)

    def wartosc(x, y):
        fx, fy = x / komorka, y / komorka
        ix, iy = int(fx), int(fy)
        tx, ty = gladko(fx - ix), gladko(fy - iy)
        a = siatka[iy][ix] * (1 - tx) + siatka[iy][ix + 1] * tx
        b = siatka[iy + 1][ix] * (1 - tx) + siatka[iy + 1][ix + 1] * tx
        return a * (1 - ty) + b * ty

    return wartosc


def main():
    wyjscie = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "..", "Przyklady", "Sky02.bmp")
    oktawy = [(szum(11, 64), 0.5), (szum(12, 32), 0.25), (szum(13, 16), 0.15), (szum(14, 8), 0.1)]
    gora, horyzont = (40, 90, 170), (190, 215, 240)
    wiersze = []
    for y in range(WYSOKOSC):
        t = y / (WYSOKOSC - 1)  # 0 at the top, 1 at the horizon
        niebo = [g + (h - g) * t ** 1.4 for g, h in zip(gora, horyzont)]
        wiersz = bytearray()
        for x in range(SZEROKOSC):
            n = sum(f(x, y * 2.0) * w for f, w in oktawy)  # clouds stretched sideways
            # Clouds thin out towards the top and fade into the haze at the horizon.
            gestosc = max(0.0, (n - 0.52) / 0.3) * (0.35 + 0.65 * math.sin(math.pi * min(1.0, t * 1.1)))
            gestosc = min(1.0, gestosc)
            jasnosc = 245 - 40 * max(0.0, n - 0.7)  # darker cores
            r, g, b = (c + (jasnosc - c) * gestosc for c in niebo)
            wiersz += bytes((int(b), int(g), int(r)))  # BMP stores blue, green, red
        wiersz += b"\0" * ((4 - len(wiersz) % 4) % 4)
        wiersze.append(bytes(wiersz))
    dane = b"".join(reversed(wiersze))  # bottom row first
    naglowek = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(dane), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SZEROKOSC, WYSOKOSC, 1, 24, 0, len(dane), 2835, 2835, 0, 0)
    with open(wyjscie, "wb") as f:
        f.write(naglowek + info + dane)


if __name__ == "__main__":
    main()
