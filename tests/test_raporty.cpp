// The mesh report and the route report: their lines, number texts and the
// column layout of the vertex table.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dialogs/InfoProjekt.h"
#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

const std::string D(46, '-');
const std::string NaglowekTabeli = "Lp.               X              Y              R        A1        A2";

TTrojkatRys Trojkat(TPunkt3D a, TPunkt3D b, TPunkt3D c) {
    TTrojkatRys t;
    t.P1 = a;
    t.P2 = b;
    t.P3 = c;
    return t;
}

TZalom Zalom(double x, double y, float r = 0, float a1 = 0, float a2 = 0) {
    TZalom z;
    z.Nazwa.Ustaw("W");
    z.X = x;
    z.Y = y;
    z.R = r;
    z.A1 = a1;
    z.A2 = a2;
    return z;
}

// The text stands in the row with its last character in the 1-based column.
bool KonczySieW(const std::string& wiersz, const std::string& tekst, int kolumna) {
    if (kolumna < static_cast<int>(tekst.size()) || kolumna > static_cast<int>(wiersz.size())) return false;
    return wiersz.compare(kolumna - tekst.size(), tekst.size(), tekst) == 0;
}

std::vector<std::string> Linie(std::initializer_list<std::string> l) { return l; }

class Raporty : public ::testing::Test {
protected:
    void SetUp() override { ZerujStan(); }
};

// ---------------------------------------------------------------------------
// Mesh report

TEST_F(Raporty, RaportSiatekBezDanych) {
    UstawLocale l(',');
    OpisTekst = {"stara linia"};
    InfoTerenProj();
    const auto oczekiwane = Linie({
        D, "Info TEREN (trójkąty).", D, "",
        "Ilosc trojkatów TEREN = 0", "Ilosc rysowane = 0", "",
        "", D, "Info PROJ (trójkąty).", D, "",
        "Ilosc trojkatów PROJ = 0", "Ilosc rysowane = 0", "",
        "",
        "Zakres PROJ(ekran) ", "",
        "X  (min,max) = (-1,00 ; -1,00)",
        "Y  (min,max) = (-1,00 ; -1,00)",
        "Z  (min,max) = (-1,00 ; -1,00)",
        "", "Przesunięcie", "movx  = 0,00 ;  movy = 0,00 ;  movz = 0,00", "", "",
    });
    EXPECT_EQ(OpisTekst, oczekiwane);
}

TEST_F(Raporty, RaportSiatekZTerenemIProjektem) {
    UstawLocale l(',');
    TEREN.Trojkaty.resize(3);
    TEREN.Zakres = {5500100.5, 6400200.25, 5500000.0, 6400000.0, 210.125, 180.0};
    PROJ.Trojkaty.resize(2);
    PROJ.Zakres = {5500050.0, 6400150.0, 5500010.0, 6400020.0, 200.0, 190.5};
    Trasa.Dx = 5500000.0;
    Trasa.Dy = 6400000.12345;
    // The cut has split the terrain: more drawn triangles than mesh triangles.
    TrojkatyTEREN = {Trojkat({0, 0, 0}, {400, 0, 10}, {0, 800, 20}),
                     Trojkat({400, 0, 10}, {402, 800.5, 120.5}, {0, 800, 20}),
                     Trojkat({-3, 1, 2}, {1, 1, 1}, {2, 2, 2}),
                     Trojkat({1, 1, 1}, {1, 1, 1}, {1, 1, 1})};
    TrojkatyPROJ = {Trojkat({200, 80, 40}, {160, 520, 42}, {201, 80, 43})};
    Rzut.PrzesunX = -12.5;
    Rzut.PrzesunY = 3.14159;
    Rzut.PrzesunZ = 0.00004;

    InfoTerenProj();
    const auto oczekiwane = Linie({
        D, "Info TEREN (trójkąty).", D, "",
        "Ilosc trojkatów TEREN = 3", "Ilosc rysowane = 4", "",
        "Zakres TEREN", "",
        "X  (min,max) = (5500000,00 ; 5500100,50)",
        "Y  (min,max) = (6400000,00 ; 6400200,25)",
        "Z  (min,max) = (180,00 ; 210,13)",
        "", "dx  = (5500000,00 ;  dy = 6400000,1235)", "",
        "Zakres TEREN(ekran) ", "",
        "X  (min,max) = (-3,00 ; 402,00)",
        "Y  (min,max) = (0,00 ; 800,50)",
        "Z  (min,max) = (0,00 ; 120,50)",
        "", D, "Info PROJ (trójkąty).", D, "",
        "Ilosc trojkatów PROJ = 2", "Ilosc rysowane = 1", "",
        "Zakres PROJ", "",
        "X  (min,max) = (5500010,00 ; 5500050,00)",
        "Y  (min,max) = (6400020,00 ; 6400150,00)",
        "Z  (min,max) = (190,50 ; 200,00)",
        "", "dx  = (5500000,00 ;  dy = 6400000,1235)",
        "",
        "Zakres PROJ(ekran) ", "",
        "X  (min,max) = (160,00 ; 201,00)",
        "Y  (min,max) = (80,00 ; 520,00)",
        "Z  (min,max) = (40,00 ; 43,00)",
        "", "Przesunięcie", "movx  = -12,50 ;  movy = 3,1416 ;  movz = 0,00", "", "",
    });
    EXPECT_EQ(OpisTekst, oczekiwane);
}

