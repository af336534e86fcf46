// Cutting of the triangle arrays at a near and a far depth, the depth sorts
// that put the render arrays into far-to-near order, and the view operations
// that move, zoom and turn the scene in place.
//
// Every operation here is one pass over the arrays. Cutting and sorting build
// their result in a buffer that is kept from call to call and then swapped
// with the array, so no record is allocated on its own.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>

#include "common/Rownolegle.h"
#include "common/Sortowanie.h"
#include "render/Kadr.h"
#include "render/RysujPerspektywa.h"

TBuforyWidoku BuforyWidoku;

void ZwolnijBuforyWidoku() { BuforyWidoku = TBuforyWidoku{}; }

void WyczyscBlokiSiatek() { BuforyWidoku.BlokiTEREN = BuforyWidoku.BlokiPROJ = TBlokiSiatki{}; }

namespace {

constexpr double kPi = std::numbers::pi;

// The scratch array into which a cut or a sort writes its result; after the
// swap it holds the previous array's memory, ready for the next call.
std::vector<TTrojkatRys>& Bufor(const std::vector<TTrojkatRys>&) { return BuforyWidoku.Trojkaty; }
std::vector<TCzworokatRys>& Bufor(const std::vector<TCzworokatRys>&) { return BuforyWidoku.Czworokaty; }

// ---- Depth sorts ----
//
// The arrays are ordered by descending key with the program's one stable sort
// (common/Sortowanie.h).

template <typename R, typename KluczFn>
void Sortuj(std::vector<R>& tab, KluczFn klucz) {
    SortujMalejaco(tab, klucz, Bufor(tab), BuforyWidoku.Klucze);
}

float KluczYminTrojkata(const TTrojkatRys& r) {
    const double m = std::min({r.P1.Y, r.P2.Y, r.P3.Y});
    return static_cast<float>(m + 0.3 * ((r.P1.Y - m) + (r.P2.Y - m) + (r.P3.Y - m)) -
                              0.1 * (r.P1.Z + r.P2.Z + r.P3.Z));
}

float KluczOkoTrojkata(const TTrojkatRys& r) {
    const double gx = (r.P1.X + r.P2.X + r.P3.X) / 3.0;
    const double gy = (r.P1.Y + r.P2.Y + r.P3.Y) / 3.0;
    const double gz = (r.P1.Z + r.P2.Z + r.P3.Z) / 3.0;
    const double dx = gx - Rzut.OkoX, dy = gy - Rzut.OkoY, dz = gz - Rzut.OkoZ;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

float KluczYminCzworokata(const TCzworokatRys& r) {
    const double m = std::min({r.P1.Y, r.P2.Y, r.P3.Y, r.P4.Y});
    return static_cast<float>(m + 0.3 * ((r.P1.Y - m) + (r.P2.Y - m) + (r.P3.Y - m) + (r.P4.Y - m)));
}

void KorektaYminZbioru(std::vector<TTrojkatRys>& tab) {
    for (auto& r : tab) r.KluczYmin = KluczYminTrojkata(r);
    Sortuj(tab, [](const TTrojkatRys& r) { return r.KluczYmin; });
}

void KorektaLOkoZbioru(std::vector<TTrojkatRys>& tab) {
    for (auto& r : tab) r.KluczOko = KluczOkoTrojkata(r);
    Sortuj(tab, [](const TTrojkatRys& r) { return r.KluczOko; });
}

// ---- Cutting ----

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
void TnijObie(std::vector<TTrojkatRys>& tab, double cMin, double cMax, bool tnij = Rzut.TnijTroj) {
    auto& wynik = BuforyWidoku.Trojkaty;
    wynik.clear();
    wynik.reserve(tab.size() + tab.size() / 8);
    auto doWyniku = [&wynik](const TTrojkatRys& r) { wynik.push_back(r); };
    for (const TTrojkatRys& zr : tab)
        TnijRekord<true>(zr, cMin, tnij, [&](const TTrojkatRys& r) { TnijRekord<false>(r, cMax, tnij, doWyniku); });
    OddajWynik(tab, wynik);
}

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
void TnijNapisy(double cMin, double cMax) {
    std::erase_if(NapisySlupkow, [=](const TNapisRys& n) { return !(n.P.Y > cMin && n.P.Y < cMax); });
}

constexpr double kMinKat = 0.001;

}  // namespace

std::vector<TTrojkatRys>& TrojkatyZbioru(TZbior zbior) { return zbior == TZbior::TEREN ? TrojkatyTEREN : TrojkatyPROJ; }

TPunkt3D PunktNaGlebokosci(const TPunkt3D& a, const TPunkt3D& b, double c) {
    const double d = b.Y - a.Y;
    if (!(std::fabs(d) > 0.001)) return a;
    TPunkt3D p = a + (b - a) * ((c - a.Y) / d);
    p.Y = c;
    return p;
}

TTrojkatRys ObrocWierzcholki(const TTrojkatRys& r, int k) {
    TTrojkatRys w = r;
    if (k == 1) {
        w.P1 = r.P3;
        w.P2 = r.P1;
        w.P3 = r.P2;
    } else if (k == 2) {
        w.P1 = r.P2;
        w.P2 = r.P3;
        w.P3 = r.P1;
    }
    return w;
}

double PolePoziome(const TTrojkatRys& r) {
    return 0.5 * std::fabs((r.P2.X - r.P1.X) * (r.P3.Y - r.P1.Y) - (r.P3.X - r.P1.X) * (r.P2.Y - r.P1.Y));
}

void TnijYmin(TZbior zbior, double c) { Tnij<true>(TrojkatyZbioru(zbior), c); }

void TnijYmax(TZbior zbior, double c) { Tnij<false>(TrojkatyZbioru(zbior), c); }

void TnijWidok() {
    if (Rzut.TnijTroj) {
        // Near cut of PROJ and TEREN, then far cut of both: each set is cut
        // on its own, so both cuts of one set go in one pass.
        TnijObie(TrojkatyPROJ, Rzut.OdlTnijYmin, Rzut.OdlTnijYmax);
        TnijObie(TrojkatyTEREN, Rzut.OdlTnijYmin, Rzut.OdlTnijYmax);
        TnijObie(TrojkatySlupkow, Rzut.OdlTnijYmin, Rzut.OdlTnijYmax);
        TnijNapisy(Rzut.OdlTnijYmin, Rzut.OdlTnijYmax);
    } else {
        TnijYmin(TZbior::PROJ, -1000.0);
        TnijYmin(TZbior::TEREN, -1000.0);
        Tnij<true>(TrojkatySlupkow, -1000.0);
        TnijNapisy(-1000.0, HUGE_VAL);
    }
}

void KorektaYmin() {
    KorektaYminZbioru(TrojkatyPROJ);
    KorektaYminZbioru(TrojkatyTEREN);
}

namespace {

// The driver's depth key of a ground triangle: the distance of its farthest
// vertex. Ground triangles are large and run under the road; keyed by their
// far end they are drawn before the road that lies on them, while a hill in
// front of the road still comes after the road behind it.
float KluczOkoTerenu(const TTrojkatRys& r) {
    auto d = [](const TPunkt3D& p) {
        const double dx = p.X - Rzut.OkoX, dy = p.Y - Rzut.OkoY, dz = p.Z - Rzut.OkoZ;
        return dx * dx + dy * dy + dz * dz;
    };
    return static_cast<float>(std::sqrt(std::max({d(r.P1), d(r.P2), d(r.P3)})));
}

}  // namespace

void KorektaLOko() {
    KorektaLOkoZbioru(TrojkatyPROJ);
    KorektaLOkoZbioru(TrojkatyTEREN);
}

void KorektaLOkoSlupkow() { KorektaLOkoZbioru(TrojkatySlupkow); }

void SortujCzworokaty() {
    for (auto& r : Czworokaty) r.KluczYmin = KluczYminCzworokata(r);
    Sortuj(Czworokaty, [](const TCzworokatRys& r) { return r.KluczYmin; });
}

// ---- View operations ----

double KatKierunku(double dx, double dy) {
    constexpr double e = 0.0001;
    if (std::fabs(dx) < e && std::fabs(dy) < e) return 0.0;
    if (std::fabs(dy) < e && dx < 0) return kPi;
    if (std::fabs(dx) < e && dy > 0) return kPi / 2;
    if (std::fabs(dx) < e && dy < 0) return 3 * kPi / 2;
    const double a = std::atan(dy / dx);
    if (dx < 0) return a + kPi;
    if (dx > 0 && dy < 0) return a + 2 * kPi;
    return a;
}

// The turn of one point through its polar coordinates about the centre.
TPunkt3D ObrocXY(const TPunkt3D& p, double cx, double cy, double k) {
    const double dx = p.X - cx, dy = p.Y - cy;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r <= 1e-9) return {cx, cy, p.Z};
    const double fi = KatKierunku(dx, dy) + k;
    return {cx + r * std::cos(fi), cy + r * std::sin(fi), p.Z};
}

