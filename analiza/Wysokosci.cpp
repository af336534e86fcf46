#include "analiza/Wysokosci.h"

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "common/Rownolegle.h"

namespace {
constexpr std::size_t DuzaStrona = std::size_t{2} << 20;

// Builds the project's waiting indices (its lock held). The mark is taken
// off first, so a failure is raised once and the indices stay empty.
void ZbudujCzekajace(const TProjekt& p) {
    TPamiecIndeksow& m = p.Indeksy;
    if (!m.DoZbudowania) return;
    m.DoZbudowania = false;
    const std::function<TIndeksyWysokosci()> budowa = std::move(m.Budowa);
    m.Budowa = nullptr;
    m.Indeksy = TIndeksyWysokosci{};
    if (budowa)
        m.Indeksy = budowa();
    else
        m.Indeksy = IndeksyZSiatek(PowierzchniaProjektowa(p), p.TEREN, p.Trasa.Dx, p.Trasa.Dy, p.TEREN.Zakres.Zmin);
}
}  // namespace

void* PrzydzielDuzeStrony(std::size_t bajty) {
    if (bajty < DuzaStrona) {
        void* p = ::operator new (bajty, std::align_val_t{64});
        return p;
    }
    const std::size_t zaokraglone = (bajty + DuzaStrona - 1) / DuzaStrona * DuzaStrona;
    void* p = std::aligned_alloc(DuzaStrona, zaokraglone);
    if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(p, zaokraglone, MADV_HUGEPAGE);  // only a hint: without huge pages the memory works the same
#endif
    return p;
}

void ZwolnijDuzeStrony(void* p, std::size_t bajty) noexcept {
    if (bajty < DuzaStrona)
        ::operator delete (p, std::align_val_t{64});
    else
        std::free(p);
}

