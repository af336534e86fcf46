// Surface heights and the segment query on surfaces whose answers follow from
// their geometry: planes, a ridge, a folded surface, a wall and a crest.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "analiza/Profil.h"
#include "analiza/Wysokosci.h"

namespace {

using P3 = std::array<double, 3>;
TTrojkat Trojkat(const P3& a, const P3& b, const P3& c) {
    TTrojkat t;
    t.X1 = a[0], t.Y1 = a[1], t.Z1 = a[2], t.X2 = b[0], t.Y2 = b[1], t.Z2 = b[2], t.X3 = c[0], t.Y3 = c[1], t.Z3 = c[2];
    return t;
}

// A grid of krok x krok squares over [x0, x1] x [y0, y1], each split into two
// triangles (alternating diagonals), with heights z(x, y) at the vertices.
std::vector<TTrojkat> Siatka(double x0, double x1, double y0, double y1, double krok,
                             const std::function<double(double, double)>& z) {
    std::vector<TTrojkat> w;
    const int nx = static_cast<int>(std::lround((x1 - x0) / krok)),
              ny = static_cast<int>(std::lround((y1 - y0) / krok));
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const double xa = x0 + i * krok, xb = xa + krok, ya = y0 + j * krok, yb = ya + krok;
            const P3 a{xa, ya, z(xa, ya)}, b{xb, ya, z(xb, ya)}, c{xb, yb, z(xb, yb)}, d{xa, yb, z(xa, yb)};
            w.push_back((i + j) % 2 ? Trojkat(a, b, c) : Trojkat(a, b, d));
            w.push_back((i + j) % 2 ? Trojkat(a, c, d) : Trojkat(b, c, d));
        }
    return w;
}

constexpr double Brak = std::numeric_limits<double>::quiet_NaN();

// Expected height z at (x, y); NaN: no surface there.
void SprawdzWysokosci(const TIndeksWysokosci& ix, const std::vector<std::array<double, 3>>& przypadki) {
    for (const auto& [x, y, z] : przypadki) {
        const std::optional<double> w = Wysokosc(ix, x, y);
        EXPECT_EQ(w.has_value(), !std::isnan(z)) << x << ", " << y;
        if (w && !std::isnan(z)) EXPECT_NEAR(*w, z, 1e-9) << x << ", " << y;
    }
}

}  // namespace

TEST(Wysokosci, PlaszczyznyGrzbietIZakladka) {
    // The plane z = 2x + 3y + 5 over [0, 10]^2 in two triangles: vertices, the
    // shared diagonal, an edge, the inside, and points a micrometre outside.
    const auto plaszczyzna = [](double x, double y) { return 2 * x + 3 * y + 5; };
    const TIndeksWysokosci kwadrat = ZbudujIndeksWysokosci(Siatka(0, 10, 0, 10, 10, plaszczyzna));
    SprawdzWysokosci(kwadrat, {{0, 0, 5},
                               {10, 0, 25},
                               {10, 10, 55},
                               {0, 10, 35},
                               {5, 5, 30},
                               {2.5, 7.5, 32.5},
                               {10, 3, 34},
                               {3, 0, 11},
                               {1, 2, 13},
                               {-1e-6, 5, Brak},
                               {5, 10 + 1e-6, Brak},
                               {10.5, 5, Brak},
                               {-3, -3, Brak},
                               {Brak, 1, Brak}});

    // A ridge along x = 5 (z = x to its west, 10 - x to its east) on a finer
    // grid: the ridge line and the shared vertices give the shared height.
    const TIndeksWysokosci grzbiet = ZbudujIndeksWysokosci(
        Siatka(0, 10, 0, 10, 1, [](double x, double) { return 5 - std::fabs(x - 5); }));
    SprawdzWysokosci(grzbiet, {{5, 0, 5},
                               {5, 3.3, 5},
                               {5, 10, 5},
                               {2, 7, 2},
                               {7.25, 1.5, 2.75},
                               {4, 4, 4},
                               {6.5, 6.5, 3.5},
                               {0, 0, 0},
                               {10, 10, 0},
                               {10 + 1e-6, 0, Brak}});

    // A folded surface: a roof at 4 over part of a floor at 1 (the highest counts).
    // Degenerate (no plan area) and non-finite triangles are left out.
    const std::vector<TTrojkat> zakladka = {
        Trojkat({0, 0, 1}, {10, 0, 1}, {0, 10, 1}), Trojkat({2, 2, 4}, {6, 2, 4}, {2, 6, 4}),
        Trojkat({0, 0, 100}, {5, 5, 100}, {10, 10, 100}), Trojkat({0, 0, 100}, {3, 3, 100}, {3, 3, 100}),
        Trojkat({0, 0, Brak}, {10, 0, 100}, {0, 10, 100})};
    const TIndeksWysokosci z = ZbudujIndeksWysokosci(zakladka);
    EXPECT_EQ(z.IleTrojkatow(), 2);
    SprawdzWysokosci(z, {{3, 3, 4}, {2, 2, 4}, {4, 4, 4}, {4.001, 4.001, 1}, {1, 1, 1}, {8, 1, 1}, {6, 6, Brak}});

    // An all-degenerate set answers nothing.
    const TIndeksWysokosci pusty = ZbudujIndeksWysokosci({zakladka[3]});
    EXPECT_TRUE(pusty.Pusty() && !Wysokosc(pusty, 0, 0) &&
                !PierwszyPunktPodPowierzchnia(pusty, {0, 0, -1}, {1, 1, -1}));

    // File coordinates: the local point plus the load's shift.
    const TIndeksWysokosci przesuniety = ZbudujIndeksWysokosci(Siatka(0, 10, 0, 10, 10, plaszczyzna), 1000, 2000, 50);
    EXPECT_NEAR(*WysokoscWPliku(przesuniety, 1001, 2002), 2 + 6 + 5 + 50, 1e-9);
    EXPECT_FALSE(WysokoscWPliku(przesuniety, 1, 2));
}

