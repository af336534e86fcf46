// orvany3d-cli run as a separate program on small files and on the sample road.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "scena/InfoProjekt.h"
#include "scena/Scena.h"
#include "pomocnicze/Pomocnicze.h"
#include "test_pliki_dane.h"

namespace fs = std::filesystem;
using namespace pliki_testowe;

namespace {

const std::string Cli = ORVANY_BIN "/orvany3d-cli", Droga = ORVANY_BIN "/Przyklady/Droga";
constexpr auto npos = std::string::npos;

struct TWynik { int Kod; std::string Wyjscie, Bledy; };

// Runs the tool with LC_ALL = locale (no argument holds a single quote).
TWynik Uruchom(const std::vector<std::string>& argumenty, const std::string& locale = "C") {
    const std::string kat = KatalogTymczasowy();
    std::string polecenie = "LC_ALL='" + locale + "' '" + Cli + "'";
    for (const auto& a : argumenty) polecenie += " '" + a + "'";
    const int s = std::system((polecenie + " >" + kat + "/out 2>" + kat + "/err").c_str());
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, CzytajPlik(kat + "/out"), CzytajPlik(kat + "/err")};
}

std::vector<std::string> Linie(const std::string& t) {
    std::vector<std::string> w;
    for (std::istringstream s(t); std::getline(s, w.emplace_back());) {}
    w.pop_back();
    return w;
}

// The width and height in a PNG's header.
std::string RozmiarPng(int w, int h) { return {'\0', '\0', char(w >> 8), char(w), '\0', '\0', char(h >> 8), char(h)}; }

// Small files. teren: TEREN over 1000..1200 x 2000..2200 (the load shift) and
// the route (1010, 2010) - (1110, 2010) - (1110, 2110) with R = 50 at the
// middle: straight to 50, arc around (1060, 2060) to 128.54, straight to 178.54.
class Narzedzie : public ::testing::Test {
protected:
    void SetUp() override {
        if (access(Cli.c_str(), X_OK) != 0) GTEST_SKIP() << "brak " << Cli << " (zbudowany bez Qt?)";
        TPlik a = Naglowek();
        for (const char* s : {"#WspTEREN#", "4"}) a(s);
        for (int i = 0; i < 4; ++i) DodajPunkt(a, i % 3 ? 1200 : 1000, i < 2 ? 2000 : 2200, 100 + i, "F", i, "P");
        for (const char* s : {"#TroTEREN#", "2"}) a(s);
        for (int t : {2, 3}) DodajTrojkatTEREN(a, 0, t - 1, t, "0H", "clGreen");
        for (const char* s : {"______________________________TRASA_2020", "3"}) a(s);
        DodajZalom(a, "P", "1010;2010");
        DodajZalom(a, "V", "1110;2010", "0;0;50");
        DodajZalom(a, "N", "1110;2110");
        ZapiszPlik(teren, a.Tekst());
        ZapiszPlik(zepsuty, Naglowek().Tekst() + "#WspTEREN#\ndwa\n");
        ZapiszPlik(proj, Naglowek().Tekst() + "#TroPROJ#\n1\n0;0;0\n0;1;2\n1050;2050;110\n1150;2050;111\n" +
                             "1100;2150;112\n0;0\n0N\nclGray\n");
    }
    const std::string kat = KatalogTymczasowy(), teren = kat + "/teren_trasa.tro", zepsuty = kat + "/zepsuty.tro",
                      proj = kat + "/proj.TRO";
};

}  // namespace

// The viewer's text of both reports, in the locale's decimal separator. A file that fails in the
// middle leaves the model as the other files made it.
TEST_F(Narzedzie, Raport) {
    const std::string wzorzec = CzytajPlik(ORVANY_ZRODLA "/tests/dane/raport_trasy_droga.txt");  // with ','
    for (char separator : {'.', ','}) {
        UstawLocale l(separator);
        const std::string loc = std::setlocale(LC_NUMERIC, nullptr), c(1, separator);
        const TWynik tro = Uruchom({"raport", Droga + ".tro"}, loc), oba = Uruchom({"raport", Droga + ".mtp", Droga + ".tro"}, loc);
        EXPECT_EQ(std::tuple(tro.Kod, tro.Bledy, oba.Kod, oba.Wyjscie), std::tuple(0, "", 0, tro.Wyjscie));
        EXPECT_NE(tro.Wyjscie.find("Ilosc trojkatów TEREN = "), npos);
        EXPECT_NE(tro.Wyjscie.find("Pik.  (min,max)  = (0" + c + "00 ; 2900" + c + "44)"), npos);
        EXPECT_TRUE(separator == '.' || tro.Wyjscie.ends_with(wzorzec));
        const TWynik w = Uruchom({"raport", teren, zepsuty, proj}, loc);
        EXPECT_EQ(w.Kod, 1);
        EXPECT_EQ(w.Bledy, "'dwa' is not a valid integer value\nPlik: " + zepsuty + ", wiersz: 10\n");
        for (const char* linia : {"Ilosc trojkatów TEREN = 2\n", "Ilosc trojkatów PROJ = 1\n", "Info TRASA"})
            EXPECT_NE(w.Wyjscie.find(linia), npos) << linia;
    }
}

