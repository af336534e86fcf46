// The vertical profile: parabolic and circular vertical curves worked by hand (heights at the start, the
// middle, the end and a quarter point, grades at both ends, radii), the ends of the design line, and the
// refusals with their messages.

#include "pomocnicze/Pomocnicze.h"
#include "analiza/OkoKierowcy.h"
#include "analiza/Widocznosc.h"
#include "analiza/Wysokosci.h"
#include "route/Lancuch.h"
#include "route/Niweleta.h"
#include "route/Wstega.h"
#include "scena/Scena.h"

namespace {

TPVI P(double pik, double z, TLukPionowy luk = TLukPionowy::Brak, double a = 0, double b = 0) {
    TPVI p;
    p.Pik = pik;
    p.Z = z;
    p.Luk = luk;
    if (luk == TLukPionowy::Parabola) p.Dlugosc = a;
    if (luk == TLukPionowy::ParabolaNiesymetryczna) p.DlugoscWej = a, p.DlugoscWyj = b;
    if (luk == TLukPionowy::Kolowy) p.R = a;
    return p;
}

double Z(const TNiweleta& n, double s) { return WysokoscNiwelety(n, s).value_or(NAN); }
double G(const TNiweleta& n, double s) { return PochylenieNiwelety(n, s).value_or(NAN); }

}  // namespace

// Grades +2 % and -2 %, a parabola of 100 m over the breakpoint at 1+200, height 104:
// the middle ordinate (g2 - g1) L / 8 = -0.5, offsets (g2 - g1) / (2 L) x^2, R = L / |g2 - g1| = 2500.
TEST(Niweleta, ParabolaSymetryczna) {
    const TNiweleta n = ZbudujNiwelete("N1", {P(1000, 100), P(1200, 104, TLukPionowy::Parabola, 100), P(1400, 100)});
    EXPECT_NEAR(Z(n, 1150), 103, 1e-12);      // start: on the grade
    EXPECT_NEAR(Z(n, 1175), 103.375, 1e-12);  // quarter: 103.5 - 0.0002 * 25^2
    EXPECT_NEAR(Z(n, 1200), 103.5, 1e-12);    // middle
    EXPECT_NEAR(Z(n, 1250), 103, 1e-12);      // end
    EXPECT_NEAR(G(n, 1150), 0.02, 1e-12);
    EXPECT_NEAR(G(n, 1200), 0, 1e-12);
    EXPECT_NEAR(G(n, 1250), -0.02, 1e-12);
    EXPECT_NEAR(PromienLukuPionowego(n.Punkty[1]), 2500, 1e-9);
    EXPECT_NEAR(DlugoscLukuPionowego(n.Punkty[1]), 100, 1e-12);
    // On the grades, and nothing outside the breakpoints.
    EXPECT_NEAR(Z(n, 1100), 102, 1e-12);
    EXPECT_NEAR(Z(n, 1300), 102, 1e-12);
    EXPECT_NEAR(G(n, 1400), -0.02, 1e-12);  // the last breakpoint: the grade before it
    EXPECT_FALSE(WysokoscNiwelety(n, 999.999));
    EXPECT_FALSE(WysokoscNiwelety(n, 1400.001));
    EXPECT_FALSE(PochylenieNiwelety(n, NAN));
}

// Grades +3 % and -1 %, lengthIn 60 and lengthOut 40 at 0+500, height 50: the ordinate over the breakpoint
// (g2 - g1) l1 l2 / (2 (l1 + l2)) = -0.48, offsets e (x / l)^2 from either tangent, the grade over the
// breakpoint (g1 l1 + g2 l2) / (l1 + l2) = 1.4 %.
TEST(Niweleta, ParabolaNiesymetryczna) {
    const TNiweleta n = ZbudujNiwelete(
        "N2", {P(200, 41), P(500, 50, TLukPionowy::ParabolaNiesymetryczna, 60, 40), P(700, 48), P(800, 48)});
    EXPECT_NEAR(Z(n, 440), 48.2, 1e-12);
    EXPECT_NEAR(Z(n, 455), 48.65 - 0.03, 1e-12);
    EXPECT_NEAR(Z(n, 500), 49.52, 1e-12);
    EXPECT_NEAR(Z(n, 530), 49.7 - 0.03, 1e-12);
    EXPECT_NEAR(Z(n, 540), 49.6, 1e-12);
    EXPECT_NEAR(G(n, 440), 0.03, 1e-12);
    EXPECT_NEAR(G(n, 500), 0.014, 1e-12);
    EXPECT_NEAR(G(n, 540), -0.01, 1e-12);
    EXPECT_NEAR(PromienLukuPionowego(n.Punkty[1]), 100 / 0.04, 1e-9);
    // A breakpoint without a curve: the grade after it.
    EXPECT_NEAR(G(n, 700), 0, 1e-12);
    EXPECT_NEAR(G(n, 699.999), -0.01, 1e-12);
}

