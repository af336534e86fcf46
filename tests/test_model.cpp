// The scene model's operations and the sequence that ends every load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

TPunktSiatki Punkt(double x, double y, double z) {
    TPunktSiatki p;
    p.X = x;
    p.Y = y;
    p.Z = z;
    return p;
}

TTrojkat Trojkat(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3, double z3,
                 char kod = ' ') {
    TTrojkat t;
    t.X1 = x1; t.Y1 = y1; t.Z1 = z1;
    t.X2 = x2; t.Y2 = y2; t.Z2 = z2;
    t.X3 = x3; t.Y3 = y3; t.Z3 = z3;
    t.Nr1 = 1; t.Nr2 = 2; t.Nr3 = 3;
    t.Xs = (x1 + x2 + x3) / 3;
    t.Ys = (y1 + y2 + y3) / 3;
    t.Rodzaj.Kod = kod;
    return t;
}

TTrojkatRys Rys(double y2, int znak) {
    TTrojkatRys r;
    r.P2.Y = y2;
    r.Kolor = static_cast<TKolor>(znak);
    return r;
}

}  // namespace

TEST(Model, ZakresZbioru) {
    ZerujStan();
    TSiatka s;
    s.Zakres = {1, 2, 3, 4, 5, 6};
    ObliczZakres(s);  // no point: the range stays
    EXPECT_EQ(s.Zakres.Xmax, 1);
    EXPECT_EQ(s.Zakres.Zmin, 6);
    s.Punkty = {Punkt(10, 20, 30)};
    ObliczZakres(s);
    EXPECT_EQ(s.Zakres.Xmax, 10);
    EXPECT_EQ(s.Zakres.Xmin, 10);
    EXPECT_EQ(s.Zakres.Ymax, 20);
    EXPECT_EQ(s.Zakres.Ymin, 20);
    EXPECT_EQ(s.Zakres.Zmax, 30);
    EXPECT_EQ(s.Zakres.Zmin, 30);
    s.Punkty = {Punkt(5, -1, 7), Punkt(-3, 8, 2), Punkt(4, 0, 9)};
    ObliczZakres(s);
    EXPECT_EQ(s.Zakres.Xmax, 5);
    EXPECT_EQ(s.Zakres.Xmin, -3);
    EXPECT_EQ(s.Zakres.Ymax, 8);
    EXPECT_EQ(s.Zakres.Ymin, -1);
    EXPECT_EQ(s.Zakres.Zmax, 9);
    EXPECT_EQ(s.Zakres.Zmin, 2);
}

TEST(Model, OrientacjaTrojkatow) {
    ZerujStan();
    // Clockwise in plan: vertices 1 and 3 change places, the indices do not.
    TEREN.Trojkaty = {Trojkat(0, 0, 1, 0, 1, 2, 1, 0, 3)};
    // Counter-clockwise, and a degenerate one: untouched.
    PROJ.Trojkaty = {Trojkat(0, 0, 1, 1, 0, 2, 0, 1, 3), Trojkat(0, 0, 1, 1, 1, 2, 2, 2, 3)};
    OrientujTrojkaty();
    const TTrojkat& t = TEREN.Trojkaty[0];
    EXPECT_EQ(t.X1, 1);
    EXPECT_EQ(t.Y1, 0);
    EXPECT_EQ(t.Z1, 3);
    EXPECT_EQ(t.X3, 0);
    EXPECT_EQ(t.Y3, 0);
    EXPECT_EQ(t.Z3, 1);
    EXPECT_EQ(t.Nr1, 1);
    EXPECT_EQ(t.Nr3, 3);
    EXPECT_EQ(PROJ.Trojkaty[0].X1, 0);
    EXPECT_EQ(PROJ.Trojkaty[0].Z3, 3);
    EXPECT_EQ(PROJ.Trojkaty[1].X1, 0);
    EXPECT_EQ(PROJ.Trojkaty[1].X3, 2);
    // Afterwards every non-degenerate triangle turns counter-clockwise.
    for (const TTrojkat& r : TEREN.Trojkaty)
        EXPECT_LE((r.X1 - r.X2) * (r.Y3 - r.Y2) - (r.Y1 - r.Y2) * (r.X3 - r.X2), 0.0);
}