namespace {

// The plan box of a triangle, widened so that every point the inside test
// accepts (TolerancjaTrojkata outside an edge at most) and every rounding
// of a cell's coordinates lies in it, and the top of the triangle; in floats,
// widened beyond their rounding.
struct TPudelko {
    float X0, Y0, X1, Y1;
    float Z1;
};

// Twice the signed plan area of the triangle, or 0 when it has no plan area
// (relative to its size) or a coordinate is not finite.
double PodwojnePole(const TTrojkatRogi& t) {
    const double ux2 = t.X2 - t.X1, uy2 = t.Y2 - t.Y1, ux3 = t.X3 - t.X1, uy3 = t.Y3 - t.Y1;
    const double pole2 = ux2 * uy3 - uy2 * ux3;
    const double dl2 = std::max(
        {ux2 * ux2 + uy2 * uy2, ux3 * ux3 + uy3 * uy3, (t.X3 - t.X2) * (t.X3 - t.X2) + (t.Y3 - t.Y2) * (t.Y3 - t.Y2)});
    // False for NaN and infinities too (a non-finite coordinate makes dl2 or pole2 so).
    if (!(std::fabs(pole2) > 1e-12 * dl2) || !(dl2 < std::numeric_limits<double>::infinity())) return 0.0;
    return pole2;
}

// The record of a triangle whose PodwojnePole is not 0.
void ZbudujTrojkat(const TTrojkatRogi& t, double pole2, TTrojkatWysokosci& w) {
    const double odwr = 1.0 / pole2;
    const double ux2 = t.X2 - t.X1, uy2 = t.Y2 - t.Y1, ux3 = t.X3 - t.X1, uy3 = t.Y3 - t.Y1;
    w.X1 = t.X1;
    w.Y1 = t.Y1;
    w.Z1 = t.Z1;
    w.A2 = uy3 * odwr;
    w.B2 = -ux3 * odwr;
    w.A3 = -uy2 * odwr;
    w.B3 = ux2 * odwr;
    const double dz2 = t.Z2 - t.Z1, dz3 = t.Z3 - t.Z1;
    w.Zu = w.A2 * dz2 + w.A3 * dz3;
    w.Zv = w.B2 * dz2 + w.B3 * dz3;
}

// The box of a triangle with a plan area; false when a number of it is not finite.
bool ZbudujPudelko(const TTrojkatRogi& t, TPudelko& p) {
    const double x0 = std::min({t.X1, t.X2, t.X3}), y0 = std::min({t.Y1, t.Y2, t.Y3});
    const double x1 = std::max({t.X1, t.X2, t.X3}), y1 = std::max({t.Y1, t.Y2, t.Y3});
    const double z1 = std::max({t.Z1, t.Z2, t.Z3});
    const double duzy = std::max({std::fabs(x0), std::fabs(x1), std::fabs(y0), std::fabs(y1)});
    // The inside test's tolerance, the rounding of the cells' coordinates, and
    // more than the rounding to float (a relative 2^-24).
    const double zapas = 4.0 * TolerancjaTrojkata * ((x1 - x0) + (y1 - y0)) + 1e-12 + 2.5e-7 * duzy;
    p = {static_cast<float>(x0 - zapas), static_cast<float>(y0 - zapas), static_cast<float>(x1 + zapas),
         static_cast<float>(y1 + zapas), static_cast<float>(z1 + 1e-12 + 2.5e-7 * std::fabs(z1))};
    return std::isfinite(p.X0) && std::isfinite(p.Y0) && std::isfinite(p.X1) && std::isfinite(p.Y1) &&
           std::isfinite(p.Z1) && std::isfinite(t.Z1) && std::isfinite(t.Z2) && std::isfinite(t.Z3);
}

// Column (or row) of a coordinate, clamped to the grid.
inline std::int32_t Kolumna(double v, double poczatek, double odwrotnosc, std::int32_t ile) {
    const double f = (v - poczatek) * odwrotnosc;
    if (!(f > 0.0)) return 0;
    if (f >= static_cast<double>(ile)) return ile - 1;
    return static_cast<std::int32_t>(f);
}

inline bool WTrojkacie(const TTrojkatWysokosci& t, double u, double v) {
    const double w2 = t.A2 * u + t.B2 * v;
    const double w3 = t.A3 * u + t.B3 * v;
    return w2 >= -TolerancjaTrojkata && w3 >= -TolerancjaTrojkata && 1.0 - w2 - w3 >= -TolerancjaTrojkata;
}

// The index over the ileTrojkatow triangles rogi(i) gives.
template <class Rogi>
TIndeksWysokosci ZbudujIndeks(std::size_t ileTrojkatow, const Rogi& rogi, double dx, double dy, double dz,
                              const std::atomic<bool>* przerwij) {
    // A stop asked for is seen within a few milliseconds: every 64 Ki triangles of each pass.
    auto sprawdz = [przerwij](std::size_t i) {
        if (przerwij && (i & 0xFFFF) == 0 && przerwij->load(std::memory_order_relaxed)) throw TBudowaPrzerwana{};
    };
    TIndeksWysokosci w;
    w.Dx = dx;
    w.Dy = dy;
    w.Dz = dz;

    // The triangles that have a plane over the plan: their boxes and numbers.
    // (Their records are made once more below, straight into their places:
    // cheaper than a copy of them all.)
    std::vector<TPudelko> pudelka;
    std::vector<std::int32_t> numery;
    pudelka.reserve(ileTrojkatow);
    numery.reserve(ileTrojkatow);
    double x0 = std::numeric_limits<double>::infinity(), y0 = x0, x1 = -x0, y1 = -x0;
    for (std::size_t i = 0; i < ileTrojkatow && i < static_cast<std::size_t>(INT32_MAX); ++i) {
        sprawdz(i);
        TPudelko p;
        const TTrojkatRogi t = rogi(i);
        const double pole2 = PodwojnePole(t);
        if (pole2 == 0.0 || !ZbudujPudelko(t, p)) continue;
        // Coefficients that overflow (a sliver of astronomical size) leave it out too.
        TTrojkatWysokosci r;
        ZbudujTrojkat(t, pole2, r);
        if (!std::isfinite(r.A2 + r.B2 + r.A3 + r.B3 + r.Zu + r.Zv)) continue;
        pudelka.push_back(p);
        numery.push_back(static_cast<std::int32_t>(i));
        x0 = std::min(x0, static_cast<double>(p.X0));
        y0 = std::min(y0, static_cast<double>(p.Y0));
        x1 = std::max(x1, static_cast<double>(p.X1));
        y1 = std::max(y1, static_cast<double>(p.Y1));
    }
    const std::size_t n = pudelka.size();
    if (n == 0) return w;

    // About one cell per triangle, square cells. A set of few triangles with
    // large boxes (every cell would list them all) gets coarser cells until
    // the lists stay within a few entries per triangle.
    const double szer = x1 - x0, wys = y1 - y0;
    const double najwiecejKomorek = 2.0 * static_cast<double>(n) + 16.0;
    double bok = std::sqrt(szer * wys / static_cast<double>(n));
    bok = std::max({bok, szer / 65536.0, wys / 65536.0, 1e-300});
    std::int32_t nx = 1, ny = 1;
    // (And within the 32-bit entry numbers.)
    const double najwiecejWpisow = std::min(32.0 * static_cast<double>(n) + 1048576.0, 4.0e9);
    for (;;) {
        double fx = std::ceil(szer / bok), fy = std::ceil(wys / bok);
        while (fx * fy > najwiecejKomorek) {
            bok *= 1.25;
            fx = std::ceil(szer / bok);
            fy = std::ceil(wys / bok);
        }
        nx = std::max<std::int32_t>(1, static_cast<std::int32_t>(fx));
        ny = std::max<std::int32_t>(1, static_cast<std::int32_t>(fy));
        const double odwr = 1.0 / bok;
        double wpisy = 0.0;
        for (const TPudelko& p : pudelka)
            wpisy += static_cast<double>(Kolumna(p.X1, x0, odwr, nx) - Kolumna(p.X0, x0, odwr, nx) + 1) *
                     static_cast<double>(Kolumna(p.Y1, y0, odwr, ny) - Kolumna(p.Y0, y0, odwr, ny) + 1);
        if (wpisy <= najwiecejWpisow || (nx == 1 && ny == 1)) break;
        bok *= 2.0;
    }
    w.IleKolumn = nx;
    w.IleWierszy = ny;
    w.IleKafliX = (nx + 7) / 8;
    w.IleKafliY = (ny + 7) / 8;
    w.Xmin = x0;
    w.Ymin = y0;
    w.Komorka = bok;
    w.OdwrotnoscKomorki = 1.0 / bok;
    const double odwr = w.OdwrotnoscKomorki;
    const std::size_t ileKomorek = static_cast<std::size_t>(w.IleKafliX) * static_cast<std::size_t>(w.IleKafliY) * 64;

    // The triangles' places in the order of the cells of their box centres (a counting sort).
    std::vector<std::uint32_t> miejsce(n);
    {
        std::vector<std::uint32_t> licznik(ileKomorek + 1, 0);
        for (std::size_t i = 0; i < n; ++i) {
            const TPudelko& p = pudelka[i];
            const std::size_t k = w.NumerKomorki(Kolumna(0.5 * (static_cast<double>(p.X0) + p.X1), x0, odwr, nx),
                                                 Kolumna(0.5 * (static_cast<double>(p.Y0) + p.Y1), y0, odwr, ny));
            miejsce[i] = static_cast<std::uint32_t>(k);
            ++licznik[k + 1];
        }
        for (std::size_t k = 0; k < ileKomorek; ++k) licznik[k + 1] += licznik[k];
        w.Trojkaty.resize(n);
        w.NumeryTrojkatow.resize(n);
        std::vector<TPudelko> posortowane(n);
        for (std::size_t i = 0; i < n; ++i) {
            sprawdz(i);
            const std::uint32_t gdzie = licznik[miejsce[i]]++;
            const TTrojkatRogi t = rogi(static_cast<std::size_t>(numery[i]));
            ZbudujTrojkat(t, PodwojnePole(t), w.Trojkaty[gdzie]);
            w.NumeryTrojkatow[gdzie] = numery[i];
            posortowane[gdzie] = pudelka[i];
        }
        pudelka.swap(posortowane);
    }
    std::vector<std::uint32_t>().swap(miejsce);
    std::vector<std::int32_t>().swap(numery);

    // Does the triangle reach into cell (i, j)? Each barycentric weight is
    // linear, so its largest value over the cell (widened by a hair for the
    // rounding of the queries' cell numbers) lies at a corner: the triangle
    // misses the cell when one weight stays below the tolerance over all of it.
    const double polowa = 0.5 * bok * (1.0 + 1e-9) + 1e-12 * (1.0 + std::fabs(x0) + std::fabs(y0) + bok * (nx + ny));
    auto dotyka = [&](const TTrojkatWysokosci& r, std::int32_t i, std::int32_t j) {
        const double u = x0 + (i + 0.5) * bok - r.X1, v = y0 + (j + 0.5) * bok - r.Y1;
        const double w2 = r.A2 * u + r.B2 * v, w3 = r.A3 * u + r.B3 * v;
        const double e = -2.0 * TolerancjaTrojkata;
        return w2 + (std::fabs(r.A2) + std::fabs(r.B2)) * polowa >= e &&
               w3 + (std::fabs(r.A3) + std::fabs(r.B3)) * polowa >= e &&
               1.0 - w2 - w3 + (std::fabs(r.A2 + r.A3) + std::fabs(r.B2 + r.B3)) * polowa >= e;
    };

    // The cells' lists: their lengths, the places of the long ones, then the entries.
    // Which cells of its box each triangle reaches, as bits of the box's cells
    // row by row (a box of more than 64 cells is tested again when filling).
    std::vector<std::uint64_t> maski(n);
    std::vector<std::uint32_t> ile(ileKomorek, 0);
    for (std::size_t t = 0; t < n; ++t) {
        sprawdz(t);
        const TPudelko& p = pudelka[t];
        const std::int32_t i0 = Kolumna(p.X0, x0, odwr, nx), i1 = Kolumna(p.X1, x0, odwr, nx);
        const std::int32_t j0 = Kolumna(p.Y0, y0, odwr, ny), j1 = Kolumna(p.Y1, y0, odwr, ny);
        const bool jedna = i0 == i1 && j0 == j1;
        std::uint64_t maska = 0;
        int bit = 0;
        for (std::int32_t j = j0; j <= j1; ++j)
            for (std::int32_t i = i0; i <= i1; ++i, ++bit)
                if (jedna || dotyka(w.Trojkaty[t], i, j)) {
                    ++ile[w.NumerKomorki(i, j)];
                    if (bit < 64) maska |= std::uint64_t{1} << bit;
                }
        maski[t] = maska;
    }
    w.Komorki.resize(ileKomorek);
    std::uint32_t nadmiar = 0;
    for (std::size_t k = 0; k < ileKomorek; ++k) {
        w.Komorki[k].Ile = ile[k];
        if (ile[k] > IleWKomorce) {
            w.Komorki[k].Trojkaty[0] = nadmiar;
            nadmiar += ile[k];
        }
        ile[k] = 0;
    }
    w.Nadmiar.resize(nadmiar);
    w.GoraKomorki.assign(ileKomorek, -std::numeric_limits<float>::infinity());
    for (std::size_t t = 0; t < n; ++t) {
        sprawdz(t);
        const TPudelko& p = pudelka[t];
        const std::int32_t i0 = Kolumna(p.X0, x0, odwr, nx), i1 = Kolumna(p.X1, x0, odwr, nx);
        const std::int32_t j0 = Kolumna(p.Y0, y0, odwr, ny), j1 = Kolumna(p.Y1, y0, odwr, ny);
        const bool jedna = i0 == i1 && j0 == j1;
        int bit = 0;
        for (std::int32_t j = j0; j <= j1; ++j)
            for (std::int32_t i = i0; i <= i1; ++i, ++bit) {
                if (bit < 64 ? !((maski[t] >> bit) & 1u) : !(jedna || dotyka(w.Trojkaty[t], i, j))) continue;
                const std::size_t k = w.NumerKomorki(i, j);
                TKomorkaWysokosci& c = w.Komorki[k];
                const std::uint32_t nr = static_cast<std::uint32_t>(t);
                if (c.Ile <= IleWKomorce)
                    c.Trojkaty[ile[k]++] = nr;
                else
                    w.Nadmiar[c.Trojkaty[0] + ile[k]++] = nr;
                w.GoraKomorki[k] = std::max(w.GoraKomorki[k], p.Z1);
            }
    }
    return w;
}

}  // namespace

