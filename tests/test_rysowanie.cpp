// Projection, shading, the frame order of the redraw, the frame box with the
// sky, and the parameters text, checked through a canvas that records calls.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Wywolanie {
    std::string Rodzaj;  // "pioro", "pedzel", "prostokat", "wielokat", "linia", "tekst", "obraz"
    TKolor Kolor = 0;
    std::vector<int> Liczby;
    std::string Tekst;
};

class PlotnoZapis : public TPlotno {
public:
    std::vector<Wywolanie> w;
    TKolor pioro = 0, pedzel = 0;

    void UstawPioro(TKolor k) override { pioro = k; w.push_back({"pioro", k, {}, {}}); }
    void UstawPedzel(TKolor k) override { pedzel = k; w.push_back({"pedzel", k, {}, {}}); }
    void Prostokat(int x1, int y1, int x2, int y2) override { w.push_back({"prostokat", pedzel, {x1, y1, x2, y2}, {}}); }
    void Wielokat(const TPunktEkranu* p, int ile) override {
        Wywolanie z{"wielokat", pedzel, {}, {}};
        for (int i = 0; i < ile; ++i) z.Liczby.insert(z.Liczby.end(), {p[i].X, p[i].Y});
        w.push_back(z);
    }
    void Linia(int x1, int y1, int x2, int y2) override { w.push_back({"linia", pioro, {x1, y1, x2, y2}, {}}); }
    void Tekst(int x, int y, const std::string& t) override { w.push_back({"tekst", pedzel, {x, y}, t}); }
    void RozciagnijObraz(int l, int g, int p, int d, const TObraz&) override {
        w.push_back({"obraz", 0, {l, g, p, d}, {}});
    }

    // The kinds of the drawing calls (colour settings left out), in order.
    std::vector<std::string> Rysunki() const {
        std::vector<std::string> r;
        for (const auto& z : w)
            if (z.Rodzaj != "pioro" && z.Rodzaj != "pedzel") r.push_back(z.Rodzaj);
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

TTrojkatRys Trojkat(TPunkt3D a, TPunkt3D b, TPunkt3D c, TKolor kolor) {
    TTrojkatRys r;
    r.P1 = a;
    r.P2 = b;
    r.P3 = c;
    r.Kolor = kolor;
    return r;
}

TCzworokatRys Czworokat(TPunkt3D a, TPunkt3D b, TPunkt3D c, TPunkt3D d, TKolor kolor) {
    TCzworokatRys r;
    r.P1 = a;
    r.P2 = b;
    r.P3 = c;
    r.P4 = d;
    r.Kolor = kolor;
    return r;
}

class Rysowanie : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        Niebo = TObraz{};
    }
    void TearDown() override { ZerujStan(); }
};

// ---------------------------------------------------------------------------
// Shading

using Cieniowanie = Rysowanie;

TEST_F(Cieniowanie, PrzykladTrojkataICzworokataZeStartowymiWartosciami) {
    TrojkatyTEREN.push_back(Trojkat({0, 0, 1}, {0, 0, 0}, {0, 1, 0}, Szary(128)));
    Czworokaty.push_back(Czworokat({0, 0, 1}, {0, 0, 0}, {0, 1, 0}, {5, 5, 5}, Szary(128)));
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, Szary(145));
    EXPECT_EQ(TrojkatyTEREN[0].KolorObrysu, Szary(140));
    EXPECT_EQ(Czworokaty[0].KolorCieniowany, Szary(116));
    EXPECT_EQ(Czworokaty[0].KolorObrysu, Szary(111));
}

TEST_F(Cieniowanie, KazdyKanalOsobnoIKolejnoscTablic) {
    // Red 10, green 100, blue 250: a brightening of 17 clamps only blue.
    const TKolor kolor = 10u | (100u << 8) | (250u << 16);
    TrojkatyPROJ.push_back(Trojkat({0, 0, 1}, {0, 0, 0}, {0, 1, 0}, kolor));
    // Reversed vertex order turns the face away from the light: darkened by 17 (trunc of -17.675).
    TrojkatyPROJ.push_back(Trojkat({0, 1, 0}, {0, 0, 0}, {0, 0, 1}, kolor));
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyPROJ[0].KolorCieniowany, 27u | (117u << 8) | (255u << 16));
    EXPECT_EQ(TrojkatyPROJ[1].KolorCieniowany, 0u | (83u << 8) | (233u << 16));
    EXPECT_EQ(TrojkatyPROJ[1].KolorObrysu, 0u | (78u << 8) | (228u << 16));
}

