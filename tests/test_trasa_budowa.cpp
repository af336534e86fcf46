// The route build: checks and their messages, chainages, the lookup of a
// point and a direction, values the build refuses, and the properties of
// a few hundred random routes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "route/OblKlotka.h"
#include "route/OblTrasa.h"

namespace {

constexpr double pi = std::numbers::pi;
using Linie = std::vector<std::string>;

struct W {
    double X, Y;
    float R = 0, A1 = 0, A2 = 0;
    const char* Nazwa = "";
};

void Buduj(const std::vector<W>& w) {
    Trasa.Zalomy.clear();
    for (const auto& v : w) {
        TZalom z;
        z.X = v.X;
        z.Y = v.Y;
        z.R = v.R;
        z.A1 = v.A1;
        z.A2 = v.A2;
        z.Nazwa.Ustaw(v.Nazwa);
        Trasa.Zalomy.push_back(z);
    }
    ObliczTrase();
}

TPunkt2D Punkt(double s) {
    TPunkt2D p{std::nan(""), std::nan("")};
    PunktNaPikiecie(s, p.X, p.Y);
    return p;
}
double Odl(TPunkt2D a, TPunkt2D b) { return std::hypot(a.X - b.X, a.Y - b.Y); }
double Kierunek(TPunkt2D a, TPunkt2D b) { return std::atan2(b.Y - a.Y, b.X - a.X); }
double RoznicaKatow(double a, double b) { return std::remainder(a - b, 2 * pi); }
double OdlOdProstej(TPunkt2D A, TPunkt2D B, TPunkt2D Q) {
    return ((B.X - A.X) * (Q.Y - A.Y) - (B.Y - A.Y) * (Q.X - A.X)) / Odl(A, B);
}

class Budowa : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        DopiszDoOpisu("linia z poprzedniego raportu");
    }
    // The build copies every viewer line it writes to KomunikatyTrasy.
    void TearDown() override { EXPECT_EQ(KomunikatyTrasy, OpisTekst); }
};

const std::vector<W> katProsty = {{0, 0}, {100, 0, 50}, {100, 100}};

}  // namespace

TEST_F(Budowa, SprawdzenieDefinicji) {
    Buduj({});
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_TRUE(OpisTekst.empty());
    Buduj({{5, 5, 100}});
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, Linie{"Definicja trasy musi składać się z min 2 punktów!"});

    // Radii on the ends are dropped with a notice; the route is one straight.
    Buduj({{0, 0, 200}, {100, 0, 200}});
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, (Linie{"Nie można wpisywać łuku na początku trasy! Zmieniam R=0!",
                                "Nie można wpisywać łuku na końcu trasy! Zmieniam R=0! Załom 1."}));
    EXPECT_EQ(Trasa.ElementyTrasy[0].R, 0);
    EXPECT_EQ(Trasa.Zalomy[0].R, 200.0f);  // the vertices keep their values
    EXPECT_EQ(Trasa.PikMax, 100.0f);
    EXPECT_EQ(Trasa.ElementyTrasy[1].PikPKP1, 100);
    Buduj({{0, 0, 0.011f}, {100, 0, -0.011f}});
    EXPECT_TRUE(OpisTekst.empty());

    const std::string naProstej =
        "Nie można wpisywać łuku pomiędzy 3 punkty znajdujęce się na jednej prostej! Zmieniam R=0! Załom ";
    Buduj({{0, 0}, {0.01, 100, 300}, {0.02, 200}});  // parallel to Y within 0.011
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, Linie{naProstej + "1."});
    EXPECT_EQ(Trasa.ElementyTrasy[1].R, 0);
    Buduj({{0, 0}, {0.01, 100, 0}, {0.02, 200}});
    EXPECT_TRUE(Trasa.Obliczona && OpisTekst.empty());
    Buduj({{0, 0}, {100, 50, -50}, {200, 100}});  // negative radius: not checked, no arc
    EXPECT_TRUE(Trasa.Obliczona && OpisTekst.empty());
    EXPECT_FALSE(Trasa.ElementyTrasy[1].JestLuk);
    // Slopes differing by less than 0.001, and a leg doubling back.
    Buduj({{0, 0}, {100, 50}, {200, 100.09, 40}, {300, 150.1, 30}, {200, 100.09}});
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, (Linie{naProstej + "2.", naProstej + "3."}));
}

