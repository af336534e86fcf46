// Values that parse but make no geometric sense, past the readers: the end of
// a long route, and render arrays holding huge or non-finite coordinates on
// their way through placing, cutting, shading and drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"

namespace {

void Zalomy(const std::vector<TPunkt2D>& punkty) {
    Trasa.Zalomy.clear();
    for (const TPunkt2D& p : punkty) {
        TZalom z;
        z.X = p.X;
        z.Y = p.Y;
        Trasa.Zalomy.push_back(z);
    }
    ObliczTrase();
}

TTrojkatRys Trojkat(TPunkt3D a, TPunkt3D b, TPunkt3D c) {
    TTrojkatRys r;
    r.P1 = a;
    r.P2 = b;
    r.P3 = c;
    r.Kolor = 0x969696;
    return r;
}

}  // namespace

TEST(WrogieWartosci, KoniecTrasyDluzszejNizPrecyzjaFloat) {
    // The end chainage 16777217.3 is held in PikMax as the float 16777218:
    // the slider's last position lies past the true end of the route.
    ZerujStan();
    Zalomy({{0, 0}, {16777217.3, 0}});
    ASSERT_TRUE(Trasa.Obliczona);
    const double koniec = Trasa.ElementyTrasy.back().PikKKP2;
    ASSERT_GT(Trasa.PikMax, koniec + 0.001);
    for (double s : {static_cast<double>(Trasa.PikMax), Trasa.PikMax + 1.0, koniec}) {
        double x = std::nan(""), y = std::nan("");
        PunktNaPikiecie(s, x, y);
        EXPECT_NEAR(x, 16777217.3, 0.002) << s;
        EXPECT_EQ(y, 0.0) << s;
        EXPECT_NEAR(KatNaPikiecie(s), 0.0, 1e-9) << s;
    }
    // A short route keeps its clamp at PikMax.
    Zalomy({{0, 0}, {100, 0}});
    double x = 0, y = 0;
    PunktNaPikiecie(1000, x, y);
    EXPECT_NEAR(x, 99.999, 1e-9);
}

TEST(WrogieWartosci, RysowanieWspolrzednychBezSensu) {
    // Render records as a generator or a long run of zooms may leave them:
    // nothing may crash, the cuts drop what has no finite depth, and every
    // frame is drawn.
    ZerujStan(200, 150);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<TTrojkatRys> dziwne = {
        Trojkat({0, 100, 0}, {10, 100, 0}, {0, 110, 5}),  // an ordinary one
        Trojkat({nan, 100, 0}, {10, nan, 0}, {0, 110, nan}),
        Trojkat({inf, 100, 0}, {10, -inf, 0}, {0, 110, inf}),
        Trojkat({1e300, -1e300, 0}, {-1e300, 1e300, 1e300}, {0, 0, -1e300}),
        Trojkat({1e30, 200, 0}, {-1e30, 200, 0}, {0, 210, 1e30}),
        Trojkat({5, 5, 5}, {5, 5, 5}, {5, 5, 5}),  // degenerate
    };
    std::vector<std::uint32_t> px(200 * 150);
    TPlotnoRastrowe plotno(TBuforPikseli{px.data(), 200, 150, 200});
    Rzut.RysujParametryEkran = true;
    for (bool tnij : {true, false}) {
        TrojkatyTEREN = dziwne;
        TrojkatyPROJ = dziwne;
        Czworokaty.assign(1, TCzworokatRys{{nan, 0, 0}, {inf, 0, 0}, {1e300, 0, 1e300}, {0, 0, 0}});
        Rzut.TnijTroj = tnij;
        Rzut.TrasaX = 1e300;
        Rzut.TrasaY = -inf;
        Rzut.katT = nan;
        PrzeliczRzut();
        Przerysuj(plotno, 200, 150);
        UmiescNaTrasie();
        KorektaYmin();
        KorektaLOko();
        SortujCzworokaty();
        Przerysuj(plotno, 200, 150);
        if (tnij) {
            for (const auto* tab : {&TrojkatyTEREN, &TrojkatyPROJ})
                for (const TTrojkatRys& r : *tab)
                    EXPECT_TRUE(std::isfinite(r.P1.Y) && std::isfinite(r.P2.Y) && std::isfinite(r.P3.Y));
        }
    }
    // The same arrays placed on a sound route point still give a picture.
    TrojkatyTEREN = dziwne;
    TrojkatyPROJ.clear();
    Rzut.TnijTroj = true;
    Rzut.TrasaX = 0;
    Rzut.TrasaY = 0;
    Rzut.katT = std::numbers::pi / 2;
    UmiescNaTrasie();
    Przerysuj(plotno, 200, 150);
    EXPECT_GE(IleTrojkatowTEREN(), 1);
}