TPunkt3D ObrocXZ(const TPunkt3D& p, double cx, double cz, double k) {
    const double dx = p.X - cx, dz = p.Z - cz;
    const double r = std::sqrt(dx * dx + dz * dz);
    if (r <= 1e-9) return {cx, p.Y, cz};
    const double fi = KatKierunku(dx, dz) + k;
    return {cx + r * std::cos(fi), p.Y, cz + r * std::sin(fi)};
}

TPunkt3D ObrocYZ(const TPunkt3D& p, double cy, double cz, double k) {
    const double dy = p.Y - cy, dz = p.Z - cz;
    const double r = std::sqrt(dy * dy + dz * dz);
    if (r <= 1e-9) return {p.X, cy, cz};
    const double fi = KatKierunku(dy, dz) + k;
    return {p.X, cy + r * std::cos(fi), cz + r * std::sin(fi)};
}

namespace {

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

}  // namespace

void Przesun(double dx, double dy, double dz) {
    Rzut.PrzesunX += dx;
    Rzut.PrzesunY += dy;
    Rzut.PrzesunZ += dz;
    KazdyWierzcholek(TPrzesuniecie{dx, dy, dz});
}

void Skaluj(double cx, double cy, double cz, double k) { KazdyWierzcholek(TSkalowanie{cx, cy, cz, k}); }