TEST_F(Budowa, NakladanieLukow) {
    // Tangent lengths 60 + 60 on a leg of 100; names are Windows-1250 bytes.
    Buduj({{0, 0},
           {100, 0, 60, 0, 0, "\xA3uk"},
           {100, 100, 60, 0, 0,
            "\xAF"
            "ak"},
           {200, 100}});
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, Linie{" Załom Łuk poz. 2 oraz  załom Żak poz. 3 Zachodzą na siebie"});
    EXPECT_NEAR(Trasa.ElementyTrasy[2].PikPL, Trasa.ElementyTrasy[1].PikKL - 20, 1e-9);  // computed all the same
    // Curves that just meet overlap by the 0.001 margin; every pair is reported.
    Buduj({{0, 0},
           {100, 0, 50, 0, 0, "B"},
           {100, 100, 50, 0, 0, "C"},
           {200, 100, 0, 0, 0, "D"},
           {200.0005, 100, 0, 0, 0, "E"}});
    EXPECT_EQ(OpisTekst, (Linie{" Załom B poz. 2 oraz  załom C poz. 3 Zachodzą na siebie",
                                " Załom D poz. 4 oraz  załom E poz. 5 Zachodzą na siebie"}));
    Buduj({{0, 0}, {100, 0, 49.9f}, {100, 100, 49.9f}, {200, 100}});
    EXPECT_TRUE(Trasa.Obliczona && OpisTekst.empty());
}

TEST_F(Budowa, Pikiety) {
    Buduj(katProsty);
    ASSERT_TRUE(Trasa.Obliczona);
    const auto& e = Trasa.ElementyTrasy;
    EXPECT_EQ(e[1].PikW, 100);
    EXPECT_NEAR(e[1].PikPKP1, 50, 1e-9);
    EXPECT_EQ(e[1].PikPL, e[1].PikPKP1);
    EXPECT_NEAR(e[1].PikKKP2, 50 + 25 * pi, 1e-9);
    EXPECT_EQ(e[1].PikKL, e[1].PikKKP2);
    EXPECT_EQ(Odl(e[1].PunktPKP1, e[1].PunktPL) + Odl(e[1].PunktKKP2, e[1].PunktKL), 0);
    EXPECT_EQ(Trasa.PikMax, static_cast<float>(e[2].PikKKP2));
    EXPECT_NEAR(e[2].PikKKP2, 50 + 25 * pi + 50, 1e-9);
    EXPECT_EQ(Trasa.Xmax, 100);
    // R = 0.01 exactly is no arc.
    Buduj({{0, 0}, {100, 0, 0.01f}, {100, 100}});
    EXPECT_FALSE(Trasa.ElementyTrasy[1].JestLuk);
    EXPECT_EQ(Trasa.PikMax, 200.0f);

    // Deflection 1.0 rad, R = 100: clothoid lengths 53.19 and 100.
    Buduj({{-500, 0}, {0, 0, 100, 60, 120}, {500 * std::cos(1.0), 500 * std::sin(1.0)}});
    ASSERT_TRUE(Trasa.Obliczona);
    const TElementTrasy& k = e[1];
    EXPECT_NEAR(k.PikPKP1, 500 - k.T1, 1e-9);
    EXPECT_NEAR(k.PikKKP1 - k.PikPKP1, 53.19, 0.005);
    EXPECT_NEAR(k.PikKL - k.PikPL, k.DlugoscLuku, 1e-9);
    EXPECT_NEAR(k.PikKKP2 - k.PikPKP2, 100, 1e-3);
    EXPECT_NEAR(e[2].PikW, k.PikKKP2 - k.T2 + 500, 1e-9);

    // Parameter rows apply from their chainage: the second bend lies beyond
    // 1000, where V = 80 raises Amin from the ramp bound 81.65 to 147.6.
    ParametryProjektowe.push_back(ParametryProjektowe[0]);
    ParametryProjektowe[1].OdPikiety = 1000;
    ParametryProjektowe[1].PredkoscV = 80;
    Buduj({{0, 0}, {500, 0, 400, 10, 10}, {1000, 500, 400, 10, 10}, {1500, 500}});
    EXPECT_NEAR(e[1].Klotoida1.A, 81.65, 0.01);
    EXPECT_NEAR(e[2].Klotoida2.A, 147.60, 0.01);
}

