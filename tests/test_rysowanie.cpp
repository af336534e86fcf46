// Shading, projection and the frame of the redraw, checked through a canvas that records calls.

#include <iterator>

#include "pomocnicze/Pomocnicze.h"

namespace {

using V = std::vector<int>;
using S = std::vector<std::string>;

struct Wywolanie {
    std::string Rodzaj;
    TKolor Pedzel, Pioro;
    V Liczby;
    std::string Tekst;
};

// Records every drawing call with the brush and pen it was drawn with.
struct PlotnoZapis : TPlotno {
    std::vector<Wywolanie> w;
    TKolor pioro = 0, pedzel = 0;
    void Dodaj(const char* r, V l, std::string t = {}) { w.push_back({r, pedzel, pioro, std::move(l), std::move(t)}); }
    void UstawPioro(TKolor k) override { pioro = k; }
    void UstawPedzel(TKolor k) override { pedzel = k; }
    void Prostokat(int a, int b, int c, int d) override { Dodaj("prostokat", {a, b, c, d}); }
    void Wielokat(const TPunktEkranu* p, int n) override {
        for (Dodaj("wielokat", {}); n-- > 0; ++p) w.back().Liczby.insert(w.back().Liczby.end(), {p->X, p->Y});
    }
    void Linia(int a, int b, int c, int d) override { Dodaj("linia", {a, b, c, d}); }
    void Tekst(int x, int y, const std::string& t) override { Dodaj("tekst", {x, y}, t); }
    void RozciagnijObraz(int a, int b, int c, int d, const TObraz&) override { Dodaj("obraz", {a, b, c, d}); }
    S Rysunki() const {
        S r;
        for (const auto& z : w) r.push_back(z.Rodzaj);
        return r;
    }
    std::vector<Wywolanie> Tylko(const std::string& rodzaj) const {
        std::vector<Wywolanie> r;
        for (const auto& z : w)
            if (z.Rodzaj == rodzaj) r.push_back(z);
        return r;
    }
};

TKolor Szary(int v) { return static_cast<TKolor>(v | (v << 8) | (v << 16)); }
TTrojkatRys Troj(TPunkt3D a, TPunkt3D b, TPunkt3D c, TKolor k) { return {a, b, c, 0, 0, 0, k}; }
TCzworokatRys Czw(TPunkt3D a, TPunkt3D b, TPunkt3D c, TPunkt3D d, TKolor k) { return {a, b, c, d, 0, 0, k}; }

struct Rysowanie : ::testing::Test {
    void SetUp() override { ZerujStan(), Niebo = TObraz{}, UstawOkoOkna(958, 637); }  // the eye at (479, -700, 500)
};

}  // namespace

TEST_F(Rysowanie, Cieniowanie) {
    const TPunkt3D a{0, 0, 1}, o{0, 0, 0}, b{0, 1, 0};  // normal along -X, towards the start-up light
    const TPunkt3D s0 = Swiatlo;
    const int n0 = nat;
    const struct {
        int nat;
        TPunkt3D swiatlo;
        bool obrys;
        TTrojkatRys r;
        TKolor wyp;
        long long obr;
    } przypadki[] = {
        {n0, s0, true, Troj(a, o, b, Szary(128)), Szary(145), Szary(140)},
        {n0, s0, true, Troj({1, 0, 0}, o, b, 0x336699), 0x336699, -1},  // perpendicular to the light
        {2000000000, s0, true, Troj(b, o, a, Szary(128)), Szary(0), Szary(0)},
        {n0, {1e300, 1e300, 0}, true, Troj(a, o, b, Szary(128)), Szary(255), -1},  // an overflowing offset
        {n0, s0, false, Troj(a, o, b, Szary(128)), Szary(145), Szary(145)},
        {n0, s0, true, Troj(o, {1, 1, 1}, {2, 2, 2}, Szary(128)), Szary(128), Szary(123)},  // collinear
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(&p - przypadki);
        nat = p.nat, Swiatlo = p.swiatlo, RysObrys = p.obrys;
        TrojkatyTEREN = {p.r};
        PrzeliczRzut();
        EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, p.wyp);
        EXPECT_TRUE(p.obr < 0 || TrojkatyTEREN[0].KolorObrysu == TKolor(p.obr));
    }
    nat = n0, Swiatlo = s0, RysObrys = true;
}

