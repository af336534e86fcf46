// The .tro and .mtp readers (sections, the all-or-nothing load, bad files) and
// the .mtp to .tro converter.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "model/ZapisywanieOdczytywanie.h"
#include "pomocnicze/Pomocnicze.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;

namespace {

std::string Blad(auto&& f) try {
    f();
    return "(brak błędu)";
} catch (const BladKonwersji& e) {
    return e.what();
}

std::string BladTRO(const std::string& dane) { return Blad([&] { OtworzTROZBufora(dane, "zly.tro"); }); }

// Loads the sample .tro into a clean state.
void WczytajTRO() {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
}

// The 1-based number of the line `po` lines after the marker.
int Wiersz(const TPlik& f, const std::string& znacznik, int po) {
    return static_cast<int>(std::find(f.linie.begin(), f.linie.end(), znacznik) - f.linie.begin()) + 1 + po;
}

}  // namespace

TEST(Wczytywanie, PelnyPlikTRO) {
    WczytajTRO();
    ASSERT_EQ(std::vector({TEREN.IlePunktow(), TEREN.IleTrojkatow(), PROJ.IlePunktow(), PROJ.IleTrojkatow(),
                           Trasa.IleZalomow(), IleTrojkatowTEREN(), IleTrojkatowPROJ()}),
              std::vector({4, 2, 3, 1, 3, 2, 1}));
    const TPunktSiatki& p = TEREN.Punkty[1];
    EXPECT_EQ(std::tuple(p.X, p.Y, p.Z, p.Znacznik, p.Numer, p.Nazwa.Tekst()),
              std::tuple(5000100.5, 4600000.25, 121.0, true, 11, "P1"));
    // TEREN triangle: vertices from the points moved to TEREN's lower corner, Xs and Ys from the file.
    const TTrojkat& t = TEREN.Trojkaty[0];
    EXPECT_EQ(std::tuple(t.Atr1, t.Atr3, t.Nr1, t.Nr2, t.Nr3, t.Xs, t.Rodzaj.Kod, t.Znacznik, t.Kolor),
              std::tuple(7, -9, 0, 1, 2, 33.25 - 5000000.0, 'H', true, 0x008000));
    EXPECT_EQ(std::tuple(t.Rodzaj.Wartosc, t.X1 + t.X2 + t.X3, TEREN.Zakres.Zmin), std::tuple(0.5f, 100.5, 120.0));
    // PROJ triangle: numbers truncated, the centre instead of the file's plan point.
    const TTrojkat& q = PROJ.Trojkaty[0];
    EXPECT_EQ(std::tuple(q.Atr1, q.Atr2, q.Atr3, q.Nr1, q.Nr3, q.Znacznik, q.Rodzaj.Kod, q.Kolor),
              std::tuple(1, -2, 3, 0, 2, false, 'N', 0x808080));
    EXPECT_NEAR(q.Xs, (q.X1 + q.X2 + q.X3) / 3, 1e-6);
    EXPECT_NEAR(q.Ys, (q.Y1 + q.Y2 + q.Y3) / 3, 1e-6);
    // Route vertices; the pair record "x;1;2" is bad and reads as zeros.
    const TZalom& w = Trasa.Zalomy[1];
    EXPECT_EQ(std::tuple(Trasa.Zalomy[0].Nazwa.Tekst(), w.X, w.Y, Trasa.Dx, w.Flaga2, w.Flaga3),
              std::tuple("W0", 50.0, 80.0, 5000000.0, true, false));
    EXPECT_EQ(std::vector({w.A1, w.A2, w.R, w.Param3, w.Pary[2].Wartosc1, w.Pary[0].Wartosc2}),
              std::vector({30.0f, 35.0f, 60.5f, 3.0f, 6.0f, 0.0f}));
}

