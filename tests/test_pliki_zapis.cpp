// The .mtp to .tro converter and the sample project.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "model/ZapisywanieOdczytywanie.h"
#include "pomocnicze/Pomocnicze.h"
#include "route/OblTrasa.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;

namespace {

std::string Linie(std::initializer_list<const char*> l) {
    std::string t;
    for (const char* s : l) {
        t += s;
        t += "\r\n";
    }
    return t;
}

std::string Baner() {
    std::string t;
    for (const auto& l : BanerTRO()) t += l + "\r\n";
    return t + "\r\n";
}

std::string Blad(auto&& f) {
    try {
        f();
    } catch (const BladKonwersji& e) {
        return e.what();
    }
    return "(brak błędu)";
}

std::size_t PlikowWKatalogu(const std::string& k) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(k)) ++n;
    return n;
}

}  // namespace

TEST(Przepisywanie, Baner) {
    const auto& b = BanerTRO();
    ASSERT_EQ(b.size(), 8u);
    for (const auto& l : b) {
        EXPECT_EQ(l.size(), 67u) << l;
        EXPECT_EQ(l.front(), '*');
        EXPECT_EQ(l.back(), '*');
    }
    EXPECT_EQ(b[0], std::string(67, '*'));
    EXPECT_EQ(b[4], std::string(67, '*'));
    EXPECT_EQ(b[7], std::string(67, '*'));
    EXPECT_EQ(b[5], "*  UWAGA!                                                         *");
    EXPECT_EQ(Cp1250NaUtf8(b[6]), "*               Nie należy zmieniać wpisów w pliku!               *");
    EXPECT_NE(b[3].find(" ; "), std::string::npos);
    EXPECT_NE(b[3].find('@'), std::string::npos);
}

TEST(Przepisywanie, SiedemSekcjiDajePiecWKolejnosciZrodla) {
    // Source order: route first, then PROJ, then TEREN; CR LF and LF line ends
    // mixed (a CR LF line with nothing before it is an empty line).
    const std::string mtp =
        "h1\nh2\nh3\nh4\nh5\nh6\nh7\nh8\n"
        "______________________________TRASA_2020\n1\nW\n1;2\n0;0;0\n0;0;0\n0;0;0\n0;0;0\nF\nF\nF\n"
        "#Linie200PROJ#P3D\n0\n"
        "#Wspolrzedne200PROJ#\n1\n1,5\n2.5\n3\nF\n0\nnazwa\n"
        "#Trojkaty200PROJ#P3D\n1\na;b;c\n\n"
        "smiec\n"
        "#Linie200TEREN#\n0\n"
        "#Wspolrzedne200TEREN#\r\n0\r\n"
        "#Trojkaty200TEREN#\r\n0\r\n\r\n";
    const std::string tro = PrzepiszPlikZBufora(mtp, "a.mtp");
    const std::string oczekiwane =
        Baner() +
        Linie({"______________________________TRASA_2020", "1", "W", "1;2", "0;0;0", "0;0;0", "0;0;0", "0;0;0", "F",
               "F", "F", ""}) +
        Linie({"#WspPROJ#", "1", "1,5", "2.5", "3", "F", "0", "nazwa", ""}) +
        Linie({"#TroPROJ#", "1", "a;b;c", "", ""}) + Linie({"#WspTEREN#", "0", ""}) +
        Linie({"#TroTEREN#", "0", "", ""});
    EXPECT_EQ(tro, oczekiwane);
}

TEST(Przepisywanie, SekcjaTrojkatowBezPustegoWierszaPochlaniaNastepna) {
    const std::string mtp =
        "1\n2\n3\n4\n5\n6\n7\n8\n"
        "#Trojkaty200TEREN#\n0\n"
        "#Wspolrzedne200PROJ#\n0\n\n"
        "#Wspolrzedne200TEREN#\n0\n";
    EXPECT_EQ(PrzepiszPlikZBufora(mtp, "a.mtp"),
              Baner() + Linie({"#TroTEREN#", "0", "#Wspolrzedne200PROJ#", "0", "", ""}) +
                  Linie({"#WspTEREN#", "0", ""}));
    // At the end of the source the triangle section ends with an empty line.
    EXPECT_EQ(PrzepiszPlikZBufora("1\n2\n3\n4\n5\n6\n7\n8\n#Trojkaty200PROJ#P3D\n0", "b.mtp"),
              Baner() + Linie({"#TroPROJ#", "0", "", ""}));
}

