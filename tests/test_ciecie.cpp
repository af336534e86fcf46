// Cutting of the triangle arrays at a depth and the far-to-near depth sorts.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"

namespace {

TTrojkatRys Troj(TPunkt3D a, TPunkt3D b, TPunkt3D c, TKolor kolor = 0x102030) {
    TTrojkatRys r;
    r.P1 = a;
    r.P2 = b;
    r.P3 = c;
    r.Kolor = kolor;
    r.KolorObrysu = kolor ^ 0xFFFFFF;
    r.KolorCieniowany = 0x0A0B0C;
    r.KluczYmin = 7.5f;
    r.KluczOko = 3.25f;
    return r;
}

// Signed plan area: positive when counter-clockwise.
double PoleZeZnakiem(const TTrojkatRys& r) {
    return 0.5 * ((r.P2.X - r.P1.X) * (r.P3.Y - r.P1.Y) - (r.P3.X - r.P1.X) * (r.P2.Y - r.P1.Y));
}

void ExpectPunkt(const TPunkt3D& p, double x, double y, double z, double tol = 1e-12) {
    EXPECT_NEAR(p.X, x, tol);
    EXPECT_NEAR(p.Y, y, tol);
    EXPECT_NEAR(p.Z, z, tol);
}

class Ciecie : public ::testing::Test {
protected:
    void SetUp() override { ZerujStan(); }
};

}  // namespace

TEST_F(Ciecie, PrzykladDwaKawalkiOPolach50i100) {
    TrojkatyPROJ = {Troj({0, -10, 0}, {10, 10, 0}, {-10, 10, 0})};
    TnijYmin(TZbior::PROJ, 0.0);
    ASSERT_EQ(IleTrojkatowPROJ(), 2);
    const auto& a = TrojkatyPROJ[0];
    const auto& b = TrojkatyPROJ[1];
    ExpectPunkt(a.P1, -10, 10, 0);
    ExpectPunkt(a.P2, -5, 0, 0);
    ExpectPunkt(a.P3, 5, 0, 0);
    ExpectPunkt(b.P1, -10, 10, 0);
    ExpectPunkt(b.P2, 5, 0, 0);
    ExpectPunkt(b.P3, 10, 10, 0);
    EXPECT_DOUBLE_EQ(PolePoziome(a), 50.0);
    EXPECT_DOUBLE_EQ(PolePoziome(b), 100.0);
}

TEST_F(Ciecie, LiczbaWierzcholkowWewnatrzDecydujeOLosieTrojkata) {
    // k = 3 kept unchanged, k = 0 dropped, k = 1 one piece, k = 2 two pieces;
    // the other set is left alone.
    const auto k3 = Troj({0, 5, 0}, {10, 5, 0}, {0, 15, 0}, 1);
    const auto k0 = Troj({0, -5, 0}, {10, -5, 0}, {0, -15, 0}, 2);
    const auto k1 = Troj({0, -10, 1}, {10, -10, 1}, {0, 10, 3}, 3);
    const auto k2 = Troj({0, 10, 0}, {10, 10, 0}, {0, -10, 0}, 4);
    TrojkatyTEREN = {k3, k0, k1, k2};
    TrojkatyPROJ = {k0};
    TnijYmin(TZbior::TEREN, 0.0);
    ASSERT_EQ(IleTrojkatowTEREN(), 4);
    EXPECT_EQ(IleTrojkatowPROJ(), 1);
    EXPECT_EQ(TrojkatyTEREN[0].Kolor, 1u);
    ExpectPunkt(TrojkatyTEREN[0].P2, 10, 5, 0, 0.0);
    // k = 1: the inside vertex stays in its place, the others move onto depth 0.
    const auto& p1 = TrojkatyTEREN[1];
    EXPECT_EQ(p1.Kolor, 3u);
    ExpectPunkt(p1.P1, 0, 0, 2);
    ExpectPunkt(p1.P2, 5, 0, 2);
    ExpectPunkt(p1.P3, 0, 10, 3);
    EXPECT_DOUBLE_EQ(PolePoziome(p1), 25.0);
    EXPECT_EQ(TrojkatyTEREN[2].Kolor, 4u);
    EXPECT_EQ(TrojkatyTEREN[3].Kolor, 4u);
    EXPECT_NEAR(PolePoziome(TrojkatyTEREN[2]) + PolePoziome(TrojkatyTEREN[3]), 100.0 - 25.0, 1e-9);
}

