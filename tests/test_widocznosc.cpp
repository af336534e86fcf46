// The stopping sight distance on a crest, a bend with a wall and a sag; the required distance worked by hand.
#include "analiza/OkoKierowcy.h"
#include "analiza/Widocznosc.h"
#include "analiza/Wykop.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

// A strip along x from x0 to x1 in columns of dx, from y = -6 to 6, heights z(x).
std::vector<TTrojkatRogi> Pas(double x0, double x1, double dx, const std::function<double(double)>& z) {
    return Siatka(
        x0, x1, -6, 6, dx, [&](double x, double) { return z(x); }, 6);
}

const TWierszWidocznosci* Wiersz(const std::vector<TWierszWidocznosci>& w, double s, int k) {
    for (const auto& r : w)
        if (std::fabs(r.Pikieta - s) < 1e-9 && r.Kierunek == k) return &r;
    return nullptr;
}

struct Widocznosc : ::testing::Test {
    void SetUp() override { ZerujStan(); }
    void TearDown() override { ZerujStan(); }
};

}  // namespace

TEST_F(Widocznosc, DrogaZatrzymaniaLiczonaRecznie) {
    // v = V / 3.6; Lz = v t + v^2 / (2 (a + 9.81 i)), t = 2.5, a = 3.4:
    // V 50, i 0: 13.8889 * 2.5 + 192.901 / 6.8 = 34.7222 + 28.3678.
    for (auto [V, i, Lz] : {std::array<double, 3>{50, 0, 63.0901}, {100, -0.05, 202.0454}})
        EXPECT_NEAR(DrogaZatrzymania(V, 2.5, 3.4, i), Lz, 1e-3) << V << " " << i;
    // A fall steeper than a / g: the vehicle cannot stop at all.
    EXPECT_TRUE(std::isinf(DrogaZatrzymania(50, 2.5, 3.4, -0.35)));

    // A straight on a constant grade of 4 %, the grade's sign by the direction; V from the parameter row at
    // the station (70 km/h up to 500, 90 from there).
    BudujTrase({{0, 0}, {1000, 0}});
    const TIndeksWysokosci proj = ZbudujIndeksWysokosci(Pas(-10, 1010, 5, [](double x) { return 0.04 * x; }));
    ParametryProjektowe.assign(2, TParametryProjektowe{});
    ParametryProjektowe[0].PredkoscV = 70, ParametryProjektowe[1].OdPikiety = 500,
    ParametryProjektowe[1].PredkoscV = 90;
    TUstawieniaWidocznosci u;
    u.Zasieg = 50;
    const TIndeksWysokosci brak;
    for (auto [s, k, V, i, Lz] : {std::array<double, 5>{300, 1, 70, 0.04, 98.4590},
                                  {300, -1, 70, -0.04, 111.4663},
                                  {600, 1, 90, 0.04, 144.9016}}) {
        const TWierszWidocznosci w = SprawdzWidocznoscNaPikiecie({Trasa, ParametryProjektowe}, s, int(k), u, proj,
                                                                 brak);
        EXPECT_EQ(w.Predkosc, V);
        EXPECT_NEAR(w.Pochylenie, i, 1e-9);
        EXPECT_NEAR(w.Wymagana, Lz, 1e-3);
        // Nothing hides on a plane: the range limits, and 50 m is short of Lz.
        EXPECT_TRUE(w.Granica == TGranicaWidocznosci::Zasieg && w.Dostepna == 50 && !w.Ocena);
    }
    u.Predkosc = 50;  // given: the table is not asked
    EXPECT_NEAR(SprawdzWidocznoscNaPikiecie({Trasa, ParametryProjektowe}, 300, 1, u, proj, brak).Wymagana, 60.1548,
                1e-3);
    u.Opoznienie = 0.3;  // 0.3 - 9.81 * 0.04 < 0 going down
    const TWierszWidocznosci stromo = SprawdzWidocznoscNaPikiecie({Trasa, ParametryProjektowe}, 300, -1, u, proj, brak);
    EXPECT_TRUE(std::isinf(stromo.Wymagana) && !stromo.Ocena);
}

