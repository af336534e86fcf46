// Plan geometry of one bend: the line helpers, the clothoid formulas, the
// clothoid limits and the arc with its transitions, checked against geometry
// computed here independently of the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "route/OblKlotka.h"
#include "route/OblTrasa.h"

namespace {

constexpr double pi = std::numbers::pi;

// Signed distance of Q from the line through A and B (positive on the left).
double OdlOdProstej(TPunkt2D A, TPunkt2D B, TPunkt2D Q) {
    const double dx = B.X - A.X, dy = B.Y - A.Y;
    return (dx * (Q.Y - A.Y) - dy * (Q.X - A.X)) / std::hypot(dx, dy);
}

// Position of Q along the ray from V through A, in units of |VA|.
double WzdluzPromienia(TPunkt2D V, TPunkt2D A, TPunkt2D Q) {
    const double dx = A.X - V.X, dy = A.Y - V.Y;
    return (dx * (Q.X - V.X) + dy * (Q.Y - V.Y)) / (dx * dx + dy * dy);
}

double Odl(TPunkt2D a, TPunkt2D b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// Difference of two angles brought into [-pi, pi).
double RoznicaKatow(double a, double b) { return std::remainder(a - b, 2 * pi); }

// Clothoid point by numerical integration of the Fresnel integrals (Simpson).
TPunkt2D KlotoidaCalkowana(double A, double l) {
    const int n = 2000;
    const double h = l / n;
    double sx = 0, sy = 0;
    for (int k = 0; k <= n; ++k) {
        const double t = k * h;
        const double w = (k == 0 || k == n) ? 1 : (k % 2 ? 4 : 2);
        const double kat = t * t / (2 * A * A);
        sx += w * std::cos(kat);
        sy += w * std::sin(kat);
    }
    return {sx * h / 3, sy * h / 3};
}

struct Obserwator {
    std::vector<std::string> teksty;
    std::function<void(const std::string&)> poprzedni;
    Obserwator() : poprzedni(PokazKomunikat) {
        PokazKomunikat = [this](const std::string& t) { teksty.push_back(t); };
    }
    ~Obserwator() { PokazKomunikat = poprzedni; }
};

class Geometria : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        WybierzParametry(0);
    }
};

}  // namespace

TEST_F(Geometria, ProsteRzutyPrzeciecia) {
    double a = 0, b = 0;
    ProstaPrzezPunkty(0, 1, 2, 5, a, b);
    EXPECT_DOUBLE_EQ(a, 2);
    EXPECT_DOUBLE_EQ(b, 1);
    // X differing by 0.01 or less: parallel to Y, which y = a*x + b cannot hold.
    ProstaPrzezPunkty(3, 0, 3.01, 100, a, b);
    EXPECT_EQ(a, 1e9);
    EXPECT_EQ(b, 0);
    ProstaPrzezPunkty(3, 0, 3.011, 100, a, b);
    EXPECT_NEAR(a, 100 / 0.011, 1e-6);

    double x = 0, y = 0;
    RzutNaProsta(0, 7, 3, -2, x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 7);
    RzutNaProsta(1, 0, 0, 2, x, y);
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 1);
    RzutNaProsta(-0.5, 10, 4, 3, x, y);
    EXPECT_NEAR(y, -0.5 * x + 10, 1e-12);                   // on the line
    EXPECT_NEAR((x - 4) * 1 + (y - 3) * -0.5, 0.0, 1e-12);  // perpendicular to it

    PrzeciecieProstych(1, 0, -1, 2, x, y);
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 1);

    Obserwator obs;
    x = 17;
    y = 19;
    PrzeciecieProstych(2, 0, 2, 5, x, y);
    ASSERT_EQ(obs.teksty.size(), 1u);
    EXPECT_EQ(obs.teksty[0], "Proste równoległe");
    EXPECT_EQ(x, 17);
    EXPECT_EQ(y, 19);
}