TIndeksWysokosci ZbudujIndeksWysokosci(const TSiatka& siatka, double dx, double dy, double dz,
                                       const std::atomic<bool>* przerwij) {
    return ZbudujIndeks(
        siatka.Trojkaty.size(), [&siatka](std::size_t i) { return Rogi(siatka, i); }, dx, dy, dz, przerwij);
}

TIndeksWysokosci ZbudujIndeksWysokosci(const std::vector<TTrojkatRogi>& trojkaty, double dx, double dy, double dz,
                                       const std::atomic<bool>* przerwij) {
    return ZbudujIndeks(
        trojkaty.size(), [&trojkaty](std::size_t i) { return trojkaty[i]; }, dx, dy, dz, przerwij);
}

std::optional<double> Wysokosc(const TIndeksWysokosci& ix, double x, double y) {
    if (ix.Pusty()) return std::nullopt;
    const double fx = (x - ix.Xmin) * ix.OdwrotnoscKomorki, fy = (y - ix.Ymin) * ix.OdwrotnoscKomorki;
    // Also false for a NaN.
    if (!(fx >= 0.0 && fy >= 0.0 && fx <= ix.IleKolumn && fy <= ix.IleWierszy)) return std::nullopt;
    const std::int32_t i = std::min(static_cast<std::int32_t>(fx), ix.IleKolumn - 1);
    const std::int32_t j = std::min(static_cast<std::int32_t>(fy), ix.IleWierszy - 1);
    const std::size_t k = ix.NumerKomorki(i, j);
    bool jest = false;
    double z = 0.0;
    std::uint32_t ile = 0;
    const std::uint32_t* lista = ix.TrojkatyKomorki(k, ile);
    for (std::uint32_t e = 0; e < ile; ++e) {
        const TTrojkatWysokosci& t = ix.Trojkaty[lista[e]];
        const double u = x - t.X1, v = y - t.Y1;
        if (!WTrojkacie(t, u, v)) continue;
        const double zt = t.Z1 + t.Zu * u + t.Zv * v;
        if (!jest || zt > z) z = zt;
        jest = true;
    }
    if (!jest) return std::nullopt;
    return z;
}

