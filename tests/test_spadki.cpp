// Drainage and cross-fall against hand-worked bands and closed-form surfaces: the band edges on a
// straight, the flat disc of a superelevation runoff on a grade, a cross-fall built from a known q(s).
#include "analiza/Pochylenia.h"
#include "analiza/Profil.h"
#include "analiza/RaportyKontroli.h"
#include "analiza/Spadki.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

struct Spadki : ::testing::Test {
    void SetUp() override { ZerujStan(); }
    void TearDown() override { ZerujStan(); }
};

// The area of the disc of radius r lying below the line at height h over its centre.
double PoleCzesciKola(double r, double h) {
    h = std::clamp(h, -r, r);
    return r * r * (std::asin(h / r) + Pi / 2) + h * std::sqrt(r * r - h * h);
}

}  // namespace

TEST_F(Spadki, PrzedzialyNaProstejJakLiczoneRecznie) {
    // A straight along x from 0 to 100, bands of 30: [0, 30), [30, 60), [60, 90), [90, 100].
    BudujTrase({{0, 0}, {100, 0}});
    const TPodzialTrasy p = PodzielTrase(Trasa, 30, 10);
    ASSERT_EQ(p.IlePrzedzialow(), 4);
    EXPECT_EQ(p.Granice, (std::vector<double>{0, 30, 60, 90, 100}));

    // A level triangle (20,0) (50,0) (20,15) left of the axis: above y = 10 its tip (20,10) (30,10) (20,15),
    // 25 m^2, lies beyond W; x < 30 holds the rectangle 10 x 10, x from 30 to 50 the triangle under the
    // hypotenuse y = 15 - (x - 20) / 2, 20 x 10 / 2 = 100.
    // A plane of 1 % over x from -10 to 110, y from -20 to 20 (two triangles): only the corridor counts.
    std::vector<TTrojkatRogi> proj = {Trojkat({20, 0, 5}, {50, 0, 5}, {20, 15, 5})};
    for (const TTrojkatRogi& t : Siatka(
             -10, 110, -20, 20, 120, [](double x, double) { return 0.01 * x; }, 40))
        proj.push_back(t);
    const std::optional<TWynikSpadkow> w = ObliczSpadki(SiatkaZ(proj), p, 0.5);
    ASSERT_TRUE(w);
    const double pole[] = {100 + 600, 100 + 600, 600, 200}, plaskie[] = {100, 100, 0, 0};
    for (int j = 0; j < 4; ++j) {
        const TPrzedzialSpadkow& b = w->Przedzialy[j];
        EXPECT_NEAR(b.Pole, pole[j], 1e-9) << j;
        EXPECT_NEAR(b.PolePlaskie, plaskie[j], 1e-9) << j;
        ASSERT_TRUE(b.SpadekMin);
        EXPECT_NEAR(*b.SpadekMin, j < 2 ? 0.0 : 1.0, 1e-9) << j;
    }
    // One flat zone, on the left, between the strips' normals at 20 and 50.
    ASSERT_EQ(w->Strefy.size(), 1u);
    EXPECT_EQ(w->Strefy[0].Strona, -1);
    EXPECT_NEAR(w->Strefy[0].Od, 20, 1e-9);
    EXPECT_NEAR(w->Strefy[0].Do, 50, 1e-9);
    EXPECT_NEAR(w->Strefy[0].Pole, 200, 1e-9);
    // The report gives the zone at the displayed chainages (a start chainage of 1000 added).
    const std::vector<std::string> r = RaportSpadkow(*w, 1000, 0.5, 10);
    EXPECT_NE(std::find(r.begin(), r.end(), "km 1+020,00 – km 1+050,00, strona lewa: 200,00 m²"), r.end());

    // No design surface: areas 0, no least slope.
    const std::optional<TWynikSpadkow> pusty = ObliczSpadki(TSiatka{}, p, 0.5);
    ASSERT_TRUE(pusty && pusty->Przedzialy.size() == 4);
    EXPECT_TRUE(pusty->Przedzialy[0].Pole == 0 && !pusty->Przedzialy[0].SpadekMin);

    EXPECT_NE(Blad([&] { PodzielTrase(Trasa, 0, 10); }), "");
    EXPECT_NE(Blad([&] { PodzielTrase(Trasa, 10, -1); }), "");
    EXPECT_NE(Blad([&] { PodzielTrase(Trasa, 1e-6, 10); }), "");
}