TEST(Wczytywanie, TenSamModel) {
    // LF, CR LF, no line end after the last line, and the same file twice.
    WczytajTRO();
    const std::string raz = Zrzut();
    std::string bezKonca = PlikTRO().Tekst("\r\n");
    for (std::string t : {PlikTRO().Tekst("\r\n"), bezKonca.substr(0, bezKonca.size() - 2)}) {
        OtworzTROZBufora(t, "a.tro");
        EXPECT_EQ(Zrzut(), raz);
    }
    OtworzMTPZBufora(PlikMTP().Tekst(), "a.mtp");
    const std::string mtp = Zrzut();
    OtworzMTPZBufora(PlikMTP().Tekst(), "a.mtp");
    EXPECT_EQ(Zrzut(), mtp);
}

TEST(Wczytywanie, SamNaglowekIZnacznikWNaglowku) {
    // Nothing is replaced, yet the load sequence runs and moves the kept triangles once more.
    WczytajTRO();
    const double x1 = TEREN.Trojkaty[0].X1;
    TPlik n = Naglowek();
    OtworzTROZBufora(n.Tekst(), "n.tro");
    n.linie.back() = "#WspTEREN#";
    OtworzTROZBufora(n.Tekst(), "n.tro");
    EXPECT_EQ(std::tuple(TEREN.IlePunktow(), Trasa.IleZalomow(), TEREN.Trojkaty[0].X1),
              std::tuple(4, 3, x1 - 2 * 5000000.0));
    EXPECT_EQ(BladTRO("") + BladTRO("a\nb\nc\n"), "(brak błędu)(brak błędu)");
}

TEST(Wczytywanie, ZnacznikiRozpoznaneDokladnie) {
    WczytajTRO();
    TPlik f = Naglowek();
    f({"#WspTEREN# ", "1"});  // a trailing blank: its section is skipped as ordinary lines
    DodajPunkt(f, 1, 2, 3, "F", 4, "X");
    f({"#WspPROJ#", "1"});
    DodajPunkt(f, 7, 8, 9, "F", 4, "Y");
    OtworzTROZBufora(f.Tekst(), "b.tro");
    ASSERT_EQ(std::tuple(TEREN.IlePunktow(), PROJ.IlePunktow()), std::tuple(4, 1));
    EXPECT_EQ(PROJ.Punkty[0].X, 7);
    // Each reader knows only its own markers.
    OtworzMTPZBufora(PlikTRO().Tekst(), "c.mtp");
    OtworzTROZBufora(PlikMTP().Tekst(), "d.tro");
    EXPECT_EQ(PROJ.IlePunktow(), 1);
}

TEST(Wczytywanie, LiczbaZeroOprozniaTablice) {
    WczytajTRO();
    TPlik f = Naglowek();
    f({"#TroPROJ#", "0", "______________________________TRASA_2020", "0"});
    OtworzTROZBufora(f.Tekst(), "b.tro");
    EXPECT_EQ(std::vector({PROJ.IleTrojkatow(), IleTrojkatowPROJ(), Trasa.IleZalomow(), PROJ.IlePunktow(),
                           TEREN.IleTrojkatow()}),
              std::vector({0, 0, 0, 3, 2}));
}

TEST(Wczytywanie, TrojkatZgodnyZRuchemWskazowekOdwrocony) {
    ZerujStan();
    TPlik f = Naglowek();
    f({"#WspTEREN#", "3"});
    DodajPunkt(f, 0, 0, 1, "F", 0, "A");
    DodajPunkt(f, 0, 10, 2, "F", 1, "B");
    DodajPunkt(f, 10, 0, 3, "F", 2, "C");
    f({"#TroTEREN#", "1"});
    DodajTrojkatTEREN(f, 0, 1, 2, "0H", "clRed");
    OtworzTROZBufora(f.Tekst(), "o.tro");
    const TTrojkat& t = TEREN.Trojkaty[0];
    EXPECT_EQ(std::tuple(t.Nr1, t.Nr3, t.X1, t.Z1, t.X3, t.Z3), std::tuple(0, 2, 10.0, 2.0, 0.0, 0.0));
}

