// One frame of the chainage view and of the driver's view: the placing at a
// chainage (UstawWidokNaPikiecie: render arrays rebuilt, placed, cut, sorted,
// shaded, the posts) and the redraw into a 958 x 637 picture through the
// program's canvas — what a frame of the drive costs.
//
// Two scenes: the sample road Przyklady/Droga.tro, and a synthetic terrain of
// 1,000,000 TEREN triangles (a grid of 2,000 x 250 cells of 2 m, gentle hills
// over a valley, the eye on the ground) with a route of four vertices with
// arcs and transition curves along it. Chainages spread along the route.
// Reported: the frames per second ("kl_s") and the triangles left to draw.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cmath>

#include "analiza/Wysokosci.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "route/OblTrasa.h"
#include "scena/Scena.h"
#include "scena/WidokKierowcy.h"

namespace {

constexpr int W = 958, H = 637;

double WysokoscTerenu(double x, double y) {
    const double dolina = 0.00012 * (y - 250.0) * (y - 250.0);
    return 20.0 + 6.0 * std::sin(x / 170.0) * std::cos(y / 90.0) + 2.5 * std::sin(x / 37.0 + y / 53.0) + dolina;
}

TZalom Zalom(double x, double y, float r, float a) {
    TZalom z;
    z.X = x, z.Y = y, z.R = r, z.A1 = a, z.A2 = a;
    return z;
}

void ZbudujMilion() {
    TEREN = TSiatka{};
    PROJ = TSiatka{};
    constexpr int Nx = 2000, Ny = 250;
    constexpr double k = 2.0;
    TEREN.Trojkaty.reserve(static_cast<std::size_t>(Nx) * Ny * 2);
    const char rodzaje[3] = {'H', 'N', 'E'};
    for (int i = 0; i < Nx; ++i)
        for (int j = 0; j < Ny; ++j) {
            const double x0 = i * k, y0 = j * k, x1 = x0 + k, y1 = y0 + k;
            TTrojkat a;
            a.X1 = x0, a.Y1 = y0, a.Z1 = WysokoscTerenu(x0, y0);
            a.X2 = x1, a.Y2 = y0, a.Z2 = WysokoscTerenu(x1, y0);
            a.X3 = x1, a.Y3 = y1, a.Z3 = WysokoscTerenu(x1, y1);
            a.Rodzaj.Kod = rodzaje[(i / 40 + j / 25) % 3];
            TTrojkat b = a;
            b.X2 = x1, b.Y2 = y1, b.Z2 = a.Z3;
            b.X3 = x0, b.Y3 = y1, b.Z3 = WysokoscTerenu(x0, y1);
            TEREN.Trojkaty.push_back(a);
            TEREN.Trojkaty.push_back(b);
        }
    Trasa = DaneUstawieniaTrasy{};
    Trasa.Zalomy = {Zalom(20, 250, 0, 0), Zalom(1300, 330, 900, 300), Zalom(2700, 170, 1200, 350),
                    Zalom(3980, 240, 0, 0)};
    ObliczTrase();
    ZbudujIndeksyWysokosci();
}

// The scene in memory: 0 none, 1 the sample road, 2 the million triangles.
int Scena = 0;

bool UstawScene(int scena) {
    InicjujZmienne(W, H);
    Rzut.OkoX = W * 0.5, Rzut.OkoY = -700.0, Rzut.OkoZ = 500.0, Rzut.PolEkranX = static_cast<float>(W * 0.5);
    if (Scena != scena) {
        if (scena == 1) OtworzTRO(ORVANY_ZRODLA "/Przyklady/Droga.tro");
        else ZbudujMilion();
        Scena = scena;
    }
    return Trasa.Obliczona;
}

void Klatka(benchmark::State& state, int scena, bool kierowca) {
    if (!UstawScene(scena)) {
        state.SkipWithError("trasa nie obliczona");
        return;
    }
    WidokKierowcy = TWidokKierowcy{};
    WidokKierowcy.Wlaczony = kierowca;
    if (kierowca) UstawOkoKierowcy(H);
    QImage obraz(W, H, QImage::Format_RGB32);
    const double od = Trasa.PikMin, dlugosc = Trasa.PikMax - Trasa.PikMin;
    int krok = 0;
    double rekordy = 0.0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        UstawWidokNaPikiecie(od + dlugosc * (0.05 + 0.9 * ((krok++ * 7) % 19) / 18.0));
        {
            PlotnoQt plotno(obraz);
            Przerysuj(plotno, W, H);
        }
        rekordy += static_cast<double>(TrojkatyTEREN.size() + TrojkatyPROJ.size());
        benchmark::DoNotOptimize(obraz.constBits());
    }
    const double n = static_cast<double>(state.iterations());
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / n;
    state.counters["kl_s"] = 1.0 / s;
    state.counters["rekordy"] = rekordy / n;
}

void BM_KlatkaTrasy_Droga(benchmark::State& s) { Klatka(s, 1, false); }
void BM_KlatkaKierowcy_Droga(benchmark::State& s) { Klatka(s, 1, true); }
void BM_KlatkaTrasy_Milion(benchmark::State& s) { Klatka(s, 2, false); }
void BM_KlatkaKierowcy_Milion(benchmark::State& s) { Klatka(s, 2, true); }

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
    const double od = Trasa.PikMin, dlugosc = Trasa.PikMax - Trasa.PikMin;
    int krok = 0;
    double t[3] = {};
    auto mierz = [&t](int i, auto f) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        t[i] += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    };
    for (auto _ : state) {
        const TPolozenieOka p = PolozenieOka(od + dlugosc * (0.05 + 0.9 * ((krok++ * 7) % 19) / 18.0), WidokKierowcy.Oko);
        mierz(0, [&p] { ZbudujSlupki(&p.Oko); });
        mierz(1, [&p] {
            UmiescWOku(p.Oko, p.Kierunek, p.Pochylenie, WidokKierowcy.Bliska, WidokKierowcy.Zasieg);
        });
        mierz(2, [&obraz] {
            PlotnoQt plotno(obraz);
            Przerysuj(plotno, W, H);
        });
    }
    const char* nazwy[3] = {"ms_slupki", "ms_umiesc", "ms_rysowania"};
    for (int i = 0; i < 3; ++i) state.counters[nazwy[i]] = t[i] / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(BM_KlatkaTrasy_Droga)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(38);
BENCHMARK(BM_KlatkaKierowcy_Droga)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(38);
BENCHMARK(BM_KlatkaTrasy_Milion)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);
BENCHMARK(BM_KlatkaKierowcy_Milion)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(19);
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
