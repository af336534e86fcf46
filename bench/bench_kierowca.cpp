// One frame of the chainage view and of the driver's view: the placing at a
// chainage (UstawWidokNaPikiecie: render arrays rebuilt, placed, cut, sorted,
// shaded, the posts) and the redraw into a 958 x 637 picture through the
// program's canvas — what a frame of the drive costs.
//
// Two scenes: the sample road Przyklady/Droga.tro, and the synthetic terrain
// of bench/ScenaTerenu.h (1,000,000 TEREN triangles, or ORVANY_BENCH_TROJKATY:
// gentle hills over a valley, the eye on the ground) with a route of four
// vertices with arcs and transition curves along it. Chainages spread along
// the route. (The "Milion" benchmarks run on that terrain whatever its size.)
// Reported: the frames per second ("kl_s"), the triangles left to draw and
// the page faults a frame takes ("bledy_stron").
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cmath>
#include <cstdlib>

#include <sys/resource.h>

#include "ScenaTerenu.h"
#include "analiza/Wysokosci.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "route/OblTrasa.h"
#include "scena/Scena.h"
#include "scena/WidokKierowcy.h"

namespace {

constexpr int W = 958, H = 637;

// The benchmarks' synthetic terrain with its route, and the heights index the driver's eye needs.
void ZbudujMilion() {
    scena_terenu::Zbuduj(scena_terenu::IleTrojkatow());
    OznaczIndeksyDoZbudowania(ProjektOkna);
    ZbudujIndeksyWysokosci(ProjektOkna);
}

// Page faults of the process so far (fresh memory: a frame that takes none allocates nothing large).
long BledyStron() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_minflt;
}

// The picture's size for the placing: what lies beside it is left out; with
// ORVANY_BENCH_BEZ_KADRU=1 nothing is (every triangle of the depth band kept,
// as before that was done), to compare the two in one run.
TKadr KadrObrazu() {
    const char* bez = std::getenv("ORVANY_BENCH_BEZ_KADRU");
    return bez && *bez == '1' ? TKadr{} : TKadr{W, H};
}

// The scene in memory: 0 none, 1 the sample road, 2 the million triangles.
int Scena = 0;

// What a frame keeps for the next one (the split of the drawing, its arrays),
// kept across the benchmarks' repetitions as the window keeps it across a drive.
TPodzialKlatki Podzial;

bool UstawScene(int scena) {
    InicjujZmienne(W, H);
    UstawOkoOkna(W, H);
    if (Scena != scena) {
        if (scena == 1)
            OtworzTRO(ORVANY_ZRODLA "/Przyklady/Droga.tro");
        else
            ZbudujMilion();
        Scena = scena;
    }
    return Trasa.Obliczona;
}

void Klatka(benchmark::State& state, int scena, bool kierowca, bool uproszczony = false) {
    if (!UstawScene(scena)) {
        state.SkipWithError("trasa nie obliczona");
        return;
    }
    WidokKierowcy = TWidokKierowcy{};
    WidokKierowcy.Wlaczony = kierowca;
    WidokKierowcy.UproszczonyTeren = uproszczony;
    if (kierowca) UstawOkoKierowcy(H);
    QImage obraz(W, H, QImage::Format_RGB32);
    TPodzialKlatki& podzial = Podzial;
    const double od = Trasa.PikMin, dlugosc = Trasa.PikMax - Trasa.PikMin;
    // The coarse far ground is made once per load, by the first frame that draws it: timed apart ("ms_siatki",
    // that frame's placing with the grid's making).
    double msSiatki = 0.0;
    if (uproszczony) {
        const auto t0 = std::chrono::steady_clock::now();
        UstawWidokNaPikiecie(od, true, KadrObrazu());
        msSiatki = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    int krok = 0;
    double rekordy = 0.0;
    const long bledyStron = BledyStron();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        UstawWidokNaPikiecie(od + dlugosc * (0.05 + 0.9 * ((krok++ * 7) % 19) / 18.0), true, KadrObrazu());
        {
            PlotnoQt plotno(obraz);
            Przerysuj(plotno, W, H, podzial);
        }
        rekordy += static_cast<double>(TrojkatyTEREN.size() + TrojkatyPROJ.size());
        benchmark::DoNotOptimize(obraz.constBits());
    }
    const double n = static_cast<double>(state.iterations());
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / n;
    state.counters["kl_s"] = 1.0 / s;
    state.counters["rekordy"] = rekordy / n;
    state.counters["bledy_stron"] = static_cast<double>(BledyStron() - bledyStron) / n;
    if (uproszczony) state.counters["ms_siatki"] = msSiatki;
}