TEST_F(Ciecie, KawalkiPokrywajaCzescWewnetrznaIZachowujaObiegIDane) {
    // Random triangles cut at random depths, both ways: the pieces of each
    // source cover exactly the part of it inside the depth, run the same way
    // round as the source, and carry its colours and keys.
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-50.0, 50.0);
    for (int proba = 0; proba < 400; ++proba) {
        const bool ymin = proba % 2 == 0;
        const double c = u(gen) * 0.5;
        auto zr = Troj({u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)},
                       static_cast<TKolor>(proba));
        TrojkatyPROJ = {zr};
        ymin ? TnijYmin(TZbior::PROJ, c) : TnijYmax(TZbior::PROJ, c);

        // The expected inside area by clipping the source polygon at the depth.
        std::vector<TPunkt3D> wiel{zr.P1, zr.P2, zr.P3}, wyn;
        auto wew = [&](const TPunkt3D& p) { return ymin ? p.Y > c : p.Y < c; };
        for (size_t i = 0; i < 3; ++i) {
            const auto& a = wiel[i];
            const auto& b = wiel[(i + 1) % 3];
            if (wew(a)) wyn.push_back(a);
            if (wew(a) != wew(b)) wyn.push_back(a + (b - a) * ((c - a.Y) / (b.Y - a.Y)));
        }
        double pole = 0;
        for (size_t i = 0; i < wyn.size(); ++i) {
            const auto& a = wyn[i];
            const auto& b = wyn[(i + 1) % wyn.size()];
            pole += a.X * b.Y - b.X * a.Y;
        }
        pole = std::fabs(pole) * 0.5;

        double suma = 0;
        for (const auto& r : TrojkatyPROJ) {
            suma += PolePoziome(r);
            EXPECT_GT(PolePoziome(r), 0.1);
            EXPECT_GE(PoleZeZnakiem(r) * PoleZeZnakiem(zr), 0.0);
            EXPECT_EQ(r.Kolor, zr.Kolor);
            EXPECT_EQ(r.KolorObrysu, zr.KolorObrysu);
            EXPECT_EQ(r.KolorCieniowany, zr.KolorCieniowany);
            EXPECT_EQ(r.KluczYmin, zr.KluczYmin);
            EXPECT_EQ(r.KluczOko, zr.KluczOko);
            for (const auto* p : {&r.P1, &r.P2, &r.P3}) EXPECT_TRUE(ymin ? p->Y >= c : p->Y <= c);
        }
        // Up to the dropped slivers of at most 0.1 each.
        EXPECT_NEAR(suma, pole, 0.2 + 1e-9 * pole) << "proba " << proba;
    }
}

TEST_F(Ciecie, DrobneKawalkiOdpadajaCaleMaleTrojkatyZostaja) {
    const auto maly = Troj({0, 5, 0}, {0.1, 5, 0}, {0, 5.1, 0}, 1);     // area 0.005, whole
    const auto krawedz = Troj({0, 0.01, 0}, {10, 0.01, 0}, {0, -10, 0}, 2);  // inside sliver 0.05
    const auto rowno = Troj({0, 1.0, 0}, {20, 1.0, 0}, {0, -1, 0}, 3);  // pieces 5 and ...
    TrojkatyPROJ = {maly, krawedz, rowno};
    TnijYmin(TZbior::PROJ, 0.0);
    ASSERT_GE(IleTrojkatowPROJ(), 2);
    EXPECT_EQ(TrojkatyPROJ[0].Kolor, 1u);
    EXPECT_DOUBLE_EQ(PolePoziome(TrojkatyPROJ[0]), PolePoziome(maly));
    for (int i = 1; i < IleTrojkatowPROJ(); ++i) EXPECT_EQ(TrojkatyPROJ[i].Kolor, 3u);
}

TEST_F(Ciecie, TrojkatNaGlebokosciCieciaOdpadaWObieStrony) {
    const auto r = Troj({0, 3, 0}, {10, 3, 0}, {0, 3, 10});
    TrojkatyPROJ = {r};
    TnijYmin(TZbior::PROJ, 3.0);
    EXPECT_EQ(IleTrojkatowPROJ(), 0);
    TrojkatyPROJ = {r};
    TnijYmax(TZbior::PROJ, 3.0);
    EXPECT_EQ(IleTrojkatowPROJ(), 0);
}