TEST_F(Budowa, PunktIKierunekNaPikiecie) {
    for (double s : {1.0, -1.0}) {  // left turn and its mirror
        Buduj({{0, 0}, {100, 0, 50}, {100, s * 100}});
        auto jest = [s](double pik, double x, double y, double tol) {
            EXPECT_NEAR(Odl(Punkt(pik), {x, s * y}), 0, tol) << pik;
        };
        jest(25, 25, 0, 1e-9);
        jest(50, 50, 0, 1e-9);
        jest(89.27, 85.36, 14.64, 0.01);
        jest(50 + 25 * pi / 2, 50 + 50 * std::sin(pi / 4), 50 - 50 * std::cos(pi / 4), 1e-9);
        jest(150, 100, 71.46, 0.01);
        jest(-1, 0.001, 0, 1e-12);
        jest(179, 100, Trasa.PikMax - 0.001 - 25 * pi, 1e-9);
        const double obrot = s > 0 ? 0 : 2 * pi;
        EXPECT_EQ(KatNaPikiecie(25), 0);
        EXPECT_EQ(KatNaPikiecie(0), 0);
        EXPECT_NEAR(KatNaPikiecie(150), obrot + s * pi / 2, 1e-15);
        for (double p = 51; p < 128; p += 7) EXPECT_NEAR(KatNaPikiecie(p), obrot + s * (p - 50) / 50, 1e-9);
    }
    // The exact chord bearing also near the Y axis (a band of |dx| <= 0.001 on
    // the chord of 0.06 would report everything within 0.95 degrees as the axis).
    for (double kat : {pi / 2, pi / 2 + 0.001, pi / 2 - 0.0165, -pi / 2 + 0.005, -pi / 2 - 0.0165}) {
        Buduj({{0, 0}, {1000 * std::cos(kat), 1000 * std::sin(kat)}});
        EXPECT_NEAR(KatNaPikiecie(333), kat < 0 ? kat + 2 * pi : kat, 1e-9);
    }
    Buduj({{7, 0}, {7, -500}});
    EXPECT_NEAR(KatNaPikiecie(100), 3 * pi / 2, 1e-15);
    Buduj({{7, 0}, {7, 500}});
    EXPECT_EQ(KatNaPikiecie(100), pi / 2);

    // A leg whose ends differ in X by up to 0.01 is built as the leg it is.
    for (double dx : {0.0005, 0.005, 0.01}) {
        Buduj({{0, 0}, {dx, 300, 100}, {200, 400}});
        ASSERT_TRUE(Trasa.Obliczona);
        const TPunkt2D pl = Trasa.ElementyTrasy[1].PunktPL;
        EXPECT_NEAR(pl.X, dx * pl.Y / 300, 1e-12);
        EXPECT_GT(pl.Y, 200);
    }
    // Nothing covers a chainage of an unbuilt route: the pair stays as passed.
    Trasa = DaneUstawieniaTrasy{};
    double x = 7, y = 8;
    PunktNaPikiecie(10, x, y);
    EXPECT_EQ(x + y, 15);
    EXPECT_EQ(KatNaPikiecie(10), 0);
    // Vertices changed after a build: the lookup reads only what was built.
    Buduj(katProsty);
    Trasa.Zalomy.resize(50);
    EXPECT_NEAR(Punkt(25).X, 25, 1e-9);
}