// Circles of R 2000 tangent to both grades, a sag and a crest: the centre found independently as the point
// at R from both grade lines (two linear equations), the tangent points as its feet on them.
TEST(Niweleta, LukKolowy) {
    for (auto [g1, g2] : {std::pair{-0.02, 0.03}, {0.04, -0.015}}) {
        SCOPED_TRACE(g1);
        const double R = 2000, s0 = 1000, z0 = 200;
        const TNiweleta n = ZbudujNiwelete(
            "N3", {P(s0 - 300, z0 - 300 * g1), P(s0, z0, TLukPionowy::Kolowy, R), P(s0 + 300, z0 + 300 * g2)});
        // Signed distance of (s, z) above the line z = z0 + g (s - s0): (z - z0 - g (s - s0)) / sqrt(1 + g^2) = +-R.
        const double znak = g2 > g1 ? 1 : -1;
        const double a1 = -g1, b1 = 1, c1 = znak * R * std::hypot(1, g1) + z0 - g1 * s0;
        const double a2 = -g2, b2 = 1, c2 = znak * R * std::hypot(1, g2) + z0 - g2 * s0;
        const double det = a1 * b2 - a2 * b1;
        const double sc = (c1 * b2 - c2 * b1) / det, zc = (a1 * c2 - a2 * c1) / det;
        // Feet of the centre on the grades.
        const double sp = (sc + g1 * (zc - z0 + g1 * s0)) / (1 + g1 * g1);
        const double sk = (sc + g2 * (zc - z0 + g2 * s0)) / (1 + g2 * g2);
        const TPVI& p = n.Punkty[1];
        EXPECT_NEAR(p.Pocz, sp, 1e-9);
        EXPECT_NEAR(p.Kon, sk, 1e-9);
        EXPECT_NEAR(Z(n, sp), z0 + g1 * (sp - s0), 1e-9);
        EXPECT_NEAR(Z(n, sk), z0 + g2 * (sk - s0), 1e-9);
        EXPECT_NEAR(Z(n, sc), zc - znak * R, 1e-9);  // the lowest (highest) point
        const double q = sp + (sk - sp) / 4;
        EXPECT_NEAR(Z(n, q), zc - znak * std::sqrt(R * R - (q - sc) * (q - sc)), 1e-9);
        EXPECT_NEAR(G(n, sp), g1, 1e-9);
        EXPECT_NEAR(G(n, sk), g2, 1e-9);
        EXPECT_NEAR(G(n, sc), 0, 1e-12);
        // Near the small-angle rule: length R |g2 - g1| and middle ordinate T^2 / (2 R).
        EXPECT_NEAR(DlugoscLukuPionowego(p), R * std::fabs(g2 - g1), 0.1);
        EXPECT_NEAR(Z(n, s0), z0 + znak * std::pow(R * std::fabs(g2 - g1) / 2, 2) / (2 * R), 0.005);
        EXPECT_EQ(PromienLukuPionowego(p), R);
    }
}

TEST(Niweleta, Odmowy) {
    using enum TLukPionowy;
    auto blad = [](std::vector<TPVI> p) { return Blad([&] { ZbudujNiwelete("Niweleta 1", p); }); };
    std::vector<TPVI> p{P(0, 10), P(100, 12), P(90, 11)};
    p[2].Wiersz = 57;
    EXPECT_EQ(blad(p),
              "Niweleta „Niweleta 1”: punkt załamania niwelety nr 3 (pikieta 90.000, wiersz 57) nie leży za "
              "poprzednim (pikieta 100.000): punkty muszą iść w kolejności pikiet.");
    EXPECT_EQ(blad({P(0, 10)}), "Niweleta „Niweleta 1”: ma mniej niż dwa punkty załamania (PVI).");
    EXPECT_EQ(blad({P(0, 10, Parabola, 20), P(100, 12)}),
              "Niweleta „Niweleta 1”: punkt załamania niwelety nr 1 (pikieta 0.000) ma łuk pionowy, a jest pierwszym "
              "albo ostatnim punktem.");
    EXPECT_EQ(blad({P(0, 10), P(100, 12, Kolowy, 0), P(200, 10)}),
              "Niweleta „Niweleta 1”: punkt załamania niwelety nr 2 (pikieta 100.000) ma łuk pionowy bez dodatniej "
              "długości albo promienia.");
    EXPECT_EQ(blad({P(0, 10), P(100, NAN), P(200, 10)}),
              "Niweleta „Niweleta 1”: punkt załamania niwelety nr 2 (pikieta 100.000) ma niepoprawną pikietę albo "
              "wysokość.");
    // Two parabolas 100 m apart: overlapping by 0.8 mm is rounding, by 2 mm a wrong profile.
    EXPECT_EQ(blad({P(0, 10), P(100, 12, Parabola, 100.0016), P(200, 10, Parabola, 100), P(300, 10)}), "");
    EXPECT_EQ(blad({P(0, 10), P(100, 12, Parabola, 100.004), P(200, 10, Parabola, 100), P(300, 10)}),
              "Niweleta „Niweleta 1”: łuk pionowy w punkcie załamania niwelety nr 2 (pikieta 100.000) zachodzi na łuk "
              "pionowy w sąsiednim punkcie (pikieta 200.000) o 0.002 m; dopuszczalne jest 0.001 m.");
    EXPECT_EQ(blad({P(0, 10), P(100, 12, ParabolaNiesymetryczna, 120, 10), P(200, 10)}),
              "Niweleta „Niweleta 1”: łuk pionowy w punkcie załamania niwelety nr 2 (pikieta 100.000) zachodzi na "
              "sąsiedni punkt załamania (pikieta 0.000) o 20.000 m; dopuszczalne jest 0.001 m.");
}