TEST_F(Cieniowanie, ScianaProstopadlaDoSwiatlaZachowujeKolor) {
    // A horizontal face under the horizontal start-up light.
    const TKolor kolor = 0x00336699;
    TrojkatyTEREN.push_back(Trojkat({1, 0, 0}, {0, 0, 0}, {0, 1, 0}, kolor));
    Czworokaty.push_back(Czworokat({1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 1, 0}, kolor));
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, kolor);
    EXPECT_EQ(Czworokaty[0].KolorCieniowany, kolor);
}

TEST_F(Cieniowanie, OgromneNatNieWychodziPozaZakresKanalow) {
    nat = 2000000000;
    TrojkatyTEREN.push_back(Trojkat({0, 0, 1}, {0, 0, 0}, {0, 1, 0}, Szary(128)));
    TrojkatyTEREN.push_back(Trojkat({0, 1, 0}, {0, 0, 0}, {0, 0, 1}, Szary(128)));
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, Szary(255));
    EXPECT_EQ(TrojkatyTEREN[0].KolorObrysu, Szary(250));
    EXPECT_EQ(TrojkatyTEREN[1].KolorCieniowany, Szary(0));
    EXPECT_EQ(TrojkatyTEREN[1].KolorObrysu, Szary(0));
    // A light so long that the offset overflows still saturates, in both directions.
    Swiatlo = {1e300, 1e300, 0};
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, Szary(255));
    EXPECT_EQ(TrojkatyTEREN[1].KolorCieniowany, Szary(0));
}

TEST_F(Cieniowanie, SwiatloDlugosciDwaPodwajaPrzesuniecie) {
    nat = 10;
    Swiatlo = {-1, 0, 0};  // length 1: d = trunc(10 * 1) = 10 for a normal (-1, 0, 0)
    TrojkatyTEREN.push_back(Trojkat({0, 0, 1}, {0, 0, 0}, {0, 1, 0}, Szary(100)));
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, Szary(90));
    Swiatlo = {-2, 0, 0};
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, Szary(80));
}

TEST_F(Cieniowanie, BezObrysuKolorObrysuRownyWypelnieniu) {
    RysObrys = false;
    TrojkatyTEREN.push_back(Trojkat({0, 0, 1}, {0, 0, 0}, {0, 1, 0}, Szary(128)));
    Czworokaty.push_back(Czworokat({0, 0, 1}, {0, 0, 0}, {0, 1, 0}, {0, 1, 1}, Szary(128)));
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyTEREN[0].KolorObrysu, TrojkatyTEREN[0].KolorCieniowany);
    EXPECT_EQ(Czworokaty[0].KolorObrysu, Czworokaty[0].KolorCieniowany);
}

TEST_F(Cieniowanie, WspolliniowyRekordZachowujeKolorBazowy) {
    TrojkatyTEREN.push_back(Trojkat({0, 0, 0}, {1, 1, 1}, {2, 2, 2}, Szary(128)));
    TrojkatyTEREN.push_back(Trojkat({0, 0, 1}, {0, 0, 0}, {0, 1, 0}, Szary(128)));
    PrzeliczRzut();
    EXPECT_EQ(TrojkatyTEREN[0].KolorCieniowany, Szary(128));
    EXPECT_EQ(TrojkatyTEREN[0].KolorObrysu, Szary(123));
    EXPECT_EQ(TrojkatyTEREN[1].KolorCieniowany, Szary(145));  // the recompute goes on
}

// ---------------------------------------------------------------------------
// Projection

using Rzutowanie = Rysowanie;

TEST_F(Rzutowanie, PunktNaPlaszczyznieEkranuRysowanyJedenDoJednego) {
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    EXPECT_EQ(EkranX(123.9, 0), 123);
    EXPECT_EQ(EkranY(0, 100.2, 637), 536);
    Rzut.OkoX = -40;  // wherever the eye is
    Rzut.OkoZ = 9000;
    EXPECT_EQ(EkranX(123.9, 0), 123);
    EXPECT_EQ(EkranY(0, 100.2, 637), 536);
}

TEST_F(Rzutowanie, GlebokoscSiedemsetZmniejszaOPolowe) {
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    EXPECT_EQ(EkranX(879, 700), 479 + 200);
    EXPECT_EQ(EkranX(79, 700), 479 - 200);
    EXPECT_EQ(EkranY(700, 100, 637), 637 - (500 - 200));
}

