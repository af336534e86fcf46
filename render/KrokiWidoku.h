// The steps that the cuts and sorts, the view operations and the placing of
// the view share: the sorts' scratch arrays, the cut of one record, the walk
// over every vertex and the per-vertex steps of moving, zooming and turning.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "common/Sortowanie.h"
#include "render/RysujPerspektywa.h"

namespace widok {

constexpr double kPi = std::numbers::pi;

// The scratch array into which a cut or a sort writes its result; after the
// swap it holds the previous array's memory, ready for the next call (a small
// array copies its result back instead: OddajWynik).
std::vector<TTrojkatRys>& Bufor(const std::vector<TTrojkatRys>&);
std::vector<TCzworokatRys>& Bufor(const std::vector<TCzworokatRys>&);

// The arrays are ordered by descending key with the program's one stable sort
// (common/Sortowanie.h).
template <typename R, typename KluczFn>
void Sortuj(std::vector<R>& tab, KluczFn klucz) {
    SortujMalejaco(tab, klucz, Bufor(tab), BuforyWidoku.Klucze);
}

// The records' depth keys in the driver's view, then the array sorted by them.
void KorektaLOkoZbioru(std::vector<TTrojkatRys>& tab);
// The driver's depth key of a ground triangle (its farthest vertex).
float KluczOkoTerenu(const TTrojkatRys& r);
// The driver's depth key of any other triangle (its centre).
float KluczOkoTrojkata(const TTrojkatRys& r);

constexpr double kMinPole = 0.1;

// Cuts one record at depth c, keeping what lies beyond it (Ymin) or before it
// (Ymax), and hands every kept record or piece to `dalej`, in order. Pieces
// stand where their source stood; only pieces are tested against the 0.1 area.
template <bool Ymin, typename Dalej>
inline void TnijRekord(const TTrojkatRys& zr, double c, bool tnij, Dalej&& dalej) {
    auto wewnatrz = [c](double y) { return Ymin ? y > c : y < c; };
    const bool w1 = wewnatrz(zr.P1.Y), w2 = wewnatrz(zr.P2.Y), w3 = wewnatrz(zr.P3.Y);
    const int k = int(w1) + int(w2) + int(w3);
    if (k == 3) {
        dalej(zr);
        return;
    }
    if (k == 0 || !tnij) return;
    if (k == 2) {
        // The one vertex outside goes to the front, the winding stays.
        TTrojkatRys r = zr;
        if (!w2) r = ObrocWierzcholki(r, 2);
        if (!wewnatrz(r.P3.Y)) r = ObrocWierzcholki(r, 1);
        const TPunkt3D q1 = r.P1, q2 = r.P2, q3 = r.P3;
        const TPunkt3D a = PunktNaGlebokosci(q1, q2, c);
        const TPunkt3D b = PunktNaGlebokosci(q1, q3, c);
        r.P1 = q3;
        r.P2 = b;
        r.P3 = a;
        if (PolePoziome(r) > kMinPole) dalej(r);
        r.P1 = q3;
        r.P2 = a;
        r.P3 = q2;
        if (PolePoziome(r) > kMinPole) dalej(r);
    } else {
        // k == 1: the two outer vertices move, each in its own place, onto depth c.
        TTrojkatRys r = zr;
        const TPunkt3D v = w1 ? zr.P1 : (w2 ? zr.P2 : zr.P3);
        if (!w1) r.P1 = PunktNaGlebokosci(v, zr.P1, c);
        if (!w2) r.P2 = PunktNaGlebokosci(v, zr.P2, c);
        if (!w3) r.P3 = PunktNaGlebokosci(v, zr.P3, c);
        if (PolePoziome(r) > kMinPole) dalej(r);
    }
}

// The cut of every record at depth c, keeping what lies beyond it (Ymin) or before it.
template <bool Ymin>
void Tnij(std::vector<TTrojkatRys>& tab, double c) {
    const bool tnij = Rzut.TnijTroj;
    auto& wynik = BuforyWidoku.Trojkaty;
    wynik.clear();
    wynik.reserve(tab.size() + tab.size() / 8);
    for (const TTrojkatRys& zr : tab)
        TnijRekord<Ymin>(zr, c, tnij, [&wynik](const TTrojkatRys& r) { wynik.push_back(r); });
    OddajWynik(tab, wynik);
}

// The near cut and then the far cut in one pass: every piece of the near cut
// goes straight on to the far cut, so the result and its order are those of
// the two cuts made one after the other.
void TnijObie(std::vector<TTrojkatRys>& tab, double cMin, double cMax, bool tnij = Rzut.TnijTroj);

// Calls f on every vertex of the three render arrays.
template <typename F>
void KazdyWierzcholek(F f) {
    for (auto& r : TrojkatyTEREN) {
        f(r.P1);
        f(r.P2);
        f(r.P3);
    }
    for (auto& r : TrojkatyPROJ) {
        f(r.P1);
        f(r.P2);
        f(r.P3);
    }
    for (auto& r : Czworokaty) {
        f(r.P1);
        f(r.P2);
        f(r.P3);
        f(r.P4);
    }
    for (auto& r : TrojkatySlupkow) {
        f(r.P1);
        f(r.P2);
        f(r.P3);
    }
    for (auto& n : NapisySlupkow) f(n.P);
}

// The station labels whose anchor lies between the two depths.
void TnijNapisy(double cMin, double cMax);

// A turn smaller than this (radians) is no turn.
constexpr double kMinKat = 0.001;

// The per-vertex steps of the view operations. The operations below run each
// over the arrays on its own; placing the view at the route runs three of
// them on every vertex in one pass, with the same arithmetic.
struct TPrzesuniecie {
    double dx, dy, dz;
    void operator()(TPunkt3D& p) const {
        p.X += dx;
        p.Y += dy;
        p.Z += dz;
    }
};

struct TSkalowanie {
    double cx, cy, cz, k;
    void operator()(TPunkt3D& p) const {
        p.X = (p.X - cx) * k + cx;
        p.Y = (p.Y - cy) * k + cy;
        p.Z = (p.Z - cz) * k + cz;
    }
};

// The scene is turned with the rotation matrix of each angle rather than
// through the polar form of ObrocXY: the same turn without an arctangent,
// sine and cosine per vertex. The two differ only where KatKierunku snaps a
// direction lying within 0.0001 of an axis onto that axis, which moves a point
// by less than 0.0002 of a pixel. The three turns are applied to each vertex
// in their fixed order, which gives the same result as three passes.
struct TObrot {
    double cx, cy, cz;
    bool xy, xz, yz;
    double c1, s1, c2, s2, c3, s3;