// Values the geometry cannot work with are refused naming the vertex; nothing
// crashes, hangs or yields NaN.
TEST_F(Budowa, WartosciOdrzucane) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::string liczba = "Niepoprawna liczba w definicji załomu (X, Y, R, A1 lub A2)! Załom ";
    const std::string pokrywa = "Nie można wpisywać łuku w załomie pokrywającym się z sąsiednim załomem! Załom ";
    const std::string geometria = "Nie można obliczyć geometrii trasy! Załom ";
    struct Przypadek {
        std::vector<W> w;
        Linie komunikaty;
    } przypadki[] = {
        {{{0, 0}, {nan, 5, 50}, {100, 100}}, {liczba + "1."}},
        {{{0, 0}, {100, 0, float(inf)}, {100, 100}, {200, 100, 0, float(nan)}, {0, inf}},
         {liczba + "1.", liczba + "3.", liczba + "4."}},
        // An arc on a vertex coinciding with a neighbour (the zero leg's slope
        // 1e9 differs from the other leg's, so the line test lets it through).
        {{{0, 0}, {100, 0}, {100, 0, 50}, {200, 100}}, {pokrywa + "2."}},
        {{{0, 0}, {100, 0, 50}, {100, 0}, {100, 100}}, {pokrywa + "1."}},
        {{{0, 0}, {100, 0}, {100, 0}, {100, 100}}, {" Załom  poz. 2 oraz  załom  poz. 3 Zachodzą na siebie"}},
        {{{-1e308, 0}, {1e308, 0, 50}, {1e308, 1e308}}, {geometria + "1."}},  // differences overflow
        {{{-1e308, 0}, {1e308, 0}}, {geometria + "1."}},
        {{{0, 0}, {100, 0, 1e30f, 100, 100}, {100, 100}},
         {" Załom  poz. 1 oraz  załom  poz. 2 Zachodzą na siebie",
          " Załom  poz. 2 oraz  załom  poz. 3 Zachodzą na siebie"}},
    };
    for (const auto& p : przypadki) {
        Buduj(p.w);
        EXPECT_FALSE(Trasa.Obliczona);
        EXPECT_EQ(OpisTekst, p.komunikaty);
    }
    // Almost or exactly doubling back, where slope rounding may hide it from the line test.
    for (float A : {0.0f, 100.0f}) {
        Buduj({{0, 0}, {0.012, 1e6, 50, A, A}, {0.006, 5e5}});
        EXPECT_FALSE(Trasa.Obliczona || OpisTekst.empty());
        Buduj({{0, 0}, {100, 0, 50, A, A}, {0, 1e-9}});
        EXPECT_FALSE(Trasa.Obliczona || OpisTekst.empty());
    }
    // A radius of 1e30 on legs long enough is built.
    Buduj({{-1e33, 0}, {0, 0, 1e30f, 200, 200}, {0, 1e33}});
    EXPECT_TRUE(Trasa.Obliczona && std::isfinite(Trasa.PikMax) && std::isfinite(Punkt(1e33).X));
    // Design parameters that give no limits drop the clothoids; no rows keep the last set.
    ParametryProjektowe[0].kMax = 0;
    ParametryProjektowe[0].iMax = -1;
    Buduj({{-500, 0}, {0, 0, 100, 80, 80}, {0, 500}});
    EXPECT_TRUE(Trasa.Obliczona && !Trasa.ElementyTrasy[1].JestKlotoida);
    ParametryProjektowe.clear();
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);

    // 100,000 vertices in a zigzag with arcs on every inner one.
    std::vector<W> zygzak;
    for (int i = 0; i < 100000; ++i) zygzak.push_back({i * 100.0, (i % 2) * 100.0, 30});
    Buduj(zygzak);
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst.size(), 2u);  // the end radii dropped
    EXPECT_NEAR(Punkt(Trasa.PikMax / 2).X, 5e6, 200);
}

