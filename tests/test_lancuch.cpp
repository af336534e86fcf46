// The element chain: elements against an independent integration of their curvature, worked arcs and
// clothoids, continuity at every switch, the junction checks and their messages, the nearest chainage,
// and round chainages (the routes built from vertices as chains: the route build's random routes).

#include <random>

#include "pomocnicze/Pomocnicze.h"
#include "analiza/Profil.h"
#include "route/Lancuch.h"
#include "route/OblKlotka.h"

namespace {

constexpr double pi = Pi;

double Odl(TPunkt2D a, TPunkt2D b) { return std::hypot(a.X - b.X, a.Y - b.Y); }
double RoznicaKatow(double a, double b) { return std::remainder(a - b, 2 * pi); }

struct TStan {
    double X, Y, T;
};

// The curve whose curvature at arc length u is k(u), integrated by classical Runge–Kutta with steps of
// 1 cm from (x, y, direction): an oracle that shares nothing with the chain's quadrature.
TStan Calkuj(TStan s, double dlugosc, const std::function<double(double)>& k) {
    const int n = std::max(1, static_cast<int>(std::ceil(dlugosc / 0.01)));
    const double h = dlugosc / n;
    auto f = [&](double u, const TStan& q) { return TStan{std::cos(q.T), std::sin(q.T), k(u)}; };
    for (int i = 0; i < n; ++i) {
        const double u = i * h;
        const TStan a = f(u, s);
        const TStan b = f(u + h / 2, {s.X + h / 2 * a.X, s.Y + h / 2 * a.Y, s.T + h / 2 * a.T});
        const TStan c = f(u + h / 2, {s.X + h / 2 * b.X, s.Y + h / 2 * b.Y, s.T + h / 2 * b.T});
        const TStan d = f(u + h, {s.X + h * c.X, s.Y + h * c.Y, s.T + h * c.T});
        s.X += h / 6 * (a.X + 2 * b.X + 2 * c.X + d.X);
        s.Y += h / 6 * (a.Y + 2 * b.Y + 2 * c.Y + d.Y);
        s.T += h / 6 * (a.T + 2 * b.T + 2 * c.T + d.T);
    }
    return s;
}

TElementOsi Element(TRodzajOsi r, double dl, double k1, double k2 = NAN, int nr = 0) {
    TElementOsi e;
    e.Rodzaj = r;
    e.Dlugosc = dl;
    e.K1 = k1;
    e.K2 = std::isnan(k2) ? k1 : k2;
    e.Nr = nr;
    e.Wiersz = 10 + nr;
    return e;
}

// Elements placed one after another by the oracle: each starts where the integration of the previous ends;
// element nr `zmieniony` starts dx further east and turned by dkat (the rest follow it).
std::vector<TElementOsi> Uloz(std::vector<TElementOsi> el, TStan s, int zmieniony = 0, double dx = 0, double dkat = 0) {
    for (std::size_t i = 0; i < el.size(); ++i) {
        TElementOsi& e = el[i];
        e.Nr = static_cast<int>(i) + 1;
        e.Wiersz = 20 + static_cast<int>(i);
        if (e.Nr == zmieniony) s.X += dx, s.T += dkat;
        e.Poczatek = {s.X, s.Y};
        e.Kierunek = s.T;
        const double k1 = e.K1, k2 = e.Rodzaj == TRodzajOsi::Klotoida ? e.K2 : e.K1, dl = e.Dlugosc;
        s = Calkuj(s, dl, [=](double u) { return k1 + (k2 - k1) * u / dl; });
    }
    return el;
}

// A chain with every element kind, on national-grid coordinates: a line, an entry transition, an arc, an
// egg-shaped transition to a tighter arc, a transition through an inflection to an arc of the other
// sense, a transition from that arc to a wider one (no line between), an exit transition and a line.
std::vector<TElementOsi> Wszystkie(TStan s = {7500123.456, 5500987.654, 0.7}) {
    using enum TRodzajOsi;
    return Uloz({Element(Prosta, 120.5, 0), Element(Klotoida, 80, 0, 1.0 / 400), Element(Luk, 150, 1.0 / 400),
                 Element(Klotoida, 45, 1.0 / 400, 1.0 / 150), Element(Luk, 60.25, 1.0 / 150),
                 Element(Klotoida, 110, 1.0 / 150, -1.0 / 250), Element(Luk, 95, -1.0 / 250),
                 Element(Klotoida, 30, -1.0 / 250, -1.0 / 900), Element(Luk, 40, -1.0 / 900),
                 Element(Klotoida, 70, -1.0 / 900, 0), Element(Prosta, 33.3, 0)},
                s);
}

}  // namespace