TEST_F(Narzedzie, Pikiety) {
    const TWynik w = Uruchom({"pikiety", teren}, "pl_PL.UTF-8");
    ASSERT_EQ(w.Kod, 0) << w.Bledy;
    const auto l = Linie(w.Wyjscie);
    ASSERT_EQ(l.size(), 20u);  // header, 0 .. 170, the end
    // The ends are looked up 0.001 inside, in the file's coordinates, '.' whatever the locale.
    EXPECT_EQ(l[0], "pikieta;X;Y;kierunek");
    EXPECT_EQ(l[1], "0.0000;1010.0010;2010.0000;0.000000");
    EXPECT_EQ(l.back(), "178.5398;1110.0000;2109.9990;1.570796");
    EXPECT_EQ(l[5], "40.0000;1050.0000;2010.0000;0.000000");  // straight, arc round (1060, 2060), straight
    EXPECT_EQ(l[10], "90.0000;1095.8678;2025.1647;0.800000");
    EXPECT_EQ(l[18], "170.0000;1110.0000;2101.4602;1.570796");
}

TEST_F(Narzedzie, KodyWyjscia) {
    const std::string brakTrasy = "Trasa nie jest obliczona.";
    const std::tuple<std::vector<std::string>, int, std::string> przypadki[] = {
        {{"--help"}, 0, ""},
        {{"raport", kat + "/brak.tro", teren}, 1, "brak.tro"},
        {{"pikiety", zepsuty}, 1, "zepsuty.tro"},  // a failed file outranks the missing route
        {{}, 2, "--help"},
        {{"pikiety", teren, "--krok", "0"}, 2, "--help"},
        {{"pikiety", proj}, 3, brakTrasy},
        {{"przejazd", proj, kat + "/klatki"}, 3, brakTrasy},
    };
    for (const auto& [arg, kod, wBledach] : przypadki) {
        const TWynik w = Uruchom(arg);
        EXPECT_EQ(w.Kod, kod) << wBledach;
        EXPECT_NE(w.Bledy.find(wBledach), npos) << w.Bledy;
        EXPECT_TRUE(kod < 2 || w.Wyjscie.empty()) << w.Wyjscie;
    }
    EXPECT_FALSE(fs::exists(kat + "/klatki/klatka_00001.png"));
}

TEST_F(Narzedzie, Przepisz) {
    // The sample .mtp gives the sample .tro shipped beside it.
    const std::string zrodlo = ORVANY_BIN "/Model/Droga.mtp", cel = kat + "/Droga.tro";
    EXPECT_EQ(Uruchom({"przepisz", zrodlo, cel}).Kod, 0);
    const std::string przepisany = CzytajPlik(cel);
    EXPECT_EQ(przepisany, CzytajPlik(Droga + ".tro"));
    // A source that breaks the conversion leaves the target as it was.
    ZapiszPlik(kat + "/zly.mtp", Naglowek().Tekst() + "#Wspolrzedne200TEREN#\nx\n");
    const TWynik z = Uruchom({"przepisz", kat + "/zly.mtp", cel});
    EXPECT_EQ(z.Kod, 1);
    EXPECT_NE(z.Bledy.find("'x' is not a valid integer value"), npos) << z.Bledy;
    EXPECT_EQ(CzytajPlik(cel), przepisany);
}

TEST_F(Narzedzie, ObrazIPrzejazd) {
    const std::string a = kat + "/a.png", b = kat + "/b.PNG", k = kat + "/klatki";
    EXPECT_EQ(Uruchom({"obraz", proj, a}).Kod, 0);  // the general view needs no route
    EXPECT_EQ(Uruchom({"obraz", teren, b, "--rozmiar", "320x200", "--pikieta", "11"}).Kod, 0);
    EXPECT_TRUE(CzytajPlik(a).substr(16, 8) == RozmiarPng(958, 637) && CzytajPlik(b).substr(16, 8) == RozmiarPng(320, 200));
    // Frames at 10, 11, 12: the middle one is the picture at 11. Stale frames
    // right after the new ones go; one after a gap is not ours to judge.
    fs::create_directories(k);
    for (int i : {4, 5, 7}) ZapiszPlik(k + "/klatka_0000" + std::to_string(i) + ".png", "stara");
    EXPECT_EQ(Uruchom({"przejazd", teren, k, "--od", "10", "--do", "12", "--rozmiar", "320x200"}).Kod, 0);
    EXPECT_EQ(CzytajPlik(k + "/klatka_00002.png"), CzytajPlik(b));
    EXPECT_TRUE(fs::exists(k + "/klatka_00003.png") && fs::exists(k + "/klatka_00007.png"));
    EXPECT_FALSE(fs::exists(k + "/klatka_00004.png") || fs::exists(k + "/klatka_00005.png"));
    // A range of one chainage: one frame, the picture at it.
    EXPECT_EQ(Uruchom({"przejazd", teren, k + "/jedna", "--od", "11", "--do", "11", "--rozmiar", "320x200"}).Kod, 0);
    EXPECT_EQ(CzytajPlik(k + "/jedna/klatka_00001.png"), CzytajPlik(b));
    EXPECT_EQ(std::distance(fs::directory_iterator(k + "/jedna"), {}), 1);
}