TEST(Wczytywanie, PlikTylkoZTerenemZachowujePoprzedniProjekt) {
    WczytajTRO();
    const TTrojkat przed = PROJ.Trojkaty[0];
    TPlik f = Naglowek();
    f({"#WspTEREN#", "3"});
    DodajPunkt(f, 20, 30, 40, "F", 0, "A");
    DodajPunkt(f, 21, 30, 41, "F", 1, "B");
    DodajPunkt(f, 20, 31, 42, "F", 2, "C");
    f({"#TroTEREN#", "1"});
    DodajTrojkatTEREN(f, 0, 1, 2, "0H", "0");
    OtworzTROZBufora(f.Tekst(), "t.tro");
    ASSERT_EQ(std::tuple(PROJ.IleTrojkatow(), PROJ.IlePunktow(), IleTrojkatowPROJ(), Trasa.IleZalomow()),
              std::tuple(1, 3, 1, 3));
    const TTrojkat& t = PROJ.Trojkaty[0];
    EXPECT_EQ(std::tuple(t.X1, t.Y2, t.Z3), std::tuple(przed.X1 - 20, przed.Y2 - 30, przed.Z3 - 40));
    EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.X + TrojkatyPROJ[0].P2.X + TrojkatyPROJ[0].P3.X, 4 * (t.X1 + t.X2 + t.X3));
}

TEST(Wczytywanie, NazwyWindows1250) {
    ZerujStan();
    TPlik f = Naglowek();
    f({"#WspTEREN#", "2"});
    DodajPunkt(f, 0, 0, 0, "F", 0, "\xa3\xb9ka \xaf\xf3\xb3ta");
    DodajPunkt(f, 1, 0, 0, "F", 1, "Pikieta pomiarowa nr 12345");  // longer than 20 bytes
    f({"______________________________TRASA_2020", "1"});
    DodajZalom(f, "Za\xb3om pocz\xb9tkowy numer 1", "1;2");
    OtworzTROZBufora(f.Tekst(), "w.tro");
    EXPECT_EQ(Cp1250NaUtf8(TEREN.Punkty[0].Nazwa.Widok()), "Łąka Żółta");
    EXPECT_EQ(TEREN.Punkty[1].Nazwa.Tekst(), "Pikieta pomiarowa nr");
    EXPECT_EQ(Cp1250NaUtf8(Trasa.Zalomy[0].Nazwa.Widok()), "Załom początkow");
}

TEST(Wczytywanie, MTPITROZNiegoDajaTenSamModelPozaLiniami) {
    ZerujStan();
    OtworzMTPZBufora(PlikMTP().Tekst(), "a.mtp");
    ASSERT_EQ(std::tuple(TEREN.IleLinii(), PROJ.IleLinii()), std::tuple(1, 1));
    const TLinia &l = TEREN.Linie[0], &m = PROJ.Linie[0];
    EXPECT_EQ(std::tuple(l.X1, l.Nr2, l.Z2, l.Wartosc, l.Znaczniki[0], l.Znaczniki[1], l.Znaczniki[5]),
              std::tuple(5000000.0, 3, 124.0, 1.5f, true, false, true));
    EXPECT_EQ(std::tuple(m.X1, m.Z2, m.Nr1, m.Nr2, m.Wartosc, m.Znaczniki[4], m.Znaczniki[5]),
              std::tuple(5000010.0, 122.5, 1, 2, 3.5f, true, false));
    const std::string zMtp = ZrzutBezLinii();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");  // a .tro load leaves the lines
    EXPECT_EQ(TEREN.IleLinii(), 1);
    ZerujStan();
    OtworzTROZBufora(PrzepiszPlikZBufora(PlikMTP().Tekst(), "a.mtp"), "a.tro");
    EXPECT_EQ(ZrzutBezLinii(), zMtp);
}