void Obroc(double cx, double cy, double cz, double kXY, double kXZ, double kYZ) {
    const TObrot obrot(cx, cy, cz, kXY, kXZ, kYZ);
    if (!obrot.Cokolwiek()) return;
    KazdyWierzcholek(obrot);
    if (obrot.xy) Rzut.ObrotX += kXY;
    if (obrot.xz) Rzut.ObrotY += kXZ;
    if (obrot.yz) Rzut.ObrotZ += kYZ;
}

// ---- Placing the view ----

void UmiescNaTrasie() {
    // Move, zoom and turn, each vertex through the three steps in one pass;
    // the totals the separate operations would add up are set back to 0 below.
    const double srodek = Rzut.PolEkranX;
    const TPrzesuniecie przesuniecie{srodek - Rzut.TrasaX, -Rzut.TrasaY, 0.0};
    const TSkalowanie skalowanie{srodek, 0.0, 0.0, Rzut.skala};
    const TObrot obrot(srodek, 0.0, 0.0, kPi / 2 - Rzut.katT, 0.0, 0.0);
    KazdyWierzcholek([&](TPunkt3D& p) {
        przesuniecie(p);
        skalowanie(p);
        obrot(p);
    });
    TnijWidok();
    PrzeliczRzut();
    Rzut.PrzesunX = Rzut.PrzesunY = Rzut.PrzesunZ = 0.0;
    Rzut.ObrotX = Rzut.ObrotY = Rzut.ObrotZ = 0.0;
    Rzut.WidokKierowcy = false;
    Rzut.PochylenieOka = 0.0;
}

