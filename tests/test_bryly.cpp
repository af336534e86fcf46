// Test solids, the sample road, the seeded random draws and the test screens.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <vector>

#include "generators/GenerowanieBryl.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"

namespace {

constexpr double kPi = std::numbers::pi;

class Bryly : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        UstawZiarnoLosowe(0);
    }
};

std::vector<TPunkt3D> Wierzcholki(const std::vector<TTrojkatRys>& t) {
    std::vector<TPunkt3D> w;
    for (const auto& r : t) w.insert(w.end(), {r.P1, r.P2, r.P3});
    return w;
}

std::vector<TPunkt3D> Wierzcholki(const std::vector<TCzworokatRys>& t) {
    std::vector<TPunkt3D> w;
    for (const auto& r : t) w.insert(w.end(), {r.P1, r.P2, r.P3, r.P4});
    return w;
}

double Plan(const TPunkt3D& p, double cx, double cy) { return std::hypot(p.X - cx, p.Y - cy); }

double Odl(const TPunkt3D& a, const TPunkt3D& b) { return Dlugosc(a - b); }

// The draws of the generator, counted here on their own.
struct Ciag {
    std::uint32_t s = 0;
    int D(int k) {
        s = s * 134775813u + 1u;
        return static_cast<int>((static_cast<std::uint64_t>(k) * s) >> 32);
    }
};

}  // namespace

