// Speed of a whole frame and of the passes over the render arrays.
//
// Frames: the program's redraw (Przerysuj: background, frame box, sky, then
// every record in array order) of a generated scene into a 958 x 637 RGB32
// picture, once through the QPainter canvas and once through the program's
// canvas (its own rasterizer). The frame benchmarks of the program's canvas
// report how many times faster it drew the same frame than the QPainter
// canvas in the same run, in wall time ("x_QPainter", what the user waits for: the
// program's canvas draws a large frame in two threads) and in the processor
// time of the whole process ("x_QPainter_procesor", the work done).
//
//  - Male: 1,000,000 triangles whose vertices lie in a box of 2-20 px.
//  - Duze: 100,000 triangles whose vertices lie in a box of 50-400 px.
//
// Passes (1,000,000 triangles, ns per record in "ns_na_rekord"): PrzeliczRzut,
// Przesun, Skaluj, Obroc, the cutting at a near and a far depth, and the depth
// sort by KluczYmin.
//
// The scenes are made from a fixed seed at start and never stored.
#include <benchmark/benchmark.h>

#include <QImage>

#include <chrono>
#include <ctime>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "scena/Scena.h"

namespace {

constexpr int W = 958;
constexpr int H = 637;

// The test screens' generator: s := s * 134775813 + 1, a draw below k is (k * s) >> 32.
struct TLosowe {
    std::uint32_t s = 0;
    int Ponizej(int k) {
        s = s * 134775813u + 1u;
        return static_cast<int>((static_cast<std::uint64_t>(k) * s) >> 32);
    }
};

// Triangles lying on the screen plane (depth 0, where a point (x, 0, z) is
// drawn at column x, row H - z), each in a box of `od`..`do_` pixels around a
// point of the picture; some cross its edges. The eye is the window's (half
// the width, -700, 500).
std::vector<TTrojkatRys> Scena(int ile, int od, int do_, std::uint32_t ziarno) {
    TLosowe los{ziarno};
    std::vector<TTrojkatRys> r(static_cast<std::size_t>(ile));
    for (TTrojkatRys& t : r) {
        const int cx = los.Ponizej(W), cy = los.Ponizej(H);
        const int bok = od + los.Ponizej(do_ - od + 1);
        TPunkt3D* p[3] = {&t.P1, &t.P2, &t.P3};
        for (TPunkt3D* q : p) {
            const double x = cx + los.Ponizej(bok + 1) - bok / 2 + 0.25;
            const double y = cy + los.Ponizej(bok + 1) - bok / 2 + 0.25;
            *q = {x, 0.0, H - y};
        }
        const int szary = 60 + los.Ponizej(160);
        t.Kolor = static_cast<TKolor>(szary | (los.Ponizej(256) << 8) | (szary << 16));
    }
    return r;
}

const std::vector<TTrojkatRys>& Male() {
    static const std::vector<TTrojkatRys> r = Scena(1000000, 2, 20, 1);
    return r;
}
const std::vector<TTrojkatRys>& Duze() {
    static const std::vector<TTrojkatRys> r = Scena(100000, 50, 400, 2);
    return r;
}

// A sky picture: a vertical blue gradient.
TObraz Gradient() {
    TObraz o{256, 128, {}};
    o.Piksele.resize(256 * 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x)
            o.Piksele[static_cast<std::size_t>(y) * 256 + x] = 0xFF000000u | ((100 + y) << 16) | ((150 + y) << 8) |
                                                               255u;
    return o;
}

void UstawScene(const std::vector<TTrojkatRys>& trojkaty) {
    UstawStanOkna(W, H);
    Niebo = Gradient();
    TrojkatyTEREN = trojkaty;
    TrojkatyPROJ.clear();
    Czworokaty.clear();
    PrzeliczRzut();
}

// Processor time of the whole process (every thread), in milliseconds: the
// program's canvas may draw in two threads, and what both cost counts.
double CzasProcesu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

using Zegar = std::chrono::steady_clock;

// Wall and processor milliseconds per frame of the QPainter canvas.
struct TCzasy {
    double sciana = 0.0, procesor = 0.0;
};
std::map<std::string, TCzasy>& CzasyQPainter() {
    static std::map<std::string, TCzasy> c;
    return c;
}

template <typename Plotno>
void Klatka(benchmark::State& state, const std::vector<TTrojkatRys>& scena, const std::string& nazwa, bool qpainter) {
    UstawScene(scena);
    QImage obraz(W, H, QImage::Format_RGB32);
    const double start = CzasProcesu();
    const auto startSciana = Zegar::now();
    TPodzialKlatki podzial;  // kept from frame to frame, as the window keeps it
    for (auto _ : state) {
        Plotno plotno(obraz);
        Przerysuj(plotno, W, H, podzial);
        benchmark::DoNotOptimize(obraz.constBits());
    }
    const double n = static_cast<double>(state.iterations());
    const TCzasy t{std::chrono::duration<double, std::milli>(Zegar::now() - startSciana).count() / n,
                   (CzasProcesu() - start) / n};
    state.counters["trojkaty"] = static_cast<double>(scena.size());
    state.counters["ms_procesora"] = t.procesor;
    if (qpainter) {
        CzasyQPainter()[nazwa] = t;
    } else {
        const auto it = CzasyQPainter().find(nazwa);
        if (it != CzasyQPainter().end() && t.sciana > 0 && t.procesor > 0) {
            state.counters["x_QPainter"] = it->second.sciana / t.sciana;
            state.counters["x_QPainter_procesor"] = it->second.procesor / t.procesor;
        }
    }
}

void BM_Klatka_QPainter_Male(benchmark::State& s) { Klatka<PlotnoQPainter>(s, Male(), "male", true); }
void BM_Klatka_PlotnoQt_Male(benchmark::State& s) { Klatka<PlotnoQt>(s, Male(), "male", false); }
void BM_Klatka_QPainter_Duze(benchmark::State& s) { Klatka<PlotnoQPainter>(s, Duze(), "duze", true); }
void BM_Klatka_PlotnoQt_Duze(benchmark::State& s) { Klatka<PlotnoQt>(s, Duze(), "duze", false); }

// ---- Passes over the arrays ----

// Processor time of the calling thread, in nanoseconds.
double CzasWatkuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// Runs the pass once per iteration (after `przed`, which is not timed) and
// reports the processor nanoseconds per record it went through.
template <typename Przed, typename Przebieg>
void Przebiegi(benchmark::State& state, Przed przed, Przebieg przebieg) {
    double ns = 0.0, rekordy = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        przed();
        rekordy += static_cast<double>(TrojkatyTEREN.size());
        state.ResumeTiming();
        const double t0 = CzasWatkuNs();
        przebieg();
        ns += CzasWatkuNs() - t0;
    }
    state.counters["ns_na_rekord"] = rekordy > 0 ? ns / rekordy : 0.0;
}

