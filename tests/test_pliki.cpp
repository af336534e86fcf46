// The .tro and .mtp readers: sections, the all-or-nothing load, bad files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "model/ZapisywanieOdczytywanie.h"
#include "pomocnicze/Pomocnicze.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;

namespace {

std::string Blad(const std::string& dane, const char* nazwa = "zly.tro", bool mtp = false) {
    try {
        if (mtp) OtworzMTPZBufora(dane, nazwa);
        else OtworzTROZBufora(dane, nazwa);
    } catch (const BladKonwersji& e) {
        return e.what();
    }
    return "(brak błędu)";
}

}  // namespace

// ---------------------------------------------------------------------------
// Sections and what a load replaces.

TEST(Wczytywanie, PelnyPlikTRO) {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    ASSERT_EQ(TEREN.IlePunktow(), 4);
    ASSERT_EQ(TEREN.IleTrojkatow(), 2);
    ASSERT_EQ(PROJ.IlePunktow(), 3);
    ASSERT_EQ(PROJ.IleTrojkatow(), 1);
    ASSERT_EQ(Trasa.IleZalomow(), 3);
    const TPunktSiatki& p = TEREN.Punkty[1];
    EXPECT_EQ(p.X, 5000100.5);
    EXPECT_EQ(p.Y, 4600000.25);
    EXPECT_EQ(p.Z, 121.0);
    EXPECT_TRUE(p.Znacznik);
    EXPECT_EQ(p.Numer, 11);
    EXPECT_EQ(p.Nazwa.Tekst(), "P1");
    // TEREN triangle: vertices from the points, Xs and Ys as in the file.
    const TTrojkat& t = TEREN.Trojkaty[0];
    EXPECT_EQ(t.Atr1, 7);
    EXPECT_EQ(t.Atr3, -9);
    EXPECT_EQ(t.Nr1, 0);
    EXPECT_EQ(t.Nr2, 1);
    EXPECT_EQ(t.Nr3, 2);
    EXPECT_EQ(t.Xs, 33.25 - 5000000.0);
    EXPECT_EQ(t.Rodzaj.Kod, 'H');
    EXPECT_FLOAT_EQ(t.Rodzaj.Wartosc, 0.5f);
    EXPECT_EQ(t.Kolor, 0x008000);
    EXPECT_TRUE(t.Znacznik);
    // Local coordinates after the load: TEREN's lower corner at the origin.
    EXPECT_EQ(t.X1 + t.X2 + t.X3, 100.5);
    EXPECT_EQ(TEREN.Zakres.Zmin, 120.0);
    // PROJ triangle: truncated numbers, centre instead of the file's plan point.
    const TTrojkat& q = PROJ.Trojkaty[0];
    EXPECT_EQ(q.Atr1, 1);
    EXPECT_EQ(q.Atr2, -2);
    EXPECT_EQ(q.Atr3, 3);
    EXPECT_EQ(q.Nr1, 0);
    EXPECT_EQ(q.Nr3, 2);
    EXPECT_NEAR(q.Xs, (q.X1 + q.X2 + q.X3) / 3, 1e-6);  // the centre is taken before the shift
    EXPECT_NEAR(q.Ys, (q.Y1 + q.Y2 + q.Y3) / 3, 1e-6);
    EXPECT_FALSE(q.Znacznik);
    EXPECT_EQ(q.Rodzaj.Kod, 'N');
    EXPECT_EQ(q.Kolor, 0x808080);
    // Route vertices.
    EXPECT_EQ(Trasa.Zalomy[0].Nazwa.Tekst(), "W0");
    EXPECT_EQ(Trasa.Zalomy[1].X, 5000050.0 - 5000000.0);
    EXPECT_EQ(Trasa.Zalomy[1].Y, 4600080.0 - 4600000.0);
    EXPECT_FLOAT_EQ(Trasa.Zalomy[1].A1, 30.0f);
    EXPECT_FLOAT_EQ(Trasa.Zalomy[1].A2, 35.0f);
    EXPECT_FLOAT_EQ(Trasa.Zalomy[1].R, 60.5f);
    EXPECT_FLOAT_EQ(Trasa.Zalomy[1].Param3, 3.0f);
    EXPECT_FLOAT_EQ(Trasa.Zalomy[1].Pary[2].Wartosc1, 6.0f);
    EXPECT_FLOAT_EQ(Trasa.Zalomy[1].Pary[0].Wartosc2, 0.0f);  // missing third number, bad record: zeros
    EXPECT_TRUE(Trasa.Zalomy[1].Flaga2);
    EXPECT_FALSE(Trasa.Zalomy[1].Flaga3);
    EXPECT_EQ(Trasa.Dx, 5000000.0);
    ASSERT_EQ(IleTrojkatowTEREN(), 2);
    ASSERT_EQ(IleTrojkatowPROJ(), 1);
}

