// The .tro and .mtp readers and the converter: what each field becomes (the contract every reader keeps is
// test_kontrakt_czytnikow.cpp).

#include "pomocnicze/Pomocnicze.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;

namespace {

void WczytajTRO() {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
}

// Lines separated by '|', each ended with CR LF.
std::string Crlf(const std::string& linie) { return TPlik{Podziel(linie)}.Tekst("\r\n"); }

}  // namespace

TEST(Wczytywanie, PelnyPlikTRO) {
    WczytajTRO();
    ASSERT_EQ(std::vector({TEREN.IlePunktow(), TEREN.IleTrojkatow(), PROJ.IlePunktow(), PROJ.IleTrojkatow(),
                           Trasa.IleZalomow(), IleTrojkatowTEREN(), IleTrojkatowPROJ()}),
              std::vector({4, 2, 3, 1, 3, 2, 1}));
    const TPunktSiatki& p = TEREN.Punkty[1];
    EXPECT_EQ(std::tuple(p.X, p.Y, p.Z, p.Znacznik, p.Numer, p.Nazwa.Tekst()),
              std::tuple(5000100.5, 4600000.25, 121.0, true, 11, "P1"));
    // TEREN triangle: vertices from the points moved to TEREN's lower corner.
    const TTrojkat& t = TEREN.Trojkaty[0];
    const TTrojkatRogi tr = Rogi(TEREN, t);
    EXPECT_EQ(std::tuple(t.Atr1, t.Atr3, t.Nr1, t.Nr2, t.Nr3, t.Rodzaj.Wartosc, t.Rodzaj.Kod, t.Znacznik, t.Kolor,
                         tr.X1 + tr.X2 + tr.X3),
              std::tuple(7, -9, 0, 1, 2, 0.5f, 'H', true, 0x008000, 100.5));
    // PROJ triangle: numbers truncated; its corners are vertices of its own.
    const TTrojkat& qt = PROJ.Trojkaty[0];
    const TTrojkatRogi q = Rogi(PROJ, qt);
    EXPECT_EQ(std::tuple(qt.Atr1, qt.Atr2, qt.Atr3, qt.Nr1, qt.Nr3, qt.Znacznik, qt.Rodzaj.Kod, qt.Kolor),
              std::tuple(1, -2, 3, 0, 2, false, 'N', 0x808080));
    EXPECT_EQ(std::tuple(qt.W1, qt.W2, qt.W3, PROJ.Wierzcholki.size()), std::tuple(0, 1, 2, std::size_t{3}));
    // Route vertices; the pair record "x;1;2" is bad and reads as zeros.
    const TZalom& w = Trasa.Zalomy[1];
    EXPECT_EQ(std::tuple(Trasa.Zalomy[0].Nazwa.Tekst(), w.X, w.Y, Trasa.Dx, w.Flaga2, w.Flaga3),
              std::tuple("W0", 50.0, 80.0, 5000000.0, true, false));
    EXPECT_EQ(std::vector({w.A1, w.A2, w.R, w.Param3, w.Pary[2].Wartosc1, w.Pary[0].Wartosc2}),
              std::vector({30.0f, 35.0f, 60.5f, 3.0f, 6.0f, 0.0f}));
    // Ranges stay in file coordinates; the route, moved by TEREN's lower corner, takes its range after the move.
    EXPECT_EQ(std::tuple(TEREN.Zakres.Xmin, TEREN.Zakres.Zmin, PROJ.Zakres.Ymax, Trasa.Xmin, Trasa.Ymax),
              std::tuple(5000000.0, 120.0, 4600020.0, 5.0, 80.0));
    // Render arrays: local coordinates times 4, farthest (largest P2.Y) first, coloured by kind and shaded.
    const TTrojkatRys& r = TrojkatyPROJ[0];
    EXPECT_EQ(std::tuple(r.P1.X, r.P3.Z, r.Kolor), std::tuple(4 * q.X1, 4 * q.Z3, 0xC89696u));
    EXPECT_NE(r.KolorCieniowany, 0x808080u);
    EXPECT_GE(TrojkatyTEREN[0].P2.Y, TrojkatyTEREN[1].P2.Y);
    // CR LF, no line end after the last line, and the same file twice give the same model.
    const TStan raz = Stan();
    const std::string crlf = PlikTRO().Tekst("\r\n");
    for (const std::string& tekst : {crlf, crlf.substr(0, crlf.size() - 2)}) {
        OtworzTROZBufora(tekst, "a.tro");
        EXPECT_TRUE(Stan() == raz);
    }
    // The .mtp line sections; a .tro load afterwards leaves the lines.
    OtworzMTPZBufora(PlikMTP().Tekst(), "a.mtp");
    ASSERT_EQ(std::tuple(TEREN.IleLinii(), PROJ.IleLinii()), std::tuple(1, 1));
    const TLinia &l = TEREN.Linie[0], &m = PROJ.Linie[0];
    EXPECT_EQ(std::tuple(l.X1, l.Nr2, l.Z2, l.Wartosc, l.Znaczniki[0], l.Znaczniki[1], l.Znaczniki[5]),
              std::tuple(5000000.0, 3, 124.0, 1.5f, true, false, true));
    EXPECT_EQ(std::tuple(m.X1, m.Z2, m.Nr1, m.Nr2, m.Wartosc, m.Znaczniki[4]),
              std::tuple(5000010.0, 122.5, 1, 2, 3.5f, true));
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    EXPECT_EQ(TEREN.IleLinii(), 1);
}