void BM_PrzeliczRzut(benchmark::State& state) {
    UstawScene(Male());
    Przebiegi(
        state, [] {}, [] { PrzeliczRzut(); });
}

void BM_Przesun(benchmark::State& state) {
    UstawScene(Male());
    double d = 1.0;
    Przebiegi(
        state, [] {},
        [&d] {
            Przesun(d, -d, 0.5 * d);
            d = -d;
        });
}

void BM_Skaluj(benchmark::State& state) {
    UstawScene(Male());
    bool wiekszy = true;
    Przebiegi(
        state, [] {},
        [&wiekszy] {
            Skaluj(479.0, 0.0, 0.0, wiekszy ? 1.25 : 0.8);
            wiekszy = !wiekszy;
        });
}

void BM_Obroc(benchmark::State& state) {
    UstawScene(Male());
    double k = 0.05;
    Przebiegi(
        state, [] {},
        [&k] {
            Obroc(479.0, 0.0, 0.0, k, 0.0, 0.0);
            k = -k;
        });
}

// The scene turned to lie in depth from about -1200 to 2400, so that the
// cuts at -800 and 2000 keep most of it and cut a band at either end.
std::vector<TTrojkatRys> ScenaWGlab() {
    UstawScene(Male());
    Obroc(479.0, 0.0, 318.0, 0.0, 0.0, 1.4);
    Skaluj(479.0, 0.0, 318.0, 5.6);
    Przesun(0.0, 600.0, 0.0);
    return TrojkatyTEREN;
}

void BM_Tnij(benchmark::State& state) {
    const std::vector<TTrojkatRys> wzor = ScenaWGlab();
    Przebiegi(
        state, [&wzor] { TrojkatyTEREN = wzor; }, [] { TnijWidok(); });
    state.counters["zostalo"] = static_cast<double>(TrojkatyTEREN.size());
}

void BM_SortujYmin(benchmark::State& state) {
    const std::vector<TTrojkatRys> wzor = ScenaWGlab();
    Przebiegi(
        state, [&wzor] { TrojkatyTEREN = wzor; }, [] { KorektaYmin(); });
}

}  // namespace

BENCHMARK(BM_Klatka_QPainter_Male)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Klatka_PlotnoQt_Male)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Klatka_QPainter_Duze)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Klatka_PlotnoQt_Duze)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrzeliczRzut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Przesun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Skaluj)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Obroc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tnij)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortujYmin)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
