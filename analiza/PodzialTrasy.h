// The road's corridor cut along the route into bands of chainage and the
// narrow strips the bands are made of, for the checks that sum something over
// the plan of a surface by chainage (drainage, earthworks).
//
// A plan point's chainage is that of its foot on the route line. The corridor
// is cut by the normals of the route at sample stations: every band boundary
// (0, K, 2K, ... and the route's end) and enough stations between them that
// the route turns by at most KatPaska between two (and they lie at most
// NajdluzszyPasek apart). Strip i lies between the normals at stations i and
// i + 1, at most the half-width W from the route: its sides are the chords
// between the points W to the left (right) at both stations. Where the two
// normals meet on one side closer than W (the inside of a bend sharper than W)
// the strip ends at their meeting point on that side. Each strip is the
// intersection of at most four half-planes, so clipping a polygon to it is
// exact; the chords stand for the curved route within a few millimetres.
//
// Chainages here are the route's own (0 at its start); a display adds the
// route's start chainage. Coordinates are the local ones of the meshes.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/Rownolegle.h"
#include "model/Typy.h"

// Progress of a check over a surface: triangles done and their total. Called on the calling
// thread only.
using TPostepAnalizy = std::function<void(std::int64_t zrobione, std::int64_t wszystkie)>;

// The largest turn of the route between two sample stations, rad.
constexpr double KatPaska = 0.01;
// The longest strip, m.
constexpr double NajdluzszyPasek = 5.0;

// A sample station: chainage, route point and unit tangent (direction of travel).
struct TPrzekrojPodzialu {
    double S = 0;
    double X = 0, Y = 0;
    double Tx = 1, Ty = 0;
};

// One edge of a strip: the part a*x + b*y + c >= 0 is inside.
struct TPolplaszczyzna {
    double A = 0, B = 0, C = 0;
};

// A convex polygon of a few vertices (a triangle clipped by a strip, by a side of the axis and by a
// triangle of the other surface has at most 3 + 8 of them).
struct TWielokat {
    static constexpr int Najwiecej = 16;
    int Ile = 0;
    double X[Najwiecej] = {}, Y[Najwiecej] = {};
};

struct TPodzialTrasy {
    double Szerokosc = 0;                      // W, m
    std::vector<double> Granice;               // band j is [Granice[j], Granice[j + 1])
    std::vector<TPrzekrojPodzialu> Przekroje;  // the sample stations in chainage order
    std::vector<std::int32_t> PrzedzialPaska;  // for strip i (between stations i and i + 1): its band
    // Strip i: Krawedzie[4 i .. 4 i + IleKrawedzi[i]) are its half-planes; Os[i] has the strip's left
    // (a*x + b*y + c >= 0) on the left of the route.
    std::vector<TPolplaszczyzna> Krawedzie;
    std::vector<std::uint8_t> IleKrawedzi;
    std::vector<TPolplaszczyzna> Os;
    // A uniform grid of cells of side Komorka from (Xmin, Ymin) listing the strips whose box
    // touches each cell: cell k's are PaskiKomorek[Poczatki[k] .. Poczatki[k + 1]).
    double Xmin = 0, Ymin = 0, Komorka = 1;
    std::int32_t IleKolumn = 0, IleWierszy = 0;
    std::vector<std::uint32_t> Poczatki;
    std::vector<std::int32_t> PaskiKomorek;

    std::int32_t IlePaskow() const { return static_cast<std::int32_t>(PrzedzialPaska.size()); }
    std::int32_t IlePrzedzialow() const { return Granice.empty() ? 0 : static_cast<std::int32_t>(Granice.size()) - 1; }
    bool Pusty() const { return PrzedzialPaska.empty(); }
};

// The division of a built route into bands of length krok ([0, K), [K, 2K), ..., the last one
// ending at the route's end) of half-width szerokosc. Raises BladKonwersji for a step or width
// that is not a positive number (or so small that the bands would run into the tens of
// millions); empty when the route is not built.
TPodzialTrasy PodzielTrase(const DaneUstawieniaTrasy& trasa, double krok, double szerokosc);

// The same from sample stations already made (the first and last are the route's ends) and
// band boundaries among them: tests and callers with a route line of their own.
TPodzialTrasy PodzielLinie(std::vector<TPrzekrojPodzialu> przekroje, const std::vector<double>& granice,
                           double szerokosc);

// Keeps the part of w where a*x + b*y + c >= 0.
void Przytnij(TWielokat& w, const TPolplaszczyzna& p);
// Clips w to strip i.
void PrzytnijDoPaska(const TPodzialTrasy& podzial, std::int32_t i, TWielokat& w);
// Plan area and centroid of a polygon (counter-clockwise or not: the area is positive).
double PolePowierzchni(const TWielokat& w, double* xs = nullptr, double* ys = nullptr);
// The strips whose cells the box [x0, x1] x [y0, y1] touches, each once, in order (into `paski`).
void PaskiWPudelku(const TPodzialTrasy& podzial, double x0, double y0, double x1, double y1,
                   std::vector<std::int32_t>& paski);

// Runs f(od, do_, polowa) over the records [0, n) in portions of PorcjaAnalizy, each portion split
// in two halves run at once (polowa 0 on this thread, 1 on a second one; one thread does all as
// half 0 where a second cannot be had). Between the portions it reports progress and looks at
// `przerwij`: false when the work was cancelled. f must be safe on two disjoint ranges at once.
constexpr std::size_t PorcjaAnalizy = std::size_t{1} << 16;
template <typename F>
bool PrzejdzNaDwochWatkach(std::size_t n, F&& f, const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
    for (std::size_t od = 0; od < n; od += PorcjaAnalizy) {
        if (przerwij && przerwij->load()) return false;
        const std::size_t ile = std::min(PorcjaAnalizy, n - od);
        NaDwochWatkach(
            ile, [&](std::size_t a, std::size_t b) { f(od + a, od + b, a == 0 ? 0 : 1); }, 1024);
        if (postep) postep(static_cast<std::int64_t>(od + ile), static_cast<std::int64_t>(n));
    }
    return !(przerwij && przerwij->load());
}
