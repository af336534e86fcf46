// Properties of built routes over a few hundred random polygons: chainages in
// order, nothing NaN, arc centres where they belong, the route parametrised
// by its length, the direction along the route, and continuity at every joint.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "route/OblKlotka.h"
#include "route/OblTrasa.h"

namespace {

constexpr double pi = std::numbers::pi;

TPunkt2D Punkt(double s) {
    TPunkt2D p{std::nan(""), std::nan("")};
    PunktNaPikiecie(s, p.X, p.Y);
    return p;
}

double Odl(TPunkt2D a, TPunkt2D b) { return std::hypot(a.X - b.X, a.Y - b.Y); }
double Kierunek(TPunkt2D a, TPunkt2D b) { return std::atan2(b.Y - a.Y, b.X - a.X); }
double RoznicaKatow(double a, double b) { return std::remainder(a - b, 2 * pi); }

// Signed distance of Q from the line through A and B (positive on the left).
double OdlOdProstej(TPunkt2D A, TPunkt2D B, TPunkt2D Q) {
    const double dx = B.X - A.X, dy = B.Y - A.Y;
    return (dx * (Q.Y - A.Y) - dy * (Q.X - A.X)) / std::hypot(dx, dy);
}

struct Losowanie {
    std::mt19937_64 gen{20261206};
    double U(double a, double b) { return std::uniform_real_distribution<double>(a, b)(gen); }
    int I(int a, int b) { return std::uniform_int_distribution<int>(a, b)(gen); }
};

// A random polygon of 3 to 10 vertices: deflections of 5 to 170 degrees
// either way, radii 20 to 2000, clothoid parameters absent, single, below,
// inside or above their limits, legs mostly long enough for both curves.
void LosowaTrasa(Losowanie& los) {
    const int n = los.I(3, 10);
    std::vector<double> delta(n, 0.0), T(n, 0.0);
    Trasa.Zalomy.assign(n, TZalom{});
    for (int i = 1; i + 1 < n; ++i) {
        TZalom& z = Trasa.Zalomy[i];
        const double d = los.U(5, 170) * pi / 180;
        delta[i] = los.I(0, 1) ? d : -d;
        const double R = 20 * std::pow(100.0, los.U(0, 1));
        z.R = static_cast<float>(R);
        float Amin = 0, Amax = 0;
        GraniceA(z.R, static_cast<float>(d), ParametryProjektowe[0], Amin, Amax);
        switch (los.I(0, 5)) {
            case 0: break;  // no clothoids
            case 1: z.A1 = 100; break;  // one parameter only
            case 2:
                z.A1 = static_cast<float>(los.U(1, 30));
                z.A2 = static_cast<float>(los.U(1, 30));
                break;
            case 3:
            case 4:
                z.A1 = static_cast<float>(los.U(Amin, std::max(Amin, Amax)));
                z.A2 = static_cast<float>(los.U(Amin, std::max(Amin, Amax)));
                break;
            default:
                z.A1 = 1e4f;
                z.A2 = static_cast<float>(los.U(Amin, std::max(Amin, Amax)));
        }
        T[i] = R * std::tan(d / 2) + R * d;  // above any tangent length of the bend
    }
    double kier = los.U(0, 2 * pi);
    double x = los.U(-1000, 1000), y = los.U(-1000, 1000);
    for (int i = 0; i < n; ++i) {
        Trasa.Zalomy[i].X = x;
        Trasa.Zalomy[i].Y = y;
        kier += delta[i];
        if (i + 1 < n) {
            double dl = (T[i] + T[i + 1]) * los.U(1.01, 1.6) + los.U(1, 50);
            if (los.I(0, 9) == 0) dl *= los.U(0.2, 0.9);  // curves likely to overlap
            x += dl * std::cos(kier);
            y += dl * std::sin(kier);
        }
    }
}

struct Zlacze {
    double s;
    double tolerancja;
};

}  // namespace