TEST(Wczytywanie, KonceWierszyLFiCRLFDajaToSamo) {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst("\n"), "a.tro");
    const std::string lf = Zrzut();
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst("\r\n"), "a.tro");
    EXPECT_EQ(Zrzut(), lf);
    // No line end after the last line.
    std::string bezKonca = PlikTRO().Tekst("\r\n");
    bezKonca.resize(bezKonca.size() - 2);
    ZerujStan();
    OtworzTROZBufora(bezKonca, "a.tro");
    EXPECT_EQ(Zrzut(), lf);
}

TEST(Wczytywanie, TylkoNaglowekIZnacznikWNaglowku) {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    const double x1 = TEREN.Trojkaty[0].X1;

    // Eight header lines, one of them a marker: nothing is replaced, yet the
    // load sequence runs and moves the kept triangles once more.
    TPlik n;
    for (int i = 0; i < 7; ++i) n("naglowek");
    n("#WspTEREN#");
    OtworzTROZBufora(n.Tekst(), "n.tro");
    EXPECT_EQ(TEREN.IlePunktow(), 4);
    EXPECT_EQ(TEREN.Trojkaty[0].X1, x1 - 5000000.0);
    EXPECT_EQ(Trasa.IleZalomow(), 3);
    // The empty file and the file of three lines behave the same way.
    ZerujStan();
    OtworzTROZBufora("", "pusty.tro");
    OtworzTROZBufora("a\nb\nc\n", "krotki.tro");
    EXPECT_EQ(TEREN.IlePunktow(), 0);
}

TEST(Wczytywanie, ZnacznikZeSpacjaNieJestRozpoznany) {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    TPlik f = Naglowek();
    f("#WspTEREN# ");  // a trailing blank: its section is skipped as ordinary lines
    f("1");
    DodajPunkt(f, 1, 2, 3, "F", 4, "X");
    f("#WspPROJ#");
    f("1");
    DodajPunkt(f, 7, 8, 9, "F", 4, "Y");
    OtworzTROZBufora(f.Tekst(), "b.tro");
    EXPECT_EQ(TEREN.IlePunktow(), 4);
    ASSERT_EQ(PROJ.IlePunktow(), 1);
    EXPECT_EQ(PROJ.Punkty[0].X, 7);
    // The .mtp reader knows only its own markers, and the reverse.
    OtworzMTPZBufora(PlikTRO().Tekst(), "c.mtp");
    EXPECT_EQ(PROJ.IlePunktow(), 1);
    OtworzTROZBufora(PlikMTP().Tekst(), "d.tro");
    EXPECT_EQ(PROJ.IlePunktow(), 1);
}

TEST(Wczytywanie, LiczbaZeroOprozniaTablice) {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    TPlik f = Naglowek();
    f("#TroPROJ#");
    f("0");
    f("______________________________TRASA_2020");
    f("0");
    OtworzTROZBufora(f.Tekst(), "b.tro");
    EXPECT_EQ(PROJ.IleTrojkatow(), 0);
    EXPECT_EQ(IleTrojkatowPROJ(), 0);
    EXPECT_EQ(Trasa.IleZalomow(), 0);
    EXPECT_EQ(PROJ.IlePunktow(), 3);
    EXPECT_EQ(TEREN.IleTrojkatow(), 2);
}