TEST(Wczytywanie, PostepIPlikNaDysku) {
    ZerujStan();
    std::vector<double> ulamki;
    OtworzTROZBufora(PlikSiatki(180, 180), "duzy.tro", [&](double u) { ulamki.push_back(u); });
    ASSERT_GE(ulamki.size(), 2u);
    EXPECT_TRUE(std::is_sorted(ulamki.begin(), ulamki.end()) && ulamki.front() > 0 && ulamki.back() == 1.0);
    const std::string k = KatalogTymczasowy();
    ZapiszPlik(k + "/a.mtp", PlikMTP().Tekst("\r\n"));
    OtworzMTP(k + "/a.mtp");
    const std::string przed = Zrzut();
    EXPECT_NE(Blad([&] { OtworzTRO(k + "/brak.tro"); }).find("brak.tro"), std::string::npos);
    EXPECT_NE(Blad([&] { OtworzMTP(k); }), "(brak błędu)");  // a directory
    EXPECT_EQ(Zrzut(), przed);
}

// Bad files: the model, the route and the render arrays stay exactly as they
// were, and the message names the file and the line.
class ZlePliki : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        OtworzMTPZBufora(PlikMTP().Tekst(), "dobry.mtp");
        Czworokaty.assign(1, TCzworokatRys{});
        przed_ = Zrzut();
    }
    // Loads the file with line `wiersz` replaced, expects the message at that line and an unchanged model.
    void Oczekuj(TPlik f, int wiersz, const std::string& tekst, const std::string& komunikat, bool mtp = false) {
        f.linie.at(static_cast<std::size_t>(wiersz - 1)) = tekst;
        const std::string nazwa = mtp ? "zly.mtp" : "zly.tro";
        const std::string b = Blad([&] { mtp ? OtworzMTPZBufora(f.Tekst(), nazwa) : OtworzTROZBufora(f.Tekst(), nazwa); });
        EXPECT_EQ(b.substr(0, komunikat.size()), komunikat);
        EXPECT_TRUE(b.ends_with("\nPlik: " + nazwa + ", wiersz: " + std::to_string(wiersz))) << b;
        EXPECT_EQ(Zrzut(), przed_) << komunikat;
    }
    const TPlik tro_ = PlikTRO(), mtp_ = PlikMTP();
    std::string przed_;
};

TEST_F(ZlePliki, ZlePolaILiczby) {
    const int pkt = Wiersz(tro_, "#WspTEREN#", 2), tt = Wiersz(tro_, "#TroTEREN#", 2), tp = Wiersz(tro_, "#TroPROJ#", 2);
    const std::tuple<int, const char*, const char*> zle[] = {
        {pkt, "12,5x", "'12,5x' is not a valid floating point value"},          // X
        {pkt + 2, "", "'' is not a valid floating point value"},                // Z
        {pkt + 1, "1e400", "'1e400' is not a valid floating point value"},      // Y
        {pkt + 4, "1.0", "'1.0' is not a valid integer value"},                 // Numer
        {tt, "a", "'a' is not a valid integer value"},                          // Atr1
        {tt + 3, "0,5", "'0,5' is not a valid integer value"},                  // Nr1
        {tt + 6, "1..2", "'1..2' is not a valid floating point value"},         // Xs
        {tt + 8, "0.2NH", "'0.2N' is not a valid floating point value"},        // Rodzaj
        {tt + 10, "clPomaranczowy", "'clPomaranczowy' is not a valid integer value"},
        {tp + 6, "xN", "'x' is not a valid floating point value"},              // PROJ Rodzaj
        {tp + 7, "", "'' is not a valid integer value"},                        // PROJ Kolor
        {pkt - 1, "dwa", "'dwa' is not a valid integer value"},                 // count
        {pkt - 1, "-1", "Ujemna liczba elementów (-1) w sekcji #WspTEREN#."},
        {tt - 1, "2000000000", "Liczba elementów 2000000000 w sekcji #TroTEREN# wymaga 22000000000 wierszy"},
        {tt + 4, "4", "Numer wierzchołka trójkąta TEREN 4 jest spoza zakresu punktów TEREN (0..3)."},
        {tt + 5, "-1", "Numer wierzchołka trójkąta TEREN -1 jest spoza zakresu punktów TEREN (0..3)."}};
    for (const auto& [w, tekst, komunikat] : zle) Oczekuj(tro_, w, tekst, komunikat);
    Oczekuj(mtp_, Wiersz(mtp_, "#Linie200TEREN#", 5), "x", "'x' is not a valid integer value", true);
    Oczekuj(mtp_, Wiersz(mtp_, "#Linie200PROJ#P3D", 5), "3,5,5", "'3,5,5' is not a valid floating point value", true);
}