TEST(Model, PrzesunieciaSiatekITrasy) {
    ZerujStan();
    TEREN.Punkty = {Punkt(100, 200, 300)};
    PROJ.Trojkaty = {Trojkat(1, 2, 3, 4, 5, 6, 7, 8, 9)};
    PrzesunSiatki(1, 10, 100);
    const TTrojkat& t = PROJ.Trojkaty[0];
    EXPECT_EQ(t.X3, 8);
    EXPECT_EQ(t.Y1, 12);
    EXPECT_EQ(t.Z2, 106);
    EXPECT_DOUBLE_EQ(t.Xs, 5);  // the plan point travels with the vertices
    EXPECT_DOUBLE_EQ(t.Ys, 15);
    EXPECT_EQ(TEREN.Punkty[0].X, 100);  // points stay

    Trasa.Zalomy.resize(2);
    Trasa.Zalomy[1].X = 5;
    PrzesunTrase(-5, -7);
    EXPECT_EQ(Trasa.Zalomy[0].Y, -7);
    EXPECT_EQ(Trasa.Zalomy[1].X, 0);
    EXPECT_EQ(Trasa.Dx, 5);
    EXPECT_EQ(Trasa.Dy, 7);
}

TEST(Model, KoloryRodzajow) {
    EXPECT_EQ(KolorRodzaju(TEREN, 'G'), 0x969696u);  // the same letter differs between the sets
    EXPECT_EQ(KolorRodzaju(PROJ, 'G'), 0x323296u);
    EXPECT_EQ(KolorRodzaju(PROJ, 'O'), KolorRodzaju(TEREN, 'O'));
    for (char k : {' ', 'D', 'S', 'P', 'h'}) {
        EXPECT_EQ(KolorRodzaju(TEREN, k), 0x969696u) << k;
        EXPECT_EQ(KolorRodzaju(PROJ, k), 0x969696u) << k;
    }
}

TEST(Model, TrojkatyDoRysowania) {
    ZerujStan();
    PROJ.Trojkaty = {Trojkat(1, 2, 3, 4, 5, 6, 7, 8, 9, 'G'), Trojkat(0, 0, 0, 1, 0, 0, 0, 1, 0)};
    TrojkatyPROJ.assign(5, TTrojkatRys{});
    TrojkatyTEREN.assign(3, TTrojkatRys{});
    PrzygotujTrojkaty(PROJ);
    ASSERT_EQ(IleTrojkatowPROJ(), 2);
    EXPECT_EQ(IleTrojkatowTEREN(), 3);  // the other set's array is not touched
    const TTrojkatRys& r = TrojkatyPROJ[0];
    EXPECT_EQ(r.P1.X, 1);
    EXPECT_EQ(r.P1.Y, 2);
    EXPECT_EQ(r.P1.Z, 3);
    EXPECT_EQ(r.P3.Z, 9);
    EXPECT_EQ(r.Kolor, 0x323296u);
    EXPECT_EQ(r.KolorObrysu, 0x808080u);
    EXPECT_EQ(r.KolorCieniowany, 0x808080u);
    EXPECT_EQ(TrojkatyPROJ[1].Kolor, 0x969696u);
    SkalujTrojkaty(TrojkatyPROJ, 4.0);
    EXPECT_EQ(TrojkatyPROJ[0].P2.X, 16);
    EXPECT_EQ(TrojkatyPROJ[0].P3.Y, 32);
    EXPECT_EQ(TrojkatyPROJ[0].Kolor, 0x323296u);
}

TEST(Model, SortowanieStabilneOdNajdalszych) {
    std::vector<TTrojkatRys> t = {Rys(1, 0), Rys(5, 1), Rys(1, 2), Rys(3, 3), Rys(5, 4), Rys(-2, 5)};
    SortujTrojkaty(t);
    std::vector<int> kolejnosc;
    for (const auto& r : t) kolejnosc.push_back(static_cast<int>(r.Kolor));
    EXPECT_EQ(kolejnosc, (std::vector<int>{1, 4, 3, 0, 2, 5}));

    // Many equal keys: the same order as a stable sort of the records.
    std::vector<TTrojkatRys> duze;
    std::uint32_t s = 12345;
    for (int i = 0; i < 20000; ++i) {
        s = s * 134775813u + 1;
        duze.push_back(Rys(static_cast<double>(s >> 24) * 0.5, i));
    }
    std::vector<TTrojkatRys> wzor = duze;
    std::stable_sort(wzor.begin(), wzor.end(), [](const auto& a, const auto& b) { return a.P2.Y > b.P2.Y; });
    SortujTrojkaty(duze);
    for (std::size_t i = 0; i < duze.size(); ++i) ASSERT_EQ(duze[i].Kolor, wzor[i].Kolor) << i;
}