TEST_F(Geometria, KierunkiIPunktKatowy) {
    EXPECT_DOUBLE_EQ(KierunekOdcinka(0, 0, 1, 0), 0);
    EXPECT_DOUBLE_EQ(KierunekOdcinka(0, 0, 1, 1), pi / 4);
    EXPECT_DOUBLE_EQ(KierunekOdcinka(0, 0, -1, 1), 3 * pi / 4);
    EXPECT_DOUBLE_EQ(KierunekOdcinka(0, 0, -1, -1), 5 * pi / 4);
    EXPECT_DOUBLE_EQ(KierunekOdcinka(0, 0, 1, -1), 7 * pi / 4);
    EXPECT_DOUBLE_EQ(KierunekOdcinka(5, 5, 5.00005, 9), pi / 2);
    EXPECT_DOUBLE_EQ(KierunekOdcinka(5, 5, 5.00005, 1), 3 * pi / 2);

    EXPECT_DOUBLE_EQ(KatWektora(0, 1), pi / 2);
    EXPECT_NEAR(KatWektora(0, -1), 3 * pi / 2, 1e-15);
    EXPECT_DOUBLE_EQ(KatWektora(-1, 0), pi);
    const double tuzPodZerem = KatWektora(1, -1e-300);
    EXPECT_GE(tuzPodZerem, 0.0);
    EXPECT_LT(tuzPodZerem, 2 * pi);
    EXPECT_EQ(KatWektora(0, 0), 0.0);
    EXPECT_EQ(KatWektora(NAN, 1), 0.0);

    const TPunkt2D C{10, 20};
    // Left: from +Y counter-clockwise; right: from +Y clockwise.
    TPunkt2D p = PunktKatowy(C, 5, 0, false);
    EXPECT_NEAR(p.X, 10, 1e-12);
    EXPECT_NEAR(p.Y, 25, 1e-12);
    p = PunktKatowy(C, 5, pi / 2, false);
    EXPECT_NEAR(p.X, 5, 1e-12);
    EXPECT_NEAR(p.Y, 20, 1e-12);
    p = PunktKatowy(C, 5, pi / 2, true);
    EXPECT_NEAR(p.X, 15, 1e-12);
    EXPECT_NEAR(p.Y, 20, 1e-12);
}

TEST_F(Geometria, SrodkiOkregowSaWOdleglosciRodObuProstych) {
    struct Przypadek {
        TPunkt2D p1, p2, q1, q2;
    };
    const Przypadek przypadki[] = {
        {{0, 0}, {100, 0}, {100, 0}, {100, 100}},    // second line parallel to Y
        {{0, -100}, {0, 0}, {0, 0}, {80, 30}},       // first line parallel to Y
        {{-100, -50}, {0, 0}, {0, 0}, {100, 120}},   // general
        {{-100, 50}, {0, 0}, {0, 0}, {-100, -20}},   // general, doubling back
    };
    for (const auto& c : przypadki) {
        const auto srodki = SrodkiOkregow(c.p1, c.p2, c.q1, c.q2, 50);
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(std::fabs(OdlOdProstej(c.p1, c.p2, srodki[k])), 50, 1e-9) << k;
            EXPECT_NEAR(std::fabs(OdlOdProstej(c.q1, c.q2, srodki[k])), 50, 1e-9) << k;
            for (int m = 0; m < k; ++m) EXPECT_GT(Odl(srodki[k], srodki[m]), 1.0);  // four distinct points
        }
    }
    Obserwator obs;
    SrodkiOkregow({0, 0}, {0, 10}, {5, 0}, {5.005, 10}, 3);
    EXPECT_EQ(obs.teksty, std::vector<std::string>{"Proste równoległe"});
}

