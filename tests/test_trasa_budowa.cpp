// The route build: worked bends, the checks and their messages, refused values, properties of random routes.

#include <random>

#include "pomocnicze/Pomocnicze.h"
#include "route/Lancuch.h"
#include "route/OblKlotka.h"

namespace {

constexpr double pi = Pi;

struct W {
    double X, Y;
    float R = 0, A1 = 0, A2 = 0;
    const char* Nazwa = "";
};

void Buduj(const std::vector<W>& w) {
    Trasa.Zalomy.assign(w.size(), TZalom{});
    for (std::size_t i = 0; i < w.size(); ++i) {
        TZalom& z = Trasa.Zalomy[i];
        std::tie(z.X, z.Y, z.R, z.A1, z.A2) = std::tie(w[i].X, w[i].Y, w[i].R, w[i].A1, w[i].A2);
        z.Nazwa.Ustaw(w[i].Nazwa);
    }
    ObliczTrase();
}

TPunkt2D Punkt(double s) {
    TPunkt2D p{NAN, NAN};
    PunktNaPikiecie(s, p.X, p.Y);
    return p;
}
double Odl(TPunkt2D a, TPunkt2D b) { return std::hypot(a.X - b.X, a.Y - b.Y); }
double Kierunek(TPunkt2D a, TPunkt2D b) { return std::atan2(b.Y - a.Y, b.X - a.X); }
double RoznicaKatow(double a, double b) { return std::remainder(a - b, 2 * pi); }

}  // namespace

TEST(Trasy, PrzykladyZakretow) {
    ZerujStan();
    for (double s : {1.0, -1.0}) {
        SCOPED_TRACE(s);
        Buduj({{0, 0}, {100, 0, 50}, {100, s * 100}});
        ASSERT_TRUE(Trasa.Obliczona);
        const TElementTrasy& e = Trasa.ElementyTrasy[1];
        EXPECT_TRUE(e.JestLuk && !e.JestKlotoida && e.LukWPrawo == (s < 0));
        EXPECT_NEAR(Odl(e.Srodek, {50, s * 50}), 0, 1e-9);
        EXPECT_NEAR(e.PikPL, 50, 1e-9);
        EXPECT_NEAR(e.PikKL, 50 + 25 * pi, 1e-9);
        EXPECT_NEAR(Trasa.PikMax, 178.54, 0.005);
        // Chainages before the start and past the end are looked up 0.001 inside.
        for (auto [pik, x, y, tol] : {std::array{25.0, 25.0, 0.0, 1e-9},
                                      {50, 50, 0, 1e-9},
                                      {89.27, 85.36, 14.64, 0.01},
                                      {150, 100, 71.46, 0.01},
                                      {-1, 0.001, 0, 1e-12},
                                      {179, 100, Trasa.PikMax - 0.001 - 25 * pi, 1e-9}})
            EXPECT_NEAR(Odl(Punkt(pik), {x, s * y}), 0, tol) << pik;
        const double obrot = s > 0 ? 0 : 2 * pi;
        EXPECT_EQ(KatNaPikiecie(25), 0);
        EXPECT_NEAR(KatNaPikiecie(150), obrot + s * pi / 2, 1e-15);
        EXPECT_NEAR(KatNaPikiecie(75), obrot + s * 0.5, 1e-9);
    }
    // R = 0.01 exactly is no arc.
    Buduj({{0, 0}, {100, 0, 0.01f}, {100, 100}});
    EXPECT_FALSE(Trasa.ElementyTrasy[1].JestLuk);
    EXPECT_EQ(Trasa.PikMax, 200.0f);

    auto zakret = [](double delta, float A1, float A2) {
        Buduj({{-500, 0}, {0, 0, 100, A1, A2}, {500 * std::cos(delta), 500 * std::sin(delta)}});
        return Trasa.ElementyTrasy[1];
    };
    // Amin 72.93 above Amax 70.71, or one clothoid only: a plain arc of R times the deflection.
    for (auto [A1, A2] : {std::pair{80.0f, 80.0f}, {80.0f, 0.0f}, {0.0f, 80.0f}}) {
        const TElementTrasy a = zakret(0.5, A1, A2);
        EXPECT_TRUE(a.JestLuk && !a.JestKlotoida) << A1 << " " << A2;
        EXPECT_NEAR(a.PikKL - a.PikPL, 50, 1e-9);
        EXPECT_NEAR(a.PikPL, 500 - 100 * std::tan(0.25), 1e-9);
    }
    const TElementTrasy b = zakret(1.0, 60, 120);  // A1 raised to Amin, A2 lowered to Amax = R
    ASSERT_TRUE(b.JestKlotoida);
    EXPECT_NEAR(b.Klotoida1.A, 72.93, 0.005);
    EXPECT_NEAR(b.Klotoida2.A, 100, 1e-4);
    EXPECT_NEAR(b.PikKKP1 - b.PikPKP1, 53.19, 0.005);
    EXPECT_NEAR(b.PikKKP2 - b.PikPKP2, 100, 1e-3);
    // The direction is the exact chord bearing also on and close to the Y axis, at the ends as well.
    for (double k : {pi / 2, -pi / 2, pi / 2 + 0.001, pi / 2 - 0.0165, -pi / 2 + 0.005, 1.25 * pi}) {
        Buduj({{0, 0}, {1000 * std::cos(k), 1000 * std::sin(k)}});
        for (double s : {0.0, 333.0, 1000.0})
            EXPECT_NEAR(KatNaPikiecie(s), std::fmod(k + 2 * pi, 2 * pi), 1e-9) << k << " " << s;
    }
}