TEST(Wczytywanie, TrojkatZgodnyZRuchemWskazowekZegaraOdwrocony) {
    ZerujStan();
    TPlik f = Naglowek();
    f("#WspTEREN#");
    f("3");
    DodajPunkt(f, 0, 0, 1, "F", 0, "A");
    DodajPunkt(f, 0, 10, 2, "F", 1, "B");
    DodajPunkt(f, 10, 0, 3, "F", 2, "C");
    f("#TroTEREN#");
    f("1");
    DodajTrojkatTEREN(f, 0, 1, 2, "0H", "clRed");
    OtworzTROZBufora(f.Tekst(), "o.tro");
    const TTrojkat& t = TEREN.Trojkaty[0];
    EXPECT_EQ(t.Nr1, 0);
    EXPECT_EQ(t.Nr3, 2);
    EXPECT_EQ(t.X1, 10);
    EXPECT_EQ(t.Z1, 2);  // shifted by Zmin = 1
    EXPECT_EQ(t.X3, 0);
    EXPECT_EQ(t.Z3, 0);
}

TEST(Wczytywanie, TenSamPlikDwaRazyDajeTenSamModel) {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    const std::string raz = Zrzut();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    EXPECT_EQ(Zrzut(), raz);
    OtworzMTPZBufora(PlikMTP().Tekst(), "a.mtp");
    const std::string mtp = Zrzut();
    OtworzMTPZBufora(PlikMTP().Tekst(), "a.mtp");
    EXPECT_EQ(Zrzut(), mtp);
}

TEST(Wczytywanie, PlikTylkoZTerenemZachowujePoprzedniProjekt) {
    ZerujStan();
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    const TTrojkat przed = PROJ.Trojkaty[0];
    TPlik f = Naglowek();
    f("#WspTEREN#");
    f("3");
    DodajPunkt(f, 20, 30, 40, "F", 0, "A");
    DodajPunkt(f, 21, 30, 41, "F", 1, "B");
    DodajPunkt(f, 20, 31, 42, "F", 2, "C");
    f("#TroTEREN#");
    f("1");
    DodajTrojkatTEREN(f, 0, 1, 2, "0H", "0");
    OtworzTROZBufora(f.Tekst(), "t.tro");
    ASSERT_EQ(PROJ.IleTrojkatow(), 1);
    EXPECT_EQ(PROJ.Trojkaty[0].X1, przed.X1 - 20);
    EXPECT_EQ(PROJ.Trojkaty[0].Y2, przed.Y2 - 30);
    EXPECT_EQ(PROJ.Trojkaty[0].Z3, przed.Z3 - 40);
    EXPECT_EQ(PROJ.IlePunktow(), 3);
    ASSERT_EQ(IleTrojkatowPROJ(), 1);  // still drawn
    EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.X + TrojkatyPROJ[0].P2.X + TrojkatyPROJ[0].P3.X,
                     4 * (PROJ.Trojkaty[0].X1 + PROJ.Trojkaty[0].X2 + PROJ.Trojkaty[0].X3));
    EXPECT_EQ(Trasa.IleZalomow(), 3);
}

TEST(Wczytywanie, SzostyWierszTrojkataPROJBezZnaczenia) {
    ZerujStan();
    TPlik f = Naglowek();
    f("#TroPROJ#");
    f("1");
    f("1;2;3");
    f("0;1;2");
    f("0;0;0");
    f("3;0;0");
    f("0;3;0");
    f("999;999");
    f("0E");
    f("0");
    OtworzTROZBufora(f.Tekst(), "p.tro");
    EXPECT_EQ(PROJ.Trojkaty[0].Xs, 1);
    EXPECT_EQ(PROJ.Trojkaty[0].Ys, 1);
}