TEST(Model, ZakonczenieWczytywania) {
    ZerujStan();
    TEREN.Punkty = {Punkt(1000, 2000, 100), Punkt(1010, 2000, 104), Punkt(1000, 2010, 102)};
    // Clockwise in the file; at depth 2000 and 2010.
    TEREN.Trojkaty = {Trojkat(1000, 2000, 100, 1000, 2010, 102, 1010, 2000, 104, 'H')};
    PROJ.Punkty = {Punkt(1002, 2001, 101), Punkt(1003, 2004, 105)};
    PROJ.Trojkaty = {Trojkat(1002, 2001, 101, 1003, 2001, 101, 1002, 2002, 101, 'N'),
                     Trojkat(1002, 2003, 101, 1003, 2003, 101, 1002, 2004, 101, 'N')};
    Trasa.Zalomy.resize(2);
    Trasa.Zalomy[0].X = 1001;
    Trasa.Zalomy[0].Y = 2002;
    Trasa.Zalomy[1].X = 1009;
    Trasa.Zalomy[1].Y = 2008;
    Czworokaty.assign(2, TCzworokatRys{});
    Czworokaty[0].P1.X = 77;

    ZakonczWczytywanie();

    // Ranges in file coordinates.
    EXPECT_EQ(TEREN.Zakres.Xmin, 1000);
    EXPECT_EQ(TEREN.Zakres.Zmax, 104);
    EXPECT_EQ(PROJ.Zakres.Ymax, 2004);
    EXPECT_EQ(PROJ.Zakres.Zmin, 101);
    EXPECT_EQ(TEREN.Punkty[1].X, 1010);
    // Route shifted by TEREN's lower corner.
    EXPECT_EQ(Trasa.Zalomy[0].X, 1);
    EXPECT_EQ(Trasa.Zalomy[1].Y, 8);
    EXPECT_EQ(Trasa.Dx, 1000);
    EXPECT_EQ(Trasa.Dy, 2000);
    EXPECT_EQ(Trasa.Xmin, 1);  // the route build takes the range again after the shift
    EXPECT_EQ(Trasa.Ymax, 8);
    // Mesh triangles in local coordinates, turned counter-clockwise.
    const TTrojkat& t = TEREN.Trojkaty[0];
    EXPECT_EQ(t.X1, 10);
    EXPECT_EQ(t.Y1, 0);
    EXPECT_EQ(t.Z1, 4);
    EXPECT_EQ(t.Z3, 0);
    EXPECT_EQ(PROJ.Trojkaty[0].Z1, 1);
    // Render arrays: local times 4, farthest (largest P2.Y) first, coloured by kind.
    ASSERT_EQ(IleTrojkatowTEREN(), 1);
    ASSERT_EQ(IleTrojkatowPROJ(), 2);
    EXPECT_EQ(TrojkatyTEREN[0].P1.X, 40);
    EXPECT_EQ(TrojkatyTEREN[0].P1.Z, 16);
    EXPECT_EQ(TrojkatyPROJ[0].P2.Y, 12);
    EXPECT_EQ(TrojkatyPROJ[1].P2.Y, 4);
    EXPECT_EQ(TrojkatyPROJ[0].Kolor, 0xC89696u);
    EXPECT_EQ(TrojkatyTEREN[0].Kolor, 0x96C896u);
    EXPECT_NE(TrojkatyTEREN[0].KolorCieniowany, 0x808080u);  // shading recomputed
    // The quads are not touched by a load.
    ASSERT_EQ(IleCzworokatow(), 2);
    EXPECT_EQ(Czworokaty[0].P1.X, 77);

    // Run again without a new file: the meshes move once more, the points do not,
    // so the shift is the same and the kept triangles travel by it again.
    ZakonczWczytywanie();
    EXPECT_EQ(TEREN.Trojkaty[0].X1, 10 - 1000);
    EXPECT_EQ(PROJ.Trojkaty[0].Z1, 1 - 100);
}

TEST(Model, ZbiorBezPunktowZachowujeZakres) {
    ZerujStan();
    PROJ.Trojkaty = {Trojkat(5, 5, 5, 6, 5, 5, 5, 6, 5)};
    ZakonczWczytywanie();
    // No TEREN points: its range is still zero, so nothing is shifted.
    EXPECT_EQ(TEREN.Zakres.Xmin, 0);
    EXPECT_EQ(PROJ.Trojkaty[0].X1, 5);
    EXPECT_EQ(TrojkatyPROJ[0].P1.X, 20);
}