TEST_F(Ciecie, BezTnijTrojTrojkatyPrzecinajaceOdpadaja) {
    Rzut.TnijTroj = false;
    const auto caly = Troj({0, 5, 0}, {10, 5, 0}, {0, 15, 0}, 1);
    TrojkatyTEREN = {Troj({0, -10, 0}, {10, 10, 0}, {-10, 10, 0}), caly, Troj({0, -10, 0}, {10, -10, 0}, {0, 10, 0})};
    TnijYmin(TZbior::TEREN, 0.0);
    ASSERT_EQ(IleTrojkatowTEREN(), 1);
    EXPECT_EQ(TrojkatyTEREN[0].Kolor, 1u);

    // The view's cut without TnijTroj is only the near one at -1000.
    TrojkatyPROJ = {Troj({0, 1e6, 0}, {10, 1e6, 0}, {0, 2e6, 0}, 5), Troj({0, -2000, 0}, {10, -900, 0}, {0, 0, 0}, 6),
                    Troj({0, -1100, 0}, {10, -1100, 0}, {0, -1200, 0}, 7)};
    TnijWidok();
    ASSERT_EQ(IleTrojkatowPROJ(), 1);
    EXPECT_EQ(TrojkatyPROJ[0].Kolor, 5u);
}

TEST_F(Ciecie, CiecieWidokuBliskieIDalekie) {
    Rzut.OdlTnijYmin = -800.0f;
    Rzut.OdlTnijYmax = 2000.0f;
    TrojkatyTEREN = {Troj({0, -900, 0}, {10, -900, 0}, {0, -850, 0}, 1), Troj({0, 0, 0}, {10, 0, 0}, {0, 10, 0}, 2),
                     Troj({0, 2100, 0}, {10, 2100, 0}, {0, 2200, 0}, 3)};
    TrojkatyPROJ = {Troj({0, 1000, 0}, {100, 3000, 0}, {0, 1500, 0}, 4)};
    TnijWidok();
    ASSERT_EQ(IleTrojkatowTEREN(), 1);
    EXPECT_EQ(TrojkatyTEREN[0].Kolor, 2u);
    ASSERT_GE(IleTrojkatowPROJ(), 1);
    for (const auto& r : TrojkatyPROJ)
        for (const auto* p : {&r.P1, &r.P2, &r.P3}) EXPECT_LE(p->Y, 2000.0);
}

TEST_F(Ciecie, PowtorneCiecieNicNieZmienia) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> u(-100.0, 100.0);
    for (int i = 0; i < 2000; ++i)
        TrojkatyTEREN.push_back(Troj({u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)},
                                     static_cast<TKolor>(i)));
    for (int ymin = 0; ymin < 2; ++ymin) {
        auto tnij = [&] { ymin ? TnijYmin(TZbior::TEREN, 12.5) : TnijYmax(TZbior::TEREN, 12.5); };
        tnij();
        const auto raz = TrojkatyTEREN;
        tnij();
        ASSERT_EQ(TrojkatyTEREN.size(), raz.size());
        for (size_t i = 0; i < raz.size(); ++i) {
            EXPECT_EQ(TrojkatyTEREN[i].Kolor, raz[i].Kolor);
            ExpectPunkt(TrojkatyTEREN[i].P1, raz[i].P1.X, raz[i].P1.Y, raz[i].P1.Z, 1e-9);
            ExpectPunkt(TrojkatyTEREN[i].P2, raz[i].P2.X, raz[i].P2.Y, raz[i].P2.Z, 1e-9);
            ExpectPunkt(TrojkatyTEREN[i].P3, raz[i].P3.X, raz[i].P3.Y, raz[i].P3.Z, 1e-9);
        }
    }
}

TEST_F(Ciecie, GeometriaCiecia) {
    // A vertex within 0.001 in depth of the kept one is not moved.
    ExpectPunkt(PunktNaGlebokosci({1, 2, 3}, {9, 2.0005, 9}, 0.0), 1, 2, 3, 0.0);
    ExpectPunkt(PunktNaGlebokosci({0, 0, 0}, {10, 10, 20}, 2.5), 2.5, 2.5, 5.0);
    const auto r = Troj({1, 0, 0}, {2, 0, 0}, {3, 0, 0});
    const auto r1 = ObrocWierzcholki(r, 1);
    const auto r2 = ObrocWierzcholki(r, 2);
    EXPECT_EQ(r1.P1.X, 3);
    EXPECT_EQ(r1.P2.X, 1);
    EXPECT_EQ(r1.P3.X, 2);
    EXPECT_EQ(r2.P1.X, 2);
    EXPECT_EQ(r2.P2.X, 3);
    EXPECT_EQ(r2.P3.X, 1);
    EXPECT_EQ(r1.Kolor, r.Kolor);
    EXPECT_DOUBLE_EQ(PolePoziome(Troj({0, 0, 5}, {4, 0, -5}, {0, 3, 100})), 6.0);
}