// The build is a function of its vertices and parameter table: the row in force about each curve limits its
// clothoids (A_min = max(sqrt(V^3 / (47 kMax)), sqrt(R Bkr dI / iMax)), worked by hand), and nothing of one build
// reaches the next or the program's route, messages or viewer.
TEST(Trasy, BudowaJestFunkcja) {
    ZerujStan();
    auto zalom = [](double x, double y, float R = 0, float A = 0) {
        TZalom z;
        std::tie(z.X, z.Y, z.R, z.A1, z.A2) = std::tuple{x, y, R, A, A};
        return z;
    };
    // Two right-angle bends of R = 200 with A = 40 asked for; the second lies past chainage 500.
    const std::vector<TZalom> z{zalom(0, 0), zalom(300, 0, 200, 40), zalom(300, 600, 200, 40), zalom(900, 600)};
    auto row = [](float od, float V) {
        TParametryProjektowe p = ParametryDomyslne;
        p.OdPikiety = od, p.PredkoscV = V;
        return p;
    };
    const double rampa = std::sqrt(200 * 3.0 * 0.05 / 0.009);  // 57.74, above the dynamic limit at 30 km/h (33.9)
    const double przy50 = std::sqrt(50.0 * 50 * 50 / (47 * 0.5)), przy100 = std::sqrt(1e6 / (47 * 0.5));
    Trasa = {};
    KomunikatyTrasy = {"przed"};
    OpisTekst = {"tekst"};
    const TTrasaZbudowana a = ZbudujTrase(z, {row(0, 30), row(500, 100)});
    ASSERT_TRUE(a.Obliczona);
    ASSERT_TRUE(a.Elementy[1].JestKlotoida && a.Elementy[2].JestKlotoida);
    EXPECT_NEAR(a.Elementy[1].Klotoida1.A, rampa, 1e-3);
    EXPECT_NEAR(a.Elementy[2].Klotoida2.A, przy100, 1e-3);
    // An empty table is the default row (50 km/h) whatever table came before.
    const TTrasaZbudowana b = ZbudujTrase(z, {});
    EXPECT_NEAR(b.Elementy[1].Klotoida1.A, przy50, 1e-3);
    EXPECT_NEAR(b.Elementy[2].Klotoida1.A, przy50, 1e-3);
    EXPECT_EQ(ZbudujTrase(z, {}).Elementy, b.Elementy);
    EXPECT_EQ(Trasa, DaneUstawieniaTrasy{});
    EXPECT_EQ(KomunikatyTrasy, std::vector<std::string>{"przed"});
    EXPECT_EQ(OpisTekst, std::vector<std::string>{"tekst"});
    // The record's build is the same function.
    DaneUstawieniaTrasy t;
    t.Zalomy = z;
    EXPECT_TRUE(ObliczTrase(t, {row(0, 30), row(500, 100)}).empty());
    EXPECT_EQ(t.ElementyTrasy, a.Elementy);
    EXPECT_EQ(t.PikMax, a.PikMax);
    EXPECT_EQ(t.Xmax, 900);
}

TEST(Trasy, KierunekNaKoncachLuku) {
    // A quarter circle of R from (0, 0) to (R, R) between straights of a millimetre (an arc filling its arms
    // exactly is refused as overlapping): the direction is the arc's tangent also at the route's ends, where the
    // lookup stands 0.001 inside them, on the arc's ends (a one-sided chord was 0.05 / R off there).
    ZerujStan();
    for (float R : {15.0f, 300.0f}) {
        Buduj({{-0.001, 0}, {R, 0, R}, {R, R + 0.001}});
        ASSERT_TRUE(Trasa.Obliczona) << R;
        const double luk = pi / 2 * R, koniec = std::min<double>(Trasa.PikMax, luk + 0.002);
        ASSERT_NEAR(koniec, luk + 0.002, 1e-4);
        auto styczna = [&](double s) { return std::clamp(std::clamp(s, 0.001, koniec - 0.001) - 0.001, 0.0, luk) / R; };
        for (double s : {-3.0, 0.0, 0.02, 0.05, luk / 2, koniec - 0.05, koniec - 0.02, koniec, koniec + 5}) {
            const double k = KatNaPikiecie(s);
            EXPECT_TRUE(k >= 0 && k < 2 * pi) << k;
            EXPECT_NEAR(RoznicaKatow(k, styczna(s)), 0, 1e-7) << R << " " << s;
        }
    }
}