TEST_F(Spadki, PlaskaStrefaRampyNaPochyleniu) {
    // The road along x on a grade g with the cross-fall rotating through zero at x0 at rate r:
    // z = g x + r (x - x0) y. The resultant slope (g + r y, r (x - x0)) stays below P on the disc of
    // radius P / r around (x0, -g / r), whose chord on the axis is the flat length 2 sqrt(P^2 - g^2) / r.
    const double g = 0.003, r = 0.0005, P = 0.005, x0 = 50, W = 3.5;
    EXPECT_NEAR(2 * std::sqrt(P * P - g * g) / r, 16.0, 1e-9);
    BudujTrase({{-50, 0}, {150, 0}});
    const TPodzialTrasy p = PodzielTrase(Trasa, 200, W);
    const auto proj = Siatka(20, 80, -4, 4, 0.1, [&](double x, double y) { return g * x + r * (x - x0) * y; });
    std::atomic<bool> przerwij{false};
    std::int64_t ostatni = 0, wszystkie = 0;
    const std::optional<TWynikSpadkow> w = ObliczSpadki(
        SiatkaZ(proj), p, P * 100, [&](std::int64_t z, std::int64_t n) { ostatni = z, wszystkie = n; }, &przerwij);
    ASSERT_TRUE(w && w->Przedzialy.size() == 1);
    EXPECT_EQ(ostatni, static_cast<std::int64_t>(proj.size()));
    EXPECT_EQ(wszystkie, ostatni);
    const double rk = P / r, yc = -g / r;
    const double oczekiwane = PoleCzesciKola(rk, W - yc) - PoleCzesciKola(rk, -W - yc);
    EXPECT_NEAR(w->Przedzialy[0].PolePlaskie, oczekiwane, 0.3);
    EXPECT_NEAR(w->Przedzialy[0].Pole, 60 * 2 * W, 1e-6);
    // Both sides have flat surface around chainage 100.
    ASSERT_EQ(w->Strefy.size(), 2u);
    for (const TStrefaPlaska& s : w->Strefy) EXPECT_TRUE(s.Od <= 100 && s.Do >= 100);

    // Cancelled before the start: no result.
    przerwij = true;
    EXPECT_FALSE(ObliczSpadki(SiatkaZ(proj), p, P * 100, {}, &przerwij));
}

TEST_F(Spadki, PrzedzialyNaLukuSumujaSieDoPasa) {
    // An arc of R = 200 turning 90 degrees between two straights; the corridor of half-width 20 of a
    // level plane has the area 2 W L (the offsets' lengths L (1 +- W / R) average to L) within the
    // chords' few millimetres, and the bands' boundaries fall on the normals.
    BudujTrase({{0, 0, 0}, {400, 0, 200}, {400, 400, 0}});
    const double L = Trasa.PikMax;
    const TPodzialTrasy p = PodzielTrase(Trasa, 25, 20);
    const auto proj = Siatka(-50, 450, -50, 450, 5, [](double, double) { return 0.0; });
    const std::optional<TWynikSpadkow> w = ObliczSpadki(SiatkaZ(proj), p);
    ASSERT_TRUE(w);
    double suma = 0;
    for (const TPrzedzialSpadkow& b : w->Przedzialy) suma += b.Pole;
    EXPECT_NEAR(suma, 2 * 20 * L, 0.5);
    // A band wholly on the straight is 25 x 40.
    EXPECT_NEAR(w->Przedzialy[1].Pole, 1000, 1e-6);
}