TEST_F(Raporty, ProjektBezTerenuBezZakresuProjektu) {
    UstawLocale l('.');
    PROJ.Trojkaty.resize(1);
    PROJ.Zakres = {10, 20, 1, 2, 3, 0.5};
    TrojkatyPROJ = {Trojkat({4, 8, 0}, {40, 80, 2}, {0, 4, 12})};
    InfoTerenProj();
    const std::vector<std::string> ogon(OpisTekst.begin() + 12, OpisTekst.end());
    const auto oczekiwane = Linie({
        "Ilosc trojkatów PROJ = 1", "Ilosc rysowane = 1", "",
        "",
        "Zakres PROJ(ekran) ", "",
        "X  (min,max) = (0.00 ; 40.00)",
        "Y  (min,max) = (4.00 ; 80.00)",
        "Z  (min,max) = (0.00 ; 12.00)",
        "", "Przesunięcie", "movx  = 0.00 ;  movy = 0.00 ;  movz = 0.00", "", "",
    });
    EXPECT_EQ(ogon, oczekiwane);
    for (const std::string& s : OpisTekst) {
        EXPECT_NE(s, "Zakres PROJ");
        EXPECT_EQ(s.rfind("dx", 0), std::string::npos) << s;
    }
}

// ---------------------------------------------------------------------------
// Range of a render array

TEST_F(Raporty, ZakresRysowanychZeWszystkichWierzcholkow) {
    const TZakres pusty = ZakresRysowanych({});
    for (double v : {pusty.Xmax, pusty.Ymax, pusty.Xmin, pusty.Ymin, pusty.Zmax, pusty.Zmin}) EXPECT_EQ(v, -1.0);

    // Every extreme sits in a different vertex of a different triangle; the
    // first triangle is not the extreme of anything except Zmax.
    const std::vector<TTrojkatRys> t = {
        Trojkat({0, 0, 0}, {1, 1, 50}, {2, 2, 0}),
        Trojkat({0, 0, 0}, {-7, 0, 0}, {0, 0, 0}),
        Trojkat({0, 0, 0}, {0, 0, 0}, {9, -4, -6}),
        Trojkat({3, 12, 0}, {0, 0, 0}, {0, 0, 0}),
    };
    const TZakres z = ZakresRysowanych(t);
    EXPECT_EQ(z.Xmax, 9);
    EXPECT_EQ(z.Xmin, -7);
    EXPECT_EQ(z.Ymax, 12);
    EXPECT_EQ(z.Ymin, -4);
    EXPECT_EQ(z.Zmax, 50);
    EXPECT_EQ(z.Zmin, -6);

    // A single triangle, all negative: the start values come from it, not from zero.
    const TZakres j = ZakresRysowanych({Trojkat({-5, -6, -7}, {-2, -9, -8}, {-4, -1, -3})});
    EXPECT_EQ(j.Xmax, -2);
    EXPECT_EQ(j.Xmin, -5);
    EXPECT_EQ(j.Ymax, -1);
    EXPECT_EQ(j.Ymin, -9);
    EXPECT_EQ(j.Zmax, -3);
    EXPECT_EQ(j.Zmin, -8);
}

