// The route build: definition and overlap checks with their messages, the
// chainages, the lookup of a point and a direction, and routes with values
// the build must refuse without crashing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "route/OblKlotka.h"
#include "route/OblTrasa.h"

namespace {

constexpr double pi = std::numbers::pi;

struct Wierzcholek {
    double X, Y;
    float R = 0, A1 = 0, A2 = 0;
    std::string Nazwa = "";
};

void UstawTrase(const std::vector<Wierzcholek>& w) {
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
}

TPunkt2D Punkt(double s) {
    TPunkt2D p{-12345, -12345};
    PunktNaPikiecie(s, p.X, p.Y);
    return p;
}

class Budowa : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        DopiszDoOpisu("linia z poprzedniego raportu");
        KomunikatyTrasy.push_back("stary komunikat");
    }
    // The build copies every viewer line it writes to KomunikatyTrasy.
    void TearDown() override { EXPECT_EQ(KomunikatyTrasy, OpisTekst); }
};

// The right-angle left turn of radius 50.
void KatProsty() { UstawTrase({{0, 0}, {100, 0, 50}, {100, 100}}); }

}  // namespace

TEST_F(Budowa, SprawdzenieDefinicji) {
    UstawTrase({});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_TRUE(OpisTekst.empty());

    UstawTrase({{5, 5, 100}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{"Definicja trasy musi składać się z min 2 punktów!"});

    // Radii on the ends are dropped with a notice; the route is one straight.
    UstawTrase({{0, 0, 200}, {100, 0, 200}});
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, (std::vector<std::string>{
                             "Nie można wpisywać łuku na początku trasy! Zmieniam R=0!",
                             "Nie można wpisywać łuku na końcu trasy! Zmieniam R=0! Załom 1.",
                         }));
    EXPECT_EQ(Trasa.ElementyTrasy[0].R, 0);
    EXPECT_EQ(Trasa.Zalomy[0].R, 200.0f);  // the vertices keep their values
    EXPECT_FLOAT_EQ(Trasa.PikMax, 100);
    for (double p : {Trasa.ElementyTrasy[1].PikPKP1, Trasa.ElementyTrasy[1].PikPL, Trasa.ElementyTrasy[1].PikKKP2})
        EXPECT_DOUBLE_EQ(p, 100);
    // 0.011 itself is no arc on an end.
    UstawTrase({{0, 0, 0.011f}, {100, 0, -0.011f}});
    ObliczTrase();
    EXPECT_TRUE(OpisTekst.empty());

    // Three points on a line parallel to Y (X within 0.011).
    const std::string naProstej =
        "Nie można wpisywać łuku pomiędzy 3 punkty znajdujęce się na jednej prostej! Zmieniam R=0! Załom ";
    UstawTrase({{0, 0}, {0.01, 100, 300}, {0.02, 200}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{naProstej + "1."});
    EXPECT_EQ(Trasa.ElementyTrasy[1].R, 0);
    UstawTrase({{0, 0}, {0.01, 100, 0}, {0.02, 200}});
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_TRUE(OpisTekst.empty());
    // A negative radius is not checked and is no arc.
    UstawTrase({{0, 0}, {100, 50, -50}, {200, 100}});
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_TRUE(OpisTekst.empty());
    EXPECT_FALSE(Trasa.ElementyTrasy[1].JestLuk);
    // Slopes differing by less than 0.001, and a leg doubling back; 0-based indices.
    UstawTrase({{0, 0}, {100, 50}, {200, 100.09, 40}, {300, 150.1, 30}, {200, 100.09}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, (std::vector<std::string>{naProstej + "2.", naProstej + "3."}));
}

TEST_F(Budowa, NakladanieSasiednichLukow) {
    // Left then right on a leg of 100: tangent lengths 60 + 60.
    // Names are Windows-1250 bytes ("Łuk" and "Żak").
    UstawTrase({{0, 0, 0, 0, 0, "A"},
                {100, 0, 60, 0, 0, "\xA3uk"},
                {100, 100, 60, 0, 0, "\xAF" "ak"},
                {200, 100, 0, 0, 0, "K"}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{" Załom Łuk poz. 2 oraz  załom Żak poz. 3 Zachodzą na siebie"});
    // The geometry and chainages are there all the same.
    EXPECT_NEAR(Trasa.ElementyTrasy[2].PikPL, Trasa.ElementyTrasy[1].PikKL - 20, 1e-9);

    // Curves that just meet are reported, because of the 0.001 margin; every pair is.
    UstawTrase({{0, 0, 0, 0, 0, "A"},
                {100, 0, 50, 0, 0, "B"},
                {100, 100, 50, 0, 0, "C"},
                {200, 100, 0, 0, 0, "D"},
                {200.0005, 100, 0, 0, 0, "E"}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, (std::vector<std::string>{" Załom B poz. 2 oraz  załom C poz. 3 Zachodzą na siebie",
                                                   " Załom D poz. 4 oraz  załom E poz. 5 Zachodzą na siebie"}));
    // With room to spare: built.
    UstawTrase({{0, 0}, {100, 0, 49.9f}, {100, 100, 49.9f}, {200, 100}});
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_TRUE(OpisTekst.empty());
}

TEST_F(Budowa, PikietyKataProstego) {
    KatProsty();
    ObliczTrase();
    ASSERT_TRUE(Trasa.Obliczona);
    EXPECT_TRUE(OpisTekst.empty());
    EXPECT_EQ(Trasa.Xmin, 0);
    EXPECT_EQ(Trasa.Xmax, 100);
    EXPECT_EQ(Trasa.Ymax, 100);
    const auto& e = Trasa.ElementyTrasy;
    ASSERT_EQ(e.size(), 3u);
    EXPECT_DOUBLE_EQ(e[1].PikW, 100);
    EXPECT_NEAR(e[1].PikPL, 50, 1e-9);
    EXPECT_NEAR(e[1].PikKL, 50 + 25 * pi, 1e-9);
    EXPECT_EQ(e[1].PikPKP1, e[1].PikPL);
    EXPECT_EQ(e[1].PikKKP1, e[1].PikPL);
    EXPECT_EQ(e[1].PikPKP2, e[1].PikKL);
    EXPECT_EQ(e[1].PikKKP2, e[1].PikKL);
    EXPECT_EQ(e[1].PunktPKP1.X, e[1].PunktPL.X);
    EXPECT_EQ(e[1].PunktKKP2.Y, e[1].PunktKL.Y);
    EXPECT_NEAR(e[2].PikW, 50 + 25 * pi + 50, 1e-9);
    EXPECT_EQ(e[2].PikKKP2, e[2].PikW);
    EXPECT_EQ(Trasa.PikMax, static_cast<float>(e[2].PikKKP2));
    EXPECT_NEAR(Trasa.PikMax, 178.54, 0.005);
    for (double p : {e[0].PikPKP1, e[0].PikKKP1, e[0].PikPL, e[0].PikKL, e[0].PikPKP2, e[0].PikKKP2}) EXPECT_EQ(p, 0);

    // R = 0.01 exactly is no arc.
    UstawTrase({{0, 0}, {100, 0, 0.01f}, {100, 100}});
    ObliczTrase();
    ASSERT_TRUE(Trasa.Obliczona);
    EXPECT_FALSE(Trasa.ElementyTrasy[1].JestLuk);
    EXPECT_FLOAT_EQ(Trasa.PikMax, 200);
    EXPECT_EQ(Trasa.ElementyTrasy[1].PunktPL.X, 100);
}

TEST_F(Budowa, PikietyZKlotoidami) {
    // Deflection 1.0 rad, R = 100: A1 raised to 72.93, A2 lowered to 100.
    UstawTrase({{-500, 0}, {0, 0, 100, 60, 120}, {500 * std::cos(1.0), 500 * std::sin(1.0)}});
    ObliczTrase();
    ASSERT_TRUE(Trasa.Obliczona);
    const TElementTrasy& e = Trasa.ElementyTrasy[1];
    ASSERT_TRUE(e.JestKlotoida);
    EXPECT_DOUBLE_EQ(e.PikW, 500);
    EXPECT_NEAR(e.PikPKP1, 500 - e.T1, 1e-9);
    EXPECT_NEAR(e.PikKKP1 - e.PikPKP1, 53.19, 0.005);
    EXPECT_EQ(e.PikPL, e.PikKKP1);
    EXPECT_NEAR(e.PikKL - e.PikPL, e.DlugoscLuku, 1e-9);
    EXPECT_EQ(e.PikPKP2, e.PikKL);
    EXPECT_NEAR(e.PikKKP2 - e.PikPKP2, 100, 1e-3);
    EXPECT_NEAR(Trasa.ElementyTrasy[2].PikW, e.PikKKP2 - e.T2 + 500, 1e-9);
    // The source vertex keeps the parameters as read.
    EXPECT_EQ(Trasa.Zalomy[1].A1, 60.0f);
    // Given but below the limits on a larger bend: both raised to Amin.
    UstawTrase({{-500, 0}, {0, 0, 300, 10, 20}, {0, 500}});
    ObliczTrase();
    ASSERT_TRUE(Trasa.Obliczona);
    EXPECT_NEAR(Trasa.ElementyTrasy[1].Klotoida1.A, 72.93, 0.005);
    EXPECT_NEAR(Trasa.ElementyTrasy[1].Klotoida2.A, 72.93, 0.005);
}

TEST_F(Budowa, ParametryWedlugPikiety) {
    auto wiersz = ParametryProjektowe[0];
    // Rows are taken in order whenever s reaches them (the last one taken wins).
    wiersz.OdPikiety = 1000;
    wiersz.PredkoscV = 80;
    ParametryProjektowe.push_back(wiersz);
    wiersz.OdPikiety = 50;
    wiersz.PredkoscV = 60;
    ParametryProjektowe.push_back(wiersz);
    WybierzParametry(10);
    EXPECT_EQ(ParametryBiezace.PredkoscV, 50);
    WybierzParametry(50);
    EXPECT_EQ(ParametryBiezace.PredkoscV, 60);
    WybierzParametry(2000);
    EXPECT_EQ(ParametryBiezace.PredkoscV, 60);
    ParametryProjektowe.pop_back();
    WybierzParametry(2000);
    EXPECT_EQ(ParametryBiezace.PredkoscV, 80);

    // The second bend lies beyond chainage 1000: its clothoids follow V = 80.
    UstawTrase({{0, 0}, {500, 0, 400, 10, 10}, {1000, 500, 400, 10, 10}, {1500, 500}});
    ObliczTrase();
    ASSERT_TRUE(Trasa.Obliczona);
    EXPECT_NEAR(Trasa.ElementyTrasy[1].Klotoida1.A, 81.65, 0.01);  // ramp bound sqrt(16.67 * 400)
    EXPECT_NEAR(Trasa.ElementyTrasy[2].Klotoida1.A, std::sqrt(80.0 * 80 * 80 / (47 * 0.5)), 0.01);
}

TEST_F(Budowa, PunktyNaPikietach) {
    KatProsty();
    ObliczTrase();
    ASSERT_TRUE(Trasa.Obliczona);
    auto jest = [](double s, double x, double y, double tol = 1e-6) {
        const TPunkt2D p = Punkt(s);
        EXPECT_NEAR(p.X, x, tol) << s;
        EXPECT_NEAR(p.Y, y, tol) << s;
    };
    jest(25, 25, 0);
    jest(50, 50, 0);
    jest(50 + 25 * pi / 2, 50 + 50 * std::sin(pi / 4), 50 - 50 * std::cos(pi / 4));
    jest(89.27, 85.36, 14.64, 0.01);
    jest(150, 100, 71.46, 0.01);
    jest(150, 100, 150 - (50 + 25 * pi) + 50);
    jest(-1, 0.001, 0);
    jest(0, 0.001, 0);
    jest(179, 100, 100 - 0.001 - (50 + 25 * pi + 50 - Trasa.PikMax), 1e-9);
    jest(Trasa.PikMax, 100, 99.999, 1e-4);

    EXPECT_NEAR(KatNaPikiecie(25), 0, 1e-12);
    EXPECT_NEAR(KatNaPikiecie(150), pi / 2, 1e-12);
    EXPECT_NEAR(KatNaPikiecie(50 + 25 * pi / 2), pi / 4, 1e-6);
    EXPECT_NEAR(KatNaPikiecie(0), 0, 1e-12);
    EXPECT_NEAR(KatNaPikiecie(-1), 0, 1e-12);
    EXPECT_NEAR(KatNaPikiecie(179), pi / 2, 1e-12);
    // On the arc the chord's bearing is the tangent's.
    for (double s = 51; s < 128; s += 7) EXPECT_NEAR(KatNaPikiecie(s), (s - 50) / 50, 1e-9) << s;

    // Right-turn mirror: same chainages, mirrored points, directions below 2*pi.
    UstawTrase({{0, 0}, {100, 0, 50}, {100, -100}});
    ObliczTrase();
    ASSERT_TRUE(Trasa.Obliczona);
    jest(50 + 25 * pi / 2, 50 + 50 * std::sin(pi / 4), -(50 - 50 * std::cos(pi / 4)));
    jest(150, 100, -71.46, 0.01);
    EXPECT_NEAR(KatNaPikiecie(150), 3 * pi / 2, 1e-12);
    EXPECT_NEAR(KatNaPikiecie(50 + 25 * pi / 2), 7 * pi / 4, 1e-6);
    EXPECT_NEAR(KatNaPikiecie(25), 0, 1e-12);
}

// The direction is the exact bearing of the chord also close to the Y axis
// (a band of |dx| <= 0.001 on the 0.06 chord would round every direction
// within about 0.95 degrees of the axis to the axis itself).
TEST_F(Budowa, KierunekBliskoOsiY) {
    for (double odchylenie : {0.0, 0.001, -0.001, 0.005, 0.0165, -0.0165}) {
        for (double zwrot : {1.0, -1.0}) {
            const double kat = zwrot * pi / 2 + odchylenie;
            UstawTrase({{0, 0}, {1000 * std::cos(kat), 1000 * std::sin(kat)}});
            ObliczTrase();
            ASSERT_TRUE(Trasa.Obliczona);
            const double oczekiwany = kat < 0 ? kat + 2 * pi : kat;
            for (double s : {0.0, 333.0, 1000.0}) EXPECT_NEAR(KatNaPikiecie(s), oczekiwany, 1e-9) << kat;
        }
    }
    // Exactly along the axis: pi/2 and 3*pi/2.
    UstawTrase({{7, 0}, {7, 500}});
    ObliczTrase();
    EXPECT_EQ(KatNaPikiecie(100), pi / 2);
    UstawTrase({{7, 0}, {7, -500}});
    ObliczTrase();
    EXPECT_NEAR(KatNaPikiecie(100), 3 * pi / 2, 1e-15);
}

// A leg whose ends differ in X by a few millimetres is built as the leg it is.
TEST_F(Budowa, RamiePrawiePionowe) {
    for (double dx : {0.0, 0.0005, 0.005, 0.01}) {
        UstawTrase({{0, 0}, {dx, 300, 100}, {200, 400}});
        ObliczTrase();
        ASSERT_TRUE(Trasa.Obliczona) << dx;
        const TElementTrasy& e = Trasa.ElementyTrasy[1];
        const double t = e.PunktPL.Y / 300;  // the tangent point on the leg, not near X = 0
        EXPECT_NEAR(e.PunktPL.X, dx * t, 1e-9);
        EXPECT_GT(e.PunktPL.Y, 200);
        EXPECT_TRUE(e.LukWPrawo);
        EXPECT_NEAR(Punkt(100).X, dx / 3, 1e-9);
    }
}

TEST_F(Budowa, PoZaTrasieIBezTrasy) {
    // Nothing covers a chainage of an unbuilt route: the pair stays.
    double x = 7, y = 8;
    PunktNaPikiecie(10, x, y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
    EXPECT_EQ(KatNaPikiecie(10), 0.0);
    PunktNaPikiecie(std::nan(""), x, y);
    EXPECT_EQ(x, 7);
    // Vertices changed after a build: the lookup reads only what was built.
    KatProsty();
    ObliczTrase();
    Trasa.Zalomy.resize(50);
    EXPECT_NEAR(Punkt(25).X, 25, 1e-9);
    Trasa.Zalomy.resize(1);
    Trasa.ElementyTrasy.resize(40);
    EXPECT_NO_FATAL_FAILURE(Punkt(25));
    EXPECT_FALSE(SprawdzTrase());
}

// Values the geometry cannot work with are refused with a message that names
// the vertex; nothing crashes, hangs or yields NaN.
TEST_F(Budowa, NiepoprawneWartosci) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::string zlaLiczba = "Niepoprawna liczba w definicji załomu (X, Y, R, A1 lub A2)! Załom ";

    UstawTrase({{0, 0}, {nan, 5, 50}, {100, 100}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{zlaLiczba + "1."});

    UstawTrase({{0, 0}, {100, 0}, {100, inf}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{zlaLiczba + "2."});

    UstawTrase({{0, 0}, {100, 0, static_cast<float>(inf)}, {100, 100}, {200, 100, 0, static_cast<float>(nan)}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, (std::vector<std::string>{zlaLiczba + "1.", zlaLiczba + "3."}));

    // An arc on a vertex that coincides with its neighbour, before or after it
    // (the zero leg's slope 1e9 differs from the other leg's).
    const std::string pokrywa = "Nie można wpisywać łuku w załomie pokrywającym się z sąsiednim załomem! Załom ";
    UstawTrase({{0, 0}, {100, 0}, {100, 0, 50}, {200, 100}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{pokrywa + "2."});
    UstawTrase({{0, 0}, {100, 0, 50}, {100, 0}, {100, 100}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{pokrywa + "1."});
    // Without an arc, coinciding vertices overlap.
    UstawTrase({{0, 0}, {100, 0}, {100, 0}, {100, 100}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst.size(), 1u);

    // Coordinates whose differences overflow.
    UstawTrase({{-1e308, 0}, {1e308, 0, 50}, {1e308, 1e308}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{"Nie można obliczyć geometrii trasy! Załom 1."});
    UstawTrase({{-1e308, 0}, {1e308, 0}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst.size(), 1u);

    // A huge radius: the tangents cannot fit; no NaN on the way.
    UstawTrase({{0, 0}, {100, 0, 1e30f, 100, 100}, {100, 100}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);
    EXPECT_EQ(OpisTekst.size(), 2u);  // it overlaps both neighbours
    EXPECT_FALSE(std::isnan(Trasa.ElementyTrasy[1].PikKKP2));
    // ... unless the legs are as long.
    UstawTrase({{-1e33, 0}, {0, 0, 1e30f, 200, 200}, {0, 1e33}});
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_TRUE(std::isfinite(Trasa.PikMax));
    const TElementTrasy& e = Trasa.ElementyTrasy[1];
    EXPECT_TRUE(e.PikPKP1 <= e.PikKKP1 && e.PikKKP1 <= e.PikKL && e.PikKL <= e.PikKKP2);
    EXPECT_TRUE(std::isfinite(Punkt(1e33).X));

    // Almost doubling back where slope rounding hides it from the definition check.
    for (float A : {0.0f, 100.0f}) {
        UstawTrase({{0, 0}, {0.012, 1e6, 50, A, A}, {0.006, 5e5}});
        ObliczTrase();
        EXPECT_FALSE(Trasa.Obliczona);
        EXPECT_FALSE(OpisTekst.empty());
    }
    // Exactly doubling back.
    UstawTrase({{0, 0}, {100, 0, 50, 100, 100}, {0, 0}});
    ObliczTrase();
    EXPECT_FALSE(Trasa.Obliczona);

    // Design parameters that give no limits: the clothoids are dropped.
    ParametryProjektowe[0].kMax = 0;
    ParametryProjektowe[0].iMax = -1;
    UstawTrase({{-500, 0}, {0, 0, 100, 80, 80}, {0, 500}});
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_FALSE(Trasa.ElementyTrasy[1].JestKlotoida);
    ParametryProjektowe.clear();
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);
}

TEST_F(Budowa, StoTysiecyZalomow) {
    // A zigzag of 100,000 vertices, arcs on every inner one.
    std::vector<Wierzcholek> w;
    for (int i = 0; i < 100000; ++i) w.push_back({i * 100.0, (i % 2) * 100.0, 30, 80, 80});
    UstawTrase(w);
    ObliczTrase();
    // Radii on the ends are dropped with a notice.
    EXPECT_EQ(OpisTekst.size(), 2u);
    ASSERT_TRUE(Trasa.Obliczona);
    EXPECT_GT(Trasa.PikMax, 1e7);
    const TPunkt2D p = Punkt(Trasa.PikMax / 2);
    EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));
    EXPECT_NEAR(p.X, 5e6, 200);
}