TEST_F(Rzutowanie, ObcinanieWStroneZera) {
    Rzut.OkoX = 0;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 0;
    EXPECT_EQ(EkranX(-3.7, 0), -3);
    EXPECT_EQ(EkranX(3.7, 0), 3);
    EXPECT_EQ(EkranY(0, 10.7, 7), -3);  // 7 - 10.7 = -3.7
}

TEST_F(Rzutowanie, PunktNaGlebokosciOka) {
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    EXPECT_EQ(EkranX(100, -700), 0);
    // No division by zero: a defined row, drawing goes on.
    const int y = EkranY(-700, 100, 637);
    EXPECT_GE(y, -2000000000);
    EXPECT_LE(y, 2000000000);
}

TEST_F(Rzutowanie, PunktZaOkiemJakPrzedNim) {
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    EXPECT_EQ(EkranX(879, -1400), EkranX(879, 0));
}

TEST_F(Rzutowanie, WynikiPozaZakresemLiczbCalkowitychSaOgraniczone) {
    Rzut.OkoX = 0;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 0;
    const int x = EkranX(1e300, 0);
    const int y = EkranY(-700 + 1e-12, -1e30, 637);
    EXPECT_GT(x, 1000000000);
    EXPECT_GT(y, 1000000000);
    EXPECT_LT(EkranX(-1e300, 0), -1000000000);
    EXPECT_EQ(EkranX(std::nan(""), 0), 0);
}

// ---------------------------------------------------------------------------
// The frame order of the redraw

using Klatka = Rysowanie;

TEST_F(Klatka, KolejnoscWarstw) {
    Niebo = {2, 2, {0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu}};
    Rzut.RysujParametryEkran = true;
    Czworokaty.push_back(Czworokat({0, 0, 0}, {10, 0, 0}, {10, 0, 10}, {0, 0, 10}, 0x000001));
    TrojkatyTEREN.push_back(Trojkat({0, 0, 0}, {10, 0, 0}, {0, 0, 10}, 0x000002));
    TrojkatyTEREN.push_back(Trojkat({0, 0, 0}, {20, 0, 0}, {0, 0, 10}, 0x000003));
    TrojkatyPROJ.push_back(Trojkat({0, 0, 0}, {30, 0, 0}, {0, 0, 10}, 0x000004));
    PrzeliczRzut();
    OpisTekst = {"stara linia"};

    PlotnoZapis p;
    Przerysuj(p, 958, 637);
    const auto r = p.Rysunki();
    ASSERT_GE(r.size(), 5u);
    // Frame rectangle first, in the button face with a black pen.
    ASSERT_EQ(p.w[0].Rodzaj, "pedzel");
    EXPECT_EQ(p.w[0].Kolor, clBtnFace);
    EXPECT_EQ(p.w[1].Rodzaj, "pioro");
    EXPECT_EQ(p.w[1].Kolor, 0u);
    EXPECT_EQ(p.w[2].Rodzaj, "prostokat");
    EXPECT_EQ(p.w[2].Liczby, (std::vector<int>{0, 0, 958, 637}));

    // Then the walls and grid, the sky, then the records, then 7 text lines.
    std::vector<TKolor> wypelnienia;
    for (const auto& z : p.Tylko("wielokat")) wypelnienia.push_back(z.Kolor);
    ASSERT_EQ(wypelnienia.size(), 3u + 4u);
    EXPECT_EQ(wypelnienia[3], Czworokaty[0].KolorCieniowany);
    EXPECT_EQ(wypelnienia[4], TrojkatyTEREN[0].KolorCieniowany);
    EXPECT_EQ(wypelnienia[5], TrojkatyTEREN[1].KolorCieniowany);
    EXPECT_EQ(wypelnienia[6], TrojkatyPROJ[0].KolorCieniowany);

    size_t obraz = 0, pierwszyRekord = 0, pierwszyTekst = 0, ostatniaLinia = 0, ileWielokatow = 0;
    for (size_t i = 0; i < r.size(); ++i) {
        if (r[i] == "obraz") obraz = i;
        if (r[i] == "linia") ostatniaLinia = i;
        if (r[i] == "wielokat" && ++ileWielokatow == 4) pierwszyRekord = i;
        if (r[i] == "tekst" && !pierwszyTekst) pierwszyTekst = i;
    }
    EXPECT_LT(ostatniaLinia, obraz);
    EXPECT_LT(obraz, pierwszyRekord);
    EXPECT_LT(pierwszyRekord, pierwszyTekst);
    EXPECT_EQ(r.back(), "tekst");
    const auto teksty = p.Tylko("tekst");
    ASSERT_EQ(teksty.size(), 7u);
    EXPECT_EQ(teksty[0].Liczby, (std::vector<int>{200, 300}));
    EXPECT_EQ(teksty[6].Liczby, (std::vector<int>{200, 372}));
    EXPECT_TRUE(OpisTekst.empty());
}