TEST_F(ZlePliki, UcietyPlikIKonceWierszyCR) {
    // Cut inside the route or a TEREN triangle record: the count stops it at the count's line.
    for (auto [znacznik, zostaje] : {std::pair{"______________________________TRASA_2020", 24}, {"#TroTEREN#", 13}}) {
        TPlik f = PlikTRO();
        const int w = Wiersz(f, znacznik, 1);
        f.linie.resize(static_cast<std::size_t>(w + zostaje));
        Oczekuj(f, w, f.linie[w - 1], "Liczba elementów");
    }
    EXPECT_EQ(BladTRO(PlikTRO().Tekst("\r")), "Nieobsługiwane końce wierszy: znak CR bez LF. Plik musi mieć końce "
                                              "wierszy CR LF lub LF.\nPlik: zly.tro, wiersz: 1");
    EXPECT_EQ(Zrzut(), przed_);
}

TEST_F(ZlePliki, NumeryWierzcholkowBezPunktow) {
    // Triangles before any TEREN points, with none in memory.
    ZerujStan();
    const std::string pusty = Zrzut();
    TPlik g = Naglowek();
    g({"#TroTEREN#", "1"});
    DodajTrojkatTEREN(g, 0, 0, 0, "0H", "0");
    EXPECT_EQ(BladTRO(g.Tekst()), "Numer wierzchołka trójkąta TEREN 0 wskazuje punkt TEREN, a brak punktów TEREN.\n"
                                  "Plik: zly.tro, wiersz: 14");
    EXPECT_EQ(Zrzut(), pusty);
    // Triangles that take the points in memory, then fewer points further on.
    SetUp();
    TPlik h = Naglowek();
    h({"#TroTEREN#", "1"});
    DodajTrojkatTEREN(h, 0, 1, 3, "0H", "0");
    h({"#WspTEREN#", "2"});
    DodajPunkt(h, 0, 0, 0, "F", 0, "");
    DodajPunkt(h, 1, 0, 0, "F", 0, "");
    EXPECT_EQ(BladTRO(h.Tekst()), "Numer wierzchołka trójkąta TEREN 3 jest spoza zakresu punktów TEREN wczytanych "
                                  "dalej w pliku (2 punktów).\nPlik: zly.tro, wiersz: 16");
    EXPECT_EQ(Zrzut(), przed_);
}

// ---------------------------------------------------------------------------
// The converter.

namespace {

std::string Linie(std::initializer_list<const char*> l) {
    std::string t;
    for (const char* s : l) t += std::string(s) + "\r\n";
    return t;
}

std::string Baner() {
    std::string t;
    for (const auto& l : BanerTRO()) t += l + "\r\n";
    return t + "\r\n";
}

}  // namespace

