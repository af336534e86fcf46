// View operations: direction of a vector, turns, zoom, the scene at a route point and in the general view.

#include "pomocnicze/Pomocnicze.h"

namespace {

constexpr double kPi = Pi;

TTrojkatRys Troj(TPunkt3D a, TPunkt3D b, TPunkt3D c) { return {a, b, c, 0, 0, 0, 0x808080}; }
double Odl(const TPunkt3D& a, const TPunkt3D& b) { return Dlugosc(a - b); }

struct Widok : ::testing::Test {
    void SetUp() override {
        ZerujStan();
        TrojkatyTEREN = {Troj({1, 2, 3}, {4, 5, 6}, {7, 8, 9})};
        Czworokaty = {{{100, 0, 0}, {0, 100, 0}, {0, 0, 100}, {50, 50, 50}}};
    }
};

}  // namespace

TEST_F(Widok, KatKierunku) {
    // (dx, dy, angle) triples: snapping within 0.0001, strict; the angle in [0, 2 pi).
    const double d = 1.5 * kPi, e = 1.75 * kPi, a = std::atan(0.00005), b = kPi - std::atan(0.0001);
    const double p[] = {-1, 0,  kPi,     0,   -1,       d,  1, -1, e,      1, 0.00005,
                        a,  -1, 0.00005, kPi, -0.00009, -2, d, -1, 0.0001, b};
    for (int i = 0; i < 21; i += 3) EXPECT_DOUBLE_EQ(KatKierunku(p[i], p[i + 1]), p[i + 2]) << p[i] << " " << p[i + 1];
}

TEST_F(Widok, ObrotySkalowanieIProgKata) {
    EXPECT_LT(Odl(ObrocXY({1, 0, 7}, 0, 0, kPi / 2), {0, 1, 7}) + Odl(ObrocXZ({1, 7, 0}, 0, 0, kPi / 2), {0, 7, 1}) +
                  Odl(ObrocYZ({7, 1, 0}, 0, 0, kPi / 2), {7, 0, 1}) + Odl(ObrocXY({12, 5, 1}, 10, 5, kPi), {8, 5, 1}),
              1e-12);
    const auto t = TrojkatyTEREN[0];
    Obroc(0, 0, 0, kPi / 2, 0, 0);
    EXPECT_LT(Odl(TrojkatyTEREN[0].P1, {-2, 1, 3}), 1e-9);
    for (int i = 0; i < 3; ++i) Obroc(0, 0, 0, kPi / 2, 0, 0);
    EXPECT_LT(Odl(TrojkatyTEREN[0].P3, t.P3), 1e-9);
    EXPECT_DOUBLE_EQ(Rzut.ObrotX, 2 * kPi);
    // Turns of 0.001 or less are skipped, larger ones counted.
    Rzut.ObrotX = 0;
    const TTrojkatRys przed = TrojkatyTEREN[0];
    Obroc(479, 0, 0, 0.001, -0.001, 0.0005);
    EXPECT_TRUE(TrojkatyTEREN[0] == przed && Rzut.ObrotX + Rzut.ObrotY + Rzut.ObrotZ == 0.0);
    Obroc(0, 0, 0, 0.0011, 0, 0);
    EXPECT_DOUBLE_EQ(Rzut.ObrotX, 0.0011);
    EXPECT_FALSE(TrojkatyTEREN[0] == przed);
    // Zoom in and out with the dialog's factors restores the scene.
    const auto q = Czworokaty[0];
    for (int i = 0; i < 5; ++i) Skaluj(479, 0, 0, 1.1);
    EXPECT_LT(Odl(Czworokaty[0].P3, {479 - 479 * std::pow(1.1, 5), 0, 100 * std::pow(1.1, 5)}), 1e-9);
    for (int i = 0; i < 5; ++i) Skaluj(479, 0, 0, 0.9090909090909091);
    EXPECT_LT(Odl(Czworokaty[0].P3, q.P3), 1e-9);
    // The three turns in their order, about a centre: (1, 2, 3) - XZ -> (-3, 2, 1) - YZ -> (-3, -1, 2).
    TrojkatyPROJ = {Troj({11, 22, 33}, {}, {})};
    Obroc(10, 20, 30, 0, kPi / 2, kPi / 2);
    EXPECT_LT(Odl(TrojkatyPROJ[0].P1, {7, 19, 32}), 1e-9);
}

TEST_F(Widok, UmieszczenieNaTrasieIWidokOgolny) {
    // The route point goes to (PolEkranX, 0), one unit ahead to (PolEkranX, skala), left stays left.
    for (double katT : {0.0, 0.7, kPi / 2, 2.5, kPi, 5.9}) {
        ZerujStan();
        Rzut.TrasaX = 120.5, Rzut.TrasaY = -40.25, Rzut.katT = katT, Rzut.PrzesunX = 5, Rzut.ObrotZ = 1;
        const TPunkt3D t{120.5, -40.25, 2.0}, dalej{std::cos(katT), std::sin(katT), 0}, lewo{-dalej.Y, dalej.X, 0};
        TrojkatyTEREN = {Troj(t, t + dalej, t + lewo), Troj(t + dalej * 200, t + dalej * 201, t + dalej * 200 + lewo)};
        UmiescNaTrasie();
        const double s = Rzut.skala, x = Rzut.PolEkranX;
        ASSERT_EQ(IleTrojkatowTEREN(), 1) << katT;  // the far cut drops the one 200 units ahead
        const TTrojkatRys& r = TrojkatyTEREN[0];
        EXPECT_LT(Odl(r.P1, {x, 0, 2 * s}) + Odl(r.P2, {x, s, 2 * s}) + Odl(r.P3, {x - s, 0, 2 * s}), 1e-9);
        EXPECT_EQ(Rzut.PrzesunX + Rzut.ObrotZ, 0.0);
        EXPECT_EQ(r.KolorCieniowany, 0x808080u);  // shaded: horizontal keeps its colour
    }
    // Without mesh triangles neither view changes anything.
    Rzut.PrzesunX = 3;
    EXPECT_FALSE(UmiescWPunkcieTrasy() || WidokOgolny());
    EXPECT_EQ(std::pair(IleTrojkatowTEREN(), Rzut.PrzesunX), std::pair(1, 3.0));
    UstawTrojkaty(TEREN, {Trojkat({10, 500, 0}, {11, 500, 0}, {10, 501, 0})});
    ASSERT_TRUE(WidokOgolny());  // the meshes at 4 pixels a unit
    EXPECT_EQ(TrojkatyTEREN[0].P1.Y, 2000.0);
}