namespace {

// The driver's placing as one step of each vertex: move the eye to the
// origin, zoom by k, turn the direction of travel to +Y, tilt the grade up to
// level, move the origin to the observer. The turns are exact (no angle is
// too small to apply), so the picture changes smoothly with the chainage.
struct TKrokOka {
    double k, ex, ey, ez, c1, s1, c3, s3, ox, oy, oz;
    void operator()(TPunkt3D& p) const {
        const double x = (p.X - ex) * k, y = (p.Y - ey) * k, z = (p.Z - ez) * k;
        const double x1 = x * c1 - y * s1, y1 = x * s1 + y * c1;
        p.X = ox + x1;
        p.Y = oy + (y1 * c3 - z * s3);
        p.Z = oz + (y1 * s3 + z * c3);
    }
};

// The boxes of the set's blocks, made when missing (see TBlokiSiatki); none
// when the skipping is off.
const std::vector<TPudelkoBloku>* BlokiSiatki(const TSiatka& siatka) {
    const std::size_t rozmiar = BuforyWidoku.RozmiarBloku;
    if (rozmiar == 0) return nullptr;
    TBlokiSiatki& b = &siatka == &PROJ ? BuforyWidoku.BlokiPROJ : BuforyWidoku.BlokiTEREN;
    const std::vector<TTrojkat>& t = siatka.Trojkaty;
    if (b.Dane == t.data() && b.IleTrojkatow == t.size() && b.Rozmiar == rozmiar) return &b.Pudelka;
    b.Pudelka.assign((t.size() + rozmiar - 1) / rozmiar, TPudelkoBloku{});
    NaDwochWatkach(
        b.Pudelka.size(),
        [&](std::size_t od, std::size_t do_) {
            for (std::size_t k = od; k < do_; ++k) {
                TPudelkoBloku& p = b.Pudelka[k];
                double x0 = HUGE_VAL, y0 = HUGE_VAL, z0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL, z1 = -HUGE_VAL;
                bool skonczone = true;
                for (std::size_t i = k * rozmiar; i < std::min(t.size(), (k + 1) * rozmiar); ++i) {
                    const TTrojkat& r = t[i];
                    for (const double* v : {&r.X1, &r.X2, &r.X3}) x0 = std::min(x0, *v), x1 = std::max(x1, *v);
                    for (const double* v : {&r.Y1, &r.Y2, &r.Y3}) y0 = std::min(y0, *v), y1 = std::max(y1, *v);
                    for (const double* v : {&r.Z1, &r.Z2, &r.Z3}) z0 = std::min(z0, *v), z1 = std::max(z1, *v);
                    skonczone = skonczone &&
                                std::isfinite(r.X1 + r.X2 + r.X3 + r.Y1 + r.Y2 + r.Y3 + r.Z1 + r.Z2 + r.Z3);
                }
                p = {x0, y0, z0, x1, y1, z1, skonczone && std::isfinite(x0 + y0 + z0 + x1 + y1 + z1)};
            }
        },
        64);
    b.Dane = t.data();
    b.IleTrojkatow = t.size();
    b.Rozmiar = rozmiar;
    return &b.Pudelka;
}

// Does the affine step `krok` (a view's placing of a vertex) take every point
// of the box to a depth (Y) at or before cMin, or (with `dalej`) every point
// to a depth at or beyond cMax and beyond cMin? The cuts would then drop each
// of the block's triangles whole. The depths of an affine step over a box are
// extreme at its corners; the margin covers the rounding of the step, so a
// block that only nearly meets the band is placed triangle by triangle.
template <typename Krok>
bool PozaPasem(const TPudelkoBloku& p, const Krok& krok, double cMin, double cMax, bool dalej) {
    if (!p.Skonczone) return false;
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (int k = 0; k < 8; ++k) {
        TPunkt3D q{k & 1 ? p.X1 : p.X0, k & 2 ? p.Y1 : p.Y0, k & 4 ? p.Z1 : p.Z0};
        krok(q);
        lo = std::min(lo, q.Y);
        hi = std::max(hi, q.Y);
    }
    // The size of the numbers the step works with: its value at the origin,
    // its gain along each axis times the box's largest coordinate.
    TPunkt3D o{0, 0, 0}, ex{1, 0, 0}, ey{0, 1, 0}, ez{0, 0, 1};
    krok(o), krok(ex), krok(ey), krok(ez);
    auto dl = [&o](const TPunkt3D& a) { return std::fabs(a.X - o.X) + std::fabs(a.Y - o.Y) + std::fabs(a.Z - o.Z); };
    const double najwieksza = std::max(
        {std::fabs(p.X0), std::fabs(p.X1), std::fabs(p.Y0), std::fabs(p.Y1), std::fabs(p.Z0), std::fabs(p.Z1)});
    const double skala = 1.0 + (dl(ex) + dl(ey) + dl(ez)) * najwieksza + std::fabs(o.X) + std::fabs(o.Y) +
                         std::fabs(o.Z) + std::fabs(lo) + std::fabs(hi) + std::fabs(cMin) + std::fabs(cMax);
    const double m = 1e-9 * skala;
    if (!std::isfinite(m)) return false;
    if (hi <= cMin - m) return true;
    return dalej && lo >= cMax + m && lo >= cMin + m;
}

// Does the affine step `krok` take every point of the box beyond one of the
// picture's planes? Then no triangle of the block lights a pixel of the
// picture. The margin covers the rounding of the step, as PozaPasem's does.
template <typename Krok>
bool PozaKadrem(const TPudelkoBloku& p, const Krok& krok, const TPlaszczyznyKadru& kadr) {
    if (!p.Skonczone || !kadr.Jest) return false;
    TPunkt3D q[8];
    double najwiekszaPo = 0.0;
    for (int k = 0; k < 8; ++k) {
        q[k] = {k & 1 ? p.X1 : p.X0, k & 2 ? p.Y1 : p.Y0, k & 4 ? p.Z1 : p.Z0};
        krok(q[k]);
        najwiekszaPo = std::max({najwiekszaPo, std::fabs(q[k].X), std::fabs(q[k].Y), std::fabs(q[k].Z)});
    }
    TPunkt3D o{0, 0, 0}, ex{1, 0, 0}, ey{0, 1, 0}, ez{0, 0, 1};
    krok(o), krok(ex), krok(ey), krok(ez);
    auto dl = [&o](const TPunkt3D& a) { return std::fabs(a.X - o.X) + std::fabs(a.Y - o.Y) + std::fabs(a.Z - o.Z); };
    const double najwieksza = std::max(
        {std::fabs(p.X0), std::fabs(p.X1), std::fabs(p.Y0), std::fabs(p.Y1), std::fabs(p.Z0), std::fabs(p.Z1)});
    const double skala = 1.0 + (dl(ex) + dl(ey) + dl(ez)) * najwieksza + std::fabs(o.X) + std::fabs(o.Y) +
                         std::fabs(o.Z) + najwiekszaPo;
    const double m = 1e-9 * skala;
    if (!std::isfinite(m)) return false;
    return kadr.Poza(q, 8, m);
}

// Runs `rekord(i, dalej)` on every mesh triangle i of the set, in two threads
// on a large set, and gathers what it hands to `dalej` into the set's render
// array in mesh order: the lower half's records straight into it, the upper
// half's through the scratch array. The blocks for which `pominBlok(box)`
// says so are passed over (their triangles would give nothing).
template <typename Rekord, typename PominBlok>
void ZSiatki(const TSiatka& siatka, std::vector<TTrojkatRys>& cel, Rekord rekord, PominBlok pominBlok) {
    const std::size_t n = siatka.Trojkaty.size();
    const std::vector<TPudelkoBloku>* bloki = BlokiSiatki(siatka);
    const std::size_t rozmiar = bloki ? BuforyWidoku.RozmiarBloku : n + 1;
    auto& gorna = BuforyWidoku.Trojkaty;
    cel.clear();
    gorna.clear();
    const std::size_t polowa = n >= kRekordyNaDwaWatki ? n / 2 : n;
    NaDwochWatkach(n, [&](std::size_t od, std::size_t do_) {
        std::vector<TTrojkatRys>& wynik = od == 0 ? cel : gorna;
        auto dalej = [&wynik](const TTrojkatRys& r) { wynik.push_back(r); };
        for (std::size_t i = od; i < do_;) {
            const std::size_t blok = i / rozmiar, koniec = std::min(do_, (blok + 1) * rozmiar);
            if (bloki && pominBlok((*bloki)[blok])) {
                i = koniec;
                continue;
            }
            for (; i < koniec; ++i) rekord(siatka.Trojkaty[i], dalej);
        }
    });
    if (polowa < n) cel.insert(cel.end(), gorna.begin(), gorna.end());
}

// Rebuilds a set's render array from its mesh with every vertex placed, and
// cuts it: a triangle wholly at or before the near depth, or wholly at or
// beyond the far one, is not kept at all (the cut would drop it whole), the
// rest goes through the cut. The result is that of the rebuild, the placing
// and the cut one after the other, without making and moving the records the
// cut throws away; a large set in two threads (ZSiatki keeps the mesh order).
void PrzygotujWOku(const TSiatka& siatka, std::vector<TTrojkatRys>& cel, const TKrokOka& krok, double cMin, double cMax,
                   const std::function<bool(const TTrojkat&)>& pomin, const TPlaszczyznyKadru& kadr) {
    // The PROJ triangles marked by the sight check keep their colour here too.
    std::vector<char> wyroznione;
    if (&siatka == &PROJ && !WyroznionePROJ.empty()) {
        wyroznione.assign(siatka.Trojkaty.size(), 0);
        for (std::int32_t i : WyroznionePROJ)
            if (i >= 0 && static_cast<std::size_t>(i) < wyroznione.size()) wyroznione[static_cast<std::size_t>(i)] = 1;
    }
    const bool teren = &siatka != &PROJ;
    ZSiatki(
        siatka, cel,
        [&](const TTrojkat& t, auto& dalej) {
            const std::size_t nr = static_cast<std::size_t>(&t - siatka.Trojkaty.data());
            TTrojkatRys r;
            r.P1 = {t.X1, t.Y1, t.Z1};
            r.P2 = {t.X2, t.Y2, t.Z2};
            r.P3 = {t.X3, t.Y3, t.Z3};
            krok(r.P1);
            krok(r.P2);
            krok(r.P3);
            if (!(r.P1.Y > cMin || r.P2.Y > cMin || r.P3.Y > cMin)) return;
            if (!(r.P1.Y < cMax || r.P2.Y < cMax || r.P3.Y < cMax)) return;
            if (pomin && pomin(t)) return;
            r.Kolor = (!wyroznione.empty() && wyroznione[nr]) ? KolorWyroznienia : KolorRodzaju(siatka, t.Rodzaj.Kod);
            r.KolorObrysu = r.KolorCieniowany = 0x808080u;
            // TnijObie's cuts of the record: the near one, then the far one of
            // each piece; a piece beside the picture is not kept. What is kept
            // gets its depth key and its shade here, while it is at hand (in
            // two threads), as the sort and the shading pass would give it.
            auto wKadrze = [&](const TTrojkatRys& q) {
                if (kadr.Poza(q.P1, q.P2, q.P3)) return;
                TTrojkatRys c = q;
                c.KluczOko = teren ? KluczOkoTerenu(c) : KluczOkoTrojkata(c);
                CieniujTrojkat(c);
                dalej(c);
            };
            TnijRekord<true>(r, cMin, true, [&](const TTrojkatRys& q) { TnijRekord<false>(q, cMax, true, wKadrze); });
        },
        [&](const TPudelkoBloku& p) { return PozaPasem(p, krok, cMin, cMax, true) || PozaKadrem(p, krok, kadr); });
}

}  // namespace