// Messages name vertices 0-based in the definition checks, 1-based in the overlap check. Coincident
// vertices, a route doubling back on itself and a huge radius overlapping its neighbours are in the hostile corpus.
TEST(Trasy, KomunikatyIWartosciOdrzucane) {
    ZerujStan();
    const std::string luk = "Nie można wpisywać łuku ",
                      linia = luk + "pomiędzy 3 punkty znajdujęce się na jednej prostej! Zmieniam R=0! Załom ",
                      liczba = "Niepoprawna liczba w definicji załomu (X, Y, R, A1 lub A2)! Załom ",
                      pokrywa = luk + "w załomie pokrywającym się z sąsiednim załomem! Załom ",
                      geometria = "Nie można obliczyć geometrii trasy! Załom ";
    auto zachodza = [](std::string a, int i, std::string b, int j) {
        return " Załom " + a + " poz. " + std::to_string(i) + " oraz  załom " + b + " poz. " + std::to_string(j) +
               " Zachodzą na siebie";
    };
    const std::tuple<std::vector<W>, bool, std::vector<std::string>> przypadki[] = {
        {std::vector<W>{}, false, std::vector<std::string>{}},
        {{{5, 5, 100}}, false, {"Definicja trasy musi składać się z min 2 punktów!"}},
        {{{0, 0, 200}, {100, 0, 200}},
         true,
         {luk + "na początku trasy! Zmieniam R=0!", luk + "na końcu trasy! Zmieniam R=0! Załom 1."}},
        {{{0, 0}, {0.01, 100, 300}, {0.02, 200}}, false, {linia + "1."}},
        {{{0, 0}, {100, 50, -50}, {200, 100}}, true, {}},
        {{{0, 0}, {100, 50}, {200, 100.09, 40}, {300, 150.1, 30}, {200, 100.09}}, false, {linia + "2.", linia + "3."}},
        {{{0, 0}, {100, 0, 60, 0, 0, "\xA3uk"}, {100, 100, 60, 0, 0, "\xAF\x61k"}, {200, 100}},
         false,
         {zachodza("Łuk", 2, "Żak", 3)}},
        {{{0, 0},
          {100, 0, 50, 0, 0, "B"},
          {100, 100, 50, 0, 0, "C"},
          {200, 100, 0, 0, 0, "D"},
          {200.0005, 100, 0, 0, 0, "E"}},
         false,
         {zachodza("B", 2, "C", 3), zachodza("D", 4, "E", 5)}},
        {{{0, 0}, {100, 0, 49.9f}, {100, 100, 49.9f}, {200, 100}}, true, {}},
        {{{0, 0}, {100, 0, INFINITY}, {100, 100}, {200, 100, 0, NAN}, {0, INFINITY}},
         false,
         {liczba + "1.", liczba + "3.", liczba + "4."}},
        {{{0, 0}, {100, 0}, {100, 0, 50}, {200, 100}}, false, {pokrywa + "2."}},
        {{{-1e308, 0}, {1e308, 0, 50}, {1e308, 1e308}}, false, {geometria + "1."}},
        // Almost or exactly doubling back, where slope rounding may hide it from the line test.
        {{{0, 0}, {0.012, 1e6, 50, 100, 100}, {0.006, 5e5}}, false, {geometria + "1."}},
    };
    for (const auto& [w, obliczona, komunikaty] : przypadki) {
        OpisTekst = {"linia z poprzedniego raportu"};
        Buduj(w);
        EXPECT_EQ(Trasa.Obliczona, obliczona) << testing::PrintToString(komunikaty);
        EXPECT_EQ(KomunikatyTrasy, komunikaty);
        // The build leaves the viewer's text alone: the open flows show the messages.
        EXPECT_EQ(OpisTekst, std::vector<std::string>{"linia z poprzedniego raportu"});
    }
}