TEST_F(Widocznosc, LukPionowyWypuklyIPierwszaPrzeszkodaNaProj) {
    // A straight road over a crest z = 100 - (x - 500)^2 / 2R, R = 3000, the terrain far below:
    // sight distance sqrt(2 R H_oka) + sqrt(2 R H_celu) = sqrt(6000) + sqrt(3000) = 132.232.
    BudujTrase({{0, 0}, {1000, 0}});
    const double R = 3000, oczekiwana = std::sqrt(2 * R * 1.0) + std::sqrt(2 * R * 0.5);
    // The file coordinates lie 1000, 2000, 50 from the local ones.
    const TIndeksWysokosci proj = ZbudujIndeksWysokosci(
        Pas(-10, 1010, 0.5, [R](double x) { return 100 - (x - 500) * (x - 500) / (2 * R); }), 1000, 2000, 50);
    const TIndeksWysokosci teren = ZbudujIndeksWysokosci(Pas(-10, 1010, 10, [](double) { return 0.0; }), 1000, 2000,
                                                         50);
    TUstawieniaWidocznosci u;
    u.Krok = 100;
    u.Predkosc = 100;  // Lz 182.9 > 132.2: fails
    const auto w = ObliczWidocznosc({Trasa, ParametryProjektowe}, u, proj, teren, {}, nullptr, 2);
    ASSERT_TRUE(w);
    ASSERT_EQ(w->size(), 22u);  // stations 0, 100, ..., 1000, both directions
    for (double s = 200; s <= 800; s += 100)
        for (int k : {1, -1}) {
            const TWierszWidocznosci* r = Wiersz(*w, s, k);
            ASSERT_TRUE(r && r->Przeszkoda);
            SCOPED_TRACE(std::to_string(s) + " " + std::to_string(k));
            EXPECT_TRUE(r->Granica == TGranicaWidocznosci::Przeszkoda && !r->Ocena);
            // The least hidden target, found to 5 cm.
            EXPECT_GE(r->Dostepna, oczekiwana - 0.01);
            EXPECT_LE(r->Dostepna, oczekiwana + DokladnoscWidocznosci + 0.01);
            // The line first dips under PROJ at the eye's tangent point sqrt(2 R H_oka) ahead.
            EXPECT_EQ(r->Powierzchnia, TPowierzchniaWidocznosci::PROJ);
            const double x = r->Przeszkoda->X - 1000;
            EXPECT_NEAR(x, s + k * std::sqrt(2 * R), 3.0);
            EXPECT_NEAR(r->Przeszkoda->Y - 2000, -1.75 * k, 1e-6);
            EXPECT_NEAR(r->Przeszkoda->Z - 50, 100 - (x - 500) * (x - 500) / (2 * R), 1e-3);
        }
    // The rows come in station order, + before -, whatever the threads.
    const auto jeden = ObliczWidocznosc({Trasa, ParametryProjektowe}, u, proj, teren, {}, nullptr, 1);
    ASSERT_TRUE(jeden && jeden->size() == w->size());
    for (std::size_t i = 0; i < w->size(); ++i)
        EXPECT_TRUE((*w)[i].Pikieta == (*jeden)[i].Pikieta && (*w)[i].Kierunek == (i % 2 ? -1 : 1) &&
                    (*w)[i].Dostepna == (*jeden)[i].Dostepna)
            << i;

    // The failing stretches: direction + from 0 to 800 (at 900 the road ends
    // 100 m ahead), direction - from 200 to 1000; both in the report.
    const auto odcinki = OdcinkiNiespelniajace(*w);
    ASSERT_EQ(odcinki.size(), 2u);
    EXPECT_EQ(std::tuple(odcinki[0].Kierunek, odcinki[0].Od, odcinki[0].Do), std::tuple(1, 0.0, 800.0));
    EXPECT_EQ(std::tuple(odcinki[1].Kierunek, odcinki[1].Od, odcinki[1].Do), std::tuple(-1, 200.0, 1000.0));
    // The report names the chainages shown (a route starting at 2+000 here), the speed, the grade at the worst
    // station (0 on the crest's top), and says what hides the target.
    const std::vector<std::string> raport = RaportWidocznosci(*w, u, 2000);
    int linie = 0;
    for (const std::string& l : raport)
        linie += (l.find("km 2+000 – km 2+800, kierunek +: dostępna 132,") == 0 ||
                  l.find("km 2+200 – km 3+000, kierunek −: dostępna 132,") == 0) &&
                 l.find(" (V = 100 km/h, i = ") != std::string::npos &&
                 l.size() - l.rfind(", cel zasłania PROJ") == std::string(", cel zasłania PROJ").size();
    EXPECT_EQ(linie, 2);
    EXPECT_EQ(raport[2].find("Prędkość 100 km/h, czas reakcji 2,5 s, opóźnienie 3,4 m/s²"), 0u) << raport[2];
    EXPECT_NE(raport.back().find("nie spełnia warunku"), std::string::npos);
    // Speeds from the design parameters: the range the stations used.
    u.Predkosc = 0;
    std::vector<TWierszWidocznosci> zPredkosciami = *w;
    for (std::size_t i = 0; i < zPredkosciami.size(); ++i) zPredkosciami[i].Predkosc = i < 6 ? 50 : 70;
    EXPECT_EQ(RaportWidocznosci(zPredkosciami, u, 0)[2].find(
                  "Prędkość 50–70 km/h (z parametrów projektowych, według pikiet)"),
              0u);
    // The road triangles of the + stretch: under the lane to the right of +x
    // (y from -3.5 to 0), from half a step before the stretch to half a step after it.
    const auto trojkaty = TrojkatyOdcinkow(Trasa, {odcinki[0]}, u.Krok, u.Przesuniecie, proj);
    const std::vector<TTrojkatRogi> pas = Pas(-10, 1010, 0.5, [](double) { return 0.0; });
    EXPECT_GT(trojkaty.size(), 1600u);  // 800 m of 0.5 m columns
    for (std::int32_t t : trojkaty) {
        const double x = (pas[t].X1 + pas[t].X2 + pas[t].X3) / 3, y = (pas[t].Y1 + pas[t].Y2 + pas[t].Y3) / 3;
        EXPECT_TRUE(x >= -0.5 && x <= 850.5 && y < 0) << x << " " << y;
    }
}