TEST_F(Bryly, DodajTrojkatPomijaZdegenerowane) {
    DodajTrojkat({0, 0, 0}, {0, 0, 0}, {1, 1, 1}, 1, 2);
    DodajTrojkat({0, 0, 0}, {1, 1, 1}, {2, 2, 2}, 1, 2);
    DodajTrojkat({0, 0, 0}, {0.1, 0.1, 0}, {0.2, 0, 0}, 1, 2);  // |N| sum 0.02
    EXPECT_EQ(IleTrojkatowPROJ(), 0);
    DodajTrojkat({1, 0, 0}, {0, 0, 0}, {0, 0.3, 0}, 1, 2);  // legs 1 and 0.3: |N| sum 0.3
    ASSERT_EQ(IleTrojkatowPROJ(), 1);
    EXPECT_EQ(TrojkatyPROJ[0].KolorObrysu, 1u);
    EXPECT_EQ(TrojkatyPROJ[0].Kolor, 2u);
    DodajCzworokat({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 3, 4);
    ASSERT_EQ(IleCzworokatow(), 1);
    EXPECT_EQ(Czworokaty[0].Kolor, 4u);
}

TEST_F(Bryly, PunktNaOkreguWPojedynczejPrecyzji) {
    const TPunkt2D a = PunktNaOkregu(0.0, 10.0, 5.0, 5.0);
    EXPECT_NEAR(a.X, 5.0, 1e-5);
    EXPECT_NEAR(a.Y, 15.0, 1e-5);
    const TPunkt2D b = PunktNaOkregu(kPi / 2, 10.0, 0.0, 0.0);
    EXPECT_NEAR(b.X, -10.0, 1e-5);
    EXPECT_NEAR(b.Y, 0.0, 1e-5);
    const TPunkt2D c = PunktNaOkregu(1.234, 456.789, 1000.1, -3.3);
    EXPECT_EQ(static_cast<double>(static_cast<float>(c.X)), c.X);
    EXPECT_EQ(static_cast<double>(static_cast<float>(c.Y)), c.Y);
    EXPECT_NEAR(Plan({c.X, c.Y, 0}, 1000.1, -3.3), 456.789, 1e-3);
}

TEST_F(Bryly, WalecLiczbyIPowierzchnia) {
    Walec('Z', 1, 10, 20, 30, 5, 8, 'T', 7);
    EXPECT_EQ(IleTrojkatowPROJ(), 4 * 2 + 4 + 4);
    TrojkatyPROJ.clear();
    Walec('Z', 1, 10, 20, 30, 5, 8, 'C', 7);
    EXPECT_EQ(IleTrojkatowPROJ(), 0);
    EXPECT_EQ(IleCzworokatow(), 4 + 2 * 4);  // wall, top cap only
    Czworokaty.clear();

    // Every point on the wall or on a cap, for each axis.
    for (char os : {'Z', 'Y', 'X'}) {
        TrojkatyPROJ.clear();
        Walec(os, 7, 100, 200, 300, 50, 80, 'T', 7);
        ASSERT_EQ(IleTrojkatowPROJ(), 28 * 7 * 2 + 28 + 28) << os;
        for (const auto& p : Wierzcholki(TrojkatyPROJ)) {
            const TPunkt3D d = p - TPunkt3D{100, 200, 300};
            // Axial coordinate and the distance from the axis.
            const double osiowa = os == 'Z' ? d.Z : (os == 'Y' ? d.Y : d.X);
            const double promien = os == 'Z' ? std::hypot(d.X, d.Y) : (os == 'Y' ? std::hypot(d.Z, d.X) : std::hypot(d.Y, d.Z));
            const bool sciana = std::fabs(promien - 50) < 1e-3 && osiowa > -1e-9 && osiowa < 80 + 1e-9;
            const bool pokrywa = (std::fabs(osiowa) < 1e-9 || std::fabs(osiowa - 80) < 1e-9) && promien < 50 + 1e-3;
            EXPECT_TRUE(sciana || pokrywa) << os << " " << p.X << " " << p.Y << " " << p.Z;
        }
    }
}

TEST_F(Bryly, StozekNaPowierzchni) {
    Stozek('Z', 7, 450, 100, 0, 70, 100, 'T', 7);
    // The top band's second triangles meet at the apex and are dropped.
    EXPECT_EQ(IleTrojkatowPROJ(), 28 * 7 * 2 - 28 + 28);
    for (const auto& p : Wierzcholki(TrojkatyPROJ)) {
        const double rho = Plan(p, 450, 100);
        const bool plaszcz = std::fabs(rho - 70 * (1 - p.Z / 100)) < 1e-3;
        const bool podstawa = std::fabs(p.Z) < 1e-12 && rho < 70 + 1e-3;
        EXPECT_TRUE(plaszcz || podstawa);
    }
    double zMax = 0;
    for (const auto& p : Wierzcholki(TrojkatyPROJ)) zMax = std::max(zMax, p.Z);
    EXPECT_NEAR(zMax, 100.0, 1e-9);
}

TEST_F(Bryly, KulaLiczbaIPowierzchnia) {
    Kula(40, 'T', 10, 20, 30, 100, 9);
    // 20 bands of 40 cells, two triangles each, less the 40 zero-area ones at each pole.
    EXPECT_EQ(IleTrojkatowPROJ(), 20 * 40 * 2 - 40 - 40);
    for (const auto& p : Wierzcholki(TrojkatyPROJ)) EXPECT_NEAR(Odl(p, {10, 20, 30}), 100.0, 1e-9);

    KulaPierscieniowa(10, 'T', 300, 100, 35, 70, 9);
    bool gora = false, dol = false;
    for (size_t i = 1520; i < TrojkatyPROJ.size(); ++i)
        for (const auto& p : {TrojkatyPROJ[i].P1, TrojkatyPROJ[i].P2, TrojkatyPROJ[i].P3}) {
            EXPECT_NEAR(Odl(p, {300, 100, 35}), 70.0, 2e-2);
            gora |= p.Z > 35 + 60;
            dol |= p.Z < 35 - 60;
        }
    EXPECT_TRUE(gora && dol);
}

TEST_F(Bryly, NieobslugiwanyTrybNicNieDodaje) {
    Kula(40, 'C', 0, 0, 0, 100, 9);
    Kula(40, 'Q', 0, 0, 0, 100, 9);
    Walec('Z', 3, 0, 0, 0, 10, 10, 'Q', 9);
    Stozek('Z', 3, 0, 0, 0, 10, 10, 't', 9);
    PowierzchniaFalista(5, 'x', 0, 0, 0, 10, 10, 1, 9);
    KulaPierscieniowa(5, '?', 0, 0, 0, 10, 9);
    PowierzchniaFalista(0, 'T', 0, 0, 0, 10, 10, 1, 9);
    EXPECT_EQ(IleTrojkatowPROJ(), 0);
    EXPECT_EQ(IleCzworokatow(), 0);
}

TEST_F(Bryly, PolwalceMajaPoOsiemnascieKrokowNaPolObrotu) {
    PolwalecPionowy(550.0, 100.0, 50.0, 1.5 * kPi, 2.5 * kPi, 10.0, 100.0);
    ASSERT_EQ(IleCzworokatow(), 18);
    for (const auto& q : Czworokaty) {
        EXPECT_EQ(q.KolorObrysu, 0x808080u);
        EXPECT_EQ(q.Kolor, 0x969696u);
        EXPECT_EQ(q.P1.Z, 10.0);
        EXPECT_EQ(q.P3.Z, 100.0);
    }
    // The half that faces negative Y, from +X round to -X.
    for (const auto& p : Wierzcholki(Czworokaty)) {
        EXPECT_NEAR(Plan(p, 550, 100), 50.0, 1e-3);
        EXPECT_LE(p.Y, 100.0 + 1e-3);
    }
    EXPECT_NEAR(Czworokaty.front().P1.X, 600.0, 1e-3);
    EXPECT_NEAR(Czworokaty.back().P2.X, 500.0, 1e-3);

    Czworokaty.clear();
    PolwalecPoziomy(100.0, 50.0, 50.0, kPi, 2 * kPi, 620.0, 670.0);
    ASSERT_EQ(IleCzworokatow(), 18);
    for (const auto& q : Czworokaty) {
        EXPECT_EQ(q.P1.X, 620.0);
        EXPECT_EQ(q.P3.X, 670.0);
        for (const auto& p : {q.P1, q.P2, q.P3, q.P4}) EXPECT_NEAR(std::hypot(p.Y - 100, p.Z - 50), 50.0, 1e-3);
    }

    EXPECT_EQ(KrokiPolwalca(0.0, kPi / 18), 1);  // the double of pi/18 lies below pi/18
    EXPECT_EQ(KrokiPolwalca(0.0, 0.5), 3);
    EXPECT_EQ(KrokiPolwalca(0.0, std::nan("")), 0);
    Czworokaty.clear();
    PolwalecPionowy(0, 0, 1, 0.0, -1.0, 0, 1);  // a reversed span builds nothing
    EXPECT_EQ(IleCzworokatow(), 0);
}

TEST_F(Bryly, Droga1) {
    Droga1();
    ASSERT_EQ(IleCzworokatow(), 510);
    std::map<TKolor, int> kolory;
    for (const auto& q : Czworokaty) {
        EXPECT_EQ(q.Kolor, q.KolorObrysu);
        ++kolory[q.Kolor];
    }
    EXPECT_EQ(kolory[0x808080], 204);
    EXPECT_EQ(kolory[0xA0A0A0], 102);
    EXPECT_EQ(kolory[0xA0A0B4], 102);
    EXPECT_EQ(kolory[0x008000], 102);

    for (int i = 0; i <= 50; ++i) {
        const TPunkt3D o0 = OsDrogi(10.0 * i), o1 = OsDrogi(10.0 * i + 10.0);
        const TCzworokatRys* seg = &Czworokaty[10 * i];
        // Left side: the first strip starts at the axis, 150 wide, falling 2 %.
        EXPECT_NEAR(Odl(seg[0].P4, o0), 0.0, 1e-3);
        EXPECT_NEAR(Odl(seg[0].P3, o1), 0.0, 1e-3);
        EXPECT_NEAR(Plan(seg[0].P1, o0.X, o0.Y), 150.0, 1e-3);
        EXPECT_NEAR(seg[0].P1.Z, o0.Z - 3.0, 1e-9);
        // Lying to the left of the direction of travel.
        const TPunkt3D kier = o1 - o0, wbok = seg[0].P1 - o0;
        EXPECT_GT(kier.X * wbok.Y - kier.Y * wbok.X, 0.0);
        // The step keeps the plan position and rises by 5.
        EXPECT_NEAR(seg[1].P1.X, seg[1].P4.X, 1e-9);
        EXPECT_NEAR(seg[1].P1.Z, seg[1].P4.Z + 5.0, 1e-9);
        // Right side: from the axis again, laid towards negative X.
        EXPECT_NEAR(Odl(seg[5].P1, o0), 0.0, 1e-3);
        EXPECT_NEAR(seg[5].P4.X, o0.X - 150.0, 1e-3);
        EXPECT_NEAR(seg[5].P4.Y, o0.Y, 1e-3);
    }
}

TEST_F(Bryly, SzescianICzworoscian) {
    Szescian(5, 10, 20, 30, 8, 0.0);
    ASSERT_EQ(IleTrojkatowPROJ(), 12);
    for (const auto& r : TrojkatyPROJ) {
        const TPunkt3D n = Iloczyn(r.P1 - r.P2, r.P3 - r.P2);
        const int zerowe = (n.X == 0.0) + (n.Y == 0.0) + (n.Z == 0.0);
        EXPECT_EQ(zerowe, 2);  // normal along an axis
        for (const auto& p : {r.P1, r.P2, r.P3}) {
            EXPECT_EQ(std::fabs(p.X - 10), 4.0);
            EXPECT_EQ(std::fabs(p.Y - 20), 4.0);
            EXPECT_TRUE(p.Z == 30.0 || p.Z == 38.0);
        }
    }
    // Turned, every face is still half of a square of side 8.
    for (double kat : {0.3, 44 * kPi / 180, -1.0}) {
        TrojkatyPROJ.clear();
        Szescian(5, 10, 20, 30, 8, kat);
        ASSERT_EQ(IleTrojkatowPROJ(), 12);
        for (const auto& r : TrojkatyPROJ) {
            double b[3] = {Odl(r.P1, r.P2), Odl(r.P2, r.P3), Odl(r.P3, r.P1)};
            std::sort(b, b + 3);
            EXPECT_NEAR(b[0], 8.0, 1e-9);
            EXPECT_NEAR(b[1], 8.0, 1e-9);
            EXPECT_NEAR(b[2], 8.0 * std::sqrt(2.0), 1e-9);
        }
    }

    TrojkatyPROJ.clear();
    Czworoscian(5, 750, 100, 0, 70, 0.4);
    ASSERT_EQ(IleTrojkatowPROJ(), 4);
    std::vector<TPunkt3D> w;
    for (const auto& p : Wierzcholki(TrojkatyPROJ))
        if (std::none_of(w.begin(), w.end(), [&](auto& q) { return Odl(p, q) < 1e-9; })) w.push_back(p);
    ASSERT_EQ(w.size(), 4u);
    const double krawedz = Odl(w[0], w[1]);
    EXPECT_NEAR(krawedz, 70 * std::sqrt(3.0), 1e-3);
    for (size_t i = 0; i < 4; ++i)
        for (size_t j = i + 1; j < 4; ++j) EXPECT_NEAR(Odl(w[i], w[j]), krawedz, 1e-3);
}

TEST_F(Bryly, CiagLosowyOdZera) {
    // s1 = 0 * 134775813 + 1 = 1: 45 * 1 >> 32 = 0.
    EXPECT_EQ(Losuj(45), 0);
    EXPECT_EQ(ZiarnoLosowe(), 1u);
    // s2 = 134775814: 45 * 134775814 = 6064911630 = 1.41 * 2^32.
    EXPECT_EQ(Losuj(45), 1);
    EXPECT_EQ(ZiarnoLosowe(), 134775814u);
    // s3 = 134775814 * 134775813 + 1 mod 2^32 = 3698175007: 45 * s3 / 2^32 = 38.75.
    EXPECT_EQ(Losuj(45), 38);
    EXPECT_EQ(ZiarnoLosowe(), 3698175007u);
    // s4 = 870078620: 45 * s4 / 2^32 = 9.1.
    EXPECT_EQ(Losuj(45), 9);
    UstawZiarnoLosowe(0);
    Ciag c;
    for (int i = 0; i < 1000; ++i) {
        const int k = 1 + i % 97;
        const int d = Losuj(k);
        EXPECT_EQ(d, c.D(k));
        EXPECT_GE(d, 0);
        EXPECT_LT(d, k);
    }
}

namespace {

// The turn of the cube of a test screen (degrees): its corners lie at 45
// degrees plus the turn, modulo 90, about its centre (900, 100).
double KatSzescianu() {
    double kat = -1;
    for (const auto& r : TrojkatyPROJ) {
        if (r.Kolor != 0xA0A0F0) continue;
        for (const auto& p : {r.P1, r.P2, r.P3}) {
            const double a = std::atan2(p.Y - 100, p.X - 900) * 180 / kPi;
            const double k = std::fmod(a - 45 + 720, 90.0);
            if (kat >= 0) {
                EXPECT_NEAR(std::min(std::fabs(k - kat), 90 - std::fabs(k - kat)), 0.0, 1e-6);
            }
            kat = k;
        }
    }
    return kat > 89.99 ? kat - 90 : kat;
}

// The turn of the tetrahedron (degrees): its base corners lie at the turn plus
// multiples of 120, counted from +Y counter-clockwise about (750, 100).
double KatCzworoscianu() {
    double kat = 1e9;
    for (const auto& r : TrojkatyPROJ) {
        if (r.Kolor != 0xF0A0A0) continue;
        for (const auto& p : {r.P1, r.P2, r.P3}) {
            if (p.X < 600 || p.Z != 0.0) continue;
            const double a = std::atan2(-(p.X - 750), p.Y - 100) * 180 / kPi;
            double k = std::fmod(a + 720, 120.0);
            if (k > 119.99) k -= 120;
            kat = std::min(kat, k);
        }
    }
    return kat;
}

}  // namespace

TEST_F(Bryly, StalyEkranTestowyObracaOKolejneLosowania) {
    TEREN.Punkty.resize(5);
    PROJ.Punkty.resize(3);
    TEREN.Trojkaty.resize(7);
    PROJ.Trojkaty.resize(2);
    Trasa.Zalomy.resize(4);
    TrojkatyTEREN.resize(10);
    Czworokaty.resize(3);

    EkranTestowy();  // draws 0 and 1
    EXPECT_EQ(TEREN.IleTrojkatow(), 0);
    EXPECT_EQ(PROJ.IleTrojkatow(), 0);
    EXPECT_EQ(TEREN.IlePunktow(), 5);
    EXPECT_EQ(PROJ.IlePunktow(), 3);
    EXPECT_EQ(Trasa.IleZalomow(), 4);
    EXPECT_EQ(IleTrojkatowTEREN(), 0);
    EXPECT_EQ(IleCzworokatow(), 0);
    EXPECT_GT(IleTrojkatowPROJ(), 1000);
    EXPECT_NEAR(KatCzworoscianu(), 0.0, 1e-3);
    EXPECT_NEAR(KatSzescianu(), 1.0, 1e-3);
    // Sorted far to near and shaded.
    for (int i = 1; i < IleTrojkatowPROJ(); ++i) ASSERT_GE(TrojkatyPROJ[i - 1].KluczYmin, TrojkatyPROJ[i].KluczYmin);
    EXPECT_TRUE(std::any_of(TrojkatyPROJ.begin(), TrojkatyPROJ.end(),
                            [](auto& r) { return r.KolorCieniowany != 0 && r.KolorCieniowany != r.Kolor; }));

    const auto pierwszy = TrojkatyPROJ;
    EkranTestowy();  // draws 38 and 9
    EXPECT_NEAR(KatCzworoscianu(), 38.0, 1e-3);
    EXPECT_NEAR(KatSzescianu(), 9.0, 1e-3);
    EXPECT_EQ(TrojkatyPROJ.size(), pierwszy.size());

    // A run that starts again from seed 0 repeats the first screen exactly.
    UstawZiarnoLosowe(0);
    EkranTestowy();
    ASSERT_EQ(TrojkatyPROJ.size(), pierwszy.size());
    for (size_t i = 0; i < pierwszy.size(); ++i) {
        EXPECT_EQ(TrojkatyPROJ[i].P1.X, pierwszy[i].P1.X);
        EXPECT_EQ(TrojkatyPROJ[i].P3.Z, pierwszy[i].P3.Z);
        EXPECT_EQ(TrojkatyPROJ[i].KolorCieniowany, pierwszy[i].KolorCieniowany);
    }
}

TEST_F(Bryly, LosowyEkranTestowyLosujeWKolejnosciTabeli) {
    for (int ekran = 0; ekran < 4; ++ekran) {
        Ciag c{ZiarnoLosowe()};
        const int nFali = c.D(15) + 4;
        const int R = c.D(45) + 35, nKuli = c.D(10) + 4;
        const int rStozka = c.D(50) + 20, hStozka = c.D(50) + 70, nStozka = c.D(4) + 4;
        const int rWalca = c.D(50) + 20, hWalca = c.D(50) + 50, nWalca = c.D(4) + 4;
        const int rCzw = c.D(45) + 35, katCzw = c.D(45);
        const int aSz = c.D(45) + 35, katSz = c.D(45);

        PROJ.Trojkaty.resize(3);
        EkranTestowyLosowy();
        EXPECT_EQ(ZiarnoLosowe(), c.s) << "13 draws";
        EXPECT_EQ(PROJ.IleTrojkatow(), 0);

        int fala = 0;
        double zKuli = 0, zStozka = 0, rhoStozka = 0, zWalca = 0, rhoWalca = 0, rhoCzw = 0, zSz = 0;
        std::set<std::pair<long, long>> podstawaStozka, podstawaWalca, obwodKuli;
        for (const auto& r : TrojkatyPROJ) {
            if (r.Kolor == 0xC8A0A0) ++fala;
            for (const auto& p : {r.P1, r.P2, r.P3}) {
                auto klucz = [](const TPunkt3D& q) { return std::pair{std::lround(q.X * 1e3), std::lround(q.Y * 1e3)}; };
                if (r.Kolor == 0xF0A0A0 && p.X < 500) {
                    zKuli = std::max(zKuli, p.Z);
                    if (Plan(p, 300, 100) > R - 1e-2) obwodKuli.insert(klucz(p));
                } else if (r.Kolor == 0xF0A0A0) {
                    if (p.Z == 0.0) rhoCzw = std::max(rhoCzw, Plan(p, 750, 100));
                } else if (r.Kolor == 0xD2D2AA) {
                    zStozka = std::max(zStozka, p.Z);
                    rhoStozka = std::max(rhoStozka, Plan(p, 450, 100));
                    if (p.Z == 0.0 && Plan(p, 450, 100) > 1) podstawaStozka.insert(klucz(p));
                } else if (r.Kolor == 0xA0A0DC) {
                    zWalca = std::max(zWalca, p.Z);
                    rhoWalca = std::max(rhoWalca, Plan(p, 600, 100));
                    if (p.Z == 0.0 && Plan(p, 600, 100) > 1) podstawaWalca.insert(klucz(p));
                } else if (r.Kolor == 0xA0A0F0) {
                    zSz = std::max(zSz, p.Z);
                }
            }
        }
        EXPECT_EQ(fala, 2 * nFali * nFali);
        EXPECT_NEAR(zKuli, R / 2.0 + R, 0.05);  // the pole itself lies in dropped slivers
        EXPECT_EQ(obwodKuli.size(), size_t(4 * nKuli));
        EXPECT_NEAR(zStozka, hStozka, 1e-9);
        EXPECT_NEAR(rhoStozka, rStozka, 1e-3);
        EXPECT_EQ(podstawaStozka.size(), size_t(4 * nStozka));
        EXPECT_NEAR(zWalca, hWalca, 1e-9);
        EXPECT_NEAR(rhoWalca, rWalca, 1e-3);
        EXPECT_EQ(podstawaWalca.size(), size_t(4 * nWalca));
        EXPECT_NEAR(rhoCzw, rCzw, 1e-3);
        EXPECT_NEAR(KatCzworoscianu(), katCzw, 1e-3);
        EXPECT_NEAR(zSz, aSz, 1e-9);
        EXPECT_NEAR(KatSzescianu(), katSz, 1e-3);
    }
}

TEST_F(Bryly, SceneyPrzyciskowTestowych) {
    Czworokaty.resize(2);
    KuleTestowe(958);
    EXPECT_EQ(IleCzworokatow(), 0);
    ASSERT_EQ(IleTrojkatowPROJ(), 3 * 1520);
    for (int i = 1; i < IleTrojkatowPROJ(); ++i) ASSERT_GE(TrojkatyPROJ[i - 1].KluczYmin, TrojkatyPROJ[i].KluczYmin);
    int kolorowe = 0;
    for (const auto& r : TrojkatyPROJ) kolorowe += r.Kolor == 0xC80A8C && Odl(r.P1, {479, 200, 300}) < 100 + 1e-9;
    EXPECT_EQ(kolorowe, 1520);

    WalceTestowe();
    EXPECT_EQ(IleTrojkatowPROJ(), 0);
    EXPECT_EQ(IleCzworokatow(), 36);

    DrogaTestowa();
    EXPECT_EQ(IleCzworokatow(), 510);

    TEREN.Trojkaty.resize(4);
    TEREN.Punkty.resize(4);
    TrojkatyTEREN.resize(4);
    TrojkatTestowy();
    EXPECT_EQ(TEREN.IleTrojkatow(), 0);
    EXPECT_EQ(TEREN.IlePunktow(), 4);
    EXPECT_EQ(IleTrojkatowTEREN(), 0);
    EXPECT_EQ(IleCzworokatow(), 0);
    ASSERT_EQ(IleTrojkatowPROJ(), 1);
    EXPECT_EQ(TrojkatyPROJ[0].KolorObrysu, 0x008000u);
    EXPECT_EQ(TrojkatyPROJ[0].Kolor, 0x808080u);
    EXPECT_EQ(TrojkatyPROJ[0].P3.X, 450.0);
}