// A few hundred random routes: 3 to 10 vertices, deflections of 5 to 170
// degrees either way, radii 20 to 2000, clothoid parameters absent, single,
// below, inside or above their limits; legs mostly long enough for both curves.
TEST(TrasyLosowe, Wlasnosci) {
    ZerujStan();
    std::mt19937_64 gen(20261206);
    auto U = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(gen); };
    int zbudowane = 0, przechodzone = 0, zKlotoidami = 0, kroki = 0;
    for (int nr = 0; nr < 300; ++nr) {
        SCOPED_TRACE("trasa " + std::to_string(nr));
        const int n = 3 + static_cast<int>(U(0, 8));
        std::vector<double> delta(n, 0.0), T(n, 0.0);
        Trasa.Zalomy.assign(n, TZalom{});
        for (int i = 1; i + 1 < n; ++i) {
            TZalom& z = Trasa.Zalomy[i];
            const double d = U(5, 170) * pi / 180;
            delta[i] = U(0, 1) < 0.5 ? d : -d;
            z.R = static_cast<float>(20 * std::pow(100.0, U(0, 1)));
            float Amin = 0, Amax = 0;
            GraniceA(z.R, static_cast<float>(d), ParametryProjektowe[0], Amin, Amax);
            const double rodzaj = U(0, 5);
            const float wewnatrz = static_cast<float>(U(Amin, std::max(Amin, Amax)));
            z.A1 = rodzaj < 1 ? 0 : rodzaj < 2 ? 100 : rodzaj < 3 ? U(1, 30) : rodzaj < 4 ? wewnatrz : 1e4f;
            z.A2 = rodzaj < 2 ? 0 : rodzaj < 3 ? U(1, 30) : static_cast<float>(U(Amin, std::max(Amin, Amax)));
            T[i] = z.R * (std::tan(d / 2) + d);  // above any tangent length of the bend
        }
        double kier = U(0, 2 * pi), x = U(-1000, 1000), y = U(-1000, 1000);
        for (int i = 0; i < n; ++i) {
            Trasa.Zalomy[i].X = x;
            Trasa.Zalomy[i].Y = y;
            kier += delta[i];
            const double dl =
                ((T[i] + (i + 1 < n ? T[i + 1] : 0)) * U(1.01, 1.6) + U(1, 50)) * (U(0, 1) < 0.1 ? U(0.2, 0.9) : 1);
            x += dl * std::cos(kier);
            y += dl * std::sin(kier);
        }
        ObliczTrase();
        if (!Trasa.Obliczona) continue;
        ++zbudowane;

        const auto& el = Trasa.ElementyTrasy;
        bool dokladne = true, klotoidy = false;
        std::vector<std::pair<double, double>> zlacza;  // chainage, allowed step
        std::vector<double> klotoidaLuk;
        for (int i = 0; i < n; ++i) {
            const TElementTrasy& e = el[i];
            // Chainages in order within and between the elements; all numbers.
            EXPECT_TRUE(e.PikPKP1 <= e.PikKKP1 && e.PikKKP1 == e.PikPL && e.PikPL <= e.PikKL && e.PikKL == e.PikPKP2 &&
                        e.PikPKP2 <= e.PikKKP2 && std::isfinite(e.PikKKP2))
                << i;
            if (i > 0) {
                EXPECT_LE(el[i - 1].PikKKP2 + 0.001, e.PikPKP1) << i;
            }
            EXPECT_TRUE(std::isfinite(e.PunktPL.X + e.PunktKL.Y + e.PunktPKP1.X + e.PunktKKP2.Y + e.Srodek.X)) << i;
            if (!e.JestLuk) continue;
            // The centre on the inner side, at R (or Ys) from both legs; the curve ends on the legs.
            const TPunkt2D P{el[i - 1].X, el[i - 1].Y}, V{e.X, e.Y}, N{el[i + 1].X, el[i + 1].Y};
            const double s = e.LukWPrawo ? -1 : 1, tol = 1e-9 * (std::fabs(V.X) + std::fabs(V.Y) + e.R);
            EXPECT_EQ(e.LukWPrawo, OdlOdProstej(P, V, N) < 0);
            EXPECT_NEAR(s * OdlOdProstej(P, V, e.Srodek), e.JestKlotoida ? e.Klotoida1.Ys : e.R, tol) << i;
            EXPECT_NEAR(s * OdlOdProstej(V, N, e.Srodek), e.JestKlotoida ? e.Klotoida2.Ys : e.R, tol) << i;
            EXPECT_NEAR(OdlOdProstej(P, V, e.PunktPKP1), 0, tol) << i;
            EXPECT_NEAR(OdlOdProstej(V, N, e.PunktKKP2), 0, tol) << i;
            if (e.JestKlotoida) {
                klotoidy = true;
                dokladne = dokladne && e.Klotoida1.Tau <= 0.5 && e.Klotoida2.Tau <= 0.5;
                zlacza.insert(zlacza.end(), {{e.PikPKP1, 1e-3},
                                             {e.PikKKP1, 3e-5 * e.Klotoida1.A + 1e-3},
                                             {e.PikPKP2, 3e-5 * e.Klotoida2.A + 1e-3},
                                             {e.PikKKP2, 1e-3}});
                klotoidaLuk.insert(klotoidaLuk.end(), {e.PikKKP1, e.PikPKP2});
            } else {
                zlacza.insert(zlacza.end(), {{e.PikPL, 1e-3}, {e.PikKL, 1e-3}});
            }
        }
        if (!dokladne) continue;  // the series are accurate up to a turn of 0.5 rad
        ++przechodzone;
        zKlotoidami += klotoidy;
        const double poczatek = Trasa.PikMin + 0.01, koniec = std::min<double>(Trasa.PikMax, el[n - 1].PikKKP2) - 0.01;

        // Joints: points and directions just before and after agree.
        for (auto [j, dop] : zlacza) {
            if (j - 0.02 < poczatek || j + 0.02 > koniec) continue;
            const TPunkt2D przed = Punkt(j - 1e-6), po = Punkt(j + 1e-6);
            EXPECT_LE(Odl(przed, po), dop) << "pikieta " << j;
            EXPECT_NEAR(RoznicaKatow(Kierunek(Punkt(j - 0.01), przed), Kierunek(po, Punkt(j + 0.01))), 0, 1e-3) << j;
        }
        // Walk the curves (and a few metres of straight around them) in steps
        // of h: each step is h long and the lookup's direction is the chord's.
        // Steps across a clothoid-arc joint, or whose lookup chord of 0.06
        // crosses one, carry the joint's step and are excepted.
        const double h = 0.5;
        for (const TElementTrasy& e : el) {
            if (!e.JestLuk) continue;
            double s = std::max(e.PikPKP1 - 3, poczatek);
            TPunkt2D a = Punkt(s);
            for (int k = 0; s + h <= std::min(e.PikKKP2 + 3, koniec); s += h, ++k) {
                const TPunkt2D b = Punkt(s + h);
                ++kroki;
                const bool nadZlaczem = std::any_of(klotoidaLuk.begin(), klotoidaLuk.end(),
                                                    [&](double j) { return s - 0.031 <= j && j <= s + h + 0.031; });
                if (!nadZlaczem) {
                    EXPECT_NEAR(Odl(a, b), h, 1e-3 * h) << "pikieta " << s;
                    if (k % 3 == 0) {
                        EXPECT_NEAR(RoznicaKatow(KatNaPikiecie(s + h / 2), Kierunek(a, b)), 0, 0.01) << s;
                    }
                }
                a = b;
            }
        }
    }
    // The sample exercises what it claims to.
    EXPECT_GE(zbudowane, 150);
    EXPECT_LE(zbudowane, 290);
    EXPECT_GE(przechodzone, 100);
    EXPECT_GE(zKlotoidami, 30);
    EXPECT_GE(kroki, 100000);
}
