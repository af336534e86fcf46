// Surface heights and the segment query on planes, a ridge, a folded surface, a wall and a crest.
#include <atomic>
#include <limits>
#include <random>
#include <thread>

#include "common/Rownolegle.h"

#include "analiza/Profil.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

constexpr double Brak = std::numeric_limits<double>::quiet_NaN();

// Triples x, y and the height expected there (NaN: no surface).
void SprawdzWysokosci(const TIndeksWysokosci& ix, const std::vector<double>& p) {
    for (std::size_t i = 0; i < p.size(); i += 3) {
        const std::optional<double> w = Wysokosc(ix, p[i], p[i + 1]);
        EXPECT_EQ(w.has_value(), !std::isnan(p[i + 2])) << p[i] << ", " << p[i + 1];
        if (std::isnan(p[i + 2])) continue;
        EXPECT_NEAR(w.value_or(Brak), p[i + 2], 1e-9) << p[i] << ", " << p[i + 1];
    }
}

}  // namespace

TEST(Wysokosci, PlaszczyznyGrzbietIZakladka) {
    // The plane z = 2x + 3y + 5 over [0, 10]^2 in two triangles: its corners, the shared diagonal, points a
    // micrometre outside (inside points against every triangle: the random grid below).
    const auto plaszczyzna = [](double x, double y) { return 2 * x + 3 * y + 5; };
    const TIndeksWysokosci kwadrat = ZbudujIndeksWysokosci(Siatka(0, 10, 0, 10, 10, plaszczyzna));
    SprawdzWysokosci(kwadrat, {0,     0, 5,    10, 10,        55,   0, 10,   35,   5,    5, 30,
                               -1e-6, 5, Brak, 5,  10 + 1e-6, Brak, 1, Brak, Brak, 10.5, 5, Brak});

    // A ridge along x = 5 (z = x to its west, 10 - x to its east): the ridge line gives the shared height.
    const TIndeksWysokosci grzbiet = ZbudujIndeksWysokosci(
        Siatka(0, 10, 0, 10, 1, [](double x, double) { return 5 - std::fabs(x - 5); }));
    SprawdzWysokosci(grzbiet, {5, 0, 5, 5, 3.3, 5, 5, 10, 5, 2, 7, 2, 7.25, 1.5, 2.75, 10, 10, 0, 10 + 1e-6, 0, Brak});

    // A roof at 4 over part of a floor at 1 (the highest counts); degenerate and non-finite triangles left out.
    const std::vector<TTrojkatRogi> zakladka = {
        Trojkat({0, 0, 1}, {10, 0, 1}, {0, 10, 1}), Trojkat({2, 2, 4}, {6, 2, 4}, {2, 6, 4}),
        Trojkat({0, 0, 100}, {5, 5, 100}, {10, 10, 100}), Trojkat({0, 0, 100}, {3, 3, 100}, {3, 3, 100}),
        Trojkat({0, 0, Brak}, {10, 0, 100}, {0, 10, 100})};
    const TIndeksWysokosci z = ZbudujIndeksWysokosci(zakladka);
    EXPECT_EQ(z.IleTrojkatow(), 2);
    SprawdzWysokosci(z, {3, 3, 4, 2, 2, 4, 4, 4, 4, 4.001, 4.001, 1, 1, 1, 1, 8, 1, 1, 6, 6, Brak});

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
    // A jittered grid queried at random points: the same answer as testing every triangle.
    std::mt19937 los(7);
    std::uniform_real_distribution<double> pkt(-5, 105);
    std::vector<TTrojkatRogi> t;
    auto wez = [&](int i, int j) {
        std::mt19937 l(static_cast<unsigned>(i * 1000 + j));
        std::uniform_real_distribution<double> d(-0.3, 0.3);
        return TPunkt3D{i * 2.0 + d(l), j * 2.0 + d(l), std::sin(i * 0.3) * 4 + j * 0.2};
    };
    for (int i = 0; i < 50; ++i)
        for (int j = 0; j < 50; ++j) {
            t.push_back(Trojkat(wez(i, j), wez(i + 1, j), wez(i + 1, j + 1)));
            t.push_back(Trojkat(wez(i, j), wez(i + 1, j + 1), wez(i, j + 1)));
        }
    const TIndeksWysokosci ix = ZbudujIndeksWysokosci(t);
    auto przeglad = [&](double x, double y) -> std::optional<double> {
        std::optional<double> w;
        for (const TTrojkatRogi& r : t) {
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
        EXPECT_NEAR(a.value_or(0), b.value_or(0), 1e-9);
    }
    EXPECT_GT(ile, 2000);
}

TEST(Wysokosci, OdcinekPodPowierzchnia) {
    // A wall from x = 48 (0) up to x = 50 (10) and down to x = 52 (0) on flat ground.
    const auto sciana = [](double x, double) { return std::max(0.0, 10 - 5 * std::fabs(x - 50)); };
    const TIndeksWysokosci s = ZbudujIndeksWysokosci(Siatka(0, 100, -10, 10, 2, sciana));
    // A crest: from 0 at x = 0 up to 5 at x = 50, down to 0 at x = 100.
    const auto grzbiet = [](double x, double) { return 5 - std::fabs(x - 50) / 10; };
    const TIndeksWysokosci g = ZbudujIndeksWysokosci(Siatka(0, 100, -10, 10, 2, grzbiet));
    struct TPrzypadek {
        const TIndeksWysokosci* Ix;
        TPunkt3D A, B;
        double t;
    };  // t NaN: the segment stays above
    const TPrzypadek przypadki[] = {
        {&s, {100, 0, 2}, {0, 0, 2}, 0.484},                 // level at 2 into the wall: 5 (x - 48) = 2
        {&s, {0, 0, 10.5}, {100, 3, 10.5}, Brak},            // over the wall's top
        {&g, {0, 0, 1.5}, {100, 0, 0.5}, 150.0 / 11 / 100},  // 1.5 - 0.01 x = 0.1 x
        {&g, {10, 1, 2.2}, {40, 1, 4}, Brak},                // to a point on the surface: not blocked
        {&g, {2, -3, 0.2}, {40, -3, 4}, Brak},               // touching is not passing below
        {&g, {20, 0, 1}, {20, 0, 9}, 0},                     // starting below
        {&g, {25, 0, 10}, {25, 0, -10}, 0.375},              // vertical, surface at 2.5
        {&g, {50, 0, 6}, {50, 0, 4.9}, 1 / 1.1},             // only its end below
        {&g, {-100, 0, 3}, {100, 0, 3}, 0.65},               // from outside at 3: the crest at x = 30
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
    const TTrojkatRogi r = Siatka(0, 100, -10, 10, 2, sciana).at(static_cast<std::size_t>(w->NumerTrojkata));
    EXPECT_TRUE(std::min({r.X1, r.X2, r.X3}) <= 48.4 && std::max({r.X1, r.X2, r.X3}) >= 48.4);
}

TEST(Wysokosci, OdcinkiNaPofalowanymTerenieZgodneZProbkowaniem) {
    // Random segments over a bumpy surface against 2000 samples each: nothing below before the point,
    // the point on the surface, a sample clearly below never missed.
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
            ASSERT_TRUE(!w || t >= w->t - 1e-9 || p.Z >= *h - 1e-6) << "k = " << k << ", t = " << t;
            if (std::isnan(pierwszaPod) && p.Z < *h - 1e-3) pierwszaPod = t;
        }
        ASSERT_TRUE(std::isnan(pierwszaPod) || (w && w->t <= pierwszaPod)) << "k = " << k;
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
    // The tool's tables and the reports show the usual chainages; here the carry, a negative one, the uneven ends.
    EXPECT_EQ(TekstKilometrazu(999.996) + TekstKilometrazu(-1), "km 1+000,00km -0+001,00");
    EXPECT_EQ(PikietyCoKrok(25, 10), (std::vector<double>{0, 10, 20, 25}));
    EXPECT_EQ(OdleglosciPrzekroju(1.2, 0.5), (std::vector<double>{-1.2, -1, -0.5, 0, 0.5, 1, 1.2}));
    EXPECT_TRUE(PikietyCoKrok(20, 0).empty() && OdleglosciPrzekroju(1, -1).empty());
}

namespace {

// Flat indices at height z for the ground and z + 10 for the design surface over [0, 100]^2.
TIndeksyWysokosci Plaskie(double z) {
    return {ZbudujIndeksWysokosci(Siatka(0, 100, 0, 100, 25, [z](double, double) { return z + 10; })),
            ZbudujIndeksWysokosci(Siatka(0, 100, 0, 100, 25, [z](double, double) { return z; }))};
}

struct IndeksyWspolne : ::testing::Test {
    void TearDown() override { WyczyscIndeksyWysokosci(ProjektOkna); }
};

}  // namespace

TEST_F(IndeksyWspolne, AnalizaTrzymaIndeksyZeStartuAWczytaniePodmieniaNowe) {
    const TIndeksyWysokosci z1 = Plaskie(1);
    UstawIndeksyWysokosci(ProjektOkna, TIndeksWysokosci(*z1.PROJ), TIndeksWysokosci(*z1.TEREN));
    const TIndeksyWysokosci wziete = IndeksyWysokosci(ProjektOkna);
    // A load meanwhile: the new indices wait to be built; the ones taken stay whole and unchanged.
    OznaczIndeksyDoZbudowania(ProjektOkna, [] { return Plaskie(2); });
    EXPECT_EQ(Wysokosc(*wziete.TEREN, 50, 50), 1.0);
    EXPECT_EQ(Wysokosc(*wziete.PROJ, 50, 50), 11.0);
    const TIndeksyWysokosci nowe = IndeksyWysokosci(ProjektOkna);
    EXPECT_EQ(Wysokosc(*nowe.TEREN, 50, 50), 2.0);
    EXPECT_EQ(Wysokosc(*wziete.TEREN, 50, 50), 1.0);
    // Asking again gives the same indices, not a second build.
    EXPECT_EQ(IndeksyWysokosci(ProjektOkna).TEREN, nowe.TEREN);
    WyczyscIndeksyWysokosci(ProjektOkna);
    EXPECT_TRUE(IndeksyWysokosci(ProjektOkna).TEREN->Pusty());
    EXPECT_TRUE(IndeksyWysokosci(ProjektOkna).PROJ->Pusty());
    EXPECT_EQ(Wysokosc(*nowe.PROJ, 50, 50), 12.0);
}

TEST_F(IndeksyWspolne, NieudanaBudowaZgloszonaRazINiePowtarzana) {
    int budowy = 0;
    OznaczIndeksyDoZbudowania(ProjektOkna, [&budowy]() -> TIndeksyWysokosci {
        ++budowy;
        throw BladKonwersji("Za mało pamięci na indeks wysokości.");
    });
    EXPECT_EQ(Blad([] { IndeksyWysokosci(ProjektOkna); }), "Za mało pamięci na indeks wysokości.");
    // Later questions find no heights, without building or raising again, until the next load.
    for (int i = 0; i < 3; ++i) {
        const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
        EXPECT_TRUE(ix.TEREN->Pusty());
        EXPECT_FALSE(Wysokosc(*ix.PROJ, 50, 50));
    }
    ZbudujIndeksyWysokosci(ProjektOkna);
    EXPECT_EQ(budowy, 1);
    OznaczIndeksyDoZbudowania(ProjektOkna, [&budowy] { return ++budowy, Plaskie(3); });
    EXPECT_EQ(Wysokosc(*IndeksyWysokosci(ProjektOkna).TEREN, 10, 10), 3.0);
    EXPECT_EQ(budowy, 2);
}

TEST_F(IndeksyWspolne, DwaWatkiPytajaGdyWczytaniePodmieniaIndeksy) {
    // Two readers keep taking the indices and querying them while this thread swaps them, as loads do, both by
    // putting built indices in place and by marking them for the readers' first question to build. Each pair
    // taken belongs to one load (PROJ 10 m over TEREN) and answers the same for as long as it is held.
    std::atomic<bool> koniec{false};
    std::atomic<int> zle{0}, pytania{0};
    auto czytelnik = [&] {
        while (!koniec.load()) {
            const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
            const std::optional<double> t = Wysokosc(*ix.TEREN, 37.5, 62.5), p = Wysokosc(*ix.PROJ, 37.5, 62.5);
            if (!t || !p || *p != *t + 10) ++zle;
            for (int i = 0; i < 20; ++i)
                if (Wysokosc(*ix.TEREN, 1.0 + 4.9 * i, 99.0 - 4.9 * i) != t) ++zle;
            ++pytania;
        }
    };
    UstawIndeksyWysokosci(ProjektOkna, TIndeksWysokosci(*Plaskie(0).PROJ), TIndeksWysokosci(*Plaskie(0).TEREN));
    std::thread a(czytelnik), b(czytelnik);
    for (int i = 1; i <= 200; ++i) {
        if (i % 2) {
            OznaczIndeksyDoZbudowania(ProjektOkna, [i] { return Plaskie(i); });
        } else {
            const TIndeksyWysokosci n = Plaskie(i);
            UstawIndeksyWysokosci(ProjektOkna, TIndeksWysokosci(*n.PROJ), TIndeksWysokosci(*n.TEREN));
        }
    }
    while (pytania.load() < 100) std::this_thread::yield();
    koniec = true;
    a.join();
    b.join();
    EXPECT_EQ(zle.load(), 0);
}

TEST(Watki, BladKazdegoWatkuDochodziDoWywolujacego) {
    // Every thread's failure reaches the caller once all have ended; the others see it and stop early.
    for (int ktory = 0; ktory < 3; ++ktory) {
        std::atomic<int> zakonczone{0};
        const std::string b = Blad([&] {
            WKilkuWatkach(3, [&](int k, const std::atomic<bool>& blad) {
                if (k == ktory) throw BladKonwersji("wątek " + std::to_string(k));
                while (!blad.load()) std::this_thread::yield();
                ++zakonczone;
            });
        });
        EXPECT_EQ(b, "wątek " + std::to_string(ktory));
        EXPECT_EQ(zakonczone.load(), 2);
    }
    // Without a failure every thread runs once.
    std::atomic<int> razy{0};
    WKilkuWatkach(4, [&](int, const std::atomic<bool>&) { ++razy; });
    EXPECT_EQ(razy.load(), 4);
}
