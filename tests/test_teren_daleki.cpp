// The coarse far terrain of the driver's view: the grid against closed-form
// ground, and the driver's pictures with it against those without it.

#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "scena/TerenDaleki.h"
#include "scena/WidokKierowcy.h"

namespace {

// Pixels that differ in rows [od, do_) of two W-wide frames.
std::size_t Rozne(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int W, int od, int do_) {
    std::size_t n = 0;
    for (std::size_t i = static_cast<std::size_t>(od) * W; i < static_cast<std::size_t>(do_) * W; ++i)
        n += a[i] != b[i];
    return n;
}

// How the picture with the coarse far ground (`u`) stands against the full one (`p`) and the one with no ground
// beyond the far ground's depth (`b`): the pixels where the full picture shows far ground (p != b), those where
// the two differ, those of them where the full picture shows none (the coarse ground drawn where no far ground
// was seen), and the far ground's pixels the coarse ground leaves out (u == b: holes).
struct TPorownanie {
    std::size_t Daleki = 0, Rozne = 0, PozaDalekim = 0, Dziury = 0;
};
TPorownanie Porownaj(const std::vector<std::uint32_t>& p, const std::vector<std::uint32_t>& u,
                     const std::vector<std::uint32_t>& b) {
    TPorownanie w;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const bool daleki = p[i] != b[i];
        w.Daleki += daleki;
        w.Rozne += p[i] != u[i];
        w.PozaDalekim += !daleki && p[i] != u[i];
        w.Dziury += daleki && u[i] == b[i];
    }
    return w;
}

bool WDziurze(double x, double y) { return x > 60 && x < 90 && y > 40 && y < 70; }

}  // namespace

TEST(TerenDaleki, SiatkaNaPlaszczyznieZDziuraIRodzajami) {
    // Ground: the plane z = 5 + 0.3 x - 0.2 y over 200 x 120 m in 2 m cells, with a square hole (no triangles),
    // the west half of kind 'L', the east 'G'. The design surface: a strip 20 m wide at y 90..110 lying 2 m below
    // the ground (a cutting). The grid's step is 5 m (twice the mean edge is under it); every node lies on the
    // plane, or 1 m under the strip's surface where the strip is; no node stands inside the hole; a triangle wholly
    // within one half has that half's kind.
    auto z = [](double x, double y) { return 5 + 0.3 * x - 0.2 * y; };
    std::vector<TTrojkatRogi> t;
    for (TTrojkatRogi r : Siatka(0, 200, 0, 120, 2, z)) {
        const double cx = (r.X1 + r.X2 + r.X3) / 3, cy = (r.Y1 + r.Y2 + r.Y3) / 3;
        if (WDziurze(cx, cy)) continue;
        r.Rodzaj.Kod = cx < 100 ? 'L' : 'G';
        t.push_back(r);
    }
    const TSiatka teren = SiatkaZ(t);
    const TSiatka proj = SiatkaZ(Siatka(0, 200, 90, 110, 4, [&z](double x, double y) { return z(x, y) - 2.0; }));
    const TIndeksWysokosci ixT = ZbudujIndeksWysokosci(teren), ixP = ZbudujIndeksWysokosci(proj);
    const std::shared_ptr<const TTerenDaleki> d = ZbudujTerenDaleki(teren, ixT, ixP);
    EXPECT_DOUBLE_EQ(d->Krok, 5.0);
    const TSiatka& s = d->Siatka;
    // 41 x 25 nodes, less those strictly inside the hole (x 65..85, y 45..65: 5 x 5).
    EXPECT_EQ(s.Wierzcholki.size(), 41u * 25u - 25u);
    for (const TPunkt3D& p : s.Wierzcholki) {
        EXPECT_FALSE(WDziurze(p.X, p.Y)) << p.X << " " << p.Y;
        const double oczekiwana = (p.Y >= 90 && p.Y <= 110) ? z(p.X, p.Y) - 3.0 : z(p.X, p.Y);
        EXPECT_NEAR(p.Z, oczekiwana, 1e-9) << p.X << " " << p.Y;
    }
    // Cells: 40 x 24 of two triangles; of the 6 x 6 cells touching the hole's inner nodes, the 4 at its corners
    // (three nodes with heights) one, the others none.
    EXPECT_EQ(s.Trojkaty.size(), 2u * (40u * 24u - 36u) + 4u);
    int zRodzajem = 0;
    for (std::size_t i = 0; i < s.Trojkaty.size(); ++i) {
        const TTrojkatRogi r = Rogi(s, i);
        const double x0 = std::min({r.X1, r.X2, r.X3}), x1 = std::max({r.X1, r.X2, r.X3});
        if (x1 < 100) {
            EXPECT_EQ(r.Rodzaj.Kod, 'L');
            ++zRodzajem;
        }
        if (x0 > 100) {
            EXPECT_EQ(r.Rodzaj.Kod, 'G');
            ++zRodzajem;
        }
    }
    EXPECT_GT(zRodzajem, 1500);
}