TEST_F(Raporty, ZakresRysowanychZastepujeTylkoOstrzejszymi) {
    // Equal values do not replace a held extreme: +0 from the first triangle
    // survives a -0 of every later one (and the other way round).
    const TZakres a = ZakresRysowanych({Trojkat({0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}),
                                        Trojkat({-0.0, -0.0, -0.0}, {-0.0, -0.0, -0.0}, {-0.0, -0.0, -0.0})});
    for (double v : {a.Xmax, a.Ymax, a.Zmax, a.Xmin, a.Ymin, a.Zmin}) EXPECT_FALSE(std::signbit(v));
    const TZakres b = ZakresRysowanych({Trojkat({-0.0, -0.0, -0.0}, {-0.0, -0.0, -0.0}, {-0.0, -0.0, -0.0}),
                                        Trojkat({0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0})});
    for (double v : {b.Xmax, b.Ymax, b.Zmax, b.Xmin, b.Ymin, b.Zmin}) EXPECT_TRUE(std::signbit(v));
    // A NaN in a later triangle never enters the range.
    const double nan = std::nan("");
    const TZakres c = ZakresRysowanych({Trojkat({1, 2, 3}, {4, 5, 6}, {0, 0, 0}),
                                        Trojkat({nan, nan, nan}, {nan, nan, nan}, {nan, nan, nan})});
    EXPECT_EQ(c.Xmax, 4);
    EXPECT_EQ(c.Zmin, 0);
}

// ---------------------------------------------------------------------------
// Route report
//
// Still to come: a reference of the whole route report of the sample project,
// once the sample files and the route build are in the tree.

TEST_F(Raporty, TrasaNieobliczona) {
    UstawLocale l(',');
    Trasa.Zalomy = {Zalom(1, 2), Zalom(3, 4)};
    Trasa.Obliczona = false;
    InfoTrasy();
    EXPECT_EQ(OpisTekst, Linie({D, "Info TRASA", D, "", "BRAK PUNKTÓW TRASY (lub definicja nieprawidłowa)!"}));

    KomunikatyTrasy = {"Definicja trasy musi składać się z min 2 punktów!"};
    InfoTrasy();
    EXPECT_EQ(OpisTekst, Linie({D, "Info TRASA", D, "", "BRAK PUNKTÓW TRASY (lub definicja nieprawidłowa)!", "",
                                "Komunikaty obliczenia trasy:", "Definicja trasy musi składać się z min 2 punktów!"}));
}

TEST_F(Raporty, TrasaObliczona) {
    UstawLocale l(',');
    Trasa.Obliczona = true;
    Trasa.Zalomy = {Zalom(0, 0), Zalom(120.5, 300.25, 450, 80, 90.5f), Zalom(400, 812.125)};
    Trasa.Xmin = 5500000;
    Trasa.Xmax = 5500400.123456;
    Trasa.Ymin = 6400000.5;
    Trasa.Ymax = 6400812.125;
    Trasa.PikMin = 0;
    Trasa.PikMax = 1034.567f;
    Trasa.Dx = 5500000;
    Trasa.Dy = 6400000.5;
    KomunikatyTrasy = {"Nie można wpisywać łuku na początku trasy! Zmieniam R=0!"};
    OpisTekst = {"stara", "treść"};
    InfoTrasy();
    const auto oczekiwane = Linie({
        D, "Info TRASA", D,
        "", "ZAKRES TRASA", "",
        "X     (min,max)  = (6400000,50 ; 6400812,125)",
        "Y     (min,max)  = (5500000,00 ; 5500400,1235)",
        "Pik.  (min,max)  = (0,00 ; 1034,57)",
        "", "dx  = (5500000,00 ;  dy = 6400000,50)", "",
        "Ilosc punktów trasa = 3", "",
        NaglowekTabeli, "",
        "   1.          0,00           0,00           0,00      0,00      0,00",
        "   2.        300,25         120,50         450,00     80,00     90,50",
        "   3.        812,13         400,00           0,00      0,00      0,00",
        "", "Komunikaty obliczenia trasy:", "Nie można wpisywać łuku na początku trasy! Zmieniam R=0!",
    });
    EXPECT_EQ(OpisTekst, oczekiwane);
}

