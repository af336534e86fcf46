// Cut and fill against closed forms (a plane over a plane, two planes crossing) and against a fine-grid
// integration of random surfaces; the mass ordinate, the balance points and the area with no terrain.
#include <random>

#include "analiza/Objetosci.h"
#include "analiza/RaportyKontroli.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

struct Objetosci : ::testing::Test {
    void SetUp() override {
        ZerujStan();
        // A straight along x from 0 to 100: bands [0, 30), [30, 60), [60, 90), [90, 100].
        BudujTrase({{0, 0}, {100, 0}});
    }
    void TearDown() override { ZerujStan(); }
};

// The integral of a + b x + c y over the rectangle [x0, x1] x [y0, y1].
double CalkaPlaszczyzny(double a, double b, double c, double x0, double x1, double y0, double y1) {
    return (x1 - x0) * (y1 - y0) * (a + b * 0.5 * (x0 + x1) + c * 0.5 * (y0 + y1));
}

}  // namespace

TEST_F(Objetosci, PlaszczyznaNadPlaszczyznaToGraniastoslupy) {
    // Design z = 1 + 0.01 x - 0.002 y on cells of 2.5 m; terrain z = 0.2 + 0.005 y on cells of 1.7 x 2.3 m
    // reaching beyond it: fill everywhere, the prism over each band's 30 (or 10) x 30 m.
    const auto proj = Siatka(-10, 110, -15, 15, 2.5, [](double x, double y) { return 1 + 0.01 * x - 0.002 * y; });
    const auto teren = Siatka(
        -20, 120, -30, 30, 1.7, [](double, double y) { return 0.2 + 0.005 * y; }, 2.3);
    const TPodzialTrasy p = PodzielTrase(Trasa, 30, 20);
    const auto w = ObliczObjetosci(SiatkaZ(proj), ZbudujIndeksWysokosci(teren), p, 1.2);
    ASSERT_TRUE(w && w->Przedzialy.size() == 4);
    double masa = 0;
    for (const TPrzedzialObjetosci& b : w->Przedzialy) {
        const double nasyp = CalkaPlaszczyzny(0.8, 0.01, -0.007, b.Od, b.Do, -15, 15);
        EXPECT_NEAR(b.Nasyp, nasyp, 1e-7 * nasyp) << b.Od;
        EXPECT_NEAR(b.Wykop, 0, 1e-9) << b.Od;
        EXPECT_NEAR(b.Pole, (b.Do - b.Od) * 30, 1e-8) << b.Od;
        EXPECT_NEAR(b.BezTerenu, 0, 1e-6) << b.Od;
        masa -= nasyp;
        EXPECT_NEAR(b.Masa, masa, 1e-6 * std::fabs(masa)) << b.Od;
    }
    // The 10 m beyond each end belong to no band.
    EXPECT_NEAR(w->PozaPasami, 2 * 10 * 30, 1e-6);
    EXPECT_TRUE(w->PunktyZrownowazenia.empty());
}

TEST_F(Objetosci, PrzecinajacePlaszczyznyToKliny) {
    // Level design z = 0; terrain z = 0.02 (x - 45): fill before x = 45 and cut after it, each a wedge of
    // 0.02 * 15^2 / 2 * 30 = 67.5 m^3 in the band [30, 60).
    const auto proj = Siatka(0, 100, -15, 15, 2.5, [](double, double) { return 0.0; });
    const auto teren = Siatka(-5, 105, -20, 20, 2.2, [](double x, double) { return 0.02 * (x - 45); });
    const TPodzialTrasy p = PodzielTrase(Trasa, 30, 15);
    const auto w = ObliczObjetosci(SiatkaZ(proj), ZbudujIndeksWysokosci(teren), p, 1.0);
    ASSERT_TRUE(w);
    const TPrzedzialObjetosci& b = w->Przedzialy[1];
    EXPECT_NEAR(b.Nasyp, 67.5, 1e-8);
    EXPECT_NEAR(b.Wykop, 67.5, 1e-8);
    // Band [0, 30): fill of 0.02 * (45 - x) over x 0..30 and 30 m across: 0.02 * (45 * 30 - 450) * 30.
    EXPECT_NEAR(w->Przedzialy[0].Nasyp, 0.02 * (45 * 30 - 450) * 30, 1e-7);
    EXPECT_NEAR(w->Przedzialy[0].Wykop, 0, 1e-9);
    // Mass: fill 0..45 is 0.02 * 45^2 / 2 * 30 = 607.5, the cut after 45 makes it up at x = 90.
    ASSERT_EQ(w->PunktyZrownowazenia.size(), 1u);
    EXPECT_NEAR(w->PunktyZrownowazenia[0], 90, 1e-6);
    EXPECT_NEAR(w->Wykop, 0.02 * 55 * 55 / 2 * 30, 1e-6);
    EXPECT_NEAR(w->Nasyp, 607.5, 1e-6);
    const std::vector<std::string> r = RaportObjetosci(*w, 0, 15);
    EXPECT_NE(std::find(r.begin(), r.end(), "Punkty zrównoważenia mas: km 0+090,00"), r.end());
    EXPECT_NE(std::find(r.begin(), r.end(), "Wykop: 907,5 m³, nasyp: 607,5 m³"), r.end());

    // With a bulking factor of 1.5 the cut of (x - 45)^2 * 0.3 m^3 makes 607.5 m^3 of fill at 45 + sqrt(1350).
    const auto k = ObliczObjetosci(SiatkaZ(proj), ZbudujIndeksWysokosci(teren), p, 1.5);
    ASSERT_TRUE(k && k->PunktyZrownowazenia.size() == 1);
    // (linear within a strip of 5 m: the quadratic mass is off by less than 0.1 m)
    EXPECT_NEAR(k->PunktyZrownowazenia[0], 45 + std::sqrt(1350.0), 0.1);
    EXPECT_NEAR(k->Przedzialy.back().Masa, 1.5 * k->Wykop - k->Nasyp, 1e-6);
    EXPECT_NE(Blad([&] { ObliczObjetosci(SiatkaZ(proj), ZbudujIndeksWysokosci(teren), p, 0.0); }), "");
}

