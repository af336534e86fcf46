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
    ExpectPunkt(TrojkatyPROJ[0].P1, -10, 10, 0);
    ExpectPunkt(TrojkatyPROJ[0].P2, -5, 0, 0);
    ExpectPunkt(TrojkatyPROJ[0].P3, 5, 0, 0);
    ExpectPunkt(TrojkatyPROJ[1].P2, 5, 0, 0);
    ExpectPunkt(TrojkatyPROJ[1].P3, 10, 10, 0);
    EXPECT_DOUBLE_EQ(PolePoziome(TrojkatyPROJ[0]), 50.0);
    EXPECT_DOUBLE_EQ(PolePoziome(TrojkatyPROJ[1]), 100.0);
}

TEST_F(Ciecie, LiczbaWierzcholkowWewnatrzDecydujeOLosieTrojkata) {
    const auto k3 = Troj({0, 5, 0}, {0.1, 5, 0}, {0, 5.1, 0}, 1);  // whole, area 0.005
    const auto k0 = Troj({0, -5, 0}, {10, -5, 0}, {0, -15, 0}, 2);
    const auto k1 = Troj({0, -10, 1}, {10, -10, 1}, {0, 10, 3}, 3);
    const auto k2 = Troj({0, 10, 0}, {10, 10, 0}, {0, -10, 0}, 4);
    const auto naC = Troj({0, 0, 0}, {10, 0, 0}, {0, 0, 10}, 5);           // all three at the depth
    const auto drobny = Troj({0, 0.01, 0}, {10, 0.01, 0}, {0, -10, 0}, 6);  // pieces of 0.1 or less
    TrojkatyTEREN = {k3, k0, k1, naC, drobny, k2};
    TrojkatyPROJ = {k0};
    TnijYmin(TZbior::TEREN, 0.0);
    ASSERT_EQ(IleTrojkatowTEREN(), 4);
    EXPECT_EQ(IleTrojkatowPROJ(), 1);  // the other set is left alone
    EXPECT_EQ(TrojkatyTEREN[0].Kolor, 1u);
    EXPECT_EQ(TrojkatyTEREN[0].P2.X, 0.1);
    // k = 1: the inside vertex stays in its place, the others move onto the depth.
    ExpectPunkt(TrojkatyTEREN[1].P1, 0, 0, 2);
    ExpectPunkt(TrojkatyTEREN[1].P2, 5, 0, 2);
    ExpectPunkt(TrojkatyTEREN[1].P3, 0, 10, 3);
    EXPECT_EQ(TrojkatyTEREN[2].Kolor, 4u);
    EXPECT_EQ(TrojkatyTEREN[3].Kolor, 4u);
    EXPECT_NEAR(PolePoziome(TrojkatyTEREN[2]) + PolePoziome(TrojkatyTEREN[3]), 75.0, 1e-9);

    // The mirror cut keeps the rest; without TnijTroj crossing triangles go.
    TrojkatyTEREN = {k3, k0, k1, naC, k2};
    TnijYmax(TZbior::TEREN, 0.0);
    EXPECT_EQ(IleTrojkatowTEREN(), 1 + 2 + 1);  // k0 whole, k1 in two pieces, k2 in one
    Rzut.TnijTroj = false;
    TrojkatyTEREN = {k3, k0, k1, naC, k2};
    TnijYmin(TZbior::TEREN, 0.0);
    ASSERT_EQ(IleTrojkatowTEREN(), 1);
    EXPECT_EQ(TrojkatyTEREN[0].Kolor, 1u);
    // And the view's cut is then only the near one at -1000, however far the rest lies.
    TrojkatyPROJ = {Troj({0, 1e6, 0}, {10, 1e6, 0}, {0, 2e6, 0}, 7), Troj({0, -2000, 0}, {10, -900, 0}, {0, 0, 0}, 8)};
    TnijWidok();
    ASSERT_EQ(IleTrojkatowPROJ(), 1);
    EXPECT_EQ(TrojkatyPROJ[0].Kolor, 7u);
}