TEST_F(Geometria, KlotoidaSzeregiICalka) {
    const TKlotoida k = ObliczKlotoide(100, 100);
    EXPECT_DOUBLE_EQ(k.L, 100);
    EXPECT_DOUBLE_EQ(k.Tau, 0.5);
    EXPECT_NEAR(k.Xk, 100 - 100.0 / 40 + 100.0 / 3456, 1e-12);
    EXPECT_NEAR(k.Yk, 100.0 / 6 - 100.0 / 336, 1e-12);
    EXPECT_NEAR(k.Xs, k.Xk - 100 * std::sin(0.5), 1e-12);
    EXPECT_NEAR(k.Ys, k.Yk + 100 * std::cos(0.5), 1e-12);
    EXPECT_NEAR(k.dR, k.Ys - 100, 1e-12);

    // The lookup's point has one more term in x and in y than the end point.
    const TPunkt2D koniec = PunktKlotoidy({0, 0}, 0, 100, 100, false);
    EXPECT_NEAR(koniec.X - k.Xk, -100.0 / 599040, 1e-12);
    EXPECT_NEAR(koniec.Y - k.Yk, 100.0 / 42240, 1e-12);
    EXPECT_NEAR(koniec.X - k.Xk, -0.00017, 0.000005);
    EXPECT_NEAR(koniec.Y - k.Yk, 0.0024, 0.00005);

    // Both series against the Fresnel integrals up to a turn of 0.5 rad.
    for (double l : {10.0, 50.0, 80.0, 100.0}) {
        const TPunkt2D c = KlotoidaCalkowana(100, l);
        const TPunkt2D p = PunktKlotoidy({0, 0}, 0, 100, l, false);
        // The first omitted y term is l*(l/A)^14/9676800: 1e-5 at l = A = 100.
        EXPECT_NEAR(p.X, c.X, 2e-5) << l;
        EXPECT_NEAR(p.Y, c.Y, 2e-5) << l;
    }
    EXPECT_NEAR(k.Yk, KlotoidaCalkowana(100, 100).Y, 3e-3);

    // Placed at S with bearing theta; right turns mirror y.
    const double theta = 2.0;
    const TPunkt2D S{5, -7};
    const TPunkt2D lewa = PunktKlotoidy(S, theta, 60, 40, false);
    const TPunkt2D prawa = PunktKlotoidy(S, theta, 60, 40, true);
    const TPunkt2D lokalna = PunktKlotoidy({0, 0}, 0, 60, 40, false);
    EXPECT_NEAR(lewa.X, S.X + lokalna.X * std::cos(theta) - lokalna.Y * std::sin(theta), 1e-12);
    EXPECT_NEAR(lewa.Y, S.Y + lokalna.X * std::sin(theta) + lokalna.Y * std::cos(theta), 1e-12);
    EXPECT_NEAR(prawa.X, S.X + lokalna.X * std::cos(theta) + lokalna.Y * std::sin(theta), 1e-12);
    EXPECT_NEAR(prawa.Y, S.Y + lokalna.X * std::sin(theta) - lokalna.Y * std::cos(theta), 1e-12);
    const TPunkt2D start = PunktKlotoidy(S, theta, 60, 0, true);
    EXPECT_EQ(start.X, S.X);
    EXPECT_EQ(start.Y, S.Y);
}

TEST_F(Geometria, GraniceParametruA) {
    float Amin = 0, Amax = 0;
    GraniceA(100, 0.5f, ParametryProjektowe[0], Amin, Amax);
    EXPECT_NEAR(Amin, 72.93, 0.005);  // dynamic bound above the ramp bound 40.82
    EXPECT_NEAR(Amax, 70.71, 0.005);
    GraniceA(1000, 1.0f, ParametryProjektowe[0], Amin, Amax);
    EXPECT_NEAR(Amin, 129.10, 0.005);  // ramp bound
    EXPECT_NEAR(Amax, 1000, 0.001);
    // Single precision throughout.
    const float v = 50.0f;
    EXPECT_EQ(Amin, std::sqrt(1000.0f * 3.0f * 0.05f / 0.009f));
    GraniceA(100, 1.0f, ParametryProjektowe[0], Amin, Amax);
    EXPECT_EQ(Amin, std::sqrt(v * v * v / (47.0f * 0.5f)));
    EXPECT_EQ(Amax, 100.0f);
}

