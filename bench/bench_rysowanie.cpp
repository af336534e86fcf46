// Drawing speed: the program's rasterizer against QPainter on the same frame
// of flat triangles with outlines (pen and brush set for every record, as the
// renderer does). Picture 958 x 637, RGB32. The records are made here from a
// fixed seed, so every run draws the same frame.
//
// Each rasterizer benchmark reports "x_QPainter": how many times faster it
// drew the frame than QPainter did in the same run (the QPainter benchmarks
// run first), both measured in the thread's processor time, so that other
// work on a shared machine disturbs the ratio less.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <ctime>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "render/Rasteryzer.h"

namespace {

constexpr int W = 958;
constexpr int H = 637;

struct TRekord {
    TPunktEkranu P[3];
    TKolor Pioro;
    TKolor Pedzel;
};

// The test screens' generator: s := s * 134775813 + 1, a draw below k is (k * s) >> 32.
struct TLosowe {
    std::uint32_t s = 0;
    int Ponizej(int k) {
        s = s * 134775813u + 1u;
        return static_cast<int>((static_cast<std::uint64_t>(k) * s) >> 32);
    }
};

// Triangles whose vertices lie in a box of side `od`..`do_` pixels around a
// point of the picture (some cross its edges).
std::vector<TRekord> Rekordy(int ile, int od, int do_, std::uint32_t ziarno) {
    TLosowe los{ziarno};
    std::vector<TRekord> r(static_cast<std::size_t>(ile));
    for (TRekord& t : r) {
        const int cx = los.Ponizej(W), cy = los.Ponizej(H);
        const int bok = od + los.Ponizej(do_ - od + 1);
        for (TPunktEkranu& p : t.P) {
            p.X = cx + los.Ponizej(bok + 1) - bok / 2;
            p.Y = cy + los.Ponizej(bok + 1) - bok / 2;
        }
        const int szary = 60 + los.Ponizej(160);
        t.Pedzel = static_cast<TKolor>(szary | (los.Ponizej(256) << 8) | (szary << 16));
        t.Pioro = t.Pedzel - 0x050505u;
    }
    return r;
}

const std::vector<TRekord>& Male() {
    static const std::vector<TRekord> r = Rekordy(1000000, 2, 20, 1);
    return r;
}
const std::vector<TRekord>& Duze() {
    static const std::vector<TRekord> r = Rekordy(20000, 50, 400, 2);
    return r;
}

double CzasWatku() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// Milliseconds per frame of the last run of each benchmark.
std::map<std::string, double>& Czasy() {
    static std::map<std::string, double> c;
    return c;
}

QColor Kolor(TKolor k) { return QColor(k & 0xFF, (k >> 8) & 0xFF, (k >> 16) & 0xFF); }

void QPainterKlatka(benchmark::State& state, const std::vector<TRekord>& rekordy, const char* nazwa) {
    QImage obraz(W, H, QImage::Format_RGB32);
    const double start = CzasWatku();
    for (auto _ : state) {
        obraz.fill(0xFFF0F0F0u);
        QPainter p(&obraz);
        for (const TRekord& t : rekordy) {
            p.setPen(Kolor(t.Pioro));
            p.setBrush(Kolor(t.Pedzel));
            const QPoint q[3] = {{t.P[0].X, t.P[0].Y}, {t.P[1].X, t.P[1].Y}, {t.P[2].X, t.P[2].Y}};
            p.drawPolygon(q, 3);
        }
        p.end();
        benchmark::DoNotOptimize(obraz.constBits());
    }
    Czasy()[nazwa] = (CzasWatku() - start) / static_cast<double>(state.iterations());
    state.counters["trojkaty"] = static_cast<double>(rekordy.size());
}

// Our rasterizer through the canvas interface, as the renderer calls it.
void RasteryzerKlatka(benchmark::State& state, const std::vector<TRekord>& rekordy, const char* wzorzec) {
    std::vector<std::uint32_t> piksele(static_cast<std::size_t>(W) * H);
    TPlotnoRastrowe plotno(TBuforPikseli{piksele.data(), W, H, W});
    const double start = CzasWatku();
    for (auto _ : state) {
        plotno.UstawPedzel(clBtnFace);
        plotno.UstawPioro(0);
        plotno.Prostokat(0, 0, W, H);
        for (const TRekord& t : rekordy) {
            plotno.UstawPioro(t.Pioro);
            plotno.UstawPedzel(t.Pedzel);
            plotno.Wielokat(t.P, 3);
        }
        benchmark::DoNotOptimize(piksele.data());
        benchmark::ClobberMemory();
    }
    const double ms = (CzasWatku() - start) / static_cast<double>(state.iterations());
    state.counters["trojkaty"] = static_cast<double>(rekordy.size());
    const auto it = Czasy().find(wzorzec);
    if (it != Czasy().end() && ms > 0) state.counters["x_QPainter"] = it->second / ms;
}

void BM_QPainter_Male(benchmark::State& s) { QPainterKlatka(s, Male(), "male"); }
void BM_Rasteryzer_Male(benchmark::State& s) { RasteryzerKlatka(s, Male(), "male"); }
void BM_QPainter_Duze(benchmark::State& s) { QPainterKlatka(s, Duze(), "duze"); }
void BM_Rasteryzer_Duze(benchmark::State& s) { RasteryzerKlatka(s, Duze(), "duze"); }

}  // namespace

BENCHMARK(BM_QPainter_Male)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rasteryzer_Male)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QPainter_Duze)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rasteryzer_Duze)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