TEST_F(Ciecie, WspolrzedneNieskonczoneINanNiePrzerywajaCiecia) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TrojkatyPROJ = {Troj({nan, 5, 0}, {1, nan, 0}, {0, 5, nan}), Troj({0, -inf, 0}, {1, 5, 0}, {0, 6, 0}),
                    Troj({inf, 5, 0}, {1, -5, 0}, {0, 6, 0}), Troj({0, inf, 0}, {1, 5, 0}, {0, 6, 0}, 9),
                    Troj({nan, nan, nan}, {nan, nan, nan}, {nan, nan, nan})};
    TnijYmin(TZbior::PROJ, 0.0);
    TnijYmax(TZbior::PROJ, 100.0);
    for (const auto& r : TrojkatyPROJ) EXPECT_FALSE(std::isnan(PolePoziome(r)) && r.Kolor == 9u);
    KorektaYmin();
    KorektaLOko();
    SUCCEED();
}

// ---- Depth sorts ----

namespace {

// The two-way bubble sort as the painter's order is defined: sweeps until no
// exchange, forward then backward over the neighbours, exchanging when the
// left key is smaller.
template <typename R, typename K>
void SortBabelkowy(std::vector<R>& t, K klucz) {
    const int n = static_cast<int>(t.size());
    bool zmiana = true;
    while (zmiana) {
        zmiana = false;
        for (int i = 1; i <= n - 1; ++i)
            if (klucz(t[i - 1]) < klucz(t[i])) {
                std::swap(t[i - 1], t[i]);
                zmiana = true;
            }
        for (int i = n - 1; i >= 1; --i)
            if (klucz(t[i - 1]) < klucz(t[i])) {
                std::swap(t[i - 1], t[i]);
                zmiana = true;
            }
    }
}

// Triangles whose depths and heights come from a few values, so that many keys are equal.
std::vector<TTrojkatRys> LosoweTrojkaty(std::mt19937& gen, int n) {
    std::uniform_int_distribution<int> d(0, 4);
    std::vector<TTrojkatRys> t;
    for (int i = 0; i < n; ++i) {
        auto y = [&] { return d(gen) * 10.0 - 20.0; };
        auto z = [&] { return d(gen) * 5.0; };
        t.push_back(Troj({double(i), y(), z()}, {i + 1.0, y(), z()}, {double(i), y(), z()}, static_cast<TKolor>(i)));
    }
    return t;
}

}  // namespace

TEST_F(Ciecie, SortowaniaDajaPorzadekSortowaniaBabelkowego) {
    std::mt19937 gen(11);
    for (int proba = 0; proba < 60; ++proba) {
        const int n = proba < 5 ? proba : 50 + proba * 17;
        const auto wejscie = LosoweTrojkaty(gen, n);

        // KorektaYmin on both sets, KorektaLOko on both sets.
        for (int rodzaj = 0; rodzaj < 2; ++rodzaj) {
            TrojkatyPROJ = wejscie;
            TrojkatyTEREN = wejscie;
            Rzut.OkoX = 479;
            Rzut.OkoY = -700;
            Rzut.OkoZ = 500;
            rodzaj == 0 ? KorektaYmin() : KorektaLOko();
            // The keys the sort wrote, carried back to the input order.
            auto wzor = wejscie;
            for (const auto& r : TrojkatyPROJ) wzor[r.Kolor] = r;
            if (rodzaj == 0)
                SortBabelkowy(wzor, [](const TTrojkatRys& r) { return r.KluczYmin; });
            else
                SortBabelkowy(wzor, [](const TTrojkatRys& r) { return r.KluczOko; });
            ASSERT_EQ(TrojkatyPROJ.size(), wzor.size());
            for (size_t i = 0; i < wzor.size(); ++i) {
                ASSERT_EQ(TrojkatyPROJ[i].Kolor, wzor[i].Kolor) << "n " << n << " i " << i;
                ASSERT_EQ(TrojkatyTEREN[i].Kolor, wzor[i].Kolor);
            }
        }

        // SortujCzworokaty.
        Czworokaty.clear();
        for (const auto& r : wejscie) {
            TCzworokatRys q;
            q.P1 = r.P1;
            q.P2 = r.P2;
            q.P3 = r.P3;
            q.P4 = {r.P1.X, r.P2.Y + 10.0 * (r.Kolor % 3), 0};
            q.Kolor = r.Kolor;
            Czworokaty.push_back(q);
        }
        auto wzorC = Czworokaty;
        SortujCzworokaty();
        for (const auto& q : Czworokaty) wzorC[q.Kolor].KluczYmin = q.KluczYmin;
        SortBabelkowy(wzorC, [](const TCzworokatRys& q) { return q.KluczYmin; });
        for (size_t i = 0; i < wzorC.size(); ++i) ASSERT_EQ(Czworokaty[i].Kolor, wzorC[i].Kolor);
    }
}