TEST_F(Narzedzie, ObrazPrzezDowiazanieINieNaPotok) {
    // The picture goes through the program's safe writer: a link stays and its file gets the PNG;
    // a named pipe is refused without blocking and stays.
    const std::string obraz = kat + "/obrazy/a.png", lacze = kat + "/lacze.png", potok = kat + "/potok.png";
    fs::create_directories(kat + "/obrazy");
    fs::create_symlink("obrazy/a.png", lacze);
    EXPECT_EQ(Uruchom({"obraz", teren, lacze, "--rozmiar", "320x200"}).Kod, 0);
    EXPECT_TRUE(fs::is_symlink(lacze) && CzytajPlik(obraz).substr(16, 8) == RozmiarPng(320, 200));
    ASSERT_EQ(mkfifo(potok.c_str(), 0600), 0);
    const TWynik w = Uruchom({"obraz", teren, potok, "--rozmiar", "320x200"});
    EXPECT_EQ(w.Kod, 1);
    EXPECT_NE(w.Bledy.find("Nie można zapisać pliku " + potok + ": to nie jest zwykły plik, lecz potok"), npos) << w.Bledy;
    EXPECT_TRUE(fs::is_fifo(potok));
}

// LandXML written and read back gives the same station table; glTF has its header;
// wrong targets are usage errors, nothing to write is a file error.
TEST_F(Narzedzie, LandXMLIGltf) {
    const std::string xml = kat + "/teren.xml", glb = kat + "/teren.glb";
    ASSERT_EQ(Uruchom({"landxml", teren, xml}).Kod, 0);
    EXPECT_EQ(Uruchom({"gltf", teren, proj, glb}).Kod, 0);
    EXPECT_EQ(CzytajPlik(glb).substr(0, 4), "glTF");
    const auto a = Linie(Uruchom({"pikiety", teren}).Wyjscie), b = Linie(Uruchom({"pikiety", xml}).Wyjscie);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 1; i < a.size(); ++i) {
        double x1, y1, x2, y2, s1, s2, k1, k2;
        std::sscanf(a[i].c_str(), "%lf;%lf;%lf;%lf", &s1, &x1, &y1, &k1);
        std::sscanf(b[i].c_str(), "%lf;%lf;%lf;%lf", &s2, &x2, &y2, &k2);
        EXPECT_NEAR(s1, s2, 1e-3);
        EXPECT_LT(std::hypot(x1 - x2, y1 - y2), 1e-3) << a[i] << " / " << b[i];
    }
    // staStart 1000: the table, --od and --do read 1000 + s.
    std::string z = CzytajPlik(xml);
    z.replace(z.find("staStart=\"0.000000\""), 19, "staStart=\"1000.000000\"");
    ZapiszPlik(xml, z);
    const auto c = Linie(Uruchom({"pikiety", xml, "--krok", "50"}).Wyjscie);
    ASSERT_GE(c.size(), 3u);
    EXPECT_EQ(c[1].substr(0, 10), "1000.0000;");
    double s50, x50, y50, k50, s1050, x1050, y1050, k1050;
    std::sscanf(a[6].c_str(), "%lf;%lf;%lf;%lf", &s50, &x50, &y50, &k50);
    std::sscanf(c[2].c_str(), "%lf;%lf;%lf;%lf", &s1050, &x1050, &y1050, &k1050);
    EXPECT_EQ(std::pair(s50, s1050), std::pair(50.0, 1050.0));
    EXPECT_LT(std::hypot(x50 - x1050, y50 - y1050), 1e-3);  // chainage 50 = 1050
    for (const auto& [arg, kod] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"landxml", teren}, 2}, {{"gltf", teren, kat + "/x.xml"}, 2}, {{"landxml", zepsuty, kat + "/y.xml"}, 1}})
        EXPECT_EQ(Uruchom(arg).Kod, kod);
    EXPECT_FALSE(fs::exists(kat + "/y.xml"));
    // Written by the one safe writer: a link is written through, a directory in the target's place is refused.
    fs::create_directory(kat + "/katalog.glb");
    const TWynik w = Uruchom({"gltf", teren, kat + "/katalog.glb"});
    EXPECT_EQ(w.Kod, 1);
    EXPECT_NE(w.Bledy.find("Nie można zapisać pliku " + kat + "/katalog.glb"), std::string::npos) << w.Bledy;
    EXPECT_TRUE(fs::is_directory(kat + "/katalog.glb"));
    fs::create_symlink("teren.xml", kat + "/dowiazanie.xml");
    ASSERT_EQ(Uruchom({"landxml", teren, proj, kat + "/dowiazanie.xml"}).Kod, 0);
    EXPECT_TRUE(fs::is_symlink(kat + "/dowiazanie.xml"));
    EXPECT_EQ(SpisPlikuLandXML(xml).Powierzchnie, (std::vector<std::string>{"TEREN", "PROJ"}));
}