void UmiescWOku(const TPunkt3D& oko, double kierunek, double pochylenie, double bliska, double daleka,
                const std::function<bool(const TTrojkat&)>& pominTeren, const TKadr& kadr) {
    const double a = kPi / 2 - kierunek, b = -std::atan(pochylenie), k = Rzut.skala;
    const TKrokOka krok{k,           oko.X,       oko.Y,     oko.Z,     std::cos(a), std::sin(a),
                        std::cos(b), std::sin(b), Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ};
    // Everything at or behind the near depth goes, whatever TnijTroj says:
    // the projection mirrors what lies behind the eye.
    const double cMin = Rzut.OkoY + bliska * k, cMax = Rzut.OkoY + daleka * k;
    // (The planes only where every kept point lies well in front of the eye:
    // the projection puts a point within 0.0001 of the eye's depth on column 0.)
    const TPlaszczyznyKadru plaszczyzny = (cMin - Rzut.OkoY) * -Rzut.OkoY >= 1.0
                                              ? PlaszczyznyKadru(kadr, Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ)
                                              : TPlaszczyznyKadru{};
    PrzygotujWOku(TEREN, TrojkatyTEREN, krok, cMin, cMax, pominTeren, plaszczyzny);
    PrzygotujWOku(PROJ, TrojkatyPROJ, krok, cMin, cMax, {}, plaszczyzny);
    for (auto& r : Czworokaty) {
        krok(r.P1);
        krok(r.P2);
        krok(r.P3);
        krok(r.P4);
    }
    for (auto& r : TrojkatySlupkow) {
        krok(r.P1);
        krok(r.P2);
        krok(r.P3);
    }
    for (auto& n : NapisySlupkow) krok(n.P);
    TnijObie(TrojkatySlupkow, cMin, cMax, true);
    TnijNapisy(cMin, cMax);
    // The sets' keys and shades were made with their records.
    Sortuj(TrojkatyPROJ, [](const TTrojkatRys& r) { return r.KluczOko; });
    Sortuj(TrojkatyTEREN, [](const TTrojkatRys& r) { return r.KluczOko; });
    KorektaLOkoSlupkow();
    for (auto& r : Czworokaty) CieniujCzworokat(r);
    for (auto& r : TrojkatySlupkow) CieniujTrojkat(r);
    Rzut.PrzesunX = Rzut.PrzesunY = Rzut.PrzesunZ = 0.0;
    Rzut.ObrotX = Rzut.ObrotY = Rzut.ObrotZ = 0.0;
    Rzut.WidokKierowcy = true;
    Rzut.PochylenieOka = pochylenie;
}

