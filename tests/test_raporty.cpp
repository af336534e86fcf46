// The mesh report and the route report: their lines, number texts, the columns of the vertex table.

#include "common/Rownolegle.h"
#include "scena/InfoProjekt.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

using Linie = std::vector<std::string>;
const std::string D(46, '-');

TZalom Zalom(double x, double y, float r = 0, float a1 = 0, float a2 = 0) {
    TZalom z;
    std::tie(z.X, z.Y, z.R, z.A1, z.A2) = std::tuple{x, y, r, a1, a2};
    return z;
}

}  // namespace

TEST(Raporty, RaportSiatekITrasy) {
    ZerujStan();
    UstawLocale l(',');
    OpisTekst = {"stara linia"};
    // PROJ without TEREN: no file range, no shift line; the screen range spans every vertex.
    PROJ.Trojkaty.resize(1);
    PROJ.Zakres = {10, 20, 1, 2, 3, 0.5};
    TrojkatyPROJ = {TTrojkatRys{{4, 8, 0}, {40, 80, 2}, {0, 4, 12}}};
    InfoTerenProj();
    const Linie ogon(OpisTekst.begin() + 12, OpisTekst.end());
    EXPECT_EQ(ogon,
              (Linie{"Ilosc trojkatów PROJ = 1", "Ilosc rysowane = 1", "", "", "Zakres PROJ(ekran) ", "",
                     "X  (min,max) = (0,00 ; 40,00)", "Y  (min,max) = (4,00 ; 80,00)", "Z  (min,max) = (0,00 ; 12,00)",
                     "", "Przesunięcie", "movx  = 0,00 ;  movy = 0,00 ;  movz = 0,00", "", ""}));
    for (const std::string& s : OpisTekst) EXPECT_TRUE(s != "Zakres PROJ" && s.rfind("dx", 0) != 0) << s;

    // A route that failed: only the notice and the build's messages. Table rows:
    // numbers end in columns 5, 19, 34, 49, 59 and 69; a text too long for its
    // column starts one blank after the field before it.
    ZerujStan();
    Trasa.Zalomy = {Zalom(1, 2), Zalom(3, 4)};
    KomunikatyTrasy = {"Definicja trasy musi składać się z min 2 punktów!"};
    InfoTrasy();
    EXPECT_EQ(OpisTekst, (Linie{D, "Info TRASA", D, "", "BRAK PUNKTÓW TRASY (lub definicja nieprawidłowa)!", "",
                                "Komunikaty obliczenia trasy:", KomunikatyTrasy[0]}));
    const std::tuple<int, TZalom, std::string> przypadki[] = {
        {0, Zalom(7.5, 3.25), "   1.          3,25           7,50           0,00      0,00      0,00"},
        {9, Zalom(5500123.456, 6400987.654, 1234.5f, 250.75f, 0.1f),
         "  10.    6400987,65     5500123,46        1234,50    250,75      0,10"},
        {0, Zalom(1, 12345678901234.5), "   1. 12345678901234,50       1,00           0,00      0,00      0,00"},
        {0, Zalom(1, 2, 300, 1e15f, 5), "   1.          2,00           1,00         300,00 999999986991104,00 5,00"},
    };
    for (const auto& [i, z, wiersz] : przypadki) EXPECT_EQ(WierszZalomu(i, z), wiersz);
    EXPECT_EQ(WierszZalomu(123455, Zalom(0, 0)).substr(0, 8), "123456. ");
}

// The reference text in tests/dane/ was checked by hand: ranges and table from the file's vertices
// less the terrain's lowest corner (5500000, 4600000), the last chainage from an independent sum of
// straights, clothoids and arcs (2900.44 m).
TEST(Raporty, RaportTrasyDrogiZgodnyZWzorcem) {
    ZerujStan();
    UstawLocale l(',');
    OtworzTRO(ORVANY_ZRODLA "/Przyklady/Droga.tro");
    ASSERT_TRUE(Trasa.Obliczona && KomunikatyTrasy.empty());
    InfoTrasy();
    std::string wynik;
    for (const std::string& linia : OpisTekst) wynik += linia + "\n";
    EXPECT_EQ(wynik, CzytajPlik(ORVANY_ZRODLA "/tests/dane/raport_trasy_droga.txt"));
}