// Random routes: 3 to 10 vertices, deflections of 5 to 170 degrees either way, radii 20 to 2000,
// clothoid parameters absent, single or both; legs mostly long enough for both curves.
TEST(TrasyLosowe, Wlasnosci) {
    ZerujStan();
    std::mt19937_64 gen(20261206);
    auto U = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(gen); };
    int zKlotoidami = 0;
    for (int nr = 0; nr < 100; ++nr) {
        SCOPED_TRACE("trasa " + std::to_string(nr));
        const int n = 3 + static_cast<int>(U(0, 8));
        Trasa.Zalomy.assign(n, TZalom{});
        double kier = U(0, 2 * pi), x = U(-1000, 1000), y = U(-1000, 1000), Tpoprz = 0;
        for (int i = 0; i < n; ++i) {
            TZalom& z = Trasa.Zalomy[i];
            const double d = (i == 0 || i == n - 1) ? 0 : U(5, 170) * pi / 180, rodzaj = U(0, 3);
            z.R = d > 0 ? static_cast<float>(20 * std::pow(100.0, U(0, 1))) : 0;
            z.A1 = rodzaj < 1 ? 0 : static_cast<float>(U(0.05, 2) * z.R);
            z.A2 = rodzaj < 2 ? 0 : static_cast<float>(U(0.05, 2) * z.R);
            const double T = z.R * (std::tan(d / 2) + d);  // above any tangent length of the bend
            const double dl = i == 0 ? 0 : ((Tpoprz + T) * U(1.01, 1.6) + U(1, 50)) * (U(0, 1) < 0.1 ? U(0.2, 0.9) : 1);
            std::tie(z.X, z.Y, Tpoprz) = std::tuple{x += dl * std::cos(kier), y += dl * std::sin(kier), T};
            kier += U(0, 1) < 0.5 ? d : -d;
        }
        ObliczTrase();
        if (!Trasa.Obliczona) continue;
        // The route keeps its elements as the chain every lookup reads.
        EXPECT_EQ(Trasa.Lancuch, LancuchZTrasy(Trasa));
        const auto& el = Trasa.ElementyTrasy;
        bool dokladne = true;                           // the series are accurate up to a turn of 0.5 rad
        std::vector<std::pair<double, double>> zlacza;  // chainage, allowed step
        std::vector<double> klotoidaLuk;
        for (int i = 0; i < n; ++i) {
            const TElementTrasy& e = el[i];
            EXPECT_TRUE(e.PikPKP1 <= e.PikKKP1 && e.PikKKP1 == e.PikPL && e.PikPL <= e.PikKL && e.PikKL == e.PikPKP2 &&
                        e.PikPKP2 <= e.PikKKP2 && (i == 0 || el[i - 1].PikKKP2 + 0.001 <= e.PikPKP1) &&
                        std::isfinite(e.PikKKP2 + e.PunktPL.X + e.PunktKL.Y + e.PunktPKP1.X + e.Srodek.X))
                << i;
            if (!e.JestLuk) continue;
            const double k1 = e.JestKlotoida ? 3e-5 * e.Klotoida1.A : 0, k2 = e.JestKlotoida ? 3e-5 * e.Klotoida2.A : 0;
            zlacza.insert(zlacza.end(),
                          {{e.PikPKP1, 1e-3}, {e.PikKKP1, k1 + 1e-3}, {e.PikPKP2, k2 + 1e-3}, {e.PikKKP2, 1e-3}});
            if (e.JestKlotoida) klotoidaLuk.insert(klotoidaLuk.end(), {e.PikKKP1, e.PikPKP2});
            dokladne = dokladne && (!e.JestKlotoida || (e.Klotoida1.Tau <= 0.5 && e.Klotoida2.Tau <= 0.5));
        }
        if (!dokladne) continue;
        zKlotoidami += !klotoidaLuk.empty();
        const double poczatek = Trasa.PikMin + 0.01, koniec = std::min<double>(Trasa.PikMax, el[n - 1].PikKKP2) - 0.01;
        // Joints: points and directions just before and after agree.
        for (auto [j, dop] : zlacza) {
            if (j - 0.02 < poczatek || j + 0.02 > koniec) continue;
            const TPunkt2D przed = Punkt(j - 1e-6), po = Punkt(j + 1e-6);
            EXPECT_LE(Odl(przed, po), dop) << "pikieta " << j;
            EXPECT_NEAR(RoznicaKatow(Kierunek(Punkt(j - 0.01), przed), Kierunek(po, Punkt(j + 0.01))), 0, 1e-3) << j;
        }
        // Steps of h are h long, in the lookup's direction, except across a clothoid-arc joint.
        for (double s = poczatek, h = 0.5; s + h <= koniec; s += h) {
            const TPunkt2D a = Punkt(s), b = Punkt(s + h);
            if (std::any_of(klotoidaLuk.begin(), klotoidaLuk.end(),
                            [&](double j) { return s - 0.031 <= j && j <= s + h + 0.031; }))
                continue;
            EXPECT_NEAR(Odl(a, b), h, 1e-3 * h) << "pikieta " << s;
            EXPECT_NEAR(RoznicaKatow(KatNaPikiecie(s + h / 2), Kierunek(a, b)), 0, 0.01) << s;
        }
    }
    EXPECT_GE(zKlotoidami, 10);  // the sample exercises what it claims to
}