void UmiescNaTrasieZSiatek() {
    const double srodek = Rzut.PolEkranX;
    const TPrzesuniecie przesuniecie{srodek - Rzut.TrasaX, -Rzut.TrasaY, 0.0};
    const TSkalowanie skalowanie{srodek, 0.0, 0.0, Rzut.skala};
    const TObrot obrot(srodek, 0.0, 0.0, kPi / 2 - Rzut.katT, 0.0, 0.0);
    auto umiesc = [&](TPunkt3D& p) {
        przesuniecie(p);
        skalowanie(p);
        obrot(p);
    };
    const bool tnij = Rzut.TnijTroj;
    const double cMin = Rzut.OdlTnijYmin, cMax = Rzut.OdlTnijYmax;
    for (TSiatka* siatka : {&TEREN, &PROJ}) {
        const std::vector<bool> wyroznione = WyroznioneTrojkaty(*siatka);
        ZSiatki(
            *siatka, siatka == &PROJ ? TrojkatyPROJ : TrojkatyTEREN,
            [&](const TTrojkat& t, auto& dalej) {
                const std::size_t i = static_cast<std::size_t>(&t - siatka->Trojkaty.data());
                TTrojkatRys r = TrojkatDoRysowania(t, KolorTrojkata(*siatka, i, wyroznione));
                umiesc(r.P1);
                umiesc(r.P2);
                umiesc(r.P3);
                auto cieniuj = [&dalej](const TTrojkatRys& kawalek) {
                    TTrojkatRys c = kawalek;
                    CieniujTrojkat(c);
                    dalej(c);
                };
                // TnijWidok's cuts of the record.
                if (tnij)
                    TnijRekord<true>(r, cMin, true,
                                     [&](const TTrojkatRys& q) { TnijRekord<false>(q, cMax, true, cieniuj); });
                else
                    TnijRekord<true>(r, -1000.0, false, cieniuj);
            },
            [&](const TPudelkoBloku& p) { return PozaPasem(p, umiesc, tnij ? cMin : -1000.0, cMax, tnij); });
    }
    for (auto& r : Czworokaty) {
        umiesc(r.P1);
        umiesc(r.P2);
        umiesc(r.P3);
        umiesc(r.P4);
        CieniujCzworokat(r);
    }
    // The station posts and their labels, few, placed and cut as UmiescNaTrasie does.
    for (auto& r : TrojkatySlupkow) {
        umiesc(r.P1);
        umiesc(r.P2);
        umiesc(r.P3);
    }
    for (auto& n : NapisySlupkow) umiesc(n.P);
    if (tnij) {
        TnijObie(TrojkatySlupkow, cMin, cMax);
        TnijNapisy(cMin, cMax);
    } else {
        Tnij<true>(TrojkatySlupkow, -1000.0);
        TnijNapisy(-1000.0, HUGE_VAL);
    }
    for (auto& r : TrojkatySlupkow) CieniujTrojkat(r);
    Rzut.PrzesunX = Rzut.PrzesunY = Rzut.PrzesunZ = 0.0;
    Rzut.ObrotX = Rzut.ObrotY = Rzut.ObrotZ = 0.0;
    Rzut.WidokKierowcy = false;
    Rzut.PochylenieOka = 0.0;
}

void SkalujICieniujZSiatek(double k) {
    const TSkalowanie skalowanie{0.0, 0.0, 0.0, k};
    for (TSiatka* siatka : {&TEREN, &PROJ}) {
        std::vector<TTrojkatRys>& cel = siatka == &PROJ ? TrojkatyPROJ : TrojkatyTEREN;
        const std::vector<bool> wyroznione = WyroznioneTrojkaty(*siatka);
        PowiekszNaDwochWatkach(cel, siatka->Trojkaty.size());
        NaDwochWatkach(cel.size(), [&](std::size_t od, std::size_t do_) {
            for (std::size_t i = od; i < do_; ++i) {
                const TTrojkat& t = siatka->Trojkaty[i];
                TTrojkatRys r = TrojkatDoRysowania(t, KolorTrojkata(*siatka, i, wyroznione));
                skalowanie(r.P1);
                skalowanie(r.P2);
                skalowanie(r.P3);
                CieniujTrojkat(r);
                cel[i] = r;
            }
        });
    }
    for (auto& r : Czworokaty) {
        skalowanie(r.P1);
        skalowanie(r.P2);
        skalowanie(r.P3);
        skalowanie(r.P4);
        CieniujCzworokat(r);
    }
}
