// Cutting of the triangle arrays at a depth and the far-to-near depth sorts.

#include <limits>
#include <random>

#include "pomocnicze/Pomocnicze.h"

namespace {

TTrojkatRys Troj(TPunkt3D a, TPunkt3D b, TPunkt3D c, TKolor k = 0x102030) {
    return {a, b, c, 0, 0, k ^ 0xFFFFFF, k, 0x0A0B0C};
}

double PoleZeZnakiem(const TTrojkatRys& r) {
    return (r.P2.X - r.P1.X) * (r.P3.Y - r.P1.Y) - (r.P3.X - r.P1.X) * (r.P2.Y - r.P1.Y);
}

void ExpectTroj(const TTrojkatRys& r, TPunkt3D a, TPunkt3D b, TPunkt3D c) {
    EXPECT_LE(Dlugosc(r.P1 - a) + Dlugosc(r.P2 - b) + Dlugosc(r.P3 - c), 1e-12);
}

struct Ciecie : ::testing::Test {
    void SetUp() override { ZerujStan(); }
};

// The two-way bubble sort that defines the painter's order: forward then
// backward sweeps until no exchange, exchanging when the left key is smaller.
template <typename R, typename K>
void SortBabelkowy(std::vector<R>& t, K klucz) {
    for (bool zmiana = true; zmiana;) {
        zmiana = false;
        for (int i = 1; i < int(t.size()); ++i)
            if (klucz(t[i - 1]) < klucz(t[i])) std::swap(t[i - 1], t[i]), zmiana = true;
        for (int i = int(t.size()) - 1; i >= 1; --i)
            if (klucz(t[i - 1]) < klucz(t[i])) std::swap(t[i - 1], t[i]), zmiana = true;
    }
}

}  // namespace

TEST_F(Ciecie, PrzykladIWierzcholkiWewnatrz) {
    TrojkatyPROJ = {Troj({0, -10, 0}, {10, 10, 0}, {-10, 10, 0})};
    TnijYmin(TZbior::PROJ, 0.0);
    ASSERT_EQ(IleTrojkatowPROJ(), 2);
    ExpectTroj(TrojkatyPROJ[0], {-10, 10, 0}, {-5, 0, 0}, {5, 0, 0});
    EXPECT_EQ(std::pair(PolePoziome(TrojkatyPROJ[0]), PolePoziome(TrojkatyPROJ[1])), std::pair(50.0, 100.0));

    // By the number of vertices beyond the depth: whole, dropped, one or two pieces; pieces of 0.1 or less go,
    // small whole triangles stay. Without TnijTroj every crossing triangle goes.
    const struct {
        TTrojkatRys r;
        int ile, ileBezCiecia;
        double pole;
    } przypadki[] = {{Troj({0, 5, 0}, {0.1, 5, 0}, {0, 5.1, 0}), 1, 1, 0.005},
                     {Troj({0, -5, 0}, {10, -5, 0}, {0, -15, 0}), 0, 0, 0},
                     {Troj({0, -10, 1}, {10, -10, 1}, {0, 10, 3}), 1, 0, 25},
                     {Troj({0, 10, 0}, {10, 10, 0}, {0, -10, 0}), 2, 0, 75},
                     {Troj({0, 0, 0}, {10, 0, 0}, {0, 0, 10}), 0, 0, 0},
                     {Troj({0, 0.01, 0}, {10, 0.01, 0}, {0, -10, 0}), 0, 0, 0}};
    for (bool tnijTroj : {true, false})
        for (const auto& p : przypadki) {
            Rzut.TnijTroj = tnijTroj;
            TrojkatyTEREN = {p.r};
            TnijYmin(TZbior::TEREN, 0.0);
            ASSERT_EQ(IleTrojkatowTEREN(), tnijTroj ? p.ile : p.ileBezCiecia) << &p - przypadki;
            double pole = 0;
            for (const auto& r : TrojkatyTEREN) pole += PolePoziome(r);
            EXPECT_NEAR(pole, tnijTroj || p.ileBezCiecia ? p.pole : 0.0, 1e-9);
        }
    Rzut.TnijTroj = true;
    TrojkatyTEREN = {przypadki[2].r};  // the inside vertex stays, the others move onto the depth
    TnijYmin(TZbior::TEREN, 0.0);
    ExpectTroj(TrojkatyTEREN[0], {0, 0, 2}, {5, 0, 2}, {0, 10, 3});
    // A vertex beyond the depth but within 0.001 of the kept vertex's depth is not moved: the first piece
    // keeps it, the second takes the point on the depth of the long edge.
    TrojkatyTEREN = {Troj({0, 0.0004, 0}, {1000, -0.0005, 0}, {1000, 100, 0})};
    TnijYmin(TZbior::TEREN, 0.0);
    ASSERT_EQ(IleTrojkatowTEREN(), 2);
    ExpectTroj(TrojkatyTEREN[0], {0, 0.0004, 0}, {1000, -0.0005, 0}, {1000, 0, 0});
    ExpectTroj(TrojkatyTEREN[1], {0, 0.0004, 0}, {1000, 0, 0}, {1000, 100, 0});
}