std::optional<double> WysokoscDrogi(double x, double y, const TIndeksWysokosci& proj, const TIndeksWysokosci& teren) {
    if (const std::optional<double> z = Wysokosc(proj, x, y)) return z;
    return Wysokosc(teren, x, y);
}

std::optional<double> WysokoscWPliku(const TIndeksWysokosci& ix, double xPliku, double yPliku) {
    const std::optional<double> z = Wysokosc(ix, xPliku - ix.Dx, yPliku - ix.Dy);
    if (!z) return std::nullopt;
    return *z + ix.Dz;
}

std::optional<TPunktPodPowierzchnia> PierwszyPunktPodPowierzchnia(const TIndeksWysokosci& ix, const TPunkt3D& a,
                                                                  const TPunkt3D& b) {
    if (ix.Pusty()) return std::nullopt;
    const double dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
    if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(dz)) return std::nullopt;
    const double bok = ix.Komorka;
    const double gx0 = ix.Xmin, gy0 = ix.Ymin;
    const double gx1 = gx0 + ix.IleKolumn * bok, gy1 = gy0 + ix.IleWierszy * bok;

    // The part of the segment over the grid.
    double t0 = 0.0, t1 = 1.0;
    auto pas = [&](double p, double d, double lo, double hi) {
        if (d == 0.0) return p >= lo && p <= hi;
        double ta = (lo - p) / d, tb = (hi - p) / d;
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        return t0 <= t1;
    };
    if (!pas(a.X, dx, gx0, gx1) || !pas(a.Y, dy, gy0, gy1)) return std::nullopt;

    // Cells in the order the plan of the segment crosses them.
    std::int32_t i = Kolumna(a.X + t0 * dx, gx0, ix.OdwrotnoscKomorki, ix.IleKolumn);
    std::int32_t j = Kolumna(a.Y + t0 * dy, gy0, ix.OdwrotnoscKomorki, ix.IleWierszy);
    const std::int32_t si = dx > 0 ? 1 : (dx < 0 ? -1 : 0), sj = dy > 0 ? 1 : (dy < 0 ? -1 : 0);
    const double nieskonczonosc = std::numeric_limits<double>::infinity();
    double tx = si > 0 ? (gx0 + (i + 1) * bok - a.X) / dx : si < 0 ? (gx0 + i * bok - a.X) / dx : nieskonczonosc;
    double ty = sj > 0 ? (gy0 + (j + 1) * bok - a.Y) / dy : sj < 0 ? (gy0 + j * bok - a.Y) / dy : nieskonczonosc;
    const double krokX = si ? bok / std::fabs(dx) : nieskonczonosc;
    const double krokY = sj ? bok / std::fabs(dy) : nieskonczonosc;

    // Height of the segment over the plane, and the barycentric weights, as linear functions of t.
    double tc = t0;
    const std::int64_t ileKrokow = static_cast<std::int64_t>(ix.IleKolumn) + ix.IleWierszy + 2;
    for (std::int64_t krok = 0; krok < ileKrokow; ++krok) {
        const double te = std::max(tc, std::min({tx, ty, t1}));
        const std::size_t k = ix.NumerKomorki(i, j);
        bool jest = false;
        double najlepsze = 0.0;
        std::uint32_t ktory = 0;
        // Over the top of everything in the cell the segment cannot be below.
        const double zMin = a.Z + dz * (dz > 0 ? tc : te);
        std::uint32_t ile = 0;
        const std::uint32_t* lista = zMin >= ix.GoraKomorki[k] ? nullptr : ix.TrojkatyKomorki(k, ile);
        for (std::uint32_t n = 0; n < ile; ++n) {
            const std::uint32_t nr = lista[n];
            const TTrojkatWysokosci& t = ix.Trojkaty[nr];
            const double u0 = a.X - t.X1, v0 = a.Y - t.Y1;
            const double w2 = t.A2 * u0 + t.B2 * v0, d2 = t.A2 * dx + t.B2 * dy;
            const double w3 = t.A3 * u0 + t.B3 * v0, d3 = t.A3 * dx + t.B3 * dy;
            const double w1 = 1.0 - w2 - w3, d1 = -d2 - d3;
            // Outside one edge over the whole span of the cell: not this triangle.
            const double e = -TolerancjaTrojkata;
            if ((w1 + tc * d1 < e && w1 + te * d1 < e) || (w2 + tc * d2 < e && w2 + te * d2 < e) ||
                (w3 + tc * d3 < e && w3 + te * d3 < e))
                continue;
            // The span of t inside the triangle's plan.
            double lo = tc, hi = te;
            auto krawedz = [&](double w, double d) {
                if (d > 0.0)
                    lo = std::max(lo, (e - w) / d);
                else if (d < 0.0)
                    hi = std::min(hi, (e - w) / d);
            };
            krawedz(w1, d1);
            krawedz(w2, d2);
            krawedz(w3, d3);
            if (!(lo <= hi)) continue;
            // Segment height minus plane height.
            const double h0 = a.Z - (t.Z1 + t.Zu * u0 + t.Zv * v0);
            const double dh = dz - (t.Zu * dx + t.Zv * dy);
            const double hlo = h0 + lo * dh, hhi = h0 + hi * dh;
            const double ez = -TolerancjaWysokosci;
            double poczatek, koniecPod, gdzie;
            if (hlo < ez && hhi < ez) {
                poczatek = lo;
                koniecPod = hi;
                gdzie = lo;
            } else if (hlo < ez) {  // climbing out of the surface
                poczatek = lo;
                koniecPod = std::min(hi, (ez - h0) / dh);
                gdzie = lo;
            } else if (hhi < ez) {  // going under it
                poczatek = std::max(lo, (ez - h0) / dh);
                koniecPod = hi;
                gdzie = std::max(lo, -h0 / dh);
            } else {
                continue;
            }
            if (!(poczatek < koniecPod || (poczatek == koniecPod && poczatek > 0.0 && poczatek < 1.0))) continue;
            if (!jest || gdzie < najlepsze) {
                jest = true;
                najlepsze = gdzie;
                ktory = nr;
            }
        }
        if (jest) {
            TPunktPodPowierzchnia w;
            w.t = najlepsze;
            w.Punkt = {a.X + najlepsze * dx, a.Y + najlepsze * dy, a.Z + najlepsze * dz};
            w.NumerTrojkata = ix.NumeryTrojkatow[ktory];
            return w;
        }
        if (te >= t1) break;
        if (tx <= ty) {
            i += si;
            tc = std::max(tc, tx);
            tx += krokX;
        } else {
            j += sj;
            tc = std::max(tc, ty);
            ty += krokY;
        }
        if (i < 0 || j < 0 || i >= ix.IleKolumn || j >= ix.IleWierszy) break;
    }
    return std::nullopt;
}