TEST_F(Spadki, PochyleniePoprzeczneZeZnanegoQ) {
    // q(s) on the left: -2.5 % up to x = 40, then rotating at 0.05 % per m to +2.5 % at x = 140, then
    // constant; the surface z = G x + q(x) / 100 y (a single slope across, so the right side has -q).
    const double G = 0.02;
    auto q = [](double x) { return std::clamp(-2.5 + 0.05 * (x - 40), -2.5, 2.5); };
    BudujTrase({{0, 0}, {200, 0}});
    const auto proj = Siatka(-5, 205, -5, 5, 0.5, [&](double x, double y) { return G * x + q(x) / 100 * y; });
    const TIndeksWysokosci ix = ZbudujIndeksWysokosci(proj);
    const std::vector<double> pikiety = PikietyCoKrok(Trasa.PikMax, 10);
    const auto w = ObliczPochylenia(Trasa, pikiety, 3.5, ix);
    ASSERT_TRUE(w && w->size() == pikiety.size());
    for (const TWierszPochylen& r : *w) {
        ASSERT_TRUE(r.QLewe && r.QPrawe && r.ZmianaLewe && r.ZmianaPrawe) << r.Pikieta;
        EXPECT_NEAR(*r.QLewe, q(r.Pikieta), 0.01) << r.Pikieta;
        EXPECT_NEAR(*r.QPrawe, -q(r.Pikieta), 0.01) << r.Pikieta;
        // Central differences away from the kinks at 40 and 140 (one-sided at the ends) give the rate.
        if (std::fabs(r.Pikieta - 40) > 10 && std::fabs(r.Pikieta - 140) > 10) {
            const double rate = r.Pikieta > 40 && r.Pikieta < 140 ? 0.05 : 0.0;
            EXPECT_NEAR(*r.ZmianaLewe, rate, 1e-3) << r.Pikieta;
            EXPECT_NEAR(*r.ZmianaPrawe, -rate, 1e-3) << r.Pikieta;
        }
    }
    // At a kink the central difference averages: (q(50) - q(30)) / 20 = 0.025.
    EXPECT_NEAR(*(*w)[4].ZmianaLewe, 0.025, 1e-3);

    // Where the edge leaves the surface the fields are empty.
    const auto waski = ObliczPochylenia(Trasa, pikiety, 6, ix);
    ASSERT_TRUE(waski);
    EXPECT_FALSE((*waski)[3].QLewe || (*waski)[3].ZmianaLewe || (*waski)[3].QPrawe);
    EXPECT_NE(Blad([&] { ObliczPochylenia(Trasa, pikiety, 0, ix); }), "");
}

TEST_F(Spadki, SpadekTrojkataToNachylenieWypadkowe) {
    // z = 0.03 x - 0.04 y: 5 % whatever the triangle's shape; a vertical triangle has none.
    EXPECT_NEAR(*SpadekTrojkata(Trojkat({0, 0, 0}, {7, 1, 0.17}, {2, 9, -0.3})), 5.0, 1e-9);
    EXPECT_FALSE(SpadekTrojkata(Trojkat({0, 0, 0}, {1, 1, 0}, {2, 2, 5})));
    // Classes at the threshold 0.5: below it, from it to twice it, the rest (and no slope).
    std::vector<TTrojkatRogi> t;
    for (double s : {0.4, 0.5, 0.9, 1.0, 5.0}) t.push_back(Trojkat({0, 0, 0}, {10, 0, s / 10}, {0, 10, 0}));
    t.push_back(Trojkat({0, 0, 0}, {1, 1, 0}, {2, 2, 5}));
    EXPECT_EQ(KlasySpadku(SiatkaZ(t), 0.5), (std::vector<std::uint8_t>{0, 1, 1, 2, 2, 2}));
}