// The worked right-angle bends, left and right.
TEST_F(Geometria, LukWKacieProstym) {
    const TElementTrasy l = ObliczLuk({0, 0}, {100, 0}, {100, 100}, 50, 0, 0);
    EXPECT_TRUE(l.JestLuk);
    EXPECT_FALSE(l.JestKlotoida);
    EXPECT_FALSE(l.LukWPrawo);
    EXPECT_NEAR(l.Srodek.X, 50, 1e-9);
    EXPECT_NEAR(l.Srodek.Y, 50, 1e-9);
    EXPECT_NEAR(l.PunktPL.X, 50, 1e-9);
    EXPECT_NEAR(l.PunktPL.Y, 0, 1e-9);
    EXPECT_NEAR(l.PunktKL.X, 100, 1e-9);
    EXPECT_NEAR(l.PunktKL.Y, 50, 1e-9);
    EXPECT_NEAR(l.T, 50, 1e-9);
    EXPECT_NEAR(l.DlugoscLuku, 25 * pi, 1e-9);
    EXPECT_NEAR(l.KatKL - l.KatPL, pi / 2, 1e-12);
    EXPECT_EQ(l.X, 100);
    EXPECT_EQ(l.Y, 0);
    EXPECT_EQ(l.Klotoida1.L, 0);
    EXPECT_EQ(l.Klotoida2.A, 0);

    const TElementTrasy p = ObliczLuk({0, 0}, {100, 0}, {100, -100}, 50, 0, 0);
    EXPECT_TRUE(p.LukWPrawo);
    EXPECT_NEAR(p.Srodek.X, 50, 1e-9);
    EXPECT_NEAR(p.Srodek.Y, -50, 1e-9);
    EXPECT_NEAR(p.PunktKL.Y, -50, 1e-9);
    EXPECT_NEAR(p.T, 50, 1e-9);
    EXPECT_NEAR(p.DlugoscLuku, 25 * pi, 1e-9);

    // Radial angles grow along the route: the point half-way lies towards V.
    for (const TElementTrasy* e : {&l, &p}) {
        const TPunkt2D pol = PunktKatowy(e->Srodek, 50, (e->KatPL + e->KatKL) / 2, e->LukWPrawo);
        EXPECT_NEAR(pol.X, 50 + 50 * std::sin(pi / 4), 1e-9);
        EXPECT_NEAR(std::fabs(pol.Y), 50 - 50 * std::cos(pi / 4), 1e-9);
        const TPunkt2D pl = PunktKatowy(e->Srodek, 50, e->KatPL, e->LukWPrawo);
        EXPECT_NEAR(Odl(pl, e->PunktPL), 0, 1e-9);
        const TPunkt2D kl = PunktKatowy(e->Srodek, 50, e->KatKL, e->LukWPrawo);
        EXPECT_NEAR(Odl(kl, e->PunktKL), 0, 1e-9);
    }

    // One clothoid parameter only: a plain arc.
    const TElementTrasy j = ObliczLuk({0, 0}, {100, 0}, {100, 100}, 50, 80, 0);
    EXPECT_FALSE(j.JestKlotoida);
    EXPECT_NEAR(j.T, 50, 1e-9);
}

namespace {
// Bend of deflection delta at V = (0, 0), coming along +X.
TElementTrasy Zakret(double delta, double R, double A1, double A2, bool prawo = false) {
    const double s = prawo ? -1 : 1;
    return ObliczLuk({-500, 0}, {0, 0}, {500 * std::cos(delta), s * 500 * std::sin(delta)}, R, A1, A2);
}
}  // namespace

