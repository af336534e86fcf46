// Speed of the surface heights on a large terrain.
//
// The surface is made at start: a grid of 1,000 x 500 cells of 2 m (two
// triangles a cell, alternating diagonals, every vertex jittered by up to
// 0.4 m in plan), 1,000,000 triangles over 2 km x 1 km of gentle hills, in
// national-grid-sized coordinates as a load leaves them (local, from 0).
//
//  - BM_ZbudujIndeks: building the index over the 1,000,000 triangles.
//  - BM_WysokoscLosowo: Z(x, y) at random points over the surface (the worst
//    case for the caches); BM_WysokoscWzdluzLinii: at points 0.5 m apart
//    along a line, as a profile asks. Items per second = queries per second.
//  - BM_Odcinek300m: the segment query for segments of 300 m in random
//    directions 1.5 m above the ground at their ends (half of them pass
//    below a hill somewhere, half do not).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "analiza/Wysokosci.h"

namespace {

constexpr int Nx = 1000, Ny = 500;
constexpr double Krok = 2.0;

double Teren(double x, double y) {
    return 20.0 + 6.0 * std::sin(x / 170.0) * std::cos(y / 90.0) + 2.5 * std::sin(x / 37.0 + y / 53.0);
}

const std::vector<TTrojkatRogi>& Trojkaty() {
    static const std::vector<TTrojkatRogi> t = [] {
        std::vector<TPunkt3D> p((Nx + 1) * (Ny + 1));
        std::mt19937 los(3);
        std::uniform_real_distribution<double> drg(-0.4, 0.4);
        for (int j = 0; j <= Ny; ++j)
            for (int i = 0; i <= Nx; ++i) {
                const bool brzeg = i == 0 || j == 0 || i == Nx || j == Ny;
                const double x = i * Krok + (brzeg ? 0 : drg(los)), y = j * Krok + (brzeg ? 0 : drg(los));
                p[j * (Nx + 1) + i] = {x, y, Teren(x, y)};
            }
        std::vector<TTrojkatRogi> w;
        w.reserve(2 * Nx * Ny);
        auto dodaj = [&](const TPunkt3D& a, const TPunkt3D& b, const TPunkt3D& c) {
            TTrojkatRogi t;
            t.X1 = a.X, t.Y1 = a.Y, t.Z1 = a.Z, t.X2 = b.X, t.Y2 = b.Y, t.Z2 = b.Z, t.X3 = c.X, t.Y3 = c.Y, t.Z3 = c.Z;
            w.push_back(t);
        };
        for (int j = 0; j < Ny; ++j)
            for (int i = 0; i < Nx; ++i) {
                const TPunkt3D &a = p[j * (Nx + 1) + i], &b = p[j * (Nx + 1) + i + 1],
                               &c = p[(j + 1) * (Nx + 1) + i + 1], &d = p[(j + 1) * (Nx + 1) + i];
                if ((i + j) % 2) {
                    dodaj(a, b, c);
                    dodaj(a, c, d);
                } else {
                    dodaj(a, b, d);
                    dodaj(b, c, d);
                }
            }
        return w;
    }();
    return t;
}

const TIndeksWysokosci& Indeks() {
    static const TIndeksWysokosci ix = ZbudujIndeksWysokosci(Trojkaty());
    return ix;
}

void BM_ZbudujIndeks(benchmark::State& stan) {
    const std::vector<TTrojkatRogi>& t = Trojkaty();
    for (auto _ : stan) {
        TIndeksWysokosci ix = ZbudujIndeksWysokosci(t);
        benchmark::DoNotOptimize(ix.Komorki.data());
    }
    const TIndeksWysokosci& ix = Indeks();
    stan.counters["trojkaty"] = static_cast<double>(ix.IleTrojkatow());
    stan.counters["komorki"] = static_cast<double>(ix.IleKolumn) * ix.IleWierszy;
    double wpisy = 0, dlugie = 0;
    for (const TKomorkaWysokosci& k : ix.Komorki) {
        wpisy += k.Ile;
        dlugie += k.Ile > IleWKomorce;
    }
    const double komorki = static_cast<double>(ix.IleKolumn) * ix.IleWierszy;
    stan.counters["wpisy_na_komorke"] = wpisy / komorki;
    stan.counters["dlugie_listy"] = dlugie / komorki;
    stan.counters["MB"] = static_cast<double>(ix.Trojkaty.size() * sizeof(TTrojkatWysokosci) +
                                              ix.NumeryTrojkatow.size() * 4 +
                                              ix.Komorki.size() * sizeof(TKomorkaWysokosci) + ix.Nadmiar.size() * 4 +
                                              ix.GoraKomorki.size() * 4) /
                          1048576.0;
}
BENCHMARK(BM_ZbudujIndeks)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_WysokoscLosowo(benchmark::State& stan) {
    const TIndeksWysokosci& ix = Indeks();
    std::mt19937 los(5);
    std::uniform_real_distribution<double> x(0, Nx * Krok), y(0, Ny * Krok);
    std::vector<std::pair<double, double>> punkty(1 << 16);
    for (auto& p : punkty) p = {x(los), y(los)};
    std::size_t k = 0, ile = 0;
    for (auto _ : stan) {
        const auto& p = punkty[k++ & (punkty.size() - 1)];
        const std::optional<double> z = Wysokosc(ix, p.first, p.second);
        ile += z.has_value();
        benchmark::DoNotOptimize(z);
    }
    stan.SetItemsProcessed(static_cast<std::int64_t>(stan.iterations()));
    stan.counters["z_wysokoscia"] = static_cast<double>(ile) / static_cast<double>(stan.iterations());
}
BENCHMARK(BM_WysokoscLosowo);

void BM_WysokoscWzdluzLinii(benchmark::State& stan) {
    const TIndeksWysokosci& ix = Indeks();
    double s = 0;
    for (auto _ : stan) {
        s += 0.5;
        if (s > 1900) s = 0;
        benchmark::DoNotOptimize(Wysokosc(ix, 50 + s, 100 + 0.4 * s));
    }
    stan.SetItemsProcessed(static_cast<std::int64_t>(stan.iterations()));
}
BENCHMARK(BM_WysokoscWzdluzLinii);

void BM_Odcinek300m(benchmark::State& stan) {
    const TIndeksWysokosci& ix = Indeks();
    std::mt19937 los(9);
    std::uniform_real_distribution<double> x(200, Nx * Krok - 200), y(200, Ny * Krok - 200), kat(0, 6.283185307179586);
    std::vector<std::pair<TPunkt3D, TPunkt3D>> odcinki(1024);
    for (auto& o : odcinki) {
        const double x0 = x(los), y0 = y(los), k = kat(los);
        const double x1 = x0 + 300 * std::cos(k), y1 = y0 + 300 * std::sin(k);
        o = {{x0, y0, *Wysokosc(ix, x0, y0) + 1.5}, {x1, y1, *Wysokosc(ix, x1, y1) + 1.5}};
    }
    std::size_t k = 0, zasloniete = 0;
    for (auto _ : stan) {
        const auto& o = odcinki[k++ & (odcinki.size() - 1)];
        const auto w = PierwszyPunktPodPowierzchnia(ix, o.first, o.second);
        zasloniete += w.has_value();
        benchmark::DoNotOptimize(w);
    }
    stan.counters["zasloniete"] = static_cast<double>(zasloniete) / static_cast<double>(stan.iterations());
    // The whole length is walked only by the segments that stay above.
    std::size_t calych = 0;
    for (const auto& o : odcinki) calych += !PierwszyPunktPodPowierzchnia(ix, o.first, o.second);
    stan.counters["calych"] = static_cast<double>(calych);
}
BENCHMARK(BM_Odcinek300m)->Unit(benchmark::kMicrosecond);

// Segments that stay above the surface all the way (the full walk).
void BM_Odcinek300mWolny(benchmark::State& stan) {
    const TIndeksWysokosci& ix = Indeks();
    std::mt19937 los(13);
    std::uniform_real_distribution<double> x(200, Nx * Krok - 200), y(200, Ny * Krok - 200), kat(0, 6.283185307179586);
    std::vector<std::pair<TPunkt3D, TPunkt3D>> odcinki(1024);
    for (auto& o : odcinki) {
        const double x0 = x(los), y0 = y(los), k = kat(los);
        o = {{x0, y0, 40}, {x0 + 300 * std::cos(k), y0 + 300 * std::sin(k), 40}};
    }
    std::size_t k = 0;
    for (auto _ : stan) {
        const auto& o = odcinki[k++ & (odcinki.size() - 1)];
        benchmark::DoNotOptimize(PierwszyPunktPodPowierzchnia(ix, o.first, o.second));
    }
}
BENCHMARK(BM_Odcinek300mWolny)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