TEST(Przepisywanie, SiedemSekcjiDajePiecWKolejnosciZrodla) {
    // Route first, then PROJ, then TEREN; CR LF and LF mixed (a CR LF line with nothing before it is empty).
    const std::string mtp =
        "h1\nh2\nh3\nh4\nh5\nh6\nh7\nh8\n"
        "______________________________TRASA_2020\n1\nW\n1;2\n0;0;0\n0;0;0\n0;0;0\n0;0;0\nF\nF\nF\n"
        "#Linie200PROJ#P3D\n0\n#Wspolrzedne200PROJ#\n1\n1,5\n2.5\n3\nF\n0\nnazwa\n#Trojkaty200PROJ#P3D\n1\na;b;c\n\n"
        "smiec\n#Linie200TEREN#\n0\n#Wspolrzedne200TEREN#\r\n0\r\n#Trojkaty200TEREN#\r\n0\r\n\r\n";
    EXPECT_EQ(PrzepiszPlikZBufora(mtp, "a.mtp"),
              Baner() +
                  Linie({"______________________________TRASA_2020", "1", "W", "1;2", "0;0;0", "0;0;0", "0;0;0",
                         "0;0;0", "F", "F", "F", "", "#WspPROJ#", "1", "1,5", "2.5", "3", "F", "0", "nazwa", "",
                         "#TroPROJ#", "1", "a;b;c", "", "", "#WspTEREN#", "0", "", "#TroTEREN#", "0", "", ""}));
    // A triangle section without its empty line swallows the next section; at the end it gets one.
    EXPECT_EQ(PrzepiszPlikZBufora("1\n2\n3\n4\n5\n6\n7\n8\n#Trojkaty200TEREN#\n0\n#Wspolrzedne200PROJ#\n0\n\n"
                                  "#Wspolrzedne200TEREN#\n0\n#Trojkaty200PROJ#P3D\n0", "b.mtp"),
              Baner() + Linie({"#TroTEREN#", "0", "#Wspolrzedne200PROJ#", "0", "", "", "#WspTEREN#", "0", "",
                               "#TroPROJ#", "0", "", ""}));
    EXPECT_EQ(Blad([] { PrzepiszPlikZBufora("1\n2\n3\n4\n5\n6\n7\n8\n#Wspolrzedne200TEREN#\n-2\n", "a.mtp"); }),
              "Ujemna liczba elementów (-2) w sekcji #Wspolrzedne200TEREN#.\nPlik: a.mtp, wiersz: 10");
}

TEST(Przepisywanie, NieudanaKopiaZostawiaStaryPlik) {
    const std::string k = KatalogTymczasowy();
    auto plikow = [&] { return std::distance(std::filesystem::directory_iterator(k), {}); };
    ZapiszPlik(k + "/a.mtp", PlikMTP().Tekst("\r\n"));
    ZapiszPlik(k + "/stary.tro", "stara tresc");
    ZapiszPlik(k + "/zly.mtp", "1\n2\n3\n4\n5\n6\n7\n8\n#Wspolrzedne200TEREN#\n5\n1\n");
    const auto n = plikow();
    EXPECT_NE(Blad([&] { PrzepiszPlik(k + "/zly.mtp", k + "/stary.tro"); }).find("zly.mtp, wiersz: 10"),
              std::string::npos);
    EXPECT_NE(Blad([&] { PrzepiszPlik(k + "/brak.mtp", k + "/stary.tro"); }).find("brak.mtp"), std::string::npos);
    EXPECT_EQ(CzytajPlik(k + "/stary.tro"), "stara tresc");
    EXPECT_EQ(plikow(), n);
    PrzepiszPlik(k + "/a.mtp", k + "/stary.tro");
    EXPECT_EQ(CzytajPlik(k + "/stary.tro"), PrzepiszPlikZBufora(PlikMTP().Tekst(), "x"));
    EXPECT_EQ(plikow(), n);
}

TEST(Przyklad, MTPITROWczytujaSieTakSamo) {
    // The shipped .tro is what the converter makes of the shipped .mtp, and both load to the same model.
    const std::string mtp = ORVANY_ZRODLA "/Przyklady/Droga.mtp", tro = ORVANY_ZRODLA "/Przyklady/Droga.tro";
    EXPECT_EQ(CzytajPlik(tro), PrzepiszPlikZBufora(CzytajPlik(mtp), mtp));
    EXPECT_EQ(CzytajPlik(ORVANY_ZRODLA "/Model/Droga.mtp"), CzytajPlik(mtp));
    ZerujStan();
    OtworzMTP(mtp);
    EXPECT_GT(TEREN.IleTrojkatow(), 20000);
    EXPECT_GT(PROJ.IleLinii(), 0);
    ASSERT_EQ(Trasa.IleZalomow(), 8);
    EXPECT_EQ(Cp1250NaUtf8(Trasa.Zalomy[1].Nazwa.Widok()), "Załom 1");
    EXPECT_TRUE(Trasa.Obliczona && KomunikatyTrasy.empty());
    const std::string zMtp = ZrzutBezLinii();
    ZerujStan();
    OtworzTRO(tro);
    EXPECT_EQ(ZrzutBezLinii(), zMtp);
}