TEST(Wczytywanie, ProjektPoWczytaniuAStanOkna) {
    // A load made aside on a fresh project gives the window's project of the same load; the old one is left
    // whole when it is not the window's. The window's fresh state is a fresh project with empty indices.
    WczytajTRO();
    const TProjekt wczytany = ProjektOkna;
    TProjekt stary;
    std::vector<std::string> komunikaty;
    const TProjekt nowy = ProjektPoWczytaniu(stary, CzytajTRO(PlikTRO().Tekst(), "a.tro"), {}, komunikaty);
    EXPECT_TRUE(nowy == wczytany);
    EXPECT_EQ(komunikaty, KomunikatyTrasy);
    EXPECT_EQ(IndeksyWysokosci(nowy).TEREN->IleTrojkatow(), 2);
    // A copy builds its own indices from its own meshes: emptied, it has none, and the original keeps its own.
    TProjekt kopia = ProjektOkna;
    kopia.TEREN.Trojkaty.clear();
    EXPECT_TRUE(IndeksyWysokosci(kopia).TEREN->Pusty());
    EXPECT_FALSE(IndeksyWysokosci(ProjektOkna).TEREN->Pusty());
    UstawStanOkna(958, 637);
    EXPECT_TRUE(ProjektOkna == TProjekt{});
    EXPECT_TRUE(IndeksyWysokosci(ProjektOkna).TEREN->Pusty() && IndeksyWysokosci(ProjektOkna).PROJ->Pusty());
}

