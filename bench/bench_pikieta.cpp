// Speed of a slider move and of the general view on a large terrain.
//
// The scene is made at start and never stored: a synthetic terrain of
// 1,000,000 TEREN triangles (a grid of 2,000 x 250 cells of 2 m, two
// triangles a cell, gentle hills and a valley) over a corridor of 4 km x
// 500 m, and a route of four vertices along it with arcs and transition
// curves, built by ObliczTrase.
//
//  - BM_PrzesuniecieSuwaka: what a move of the chainage slider runs — the
//    point and direction at the chainage, the render arrays rebuilt from the
//    mesh, moved, zoomed and turned into the picture, cut at the near and far
//    depth and shaded — then the redraw into the 958 x 637 picture through
//    the program's canvas. The chainages visited go along the whole route.
//  - BM_EtapySuwaka: the same move in its parts.
//  - BM_WidokOgolny: the general view (rebuild, zoom by 4, shading) and the
//    redraw.
//  - The _QPainter variants draw through the QPainter canvas, for comparison;
//    the program's canvas reports "x_QPainter" against them (wall time).
//
// Each also reports the mean number of records left to draw ("rekordy") and
// the part of the time taken by the redraw ("ms_rysowania").
#include <benchmark/benchmark.h>

#include <QImage>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "route/OblTrasa.h"
#include "scena/Scena.h"