TEST_F(Geometria, KlotoidyDopasowaneDoGranic) {
    // Amin 72.93 above Amax 70.71: both clothoids dropped.
    const TElementTrasy a = Zakret(0.5, 100, 80, 80);
    EXPECT_TRUE(a.JestLuk);
    EXPECT_FALSE(a.JestKlotoida);
    EXPECT_NEAR(a.T, 100 * std::tan(0.25), 1e-9);
    EXPECT_NEAR(a.DlugoscLuku, 50, 1e-9);

    // A1 raised to Amin, A2 lowered to Amax.
    for (bool prawo : {false, true}) {
        const TElementTrasy b = Zakret(1.0, 100, 60, 120, prawo);
        ASSERT_TRUE(b.JestKlotoida);
        EXPECT_EQ(b.LukWPrawo, prawo);
        EXPECT_EQ(b.Klotoida1WPrawo, prawo);
        EXPECT_EQ(b.Klotoida2WPrawo, !prawo);
        EXPECT_NEAR(b.Klotoida1.A, 72.93, 0.005);
        EXPECT_NEAR(b.Klotoida2.A, 100, 1e-4);
        EXPECT_NEAR(b.Klotoida1.L, 53.19, 0.005);
        EXPECT_NEAR(b.Klotoida2.L, 100, 1e-3);
        EXPECT_NEAR(b.Klotoida1.Tau, 0.266, 0.0005);
        EXPECT_NEAR(b.Klotoida2.Tau, 0.5, 1e-5);
        EXPECT_NEAR(b.KatKL - b.KatPL, 1.0 - b.Klotoida1.Tau - b.Klotoida2.Tau, 1e-4);
        EXPECT_NEAR(b.DlugoscLuku, 100 * (b.KatKL - b.KatPL), 1e-9);
        EXPECT_NEAR(b.KierunekStycznej1, 0, 1e-12);
        EXPECT_NEAR(b.KierunekStycznej2Odwr, (prawo ? 2 * pi - 1.0 : 1.0) + pi, 1e-12);

        // Shifted centre at Ys from each leg on the inner side.
        const TPunkt2D P{-500, 0}, V{0, 0}, N{500 * std::cos(1.0), (prawo ? -500 : 500) * std::sin(1.0)};
        const double s = prawo ? -1 : 1;
        EXPECT_NEAR(s * OdlOdProstej(P, V, b.Srodek), b.Klotoida1.Ys, 1e-9);
        EXPECT_NEAR(s * OdlOdProstej(V, N, b.Srodek), b.Klotoida2.Ys, 1e-9);
        // Clothoids start and end on the legs, Xs from the feet of the centre.
        EXPECT_NEAR(OdlOdProstej(P, V, b.PunktPKP1), 0, 1e-9);
        EXPECT_NEAR(OdlOdProstej(V, N, b.PunktKKP2), 0, 1e-9);
        EXPECT_NEAR(b.Srodek.X - b.PunktPKP1.X, b.Klotoida1.Xs, 1e-9);
        EXPECT_NEAR(WzdluzPromienia(V, N, b.PunktKKP2) * 500 - WzdluzPromienia(V, N, b.Srodek) * 500,
                    b.Klotoida2.Xs, 1e-9);
        EXPECT_NEAR(b.T1, -b.PunktPKP1.X, 1e-9);
        EXPECT_NEAR(b.T2, Odl(V, b.PunktKKP2), 1e-12);
        // The arc ends are the clothoid ends, about R from the shifted centre.
        EXPECT_NEAR(Odl(b.Srodek, b.PunktPL), 100, 0.003);
        EXPECT_NEAR(Odl(b.Srodek, b.PunktKL), 100, 0.003);
    }
}