TEST(Wczytywanie, NazwyWindows1250) {
    ZerujStan();
    TPlik f = Naglowek();
    f("#WspTEREN#");
    f("2");
    DodajPunkt(f, 0, 0, 0, "F", 0, "\xa3\xb9ka \xaf\xf3\xb3ta");              // Łąka Żółta
    DodajPunkt(f, 1, 0, 0, "F", 1, "Pikieta pomiarowa nr 12345");  // longer than 20 bytes
    f("______________________________TRASA_2020");
    f("1");
    DodajZalom(f, "Za\xb3om pocz\xb9tkowy numer 1", "1;2");
    OtworzTROZBufora(f.Tekst(), "w.tro");
    EXPECT_EQ(Cp1250NaUtf8(TEREN.Punkty[0].Nazwa.Widok()), "Łąka Żółta");
    EXPECT_EQ(TEREN.Punkty[1].Nazwa.Tekst(), "Pikieta pomiarowa nr");
    EXPECT_EQ(Trasa.Zalomy[0].Nazwa.Widok().size(), 15u);
    EXPECT_EQ(Cp1250NaUtf8(Trasa.Zalomy[0].Nazwa.Widok()), "Załom początkow");
}

TEST(Wczytywanie, LinieZPlikuMTP) {
    ZerujStan();
    OtworzMTPZBufora(PlikMTP().Tekst(), "a.mtp");
    ASSERT_EQ(TEREN.IleLinii(), 1);
    ASSERT_EQ(PROJ.IleLinii(), 1);
    const TLinia& l = TEREN.Linie[0];
    EXPECT_EQ(l.X1, 5000000.0);
    EXPECT_EQ(l.Nr1, 0);
    EXPECT_EQ(l.Nr2, 3);  // not checked against the coordinates
    EXPECT_EQ(l.Z2, 124.0);
    EXPECT_FLOAT_EQ(l.Wartosc, 1.5f);
    EXPECT_TRUE(l.Znaczniki[0]);
    EXPECT_FALSE(l.Znaczniki[1]);
    EXPECT_TRUE(l.Znaczniki[5]);
    const TLinia& m = PROJ.Linie[0];
    EXPECT_EQ(m.X1, 5000010.0);
    EXPECT_EQ(m.Z2, 122.5);
    EXPECT_EQ(m.Nr1, 1);
    EXPECT_EQ(m.Nr2, 2);
    EXPECT_FLOAT_EQ(m.Wartosc, 3.5f);
    EXPECT_TRUE(m.Znaczniki[4]);
    EXPECT_FALSE(m.Znaczniki[5]);
    // A .tro load leaves the lines as the last .mtp load set them.
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    EXPECT_EQ(TEREN.IleLinii(), 1);
}

TEST(Wczytywanie, MTPITROZNiegoDajaTenSamModel) {
    ZerujStan();
    OtworzMTPZBufora(PlikMTP().Tekst(), "a.mtp");
    const std::string zMtp = ZrzutBezLinii();
    const std::string tro = PrzepiszPlikZBufora(PlikMTP().Tekst(), "a.mtp");
    ZerujStan();
    OtworzTROZBufora(tro, "a.tro");
    EXPECT_EQ(ZrzutBezLinii(), zMtp);
    EXPECT_EQ(TEREN.IleLinii(), 0);
}

TEST(Wczytywanie, PostepDuzegoPliku) {
    ZerujStan();
    const std::string duzy = PlikSiatki(400, 400);  // ~ 10 MB
    std::vector<double> ulamki;
    OtworzTROZBufora(duzy, "duzy.tro", [&](double u) { ulamki.push_back(u); });
    ASSERT_GE(ulamki.size(), 3u);
    EXPECT_TRUE(std::is_sorted(ulamki.begin(), ulamki.end()));
    EXPECT_GT(ulamki.front(), 0.0);
    EXPECT_EQ(ulamki.back(), 1.0);
    EXPECT_EQ(TEREN.IleTrojkatow(), 2 * 399 * 399);
}