// The command-line report finds the view's count and range from the meshes instead of making the render arrays:
// its lines are those the window writes right after the same load, on the sample road, on a mesh large enough to
// be gathered in two halves (the extremes in one half or both), on a design
// surface alone and on nothing.
TEST(Raporty, RaportPoWczytaniuJakOkno) {
    UstawLocale l(',');
    auto okno = [](const TProjekt& p, const std::vector<std::string>& komunikaty) {
        ZerujStan();
        PokazProjekt(TProjekt(p), komunikaty);
        InfoTerenProj();
        Linie w = OpisTekst;
        InfoTrasy();
        w.insert(w.end(), OpisTekst.begin(), OpisTekst.end());
        return w;
    };
    auto raport = [](const TProjekt& p, const std::vector<std::string>& komunikaty) {
        ZerujStan();
        return RaportPoWczytaniu(TProjekt(p), komunikaty);
    };

    TProjekt droga;
    std::vector<std::string> komunikaty;
    ZerujStan();
    ASSERT_TRUE(WczytajGrupe(droga, komunikaty, {ORVANY_ZRODLA "/Przyklady/Droga.tro"}));
    ASSERT_FALSE(droga.TEREN.Trojkaty.empty() || droga.PROJ.Trojkaty.empty());
    EXPECT_EQ(raport(droga, komunikaty), okno(droga, komunikaty));
    // A LandXML file of many alignments (the others drawn as lines by the window's load).
    TProjekt osie;
    komunikaty.clear();
    ZerujStan();
    ASSERT_TRUE(WczytajGrupe(osie, komunikaty, {ORVANY_ZRODLA "/tests/dane/osie_civil3d.xml"}));
    ASSERT_GT(osie.Trasa.Osie.size(), 1u);
    EXPECT_EQ(raport(osie, komunikaty), okno(osie, komunikaty));

    // 2 x 300 x 240 triangles, the first thousand reversed: the depth order differs from the mesh order, and the
    // lowest points lie in one half of the mesh, the highest in both.
    TProjekt duzy;
    std::vector<TTrojkatRogi> teren = Siatka(-0.0, 300.0, 0.0, 240.0, 1.0, [](double x, double y) {
        return x > 200.0 && y < 10.0 ? -7.25 : (y > 230.0 ? 6.5 : std::sin(x / 13.0));
    });
    std::reverse(teren.begin(), teren.begin() + 1000);
    UstawTrojkaty(duzy.TEREN, teren);
    ASSERT_GE(duzy.TEREN.Trojkaty.size(), 2 * kRekordyNaDwaWatki);
    UstawTrojkaty(duzy.PROJ, {Trojkat({5, 6, 7}, {-8, 9, -0.0}, {10, -11, 0.0})});
    EXPECT_EQ(raport(duzy, {"komunikat"}), okno(duzy, {"komunikat"}));
    const Linie l1 = raport(duzy, {});
    EXPECT_NE(std::find(l1.begin(), l1.end(), "Ilosc rysowane = 144000"), l1.end());
    EXPECT_NE(std::find(l1.begin(), l1.end(), "Z  (min,max) = (-29,00 ; 26,00)"), l1.end());

    TProjekt projekt;
    projekt.PROJ.Trojkaty = duzy.PROJ.Trojkaty;
    projekt.PROJ.Wierzcholki = duzy.PROJ.Wierzcholki;
    EXPECT_EQ(raport(projekt, {}), okno(projekt, {}));
    EXPECT_EQ(raport(TProjekt{}, {}), okno(TProjekt{}, {}));
    // The window's picture is not made.
    EXPECT_TRUE(TrojkatyTEREN.empty() && TrojkatyPROJ.empty());
}