TEST(TrasyLosowe, WlasnosciZbudowanychTras) {
    ZerujStan();
    Losowanie los;
    int zbudowane = 0, przechodzone = 0, zKlotoidami = 0, odrzucone = 0, kroki = 0;
    for (int nr = 0; nr < 300; ++nr) {
        LosowaTrasa(los);
        ObliczTrase();
        SCOPED_TRACE("trasa " + std::to_string(nr));
        if (!Trasa.Obliczona) {
            ++odrzucone;
            EXPECT_FALSE(OpisTekst.empty());
            continue;
        }
        ++zbudowane;
        const auto& el = Trasa.ElementyTrasy;
        const int n = static_cast<int>(el.size());
        bool dokladneSzeregi = true;
        bool saKlotoidy = false;
        for (int i = 0; i < n; ++i) {
            const TElementTrasy& e = el[i];
            // Chainages in order, within and between the elements; all numbers.
            const double pik[] = {e.PikPKP1, e.PikKKP1, e.PikPL, e.PikKL, e.PikPKP2, e.PikKKP2};
            for (double p : pik) ASSERT_TRUE(std::isfinite(p));
            EXPECT_TRUE(e.PikPKP1 <= e.PikKKP1 && e.PikKKP1 == e.PikPL && e.PikPL <= e.PikKL &&
                        e.PikKL == e.PikPKP2 && e.PikPKP2 <= e.PikKKP2)
                << i;
            if (i > 0) {
                EXPECT_LE(el[i - 1].PikKKP2 + 0.001, e.PikPKP1) << i;
            }
            for (TPunkt2D p : {e.PunktPL, e.PunktKL, e.PunktPKP1, e.PunktKKP2})
                ASSERT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));
            if (!e.JestLuk) continue;
            ASSERT_TRUE(i > 0 && i < n - 1);
            // The centre on the inner side, at R (or Ys) from both legs.
            const TPunkt2D P{el[i - 1].X, el[i - 1].Y}, V{e.X, e.Y}, N{el[i + 1].X, el[i + 1].Y};
            const double strona = e.LukWPrawo ? -1 : 1;
            EXPECT_EQ(e.LukWPrawo, OdlOdProstej(P, V, N) < 0);
            const double tol = 1e-9 * (std::fabs(V.X) + std::fabs(V.Y) + e.R + 1);
            const double r1 = e.JestKlotoida ? e.Klotoida1.Ys : e.R;
            const double r2 = e.JestKlotoida ? e.Klotoida2.Ys : e.R;
            EXPECT_NEAR(strona * OdlOdProstej(P, V, e.Srodek), r1, tol) << i;
            EXPECT_NEAR(strona * OdlOdProstej(V, N, e.Srodek), r2, tol) << i;
            EXPECT_NEAR(OdlOdProstej(P, V, e.PunktPKP1), 0, tol) << i;
            EXPECT_NEAR(OdlOdProstej(V, N, e.PunktKKP2), 0, tol) << i;
            EXPECT_GE(e.KatKL, e.KatPL) << i;
            if (e.JestKlotoida) {
                saKlotoidy = true;
                if (e.Klotoida1.Tau > 0.5 || e.Klotoida2.Tau > 0.5) dokladneSzeregi = false;
            }
        }
        if (!dokladneSzeregi) continue;
        ++przechodzone;
        if (saKlotoidy) ++zKlotoidami;

        const double poczatek = Trasa.PikMin + 0.01;
        const double koniec = std::min<double>(Trasa.PikMax, el[n - 1].PikKKP2) - 0.01;

        // Joints: the points just before and after agree, and so do the directions.
        std::vector<Zlacze> zlacza;
        std::vector<double> klotoidaLuk;
        for (const TElementTrasy& e : el) {
            if (e.JestKlotoida) {
                const double t1 = 3e-5 * e.Klotoida1.A + 1e-3, t2 = 3e-5 * e.Klotoida2.A + 1e-3;
                zlacza.insert(zlacza.end(), {{e.PikPKP1, 1e-3}, {e.PikKKP1, t1}, {e.PikPKP2, t2}, {e.PikKKP2, 1e-3}});
                klotoidaLuk.insert(klotoidaLuk.end(), {e.PikKKP1, e.PikPKP2});
            } else if (e.JestLuk) {
                zlacza.insert(zlacza.end(), {{e.PikPL, 1e-3}, {e.PikKL, 1e-3}});
            }
        }
        for (const Zlacze& z : zlacza) {
            if (z.s - 0.02 < poczatek || z.s + 0.02 > koniec) continue;
            const double eps = 1e-6, d = 0.01;
            const TPunkt2D przed = Punkt(z.s - eps), po = Punkt(z.s + eps);
            EXPECT_LE(Odl(przed, po), z.tolerancja) << "pikieta " << z.s;
            const double kPrzed = Kierunek(Punkt(z.s - eps - d), przed);
            const double kPo = Kierunek(po, Punkt(z.s + eps + d));
            EXPECT_NEAR(RoznicaKatow(kPrzed, kPo), 0, 1e-3) << "pikieta " << z.s;
        }

        // Walk the route in steps of h: each step is h long and the direction
        // is the chord's. Long straights are skipped after a few steps (on them
        // the point is a linear interpolation); the curves are walked whole.
        const double h = 0.5;
        std::vector<std::pair<double, double>> okna;
        for (const TElementTrasy& e : el)
            if (e.JestLuk) okna.push_back({e.PikPKP1 - 3, e.PikKKP2 + 3});
        okna.push_back({poczatek, poczatek + 3});
        okna.push_back({koniec - 3, koniec});
        for (auto [od, doo] : okna) {
            double s = std::max(od, poczatek);
            const double gora = std::min(doo, koniec);
            TPunkt2D a = Punkt(s);
            for (int k = 0; s + h <= gora; s += h, ++k) {
                const TPunkt2D b = Punkt(s + h);
                ++kroki;
                const bool nadZlaczem = std::any_of(klotoidaLuk.begin(), klotoidaLuk.end(),
                                                    [&](double j) { return s <= j && j <= s + h; });
                if (!nadZlaczem) {
                    EXPECT_NEAR(Odl(a, b), h, 1e-3 * h) << "pikieta " << s;
                }
                // A step across a clothoid-arc joint, or the lookup's own chord of
                // 0.06 across one, carries the joint's step (up to 3e-5*A + 1e-3):
                // excepted from the direction check as well.
                const double m = s + h / 2;
                const bool cieciwaNadZlaczem = std::any_of(klotoidaLuk.begin(), klotoidaLuk.end(),
                                                           [&](double j) { return std::fabs(j - m) <= 0.031; });
                if (k % 3 == 0 && !nadZlaczem && !cieciwaNadZlaczem) {
                    EXPECT_NEAR(RoznicaKatow(KatNaPikiecie(m), Kierunek(a, b)), 0, 0.01) << "pikieta " << s;
                }
                a = b;
            }
        }
    }
    // The sample must exercise what it claims to.
    EXPECT_GE(zbudowane, 150);
    EXPECT_GE(odrzucone, 10);
    EXPECT_GE(przechodzone, 100);
    EXPECT_GE(zKlotoidami, 30);
    EXPECT_GE(kroki, 100000);
    std::printf("zbudowane %d, odrzucone %d, przechodzone %d (z klotoidami %d), kroki %d\n", zbudowane, odrzucone,
                przechodzone, zKlotoidami, kroki);
}