TEST_F(Widocznosc, LukPoziomyZeSciana) {
    // A flat left bend of R = 200 (deflection 60 degrees, tangent R tan 30), a wall 10 high inside it
    // from radius 195 inwards. Eye and target on one circle of radius Re (200 +- 1.75 lane offset):
    // the chord touching the wall spans 2 acos(195 / Re), i.e. 200 times that along the route.
    const double T = 200 * std::tan(Pi / 6);
    BudujTrase({{0, 0}, {500, 0, 200}, {500 + 500 * std::cos(Pi / 3), 500 * std::sin(Pi / 3)}});
    const double cx = 500 - T, cy = 200, Rw = 195, pikPL = 500 - T;
    // The road (PROJ, radii 196 to 208) and the wall (TEREN, 192 to 195) as rings of 1 mrad.
    std::vector<TTrojkatRogi> sciana, droga;
    for (int i = 0; i < 3142; ++i) {
        const double f0 = -150 * Pi / 180 + i * 1e-3, f1 = f0 + 1e-3;
        auto p = [&](double r, double f, double z) { return TPunkt3D{cx + r * std::cos(f), cy + r * std::sin(f), z}; };
        for (auto [r0, r1, z, cel] : {std::tuple{Rw - 3, Rw, 10.0, &sciana}, std::tuple{196.0, 208.0, 0.0, &droga}}) {
            cel->push_back(Trojkat(p(r0, f0, z), p(r1, f0, z), p(r1, f1, z)));
            cel->push_back(Trojkat(p(r0, f0, z), p(r1, f1, z), p(r0, f1, z)));
        }
    }
    const TIndeksWysokosci proj = ZbudujIndeksWysokosci(droga);
    const TIndeksWysokosci teren = TerenPozaWykopem(ZbudujIndeksWysokosci(sciana), proj);
    TUstawieniaWidocznosci u;
    u.Predkosc = 60;  // Lz 85 m: short of the chord
    for (const auto& [s, k, re] : {std::tuple{pikPL + 40, 1, 201.75}, std::tuple{pikPL + 160, -1, 198.25}}) {
        const TWierszWidocznosci w = SprawdzWidocznoscNaPikiecie({Trasa, ParametryProjektowe}, s, k, u, proj, teren);
        const double oczekiwana = 200 * 2 * std::acos(Rw / re);
        EXPECT_EQ(w.Granica, TGranicaWidocznosci::Przeszkoda);
        EXPECT_GE(w.Dostepna, oczekiwana - 0.01) << k;
        EXPECT_LE(w.Dostepna, oczekiwana + DokladnoscWidocznosci + 0.01) << k;
        // The first point under a surface is on the wall's face, at the sight line's height.
        ASSERT_TRUE(w.Przeszkoda);
        EXPECT_EQ(w.Powierzchnia, TPowierzchniaWidocznosci::TEREN);
        EXPECT_NEAR(std::hypot(w.Przeszkoda->X - cx, w.Przeszkoda->Y - cy), Rw, 0.01);
        EXPECT_TRUE(w.Przeszkoda->Z > 0.5 && w.Przeszkoda->Z < 1.0) << w.Przeszkoda->Z;
    }
}