TEST(Wczytywanie, PlikNaDysku) {
    ZerujStan();
    const std::string k = KatalogTymczasowy();
    ZapiszPlik(k + "/a.tro", PlikTRO().Tekst("\r\n"));
    OtworzTRO(k + "/a.tro");
    EXPECT_EQ(TEREN.IleTrojkatow(), 2);
    ZapiszPlik(k + "/a.mtp", PlikMTP().Tekst("\r\n"));
    OtworzMTP(k + "/a.mtp");
    EXPECT_EQ(TEREN.IleLinii(), 1);
    const std::string przed = Zrzut();
    try {
        OtworzTRO(k + "/brak.tro");
        FAIL();
    } catch (const BladKonwersji& e) {
        EXPECT_NE(std::string(e.what()).find("brak.tro"), std::string::npos);
    }
    EXPECT_THROW(OtworzMTP(k), BladKonwersji);  // a directory
    EXPECT_EQ(Zrzut(), przed);
}

// ---------------------------------------------------------------------------
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
    // Loads the text, expects the message and the line, and an unchanged model.
    void Oczekuj(const std::string& dane, const std::string& komunikat, int wiersz, bool mtp = false) {
        const std::string nazwa = mtp ? "zly.mtp" : "zly.tro";
        EXPECT_EQ(Blad(dane, nazwa.c_str(), mtp), komunikat + "\nPlik: " + nazwa + ", wiersz: " + std::to_string(wiersz));
        EXPECT_EQ(Zrzut(), przed_) << komunikat;
    }
    // The TRO file with line k (1-based) replaced.
    static std::string Zmieniony(int k, const std::string& nowy) {
        TPlik f = PlikTRO();
        f.linie[static_cast<std::size_t>(k - 1)] = nowy;
        return f.Tekst();
    }
    static int Wiersz(const TPlik& f, const std::string& znacznik, int przesuniecie) {
        for (std::size_t i = 0; i < f.linie.size(); ++i)
            if (f.linie[i] == znacznik) return static_cast<int>(i) + 1 + przesuniecie;
        return -1;
    }
    std::string przed_;
};

TEST_F(ZlePliki, ZlePolaKazdegoRodzaju) {
    const TPlik f = PlikTRO();
    const int pkt = Wiersz(f, "#WspTEREN#", 2);   // first line of the first point record
    const int tt = Wiersz(f, "#TroTEREN#", 2);    // first TEREN triangle record
    const int tp = Wiersz(f, "#TroPROJ#", 2);     // first PROJ triangle record
    struct TPrzypadek {
        int wiersz;
        const char* tekst;
        const char* komunikat;
    };
    const TPrzypadek przypadki[] = {
        {pkt, "12,5x", "'12,5x' is not a valid floating point value"},              // X
        {pkt + 2, "", "'' is not a valid floating point value"},                    // Z
        {pkt + 4, "1.0", "'1.0' is not a valid integer value"},                     // Numer
        {tt, "a", "'a' is not a valid integer value"},                              // Atr1
        {tt + 3, "0,5", "'0,5' is not a valid integer value"},                      // Nr1
        {tt + 6, "1..2", "'1..2' is not a valid floating point value"},             // Xs
        {tt + 8, "0.2NH", "'0.2N' is not a valid floating point value"},            // Rodzaj
        {tt + 10, "clPomaranczowy", "'clPomaranczowy' is not a valid integer value"},  // Kolor
        {tp + 6, "xN", "'x' is not a valid floating point value"},                  // PROJ Rodzaj
        {tp + 7, "", "'' is not a valid integer value"},                            // PROJ Kolor
        {pkt - 1, "dwa", "'dwa' is not a valid integer value"},                     // count
        {pkt, "nan", "'nan' is not a valid floating point value"},                  // non-finite
        {pkt + 1, "inf", "'inf' is not a valid floating point value"},
        {pkt + 1, "1e400", "'1e400' is not a valid floating point value"},
    };
    for (const auto& p : przypadki) Oczekuj(Zmieniony(p.wiersz, p.tekst), p.komunikat, p.wiersz);

    // The fields of the line sections of a .mtp file.
    TPlik m = PlikMTP();
    const int lt = Wiersz(m, "#Linie200TEREN#", 2);
    m.linie[static_cast<std::size_t>(lt + 3 - 1)] = "x";
    Oczekuj(m.Tekst(), "'x' is not a valid integer value", lt + 3, true);
    m = PlikMTP();
    const int lp = Wiersz(m, "#Linie200PROJ#P3D", 2);
    m.linie[static_cast<std::size_t>(lp + 3 - 1)] = "3,5,5";
    Oczekuj(m.Tekst(), "'3,5,5' is not a valid floating point value", lp + 3, true);
}

