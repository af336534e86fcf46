// View operations: direction of a vector, turns, move, zoom, and the placing
// of the scene at a route point.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"

namespace {

constexpr double kPi = std::numbers::pi;

TTrojkatRys Troj(TPunkt3D a, TPunkt3D b, TPunkt3D c, TKolor kolor = 0x808080) {
    TTrojkatRys r;
    r.P1 = a;
    r.P2 = b;
    r.P3 = c;
    r.Kolor = kolor;
    r.KluczYmin = 1.5f;
    return r;
}

TCzworokatRys Czw(TPunkt3D a, TPunkt3D b, TPunkt3D c, TPunkt3D d) {
    TCzworokatRys q;
    q.P1 = a;
    q.P2 = b;
    q.P3 = c;
    q.P4 = d;
    q.Kolor = 0x123456;
    return q;
}

void ExpectPunkt(const TPunkt3D& p, double x, double y, double z, double tol = 1e-9) {
    EXPECT_NEAR(p.X, x, tol);
    EXPECT_NEAR(p.Y, y, tol);
    EXPECT_NEAR(p.Z, z, tol);
}

double Odl(const TPunkt3D& a, const TPunkt3D& b) { return Dlugosc(a - b); }

class Widok : public ::testing::Test {
protected:
    void SetUp() override { ZerujStan(); }

    // One record in each of the three arrays.
    void Scena() {
        TrojkatyTEREN = {Troj({1, 2, 3}, {4, 5, 6}, {7, 8, 9})};
        TrojkatyPROJ = {Troj({-1, -2, -3}, {10, 20, 30}, {0, 0, 0})};
        Czworokaty = {Czw({100, 0, 0}, {0, 100, 0}, {0, 0, 100}, {50, 50, 50})};
    }
};

}  // namespace

TEST_F(Widok, KatKierunku) {
    const struct {
        double dx, dy, kat;
    } przyklady[] = {{-1, 0, kPi}, {0, 1, kPi / 2}, {0, -1, 3 * kPi / 2}, {1, -1, 7 * kPi / 4}, {-1, -1, 5 * kPi / 4},
                     {-1, 1, 3 * kPi / 4}, {1, 0, 0.0}, {1, 0.00005, std::atan(0.00005)},
                     // within 0.0001 of the -X, +Y, -Y axes the direction snaps; near +X it does not
                     {-1, 0.00005, kPi}, {-1, -0.00009, kPi}, {0.00009, 2, kPi / 2}, {-0.00009, -2, 3 * kPi / 2},
                     {0.00009, -0.00009, 0.0},
                     // the threshold is strict
                     {-1, 0.0001, std::atan(-0.0001) + kPi}, {0.0001, 0.0001, kPi / 4}};
    for (const auto& p : przyklady) EXPECT_DOUBLE_EQ(KatKierunku(p.dx, p.dy), p.kat) << p.dx << " " << p.dy;
}

TEST_F(Widok, CwiercObrotyISrodekObrotu) {
    ExpectPunkt(ObrocXY({1, 0, 7}, 0, 0, kPi / 2), 0, 1, 7, 1e-12);
    ExpectPunkt(ObrocXZ({1, 7, 0}, 0, 0, kPi / 2), 0, 7, 1, 1e-12);
    ExpectPunkt(ObrocYZ({7, 1, 0}, 0, 0, kPi / 2), 7, 0, 1, 1e-12);
    ExpectPunkt(ObrocXY({12, 5, 1}, 10, 5, kPi), 8, 5, 1, 1e-12);

    TPunkt3D p{1, 0, 3};
    for (int i = 0; i < 4; ++i) p = ObrocXY(p, 0, 0, kPi / 2);
    ExpectPunkt(p, 1, 0, 3, 1e-12);

    // The scene's turn the same way: four quarter turns bring it back.
    Scena();
    const auto zr = TrojkatyTEREN[0];
    Obroc(0, 0, 0, kPi / 2, 0, 0);
    ExpectPunkt(TrojkatyTEREN[0].P1, -2, 1, 3);
    for (int i = 0; i < 3; ++i) Obroc(0, 0, 0, kPi / 2, 0, 0);
    ExpectPunkt(TrojkatyTEREN[0].P3, zr.P3.X, zr.P3.Y, zr.P3.Z);
    EXPECT_DOUBLE_EQ(Rzut.ObrotX, 2 * kPi);

    // A point at the centre stays; one closer than 1e-9 in the plane lands on it.
    ExpectPunkt(ObrocXY({5, 6, 7}, 5, 6, 1.0), 5, 6, 7, 0.0);
    ExpectPunkt(ObrocXY({5 + 5e-10, 6, 7}, 5, 6, 1.0), 5, 6, 7, 0.0);
    ExpectPunkt(ObrocXZ({5 + 5e-10, 6, 7}, 5, 7, 1.0), 5, 6, 7, 0.0);
    ExpectPunkt(ObrocYZ({5, 6, 7 - 5e-10}, 6, 7, 1.0), 5, 6, 7, 0.0);
}