TEST_F(Ciecie, KawalkiPokrywajaCzescWewnetrznaIZachowujaObiegIDane) {
    // Random triangles cut at random depths, both ways: the pieces of each
    // source cover the part of it inside the depth (up to dropped slivers),
    // run the same way round, and carry its colours and keys.
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-50.0, 50.0);
    for (int proba = 0; proba < 400; ++proba) {
        const bool ymin = proba % 2 == 0;
        const double c = u(gen) * 0.5;
        auto zr = Troj({u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)}, proba);
        TrojkatyPROJ = {zr};
        ymin ? TnijYmin(TZbior::PROJ, c) : TnijYmax(TZbior::PROJ, c);

        // The inside part by clipping the outline, and its area.
        auto wew = [&](const TPunkt3D& p) { return ymin ? p.Y > c : p.Y < c; };
        const TPunkt3D w[3] = {zr.P1, zr.P2, zr.P3};
        std::vector<TPunkt3D> wyn;
        for (int i = 0; i < 3; ++i) {
            const auto &a = w[i], &b = w[(i + 1) % 3];
            if (wew(a)) wyn.push_back(a);
            if (wew(a) != wew(b)) wyn.push_back(a + (b - a) * ((c - a.Y) / (b.Y - a.Y)));
        }
        double pole = 0;
        for (size_t i = 0; i < wyn.size(); ++i)
            pole += wyn[i].X * wyn[(i + 1) % wyn.size()].Y - wyn[(i + 1) % wyn.size()].X * wyn[i].Y;

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
        }
        EXPECT_NEAR(suma, std::fabs(pole) * 0.5, 0.2 + 1e-9 * std::fabs(pole)) << "proba " << proba;
    }
    // A vertex within 0.001 in depth of the kept one is not moved.
    ExpectPunkt(PunktNaGlebokosci({1, 2, 3}, {9, 2.0005, 9}, 0.0), 1, 2, 3, 0.0);
}

TEST_F(Ciecie, PowtorneCiecieNicNieZmienia) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> u(-100.0, 100.0);
    for (int i = 0; i < 2000; ++i)
        TrojkatyTEREN.push_back(Troj({u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)}, i));
    for (int ymin = 0; ymin < 2; ++ymin) {
        auto tnij = [&] { ymin ? TnijYmin(TZbior::TEREN, 12.5) : TnijYmax(TZbior::TEREN, 12.5); };
        tnij();
        const auto raz = TrojkatyTEREN;
        tnij();
        ASSERT_EQ(TrojkatyTEREN.size(), raz.size());
        for (size_t i = 0; i < raz.size(); ++i) {
            EXPECT_EQ(TrojkatyTEREN[i].Kolor, raz[i].Kolor);
            ExpectPunkt(TrojkatyTEREN[i].P1, raz[i].P1.X, raz[i].P1.Y, raz[i].P1.Z, 1e-9);
            ExpectPunkt(TrojkatyTEREN[i].P3, raz[i].P3.X, raz[i].P3.Y, raz[i].P3.Z, 1e-9);
        }
    }
}

TEST_F(Ciecie, NanINieskonczonosciNiePrzerywajaCieciaISortowania) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TrojkatyPROJ = {Troj({nan, 5, 0}, {1, nan, 0}, {0, 5, nan}), Troj({0, -inf, 0}, {1, 5, 0}, {0, 6, 0}),
                    Troj({inf, 5, 0}, {1, -5, 0}, {0, 6, 0}), Troj({0, inf, 0}, {1, 5, 0}, {0, 6, 0}),
                    Troj({nan, nan, nan}, {nan, nan, nan}, {nan, nan, nan})};
    TnijYmin(TZbior::PROJ, 0.0);
    TnijYmax(TZbior::PROJ, 100.0);
    KorektaLOko();

    // A NaN key counts as the smallest: such records go last, the rest stay ordered.
    std::vector<TTrojkatRys> t;
    for (int i = 0; i < 300; ++i) {
        const double y = (i % 3 == 0) ? nan : (i * 37 % 11) * 1.0;
        t.push_back(Troj({0, y, 0}, {1, y, 0}, {0, y, 0}, i));
    }
    t.push_back(Troj({0, -0.0, 0}, {1, -0.0, 0}, {0, -0.0, 0}, 1000));
    t.push_back(Troj({0, 0.0, 0}, {1, 0.0, 0}, {0, 0.0, 0}, 1001));
    TrojkatyPROJ = t;
    KorektaYmin();
    const auto& w = TrojkatyPROJ;
    for (size_t i = 1; i < w.size(); ++i) {
        if (std::isnan(w[i - 1].KluczYmin)) {
            EXPECT_TRUE(std::isnan(w[i].KluczYmin)) << i;
        } else if (!std::isnan(w[i].KluczYmin)) {
            EXPECT_GE(w[i - 1].KluczYmin, w[i].KluczYmin) << i;
        }
    }
    EXPECT_TRUE(std::isnan(w.back().KluczYmin));
    // -0 and +0 are one key: the two keep their order.
    auto poz = [&](TKolor k) { return std::find_if(w.begin(), w.end(), [&](auto& r) { return r.Kolor == k; }); };
    EXPECT_LT(poz(1000), poz(1001));
}