TIndeksyWysokosci::TIndeksyWysokosci()
    : PROJ(std::make_shared<const TIndeksWysokosci>()), TEREN(std::make_shared<const TIndeksWysokosci>()) {}

TIndeksyWysokosci::TIndeksyWysokosci(TIndeksWysokosci proj, TIndeksWysokosci teren)
    : PROJ(std::make_shared<const TIndeksWysokosci>(std::move(proj))),
      TEREN(std::make_shared<const TIndeksWysokosci>(std::move(teren))) {}

TIndeksyWysokosci IndeksyZSiatek(const TSiatka& proj, const TSiatka& teren, double dx, double dy, double dz,
                                 const std::atomic<bool>* przerwij) {
    const bool terenWiekszy = teren.Trojkaty.size() >= proj.Trojkaty.size();
    const TSiatka& duza = terenWiekszy ? teren : proj;
    const TSiatka& mala = terenWiekszy ? proj : teren;
    TIndeksWysokosci duzy, maly;
    try {
        // The two builds at once, or one after the other on a single core.
        NaDwochWatkach(
            2,
            [&](std::size_t od, std::size_t do_) {
                for (std::size_t k = od; k < do_; ++k)
                    (k == 0 ? duzy : maly) = ZbudujIndeksWysokosci(k == 0 ? duza : mala, dx, dy, dz, przerwij);
            },
            1);
    } catch (const BladKonwersji&) {
        throw;
    } catch (const TBudowaPrzerwana&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw BladKonwersji("Za mało pamięci na indeks wysokości powierzchni (" +
                            std::to_string(teren.Trojkaty.size() + proj.Trojkaty.size()) +
                            " trójkątów): wysokości, profil i widoczność są niedostępne.");
    } catch (const std::exception& e) {
        throw BladKonwersji(std::string("Nie udało się zbudować indeksu wysokości: ") + e.what());
    }
    return terenWiekszy ? TIndeksyWysokosci(std::move(maly), std::move(duzy))
                        : TIndeksyWysokosci(std::move(duzy), std::move(maly));
}