TEST(Lancuch, ElementyZgodneZCalkowaniemKrzywizny) {
    const TLancuch l = ZlozLancuch("A1", 641.2153, Wszystkie());
    ASSERT_EQ(l.Elementy.size(), 11u);
    EXPECT_TRUE(l.Zalamania.empty());
    TStan s{l.Elementy[0].Poczatek.X, l.Elementy[0].Poczatek.Y, l.Elementy[0].Kierunek};
    double pik = 0;
    for (const TElementOsi& e : l.Elementy) {
        SCOPED_TRACE(OpisElementu(e));
        EXPECT_NEAR(e.Pik, pik, 1e-9);
        const double k1 = e.K1, k2 = e.K2, dl = e.Dlugosc;
        // A quarter, the middle and the end of every element, and the chainage lookup at its end.
        for (double f : {0.25, 0.5, 1.0}) {
            const TStan w = Calkuj(s, f * dl, [=](double u) { return k1 + (k2 - k1) * u / dl; });
            EXPECT_LE(Odl(PunktElementu(e, f * dl), {w.X, w.Y}), 1e-4) << f;
            EXPECT_NEAR(RoznicaKatow(KierunekElementu(e, f * dl), w.T), 0, 1e-9) << f;
        }
        s = Calkuj(s, dl, [=](double u) { return k1 + (k2 - k1) * u / dl; });
        EXPECT_LE(Odl(PunktLancucha(l, e.PikKonca()), {s.X, s.Y}), 1e-4);
        pik += dl;
    }
    EXPECT_NEAR(l.Dlugosc(), 834.05, 1e-9);
    // The station table: displayed chainages, the start and the end exactly.
    const auto t = TabelaStacji(l, {0, l.Dlugosc()});
    EXPECT_EQ(t[0].Pik, 641.2153);
    EXPECT_NEAR(t[1].Pik, 641.2153 + 834.05, 1e-9);
    EXPECT_EQ(t[0].X, 7500123.456);
    EXPECT_NEAR(Odl({t[1].X, t[1].Y}, {s.X, s.Y}), 0, 1e-4);
    EXPECT_NEAR(RoznicaKatow(t[1].Kierunek, s.T), 0, 1e-9);
}

// Worked cases: a quarter circle either way, and the classic clothoid's end by its Fresnel series summed to
// convergence (x = L - L^5/(40 A^4) + ..., y = L^3/(6 A^2) - ...).
TEST(Lancuch, LukIKlotoidaPoliczoneRecznie) {
    for (double strona : {1.0, -1.0}) {
        TElementOsi e = Element(TRodzajOsi::Luk, 50 * pi, strona / 100);
        e.Poczatek = {1000, 2000};
        e.Kierunek = 0;
        UzupelnijElement(e);
        EXPECT_LE(Odl(PunktElementu(e, 50 * pi), {1100, 2000 + strona * 100}), 1e-9);
        EXPECT_LE(
            Odl(PunktElementu(e, 25 * pi), {1000 + 100 * std::sqrt(0.5), 2000 + strona * (100 - 100 * std::sqrt(0.5))}),
            1e-9);
        EXPECT_NEAR(RoznicaKatow(KierunekElementu(e, 50 * pi), strona * pi / 2), 0, 1e-12);
        EXPECT_LE(Odl(e.Srodek, {1000, 2000 + strona * 100}), 1e-9);
    }
    const double R = 300, L = 150, A2 = R * L;
    double x = 0, y = 0, wyraz = L;  // terms of  sum (-1)^n L^(4n+1) / ((4n+1) (2n)! (2A^2)^(2n)) and the odd ones
    for (int n = 0; n < 12; ++n) {
        double fx = 1, fy = 1;
        for (int k = 1; k <= 2 * n; ++k) fx *= k;
        for (int k = 1; k <= 2 * n + 1; ++k) fy *= k;
        const double sx = (n % 2 ? -1 : 1) * std::pow(L, 4 * n + 1) / ((4 * n + 1) * fx * std::pow(2 * A2, 2 * n));
        const double sy = (n % 2 ? -1 : 1) * std::pow(L, 4 * n + 3) / ((4 * n + 3) * fy * std::pow(2 * A2, 2 * n + 1));
        x += sx, y += sy, wyraz = sx;
    }
    EXPECT_LT(std::fabs(wyraz), 1e-12);
    for (double strona : {1.0, -1.0}) {
        TElementOsi e = Element(TRodzajOsi::Klotoida, L, 0, strona / R);
        e.Poczatek = {0, 0};
        e.Kierunek = pi / 2;  // along +Y: the local x is +Y, the local y (to the left) is -X
        EXPECT_LE(Odl(PunktElementu(e, L), {-strona * y, x}), 1e-7);
        EXPECT_NEAR(RoznicaKatow(KierunekElementu(e, L), pi / 2 + strona * L / (2 * R)), 0, 1e-12);
        EXPECT_NEAR(KrzywiznaElementu(e, L / 2), strona / (2 * R), 1e-15);
    }
}

