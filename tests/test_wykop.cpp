// The ground a cutting removes: the cut of ground triangles against a brute-force rule and closed-form areas, the
// ground kept beside a cutting and the lines of sight over it.
#include <random>

#include "analiza/Widocznosc.h"
#include "analiza/Wykop.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

// Signed plan area of a triangle.
double Pole(const TTrojkatRogi& t) { return 0.5 * ((t.X2 - t.X1) * (t.Y3 - t.Y1) - (t.X3 - t.X1) * (t.Y2 - t.Y1)); }

// Barycentric weights of a plan point in a triangle.
std::array<double, 3> Wagi(const TTrojkatRogi& t, double x, double y) {
    const double d = (t.X2 - t.X1) * (t.Y3 - t.Y1) - (t.X3 - t.X1) * (t.Y2 - t.Y1);
    const double w2 = ((x - t.X1) * (t.Y3 - t.Y1) - (t.X3 - t.X1) * (y - t.Y1)) / d;
    const double w3 = ((t.X2 - t.X1) * (y - t.Y1) - (x - t.X1) * (t.Y2 - t.Y1)) / d;
    return {1 - w2 - w3, w2, w3};
}

double ZTrojkata(const TTrojkatRogi& t, double x, double y) {
    const auto w = Wagi(t, x, y);
    return w[0] * t.Z1 + w[1] * t.Z2 + w[2] * t.Z3;
}

bool Wewnatrz(const TTrojkatRogi& t, double x, double y, double zapas = 0) {
    const auto w = Wagi(t, x, y);
    return w[0] > zapas && w[1] > zapas && w[2] > zapas;
}

double SumaPol(const std::vector<TTrojkatRogi>& k) {
    double s = 0;
    for (const TTrojkatRogi& t : k) s += Pole(t);
    return s;
}

}  // namespace

TEST(Wykop, KawalkiZgodneZRegulaWKazdymPunkcie) {
    // A design surface of 3 m cells over [0, 60] x [20, 40], wavy, and ground triangles of random size and place
    // tilted across it. Every sampled plan point of a ground triangle is kept exactly when the design surface has no
    // height there or the ground is not above it; the pieces never overlap and lie in the ground's plane.
    auto projektu = [](double x, double y) { return 5 + 2 * std::sin(x / 7) + 0.1 * y; };
    const std::vector<TTrojkatRogi> siatka = Siatka(0, 60, 20, 40, 3, projektu, 2.5);
    const TIndeksWysokosci proj = ZbudujIndeksWysokosci(siatka);
    std::mt19937 los(12345);
    std::uniform_real_distribution<double> wsp(-10, 70), z(0, 12);
    int ciete = 0, punkty = 0;
    for (int n = 0; n < 300; ++n) {
        TTrojkatRogi t = Trojkat({wsp(los), wsp(los), z(los)}, {wsp(los), wsp(los), z(los)},
                                 {wsp(los), wsp(los), z(los)});
        if (std::fabs(Pole(t)) < 1) continue;
        std::vector<TTrojkatRogi> k;
        if (!PrzytnijTeren(t, proj, k)) {
            EXPECT_TRUE(k.empty());
            k = {t};
        } else {
            ++ciete;
        }
        for (const TTrojkatRogi& q : k) {
            EXPECT_GT(Pole(q) * Pole(t), 0) << "ten sam obrót";
            for (auto [x, y, zq] : {std::tuple{q.X1, q.Y1, q.Z1}, {q.X2, q.Y2, q.Z2}, {q.X3, q.Y3, q.Z3}})
                EXPECT_NEAR(zq, ZTrojkata(t, x, y), 1e-9);
            EXPECT_EQ(q.Rodzaj.Kod, t.Rodzaj.Kod);
        }
        std::uniform_real_distribution<double> u(0, 1);
        for (int p = 0; p < 400; ++p) {
            double a = u(los), b = u(los);
            if (a + b > 1) a = 1 - a, b = 1 - b;
            const double x = t.X1 + a * (t.X2 - t.X1) + b * (t.X3 - t.X1),
                         y = t.Y1 + a * (t.Y2 - t.Y1) + b * (t.Y3 - t.Y1);
            // The rule by brute force; points within a millimetre of where it changes are left out.
            const double zt = ZTrojkata(t, x, y);
            const bool podProjektem = x > 0 && x < 60 && y > 20 && y < 40;
            if (std::fabs(x) < 1e-3 || std::fabs(x - 60) < 1e-3 || std::fabs(y - 20) < 1e-3 || std::fabs(y - 40) < 1e-3)
                continue;
            if (podProjektem && std::fabs(zt - *Wysokosc(proj, x, y)) < 1e-3) continue;
            const bool zostaje = !podProjektem || zt <= *Wysokosc(proj, x, y);
            int w = 0;
            for (const TTrojkatRogi& q : k) w += Wewnatrz(q, x, y, -1e-12);
            EXPECT_EQ(w, zostaje ? 1 : 0) << n << " " << x << " " << y;
            ++punkty;
        }
    }
    EXPECT_GT(ciete, 50);
    EXPECT_GT(punkty, 50000);
}