TEST_F(Klatka, RekordyRysowaneWielokatemZeSwoimiKolorami) {
    Rzut.RysujLinie = Rzut.RysujNiebo = false;
    TrojkatyPROJ.push_back(Trojkat({100, 0, 10}, {200, 0, 20}, {300, 0, 30}, 0x123456));
    TrojkatyPROJ[0].KolorObrysu = 0x0A0B0C;
    TrojkatyPROJ[0].KolorCieniowany = 0x0D0E0F;
    PlotnoZapis p;
    Przerysuj(p, 958, 637);
    const auto w = p.Tylko("wielokat");
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].Kolor, 0x0D0E0Fu);
    EXPECT_EQ(p.pioro, 0x0A0B0Cu);
    EXPECT_EQ(w[0].Liczby, (std::vector<int>{100, 627, 200, 617, 300, 607}));
}

TEST_F(Klatka, WylaczoneFlagiPomijajaSwojeWarstwy) {
    Niebo = {1, 1, {0xFFFFFFFFu}};
    Czworokaty.push_back(Czworokat({0, 0, 0}, {10, 0, 0}, {10, 0, 10}, {0, 0, 10}, 1));
    TrojkatyTEREN.push_back(Trojkat({0, 0, 0}, {10, 0, 0}, {0, 0, 10}, 2));
    TrojkatyPROJ.push_back(Trojkat({0, 0, 0}, {30, 0, 0}, {0, 0, 10}, 3));
    Rzut.RysujLinie = Rzut.RysujNiebo = Rzut.RysujTEREN = Rzut.RysujPROJ = false;
    Rzut.RysujParametryEkran = false;
    PlotnoZapis p;
    Przerysuj(p, 958, 637);
    // Only the framed area and the test solid, which has no flag.
    EXPECT_EQ(p.Rysunki(), (std::vector<std::string>{"prostokat", "wielokat"}));

    Rzut.RysujTEREN = true;
    PlotnoZapis p2;
    Przerysuj(p2, 958, 637);
    EXPECT_EQ(p2.Rysunki(), (std::vector<std::string>{"prostokat", "wielokat", "wielokat"}));
}

// ---------------------------------------------------------------------------
// Frame box and sky

using Tlo = Rysowanie;

TEST_F(Tlo, SiatkaPodlogiDlaObszaru958) {
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    Rzut.RysujNiebo = false;
    // Depth lines: the near end lies on the screen plane, so its column is trunc(x).
    std::vector<int> oczekiwaneX;
    for (double t = 478.5; t < 957; t += 50) oczekiwaneX.push_back(static_cast<int>(t));
    for (double t = 428.5; t > 0; t -= 50) oczekiwaneX.push_back(static_cast<int>(t));
    ASSERT_EQ(oczekiwaneX.front(), 478);
    ASSERT_EQ(oczekiwaneX[9], 928);
    ASSERT_EQ(oczekiwaneX.back(), 28);

    PlotnoZapis p;
    Przerysuj(p, 958, 637);
    const auto linie = p.Tylko("linia");
    ASSERT_EQ(linie.size(), 10u + 10u + 9u);
    for (const auto& l : linie) EXPECT_EQ(l.Kolor, 0xA0A0A0u);
    // Cross lines at depths 0, 50, ..., 450 from x = 0 to x = 957, height 0.
    for (int i = 0; i < 10; ++i) {
        const double t = 50.0 * i;
        EXPECT_EQ(linie[i].Liczby, (std::vector<int>{EkranX(0, t), EkranY(t, 0, 637), EkranX(957, t), EkranY(t, 0, 637)}))
            << "depth " << t;
    }
    // Depth lines from depth 0 to 500; none on the side walls (x = 0 and x = 957).
    for (size_t i = 0; i < oczekiwaneX.size(); ++i) {
        const auto& l = linie[10 + i].Liczby;
        EXPECT_EQ(l[0], oczekiwaneX[i]);
        EXPECT_EQ(l[1], 637);
        const double x = (i < 10 ? 478.5 + 50.0 * i : 428.5 - 50.0 * (i - 10));
        EXPECT_EQ(l[2], EkranX(x, 500));
        EXPECT_EQ(l[3], EkranY(500, 0, 637));
    }
}