TEST(Lancuch, CiagloscNaKazdymZlaczu) {
    const TLancuch l = ZlozLancuch("A1", 0, Wszystkie({-50, 20, -2.5}));
    for (std::size_t i = 1; i < l.Elementy.size(); ++i) {
        const TElementOsi& a = l.Elementy[i - 1];
        const TElementOsi& b = l.Elementy[i];
        SCOPED_TRACE(OpisElementu(b));
        EXPECT_LE(Odl(PunktElementu(a, a.Dlugosc), b.Poczatek), 1e-4);
        EXPECT_NEAR(RoznicaKatow(KierunekElementu(a, a.Dlugosc), b.Kierunek), 0, 1e-9);
        EXPECT_NEAR(KrzywiznaElementu(a, a.Dlugosc), KrzywiznaElementu(b, 0), 1e-12);
        // Just before and just after the switch on the chain.
        EXPECT_LE(Odl(PunktLancucha(l, b.Pik - 1e-6), PunktLancucha(l, b.Pik + 1e-6)), 2.1e-6 + 1e-9);
    }
}

// Junctions: rounding accepted and listed, an angle point between two lines accepted and listed, anything
// else refused naming the file's element; the messages in full.
TEST(Lancuch, Zlacza) {
    using enum TRodzajOsi;
    auto zloz = [](std::vector<TElementOsi> el, int nr, double dx, double dkat) {
        return ZlozLancuch("A50118A", 100, Uloz(el, {5500000, 7500000, 1.0}, nr, dx, dkat));
    };
    const std::vector<TElementOsi> odwrotny{Element(Prosta, 50, 0), Element(Luk, 80, 1.0 / 200),
                                            Element(Luk, 80, -1.0 / 200), Element(Prosta, 50, 0)};
    // Producers' noise: lines meeting at 4.5e-7 rad 0.036 mm apart is not even listed.
    EXPECT_TRUE(zloz({Element(Prosta, 50, 0), Element(Prosta, 70, 0)}, 2, 3.6e-5, 4.5e-7).Zalamania.empty());
    // A reverse curve's arcs 0.021° apart: accepted and listed with chainage and angle.
    const TLancuch l = zloz(odwrotny, 3, 0.0004, 0.021 * pi / 180);
    ASSERT_EQ(l.Zalamania.size(), 1u);
    const auto& z = l.Zalamania[0];
    EXPECT_TRUE(std::fabs(z.Pik - 130) < 1e-9 && std::fabs(z.Kat - 0.021 * pi / 180) < 1e-9 && z.Nr == 3 &&
                !z.Wierzcholek)
        << z.Pik << " " << z.Kat << " " << z.Nr;
    const auto opis = OpisLancucha(l);
    ASSERT_EQ(opis.size(), 2u);
    EXPECT_EQ(
        opis[0],
        "Trasa „A50118A”: pikieta początkowa 100.000, długość 260.000 m, elementy: 2 prostych, 2 łuków, 0 klotoid; "
        "przyjęte załamania: 1.");
    EXPECT_EQ(opis[1], "  pikieta 230.000, element nr 3: załamanie 0.0210°, odstęp 0.40 mm");
    // An angle point of 6.36° between two lines.
    const TLancuch w = zloz({Element(Prosta, 50, 0), Element(Prosta, 70, 0)}, 2, 0, -6.36 * pi / 180);
    ASSERT_EQ(w.Zalamania.size(), 1u);
    EXPECT_TRUE(w.Zalamania[0].Wierzcholek);
    EXPECT_EQ(OpisLancucha(w)[1],
              "  pikieta 150.000, element nr 2: wierzchołek bez łuku, załamanie 6.3600°, odstęp 0.00 mm");
    // Refusals.
    auto odmowa = [&](std::vector<TElementOsi> el, int nr, double dx, double dkat) {
        return Blad([&] { zloz(std::move(el), nr, dx, dkat); });
    };
    EXPECT_EQ(odmowa(odwrotny, 3, 0.0021, 0),
              "element nr 3 (Curve, wiersz 22) nie zaczyna się w końcu poprzedniego elementu (element nr 2 (Curve, "
              "wiersz 21)): odstęp 2.1 mm, dopuszczalny 1 mm.");
    EXPECT_EQ(odmowa(odwrotny, 4, 0, 0.06 * pi / 180),
              "element nr 4 (Line, wiersz 23) zaczyna się pod kątem 0.060° do kierunku na końcu poprzedniego elementu "
              "(element nr 3 (Curve, wiersz 22)); dopuszczalne jest 0.05°.");
    EXPECT_EQ(odmowa({Element(Prosta, 50, 0), Element(Klotoida, 0, 0, 0.01)}, 2, 0, 0),
              "element nr 2 (Spiral, wiersz 21) nie ma dodatniej długości.");
    EXPECT_EQ(odmowa({Element(Prosta, 50, 0), Element(Luk, 10, 0)}, 2, 0, 0),
              "element nr 2 (Curve, wiersz 21) jest łukiem bez promienia.");
    EXPECT_EQ(Blad([&] { ZlozLancuch("X", 0, {}); }), "geometria nie ma elementów.");
}