// One bend of each kind, left and right: every joint continuous within the
// tolerances, the clothoid-arc joints showing the step of the two series.
TEST(TrasyLosowe, ZlaczaKlotoidILukow) {
    ZerujStan();
    for (double strona : {1.0, -1.0}) {
        Trasa.Zalomy.assign(3, TZalom{});
        Trasa.Zalomy[0].X = -500;
        Trasa.Zalomy[1].R = 100;
        Trasa.Zalomy[1].A1 = 60;
        Trasa.Zalomy[1].A2 = 120;
        Trasa.Zalomy[2].X = 500 * std::cos(1.0);
        Trasa.Zalomy[2].Y = strona * 500 * std::sin(1.0);
        ObliczTrase();
        ASSERT_TRUE(Trasa.Obliczona);
        const TElementTrasy& e = Trasa.ElementyTrasy[1];
        ASSERT_TRUE(e.JestKlotoida);
        auto skok = [](double s) { return Odl(Punkt(s - 1e-7), Punkt(s + 1e-7)); };
        EXPECT_LE(skok(e.PikPKP1), 1e-6);
        EXPECT_LE(skok(e.PikKKP2), 1e-6);
        // Clothoid 2 (A = 100, L = 100): its end by four and three terms against
        // the arc's end from three and two; a small step, but a real one.
        EXPECT_LE(skok(e.PikPKP2), 3e-5 * 100 + 1e-3);
        EXPECT_GT(skok(e.PikPKP2), 1e-4);
        EXPECT_LE(skok(e.PikKKP1), 3e-5 * 72.93 + 1e-3);
        // Start on the first leg, end on the second, direction 0 then 1 rad either way.
        EXPECT_NEAR(Punkt(e.PikPKP1).Y, 0, 1e-9);
        EXPECT_NEAR(KatNaPikiecie(e.PikPKP1 - 1), 0, 1e-9);
        EXPECT_NEAR(RoznicaKatow(KatNaPikiecie(e.PikKKP2 + 1), strona * 1.0), 0, 1e-9);
        // Half-way on the arc: tangent angle 0 + tau1 + half the central angle.
        const double sr = (e.PikPL + e.PikKL) / 2;
        EXPECT_NEAR(RoznicaKatow(KatNaPikiecie(sr), strona * (e.Klotoida1.Tau + (e.KatKL - e.KatPL) / 2)), 0, 1e-4);
    }
}