TEST_F(Rysowanie, Rzutowanie) {
    // Column of (x, depth y) and row of (depth y, height z) in an area of height H; truncated towards zero.
    const struct {
        double okoX, okoZ, x, y, z;
        int H, kolumna, wiersz;
    } przypadki[] = {
        {479, 500, 123.9, 0, 100.2, 637, 123, 536}, {-40, 9000, 123.9, 0, 100.2, 637, 123, 536},  // depth 0
        {479, 500, 879, 700, 100, 637, 679, 337},   {479, 500, 79, 700, 100, 637, 279, 337},      // halved at 700
        {0, 0, -3.7, 0, 10.7, 7, -3, -3},           {0, 0, 3.7, 0, 3.3, 7, 3, 3}};
    for (const auto& p : przypadki) {
        Rzut.OkoX = p.okoX, Rzut.OkoZ = p.okoZ;
        EXPECT_EQ(EkranX(p.x, p.y), p.kolumna) << &p - przypadki;
        EXPECT_EQ(EkranY(p.y, p.z, p.H), p.wiersz) << &p - przypadki;
    }
    Rzut.OkoX = 479, Rzut.OkoZ = 500;
    EXPECT_EQ(EkranX(100, -700), 0);  // at the eye's depth: the eye's column, a bounded row
    EXPECT_LE(std::abs(EkranY(-700, 100, 637)), 2000000000);
    EXPECT_EQ(EkranX(879, -1400), 879);  // behind the eye as before it
    Rzut.OkoX = Rzut.OkoZ = 0;
    EXPECT_TRUE(EkranX(1e300, 0) > 1000000000 && EkranX(-1e300, 0) < -1000000000);  // huge values clamped
    EXPECT_GT(EkranY(-700 + 1e-12, -1e30, 637), 1000000000);
    EXPECT_EQ(EkranX(std::nan(""), 0), 0);
}

TEST_F(Rysowanie, KlatkaWarstwyTloIFlagi) {
    Niebo = {1, 1, {0xFFFFFFFFu}};
    Rzut.RysujParametryEkran = true;
    Czworokaty = {Czw({0, 0, 0}, {10, 0, 0}, {10, 0, 10}, {0, 0, 10}, 1)};
    TrojkatyTEREN = {Troj({0, 0, 0}, {10, 0, 0}, {0, 0, 10}, 2), Troj({0, 0, 0}, {20, 0, 0}, {0, 0, 10}, 3)};
    TrojkatyPROJ = {Troj({100, 0, 10}, {200, 0, 20}, {300, 0, 30}, 4)};
    PrzeliczRzut();
    OpisTekst = {"stara linia"};
    PlotnoZapis p;
    Przerysuj(p, 958, 637);
    const auto r = p.Rysunki();
    ASSERT_EQ(r.size(), 1u + 29u + 3u + 1u + 4u + 7u);
    // Frame, then walls and grid, the sky, the records in array order, the parameters.
    EXPECT_EQ(S(r.begin() + 30 + 3, r.end()), (S{"obraz", "wielokat", "wielokat", "wielokat", "wielokat", "tekst",
                                                 "tekst", "tekst", "tekst", "tekst", "tekst", "tekst"}));
    EXPECT_TRUE(p.w[0].Pedzel == clBtnFace && p.w[0].Liczby == (V{0, 0, 958, 637}));
    const auto w = p.Tylko("wielokat");
    EXPECT_EQ(w[3].Pedzel, Czworokaty[0].KolorCieniowany);
    const TTrojkatRys* t[] = {&TrojkatyTEREN[0], &TrojkatyTEREN[1], &TrojkatyPROJ[0]};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(w[4 + i].Pedzel == t[i]->KolorCieniowany && w[4 + i].Pioro == t[i]->KolorObrysu);
    EXPECT_EQ(w[6].Liczby, (V{100, 627, 200, 617, 300, 607}));
    EXPECT_EQ(p.Tylko("tekst")[0].Liczby, (V{200, 300}));
    EXPECT_TRUE(OpisTekst.empty());
    // The backdrop, eye (479, -700, 500), scale 700 / (700 + depth): cross lines at depths 0, 50 ... 450 over
    // the full width at height 0, then depth lines at x = 478.5 ... 928.5 and 428.5 ... 28.5 from depth 0
    // to 500, grey, none on the walls; the floor from the near edge to depth 500.
    const auto linie = p.Tylko("linia");
    EXPECT_EQ(linie[0].Liczby, (V{0, 637, 957, 637}));
    EXPECT_EQ(linie[1].Liczby, (V{31, 603, 925, 603}));
    EXPECT_EQ(linie[10].Liczby, (V{478, 637, 478, 428}));
    EXPECT_EQ(linie[28].Liczby, (V{28, 637, 216, 428}));
    for (const auto& l : linie) EXPECT_EQ(l.Pioro, 0xA0A0A0u);
    EXPECT_EQ(w[0].Liczby, (V{0, 637, 957, 637, 757, 428, 199, 428}));
    // The sky on the far wall at depth 500, over the floor's far edge.
    EXPECT_EQ(p.Tylko("obraz")[0].Liczby, (V{200, 57, 757, 428}));

    // Flags off skip their layers; the quadrilaterals have no flag. Both backdrop flags off: no backdrop.
    Rzut.RysujLinie = Rzut.RysujTEREN = Rzut.RysujPROJ = Rzut.RysujParametryEkran = false;
    for (bool niebo : {true, false}) {
        Rzut.RysujNiebo = niebo;
        PlotnoZapis q;
        Przerysuj(q, 958, 637);
        EXPECT_EQ(q.Rysunki(), (niebo ? S{"prostokat", "obraz", "wielokat"} : S{"prostokat", "wielokat"}));
    }
}
