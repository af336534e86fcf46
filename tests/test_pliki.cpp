// The .tro and .mtp readers and the converter; the hostile corpus with the messages written beside it.
#include <filesystem>
#include <set>

#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <cstring>

#include "common/BledySystemu.h"
#include "common/ZapisBezpieczny.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;
namespace fs = std::filesystem;

namespace {

const std::string kKatalog = std::string(ORVANY_ZRODLA) + "/tests/hostile";

// A line of oczekiwane.txt: the file, the line its message names ("-" when it loads), the message's
// first line ("-" or "trasa: " and the route's first message when it loads).
struct TOczekiwanie {
    std::string plik, wiersz, komunikat;
};

std::vector<TOczekiwanie> Oczekiwania() {
    std::vector<TOczekiwanie> w;
    for (const std::string& l : Podziel(CzytajPlik(kKatalog + "/oczekiwane.txt"), '\n')) {  // '#' starts a comment
        const auto p = Podziel(l, '\t');
        if (!l.starts_with('#') && p.size() == 3) w.push_back({p[0], p[1], p[2]});
    }
    return w;
}

constexpr int W = 320, H = 240;

// The picture the main window would show now.
std::vector<std::uint32_t> Obraz() {
    std::vector<std::uint32_t> px(W * H);
    TPlotnoRastrowe p(TBuforPikseli{px.data(), W, H, W});
    Przerysuj(p, W, H);
    return px;
}

// A scene loaded before the bad file: meshes, lines, a built route, a quad, the view at a chainage.
void ScenaPrzed() {
    ZerujStan(W, H);
    OtworzMTPZBufora(PlikMTP().Tekst(), "przed.mtp");
    TPlik trasa = Naglowek();
    trasa({"______________________________TRASA_2020", "3"});
    DodajZalom(trasa, "A", "5000000;4600000");
    DodajZalom(trasa, "B", "5000050;4600040", "0;0;30");
    DodajZalom(trasa, "C", "5000100;4600000");
    OtworzTROZBufora(trasa.Tekst(), "trasa.tro");
    if (!Trasa.Obliczona) ADD_FAILURE() << "trasa sceny nie jest obliczona";
    PrzejdzNaPikiete(60);
    Czworokaty.assign(1, TCzworokatRys{{10, 200, 0}, {90, 200, 0}, {90, 200, 60}, {10, 200, 60}});
    PrzeliczRzut();
}

// Loads the file over the scene and checks the outcome against the expectation.
void Sprawdz(const std::string& sciezka, const TOczekiwanie& o) {
    SCOPED_TRACE(o.plik);
    ScenaPrzed();
    const std::vector<std::uint32_t> obrazPrzed = Obraz();  // also empties the viewer lines
    const TStan przed = Stan();
    const std::string blad = Blad([&] { WczytajPlik(sciezka); });
    if (o.wiersz != "-") {
        EXPECT_EQ(blad, o.komunikat + "\nPlik: " + sciezka + (o.wiersz == "0" ? "" : ", wiersz: " + o.wiersz));
        EXPECT_TRUE(Stan() == przed) << "model się zmienił";
        EXPECT_TRUE(Obraz() == obrazPrzed) << "obraz się zmienił";
        return;
    }
    ASSERT_EQ(blad, "");
    EXPECT_EQ(KomunikatyTrasy.empty() ? "-" : "trasa: " + KomunikatyTrasy[0], o.komunikat);
    EXPECT_TRUE(o.komunikat == "-" || !Trasa.Obliczona);
    // Whatever loaded can be drawn, in the general view and along the route.
    (void)Obraz();
    for (double u : {0.0, 0.5, 1.0}) {
        if (!Trasa.Obliczona) break;
        PrzejdzNaPikiete(Trasa.PikMax * u);
        EXPECT_TRUE(std::isfinite(Rzut.TrasaX) && std::isfinite(Rzut.TrasaY));
        (void)Obraz();
    }
}

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
    // TEREN triangle: vertices from the points moved to TEREN's lower corner, Xs from the file moved too.
    const TTrojkat& t = TEREN.Trojkaty[0];
    const TTrojkatRogi tr = Rogi(TEREN, t);
    EXPECT_EQ(std::tuple(t.Atr1, t.Atr3, t.Nr1, t.Nr2, t.Nr3, t.Xs, t.Rodzaj.Wartosc, t.Rodzaj.Kod, t.Znacznik, t.Kolor,
                         tr.X1 + tr.X2 + tr.X3),
              std::tuple(7, -9, 0, 1, 2, 33.25 - 5000000.0, 0.5f, 'H', true, 0x008000, 100.5));
    // PROJ triangle: numbers truncated, the centre instead of the file's plan point.
    const TTrojkat& qt = PROJ.Trojkaty[0];
    const TTrojkatRogi q = Rogi(PROJ, qt);
    EXPECT_EQ(std::tuple(qt.Atr1, qt.Atr2, qt.Atr3, qt.Nr1, qt.Nr3, qt.Znacznik, qt.Rodzaj.Kod, qt.Kolor),
              std::tuple(1, -2, 3, 0, 2, false, 'N', 0x808080));
    EXPECT_NEAR(qt.Xs, (q.X1 + q.X2 + q.X3) / 3, 1e-6);
    EXPECT_NEAR(qt.Ys, (q.Y1 + q.Y2 + q.Y3) / 3, 1e-6);
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

TEST(Przyklad, MTPITROWczytujaSieTakSamo) {
    // The shipped .tro is what the converter makes of the shipped .mtp, written over an old file
    // with nothing left beside it; a missing source leaves the old file. Both load to the same model.
    const std::string mtp = ORVANY_ZRODLA "/Przyklady/Droga.mtp", tro = ORVANY_ZRODLA "/Przyklady/Droga.tro";
    const std::string k = KatalogTymczasowy(), cel = k + "/stary.tro";
    ZapiszPlik(cel, "stara tresc");
    EXPECT_NE(Blad([&] { PrzepiszPlik(k + "/brak.mtp", cel); }).find("brak.mtp"), std::string::npos);
    EXPECT_EQ(CzytajPlik(cel), "stara tresc");
    PrzepiszPlik(mtp, cel);
    EXPECT_EQ(std::tuple(CzytajPlik(cel), std::distance(fs::directory_iterator(k), {})),
              std::tuple(CzytajPlik(tro), 1));
    ZerujStan();
    OtworzMTP(mtp);
    EXPECT_TRUE(Trasa.IleZalomow() == 8 && TEREN.IleTrojkatow() > 20000 && PROJ.IleLinii() > 0 && Trasa.Obliczona &&
                KomunikatyTrasy.empty());
    const TStan zMtp = Stan(false);
    ZerujStan();
    OtworzTRO(tro);
    EXPECT_TRUE(Stan(false) == zMtp);
    // A missing file or a directory: named in the message, nothing changed.
    EXPECT_NE(Blad([&] { OtworzTRO(tro + ".brak"); }).find("Droga.tro.brak"), std::string::npos);
    EXPECT_NE(Blad([&] { OtworzMTP(ORVANY_ZRODLA "/Przyklady"); }), "");
    EXPECT_TRUE(Stan(false) == zMtp);
}

TEST(WrogiePliki, KazdyPlikKorpusuWczytanyIPrzepisany) {
    const std::vector<TOczekiwanie> oczekiwania = Oczekiwania();
    ASSERT_GE(oczekiwania.size(), 50u);
    const std::string k = KatalogTymczasowy(), cel = k + "/cel.tro";
    std::set<std::string> opisane;
    for (const auto& o : oczekiwania) {
        opisane.insert(o.plik);
        Sprawdz(kKatalog + "/" + o.plik, o);
        // The converter gives a .tro file, or a message naming the file and the old target untouched.
        ZapiszPlik(cel, "stary plik");
        const std::string sc = kKatalog + "/" + o.plik, b = Blad([&] { PrzepiszPlik(sc, cel); });
        EXPECT_TRUE(b.empty() ? CzytajPlik(cel).starts_with(BanerTRO()[0] + "\r\n")
                              : CzytajPlik(cel) == "stary plik" && b.find("\nPlik: " + sc) != std::string::npos)
            << b;
        EXPECT_EQ(std::distance(fs::directory_iterator(k), fs::directory_iterator()), 1);  // no temporary left
    }
    for (const auto& w : fs::directory_iterator(kKatalog)) {
        const std::string n = w.path().filename().string();
        EXPECT_TRUE(n == "oczekiwane.txt" || opisane.count(n)) << "brak oczekiwania dla " << n;
    }
}

TEST(WrogiePliki, WierszPiecdziesiatMegabajtowITrasaStuTysiecyZalomow) {
    const std::string k = KatalogTymczasowy();
    // The whole file one line: a header line, nothing is read (a long field's message: the conversion tests).
    ZapiszPlik(k + "/linia.tro", std::string(50u << 20, 'x'));
    Sprawdz(k + "/linia.tro", {"linia.tro", "-", "-"});
    // A zigzag of 100,000 vertices with an arc on every inner one, built and looked up past its very end.
    const int n = 100000;
    TPlik f = Naglowek();
    f({"______________________________TRASA_2020", std::to_string(n)});
    for (int i = 0; i < n; ++i)
        DodajZalom(f, "Z" + std::to_string(i), std::to_string(i * 100) + ";" + (i % 2 ? "50" : "0"),
                   i == 0 || i == n - 1 ? "0;0;0" : "0;0;20");
    ZapiszPlik(k + "/dluga.tro", f.Tekst("\r\n"));
    Sprawdz(k + "/dluga.tro", {"dluga.tro", "-", "-"});
    ASSERT_EQ(Trasa.IleZalomow(), n);
    const TElementTrasy& ostatni = Trasa.ElementyTrasy.back();
    double x = std::nan(""), y = std::nan("");
    PunktNaPikiecie(Trasa.PikMax + 1, x, y);
    // PikMax is a float: the slider's end lies within its rounding of the true end.
    EXPECT_LE(std::hypot(x - ostatni.X, y - ostatni.Y), std::fabs(Trasa.PikMax - ostatni.PikKKP2) + 0.002);
}

TEST(WrogiePliki, GranicaWspolrzednychUrzadzenieIPotok) {
    // Coordinates up to 1e12 load, beyond it (the last value only) the file is refused.
    for (const char* v : {"1e12", "-1000000000000", "999999999999,99", "-1,0000001e12"}) {
        TPlik f = Naglowek();
        f({"#WspTEREN#", "1", "0", "0", v, "F", "0", "A"});
        ZerujStan();
        EXPECT_EQ(Blad([&] { OtworzTROZBufora(f.Tekst(), "g.tro"); }).empty(), v[2] != ',') << v;
    }
    ScenaPrzed();
    const TStan przed = Stan();
    const std::string k = KatalogTymczasowy();
    // A device never ends: refused before a byte is read. A pipe nobody writes to is empty, not a wait.
    EXPECT_EQ(Blad([] { OtworzTRO("/dev/zero"); }),
              "Nie można otworzyć pliku /dev/zero: to urządzenie, a nie plik z danymi.");
    ASSERT_EQ(::mkfifo((k + "/potok.tro").c_str(), 0600), 0);
    EXPECT_TRUE(Blad([&] { OtworzTRO(k + "/potok.tro"); }).starts_with("Plik jest pusty."));
    EXPECT_TRUE(Stan() == przed);
}

// Under the C locale the system words its errors in English; every reader and writer says the common causes in
// Polish, with the file's name, and an uncommon one with its number beside the system's text.
TEST(WrogiePliki, PrzyczynyBledowSystemuPoPolsku) {
    const std::string poprzedni = std::setlocale(LC_MESSAGES, nullptr);
    std::setlocale(LC_MESSAGES, "C");
    for (int e : {ENOENT, EACCES, EPERM, EISDIR, ENOTDIR, ELOOP, ENOSPC, EROFS, EMFILE, ENFILE, EDQUOT, EIO}) {
        const std::string t = OpisBleduSystemu(e);
        EXPECT_TRUE(t.find(std::strerror(e)) == std::string::npos && !t.starts_with("błąd systemu")) << e << ": " << t;
    }
    EXPECT_EQ(OpisBleduSystemu(EPROTO),
              "błąd systemu nr " + std::to_string(EPROTO) + " (" + std::strerror(EPROTO) + ")");
    ScenaPrzed();
    const TStan przed = Stan();
    const std::string k = KatalogTymczasowy(), brak = k + "/nie_ma/";
    const std::string nieMa = ": nie ma takiego pliku ani katalogu";
    const std::pair<std::string, std::string> przypadki[] = {
        {Blad([&] { OtworzTRO(brak + "a.tro"); }), "Nie można otworzyć pliku " + brak + "a.tro" + nieMa},
        {Blad([&] { OtworzTRO(k); }), "Nie można otworzyć pliku " + k + ": to jest katalog, a nie plik"},
        {Blad([&] { OtworzLandXML(brak + "a.xml"); }), "Nie można otworzyć pliku " + brak + "a.xml" + nieMa},
        {Blad([&] { OtworzNMT({brak + "a.asc"}); }),
         "Nie można otworzyć pliku siatki" + nieMa + ".\nPlik: " + brak + "a.asc"},
        {Blad([&] { ZapiszBezpiecznie(brak + "a.xml", "x"); }),
         "Nie można zapisać pliku " + brak + "a.xml" + nieMa + "."},
    };
    for (const auto& [komunikat, oczekiwany] : przypadki) EXPECT_EQ(komunikat, oczekiwany);
    EXPECT_TRUE(Stan() == przed);
    std::setlocale(LC_MESSAGES, poprzedni.c_str());
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