// The road from an alignment alone: a straight alignment of 400 m with a crest (grades +2 % and -2 %, a
// parabola of 160 m about the breakpoint at 200 m, R = 160 / 0.04 = 4000 m) and no surface. The ribbon's
// height is the design line worked by hand, level across its 7 m and nothing beside it; the driver's eye
// stands 1.0 m over it; the sight check over the crest sees as far as the closed form for a parabola gives,
// S = sqrt(2 R) (sqrt(h1) + sqrt(h2)), with the eye and the target on the curve.
TEST(Niweleta, DrogaZNiwelety) {
    TElementOsi prosta;
    prosta.Poczatek = {5000.0, 7000.0};
    prosta.Kierunek = 0.3;
    prosta.Dlugosc = 400.0;
    prosta.Nr = 1;
    TDaneWczytane d;
    d.Zalomy = std::vector<TZalom>{};
    d.GeometriaZPliku = true;
    d.Lancuch = ZlozLancuch("A", 0.0, {prosta});
    d.Niweleta = ZbudujNiwelete("N", {P(0, 100), P(200, 104, TLukPionowy::Parabola, 160), P(400, 100)});
    TProjekt stary;
    std::vector<std::string> komunikaty;
    const TProjekt p = ProjektPoWczytaniu(stary, std::move(d), TNoweZbiory{false, false, true}, komunikaty);
    ASSERT_TRUE(p.Trasa.Obliczona);
    ASSERT_FALSE(p.Trasa.Wstega.Trojkaty.empty());
    EXPECT_EQ(&PowierzchniaProjektowa(p), &p.Trasa.Wstega);
    const TIndeksyWysokosci ix = IndeksyWysokosci(p);
    const double kat = 0.3;
    const auto punkt = [&](double s, double wBok) {
        const TPunkt2D q = PunktLancucha(p.Trasa.Lancuch, s);
        return TPunkt2D{q.X + wBok * std::sin(kat), q.Y - wBok * std::cos(kat)};  // wBok to the right
    };
    // s, the design line by hand: the grades, the curve's start, its quarter point, its top, the far grade.
    for (const auto& [s, z] :
         std::vector<std::pair<double, double>>{{50, 101.0}, {120, 102.4}, {160, 103.0}, {200, 103.2}, {350, 101.0}}) {
        for (double wBok : {-3.4, 0.0, 1.75, 3.4}) {
            const TPunkt2D q = punkt(s, wBok);
            const std::optional<double> h = Wysokosc(*ix.PROJ, q.X, q.Y);
            ASSERT_TRUE(h) << s << " " << wBok;
            EXPECT_NEAR(*h, z, 2e-4) << s << " " << wBok;  // 2 m chords of the parabola sag 0.000125 m
        }
        for (double wBok : {-3.6, 3.6}) EXPECT_FALSE(Wysokosc(*ix.PROJ, punkt(s, wBok).X, punkt(s, wBok).Y));
        const TPolozenieOka oko = PolozenieOka(p.Trasa, s, TUstawieniaOka{}, ix);
        ASSERT_TRUE(oko.Jest);
        EXPECT_NEAR(oko.Oko.Z, z + 1.0, 2e-4) << s;
    }
    // The sight check from 124 m forwards: eye 1.0 m, target 0.5 m, both on the curve (120 to 280 m).
    const TUstawieniaWidocznosci u;
    const double S = std::sqrt(2 * 4000.0) * (std::sqrt(u.WysokoscOka) + std::sqrt(u.WysokoscCelu));
    ASSERT_LT(124 + S, 280.0);
    const TWierszWidocznosci w = SprawdzWidocznoscNaPikiecie({p.Trasa, p.ParametryProjektowe}, 124.0, 1, u, *ix.PROJ,
                                                             *ix.TEREN);
    EXPECT_EQ(w.Granica, TGranicaWidocznosci::Przeszkoda);
    EXPECT_NEAR(w.Dostepna, S, 0.1);

    // A design surface present: it is the road, the ribbon is not.
    TProjekt zProj = p;
    UstawTrojkaty(zProj.PROJ, Siatka(0, 10, 0, 10, 5, [](double, double) { return 0.0; }));
    EXPECT_EQ(&PowierzchniaProjektowa(zProj), &zProj.PROJ);
}