TEST_F(ZlePliki, ZleLiczbyElementow) {
    const TPlik f = PlikTRO();
    const int lp = Wiersz(f, "#WspPROJ#", 1);
    Oczekuj(Zmieniony(lp, "-1"), "Ujemna liczba elementów (-1) w sekcji #WspPROJ#.", lp);
    // A count the rest of the file cannot hold fails at its line, at once.
    const int lt = Wiersz(f, "#TroTEREN#", 1);
    const std::string komunikat = Blad(Zmieniony(lt, "2000000000"));
    EXPECT_EQ(komunikat.rfind("Liczba elementów 2000000000 w sekcji #TroTEREN# wymaga 22000000000 wierszy", 0), 0u)
        << komunikat;
    EXPECT_NE(komunikat.find("\nPlik: zly.tro, wiersz: " + std::to_string(lt)), std::string::npos);
    EXPECT_EQ(Zrzut(), przed_);

    // A 20-odd-byte file claiming two billion points.
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_NE(Blad("1\n2\n3\n4\n5\n6\n7\n8\n#WspTEREN#\n2000000000\n").find("wiersz: 10"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    EXPECT_EQ(Zrzut(), przed_);
}

TEST_F(ZlePliki, UcietyPlik) {
    // A route section whose records run past the end of the file: its ';' lines
    // and flags convert nothing that fails, so only the count stops it.
    TPlik f = PlikTRO();
    const int lt = Wiersz(f, "______________________________TRASA_2020", 1);
    f.linie.resize(f.linie.size() - 4);
    std::string m = Blad(f.Tekst());
    EXPECT_EQ(m.rfind("Liczba elementów 3 w sekcji ______________________________TRASA_2020 wymaga 27 wierszy, a "
                      "do końca pliku zostało ich 24",
                      0),
              0u)
        << m;
    EXPECT_NE(m.find("wiersz: " + std::to_string(lt)), std::string::npos);
    EXPECT_EQ(Zrzut(), przed_);
    // Cut inside a TEREN triangle record: the count check stops it as well.
    f = PlikTRO();
    const int tt = Wiersz(f, "#TroTEREN#", 1);
    f.linie.resize(static_cast<std::size_t>(tt + 14));
    m = Blad(f.Tekst());
    EXPECT_NE(m.find("wiersz: " + std::to_string(tt)), std::string::npos) << m;
    EXPECT_EQ(Zrzut(), przed_);
}

TEST_F(ZlePliki, ZleNumeryWierzcholkow) {
    const TPlik f = PlikTRO();
    const int tt = Wiersz(f, "#TroTEREN#", 2);
    Oczekuj(Zmieniony(tt + 4, "4"), "Numer wierzchołka trójkąta TEREN 4 jest spoza zakresu punktów TEREN (0..3).",
            tt + 4);
    Oczekuj(Zmieniony(tt + 5, "-1"), "Numer wierzchołka trójkąta TEREN -1 jest spoza zakresu punktów TEREN (0..3).",
            tt + 5);
    // Triangles before any TEREN points, with none in memory.
    ZerujStan();
    const std::string pusty = Zrzut();
    TPlik g = Naglowek();
    g("#TroTEREN#");
    g("1");
    DodajTrojkatTEREN(g, 0, 0, 0, "0H", "0");
    EXPECT_EQ(Blad(g.Tekst()), "Numer wierzchołka trójkąta TEREN 0 wskazuje punkt TEREN, a brak punktów TEREN.\n"
                               "Plik: zly.tro, wiersz: 14");
    EXPECT_EQ(Zrzut(), pusty);
    // Triangles that take the points in memory, then a points section with
    // fewer points: the indices must fit the points in force after the load.
    OtworzTROZBufora(PlikTRO().Tekst(), "a.tro");
    const std::string dobry = Zrzut();
    TPlik h = Naglowek();
    h("#TroTEREN#");
    h("1");
    DodajTrojkatTEREN(h, 0, 1, 3, "0H", "0");
    h("#WspTEREN#");
    h("2");
    DodajPunkt(h, 0, 0, 0, "F", 0, "");
    DodajPunkt(h, 1, 0, 0, "F", 0, "");
    EXPECT_EQ(Blad(h.Tekst()), "Numer wierzchołka trójkąta TEREN 3 jest spoza zakresu punktów TEREN wczytanych "
                               "dalej w pliku (2 punktów).\nPlik: zly.tro, wiersz: 16");
    EXPECT_EQ(Zrzut(), dobry);
}

TEST_F(ZlePliki, KonceWierszySamoCR) {
    std::string cr = PlikTRO().Tekst("\r");
    const std::string m = Blad(cr);
    EXPECT_EQ(m, "Nieobsługiwane końce wierszy: znak CR bez LF. Plik musi mieć końce wierszy CR LF lub LF.\n"
                 "Plik: zly.tro, wiersz: 1");
    EXPECT_EQ(Zrzut(), przed_);
}

TEST(Wczytywanie, UszkodzoneBajtyNieWywracajaCzytnikow) {
    // Random damage to good files: every reader either reads the file or
    // stops with the program's one error; nothing else escapes.
    const std::string wzory[] = {PlikTRO().Tekst("\r\n"), PlikMTP().Tekst("\n")};
    const char wstawki[] = {'\n', '\r', ';', '-', ',', '.', 'e', 'H', 'N', '#', '9', '\0', ' ', '\xb9'};
    std::uint32_t s = 1;
    auto los = [&s](std::uint32_t k) {
        s = s * 134775813u + 1;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(k) * s) >> 32);
    };
    int bledow = 0, dobrych = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string t = wzory[i % 2];
        const std::uint32_t zmian = 1 + los(4);
        for (std::uint32_t j = 0; j < zmian && !t.empty(); ++j) {
            const std::size_t p = los(static_cast<std::uint32_t>(t.size()));
            switch (los(4)) {
                case 0: t[p] = wstawki[los(sizeof wstawki)]; break;
                case 1: t.erase(p, 1 + los(12)); break;
                case 2: t.insert(p, 1, wstawki[los(sizeof wstawki)]); break;
                default: t.resize(p); break;
            }
        }
        for (int czytnik = 0; czytnik < 3; ++czytnik) {
            try {
                if (czytnik == 0) (void)CzytajTRO(t, "x.tro");
                else if (czytnik == 1) (void)CzytajMTP(t, "x.mtp");
                else (void)PrzepiszPlikZBufora(t, "x.mtp");
                ++dobrych;
            } catch (const BladKonwersji& e) {
                ++bledow;
                EXPECT_NE(std::string(e.what()).find("\nPlik: x."), std::string::npos) << e.what();
            }
        }
    }
    EXPECT_GT(bledow, 100);
    EXPECT_GT(dobrych, 100);
}