TEST_F(Widok, ObrotScenyZgodnyZeWzoremBiegunowym) {
    // The scene turns with rotation matrices; every vertex must land within
    // 1e-3 pixel of where the turn through polar coordinates puts it, also
    // for vertices that lie within 0.0001 of an axis through the centre.
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> u(-5000.0, 5000.0);
    std::uniform_real_distribution<double> maly(-0.0001, 0.0001);
    std::uniform_real_distribution<double> kat(-2 * kPi, 2 * kPi);
    const double cx = 479, cy = 0, cz = 0;
    std::vector<TPunkt3D> punkty;
    for (int i = 0; i < 3000; ++i) {
        TPunkt3D p{u(gen), u(gen), u(gen) * 0.1};
        if (i % 4 == 1) p.X = cx + maly(gen);
        if (i % 4 == 2) p.Y = cy + maly(gen);
        if (i % 4 == 3) p.Z = cz + maly(gen);
        if (i % 50 == 0) p = {cx + maly(gen), cy + maly(gen), cz + maly(gen)};
        punkty.push_back(p);
    }
    for (int proba = 0; proba < 20; ++proba) {
        const double k1 = kat(gen), k2 = proba % 3 ? kat(gen) : 0.0, k3 = proba % 2 ? kat(gen) : 0.0;
        TrojkatyPROJ.clear();
        Czworokaty.clear();
        for (size_t i = 0; i + 3 < punkty.size(); i += 4) {
            TrojkatyPROJ.push_back(Troj(punkty[i], punkty[i + 1], punkty[i + 2]));
            Czworokaty.push_back(Czw(punkty[i + 3], punkty[i], punkty[i + 1], punkty[i + 2]));
        }
        Obroc(cx, cy, cz, k1, k2, k3);
        double najwiecej = 0;
        for (size_t i = 0; i + 3 < punkty.size(); i += 4) {
            auto wzor = [&](TPunkt3D p) {
                p = ObrocXY(p, cx, cy, k1);
                if (std::fabs(k2) > 0.001) p = ObrocXZ(p, cx, cz, k2);
                if (std::fabs(k3) > 0.001) p = ObrocYZ(p, cy, cz, k3);
                return p;
            };
            const auto& r = TrojkatyPROJ[i / 4];
            const auto& q = Czworokaty[i / 4];
            najwiecej = std::max({najwiecej, Odl(r.P1, wzor(punkty[i])), Odl(r.P2, wzor(punkty[i + 1])),
                                  Odl(r.P3, wzor(punkty[i + 2])), Odl(q.P1, wzor(punkty[i + 3]))});
        }
        EXPECT_LT(najwiecej, 1e-3) << "angles " << k1 << " " << k2 << " " << k3;
    }
}

TEST_F(Widok, ObrotPomijaKatyDo0001IKolejnoscPlaszczyzn) {
    Scena();
    const auto t = TrojkatyTEREN;
    const auto p = TrojkatyPROJ;
    const auto c = Czworokaty;
    Obroc(479, 0, 0, 0.001, -0.001, 0.0005);
    ExpectPunkt(TrojkatyTEREN[0].P2, t[0].P2.X, t[0].P2.Y, t[0].P2.Z, 0.0);
    ExpectPunkt(Czworokaty[0].P4, c[0].P4.X, c[0].P4.Y, c[0].P4.Z, 0.0);
    EXPECT_EQ(Rzut.ObrotX, 0.0);
    EXPECT_EQ(Rzut.ObrotY, 0.0);
    EXPECT_EQ(Rzut.ObrotZ, 0.0);

    Obroc(0, 0, 0, 0.0011, 0, 0);
    EXPECT_DOUBLE_EQ(Rzut.ObrotX, 0.0011);
    ExpectPunkt(TrojkatyPROJ[0].P2, ObrocXY(p[0].P2, 0, 0, 0.0011).X, ObrocXY(p[0].P2, 0, 0, 0.0011).Y, 30, 1e-9);

    // XY first, then XZ, then YZ: the three turns do not commute.
    Scena();
    Rzut.ObrotX = Rzut.ObrotY = Rzut.ObrotZ = 0;
    Obroc(1, 2, 3, kPi / 2, kPi / 2, kPi / 2);
    TPunkt3D w = ObrocYZ(ObrocXZ(ObrocXY(c[0].P1, 1, 2, kPi / 2), 1, 3, kPi / 2), 2, 3, kPi / 2);
    ExpectPunkt(Czworokaty[0].P1, w.X, w.Y, w.Z, 1e-9);
    EXPECT_DOUBLE_EQ(Rzut.ObrotY, kPi / 2);
    EXPECT_DOUBLE_EQ(Rzut.ObrotZ, kPi / 2);
    EXPECT_EQ(TrojkatyTEREN[0].Kolor, 0x808080u);
    EXPECT_EQ(TrojkatyTEREN[0].KluczYmin, 1.5f);
}