TEST_F(Tlo, TrzyScianyWKolorzeTlaZCzarnymObrysem) {
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    Rzut.RysujNiebo = false;
    PlotnoZapis p;
    Przerysuj(p, 958, 637);
    const auto w = p.Tylko("wielokat");
    ASSERT_EQ(w.size(), 3u);
    for (const auto& s : w) EXPECT_EQ(s.Kolor, clBtnFace);
    // The floor: near corners on the screen plane at row 637, far corners on the far wall.
    EXPECT_EQ(w[0].Liczby, (std::vector<int>{0, 637, 957, 637, EkranX(957, 500), EkranY(500, 0, 637), EkranX(0, 500),
                                             EkranY(500, 0, 637)}));
}

TEST_F(Tlo, NieboNaTylnejScianie) {
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    Niebo = {1, 1, {0xFFFFFFFFu}};
    PlotnoZapis p;
    Przerysuj(p, 958, 637);
    const auto o = p.Tylko("obraz");
    ASSERT_EQ(o.size(), 1u);
    // Far wall at depth 500: scale 700 / 1200.
    EXPECT_EQ(o[0].Liczby, (std::vector<int>{200, 57, 757, 428}));
    // Exactly as wide as the floor's far edge, and its bottom on that edge.
    EXPECT_EQ(o[0].Liczby[0], EkranX(0, 500) + 1);
    EXPECT_EQ(o[0].Liczby[2], EkranX(957, 500));
    EXPECT_EQ(o[0].Liczby[3], EkranY(500, 0, 637));

    // Without the lines the sky stays in its place; the eye moved sideways moves it.
    Rzut.RysujLinie = false;
    PlotnoZapis p2;
    Przerysuj(p2, 958, 637);
    EXPECT_EQ(p2.Rysunki(), (std::vector<std::string>{"prostokat", "obraz"}));
    EXPECT_EQ(p2.Tylko("obraz")[0].Liczby, o[0].Liczby);
    Rzut.OkoX += 100;
    PlotnoZapis p3;
    Przerysuj(p3, 958, 637);
    EXPECT_NE(p3.Tylko("obraz")[0].Liczby[0], o[0].Liczby[0]);
}

TEST_F(Tlo, BrakObrazuNiebaNieZatrzymujeRysowania) {
    Niebo = TObraz{};
    PlotnoZapis p;
    Przerysuj(p, 958, 637);
    EXPECT_TRUE(p.Tylko("obraz").empty());
    EXPECT_EQ(p.Tylko("wielokat").size(), 3u);
}

// ---------------------------------------------------------------------------
// Parameters text

using Parametry = Rysowanie;

TEST_F(Parametry, SiedemLiniiZPrzecinkiem) {
    UstawLocale przecinek(',');
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500.5;
    Rzut.PolEkranX = 479;
    Rzut.katT = kPi / 2;
    Rzut.alfa = kPi;
    Rzut.TrasaX = 1234.567;
    Rzut.TrasaY = -0.505;
    Rzut.ObrotX = kPi / 2;
    Rzut.PrzesunZ = 10.5;
    PlotnoZapis p;
    PiszParametry(p, 200, 300);
    const auto t = p.Tylko("tekst");
    ASSERT_EQ(t.size(), 7u);
    for (const auto& l : t) EXPECT_EQ(l.Kolor, 0x00FFFFu);  // on yellow
    EXPECT_EQ(t[0].Tekst, "Wsp. trasa  X = 1234,57  Y  = -0,51 katT[rd]= 1,57 [st]  = 90,00");
    EXPECT_EQ(t[1].Tekst, "PolEkranX = 479,00");
    EXPECT_EQ(t[2].Tekst, "alfa[rd]= 3,14 [st]  = 180,00");
    EXPECT_EQ(t[3].Tekst, "skala   = 12,00");
    EXPECT_EQ(t[4].Tekst, "Oko Xo = 479 Y = -700 Z = 500,5");
    EXPECT_EQ(t[5].Tekst, "przesun   X = 0 Y = 0 Z = 10,5");
    EXPECT_EQ(t[6].Tekst, "obrot     oX = 1,57 oY = 0 oZ = 0");
    for (int i = 0; i < 7; ++i) EXPECT_EQ(t[i].Liczby, (std::vector<int>{200, 300 + 12 * i}));
}

}  // namespace