TEST_F(Widocznosc, LukWkleslyIGraniceZasieguIKonca) {
    // A sag (z = (x - 500)^2 / 2R): nothing hides, so the range or the route's end limits.
    BudujTrase({{0, 0}, {1000, 0}});
    const TIndeksWysokosci proj = ZbudujIndeksWysokosci(
        Pas(-10, 1010, 0.5, [](double x) { return (x - 500) * (x - 500) / 6000; }));
    const TIndeksWysokosci brak;
    TUstawieniaWidocznosci u;
    using enum TGranicaWidocznosci;
    // (The route's last station sees no road ahead: 0 m, and passes.)
    for (auto [s, k, dostepna, g] : {std::tuple{500, -1, 300, Zasieg},
                                     {700, 1, 300, Zasieg},
                                     {900, 1, 100, Koniec},
                                     {40, -1, 40, Koniec},
                                     {1000, 1, 0, Koniec}}) {
        const TWierszWidocznosci w = SprawdzWidocznoscNaPikiecie({Trasa, ParametryProjektowe}, s, k, u, proj, brak);
        EXPECT_EQ(w.Granica, g) << s << " " << k;
        EXPECT_NEAR(w.Dostepna, dostepna, 1e-3) << s << " " << k;
        // 300 m against 63 m at 50 km/h; the end always passes.
        EXPECT_TRUE(!w.Przeszkoda && w.Ocena);
    }
    // Beyond the surfaces: the eye has no surface, and a road that runs off its surface stops the walk.
    const TIndeksWysokosci krotki = ZbudujIndeksWysokosci(Pas(-10, 600, 0.5, [](double) { return 0.0; }));
    const TWierszWidocznosci poza = SprawdzWidocznoscNaPikiecie({Trasa, ParametryProjektowe}, 800, 1, u, krotki, brak);
    EXPECT_TRUE(poza.Granica == TGranicaWidocznosci::BrakPowierzchni && !poza.Ocena);
    const TWierszWidocznosci doKrawedzi = SprawdzWidocznoscNaPikiecie({Trasa, ParametryProjektowe}, 500, 1, u, krotki,
                                                                      brak);
    EXPECT_NEAR(doKrawedzi.Dostepna, 100, 1e-9);  // and 100 >= 63.1 passes
    EXPECT_TRUE(doKrawedzi.Granica == TGranicaWidocznosci::BrakPowierzchni && doKrawedzi.Ocena);

    // A road 12 m wide at 0 in a cut: the old ground at 5 in 30 m triangles, dug away over the road.
    const std::vector<TTrojkatRogi> stary = Siatka(-30, 1050, -60, 60, 30, [](double, double) { return 5.0; });
    const TIndeksWysokosci droga = ZbudujIndeksWysokosci(Pas(-10, 1010, 5, [](double) { return 0.0; }));
    const TIndeksWysokosci wykop = TerenPozaWykopem(ZbudujIndeksWysokosci(stary), droga);
    const TWierszWidocznosci wWykopie = SprawdzWidocznoscNaPikiecie({Trasa, ParametryProjektowe}, 500, 1, u, droga,
                                                                    wykop);
    EXPECT_TRUE(wWykopie.Granica == TGranicaWidocznosci::Zasieg && wWykopie.Dostepna == 300);
    // Nothing of the old ground is left over the road, all of it beside.
    for (double x = 0.5; x < 1000; x += 7.3)
        for (double y : {-4.9, -3.0, 0.0, 2.2, 4.9}) EXPECT_FALSE(Wysokosc(wykop, x, y)) << x << " " << y;
    for (double y : {-59.0, -30.0, -7.0, 7.0, 45.0}) EXPECT_NEAR(*Wysokosc(wykop, 100, y), 5, 1e-9) << y;

    // Without any surface there is nothing to drive on: refused, not a table of rows without a surface.
    EXPECT_NE(Blad([&] {
                  ObliczWidocznosc({Trasa, ParametryProjektowe}, u, brak, brak);
              }).find("Nie wczytano żadnej powierzchni"),
              std::string::npos);
    // Wrong settings are refused with a Polish message; a cancelled run gives nothing.
    u.Krok = 0;
    EXPECT_THROW(ObliczWidocznosc({Trasa, ParametryProjektowe}, u, proj, brak), BladKonwersji);
    u.Krok = 10, u.Naprzod = u.Wstecz = false;
    EXPECT_FALSE(BladUstawienWidocznosci(u).empty());
    u.Naprzod = true;
    std::atomic<bool> przerwij{true};
    EXPECT_FALSE(ObliczWidocznosc({Trasa, ParametryProjektowe}, u, proj, brak, {}, &przerwij));
    // Progress reaches the total, on the calling thread.
    std::int64_t ostatni = 0, razem = 0;
    const auto w = ObliczWidocznosc({Trasa, ParametryProjektowe}, u, proj, brak,
                                    [&](std::int64_t z, std::int64_t c) { ostatni = z, razem = c; });
    ASSERT_TRUE(w);
    EXPECT_EQ(std::pair(ostatni, razem), std::pair(std::int64_t{101}, std::int64_t{101}));
    // A failure on the calling thread while helper threads work reaches the caller as the program's error, every
    // helper joined (it used to end in std::terminate): here the progress callback's own.
    int wywolania = 0;
    const auto rzuc = [&](std::int64_t, std::int64_t) {
        if (++wywolania == 3) throw BladKonwersji("przerwane przez postęp");
    };
    EXPECT_EQ(Blad([&] {
                  ObliczWidocznosc({Trasa, ParametryProjektowe}, u, proj, brak, rzuc, nullptr, 3);
              }),
              "przerwane przez postęp");
}
