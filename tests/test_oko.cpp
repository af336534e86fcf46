// The driver's eye on a straight climbing at 5 % and an arc on a tilted plane, both sides, both directions.
#include "analiza/OkoKierowcy.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

constexpr double pi = Pi;

double RoznicaKatow(double a, double b) { return std::remainder(a - b, 2 * pi); }

struct TOczekiwane {
    double s, przesuniecie, wysokosc;
    bool wPrzod;
    double X, Y, Z, kierunek, pochylenie;
};

void Sprawdz(const TOczekiwane& o) {
    SCOPED_TRACE(::testing::Message() << "s = " << o.s << ", O = " << o.przesuniecie << ", w przód " << o.wPrzod);
    const TPolozenieOka p = PolozenieOka(Trasa, o.s, {o.wysokosc, o.przesuniecie, o.wPrzod},
                                         IndeksyWysokosci(ProjektOkna));
    ASSERT_TRUE(p.Jest);
    EXPECT_NEAR(std::hypot(p.Oko.X - o.X, p.Oko.Y - o.Y, p.Oko.Z - o.Z), 0, 1e-6);
    EXPECT_NEAR(RoznicaKatow(p.Kierunek, o.kierunek), 0, 1e-6);
    EXPECT_TRUE(p.Kierunek >= 0 && p.Kierunek < 2 * pi) << p.Kierunek;
    EXPECT_NEAR(p.Pochylenie, o.pochylenie, 1e-9);
}

}  // namespace

TEST(OkoKierowcy, ProstaZeWzniesieniem5Procent) {
    ZerujStan();
    // A straight along +x from (0, 0) to (200, 0); the road rises 5 % along x.
    BudujTrase({{0, 0}, {200, 0}});
    // The ground, 10 m lower, reaches 30 m to each side.
    UstawIndeksyWysokosci(
        ProjektOkna, ZbudujIndeksWysokosci(Siatka(-10, 210, -6, 6, 2, [](double x, double) { return 0.05 * x; })),
        ZbudujIndeksWysokosci(Siatka(-10, 210, -30, 30, 5, [](double x, double) { return 0.05 * x - 10; })));
    const TOczekiwane przypadki[] = {
        // Right of travel along +x is -y; driving back right is +y and the road falls (both sides and
        // directions on the arc below).
        {100, 1.75, 1.0, true, 100, -1.75, 6.0, 0, 0.05},
        {100, 1.75, 1.2, false, 100, 1.75, 6.2, pi, -0.05},
        // Near the ends the chord stays inside the route.
        {0.2, 0, 1.0, true, 0.2, 0, 1.01, 0, 0.05},
        {199.9, 0, 1.0, false, 199.9, 0, 10.995, pi, -0.05},
        // Beyond the design surface the ground carries the eye.
        {50, 8, 1.5, true, 50, -8, 2.5 - 10 + 1.5, 0, 0.05},
    };
    for (const TOczekiwane& o : przypadki) Sprawdz(o);
    // Where neither surface has a height, or s is not a number: no eye.
    EXPECT_FALSE(PolozenieOka(Trasa, 100, {1.0, 40, true}, IndeksyWysokosci(ProjektOkna)).Jest);
    EXPECT_FALSE(PolozenieOka(Trasa, NAN, {}, IndeksyWysokosci(ProjektOkna)).Jest);
    // The same point with the general placing.
    const TPolozenieOka cel = PunktNadPowierzchnia(Trasa, 100, 1.75, 0.0, true, IndeksyWysokosci(ProjektOkna));
    EXPECT_NEAR(cel.Oko.Z, 5.0, 1e-9);
    // No route: no eye.
    Trasa = DaneUstawieniaTrasy{};
    EXPECT_FALSE(PolozenieOka(Trasa, 100, {}, IndeksyWysokosci(ProjektOkna)).Jest);
    WyczyscIndeksyWysokosci(ProjektOkna);
}

TEST(OkoKierowcy, LukIJazdaWstecz) {
    ZerujStan();
    // A left-hand arc R = 50 between straights along +x and +y: centre (50, 50),
    // from s = 50 to 50 + 25 pi. At its middle the route's bearing is 45 degrees
    // and the route point is the centre + 50 (cos -45, sin -45).
    BudujTrase({{0, 0}, {100, 0, 50}, {100, 100}});
    // A plane rising along y: z = 2 + 0.1 y. On a circle of radius r about the
    // centre, at the angle phi, the grade along the circle is 0.1 cos(phi)
    // (and the chord's gives the same), whatever r.
    UstawIndeksyWysokosci(
        ProjektOkna, ZbudujIndeksWysokosci(Siatka(-10, 120, -20, 120, 2, [](double, double y) { return 2 + 0.1 * y; })),
        {});
    const double s = 50 + 12.5 * pi, c = std::sqrt(0.5);
    auto naKole = [&](double r) { return std::array<double, 2>{50 + r * c, 50 - r * c}; };
    const auto zew = naKole(51.75), wew = naKole(48.25), os = naKole(50);
    const TOczekiwane przypadki[] = {
        // Right of travel is outward from the centre along the chainage.
        {s, 1.75, 1.0, true, zew[0], zew[1], 3 + 0.1 * zew[1], pi / 4, 0.1 * c},
        // Driving back, right of travel is toward the centre; the road falls.
        {s, 1.75, 1.0, false, wew[0], wew[1], 3 + 0.1 * wew[1], 5 * pi / 4, -0.1 * c},
        {s, -1.75, 1.0, true, wew[0], wew[1], 3 + 0.1 * wew[1], pi / 4, 0.1 * c},
        {s, 0, 1.0, true, os[0], os[1], 3 + 0.1 * os[1], pi / 4, 0.1 * c},
        // On the first straight the plane is level along x; on the last it climbs 10 %.
        {25, 1.75, 1.0, true, 25, -1.75, 3 - 0.175, 0, 0},
        {150, 1.75, 1.0, true, 101.75, 50 + 150 - (50 + 25 * pi), 3 + 0.1 * (200 - 50 - 25 * pi), pi / 2, 0.1},
    };
    for (const TOczekiwane& o : przypadki) Sprawdz(o);
    WyczyscIndeksyWysokosci(ProjektOkna);
}
