// Speed of a slider move and of the general view on a large terrain.
//
// The scene is made at start and never stored (ScenaTerenu.h): a synthetic
// terrain of 1,000,000 TEREN triangles (ORVANY_BENCH_TROJKATY sets another
// number; a grid of 2,000 x 250 cells of 2 m at 1,000,000, two triangles a
// cell, gentle hills and a valley) over a corridor of 4 km x 500 m, and a
// route of four vertices along it with arcs and transition curves, built by
// ObliczTrase.
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
#include <ctime>
#include <string>
#include <vector>

#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "route/OblTrasa.h"
#include "scena/Scena.h"
#include "ScenaTerenu.h"

namespace {

constexpr int W = 958;
constexpr int H = 637;

void ZbudujScene() {
    static bool zbudowana = false;
    InicjujZmienne(W, H);
    UstawOkoOkna(W, H);
    if (zbudowana) return;
    zbudowana = true;
    scena_terenu::Zbuduj(scena_terenu::IleTrojkatow());
}

using Zegar = std::chrono::steady_clock;

// Processor time of the whole process (every thread), in milliseconds.
double CzasProcesu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

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
    const double startProcesu = CzasProcesu();
    const auto start = Zegar::now();
    for (auto _ : state) {
        const double s = od + dlugosc * (0.05 + 0.9 * ((krok++ * 7) % 19) / 18.0);
        PrzejdzNaPikiete(s);
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
    state.counters["ms_procesora"] = (CzasProcesu() - startProcesu) / n;
    state.counters["trojkaty"] = static_cast<double>(TEREN.Trojkaty.size());
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
    const double startProcesu = CzasProcesu();
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
    state.counters["ms_procesora"] = (CzasProcesu() - startProcesu) / n;
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
            PrzygotujTrojkaty(TEREN, false);
            PrzygotujTrojkaty(PROJ, true);
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