TEST(Wykop, PolaZamkniete) {
    // The ground at 1 m over the triangle (0, 0), (10, 0), (0, 10), area 50.
    const TTrojkatRogi t = Trojkat({0, 0, 1}, {10, 0, 1}, {0, 10, 1});
    const TTrojkatRogi odwrotny = Trojkat({0, 0, 1}, {0, 10, 1}, {10, 0, 1});
    struct {
        const char* opis;
        std::vector<TTrojkatRogi> proj;
        bool ciety;
        double pole;  // what is kept
    } przypadki[] = {
        // The design plane z = x / 2 meets the ground along x = 2; the ground is above it for x < 2.
        {"płaszczyzna", Siatka(-5, 15, -5, 15, 20, [](double x, double) { return x / 2; }), true, 32},
        // A square [0, 5]^2 at 0 wholly inside the triangle: removed; at 2 (above the ground): nothing removed.
        {"kwadrat", Siatka(0, 5, 0, 5, 5, [](double, double) { return 0.0; }), true, 25},
        {"nasyp", Siatka(0, 5, 0, 5, 5, [](double, double) { return 2.0; }), false, 50},
        // A strip 1 m wide across the triangle in 0.25 m cells, x in [3, 4]: 0.5 (7 + 6) = 6.5 removed.
        {"pas", Siatka(3, 4, -2, 12, 0.25, [](double, double) { return 0.0; }), true, 50 - 6.5},
        // Beside the triangle: untouched; all over it: nothing kept.
        {"obok", Siatka(20, 30, 0, 10, 5, [](double, double) { return 0.0; }), false, 50},
        {"calosc", Siatka(-1, 11, -1, 11, 4, [](double, double) { return -3.0; }), true, 0},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.opis);
        const TIndeksWysokosci proj = ZbudujIndeksWysokosci(p.proj);
        for (const TTrojkatRogi& g : {t, odwrotny}) {
            std::vector<TTrojkatRogi> k;
            EXPECT_EQ(PrzytnijTeren(g, proj, k), p.ciety);
            if (!p.ciety) {
                EXPECT_TRUE(k.empty());
                continue;
            }
            EXPECT_NEAR(std::fabs(SumaPol(k)), p.pole, 1e-4);  // ground within 1e-6 m of the design stays
        }
    }
    // Thin slivers of the design mesh's shared edges leave nothing behind: a ground triangle under a mesh of many
    // small cells is removed whole.
    const TIndeksWysokosci drobna = ZbudujIndeksWysokosci(
        Siatka(-1, 11, -1, 11, 0.37, [](double x, double y) { return -1 - 0.01 * x * y; }));
    std::vector<TTrojkatRogi> k;
    EXPECT_TRUE(PrzytnijTeren(t, drobna, k));
    EXPECT_TRUE(k.empty()) << k.size();
}

TEST(Wykop, WidocznoscPrzezKawalkiPozaPasem) {
    // The old ground at 5 in 30 m triangles over a road 10 m wide at 0 (x along the road): the kept ground is cut
    // exactly along the road's edges y = -5 and 5 and keeps every point beside them.
    const std::vector<TTrojkatRogi> stary = Siatka(-30, 1050, -60, 60, 30, [](double, double) { return 5.0; });
    const std::vector<TTrojkatRogi> droga = Siatka(-10, 1010, -5, 5, 5, [](double, double) { return 0.0; });
    const TIndeksWysokosci proj = ZbudujIndeksWysokosci(droga), teren = ZbudujIndeksWysokosci(stary);
    const TIndeksWysokosci poza = TerenPozaWykopem(teren, proj);
    for (double x = 0.5; x < 1000; x += 7.3) {
        for (double y : {-4.999, -3.0, 0.0, 2.2, 4.999}) EXPECT_FALSE(Wysokosc(poza, x, y)) << x << " " << y;
        for (double y : {-5.001, -30.0, 5.001, 45.0}) EXPECT_NEAR(*Wysokosc(poza, x, y), 5, 1e-9) << x << " " << y;
    }
    // A line of sight along the road 1 m above it is free; one that dips into the ground beside it is not. The
    // whole terrain and the terrain cut along the segment agree.
    const TPunkt3D a{0, 0, 1}, b{900, 0, 1}, c{0, 0, 1}, d{900, 8, 4.9}, e{0, 4.9, 1}, f{900, 4.9, 1};
    for (auto [p, q, zaslonieta] : {std::tuple{a, b, false}, {c, d, true}, {e, f, false}}) {
        EXPECT_EQ(Zasloniety(p, q, proj, poza), zaslonieta);
        EXPECT_EQ(ZaslonietyOdcinek(p, q, proj, teren), zaslonieta);
    }
}