TEST(Przepisywanie, ZleLiczbyZatrzymujaKopie) {
    const std::string p = "1\n2\n3\n4\n5\n6\n7\n8\n#Wspolrzedne200TEREN#\n";
    EXPECT_EQ(Blad([&] { PrzepiszPlikZBufora(p + "x\n", "a.mtp"); }),
              "'x' is not a valid integer value\nPlik: a.mtp, wiersz: 10");
    EXPECT_EQ(Blad([&] { PrzepiszPlikZBufora(p + "-2\n", "a.mtp"); }),
              "Ujemna liczba elementów (-2) w sekcji #Wspolrzedne200TEREN#.\nPlik: a.mtp, wiersz: 10");
    // A huge count at the end would otherwise write empty lines until the disk is full.
    const std::string m = Blad([] {
        PrzepiszPlikZBufora("1\n2\n3\n4\n5\n6\n7\n8\n______________________________TRASA_2020\n2000000000\n", "a.mtp");
    });
    EXPECT_EQ(m.rfind("Liczba elementów 2000000000 w sekcji ______________________________TRASA_2020 wymaga "
                      "18000000000 wierszy",
                      0),
              0u)
        << m;
}

TEST(Przepisywanie, PlikiNaDysku) {
    const std::string k = KatalogTymczasowy();
    ZapiszPlik(k + "/a.mtp", PlikMTP().Tekst("\r\n"));
    PrzepiszPlik(k + "/a.mtp", k + "/a.tro");
    EXPECT_EQ(CzytajPlik(k + "/a.tro"), PrzepiszPlikZBufora(PlikMTP().Tekst(), "x"));
    struct stat st{};
    ASSERT_EQ(::stat((k + "/a.tro").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IRUSR, 0u);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);

    // A failing copy leaves the existing target intact and no temporary file.
    ZapiszPlik(k + "/stary.tro", "stara tresc");
    ZapiszPlik(k + "/zly.mtp", "1\n2\n3\n4\n5\n6\n7\n8\n#Wspolrzedne200TEREN#\n5\n1\n");
    const std::size_t plikow = PlikowWKatalogu(k);
    EXPECT_NE(Blad([&] { PrzepiszPlik(k + "/zly.mtp", k + "/stary.tro"); }).find("zly.mtp, wiersz: 10"),
              std::string::npos);
    EXPECT_EQ(CzytajPlik(k + "/stary.tro"), "stara tresc");
    EXPECT_EQ(PlikowWKatalogu(k), plikow);
    // Missing source, unwritable target directory, no source chosen.
    EXPECT_NE(Blad([&] { PrzepiszPlik(k + "/brak.mtp", k + "/stary.tro"); }).find("brak.mtp"), std::string::npos);
    EXPECT_NE(Blad([&] { PrzepiszPlik(k + "/a.mtp", k + "/brak/katalog/x.tro"); }).find("x.tro"), std::string::npos);
    EXPECT_NE(Blad([&] { PrzepiszPlik("", k + "/stary.tro"); }), "(brak błędu)");
    EXPECT_EQ(CzytajPlik(k + "/stary.tro"), "stara tresc");
    EXPECT_EQ(PlikowWKatalogu(k), plikow);
    // A successful copy replaces the old target.
    PrzepiszPlik(k + "/a.mtp", k + "/stary.tro");
    EXPECT_EQ(CzytajPlik(k + "/stary.tro"), CzytajPlik(k + "/a.tro"));
    EXPECT_EQ(PlikowWKatalogu(k), plikow);
}

