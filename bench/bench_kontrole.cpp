// Speed of the design checks beyond sight on a large scene: a terrain of
// 1,000,000 triangles (scena_terenu: 2,000 x 250 cells of 2 m over 4 km x
// 500 m, its route with two bends and transition curves) and a design surface
// of about 1,000,000 triangles along the route (8,000 rows across, 62 cells
// of 0.65 m from 20 m left to 20 m right, a long wave of crests and sags,
// a cross-fall rotating from -2.5 % to +2.5 % and back).
//
//  - BM_Spadki: the division of the route (bands of 10 m, W = 30) and the
//    drainage check of every design triangle, as `orvany3d-cli spadki`.
//  - BM_Objetosci: the division (W = 100) and cut and fill over the overlay
//    of both triangulations, as `orvany3d-cli objetosci`.
//  - BM_Pochylenia: the cross-fall at every 10 m, as `orvany3d-cli pochylenia`.
//  - BM_IndeksTerenu: the reference of the same run, the terrain's heights
//    index (built once for every load that asks for a height).
// Both cores are used as the command runs them.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "ScenaTerenu.h"
#include "analiza/Objetosci.h"
#include "analiza/Pochylenia.h"
#include "analiza/Profil.h"
#include "analiza/Spadki.h"

namespace {

struct TScena {
    TSiatka Proj;
    TIndeksWysokosci Teren, IndeksProj;
};

TTrojkatRogi Trojkat(const TPunkt3D& a, const TPunkt3D& b, const TPunkt3D& c) {
    TTrojkatRogi t;
    t.X1 = a.X, t.Y1 = a.Y, t.Z1 = a.Z, t.X2 = b.X, t.Y2 = b.Y, t.Z2 = b.Z, t.X3 = c.X, t.Y3 = c.Y, t.Z3 = c.Z;
    return t;
}

const TScena& Scena() {
    static const TScena scena = [] {
        TScena s;
        scena_terenu::Zbuduj(1000000);
        const double dl = Trasa.PikMax;
        constexpr int Wiersze = 8000, Kolumny = 62;
        auto punkt = [](double c, double o) {
            double x = 0, y = 0;
            PunktNaPikiecie(c, x, y);
            const double k = KatNaPikiecie(c);
            const double q = 0.025 * std::sin(c / 150.0);
            const double z = 21.0 + 7.0 * std::sin(c / 260.0) + 3.0 * std::sin(c / 97.0) - q * o;
            return TPunkt3D{x + o * std::sin(k), y - o * std::cos(k), z};
        };
        s.Proj.Trojkaty.reserve(2 * Wiersze * Kolumny);
        for (int i = 0; i < Wiersze; ++i) {
            const double c0 = dl * i / Wiersze, c1 = dl * (i + 1) / Wiersze;
            for (int j = 0; j < Kolumny; ++j) {
                const double o0 = -20.0 + 40.0 * j / Kolumny, o1 = -20.0 + 40.0 * (j + 1) / Kolumny;
                const TPunkt3D a = punkt(c0, o0), b = punkt(c1, o0), c = punkt(c1, o1), d = punkt(c0, o1);
                DodajTrojkat(s.Proj, Trojkat(a, b, c));
                DodajTrojkat(s.Proj, Trojkat(a, c, d));
            }
        }
        s.Teren = ZbudujIndeksWysokosci(TEREN);
        s.IndeksProj = ZbudujIndeksWysokosci(s.Proj);
        return s;
    }();
    return scena;
}

void BM_IndeksTerenu(benchmark::State& state) {
    Scena();
    for (auto _ : state) {
        TIndeksWysokosci ix = ZbudujIndeksWysokosci(TEREN);
        benchmark::DoNotOptimize(ix.Trojkaty.data());
    }
    state.counters["trojkaty"] = static_cast<double>(TEREN.Trojkaty.size());
}

void BM_Spadki(benchmark::State& state) {
    const TScena& s = Scena();
    double plaskie = 0;
    for (auto _ : state) {
        const TPodzialTrasy p = PodzielTrase(Trasa, 10, 30);
        const auto w = ObliczSpadki(s.Proj, p);
        plaskie = 0;
        for (const TPrzedzialSpadkow& b : w->Przedzialy) plaskie += b.PolePlaskie;
    }
    state.counters["trojkaty"] = static_cast<double>(s.Proj.Trojkaty.size());
    state.counters["pole_plaskie"] = plaskie;
}

void BM_Objetosci(benchmark::State& state) {
    const TScena& s = Scena();
    double wykop = 0, nasyp = 0;
    for (auto _ : state) {
        const TPodzialTrasy p = PodzielTrase(Trasa, 10, 100);
        const auto w = ObliczObjetosci(s.Proj, s.Teren, p);
        wykop = w->Wykop, nasyp = w->Nasyp;
    }
    state.counters["trojkaty"] = static_cast<double>(s.Proj.Trojkaty.size() + TEREN.Trojkaty.size());
    state.counters["wykop"] = wykop;
    state.counters["nasyp"] = nasyp;
}

void BM_Pochylenia(benchmark::State& state) {
    const TScena& s = Scena();
    for (auto _ : state) {
        const auto w = ObliczPochylenia(Trasa, PikietyCoKrok(Trasa.PikMax, 10), 3.5, s.IndeksProj);
        benchmark::DoNotOptimize(w->data());
    }
}

}  // namespace

BENCHMARK(BM_IndeksTerenu)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Spadki)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Objetosci)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Pochylenia)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