TEST(TerenDaleki, KrokZKrawedziIGranicyWezlow) {
    // 4 m cells (mean edge (4 + 4 + 4 sqrt 2) / 3): the step is twice it. Two triangles over 100 km square: 5 m
    // would make 4e8 nodes; the step grows until at most 1e6 (so above 100 m), and not past 1.25 times that.
    const TSiatka a = SiatkaZ(Siatka(0, 400, 0, 400, 4, [](double, double) { return 0.0; }));
    EXPECT_NEAR(KrokTerenuDalekiego(a), 2 * (8 + 4 * std::sqrt(2.0)) / 3, 1e-9);
    std::vector<TTrojkatRogi> rogi = Siatka(0, 10, 0, 10, 1, [](double, double) { return 0.0; });
    for (const TTrojkatRogi& r : Siatka(99990, 1e5, 99990, 1e5, 1, [](double, double) { return 0.0; }))
        rogi.push_back(r);
    const TSiatka b = SiatkaZ(rogi);
    const double k = KrokTerenuDalekiego(b);
    EXPECT_LE((1e5 / k + 1) * (1e5 / k + 1), NajwiecejWezlowTerenuDalekiego);
    EXPECT_GT((1e5 / (k / 1.25) + 1) * (1e5 / (k / 1.25) + 1), NajwiecejWezlowTerenuDalekiego);
    // No triangle: no grid.
    const TSiatka pusta;
    EXPECT_TRUE(
        ZbudujTerenDaleki(pusta, ZbudujIndeksWysokosci(pusta), ZbudujIndeksWysokosci(pusta))->Siatka.Trojkaty.empty());
}

TEST(TerenDaleki, DrogaBliskoBezZmianCaloscBlisko) {
    // The sample road driven both ways, every 100 m, without posts (the view cut at 300 m would drop some):
    // with the coarse far ground the lower 40 % of the picture (the ground within about 60 m of the eye, the
    // horizon at 45 %) is the same to the pixel. What differs lies where the full picture shows ground beyond
    // 300 m: outside it at most 0.5 % of a picture (the far ground's edges: a crest's line between nodes 5 m
    // apart, the overlap at the seam) and under a tenth of the far ground's pixels over the drive. The coarse
    // ground leaves under a fifth of those pixels showing what lies behind (a crest sampled lower than the
    // mesh's, the sky over it); a missing far ground would leave all. The far ground comes from fewer records.
    constexpr int W = 640, H = 400;
    ZerujStan(W, H);
    UstawOkoOkna(W, H);
    WczytajPlik(std::string(ORVANY_ZRODLA) + "/Przyklady/Droga.tro");
    ASSERT_TRUE(Trasa.Obliczona);
    WidokKierowcy = TWidokKierowcy{};
    WidokKierowcy.Wlaczony = true;
    WidokKierowcy.SlupkiKierowcy = false;
    UstawOkoKierowcy(H);
    std::size_t rekordyPelne = 0, rekordyUproszczone = 0, klatek = 0;
    TPorownanie suma;
    for (bool wPrzod : {true, false}) {
        WidokKierowcy.Oko.WPrzod = wPrzod;
        for (double s = 0; s <= Trasa.PikMax; s += 100) {
            SCOPED_TRACE(std::to_string(s) + (wPrzod ? " +" : " -"));
            std::vector<std::uint32_t> obrazy[3];
            for (int u = 0; u < 3; ++u) {
                // 0: the full mesh, 1: the coarse far ground, 2: nothing beyond 300 m.
                WidokKierowcy.UproszczonyTeren = u == 1;
                WidokKierowcy.Zasieg = u == 2 ? OdlegloscTerenuDalekiego : 1000.0;
                ASSERT_EQ(UstawWidokNaPikiecie(s, true, TKadr{W, H}), TUstawienie::Kierowca);
                if (u < 2) (u ? rekordyUproszczone : rekordyPelne) += TrojkatyTEREN.size();
                obrazy[u] = KlatkaJednymPasem(W, H);
            }
            EXPECT_EQ(Rozne(obrazy[0], obrazy[1], W, H * 6 / 10, H), 0u);
            const TPorownanie p = Porownaj(obrazy[0], obrazy[1], obrazy[2]);
            EXPECT_LE(p.PozaDalekim, static_cast<std::size_t>(W * H / 200));
            suma.Daleki += p.Daleki, suma.Rozne += p.Rozne, suma.PozaDalekim += p.PozaDalekim, suma.Dziury += p.Dziury;
            ++klatek;
        }
    }
    WidokKierowcy.Zasieg = 1000.0;
    EXPECT_GT(klatek, 10u);
    EXPECT_GT(suma.Daleki, static_cast<std::size_t>(W * H / 4));
    EXPECT_LT(suma.PozaDalekim * 10, suma.Daleki);
    EXPECT_LT(suma.Dziury * 5, suma.Daleki);
    EXPECT_LT(rekordyUproszczone * 2, rekordyPelne);
    std::printf("rekordów TEREN: %zu pełny, %zu uproszczony; daleki %zu rozne %zu poza %zu dziury %zu\n", rekordyPelne,
                rekordyUproszczone, suma.Daleki, suma.Rozne, suma.PozaDalekim, suma.Dziury);
    // Off again: the picture is the full mesh's once more (the grid kept, not drawn).
    WidokKierowcy.UproszczonyTeren = false;
    ASSERT_EQ(UstawWidokNaPikiecie(500, true, TKadr{W, H}), TUstawienie::Kierowca);
    const std::vector<std::uint32_t> a = KlatkaJednymPasem(W, H);
    ZapomnijTerenWykopu();
    ASSERT_EQ(UstawWidokNaPikiecie(500, true, TKadr{W, H}), TUstawienie::Kierowca);
    EXPECT_TRUE(a == KlatkaJednymPasem(W, H));
}