TEST_F(Raporty, WierszeTabeliWKolumnach) {
    UstawLocale l(',');
    // The heading words end in the columns of their fields.
    EXPECT_TRUE(KonczySieW(NaglowekTabeli, "X", 19));
    EXPECT_TRUE(KonczySieW(NaglowekTabeli, "Y", 34));
    EXPECT_TRUE(KonczySieW(NaglowekTabeli, "R", 49));
    EXPECT_TRUE(KonczySieW(NaglowekTabeli, "A1", 59));
    EXPECT_TRUE(KonczySieW(NaglowekTabeli, "A2", 69));

    // Number 1, a zero radius; all fields short, the row still ends at column 69.
    const std::string w1 = WierszZalomu(0, Zalom(7.5, 3.25, 0, 0, 0));
    EXPECT_EQ(w1, "   1.          3,25           7,50           0,00      0,00      0,00");
    EXPECT_TRUE(KonczySieW(w1, "1.", 5));
    EXPECT_TRUE(KonczySieW(w1, "0,00", 49));
    EXPECT_EQ(w1.size(), 69u);

    // Number 10 ends in column 5 as well; floats print with their decimal value.
    const std::string w10 = WierszZalomu(9, Zalom(5500123.456, 6400987.654, 1234.5f, 250.75f, 0.1f));
    EXPECT_EQ(w10, "  10.    6400987,65     5500123,46        1234,50    250,75      0,10");
    EXPECT_TRUE(KonczySieW(w10, "10.", 5));

    // Negative values; a Y too long for its column starts one blank after the number.
    const std::string wu = WierszZalomu(99, Zalom(-1.5, 1234567890123.0, -50, 0, 0));
    EXPECT_EQ(wu, " 100. 1234567890123,00       -1,50         -50,00      0,00      0,00");
}

TEST_F(Raporty, DlugaLiczbaNieJestUcinanaAniSklejana) {
    UstawLocale l(',');
    // Y of 17 characters: longer than the 13 places between the number and
    // column 19; it starts one blank after "1." and pushes the row right, and
    // the next field still ends in its own column because there is room.
    const std::string w = WierszZalomu(0, Zalom(1, 12345678901234.5));
    EXPECT_EQ(w, "   1. 12345678901234,50       1,00           0,00      0,00      0,00");
    EXPECT_TRUE(KonczySieW(w, "1.", 5));
    EXPECT_TRUE(KonczySieW(w, "12345678901234,50", 23));
    EXPECT_TRUE(KonczySieW(w, "1,00", 34));

    // A1 too long for its 10 places: it reaches into the radius column as far
    // as one blank after the radius, the radius keeps its place and its text.
    const std::string a = WierszZalomu(0, Zalom(1, 2, 300, 123456789.0f, 5));
    EXPECT_EQ(a, "   1.          2,00           1,00         300,00 123456792,00   5,00");
    EXPECT_TRUE(KonczySieW(a, "300,00", 49));
    EXPECT_TRUE(KonczySieW(a, "123456792,00", 62));
    EXPECT_TRUE(KonczySieW(a, "5,00", 69));

    // A long A1 whose end passes the A2 column: A2 follows one blank later.
    const std::string b = WierszZalomu(0, Zalom(1, 2, 300, 1e15f, 5));
    const std::string a1 = "999999986991104,00";
    EXPECT_EQ(b, "   1.          2,00           1,00         300,00 " + a1 + " 5,00");

    // A vertex number wider than its column starts at column 1.
    EXPECT_EQ(WierszZalomu(123455, Zalom(0, 0)).substr(0, 8), "123456. ");
}

}  // namespace
