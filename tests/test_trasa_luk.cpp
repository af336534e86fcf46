// Plan geometry of one bend: line helpers, clothoid series and limits, and the
// arc with its transitions, checked against geometry computed here.
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

double Odl(TPunkt2D a, TPunkt2D b) { return std::hypot(a.X - b.X, a.Y - b.Y); }
double RoznicaKatow(double a, double b) { return std::remainder(a - b, 2 * pi); }
// Signed distance of Q from the line through A and B (positive on the left).
double OdlOdProstej(TPunkt2D A, TPunkt2D B, TPunkt2D Q) {
    return ((B.X - A.X) * (Q.Y - A.Y) - (B.Y - A.Y) * (Q.X - A.X)) / Odl(A, B);
}
// Position of Q along the ray from V through A, in units of |VA|.
double WzdluzPromienia(TPunkt2D V, TPunkt2D A, TPunkt2D Q) {
    return ((A.X - V.X) * (Q.X - V.X) + (A.Y - V.Y) * (Q.Y - V.Y)) / (Odl(V, A) * Odl(V, A));
}

struct Obserwator {  // records the message boxes
    std::vector<std::string> teksty;
    std::function<void(const std::string&)> poprzedni = PokazKomunikat;
    Obserwator() {
        PokazKomunikat = [this](const std::string& t) { teksty.push_back(t); };
    }
    ~Obserwator() { PokazKomunikat = poprzedni; }
};

class Luk : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        WybierzParametry(0);
    }
};

}  // namespace