TEST(Lancuch, NajblizszaPikieta) {
    const TLancuch l = ZlozLancuch("A1", 0, Wszystkie());
    std::mt19937_64 gen(24);
    auto U = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(gen); };
    for (int i = 0; i < 300; ++i) {
        // A point at a known offset square to the chain (inside the smallest radius, 150 m).
        const double s = U(0.5, l.Dlugosc() - 0.5), d = U(-60, 60);
        const TPunkt2D p = PunktLancucha(l, s);
        const double t = KierunekLancucha(l, s);
        const TRzutNaLancuch r = NajblizszaPikieta(l, {p.X + d * std::sin(t), p.Y - d * std::cos(t)});
        EXPECT_NEAR(r.Pik, s, 1e-5) << s << " " << d;
        EXPECT_NEAR(r.Odleglosc, d, 1e-6) << s << " " << d;
    }
    // Beyond the ends: the ends.
    const TPunkt2D a = PunktLancucha(l, 0);
    EXPECT_EQ(NajblizszaPikieta(l, {a.X - 10 * std::cos(0.7), a.Y - 10 * std::sin(0.7)}).Pik, 0);
}

TEST(Lancuch, PikietyZaokraglone) {
    const auto w = PikietyZaokraglone(641.2153, 300, 50);
    ASSERT_EQ(w.size(), 8u);
    const double oczekiwane[] = {641.2153, 650, 700, 750, 800, 850, 900, 941.2153};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(641.2153 + w[i], oczekiwane[i], 1e-9) << i;
    // Starting at 0 these are the rows with a step as the tool has always printed them.
    std::mt19937_64 gen(7);
    for (int i = 0; i < 200; ++i) {
        const double dl = std::uniform_real_distribution<double>(0.01, 3000)(gen);
        const double krok = std::uniform_real_distribution<double>(0.5, 100)(gen);
        EXPECT_EQ(PikietyZaokraglone(0, dl, krok), PikietyCoKrok(dl, krok)) << dl << " " << krok;
    }
    // A start and an end on multiples are not doubled; nothing for a step that is not a number.
    EXPECT_EQ(PikietyZaokraglone(100, 100, 50), (std::vector<double>{0, 50, 100}));
    EXPECT_TRUE(PikietyZaokraglone(0, 100, 0).empty());
    EXPECT_TRUE(PikietyZaokraglone(0, 100, NAN).empty());
}

// The stations a drawing or the ribbon follows: every element's ends and the step within, and for a chain of
// thousands of kilometres (a file's start far from its coordinates) a bounded number instead of millions.
TEST(Lancuch, PikietyWzdluzSaOgraniczone) {
    const TLancuch l = ZlozLancuch("A1", 0, Wszystkie());
    const std::vector<double> s = PikietyWzdluz(l, 2.0, 20'000);
    for (const TElementOsi& e : l.Elementy) {
        EXPECT_TRUE(std::binary_search(s.begin(), s.end(), e.Pik));
        EXPECT_TRUE(std::binary_search(s.begin(), s.end(), e.PikK));
    }
    for (std::size_t i = 1; i < s.size(); ++i) EXPECT_TRUE(s[i] > s[i - 1] && s[i] - s[i - 1] <= 2.0 + 1e-9);

    TElementOsi prosta = Element(TRodzajOsi::Prosta, 6.8e6, 0, NAN, 1);
    prosta.Kierunek = 0.5;
    const TLancuch dluga = ZlozLancuch("A2", 0, {prosta});
    const std::vector<double> d = PikietyWzdluz(dluga, 2.0, 20'000);
    EXPECT_LE(d.size(), 20'002u);
    EXPECT_EQ(d.front(), 0.0);
    EXPECT_NEAR(d.back(), 6.8e6, 1e-6);
}
