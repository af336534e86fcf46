// Speed of the stopping sight check over a whole road.
//
//  - BM_WidocznoscDroga/N: the sample road (Przyklady/Droga.tro, 2.9 km,
//    21,632 TEREN triangles and its design surface) at K = 10 in both
//    directions with the default settings, on N threads: the terrain outside
//    the design surface is prepared and every station walked, as the command
//    and the window run it.
//  - BM_Widocznosc1M/N: a synthetic scene of 1,000,000 triangles made at start
//    (a terrain grid of 1,800 x 254 cells of 2 m over 3.6 km x 0.5 km, hills
//    over a valley, and a 12 m design surface of 0.5 m x 2 m cells along a
//    route of four vertices with two bends and transition curves, its profile
//    a long wave of crests and sags partly in cut, partly on fill), K = 10,
//    both directions.
//
// Each reports the rows ("wiersze") and the failing ones ("nie").
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "analiza/Widocznosc.h"
#include "scena/Scena.h"
#include "route/OblTrasa.h"

namespace {

void Uruchom(benchmark::State& state, const TIndeksWysokosci& proj, const TIndeksWysokosci& teren) {
    TUstawieniaWidocznosci u;
    std::size_t wiersze = 0, nie = 0;
    for (auto _ : state) {
        const auto w = ObliczWidocznosc({Trasa, ParametryProjektowe}, u, proj, teren, {}, nullptr,
                                        static_cast<int>(state.range(0)));
        wiersze = w->size();
        nie = 0;
        for (const TWierszWidocznosci& r : *w) nie += !r.Ocena;
        benchmark::DoNotOptimize(w->data());
    }
    state.counters["wiersze"] = static_cast<double>(wiersze);
    state.counters["nie"] = static_cast<double>(nie);
}

void BM_WidocznoscDroga(benchmark::State& state) {
    InicjujZmienne(958, 637);
    try {
        OtworzTRO(ORVANY_ZRODLA "/Przyklady/Droga.tro");
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    Uruchom(state, *ix.PROJ, *ix.TEREN);
}

constexpr int Nx = 1800, Ny = 254;
constexpr double Krok = 2.0;

double Teren(double x, double y) {
    const double dolina = 0.00012 * (y - 250.0) * (y - 250.0);
    return 20.0 + 6.0 * std::sin(x / 170.0) * std::cos(y / 90.0) + 2.5 * std::sin(x / 37.0 + y / 53.0) + dolina;
}

TTrojkatRogi Trojkat(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3,
                     double z3) {
    TTrojkatRogi t;
    t.X1 = x1, t.Y1 = y1, t.Z1 = z1, t.X2 = x2, t.Y2 = y2, t.Z2 = z2, t.X3 = x3, t.Y3 = y3, t.Z3 = z3;
    return t;
}

struct TScena1M {
    TIndeksWysokosci Proj, Teren;
    std::size_t IleTrojkatow = 0;
};

const TScena1M& Scena1M() {
    static const TScena1M scena = [] {
        TScena1M s;
        InicjujZmienne(958, 637);
        Trasa = DaneUstawieniaTrasy{};
        auto zalom = [](double x, double y, float r, float a) {
            TZalom z;
            z.X = x, z.Y = y, z.R = r, z.A1 = a, z.A2 = a;
            return z;
        };
        Trasa.Zalomy = {zalom(20, 250, 0, 0), zalom(1200, 320, 600, 250), zalom(2400, 180, 500, 220),
                        zalom(3580, 250, 0, 0)};
        ObliczTrase();
        std::vector<TTrojkatRogi> teren, proj;
        teren.reserve(static_cast<std::size_t>(Nx) * Ny * 2);
        for (int i = 0; i < Nx; ++i)
            for (int j = 0; j < Ny; ++j) {
                const double x0 = i * Krok, y0 = j * Krok, x1 = x0 + Krok, y1 = y0 + Krok;
                teren.push_back(Trojkat(x0, y0, Teren(x0, y0), x1, y0, Teren(x1, y0), x1, y1, Teren(x1, y1)));
                teren.push_back(Trojkat(x0, y0, Teren(x0, y0), x1, y1, Teren(x1, y1), x0, y1, Teren(x0, y1)));
            }
        // The road: 0.5 m along, 2 m across, from 6 m left to 6 m right, level across.
        const double dl = Trasa.PikMax;
        auto punkt = [](double c, double o) {
            double x = 0, y = 0;
            PunktNaPikiecie(c, x, y);
            const double k = KatNaPikiecie(c);
            const double z = 21.0 + 7.0 * std::sin(c / 260.0) + 3.0 * std::sin(c / 97.0);
            return TPunkt3D{x + o * std::sin(k), y - o * std::cos(k), z};
        };
        for (double c = 0; c + 0.5 <= dl; c += 0.5)
            for (int j = 0; j < 6; ++j) {
                const double o0 = -6.0 + 2.0 * j, o1 = o0 + 2.0;
                const TPunkt3D a = punkt(c, o0), b = punkt(c + 0.5, o0), cc = punkt(c + 0.5, o1), d = punkt(c, o1);
                proj.push_back(Trojkat(a.X, a.Y, a.Z, b.X, b.Y, b.Z, cc.X, cc.Y, cc.Z));
                proj.push_back(Trojkat(a.X, a.Y, a.Z, cc.X, cc.Y, cc.Z, d.X, d.Y, d.Z));
            }
        s.IleTrojkatow = teren.size() + proj.size();
        s.Proj = ZbudujIndeksWysokosci(proj);
        s.Teren = ZbudujIndeksWysokosci(teren);
        return s;
    }();
    return scena;
}

void BM_Widocznosc1M(benchmark::State& state) {
    const TScena1M& s = Scena1M();
    if (!Trasa.Obliczona) {
        state.SkipWithError("trasa nie obliczona");
        return;
    }
    state.counters["trojkaty"] = static_cast<double>(s.IleTrojkatow);
    Uruchom(state, s.Proj, s.Teren);
}

}  // namespace

BENCHMARK(BM_WidocznoscDroga)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Widocznosc1M)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

BENCHMARK_MAIN();