TIndeksyWysokosci IndeksyWysokosci(const TProjekt& p) {
    std::unique_lock<std::mutex> l(p.Indeksy.Zamek);
    p.Indeksy.Koniec.wait(l, [&p] { return !p.Indeksy.WTle; });
    ZbudujCzekajace(p);
    return p.Indeksy.Indeksy;
}

void ZbudujIndeksyWTle(const TProjekt& p, TBudowaIndeksow budowa) {
    TPamiecIndeksow& m = p.Indeksy;
    PorzucBudoweIndeksow(m);
    {
        const std::lock_guard<std::mutex> l(m.Zamek);
        if (!m.DoZbudowania) return;
        m.WTle = true;
        m.BladWTle = nullptr;
    }
    auto przerwij = std::make_shared<std::atomic<bool>>(false);
    m.Przerwij = przerwij;
    m.Watek = std::thread([&p, &m, przerwij, budowa = std::move(budowa)] {
        // The build reads the meshes without the lock: nothing changes them
        // while it runs (whatever would, stops it first), and questions meanwhile
        // wait for `WTle` to fall.
        std::optional<TIndeksyWysokosci> gotowe;
        std::exception_ptr blad;
        try {
            if (budowa)
                gotowe = budowa(p, *przerwij);
            else
                gotowe = IndeksyZSiatek(PowierzchniaProjektowa(p), p.TEREN, p.Trasa.Dx, p.Trasa.Dy, p.TEREN.Zakres.Zmin,
                                        przerwij.get());
        } catch (const TBudowaPrzerwana&) {
        } catch (const BladKonwersji&) {
            blad = std::current_exception();
        } catch (const std::bad_alloc&) {
            blad = std::make_exception_ptr(BladKonwersji("Za mało pamięci na indeks wysokości powierzchni."));
        } catch (const std::exception& e) {
            blad = std::make_exception_ptr(
                BladKonwersji(std::string("Nie udało się zbudować indeksu wysokości: ") + e.what()));
        }
        {
            const std::lock_guard<std::mutex> l(m.Zamek);
            if (gotowe) {
                // The build given by the project (tests) is this build's.
                m.Indeksy = std::move(*gotowe);
                m.DoZbudowania = false;
                m.Budowa = nullptr;
            } else if (blad) {
                // As a failed build on a question: the indices stay empty until the next load.
                m.Indeksy = TIndeksyWysokosci{};
                m.DoZbudowania = false;
                m.Budowa = nullptr;
                m.BladWTle = blad;
            }
            // Stopped: still marked, the next question builds them.
            m.WTle = false;
        }
        m.Koniec.notify_all();
    });
}