TEST(TerenDaleki, DuzyTerenDuzoMniejRekordow) {
    // Rolling ground of 1 m cells over 1600 x 300 m (960,000 triangles) seen from its west end looking east,
    // level, with the eye 25 m above it (the ground beyond 300 m in some rows under the horizon; from a driver's
    // 1.5 m, one): beyond 300 m the coarse ground replaces the mesh. The lower 30 % of the picture (the ground
    // within about 150 m) is unchanged, what differs lies where the far ground is seen, as on the sample road,
    // and the TEREN records are under a third (the ground is 300 m wide: the near part keeps many).
    ZerujStan();
    auto z = [](double x, double y) { return 4 * std::sin(x / 90) + 3 * std::cos(y / 50) + 0.004 * x; };
    TEREN = SiatkaZ(Siatka(0, 1600, 0, 300, 1, z));
    const TIndeksWysokosci ixT = ZbudujIndeksWysokosci(TEREN), ixP = ZbudujIndeksWysokosci(PROJ);
    const std::shared_ptr<const TTerenDaleki> d = ZbudujTerenDaleki(TEREN, ixT, ixP);
    EXPECT_DOUBLE_EQ(d->Krok, 5.0);
    constexpr int W = 480, H = 300;
    Rzut.OkoX = W / 2.0, Rzut.OkoY = -260.0, Rzut.OkoZ = 0.55 * H;
    const TTerenDalekiOka daleki{&d->Siatka, OdlegloscTerenuDalekiego, d->Krok};
    for (double y : {80.0, 150.0, 220.0}) {
        SCOPED_TRACE(y);
        const TPunkt3D oko{20, y, z(20, y) + 25};
        std::vector<std::uint32_t> obrazy[3];
        std::size_t rekordy[2] = {};
        for (int u = 0; u < 3; ++u) {
            // 0: the full mesh, 1: the coarse far ground, 2: nothing beyond 300 m.
            UmiescWOku(oko, 0.05, 0.0, 0.3, u == 2 ? OdlegloscTerenuDalekiego : 1000.0, {}, TKadr{W, H}, 0.0,
                       u == 1 ? daleki : TTerenDalekiOka{});
            if (u < 2) rekordy[u] = TrojkatyTEREN.size();
            obrazy[u] = KlatkaJednymPasem(W, H);
        }
        EXPECT_EQ(Rozne(obrazy[0], obrazy[1], W, H * 7 / 10, H), 0u);
        const TPorownanie p = Porownaj(obrazy[0], obrazy[1], obrazy[2]);
        EXPECT_GT(p.Daleki, static_cast<std::size_t>(W * 4));
        EXPECT_LE(p.PozaDalekim, static_cast<std::size_t>(W * H / 200));
        EXPECT_LE(p.Dziury * 5, p.Daleki);
        EXPECT_LT(rekordy[1] * 3, rekordy[0]);
        std::printf("rekordów TEREN: %zu pełny, %zu uproszczony; daleki %zu rozne %zu poza %zu dziury %zu\n",
                    rekordy[0], rekordy[1], p.Daleki, p.Rozne, p.PozaDalekim, p.Dziury);
    }
}