TEST(Wysokosci, PunktyNaLosowejSiatceJakPrzegladWszystkich) {
    // A jittered grid of triangles queried at random points: the same answer
    // as testing every triangle one by one.
    std::mt19937 los(7);
    std::uniform_real_distribution<double> pkt(-5, 105);
    std::vector<TTrojkat> t;
    auto wez = [&](int i, int j) {
        std::mt19937 l(static_cast<unsigned>(i * 1000 + j));
        std::uniform_real_distribution<double> d(-0.3, 0.3);
        return P3{i * 2.0 + d(l), j * 2.0 + d(l), std::sin(i * 0.3) * 4 + j * 0.2};
    };
    for (int i = 0; i < 50; ++i)
        for (int j = 0; j < 50; ++j) {
            t.push_back(Trojkat(wez(i, j), wez(i + 1, j), wez(i + 1, j + 1)));
            t.push_back(Trojkat(wez(i, j), wez(i + 1, j + 1), wez(i, j + 1)));
        }
    const TIndeksWysokosci ix = ZbudujIndeksWysokosci(t);
    auto przeglad = [&](double x, double y) -> std::optional<double> {
        std::optional<double> w;
        for (const TTrojkat& r : t) {
            const double d = (r.X2 - r.X1) * (r.Y3 - r.Y1) - (r.Y2 - r.Y1) * (r.X3 - r.X1);
            const double l1 = ((r.X2 - x) * (r.Y3 - y) - (r.Y2 - y) * (r.X3 - x)) / d;
            const double l2 = ((r.X3 - x) * (r.Y1 - y) - (r.Y3 - y) * (r.X1 - x)) / d;
            const double l3 = 1 - l1 - l2;
            if (l1 < -1e-12 || l2 < -1e-12 || l3 < -1e-12) continue;
            const double z = l1 * r.Z1 + l2 * r.Z2 + l3 * r.Z3;
            if (!w || z > *w) w = z;
        }
        return w;
    };
    int ile = 0;
    for (int k = 0; k < 3000; ++k) {
        const double x = pkt(los), y = pkt(los);
        const auto a = Wysokosc(ix, x, y), b = przeglad(x, y);
        ASSERT_EQ(a.has_value(), b.has_value()) << x << ", " << y;
        ile += a.has_value();
        if (a) EXPECT_NEAR(*a, *b, 1e-9);
    }
    EXPECT_GT(ile, 2000);
}