void BM_KlatkaTrasy_Droga(benchmark::State& s) { Klatka(s, 1, false); }
void BM_KlatkaKierowcy_Droga(benchmark::State& s) { Klatka(s, 1, true); }
void BM_KlatkaTrasy_Milion(benchmark::State& s) { Klatka(s, 2, false); }
void BM_KlatkaKierowcy_Milion(benchmark::State& s) { Klatka(s, 2, true); }
// The same with the ground beyond 300 m drawn from the coarse grid (the option --uproszczony-teren).
void BM_KlatkaKierowcyUproszczony_Droga(benchmark::State& s) { Klatka(s, 1, true, true); }
void BM_KlatkaKierowcyUproszczony_Milion(benchmark::State& s) { Klatka(s, 2, true, true); }

// The driver's frame on the million triangles in its parts (milliseconds of
// each): the posts, the placing (the rebuild from the mesh with every vertex
// moved, zoomed, turned and tilted in the same pass, the cuts, the depth sort,
// the shading) and the redraw.
void BM_EtapyKierowcy_Milion(benchmark::State& state) {
    if (!UstawScene(2)) return state.SkipWithError("trasa nie obliczona");
    WidokKierowcy = TWidokKierowcy{};
    WidokKierowcy.Wlaczony = true;
    UstawOkoKierowcy(H);
    QImage obraz(W, H, QImage::Format_RGB32);
    TPodzialKlatki& podzial = Podzial;
    const double od = Trasa.PikMin, dlugosc = Trasa.PikMax - Trasa.PikMin;
    int krok = 0;
    double t[3] = {}, rekordy = 0.0;
    auto mierz = [&t](int i, auto f) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        t[i] += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    };
    for (auto _ : state) {
        const TPolozenieOka p = PolozenieOka(Trasa, od + dlugosc * (0.05 + 0.9 * ((krok++ * 7) % 19) / 18.0),
                                             WidokKierowcy.Oko, IndeksyWysokosci(ProjektOkna));
        mierz(0, [&p] { ZbudujSlupkiKierowcy(p, KadrObrazu()); });
        mierz(1, [&p] {
            UmiescWOku(p.Oko, p.Kierunek, p.Pochylenie, WidokKierowcy.Bliska, WidokKierowcy.Zasieg, {}, KadrObrazu());
        });
        rekordy += static_cast<double>(TrojkatyTEREN.size() + TrojkatyPROJ.size());
        mierz(2, [&obraz, &podzial] {
            PlotnoQt plotno(obraz);
            Przerysuj(plotno, W, H, podzial);
        });
    }
    const char* nazwy[3] = {"ms_slupki", "ms_umiesc", "ms_rysowania"};
    for (int i = 0; i < 3; ++i) state.counters[nazwy[i]] = t[i] / static_cast<double>(state.iterations());
    state.counters["rekordy"] = rekordy / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(BM_KlatkaTrasy_Droga)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(38);
BENCHMARK(BM_KlatkaKierowcy_Droga)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(38);
BENCHMARK(BM_KlatkaTrasy_Milion)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);
BENCHMARK(BM_KlatkaKierowcy_Milion)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);
BENCHMARK(BM_KlatkaKierowcyUproszczony_Droga)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(38);
BENCHMARK(BM_KlatkaKierowcyUproszczony_Milion)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);
BENCHMARK(BM_EtapyKierowcy_Milion)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);

// The labels of the posts are written with Qt's fonts: a QGuiApplication (offscreen) is needed.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplikacja(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