TEST(Wczytywanie, CoZastepujeWczytanie) {
    // Only the header, then a marker in the header: nothing is replaced, and the load
    // sequence leaves the kept triangles where they are (they used to move once more each time).
    WczytajTRO();
    const double x1 = Rog(TEREN, TEREN.Trojkaty[0], 0).X;
    TPlik f = Naglowek();
    OtworzTROZBufora(f.Tekst(), "n.tro");
    f.linie.back() = "#WspTEREN#";
    OtworzTROZBufora(f.Tekst(), "n.tro");
    EXPECT_EQ(std::tuple(TEREN.IlePunktow(), Trasa.IleZalomow(), Rog(TEREN, TEREN.Trojkaty[0], 0).X),
              std::tuple(4, 3, x1));
    // A marker with a trailing blank is no marker, each reader knows only its own
    // markers, and a count of 0 empties its array.
    f = Naglowek();
    f({"#WspTEREN# ", "1"});
    DodajPunkt(f, 1, 2, 3, "F", 4, "X");
    f({"#WspPROJ#", "1"});
    DodajPunkt(f, 7, 8, 9, "F", 4, "Y");
    f({"#TroPROJ#", "0", "______________________________TRASA_2020", "0"});
    OtworzTROZBufora(f.Tekst(), "b.tro");
    EXPECT_EQ(Trasa.IleZalomow(), 0);
    OtworzMTPZBufora(PlikTRO().Tekst(), "c.mtp");
    OtworzTROZBufora(PlikMTP().Tekst(), "d.tro");
    EXPECT_EQ(std::vector({TEREN.IlePunktow(), TEREN.IleTrojkatow(), PROJ.IlePunktow(), PROJ.IleTrojkatow(),
                           IleTrojkatowPROJ(), Trasa.IleZalomow()}),
              std::vector({4, 2, 1, 0, 0, 3}));
    EXPECT_EQ(PROJ.Punkty[0].X, 7);
    // Without TEREN points nothing is shifted.
    ZerujStan();
    OtworzTROZBufora(Naglowek().Tekst() + "#TroPROJ#\n1\n0\n0;1;2\n5;5;5\n6;5;5\n5;6;5\n0;0\n0N\n0\n", "p.tro");
    EXPECT_EQ(std::tuple(Rog(PROJ, PROJ.Trojkaty.at(0), 0).X, TrojkatyPROJ.at(0).P1.X), std::tuple(5, 20));
}

TEST(Wczytywanie, PlikTylkoZTerenemINazwyWindows1250) {
    // The new TEREN triangle runs clockwise: its vertices turn, its indices stay.
    WczytajTRO();
    TPlik f = Naglowek();
    f({"#WspTEREN#", "3"});
    DodajPunkt(f, 20, 30, 41, "F", 0, "\xa3\xb9ka \xaf\xf3\xb3ta");   // Windows-1250
    DodajPunkt(f, 20, 40, 42, "F", 1, "Pikieta pomiarowa nr 12345");  // longer than 20 bytes
    DodajPunkt(f, 30, 30, 43, "F", 2, "C");
    f({"#TroTEREN#", "1"});
    DodajTrojkatTEREN(f, 0, 1, 2, "0H", "clRed");
    OtworzTROZBufora(f.Tekst(), "t.tro");
    const TTrojkat& t = TEREN.Trojkaty[0];
    const TTrojkatRogi r = Rogi(TEREN, t);
    EXPECT_EQ(std::tuple(t.Nr1, t.Nr3, r.X1, r.Z1, r.X3, r.Z3), std::tuple(0, 2, 10.0, 2.0, 0.0, 0.0));
    EXPECT_EQ(std::tuple(PROJ.IlePunktow(), IleTrojkatowPROJ(), Trasa.IleZalomow()), std::tuple(3, 1, 3));
    EXPECT_EQ(Cp1250NaUtf8(TEREN.Punkty[0].Nazwa.Widok()), "Łąka Żółta");
    EXPECT_EQ(TEREN.Punkty[1].Nazwa.Tekst(), "Pikieta pomiarowa nr");
}