// The same bend with every orientation of the legs, covering each case the
// line-based construction distinguishes (first leg parallel to Y: P below or
// above V x N right or left; second leg parallel to Y, mirrored; general: P
// left or right of V x N right or left x sign of the first slope x second
// slope larger or smaller). The reference centre is found with the line
// helpers: of the four candidates, the one whose feet on both legs lie on
// the legs themselves (not on their extensions beyond V).
TEST_F(Geometria, WszystkiePrzypadkiUlozeniaRamion) {
    struct Przypadek {
        TPunkt2D P, N;
    };
    std::vector<Przypadek> przypadki;
    for (double py : {-100.0, 100.0})
        for (double nx : {80.0, -80.0}) przypadki.push_back({{0, py}, {nx, 30}});
    for (double ny : {100.0, -100.0})
        for (double px : {-80.0, 80.0}) przypadki.push_back({{px, 30}, {0, ny}});
    for (double px : {-100.0, 100.0})
        for (double nx : {100.0, -100.0})
            for (double m1 : {0.5, -0.5})
                for (double dm : {0.7, -0.7}) przypadki.push_back({{px, px * m1}, {nx, nx * (m1 + dm)}});
    ASSERT_EQ(przypadki.size(), 24u);

    const TPunkt2D V{0, 0};
    const double R = 40;
    for (std::size_t c = 0; c < przypadki.size(); ++c) {
        const TPunkt2D P = przypadki[c].P, N = przypadki[c].N;
        SCOPED_TRACE("przypadek " + std::to_string(c));
        const TElementTrasy e = ObliczLuk(P, V, N, R, 0, 0);

        // Reference from the line helpers.
        auto stopa = [](TPunkt2D a, TPunkt2D b, TPunkt2D q) {
            if (std::fabs(a.X - b.X) < 0.01) return TPunkt2D{a.X, q.Y};
            double k = 0, m = 0, x = 0, y = 0;
            ProstaPrzezPunkty(a.X, a.Y, b.X, b.Y, k, m);
            RzutNaProsta(k, m, q.X, q.Y, x, y);
            return TPunkt2D{x, y};
        };
        int znalezione = 0;
        TPunkt2D C{}, PL{}, KL{};
        for (const TPunkt2D& k : SrodkiOkregow(P, V, V, N, R)) {
            const TPunkt2D s1 = stopa(P, V, k), s2 = stopa(V, N, k);
            if (WzdluzPromienia(V, P, s1) > 0 && WzdluzPromienia(V, N, s2) > 0) {
                ++znalezione;
                C = k;
                PL = s1;
                KL = s2;
            }
        }
        ASSERT_EQ(znalezione, 1);
        EXPECT_NEAR(Odl(e.Srodek, C), 0, 1e-9);
        EXPECT_NEAR(Odl(e.PunktPL, PL), 0, 1e-9);
        EXPECT_NEAR(Odl(e.PunktKL, KL), 0, 1e-9);

        const double krzyz = (V.X - P.X) * (N.Y - V.Y) - (V.Y - P.Y) * (N.X - V.X);
        EXPECT_EQ(e.LukWPrawo, krzyz < 0);
        const double cosD = ((V.X - P.X) * (N.X - V.X) + (V.Y - P.Y) * (N.Y - V.Y)) / (Odl(P, V) * Odl(V, N));
        const double delta = std::acos(cosD);
        EXPECT_NEAR(e.KatKL - e.KatPL, delta, 1e-9);
        EXPECT_NEAR(e.DlugoscLuku, delta * R, 1e-9);
        EXPECT_NEAR(e.T, R * std::tan(delta / 2), 1e-9);
        EXPECT_NEAR(Odl(PunktKatowy(e.Srodek, R, e.KatPL, e.LukWPrawo), PL), 0, 1e-9);
        EXPECT_NEAR(Odl(PunktKatowy(e.Srodek, R, e.KatKL, e.LukWPrawo), KL), 0, 1e-9);
        // Half-way along the growing angle the arc is nearest to V.
        const TPunkt2D pol = PunktKatowy(e.Srodek, R, (e.KatPL + e.KatKL) / 2, e.LukWPrawo);
        EXPECT_NEAR(Odl(pol, V) + R, Odl(e.Srodek, V), 1e-9);

        // With clothoids: shifted centre at Ys from both legs on the inner side,
        // clothoid ends on the legs, tangent directions continuous.
        const TElementTrasy k = ObliczLuk(P, V, N, 400, 150, 170);
        ASSERT_TRUE(k.JestKlotoida);
        const double s = krzyz < 0 ? -1 : 1;
        EXPECT_NEAR(s * OdlOdProstej(P, V, k.Srodek), k.Klotoida1.Ys, 1e-8);
        EXPECT_NEAR(s * OdlOdProstej(V, N, k.Srodek), k.Klotoida2.Ys, 1e-8);
        EXPECT_NEAR(OdlOdProstej(P, V, k.PunktPKP1), 0, 1e-9);
        EXPECT_NEAR(OdlOdProstej(V, N, k.PunktKKP2), 0, 1e-9);
        EXPECT_GT(WzdluzPromienia(V, P, k.PunktPKP1), 0);
        EXPECT_GT(WzdluzPromienia(V, N, k.PunktKKP2), 0);
        EXPECT_NEAR(RoznicaKatow(k.KierunekStycznej1, std::atan2(V.Y - P.Y, V.X - P.X)), 0, 1e-12);
        EXPECT_NEAR(RoznicaKatow(k.KierunekStycznej2Odwr, std::atan2(V.Y - N.Y, V.X - N.X)), 0, 1e-12);
        EXPECT_NEAR(k.KatKL - k.KatPL, delta - k.Klotoida1.Tau - k.Klotoida2.Tau, 1e-5);
        // Tangent of the entering clothoid at its end against the arc's tangent there.
        const TPunkt2D a = PunktKlotoidy(k.PunktPKP1, k.KierunekStycznej1, k.Klotoida1.A, k.Klotoida1.L - 1e-4,
                                         k.Klotoida1WPrawo);
        const double kierKlot = std::atan2(k.PunktPL.Y - a.Y, k.PunktPL.X - a.X);
        const TPunkt2D r = {k.PunktPL.X - k.Srodek.X, k.PunktPL.Y - k.Srodek.Y};
        const double kierLuku = std::atan2(r.Y, r.X) + s * pi / 2;
        EXPECT_NEAR(RoznicaKatow(kierKlot, kierLuku), 0, 1e-4);
    }
}

