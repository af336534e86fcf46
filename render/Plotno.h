// The drawing surface of the renderer: the few operations a frame needs.
// The program draws through a Qt implementation over an image; tests may
// record the calls instead.
#pragma once

#include <cstdint>
#include <string>

#include "model/Typy.h"

struct TPunktEkranu {
    int X = 0;
    int Y = 0;
};

class TPlotno {
public:
    virtual ~TPlotno() = default;

    // Pen (outline, line) and brush (fill, text background) colours, 0x00BBGGRR;
    // clBtnFace stands for the system's button-face colour.
    virtual void UstawPioro(TKolor kolor) = 0;
    virtual void UstawPedzel(TKolor kolor) = 0;
    // Rectangle from (x1, y1) to (x2, y2), right and bottom edges excluded:
    // filled with the brush and framed with the one-pixel pen.
    virtual void Prostokat(int x1, int y1, int x2, int y2) = 0;
    // Closed polygon: filled with the brush, edges drawn with the one-pixel pen.
    virtual void Wielokat(const TPunktEkranu* punkty, int ile) = 0;
    // Line with the pen from (x1, y1) to (x2, y2), the last pixel excluded (move-to, line-to).
    virtual void Linia(int x1, int y1, int x2, int y2) = 0;
    // Text (UTF-8) in black with the canvas font, its background filled with the brush,
    // its top-left corner at (x, y).
    virtual void Tekst(int x, int y, const std::string& tekst) = 0;
    // The picture stretched into the rectangle (left, top) - (right, bottom), right and bottom excluded.
    virtual void RozciagnijObraz(int lewa, int gora, int prawa, int dol, const TObraz& obraz) = 0;
};