namespace {

constexpr int W = 958;
constexpr int H = 637;
constexpr int Nx = 2000, Ny = 250;
constexpr double Krok = 2.0;

double Wysokosc(double x, double y) {
    const double dolina = 0.00012 * (y - 250.0) * (y - 250.0);
    return 20.0 + 6.0 * std::sin(x / 170.0) * std::cos(y / 90.0) + 2.5 * std::sin(x / 37.0 + y / 53.0) + dolina;
}

TZalom Zalom(double x, double y, float r, float a) {
    TZalom z;
    z.X = x;
    z.Y = y;
    z.R = r;
    z.A1 = a;
    z.A2 = a;
    return z;
}

void ZbudujScene() {
    static bool zbudowana = false;
    InicjujZmienne(W, H);
    UstawOkoOkna(W, H);
    if (zbudowana) return;
    zbudowana = true;

    TEREN = TSiatka{};
    PROJ = TSiatka{};
    TEREN.Trojkaty.reserve(static_cast<std::size_t>(Nx) * Ny * 2);
    const char rodzaje[3] = {'H', 'N', 'E'};
    for (int i = 0; i < Nx; ++i)
        for (int j = 0; j < Ny; ++j) {
            const double x0 = i * Krok, y0 = j * Krok, x1 = x0 + Krok, y1 = y0 + Krok;
            TTrojkat a;
            a.X1 = x0, a.Y1 = y0, a.Z1 = Wysokosc(x0, y0);
            a.X2 = x1, a.Y2 = y0, a.Z2 = Wysokosc(x1, y0);
            a.X3 = x1, a.Y3 = y1, a.Z3 = Wysokosc(x1, y1);
            a.Rodzaj.Kod = rodzaje[(i / 40 + j / 25) % 3];
            TTrojkat b = a;
            b.X2 = x1, b.Y2 = y1, b.Z2 = a.Z3;
            b.X3 = x0, b.Y3 = y1, b.Z3 = Wysokosc(x0, y1);
            TEREN.Trojkaty.push_back(a);
            TEREN.Trojkaty.push_back(b);
        }
    Trasa = DaneUstawieniaTrasy{};
    Trasa.Zalomy = {Zalom(20, 250, 0, 0), Zalom(1300, 330, 900, 300), Zalom(2700, 170, 1200, 350),
                    Zalom(3980, 240, 0, 0)};
    ObliczTrase();
}

using Zegar = std::chrono::steady_clock;

template <typename Plotno>
void Suwak(benchmark::State& state, double* czasWynik, const double* czasQPainter) {
    ZbudujScene();
    if (!Trasa.Obliczona) {
        state.SkipWithError("trasa nie obliczona");
        return;
    }
    QImage obraz(W, H, QImage::Format_RGB32);
    const double od = Trasa.PikMin, dlugosc = Trasa.PikMax - Trasa.PikMin;
    int krok = 0;
    double rysowanie = 0.0, rekordy = 0.0;
    TPodzialKlatki podzial;  // kept from frame to frame, as the window keeps it
    const auto start = Zegar::now();
    for (auto _ : state) {
        const double s = od + dlugosc * (0.05 + 0.9 * ((krok++ * 7) % 19) / 18.0);
        UstawNaPikiecie(s);
        const auto t0 = Zegar::now();
        {
            Plotno plotno(obraz);
            Przerysuj(plotno, W, H, podzial);
        }
        rysowanie += std::chrono::duration<double, std::milli>(Zegar::now() - t0).count();
        rekordy += static_cast<double>(TrojkatyTEREN.size());
        benchmark::DoNotOptimize(obraz.constBits());
    }
    const double n = static_cast<double>(state.iterations());
    const double ms = std::chrono::duration<double, std::milli>(Zegar::now() - start).count() / n;
    state.counters["rekordy"] = rekordy / n;
    state.counters["ms_rysowania"] = rysowanie / n;
    if (czasWynik) *czasWynik = ms;
    if (czasQPainter && *czasQPainter > 0.0) state.counters["x_QPainter"] = *czasQPainter / ms;
}

double CzasQPainter = 0.0;

void BM_PrzesuniecieSuwaka_QPainter(benchmark::State& state) { Suwak<PlotnoQPainter>(state, &CzasQPainter, nullptr); }
void BM_PrzesuniecieSuwaka(benchmark::State& state) { Suwak<PlotnoQt>(state, nullptr, &CzasQPainter); }

template <typename Plotno>
void Ogolny(benchmark::State& state, double* czasWynik, const double* czasQPainter) {
    ZbudujScene();
    QImage obraz(W, H, QImage::Format_RGB32);
    double rysowanie = 0.0;
    TPodzialKlatki podzial;
    const auto start = Zegar::now();
    for (auto _ : state) {
        WidokOgolny();
        const auto t0 = Zegar::now();
        {
            Plotno plotno(obraz);
            Przerysuj(plotno, W, H, podzial);
        }
        rysowanie += std::chrono::duration<double, std::milli>(Zegar::now() - t0).count();
        benchmark::DoNotOptimize(obraz.constBits());
    }
    const double n = static_cast<double>(state.iterations());
    const double ms = std::chrono::duration<double, std::milli>(Zegar::now() - start).count() / n;
    state.counters["rekordy"] = static_cast<double>(TrojkatyTEREN.size());
    state.counters["ms_rysowania"] = rysowanie / n;
    if (czasWynik) *czasWynik = ms;
    if (czasQPainter && *czasQPainter > 0.0) state.counters["x_QPainter"] = *czasQPainter / ms;
}

double CzasOgolnyQPainter = 0.0;

void BM_WidokOgolny_QPainter(benchmark::State& state) { Ogolny<PlotnoQPainter>(state, &CzasOgolnyQPainter, nullptr); }
void BM_WidokOgolny(benchmark::State& state) { Ogolny<PlotnoQt>(state, nullptr, &CzasOgolnyQPainter); }

// The parts of a slider move, with the milliseconds of each: the rebuild of
// the render arrays from the mesh, the placing (move, zoom and turn in one
// pass, the cuts, the shading) and the redraw.
void BM_EtapySuwaka(benchmark::State& state) {
    ZbudujScene();
    QImage obraz(W, H, QImage::Format_RGB32);
    const double od = Trasa.PikMin, dlugosc = Trasa.PikMax - Trasa.PikMin;
    int krok = 0;
    double t[3] = {};
    TPodzialKlatki podzial;
    auto mierz = [&t](int i, auto f) {
        const auto t0 = Zegar::now();
        f();
        t[i] += std::chrono::duration<double, std::milli>(Zegar::now() - t0).count();
    };
    for (auto _ : state) {
        const double s = od + dlugosc * (0.05 + 0.9 * ((krok++ * 7) % 19) / 18.0);
        PunktNaPikiecie(s, Rzut.TrasaX, Rzut.TrasaY);
        Rzut.katT = KatNaPikiecie(s);
        Rzut.alfa = Rzut.katT;
        mierz(0, [] {
            PrzygotujTrojkaty(TEREN);
            PrzygotujTrojkaty(PROJ);
        });
        mierz(1, [] { UmiescNaTrasie(); });
        mierz(2, [&obraz, &podzial] {
            PlotnoQt plotno(obraz);
            Przerysuj(plotno, W, H, podzial);
        });
    }
    const char* nazwy[3] = {"ms_przebudowa", "ms_umiesc", "ms_rysowania"};
    for (int i = 0; i < 3; ++i) state.counters[nazwy[i]] = t[i] / static_cast<double>(state.iterations());
}

}  // namespace

// Wall time: what the user waits for (the redraw may use two threads).
BENCHMARK(BM_PrzesuniecieSuwaka_QPainter)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);
BENCHMARK(BM_PrzesuniecieSuwaka)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);
BENCHMARK(BM_EtapySuwaka)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);
BENCHMARK(BM_WidokOgolny_QPainter)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_WidokOgolny)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