// ---------------------------------------------------------------------------
// The sample project shipped with the program.

TEST(Przyklad, MTPITROWczytujaSieTakSamo) {
    const std::string zrodla = ORVANY_ZRODLA;
    const std::string mtp = zrodla + "/Przyklady/Droga.mtp";
    const std::string tro = zrodla + "/Przyklady/Droga.tro";
    // The shipped .tro is exactly what the converter makes of the shipped .mtp,
    // and Model/ holds the same .mtp.
    EXPECT_EQ(CzytajPlik(tro), PrzepiszPlikZBufora(CzytajPlik(mtp), mtp));
    EXPECT_EQ(CzytajPlik(zrodla + "/Model/Droga.mtp"), CzytajPlik(mtp));

    ZerujStan();
    OtworzMTP(mtp);
    EXPECT_GE(TEREN.IleTrojkatow(), 20000);
    EXPECT_LE(TEREN.IleTrojkatow(), 60000);
    EXPECT_GT(PROJ.IleTrojkatow(), 1000);
    EXPECT_GT(TEREN.IleLinii(), 0);
    EXPECT_GT(PROJ.IleLinii(), 0);
    EXPECT_NEAR(TEREN.Zakres.Xmin, 5500000.0, 1.0);
    EXPECT_NEAR(TEREN.Zakres.Ymin, 4600000.0, 1.0);
    ASSERT_EQ(Trasa.IleZalomow(), 8);
    EXPECT_EQ(Cp1250NaUtf8(Trasa.Zalomy[0].Nazwa.Widok()), "Początek trasy");
    EXPECT_EQ(Cp1250NaUtf8(Trasa.Zalomy[1].Nazwa.Widok()), "Załom 1");
    EXPECT_EQ(Cp1250NaUtf8(Trasa.Zalomy[7].Nazwa.Widok()), "Koniec trasy");
    EXPECT_FLOAT_EQ(Trasa.Zalomy[1].R, 450.0f);
    EXPECT_EQ(Trasa.Dx, TEREN.Zakres.Xmin);
    // Every render triangle inside the terrain's box (local coordinates times 4).
    const double szer = 4 * (TEREN.Zakres.Xmax - TEREN.Zakres.Xmin) + 1e-6;
    for (const auto& r : TrojkatyPROJ) {
        ASSERT_GE(r.P1.X, 0.0);
        ASSERT_LE(r.P1.X, szer);
    }
    // The route builds without a message, and the road surface follows it: every
    // 5 m of the route lies on the centre line of the PROJ stations (the middle
    // point of the seven across the road).
    EXPECT_TRUE(Trasa.Obliczona);
    EXPECT_TRUE(KomunikatyTrasy.empty());
    EXPECT_GT(Trasa.PikMax, 2000.0f);
    EXPECT_LT(Trasa.PikMax, 3000.0f);
    double najdalej = 0;
    for (double pik = 0; pik <= Trasa.PikMax; pik += 5) {
        double x = 0, y = 0;
        PunktNaPikiecie(pik, x, y);
        double najblizej = 1e18;
        for (int k = 3; k + 7 < PROJ.IlePunktow(); k += 7) {
            const TPunktSiatki& a = PROJ.Punkty[k];
            const TPunktSiatki& b = PROJ.Punkty[k + 7];
            const double ax = a.X - Trasa.Dx, ay = a.Y - Trasa.Dy, bx = b.X - Trasa.Dx, by = b.Y - Trasa.Dy;
            const double dx = bx - ax, dy = by - ay;
            const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            najblizej = std::min(najblizej, std::hypot(ax + t * dx - x, ay + t * dy - y));
        }
        najdalej = std::max(najdalej, najblizej);
    }
    EXPECT_LT(najdalej, 0.5);
    const std::string zMtp = ZrzutBezLinii();

    ZerujStan();
    OtworzTRO(tro);
    EXPECT_EQ(ZrzutBezLinii(), zMtp);
    EXPECT_EQ(TEREN.IleLinii(), 0);
}