TEST(Wczytywanie, TrojkatyPrzedPunktami) {
    // Bad fields and counts of every kind are in the hostile corpus. Here TEREN triangles come before
    // the points: valid for the points in memory, then checked against fewer points further on, or none.
    const std::string tro = Naglowek().Tekst() + "#TroTEREN#\n1\n0\n0\n0\n0\n1\n3\n0\n0\n0H\nF\n0\n";
    ZerujStan();
    OtworzMTPZBufora(PlikMTP().Tekst(), "dobry.mtp");
    const TStan przed = Stan();
    EXPECT_EQ(Blad([&] { OtworzTROZBufora(tro + "#WspTEREN#\n2\n0\n0\n0\nF\n0\n\n1\n0\n0\nF\n1\n\n", "z.tro"); }),
              "Numer wierzchołka trójkąta TEREN 3 jest spoza zakresu punktów TEREN wczytanych dalej w pliku "
              "(2 punktów).\nPlik: z.tro, wiersz: 16");
    EXPECT_TRUE(Stan() == przed);
    ZerujStan();
    EXPECT_EQ(
        Blad([&] { OtworzTROZBufora(tro, "z.tro"); }),
        "Numer wierzchołka trójkąta TEREN 0 wskazuje punkt TEREN, a brak punktów TEREN.\nPlik: z.tro, wiersz: 14");
    EXPECT_EQ(TEREN.IleTrojkatow(), 0);
}

TEST(Przepisywanie, SiedemSekcjiDajePiecWKolejnosciZrodla) {
    // Route first, then PROJ, then TEREN; CR LF and LF mixed (a CR LF line with nothing before it is empty).
    const std::string mtp =
        "h1\nh2\nh3\nh4\nh5\nh6\nh7\nh8\n"
        "______________________________TRASA_2020\n1\nW\n1;2\n0;0;0\n0;0;0\n0;0;0\n0;0;0\nF\nF\nF\n"
        "#Linie200PROJ#P3D\n0\n#Wspolrzedne200PROJ#\n1\n1,5\n2.5\n3\nF\n0\nnazwa\n#Trojkaty200PROJ#P3D\n1\na;b;c\n\n"
        "smiec\n#Linie200TEREN#\n0\n#Wspolrzedne200TEREN#\r\n0\r\n#Trojkaty200TEREN#\r\n0\r\n\r\n";
    std::string baner;
    for (const std::string& l : BanerTRO()) baner += l + "\r\n";
    baner += "\r\n";
    EXPECT_EQ(
        PrzepiszPlikZBufora(mtp, "a.mtp"),
        baner + Crlf("______________________________TRASA_2020|1|W|1;2|0;0;0|0;0;0|0;0;0|0;0;0|F|F|F||#WspPROJ#|1|"
                     "1,5|2.5|3|F|0|nazwa||#TroPROJ#|1|a;b;c|||#WspTEREN#|0||#TroTEREN#|0||"));
    // A triangle section without its empty line swallows the next section; at the end it gets one.
    EXPECT_EQ(PrzepiszPlikZBufora("1\n2\n3\n4\n5\n6\n7\n8\n#Trojkaty200TEREN#\n0\n#Wspolrzedne200PROJ#\n0\n\n"
                                  "#Wspolrzedne200TEREN#\n0\n#Trojkaty200PROJ#P3D\n0",
                                  "b.mtp"),
              baner + Crlf("#TroTEREN#|0|#Wspolrzedne200PROJ#|0|||#WspTEREN#|0||#TroPROJ#|0||"));
}

TEST(Wczytywanie, RodzajPlikuZKoncowkiNazwy) {
    using enum TRodzajPliku;
    // (Each kind's own files open through this in the hostile corpus.)
    const char* nazwy[] = {"m.MTP", "os.Xml", "/k.mtp/x.tro", "ro", "a.tro.bak", ""};
    const TRodzajPliku rodzaje[] = {MTP, XML, TRO, Inny, Inny, Inny};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(RodzajPliku(nazwy[i]), rodzaje[i]) << nazwy[i];
    // Another kind is refused by the open flow before anything is read.
    ZerujStan();
    TEREN.Punkty.resize(2);
    EXPECT_NE(Blad([] { WczytajPlik("/nie/ma/takiego/pliku.txt"); }).find("pliku.txt"), std::string::npos);
    EXPECT_EQ(TEREN.IlePunktow(), 2);
}