TEST_F(Ciecie, KluczeGlebokosci) {
    TrojkatyPROJ = {Troj({0, 10, 1}, {0, 20, 2}, {0, 40, 3})};
    KorektaYmin();
    // m = 10, 10 + 0.3 * (0 + 10 + 30) - 0.1 * 6
    EXPECT_FLOAT_EQ(TrojkatyPROJ[0].KluczYmin, 21.4f);

    Rzut.OkoX = 0;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 0;
    TrojkatyPROJ = {Troj({3, 0, 0}, {-3, 0, 0}, {0, 300, 0})};
    KorektaLOko();
    EXPECT_FLOAT_EQ(TrojkatyPROJ[0].KluczOko, 800.0f);

    Czworokaty.assign(1, TCzworokatRys{});
    Czworokaty[0].P1 = {0, 10, 100};
    Czworokaty[0].P2 = {0, 20, 100};
    Czworokaty[0].P3 = {0, 30, 100};
    Czworokaty[0].P4 = {0, 40, 100};
    SortujCzworokaty();
    EXPECT_FLOAT_EQ(Czworokaty[0].KluczYmin, 10.0f + 0.3f * 60.0f);
}

TEST_F(Ciecie, WyzszyZDwochTrojkatowNaTejSamejGlebokosciRysowanyPozniej) {
    const auto nizszy = Troj({0, 100, 0}, {10, 100, 0}, {0, 120, 0}, 1);
    const auto wyzszy = Troj({0, 100, 30}, {10, 100, 30}, {0, 120, 30}, 2);
    for (int kolejnosc = 0; kolejnosc < 2; ++kolejnosc) {
        TrojkatyTEREN = kolejnosc ? std::vector{wyzszy, nizszy} : std::vector{nizszy, wyzszy};
        KorektaYmin();
        EXPECT_EQ(TrojkatyTEREN[0].Kolor, 1u);
        EXPECT_EQ(TrojkatyTEREN[1].Kolor, 2u);
    }
}

TEST_F(Ciecie, KluczNanJestNajmniejszy) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<TTrojkatRys> t;
    for (int i = 0; i < 300; ++i) {
        const double y = (i % 3 == 0) ? nan : (i * 37 % 11) * 1.0;
        t.push_back(Troj({0, y, 0}, {1, y, 0}, {0, y, 0}, static_cast<TKolor>(i)));
    }
    t.push_back(Troj({0, -0.0, 0}, {1, -0.0, 0}, {0, -0.0, 0}, 1000));
    t.push_back(Troj({0, 0.0, 0}, {1, 0.0, 0}, {0, 0.0, 0}, 1001));
    TrojkatyPROJ = t;
    KorektaYmin();
    bool nanWidziany = false;
    for (size_t i = 0; i < TrojkatyPROJ.size(); ++i) {
        const float k = TrojkatyPROJ[i].KluczYmin;
        if (std::isnan(k)) {
            nanWidziany = true;
        } else {
            EXPECT_FALSE(nanWidziany) << "a number after a NaN key at " << i;
            if (i > 0 && !std::isnan(TrojkatyPROJ[i - 1].KluczYmin)) {
                EXPECT_GE(TrojkatyPROJ[i - 1].KluczYmin, k);
            }
        }
    }
    EXPECT_TRUE(nanWidziany);
    // -0 and +0 are one key: the two keep their order.
    int poz0 = -1, poz1 = -1;
    for (size_t i = 0; i < TrojkatyPROJ.size(); ++i) {
        if (TrojkatyPROJ[i].Kolor == 1000) poz0 = int(i);
        if (TrojkatyPROJ[i].Kolor == 1001) poz1 = int(i);
    }
    EXPECT_LT(poz0, poz1);
}

TEST_F(Ciecie, TablicaUporzadkowanaIJednoelementowaBezZmian) {
    TrojkatyPROJ = {Troj({0, 5, 0}, {1, 5, 0}, {0, 6, 0}, 1)};
    KorektaYmin();
    EXPECT_EQ(TrojkatyPROJ[0].Kolor, 1u);
    std::vector<TTrojkatRys> t;
    for (int i = 0; i < 100; ++i) t.push_back(Troj({0, 500.0 - i, 0}, {1, 500.0 - i, 0}, {0, 500.0 - i, 0}, i));
    TrojkatyTEREN = t;
    KorektaYmin();
    for (int i = 0; i < 100; ++i) EXPECT_EQ(TrojkatyTEREN[i].Kolor, TKolor(i));
}
