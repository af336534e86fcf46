// The scene model's operations and the sequence that ends every load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <tuple>
#include <vector>

#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

TPunktSiatki Punkt(double x, double y, double z) {
    TPunktSiatki p;
    p.X = x, p.Y = y, p.Z = z;
    return p;
}

// A triangle of vertices 1, 2, 3 with its plan point at the centre.
TTrojkat Trojkat(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3, double z3,
                 char kod) {
    TTrojkat t;
    t.X1 = x1, t.Y1 = y1, t.Z1 = z1, t.X2 = x2, t.Y2 = y2, t.Z2 = z2, t.X3 = x3, t.Y3 = y3, t.Z3 = z3;
    t.Nr1 = 1, t.Nr2 = 2, t.Nr3 = 3, t.Xs = (x1 + x2 + x3) / 3, t.Ys = (y1 + y2 + y3) / 3, t.Rodzaj.Kod = kod;
    return t;
}

}  // namespace

TEST(Model, ZakonczenieWczytywania) {
    ZerujStan();
    TEREN.Punkty = {Punkt(1000, 2000, 100), Punkt(1010, 2000, 104), Punkt(1000, 2010, 102)};
    TEREN.Trojkaty = {Trojkat(1000, 2000, 100, 1000, 2010, 102, 1010, 2000, 104, 'H')};  // clockwise
    PROJ.Punkty = {Punkt(1002, 2001, 101), Punkt(1003, 2004, 105)};
    PROJ.Trojkaty = {Trojkat(1002, 2001, 101, 1003, 2001, 101, 1002, 2002, 101, 'N'),
                     Trojkat(1002, 2003, 101, 1003, 2003, 101, 1002, 2004, 101, 'N')};
    Trasa.Zalomy.resize(2);
    Trasa.Zalomy[0].X = 1001, Trasa.Zalomy[0].Y = 2002, Trasa.Zalomy[1].X = 1009, Trasa.Zalomy[1].Y = 2008;
    Czworokaty.assign(2, TCzworokatRys{});
    Czworokaty[0].P1.X = 77;
    ZakonczWczytywanie();
    // Ranges and points stay in file coordinates.
    EXPECT_EQ(std::tuple(TEREN.Zakres.Xmin, TEREN.Zakres.Zmax, PROJ.Zakres.Ymax, PROJ.Zakres.Zmin, TEREN.Punkty[1].X),
              std::tuple(1000, 104, 2004, 101, 1010));
    // The route moves by TEREN's lower corner, and its range is taken after the move.
    EXPECT_EQ(std::tuple(Trasa.Zalomy[0].X, Trasa.Zalomy[1].Y, Trasa.Dx, Trasa.Dy, Trasa.Xmin, Trasa.Ymax),
              std::tuple(1, 8, 1000, 2000, 1, 8));
    // Mesh triangles in local coordinates (plan point too), turned counter-clockwise, indices kept.
    const TTrojkat& t = TEREN.Trojkaty[0];
    EXPECT_EQ(std::tuple(t.X1, t.Y1, t.Z1, t.Z3, t.Nr1, t.Nr3, PROJ.Trojkaty[0].Z1), std::tuple(10, 0, 4, 0, 1, 3, 1));
    EXPECT_NEAR(t.Xs, 10.0 / 3, 1e-9);
    // Render arrays: local times 4, farthest (largest P2.Y) first, coloured by kind and shaded.
    ASSERT_EQ(std::tuple(IleTrojkatowTEREN(), IleTrojkatowPROJ()), std::tuple(1, 2));
    EXPECT_EQ(std::tuple(TrojkatyTEREN[0].P1.X, TrojkatyTEREN[0].P1.Z, TrojkatyPROJ[0].P2.Y, TrojkatyPROJ[1].P2.Y),
              std::tuple(40, 16, 12, 4));
    EXPECT_EQ(std::tuple(TrojkatyPROJ[0].Kolor, TrojkatyTEREN[0].Kolor), std::tuple(0xC89696u, 0x96C896u));
    EXPECT_NE(TrojkatyTEREN[0].KolorCieniowany, 0x808080u);
    EXPECT_EQ(std::tuple(IleCzworokatow(), Czworokaty[0].P1.X), std::tuple(2, 77.0));  // quads untouched

    // Run again without a new file: the points do not move, so the kept triangles move by the same shift again.
    ZakonczWczytywanie();
    EXPECT_EQ(std::tuple(TEREN.Trojkaty[0].X1, PROJ.Trojkaty[0].Z1), std::tuple(10 - 1000, 1 - 100));
    // Without TEREN points nothing is shifted.
    ZerujStan();
    PROJ.Trojkaty = {Trojkat(5, 5, 5, 6, 5, 5, 5, 6, 5, ' ')};
    ZakonczWczytywanie();
    EXPECT_EQ(std::tuple(PROJ.Trojkaty[0].X1, TrojkatyPROJ[0].P1.X), std::tuple(5, 20));
}

TEST(Model, SortowanieStabilneOdNajdalszych) {
    // The order of the records (numbered by Kolor) after sorting by P2.Y.
    auto kolejnosc = [](const std::vector<double>& y) {
        std::vector<TTrojkatRys> t(y.size());
        for (std::size_t i = 0; i < y.size(); ++i) t[i].P2.Y = y[i], t[i].Kolor = static_cast<TKolor>(i);
        SortujTrojkaty(t);
        std::vector<TKolor> k;
        for (const auto& r : t) k.push_back(r.Kolor);
        return k;
    };
    EXPECT_EQ(kolejnosc({1, 5, 1, 3, 5, -2}), (std::vector<TKolor>{1, 4, 3, 0, 2, 5}));
    // Many equal keys: the order of a stable sort.
    std::vector<double> y;
    for (std::uint32_t i = 0, s = 12345; i < 5000; ++i) y.push_back(((s = s * 134775813u + 1) >> 24) * 0.5);
    std::vector<TKolor> wzor(y.size());
    std::iota(wzor.begin(), wzor.end(), 0u);
    std::stable_sort(wzor.begin(), wzor.end(), [&](TKolor a, TKolor b) { return y[a] > y[b]; });
    EXPECT_EQ(kolejnosc(y), wzor);
}

TEST(Model, KoloryRodzajow) {
    // The same letter G differs between the sets; O does not.
    EXPECT_EQ(std::tuple(KolorRodzaju(TEREN, 'G'), KolorRodzaju(PROJ, 'G')), std::tuple(0x969696u, 0x323296u));
    EXPECT_EQ(KolorRodzaju(PROJ, 'O'), KolorRodzaju(TEREN, 'O'));
    for (char k : {' ', 'D', 'h'}) EXPECT_EQ(std::tuple(KolorRodzaju(TEREN, k), KolorRodzaju(PROJ, k)), std::tuple(0x969696u, 0x969696u)) << k;
}