TEST_F(Objetosci, BezTerenuPomijaneIPoliczone) {
    // Terrain only for y >= -5 (and up to x = 70): the design's 10 m strip below y = -5, and everything past
    // x = 70, have no terrain: left out and counted.
    const auto proj = Siatka(0, 100, -15, 15, 2, [](double, double) { return 1.0; });
    const auto teren = Siatka(-5, 70, -5, 20, 1.25, [](double, double) { return 0.0; });
    const auto w = ObliczObjetosci(SiatkaZ(proj), ZbudujIndeksWysokosci(teren), PodzielTrase(Trasa, 30, 20), 1.0);
    ASSERT_TRUE(w);
    EXPECT_NEAR(w->Przedzialy[0].BezTerenu, 30 * 10, 1e-6);
    EXPECT_NEAR(w->Przedzialy[0].Nasyp, 30 * 20, 1e-6);
    EXPECT_NEAR(w->Przedzialy[2].BezTerenu, 10 * 10 + 20 * 30, 1e-6);
    EXPECT_NEAR(w->BezTerenu, 300 + 300 + 700 + 300, 1e-6);
}

TEST_F(Objetosci, LosowePowierzchnieZgodneZCalkowaniemNaSiatce) {
    // Random heights on two unrelated grids; the oracle integrates max(0, +-(terrain - design)) by the
    // midpoint rule on cells of 0.02 m over the band [30, 60) x [-10, 10]. Its error is of the order of
    // the kinks' share of the cells times the jump of the slope: well under 0.1 %.
    std::mt19937 los(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> hp(40 * 40), ht(60 * 60);
    for (double& h : hp) h = u(los);
    for (double& h : ht) h = 0.2 + u(los);
    auto wezel = [](const std::vector<double>& h, int n, double x0, double krok, double x, double y) {
        const int i = std::clamp(int(std::lround((x - x0) / krok)), 0, n - 1);
        const int j = std::clamp(int(std::lround((y - x0) / krok)), 0, n - 1);
        return h[j * n + i];
    };
    const auto proj = Siatka(20, 70, -15, 15, 3.1, [&](double x, double y) { return wezel(hp, 40, -20, 3.1, x, y); });
    const auto teren = Siatka(10, 80, -20, 20, 2.3, [&](double x, double y) { return wezel(ht, 60, -20, 2.3, x, y); });
    const TIndeksWysokosci ip = ZbudujIndeksWysokosci(proj), it = ZbudujIndeksWysokosci(teren);
    const auto w = ObliczObjetosci(SiatkaZ(proj), it, PodzielTrase(Trasa, 30, 10), 1.0);
    ASSERT_TRUE(w);
    const double h = 0.02;
    double wykop = 0, nasyp = 0;
    for (double x = 30 + h / 2; x < 60; x += h)
        for (double y = -10 + h / 2; y < 10; y += h) {
            const double d = *Wysokosc(it, x, y) - *Wysokosc(ip, x, y);
            (d > 0 ? wykop : nasyp) += std::fabs(d) * h * h;
        }
    EXPECT_GT(wykop, 50);
    EXPECT_GT(nasyp, 50);
    EXPECT_NEAR(w->Przedzialy[1].Wykop, wykop, 1e-3 * wykop);
    EXPECT_NEAR(w->Przedzialy[1].Nasyp, nasyp, 1e-3 * nasyp);
}