TEST_F(Widok, PrzesuniecieISkalowanie) {
    Scena();
    Przesun(0, 0, 0);
    ExpectPunkt(TrojkatyTEREN[0].P1, 1, 2, 3, 0.0);
    EXPECT_EQ(Rzut.PrzesunX, 0.0);
    Przesun(10, -20, 5);
    Przesun(1, 1, 1);
    ExpectPunkt(TrojkatyTEREN[0].P1, 12, -17, 9, 0.0);
    ExpectPunkt(TrojkatyPROJ[0].P3, 11, -19, 6, 0.0);
    ExpectPunkt(Czworokaty[0].P4, 61, 31, 56, 0.0);
    EXPECT_EQ(Rzut.PrzesunX, 11.0);
    EXPECT_EQ(Rzut.PrzesunY, -19.0);
    EXPECT_EQ(Rzut.PrzesunZ, 6.0);
    EXPECT_EQ(TrojkatyTEREN[0].KluczYmin, 1.5f);

    Scena();
    const auto t = TrojkatyTEREN;
    const auto c = Czworokaty;
    Skaluj(479, 0, 0, 1.0);
    ExpectPunkt(TrojkatyTEREN[0].P3, 7, 8, 9, 0.0);
    Skaluj(10, 20, 30, 2.0);
    ExpectPunkt(TrojkatyTEREN[0].P1, -8, -16, -24, 0.0);
    ExpectPunkt(Czworokaty[0].P1, 190, -20, -30, 0.0);
    Skaluj(10, 20, 30, 0.5);
    // Zoom in and out with the dialog's factors restores the scene.
    for (int i = 0; i < 5; ++i) Skaluj(479, 0, 0, 1.1);
    for (int i = 0; i < 5; ++i) Skaluj(479, 0, 0, 0.9090909090909091);
    ExpectPunkt(TrojkatyTEREN[0].P2, t[0].P2.X, t[0].P2.Y, t[0].P2.Z, 1e-9);
    ExpectPunkt(Czworokaty[0].P3, c[0].P3.X, c[0].P3.Y, c[0].P3.Z, 1e-9);
    EXPECT_EQ(Rzut.skala, 12.0f);
    EXPECT_EQ(Rzut.PrzesunX, 11.0);  // zooming leaves the totals alone
}

TEST_F(Widok, UmieszczenieNaTrasie) {
    // The route point goes to (PolEkranX, 0); one unit further along the
    // tangent goes to (PolEkranX, skala), whatever the tangent's direction.
    for (double katT : {0.0, 0.7, kPi / 2, 2.5, kPi, 4.0, 5.9}) {
        ZerujStan(958, 637);
        Rzut.TrasaX = 120.5;
        Rzut.TrasaY = -40.25;
        Rzut.katT = katT;
        const TPunkt3D t{Rzut.TrasaX, Rzut.TrasaY, 2.0};
        const TPunkt3D dalej{t.X + std::cos(katT), t.Y + std::sin(katT), 2.0};
        const TPunkt3D lewo{t.X - std::sin(katT), t.Y + std::cos(katT), 2.0};
        // A triangle 200 units ahead lies beyond the far cut (2000 pixels) and goes.
        const TPunkt3D daleko{t.X + 200 * std::cos(katT), t.Y + 200 * std::sin(katT), 0};
        TrojkatyTEREN = {Troj(t, dalej, lewo, 0x808080), Troj(daleko, daleko + dalej - t, daleko + lewo - t)};
        Czworokaty = {Czw(t, dalej, lewo, t)};
        Rzut.PrzesunX = 5;
        Rzut.ObrotZ = 1;
        UmiescNaTrasie();
        const double s = Rzut.skala, x = Rzut.PolEkranX;
        ASSERT_EQ(IleTrojkatowTEREN(), 1) << katT;
        ExpectPunkt(TrojkatyTEREN[0].P1, x, 0, 2 * s, 1e-9);
        ExpectPunkt(TrojkatyTEREN[0].P2, x, s, 2 * s, 1e-9);
        // Left of the road stays left: towards negative X once the road runs into the picture.
        ExpectPunkt(TrojkatyTEREN[0].P3, x - s, 0, 2 * s, 1e-9);
        ExpectPunkt(Czworokaty[0].P2, x, s, 2 * s, 1e-9);
        EXPECT_EQ(Rzut.PrzesunX, 0.0);
        EXPECT_EQ(Rzut.PrzesunY, 0.0);
        EXPECT_EQ(Rzut.ObrotX, 0.0);
        EXPECT_EQ(Rzut.ObrotZ, 0.0);
        // Shaded after placing: a horizontal face under a horizontal light keeps its colour.
        EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, 0x808080u);
        EXPECT_EQ(TrojkatyTEREN[0].KolorObrysu, 0x7B7B7Bu);
    }
}