// ---- Depth sorts ----

namespace {

// The two-way bubble sort that defines the painter's order: sweeps until no
// exchange, forward then backward over the neighbours, exchanging when the
// left key is smaller.
template <typename R, typename K>
void SortBabelkowy(std::vector<R>& t, K klucz) {
    const int n = static_cast<int>(t.size());
    for (bool zmiana = true; zmiana;) {
        zmiana = false;
        for (int i = 1; i <= n - 1; ++i)
            if (klucz(t[i - 1]) < klucz(t[i])) std::swap(t[i - 1], t[i]), zmiana = true;
        for (int i = n - 1; i >= 1; --i)
            if (klucz(t[i - 1]) < klucz(t[i])) std::swap(t[i - 1], t[i]), zmiana = true;
    }
}

}  // namespace

TEST_F(Ciecie, SortowaniaDajaPorzadekSortowaniaBabelkowego) {
    // Depths and heights from a few values, so that many keys are equal.
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> d(0, 4);
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    for (int proba = 0; proba < 60; ++proba) {
        const int n = proba < 5 ? proba : 50 + proba * 17;
        std::vector<TTrojkatRys> wejscie;
        for (int i = 0; i < n; ++i) {
            auto y = [&] { return d(gen) * 10.0 - 20.0; };
            auto z = [&] { return d(gen) * 5.0; };
            wejscie.push_back(Troj({double(i % 7), y(), z()}, {i % 7 + 1.0, y(), z()}, {double(i % 7), y(), z()}, i));
        }
        for (int rodzaj = 0; rodzaj < 3; ++rodzaj) {
            TrojkatyPROJ = TrojkatyTEREN = wejscie;
            Czworokaty.clear();
            for (const auto& r : wejscie) {
                TCzworokatRys q;
                q.P1 = r.P1, q.P2 = r.P2, q.P3 = r.P3, q.P4 = {0, r.P2.Y + 10.0 * (r.Kolor % 3), 0};
                q.Kolor = r.Kolor;
                Czworokaty.push_back(q);
            }
            auto wzorC = Czworokaty;
            auto wzor = wejscie;
            if (rodzaj == 0) KorektaYmin();
            if (rodzaj == 1) KorektaLOko();
            if (rodzaj == 2) SortujCzworokaty();
            // The keys the sort wrote, carried back to the input order, then bubble sorted.
            for (const auto& r : TrojkatyPROJ) wzor[r.Kolor] = r;
            for (const auto& q : Czworokaty) wzorC[q.Kolor] = q;
            if (rodzaj == 0) SortBabelkowy(wzor, [](auto& r) { return r.KluczYmin; });
            if (rodzaj == 1) SortBabelkowy(wzor, [](auto& r) { return r.KluczOko; });
            if (rodzaj == 2) SortBabelkowy(wzorC, [](auto& q) { return q.KluczYmin; });
            for (int i = 0; i < n; ++i) {
                ASSERT_EQ(TrojkatyPROJ[i].Kolor, wzor[i].Kolor) << "n " << n << " i " << i;
                ASSERT_EQ(TrojkatyTEREN[i].Kolor, wzor[i].Kolor);
                ASSERT_EQ(Czworokaty[i].Kolor, wzorC[i].Kolor);
            }
        }
    }
}

TEST_F(Ciecie, KluczeIWyzszyTrojkatRysowanyPozniej) {
    TrojkatyPROJ = {Troj({0, 10, 1}, {0, 20, 2}, {0, 40, 3})};
    KorektaYmin();
    EXPECT_FLOAT_EQ(TrojkatyPROJ[0].KluczYmin, 10 + 0.3f * 40 - 0.1f * 6);
    Rzut.OkoX = Rzut.OkoZ = 0;
    Rzut.OkoY = -700;
    KorektaLOko();
    EXPECT_FLOAT_EQ(TrojkatyPROJ[0].KluczOko, std::sqrt(0.0 + 723.3333333 * 723.3333333 + 4.0));

    const auto nizszy = Troj({0, 100, 0}, {10, 100, 0}, {0, 120, 0}, 1);
    const auto wyzszy = Troj({0, 100, 30}, {10, 100, 30}, {0, 120, 30}, 2);
    for (int kolejnosc = 0; kolejnosc < 2; ++kolejnosc) {
        TrojkatyTEREN = kolejnosc ? std::vector{wyzszy, nizszy} : std::vector{nizszy, wyzszy};
        KorektaYmin();
        EXPECT_EQ(TrojkatyTEREN[0].Kolor, 1u);
        EXPECT_EQ(TrojkatyTEREN[1].Kolor, 2u);
    }
}
