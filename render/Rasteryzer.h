// The program's own rasterizer: flat filled polygons with a one-pixel outline,
// lines, rectangles and a stretched picture, drawn straight into a 32-bit
// pixel buffer (0xFFRRGGBB, the layout of an RGB32 image), in call order.
//
// Sampling rule. Pixel (px, py) stands for the lattice point (px, py) — its
// top-left corner. Vertices are integers, so a vertex is exactly a pixel.
//  * Fill: a pixel is filled when its lattice point lies inside the polygon
//    (even-odd rule). A point exactly on an edge belongs to the polygon when
//    the edge is a left or top edge: rows are taken half-open [ymin, ymax) on
//    every edge, columns half-open [xleft, xright) on every span. Polygons
//    that share an edge therefore fill every pixel along it exactly once, and
//    a rectangle (x1, y1)-(x2, y2) fills columns x1..x2-1, rows y1..y2-1.
//  * Line and outline: an edge from A to B is walked along its major axis
//    (the axis with the larger extent); at each step the minor coordinate is
//    the lattice point nearest the exact edge, halves rounded towards larger
//    coordinates: minor = floor(edge(major) + 1/2). The choice depends only
//    on the point of the edge, not on the direction, so A->B and B->A light
//    the same pixels. A line excludes its last pixel (move-to, line-to); a
//    closed outline therefore lights every vertex exactly once.
//  * Consequence: every outline pixel lies within half a pixel (along the
//    minor axis) of its edge, and every lattice point of the closed polygon —
//    interior and boundary — is painted by the fill or the outline, so no
//    background shows between them.
//
// Coordinates may be anything an int holds; arithmetic is 64-bit (128-bit for
// the few start values of a clipped edge), and every primitive is clipped to
// the buffer before it is walked, so the cost follows the visible area.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/Typy.h"
#include "render/Plotno.h"

// A 32-bit pixel buffer owned by the caller. Krok is the row stride in pixels.
// Only rows Gora..Wysokosc-1 are written: a band of the picture, which one
// thread can draw while another draws the rest. Every primitive lights in a
// band exactly the pixels it lights there in the whole picture.
struct TBuforPikseli {
    std::uint32_t* Piksele = nullptr;
    int Szerokosc = 0;
    int Wysokosc = 0;
    int Krok = 0;
    int Gora = 0;
};

// 0x00BBGGRR colour to an opaque 0xFFRRGGBB pixel (the top byte is ignored).
inline std::uint32_t PikselKoloru(TKolor kolor) {
    return 0xFF000000u | ((kolor & 0xFFu) << 16) | (kolor & 0xFF00u) | ((kolor >> 16) & 0xFFu);
}

// Fills the polygon (even-odd rule) with the pixel value.
void WypelnijWielokat(const TBuforPikseli& bufor, const TPunktEkranu* punkty, int ile, std::uint32_t piksel);
// Draws the closed outline: every edge with its last pixel excluded. A polygon
// whose vertices all coincide lights that one pixel.
void ObrysujWielokat(const TBuforPikseli& bufor, const TPunktEkranu* punkty, int ile, std::uint32_t piksel);
// Fill, then outline.
void RysujWielokat(const TBuforPikseli& bufor, const TPunktEkranu* punkty, int ile, std::uint32_t wypelnienie,
                   std::uint32_t obrys);
// One-pixel line from (x1, y1) to (x2, y2), the last pixel excluded.
void RysujLinie(const TBuforPikseli& bufor, int x1, int y1, int x2, int y2, std::uint32_t piksel);
// Columns x1..x2-1, rows y1..y2-1 (corners in any order) filled with
// `wypelnienie`, their outermost rows and columns drawn with `obrys`.
void RysujProstokat(const TBuforPikseli& bufor, int x1, int y1, int x2, int y2, std::uint32_t wypelnienie,
                    std::uint32_t obrys);
// The picture stretched, nearest neighbour, into columns lewa..prawa-1 and rows
// gora..dol-1. A rectangle given right-to-left or bottom-to-top shows the
// picture mirrored along that axis.
void KopiujRozciagniety(const TBuforPikseli& bufor, int lewa, int gora, int prawa, int dol, const TObraz& obraz);

// The canvas over a pixel buffer: everything but text, which it hands to the
// function given (the windowed program draws it with its own fonts).
class TPlotnoRastrowe : public TPlotno {
public:
    // Text callback: position, UTF-8 text and the brush as a 0xFFRRGGBB pixel.
    using TPisanieTekstu = std::function<void(int x, int y, const std::string& tekst, std::uint32_t tlo)>;

    TPlotnoRastrowe() = default;
    explicit TPlotnoRastrowe(const TBuforPikseli& bufor) : Bufor(bufor) {}

    void UstawBufor(const TBuforPikseli& bufor) { Bufor = bufor; }
    const TBuforPikseli& BuforPikseli() const { return Bufor; }
    // The colour that clBtnFace stands for (0x00BBGGRR); light grey by default.
    void UstawKolorPrzycisku(TKolor kolor) {
        KolorPrzycisku = kolor;
        Pioro = Rozwiaz(KolorPiora);
        Pedzel = Rozwiaz(KolorPedzla);
    }
    void UstawPisanieTekstu(TPisanieTekstu pisanie) { PisanieTekstu = std::move(pisanie); }

    void UstawPioro(TKolor kolor) override {
        KolorPiora = kolor;
        Pioro = Rozwiaz(kolor);
    }
    void UstawPedzel(TKolor kolor) override {
        KolorPedzla = kolor;
        Pedzel = Rozwiaz(kolor);
    }
    void Prostokat(int x1, int y1, int x2, int y2) override;
    void Wielokat(const TPunktEkranu* punkty, int ile) override;
    void Linia(int x1, int y1, int x2, int y2) override;
    void Tekst(int x, int y, const std::string& tekst) override;
    void RozciagnijObraz(int lewa, int gora, int prawa, int dol, const TObraz& obraz) override;

    std::uint32_t PikselPiora() const { return Pioro; }
    std::uint32_t PikselPedzla() const { return Pedzel; }

private:
    std::uint32_t Rozwiaz(TKolor kolor) const { return PikselKoloru(kolor == clBtnFace ? KolorPrzycisku : kolor); }

    TBuforPikseli Bufor;
    TKolor KolorPrzycisku = 0x00F0F0F0u;
    TKolor KolorPiora = 0x00000000u;
    TKolor KolorPedzla = 0x00FFFFFFu;
    std::uint32_t Pioro = 0xFF000000u;
    std::uint32_t Pedzel = 0xFFFFFFFFu;
    TPisanieTekstu PisanieTekstu;
};