    TObrot(double cx_, double cy_, double cz_, double kXY, double kXZ, double kYZ)
        : cx(cx_), cy(cy_), cz(cz_), xy(std::fabs(kXY) > kMinKat), xz(std::fabs(kXZ) > kMinKat),
          yz(std::fabs(kYZ) > kMinKat), c1(std::cos(kXY)), s1(std::sin(kXY)), c2(std::cos(kXZ)), s2(std::sin(kXZ)),
          c3(std::cos(kYZ)), s3(std::sin(kYZ)) {}
    bool Cokolwiek() const { return xy || xz || yz; }
    void operator()(TPunkt3D& p) const {
        if (xy) {
            const double dx = p.X - cx, dy = p.Y - cy;
            p.X = cx + (dx * c1 - dy * s1);
            p.Y = cy + (dx * s1 + dy * c1);
        }
        if (xz) {
            const double dx = p.X - cx, dz = p.Z - cz;
            p.X = cx + (dx * c2 - dz * s2);
            p.Z = cz + (dx * s2 + dz * c2);
        }
        if (yz) {
            const double dy = p.Y - cy, dz = p.Z - cz;
            p.Y = cy + (dy * c3 - dz * s3);
            p.Z = cz + (dy * s3 + dz * c3);
        }
    }
};

}  // namespace widok