TEST_F(Ciecie, KawalkiZachowujaObiegIKoloryADrugieCiecieNicNieZmienia) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-50.0, 50.0);
    for (int i = 0; i < 300; ++i)
        TrojkatyTEREN.push_back(Troj({u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)}, {u(gen), u(gen), u(gen)}, i));
    const auto zrodla = TrojkatyTEREN;
    for (int ymin = 0; ymin < 2; ++ymin) {
        TrojkatyTEREN = zrodla;
        auto tnij = [&] { ymin ? TnijYmin(TZbior::TEREN, 12.5) : TnijYmax(TZbior::TEREN, 12.5); };
        tnij();
        const auto raz = TrojkatyTEREN;
        for (const auto& r : raz) {
            const auto& z = zrodla[r.Kolor];
            EXPECT_GT(PolePoziome(r), 0.1);
            EXPECT_GE(PoleZeZnakiem(r) * PoleZeZnakiem(z), 0.0);
            EXPECT_TRUE(r.KolorObrysu == z.KolorObrysu && r.KolorCieniowany == z.KolorCieniowany);
        }
        tnij();
        ASSERT_EQ(TrojkatyTEREN.size(), raz.size());
        for (size_t i = 0; i < raz.size(); ++i) EXPECT_LE(Dlugosc(TrojkatyTEREN[i].P3 - raz[i].P3), 1e-9);
    }
    // Not-a-number and infinite vertices neither stop the cuts nor the sorts.
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    TrojkatyPROJ = {Troj({nan, 5, 0}, {1, nan, 0}, {0, 5, nan}), Troj({0, -inf, 0}, {1, 5, 0}, {0, 6, 0}),
                    Troj({inf, 5, 0}, {1, -5, 0}, {0, 6, 0}), Troj({0, inf, 0}, {1, 5, 0}, {0, 6, 0})};
    TnijYmin(TZbior::PROJ, 0.0);
    TnijYmax(TZbior::PROJ, 100.0);
    KorektaYmin();
    KorektaLOko();
}

TEST_F(Ciecie, SortowaniaJakBabelkoweIWyzszyPozniej) {
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> d(0, 4);  // few values: many equal keys
    for (int n : {0, 1, 2, 3, 57, 200}) {
        std::vector<TTrojkatRys> wejscie;
        for (int i = 0; i < n; ++i) {
            auto y = [&] { return d(gen) * 10.0 - 20.0; };
            auto z = [&] { return d(gen) * 5.0; };
            wejscie.push_back(Troj({double(i % 7), y(), z()}, {i % 7 + 1.0, y(), z()}, {double(i % 7), y(), z()}, i));
        }
        Czworokaty.resize(n);
        for (int i = 0; i < n; ++i)
            Czworokaty[i] = {
                wejscie[i].P1, wejscie[i].P2, wejscie[i].P3, {0, wejscie[i].P2.Y + 10.0 * (i % 3), 0}, 0.0f, 0,
                TKolor(i)};
        // The keys each sort wrote, carried back to the input order, then bubble sorted.
        auto porownaj = [n](const auto& posortowane, auto wzor, auto klucz) {
            for (const auto& r : posortowane) wzor[r.Kolor] = r;
            SortBabelkowy(wzor, klucz);
            for (int i = 0; i < n; ++i) ASSERT_EQ(posortowane[i].Kolor, wzor[i].Kolor) << "n " << n << " i " << i;
        };
        const auto wejscieC = Czworokaty;
        TrojkatyPROJ = TrojkatyTEREN = wejscie;
        KorektaYmin();
        porownaj(TrojkatyPROJ, wejscie, [](auto& r) { return r.KluczYmin; });
        porownaj(TrojkatyTEREN, wejscie, [](auto& r) { return r.KluczYmin; });
        TrojkatyPROJ = wejscie;
        KorektaLOko();
        porownaj(TrojkatyPROJ, wejscie, [](auto& r) { return r.KluczOko; });
        SortujCzworokaty();
        porownaj(Czworokaty, wejscieC, [](auto& q) { return q.KluczYmin; });
    }
    const auto nizszy = Troj({0, 100, 0}, {10, 100, 0}, {0, 120, 0}, 1);
    const auto wyzszy = Troj({0, 100, 30}, {10, 100, 30}, {0, 120, 30}, 2);
    for (const auto& t : {std::vector{wyzszy, nizszy}, std::vector{nizszy, wyzszy}}) {
        TrojkatyTEREN = t;
        KorektaYmin();
        EXPECT_EQ(std::pair(TrojkatyTEREN[0].Kolor, TrojkatyTEREN[1].Kolor), std::pair(1u, 2u));
    }
}