TEST(Wysokosci, OdcinekPodPowierzchnia) {
    // Ground z = 0 along x with a wall from x = 48 (0) up to x = 50 (10) and
    // down to x = 52 (0), on a grid of 2 m, for y in [-10, 10].
    const auto sciana = [](double x, double) { return std::max(0.0, 10 - 5 * std::fabs(x - 50)); };
    const TIndeksWysokosci s = ZbudujIndeksWysokosci(Siatka(0, 100, -10, 10, 2, sciana));
    // A crest: up from 0 at x = 0 to 5 at x = 50, down to 0 at x = 100.
    const auto grzbiet = [](double x, double) { return 5 - std::fabs(x - 50) / 10; };
    const TIndeksWysokosci g = ZbudujIndeksWysokosci(Siatka(0, 100, -10, 10, 2, grzbiet));
    struct TPrzypadek {
        const TIndeksWysokosci* Ix;
        TPunkt3D A, B;
        double t;
    };  // t NaN: the segment stays above
    const TPrzypadek przypadki[] = {
        // Level line at 2 through the wall: under it where 5 (x - 48) = 2.
        {&s, {100, 0, 2}, {0, 0, 2}, 0.484},
        // The same line slanting in plan across the grid: x from 10 to 90, y from -8 to 8.
        {&s, {10, -8, 2}, {90, 8, 2}, (48.4 - 10) / 80},
        // Over the wall's top.
        {&s, {0, 0, 10.5}, {100, 3, 10.5}, Brak},
        // Sight line over the crest: eye at 1.5 above x = 0, target at 0.5 at x = 100;
        // 1.5 - 0.01 x = 0.1 x at x = 150/11.
        {&g, {0, 0, 1.5}, {100, 0, 0.5}, 150.0 / 11 / 100},
        // An eye 1.2 above the rising side looking at a point on the surface: not blocked.
        {&g, {10, 1, 2.2}, {40, 1, 4}, Brak},
        // Along the surface of a plane part: touching is not passing below.
        {&g, {2, -3, 0.2}, {40, -3, 4}, Brak},
        // Starting below and climbing out: at its start.
        {&g, {20, 0, 1}, {20, 0, 9}, 0},
        // A vertical segment from 10 down to -10 at x = 25 (surface 2.5).
        {&g, {25, 0, 10}, {25, 0, -10}, 0.375},
        // Only its end lies below: still below just before the end.
        {&g, {50, 0, 6}, {50, 0, 4.9}, 1 / 1.1},
        // Beyond the surface in plan.
        {&g, {-50, 0, -10}, {-1, 30, -10}, Brak},
        // Coming from outside the surface at height 3: meets the crest at x = 30.
        {&g, {-100, 0, 3}, {100, 0, 3}, 0.65},
    };
    for (const TPrzypadek& p : przypadki) {
        SCOPED_TRACE(&p - przypadki);
        const auto w = PierwszyPunktPodPowierzchnia(*p.Ix, p.A, p.B);
        ASSERT_EQ(w.has_value(), !std::isnan(p.t));
        if (!w) continue;
        EXPECT_NEAR(w->t, p.t, 1e-9);
        const TPunkt3D q = p.A + (p.B - p.A) * p.t;
        EXPECT_NEAR(std::hypot(w->Punkt.X - q.X, w->Punkt.Y - q.Y, w->Punkt.Z - q.Z), 0, 1e-7);
    }
    // The triangle reported is one the point lies in.
    const auto w = PierwszyPunktPodPowierzchnia(s, {0, 1, 2}, {100, 1, 2});
    ASSERT_TRUE(w);
    const TTrojkat r = Siatka(0, 100, -10, 10, 2, sciana).at(static_cast<std::size_t>(w->NumerTrojkata));
    EXPECT_TRUE(std::min({r.X1, r.X2, r.X3}) <= 48.4 && std::max({r.X1, r.X2, r.X3}) >= 48.4);
}

TEST(Wysokosci, OdcinkiNaPofalowanymTerenieZgodneZProbkowaniem) {
    // Random segments over a bumpy surface against 2000 samples of each: none before the
    // reported point is below, the point lies on the surface, a sample clearly below is never missed.
    const auto f = [](double x, double y) { return 3 * std::sin(x * 0.11) + 2 * std::cos(y * 0.07) + 0.01 * x; };
    const TIndeksWysokosci ix = ZbudujIndeksWysokosci(Siatka(0, 200, 0, 200, 2.5, f));
    std::mt19937 los(11);
    std::uniform_real_distribution<double> xy(-10, 210), z(-4, 8);
    for (int k = 0; k < 300; ++k) {
        const TPunkt3D a{xy(los), xy(los), z(los)}, b{xy(los), xy(los), z(los)};
        const auto w = PierwszyPunktPodPowierzchnia(ix, a, b);
        double pierwszaPod = Brak;
        for (int i = 1; i < 2000; ++i) {
            const double t = i / 2000.0;
            const TPunkt3D p = a + (b - a) * t;
            const auto h = Wysokosc(ix, p.X, p.Y);
            if (!h) continue;
            if (w && t < w->t - 1e-9) ASSERT_GE(p.Z, *h - 1e-6) << "k = " << k << ", t = " << t;
            if (std::isnan(pierwszaPod) && p.Z < *h - 1e-3) pierwszaPod = t;
        }
        if (!std::isnan(pierwszaPod)) ASSERT_TRUE(w && w->t <= pierwszaPod) << "k = " << k;
        // (Unless the segment came in from beyond the surface's edge already below it.)
        const TPunkt3D przed = a + (b - a) * (w ? w->t - 1e-6 : 0);
        if (w && w->t > 0 && Wysokosc(ix, przed.X, przed.Y)) {
            const auto h = Wysokosc(ix, w->Punkt.X, w->Punkt.Y);
            ASSERT_TRUE(h);
            EXPECT_NEAR(w->Punkt.Z, *h, 1e-6) << "k = " << k;
        }
    }
}

TEST(Profil, TekstyIPodzialy) {
    const std::pair<double, const char*> km[] = {
        {1234.56, "km 1+234,56"}, {50, "km 0+050,00"}, {999.996, "km 1+000,00"}, {-1, "km -0+001,00"}};
    for (const auto& [s, tekst] : km) EXPECT_EQ(TekstKilometrazu(s), tekst);
    EXPECT_EQ(TekstKilometrazu(178.544, '.'), "km 0+178.54");
    EXPECT_EQ(PikietyCoKrok(25, 10), (std::vector<double>{0, 10, 20, 25}));
    EXPECT_TRUE(PikietyCoKrok(20, 0).empty());
    EXPECT_EQ(OdleglosciPrzekroju(1.2, 0.5), (std::vector<double>{-1.2, -1, -0.5, 0, 0.5, 1, 1.2}));
    EXPECT_TRUE(OdleglosciPrzekroju(1, -1).empty());
}