TEST_F(Luk, ProsteIPrzeciecia) {
    double a = 0, b = 0, x = 17, y = 19;
    ProstaPrzezPunkty(0, 1, 2, 5, a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    ProstaPrzezPunkty(3, 0, 3.01, 100, a, b);  // parallel to Y: a stand-in slope
    EXPECT_EQ(a, 1e9);
    EXPECT_EQ(b, 0);
    RzutNaProsta(0, 7, 3, -2, x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 7);
    RzutNaProsta(-0.5, 10, 4, 3, x, y);
    EXPECT_NEAR(y, -0.5 * x + 10, 1e-12);            // on the line
    EXPECT_NEAR((x - 4) - 0.5 * (y - 3), 0, 1e-12);  // perpendicular to it
    PrzeciecieProstych(1, 0, -1, 2, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);

    Obserwator obs;
    PrzeciecieProstych(2, 0, 2, 5, x, y);
    EXPECT_EQ(x, 1);  // unchanged
    SrodkiOkregow({0, 0}, {0, 10}, {5, 0}, {5.005, 10}, 3);
    EXPECT_EQ(obs.teksty, (std::vector<std::string>{"Proste równoległe", "Proste równoległe"}));

    // A radius beyond the float range: limits infinite, clothoids dropped.
    EXPECT_FALSE(ObliczLuk({0, 0}, {1e300, 0}, {1e300, 1e300}, 1e300, 100, 100).JestKlotoida);

    // Left: from +Y counter-clockwise; right: clockwise.
    EXPECT_NEAR(PunktKatowy({10, 20}, 5, pi / 2, false).X, 5, 1e-12);
    EXPECT_NEAR(PunktKatowy({10, 20}, 5, pi / 2, true).X, 15, 1e-12);
    EXPECT_NEAR(KatWektora(0, -1), 3 * pi / 2, 1e-15);
    EXPECT_EQ(KatWektora(0, 0), 0.0);
}

TEST_F(Luk, KlotoidaIGraniceA) {
    const TKlotoida k = ObliczKlotoide(100, 100);
    EXPECT_EQ(k.L, 100);
    EXPECT_EQ(k.Tau, 0.5);
    EXPECT_NEAR(k.Xk, 100 - 100.0 / 40 + 100.0 / 3456, 1e-12);
    EXPECT_NEAR(k.Ys - k.dR, 100, 1e-12);
    // The lookup's point has one more term in x and in y than the end point.
    const TPunkt2D koniec = PunktKlotoidy({0, 0}, 0, 100, 100, false);
    EXPECT_NEAR(koniec.X - k.Xk, -0.000167, 0.000001);
    EXPECT_NEAR(koniec.Y - k.Yk, 0.002367, 0.000001);
    // Against the Fresnel integrals (Simpson); the first omitted term is 1e-5 at l = A.
    for (double l : {30.0, 100.0}) {
        double sx = 0, sy = 0;
        for (int i = 0; i <= 2000; ++i) {
            const double t = l * i / 2000, w = (i == 0 || i == 2000) ? 1 : (i % 2 ? 4 : 2);
            sx += w * std::cos(t * t / 2e4);
            sy += w * std::sin(t * t / 2e4);
        }
        EXPECT_NEAR(PunktKlotoidy({0, 0}, 0, 100, l, false).X, sx * l / 6000, 2e-5);
        EXPECT_NEAR(PunktKlotoidy({0, 0}, 0, 100, l, false).Y, sy * l / 6000, 2e-5);
    }
    // Placed at S, turned by theta; a right turn mirrors y.
    const TPunkt2D p = PunktKlotoidy({5, -7}, pi / 2, 60, 40, true), q = PunktKlotoidy({0, 0}, 0, 60, 40, false);
    EXPECT_NEAR(p.X, 5 + q.Y, 1e-12);
    EXPECT_NEAR(p.Y, -7 + q.X, 1e-12);

    float Amin = 0, Amax = 0;
    GraniceA(100, 0.5f, ParametryProjektowe[0], Amin, Amax);
    EXPECT_NEAR(Amin, 72.93, 0.005);  // dynamic bound above the ramp bound 40.82
    EXPECT_NEAR(Amax, 70.71, 0.005);
    GraniceA(1000, 1.0f, ParametryProjektowe[0], Amin, Amax);
    EXPECT_EQ(Amin, std::sqrt(1000.0f * 3.0f * 0.05f / 0.009f));  // ramp bound, single precision
    EXPECT_NEAR(Amin, 129.10, 0.005);
    EXPECT_EQ(Amax, 1000.0f);
}

// The worked bends: the right angle left and right, clothoids dropped, clothoids adjusted.
TEST_F(Luk, PrzykladyZakretow) {
    for (double s : {1.0, -1.0}) {
        const TElementTrasy e = ObliczLuk({0, 0}, {100, 0}, {100, s * 100}, 50, 80, 0);  // one A only: no clothoids
        EXPECT_TRUE(e.JestLuk && !e.JestKlotoida);
        EXPECT_EQ(e.LukWPrawo, s < 0);
        EXPECT_NEAR(Odl(e.Srodek, {50, s * 50}), 0, 1e-9);
        EXPECT_NEAR(Odl(e.PunktPL, {50, 0}), 0, 1e-9);
        EXPECT_NEAR(Odl(e.PunktKL, {100, s * 50}), 0, 1e-9);
        EXPECT_NEAR(e.T, 50, 1e-9);
        EXPECT_NEAR(e.DlugoscLuku, 25 * pi, 1e-9);
        EXPECT_EQ(e.Klotoida1.A, 0);
    }
    auto zakret = [](double delta, double A1, double A2, double s) {
        return ObliczLuk({-500, 0}, {0, 0}, {500 * std::cos(delta), s * 500 * std::sin(delta)}, 100, A1, A2);
    };
    // Amin 72.93 above Amax 70.71: both dropped, a plain arc.
    const TElementTrasy a = zakret(0.5, 80, 80, 1);
    EXPECT_FALSE(a.JestKlotoida);
    EXPECT_NEAR(a.DlugoscLuku, 50, 1e-9);
    for (double s : {1.0, -1.0}) {
        const TElementTrasy b = zakret(1.0, 60, 120, s);  // A1 raised to Amin, A2 lowered to Amax
        ASSERT_TRUE(b.JestKlotoida);
        EXPECT_EQ(b.LukWPrawo, s < 0);
        EXPECT_EQ(b.Klotoida1WPrawo, s < 0);
        EXPECT_EQ(b.Klotoida2WPrawo, s > 0);
        EXPECT_NEAR(b.Klotoida1.A, 72.93, 0.005);
        EXPECT_NEAR(b.Klotoida2.A, 100, 1e-4);
        EXPECT_NEAR(b.Klotoida1.L, 53.19, 0.005);
        EXPECT_NEAR(b.Klotoida2.L, 100, 1e-3);
        EXPECT_NEAR(b.Klotoida1.Tau, 0.266, 0.0005);
        EXPECT_NEAR(b.KatKL - b.KatPL, 1.0 - b.Klotoida1.Tau - b.Klotoida2.Tau, 1e-4);
        EXPECT_NEAR(b.DlugoscLuku, 100 * (b.KatKL - b.KatPL), 1e-9);
        EXPECT_NEAR(b.T1, -b.PunktPKP1.X, 1e-9);
        EXPECT_NEAR(b.Srodek.X - b.PunktPKP1.X, b.Klotoida1.Xs, 1e-9);  // clothoid starts Xs before the foot
        EXPECT_NEAR(RoznicaKatow(b.KierunekStycznej2Odwr, s + pi), 0, 1e-12);
    }
}

// The same bend in every orientation of the legs, covering each case a line-
// based construction tells apart (first leg parallel to Y: P below or above V
// x N right or left; second leg parallel to Y, mirrored; general: P left or
// right of V x N right or left x sign of the first slope x second slope larger
// or smaller). Reference: of the four centres from the line helpers, the one
// whose feet lie on both legs, not on their extensions beyond V.
TEST_F(Luk, KazdeUlozenieRamion) {
    std::vector<std::pair<TPunkt2D, TPunkt2D>> przypadki;  // P, N around V = (0, 0)
    for (double a : {-100.0, 100.0})
        for (double b : {80.0, -80.0}) {
            przypadki.push_back({{0, a}, {b, 30}});
            przypadki.push_back({{b, 30}, {0, a}});
        }
    for (double px : {-100.0, 100.0})
        for (double nx : {100.0, -100.0})
            for (double m1 : {0.5, -0.5})
                for (double dm : {0.7, -0.7}) przypadki.push_back({{px, px * m1}, {nx, nx * (m1 + dm)}});
    ASSERT_EQ(przypadki.size(), 24u);

    const TPunkt2D V{0, 0};
    auto stopa = [](TPunkt2D a, TPunkt2D b, TPunkt2D q) {
        if (std::fabs(a.X - b.X) < 0.01) return TPunkt2D{a.X, q.Y};
        double k = 0, m = 0, x = 0, y = 0;
        ProstaPrzezPunkty(a.X, a.Y, b.X, b.Y, k, m);
        RzutNaProsta(k, m, q.X, q.Y, x, y);
        return TPunkt2D{x, y};
    };
    for (std::size_t c = 0; c < przypadki.size(); ++c) {
        const auto [P, N] = przypadki[c];
        SCOPED_TRACE("przypadek " + std::to_string(c));
        const TElementTrasy e = ObliczLuk(P, V, N, 40, 0, 0);
        int ile = 0;
        for (const TPunkt2D& k : SrodkiOkregow(P, V, V, N, 40)) {
            const TPunkt2D s1 = stopa(P, V, k), s2 = stopa(V, N, k);
            if (WzdluzPromienia(V, P, s1) > 0 && WzdluzPromienia(V, N, s2) > 0) {
                ++ile;
                EXPECT_NEAR(Odl(e.Srodek, k), 0, 1e-9);
                EXPECT_NEAR(Odl(e.PunktPL, s1), 0, 1e-9);
                EXPECT_NEAR(Odl(e.PunktKL, s2), 0, 1e-9);
            }
        }
        EXPECT_EQ(ile, 1);
        const double strona = OdlOdProstej(P, V, N) < 0 ? -1 : 1;
        EXPECT_EQ(e.LukWPrawo, strona < 0);
        const double delta = std::acos(WzdluzPromienia(V, N, {-P.X, -P.Y}) * Odl(V, N) / Odl(V, P));
        EXPECT_NEAR(e.KatKL - e.KatPL, delta, 1e-9);
        EXPECT_NEAR(e.T, 40 * std::tan(delta / 2), 1e-9);
        EXPECT_NEAR(Odl(PunktKatowy(e.Srodek, 40, e.KatPL, e.LukWPrawo), e.PunktPL), 0, 1e-9);
        EXPECT_NEAR(Odl(PunktKatowy(e.Srodek, 40, e.KatKL, e.LukWPrawo), e.PunktKL), 0, 1e-9);
        // Half-way along the growing angle the arc is nearest to V.
        const TPunkt2D pol = PunktKatowy(e.Srodek, 40, (e.KatPL + e.KatKL) / 2, e.LukWPrawo);
        EXPECT_NEAR(Odl(pol, V) + 40, Odl(e.Srodek, V), 1e-9);

        // With clothoids: shifted centre at Ys from both legs on the inner side,
        // clothoid ends on the legs, the entering clothoid's end tangent the arc's.
        const TElementTrasy k = ObliczLuk(P, V, N, 400, 150, 170);
        ASSERT_TRUE(k.JestKlotoida);
        EXPECT_NEAR(strona * OdlOdProstej(P, V, k.Srodek), k.Klotoida1.Ys, 1e-8);
        EXPECT_NEAR(strona * OdlOdProstej(V, N, k.Srodek), k.Klotoida2.Ys, 1e-8);
        EXPECT_NEAR(OdlOdProstej(P, V, k.PunktPKP1), 0, 1e-9);
        EXPECT_NEAR(OdlOdProstej(V, N, k.PunktKKP2), 0, 1e-9);
        EXPECT_GT(WzdluzPromienia(V, P, k.PunktPKP1), 0);
        EXPECT_GT(WzdluzPromienia(V, N, k.PunktKKP2), 0);
        EXPECT_NEAR(k.KatKL - k.KatPL, delta - k.Klotoida1.Tau - k.Klotoida2.Tau, 1e-5);
        const TPunkt2D a =
            PunktKlotoidy(k.PunktPKP1, k.KierunekStycznej1, k.Klotoida1.A, k.Klotoida1.L - 1e-4, k.Klotoida1WPrawo);
        const double kierLuku = std::atan2(k.PunktPL.Y - k.Srodek.Y, k.PunktPL.X - k.Srodek.X) + strona * pi / 2;
        EXPECT_NEAR(RoznicaKatow(std::atan2(k.PunktPL.Y - a.Y, k.PunktPL.X - a.X), kierLuku), 0, 1e-4);
    }
}

// Legs exactly along +Y or -Y, first or second, give the element of the same
// leg turned by 1e-7 rad.
TEST_F(Luk, RamieRownolegleDoOsiY) {
    auto obroc = [](TPunkt2D p) {
        const double k = 1e-7;
        return TPunkt2D{p.X * std::cos(k) - p.Y * std::sin(k), p.X * std::sin(k) + p.Y * std::cos(k)};
    };
    const TPunkt2D V{0, 0};
    struct Przypadek {
        TPunkt2D P, N;
        bool pierwsze;
    } przypadki[] = {{{0, -300}, {200, 150}, true},   {{0, -300}, {-200, 150}, true}, {{0, 300}, {200, -150}, true},
                     {{-200, -150}, {0, 300}, false}, {{200, 150}, {0, -300}, false}, {{-200, 150}, {0, -300}, false}};
    for (const auto& c : przypadki) {
        for (double A : {0.0, 130.0}) {
            const TElementTrasy a = ObliczLuk(c.P, V, c.N, 150, A, A);
            const TElementTrasy b =
                ObliczLuk(c.pierwsze ? obroc(c.P) : c.P, V, c.pierwsze ? c.N : obroc(c.N), 150, A, A);
            EXPECT_EQ(a.JestKlotoida, A > 0);
            EXPECT_EQ(a.LukWPrawo, b.LukWPrawo);
            for (auto [p, q] : {std::pair{a.Srodek, b.Srodek},
                                {a.PunktPL, b.PunktPL},
                                {a.PunktKL, b.PunktKL},
                                {a.PunktPKP1, b.PunktPKP1},
                                {a.PunktKKP2, b.PunktKKP2}})
                EXPECT_NEAR(Odl(p, q), 0, 1e-4);  // 1e-7 rad over a few hundred metres
            for (auto [p, q] : {std::pair{a.T, b.T},
                                {a.T1, b.T1},
                                {a.T2, b.T2},
                                {a.DlugoscLuku, b.DlugoscLuku},
                                {a.Klotoida1.L, b.Klotoida1.L},
                                {a.KatKL - a.KatPL, b.KatKL - b.KatPL}})
                EXPECT_NEAR(p, q, 1e-4);
            EXPECT_NEAR(RoznicaKatow(a.KierunekStycznej1, b.KierunekStycznej1), 0, 1e-6);
            EXPECT_NEAR(RoznicaKatow(a.KierunekStycznej2Odwr, b.KierunekStycznej2Odwr), 0, 1e-6);
            // The vertical leg's tangent point is exactly on it.
            const TPunkt2D styk = c.pierwsze ? (A > 0 ? a.PunktPKP1 : a.PunktPL) : (A > 0 ? a.PunktKKP2 : a.PunktKL);
            EXPECT_EQ(styk.X, 0.0);
        }
    }
}