// Legs exactly along +Y or -Y give the element of the same legs turned by 1e-7 rad.
TEST_F(Geometria, RamieRownolegleDoOsiY) {
    auto obroc = [](TPunkt2D p, double kat) {
        return TPunkt2D{p.X * std::cos(kat) - p.Y * std::sin(kat), p.X * std::sin(kat) + p.Y * std::cos(kat)};
    };
    auto porownaj = [](const TElementTrasy& a, const TElementTrasy& b) {
        const double tol = 1e-4;  // 1e-7 rad over a few hundred metres, plus rounding
        EXPECT_EQ(a.LukWPrawo, b.LukWPrawo);
        EXPECT_EQ(a.JestKlotoida, b.JestKlotoida);
        EXPECT_NEAR(Odl(a.Srodek, b.Srodek), 0, tol);
        EXPECT_NEAR(Odl(a.PunktPL, b.PunktPL), 0, tol);
        EXPECT_NEAR(Odl(a.PunktKL, b.PunktKL), 0, tol);
        EXPECT_NEAR(Odl(a.PunktPKP1, b.PunktPKP1), 0, tol);
        EXPECT_NEAR(Odl(a.PunktKKP2, b.PunktKKP2), 0, tol);
        EXPECT_NEAR(a.T, b.T, tol);
        EXPECT_NEAR(a.T1, b.T1, tol);
        EXPECT_NEAR(a.T2, b.T2, tol);
        EXPECT_NEAR(a.DlugoscLuku, b.DlugoscLuku, tol);
        EXPECT_NEAR(a.KatKL - a.KatPL, b.KatKL - b.KatPL, 1e-6);
        EXPECT_NEAR(a.Klotoida1.L, b.Klotoida1.L, tol);
        EXPECT_NEAR(a.Klotoida2.L, b.Klotoida2.L, tol);
        EXPECT_NEAR(RoznicaKatow(a.KierunekStycznej1, b.KierunekStycznej1), 0, 1e-6);
        EXPECT_NEAR(RoznicaKatow(a.KierunekStycznej2Odwr, b.KierunekStycznej2Odwr), 0, 1e-6);
    };
    const TPunkt2D V{0, 0};
    struct Przypadek {
        TPunkt2D P, N;
        bool pierwsze;  // which leg is exactly vertical: the first, or the second
    };
    const Przypadek przypadki[] = {
        {{0, -300}, {200, 150}, true},   // first leg along +Y, right turn
        {{0, -300}, {-200, 150}, true},  // first leg along +Y, left turn
        {{0, 300}, {200, -150}, true},   // first leg along -Y
        {{-200, -150}, {0, 300}, false}, // second leg along +Y
        {{200, 150}, {0, -300}, false},  // second leg along -Y
        {{-200, 150}, {0, -300}, false},
    };
    for (const auto& c : przypadki) {
        for (double A : {0.0, 130.0}) {
            const TElementTrasy dokladny = ObliczLuk(c.P, V, c.N, 150, A, A);
            // Turn only the vertical leg about V.
            const TPunkt2D P2 = c.pierwsze ? obroc(c.P, 1e-7) : c.P;
            const TPunkt2D N2 = c.pierwsze ? c.N : obroc(c.N, 1e-7);
            const TElementTrasy obrocony = ObliczLuk(P2, V, N2, 150, A, A);
            porownaj(dokladny, obrocony);
            if (A > 0) {
                EXPECT_TRUE(dokladny.JestKlotoida);
            }
            // The vertical leg's tangent point is exactly on it.
            if (c.pierwsze) {
                EXPECT_EQ(A > 0 ? dokladny.PunktPKP1.X : dokladny.PunktPL.X, 0.0);
            } else {
                EXPECT_EQ(A > 0 ? dokladny.PunktKKP2.X : dokladny.PunktKL.X, 0.0);
            }
        }
    }
}