bool BudowaIndeksowTrwa(const TProjekt& p) {
    const std::lock_guard<std::mutex> l(p.Indeksy.Zamek);
    return p.Indeksy.WTle;
}

void ZakonczBudoweIndeksow(const TProjekt& p) {
    TPamiecIndeksow& m = p.Indeksy;
    if (m.Watek.joinable()) m.Watek.join();
    std::exception_ptr blad;
    {
        const std::lock_guard<std::mutex> l(m.Zamek);
        m.Przerwij.reset();
        blad = std::exchange(m.BladWTle, nullptr);
    }
    if (blad) std::rethrow_exception(blad);
}

void OznaczIndeksyDoZbudowania(TProjekt& p, std::function<TIndeksyWysokosci()> budowa) {
    PorzucBudoweIndeksow(p.Indeksy);
    TIndeksyWysokosci puste;
    const std::lock_guard<std::mutex> l(p.Indeksy.Zamek);
    p.Indeksy.Indeksy = std::move(puste);
    p.Indeksy.DoZbudowania = true;
    p.Indeksy.Budowa = std::move(budowa);
}

void OznaczIndeksyDoZbudowania(TProjekt& p) { OznaczIndeksyDoZbudowania(p, nullptr); }

void ZbudujIndeksyWysokosci(const TProjekt& p) {
    std::unique_lock<std::mutex> l(p.Indeksy.Zamek);
    p.Indeksy.Koniec.wait(l, [&p] { return !p.Indeksy.WTle; });
    ZbudujCzekajace(p);
}

void UstawIndeksyWysokosci(TProjekt& p, TIndeksWysokosci proj, TIndeksWysokosci teren) {
    PorzucBudoweIndeksow(p.Indeksy);
    TIndeksyWysokosci nowe(std::move(proj), std::move(teren));
    const std::lock_guard<std::mutex> l(p.Indeksy.Zamek);
    p.Indeksy.Budowa = nullptr;
    p.Indeksy.DoZbudowania = false;
    p.Indeksy.Indeksy = std::move(nowe);
}

void WyczyscIndeksyWysokosci(TProjekt& p) { UstawIndeksyWysokosci(p, TIndeksWysokosci{}, TIndeksWysokosci{}); }
