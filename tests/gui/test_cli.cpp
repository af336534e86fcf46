// orvany3d-cli's commands on small files and on the sample road: in this process (WykonajPolecenie) where the
// environment is the plain one, as a separate program where the locale, PATH or umask is the point.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <clocale>
#include <filesystem>
#include <numeric>
#include <sstream>

#include "cli/Polecenia.h"
#include "scena/InfoProjekt.h"
#include "pomocnicze/Pomocnicze.h"
#include "test_pliki_dane.h"

namespace fs = std::filesystem;
using namespace pliki_testowe;

namespace {

const std::string Cli = ORVANY_BIN "/orvany3d-cli", Droga = ORVANY_BIN "/Przyklady/Droga";
constexpr auto npos = std::string::npos;

struct TWynik {
    int Kod;
    std::string Wyjscie, Bledy;
};

const std::string SrodowiskoZwykle = "LC_ALL=C";

// Runs the command: in the plain environment in this process (the C locale, as the tool has in it), in any
// other as the tool in that environment (no argument holds a single quote).
TWynik Uruchom(const std::vector<std::string>& argumenty, const std::string& srodowisko = SrodowiskoZwykle) {
    if (srodowisko == SrodowiskoZwykle) {
        const std::string bylo = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "C");
        std::ostringstream wyjscie, bledy;
        const int kod = WykonajPolecenie(argumenty, wyjscie, bledy);
        std::setlocale(LC_ALL, bylo.c_str());
        return {kod, wyjscie.str(), bledy.str()};
    }
    const std::string kat = KatalogTymczasowy();
    std::string polecenie = srodowisko + " '" + Cli + "'";
    for (const auto& a : argumenty) polecenie += " '" + a + "'";
    const int s = std::system((polecenie + " >" + kat + "/out 2>" + kat + "/err").c_str());
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, CzytajPlik(kat + "/out"), CzytajPlik(kat + "/err")};
}

std::vector<std::string> Linie(const std::string& t) {
    std::vector<std::string> w = Podziel(t, '\n');
    w.pop_back();  // after the last line end
    return w;
}

// The fields of a table row, and its numbers (NaN where none).
std::vector<std::string> Pola(const std::string& wiersz) { return Podziel(wiersz, ';'); }
double Liczba(const std::string& t) {
    double v = NAN;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
}
std::vector<double> Liczby(const std::string& wiersz) {
    std::vector<double> w;
    for (const std::string& p : Pola(wiersz)) w.push_back(Liczba(p));
    return w;
}

// The width and height in a PNG's header.
std::string RozmiarPng(int w, int h) { return {'\0', '\0', char(w >> 8), char(w), '\0', '\0', char(h >> 8), char(h)}; }

// A LandXML file's start, and its route from 641.2153: a line, an arc of R 200, a line; 300 m.
const std::string NaglowekLandXML = R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2"><Units><Metric linearUnit="meter"/></Units>
)",
                  OsOd641 = R"(<Alignment name="Oś 1" staStart="641.2153"><CoordGeom>
<Line><Start>5500000 7500000</Start><End>5500000 7500100</End></Line>
<Curve rot="ccw" crvType="arc" radius="200"><Start>5500000 7500100</Start><Center>5500200 7500100</Center>
<End>5500024.483487565 7500195.885107720</End></Curve>
<Line><Start>5500024.483487565 7500195.885107720</Start><End>5500072.426041465 7500283.643363952</End></Line>
</CoordGeom>)";

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

// Both reports (their text is the core report tests' business) in the locale's decimal separator. A file
// that fails in the middle leaves the model as the other files made it.
TEST_F(Narzedzie, RaportIPrzepisz) {
    for (char separator : {'.', ','}) {
        UstawLocale l(separator);
        const std::string loc = std::setlocale(LC_NUMERIC, nullptr), c(1, separator);
        const TWynik tro = Uruchom({"raport", Droga + ".tro"}, "LC_ALL=" + loc);
        EXPECT_EQ(std::tuple(tro.Kod, tro.Bledy), std::tuple(0, ""));
        EXPECT_NE(tro.Wyjscie.find("Ilosc trojkatów TEREN = "), npos);
        EXPECT_NE(tro.Wyjscie.find("Pik.  (min,max)  = (0" + c + "00 ; 2900" + c + "44)"), npos);
        const TWynik w = Uruchom({"raport", teren, zepsuty, proj}, "LC_ALL=" + loc);
        EXPECT_EQ(w.Kod, 1);
        EXPECT_EQ(w.Bledy, "'dwa' is not a valid integer value\nPlik: " + zepsuty + ", wiersz: 10\n");
        for (const char* linia : {"Ilosc trojkatów TEREN = 2\n", "Ilosc trojkatów PROJ = 1\n", "Info TRASA"})
            EXPECT_NE(w.Wyjscie.find(linia), npos) << linia;
    }
    // The sample .mtp converted gives the sample .tro shipped beside it (a failed source: the exit codes).
    EXPECT_EQ(Uruchom({"przepisz", ORVANY_BIN "/Model/Droga.mtp", kat + "/Droga.tro"}).Kod, 0);
    EXPECT_EQ(CzytajPlik(kat + "/Droga.tro"), CzytajPlik(Droga + ".tro"));
}

// The exit code, a part of the message ("" for any), the arguments; T, P and Z stand for the files, K/ for the
// directory. A failed file outranks the missing route; options that belong together are refused alone.
TEST_F(Narzedzie, KodyWyjscia) {
    struct TPrzypadek {
        int Kod;
        std::string WBledach;
        std::vector<std::string> Argumenty;
    };
    const TPrzypadek przypadki[] = {
        {0, "", {"--help"}},
        {1, "brak.tro", {"raport", "K/brak.tro", "T"}},
        {1, "zepsuty.tro", {"pikiety", "Z"}},
        {1, "", {"profil", "Z"}},
        {1, "", {"przekroj", "Z", "--pikieta", "3"}},
        {1, "", {"landxml", "Z", "K/y.xml"}},
        {2, "--help", {}},
        {2, "--help", {"pikiety", "T", "--krok", "0"}},
        {2, "", {"profil", "T", "--krok", "-1"}},
        {2, "", {"przekroj", "T"}},
        {2, "", {"przekroj", "T", "--pikieta", "1", "--szerokosc", "0"}},
        {2, "", {"profil", "T", "--pikieta", "3"}},
        {2, "", {"profil", "T", "--obraz", "K/profil.jpg"}},
        {2, "", {"landxml", "T"}},
        {2, "", {"gltf", "T", "K/x.xml"}},
        {2, "", {"obraz", "T", "K/o.png", "--pikieta", "100", "--oko", "1.5"}},
        {2, "--uproszczony-teren", {"obraz", "T", "K/o.png", "--pikieta", "100", "--uproszczony-teren"}},
        {2, "", {"przejazd", "T", "K/k", "--predkosc", "50"}},
        {2, "--bez-zapisu", {"przejazd", "T", "--bez-zapisu", "--wideo", "K/f.mp4"}},
        {2, "", {"widocznosc", "T", "--kierunek", "bok"}},
        {2, "", {"widocznosc", "T", "--predkosc", "0"}},
        {2, "", {"widocznosc", "T", "--opoznienie", "-1"}},
        {2, "", {"widocznosc", "T", "--zasieg", "x"}},
        {3, "Trasa nie jest obliczona.", {"pikiety", "P"}},
        {3, "Trasa nie jest obliczona.", {"profil", "P"}},
        {3, "Trasa nie jest obliczona.", {"przekroj", "P", "--pikieta", "3"}},
        {3, "Trasa nie jest obliczona.", {"widocznosc", "P"}},
        {3, "Trasa nie jest obliczona.", {"przejazd", "P", "K/klatki"}},
        {1, "brak.mtp", {"przepisz", "K/brak.mtp", "K/c.tro"}},
    };
    for (const TPrzypadek& p : przypadki) {
        std::vector<std::string> arg = p.Argumenty;
        for (std::string& a : arg)
            a = a == "T" ? teren : a == "P" ? proj : a == "Z" ? zepsuty : a.starts_with("K/") ? kat + a.substr(1) : a;
        const std::string opis = std::accumulate(p.Argumenty.begin(), p.Argumenty.end(), std::string(),
                                                 [](std::string t, const std::string& a) { return t + " " + a; });
        const TWynik w = Uruchom(arg);
        EXPECT_EQ(w.Kod, p.Kod) << opis << ": " << w.Bledy;
        EXPECT_NE(w.Bledy.find(p.WBledach), npos) << opis << ": " << w.Bledy;
        EXPECT_TRUE(p.Kod < 2 || w.Wyjscie.empty()) << opis << ": " << w.Wyjscie;
    }
    EXPECT_FALSE(fs::exists(kat + "/klatki/klatka_00001.png") || fs::exists(kat + "/y.xml") ||
                 fs::exists(kat + "/c.tro"));
}

TEST_F(Narzedzie, ObrazIPrzejazd) {
    const std::string a = kat + "/a.png", b = kat + "/b.PNG", k = kat + "/klatki";
    EXPECT_EQ(Uruchom({"obraz", proj, a}).Kod, 0);  // the general view needs no route
    EXPECT_EQ(Uruchom({"obraz", teren, b, "--rozmiar", "320x200", "--pikieta", "11"}).Kod, 0);
    EXPECT_TRUE(CzytajPlik(a).substr(16, 8) == RozmiarPng(958, 637) &&
                CzytajPlik(b).substr(16, 8) == RozmiarPng(320, 200));
    // Frames at 10, 11, 12: the middle one is the picture at 11. Stale frames
    // right after the new ones go; one after a gap is not ours to judge.
    fs::create_directories(k);
    for (int i : {4, 5, 7}) ZapiszPlik(k + "/klatka_0000" + std::to_string(i) + ".png", "stara");
    EXPECT_EQ(Uruchom({"przejazd", teren, k, "--od", "10", "--do", "12", "--rozmiar", "320x200"}).Kod, 0);
    EXPECT_EQ(CzytajPlik(k + "/klatka_00002.png"), CzytajPlik(b));
    EXPECT_TRUE(fs::exists(k + "/klatka_00003.png") && fs::exists(k + "/klatka_00007.png"));
    EXPECT_FALSE(fs::exists(k + "/klatka_00004.png") || fs::exists(k + "/klatka_00005.png"));
    // Against the chainage: --od beyond --do, frames numbered in the order of travel (12, 11, 10).
    EXPECT_EQ(Uruchom({"przejazd", teren, k + "/wstecz", "--od", "12", "--do", "10", "--rozmiar", "320x200"}).Kod, 0);
    EXPECT_EQ(CzytajPlik(k + "/wstecz/klatka_00002.png"), CzytajPlik(b));
    EXPECT_EQ(CzytajPlik(k + "/wstecz/klatka_00003.png"), CzytajPlik(k + "/klatka_00001.png"));
    // A range of one chainage: one frame, the picture at it.
    EXPECT_EQ(Uruchom({"przejazd", teren, k + "/jedna", "--od", "11", "--do", "11", "--rozmiar", "320x200"}).Kod, 0);
    EXPECT_EQ(CzytajPlik(k + "/jedna/klatka_00001.png"), CzytajPlik(b));
    EXPECT_EQ(std::distance(fs::directory_iterator(k + "/jedna"), {}), 1);
    // The picture goes through the program's safe writer (whose tests follow links and refuse the rest):
    // a named pipe is refused without blocking and stays.
    const std::string potok = kat + "/potok.png";
    ASSERT_EQ(mkfifo(potok.c_str(), 0600), 0);
    const TWynik w = Uruchom({"obraz", teren, potok, "--rozmiar", "320x200"});
    EXPECT_EQ(w.Kod, 1);
    EXPECT_NE(w.Bledy.find("Nie można zapisać pliku " + potok + ": to nie jest zwykły plik, lecz potok"), npos)
        << w.Bledy;
    EXPECT_TRUE(fs::is_fifo(potok));
}

// The station table; LandXML written and read back puts the route where it was (the round trip itself is the LandXML tests'
// business), staStart shifting every chainage of the tables; glTF has its header; a link is written through.
TEST_F(Narzedzie, LandXMLIGltf) {
    const std::string xml = kat + "/teren.xml", glb = kat + "/teren.glb";
    ASSERT_EQ(Uruchom({"landxml", teren, xml}).Kod, 0);
    EXPECT_EQ(Uruchom({"gltf", teren, proj, glb}).Kod, 0);
    EXPECT_EQ(CzytajPlik(glb).substr(0, 4), "glTF");
    // staStart 1000: the station table, the long profile and the cross-section read 1000 + s.
    std::string z = CzytajPlik(xml);
    z.replace(z.find("staStart=\"0.000000\""), 19, "staStart=\"1000.000000\"");
    ZapiszPlik(xml, z);
    // The station table: the ends looked up 0.001 inside, in the file's coordinates, '.' whatever the locale; on
    // the arc round (1060, 2060) 0.2 and 1.4 rad turned (the route's geometry itself: the route build tests).
    const auto a = Linie(Uruchom({"pikiety", teren, "--krok", "60"}, "LC_ALL=pl_PL.UTF-8").Wyjscie);
    EXPECT_EQ(a,
              (std::vector<std::string>{"pikieta;X;Y;kierunek", "0.0000;1010.0010;2010.0000;0.000000",
                                        "60.0000;1069.9335;2010.9967;0.200000", "120.0000;1109.2725;2051.5016;1.400000",
                                        "178.5398;1110.0000;2109.9990;1.570796"}));
    const auto c = Linie(Uruchom({"pikiety", xml, "--krok", "50"}).Wyjscie);
    const auto pr = Linie(Uruchom({"profil", xml, "--krok", "50"}).Wyjscie);
    const auto q = Linie(Uruchom({"przekroj", xml, "--pikieta", "1050", "--szerokosc", "5", "--krok", "5"}).Wyjscie);
    ASSERT_TRUE(c.size() >= 3 && pr.size() >= 3 && q.size() == 4u);  // header, -5, 0, 5
    // 1050 is 50 m along: the arc's first point (1060, 2010).
    const auto p1050 = Liczby(c[2]), q0 = Liczby(q[2]);
    EXPECT_EQ(std::tuple(c[1].substr(0, 10), pr[2].substr(0, 10), p1050[0]),
              std::tuple("1000.0000;", "1050.0000;", 1050.0));
    EXPECT_LT(std::hypot(p1050[1] - 1060, p1050[2] - 2010), 1e-3);
    EXPECT_LT(std::hypot(q0[1] - 1060, q0[2] - 2010), 1e-3) << q[2];
    // Every command prints and takes the chainage shown: the sight rows from 1000, a chainage beyond the route
    // taken at its end with a warning; without any surface the sight check is refused.
    const TWynik w = Uruchom({"widocznosc", xml, "--krok", "50", "--kierunek", "naprzod"});
    ASSERT_EQ(w.Kod, 0) << w.Bledy;
    EXPECT_EQ(Linie(w.Wyjscie).at(1).substr(0, 12), "1000.0000;+;");
    const TWynik poza = Uruchom({"obraz", xml, kat + "/poza.png", "--pikieta", "99999", "--rozmiar", "160x120"});
    EXPECT_EQ(poza.Kod, 0);
    EXPECT_NE(poza.Bledy.find("Uwaga: pikieta 99999.00 (--pikieta) leży poza trasą (od 1000.00 do 1178.54); użyto "
                              "końca trasy, 1178.54."),
              npos)
        << poza.Bledy;
    const TWynik bez = Uruchom({"widocznosc", xml, "--bez-terenu"});
    EXPECT_EQ(bez.Kod, 1);
    EXPECT_NE(bez.Bledy.find("Nie wczytano żadnej powierzchni"), npos) << bez.Bledy;
    // The converter reads .mtp only: a LandXML source is refused, nothing is written.
    const TWynik przepisz = Uruchom({"przepisz", xml, kat + "/z_xml.tro"});
    EXPECT_EQ(przepisz.Kod, 2);
    EXPECT_NE(przepisz.Bledy.find("to plik LandXML"), npos) << przepisz.Bledy;
    EXPECT_FALSE(fs::exists(kat + "/z_xml.tro"));
    fs::create_symlink("teren.xml", kat + "/dowiazanie.xml");
    ASSERT_EQ(Uruchom({"landxml", teren, proj, kat + "/dowiazanie.xml"}).Kod, 0);
    EXPECT_TRUE(fs::is_symlink(kat + "/dowiazanie.xml"));
    EXPECT_EQ(SpisPlikuLandXML(xml).Powierzchnie, (std::vector<std::string>{"TEREN", "PROJ"}));
    // Opened with no choice, the surface named PROJ is the design surface again.
    const TWynik r = Uruchom({"raport", xml});
    EXPECT_EQ(r.Kod, 0);
    EXPECT_NE(r.Wyjscie.find("Ilosc trojkatów PROJ = 1\n"), npos) << r.Wyjscie;
}

// The long profile and the cross-section over the small route: TEREN is two
// planes meeting on the diagonal of its square (below it z = 100 + (dx + dy) / 200,
// dx, dy from (1000, 2000)), PROJ one triangle (1000, 2000) - (1080, 2000) -
// (1000, 2080) with z = 104 + dx / 100.
TEST_F(Narzedzie, ProfilIPrzekroj) {
    const std::string plik = kat + "/profil.tro";
    ZapiszPlik(plik, CzytajPlik(teren) + "#TroPROJ#\n1\n0;0;0\n0;1;2\n1000;2000;104\n1080;2000;104,8\n" +
                         "1000;2080;104\n0;0\n0N\nclGray\n");
    const TWynik p = Uruchom({"profil", plik, "--krok", "20"}, "LC_ALL=pl_PL.UTF-8");
    ASSERT_EQ(p.Kod, 0) << p.Bledy;
    const auto l = Linie(p.Wyjscie);
    ASSERT_EQ(l.size(), 11u);  // header, 0 .. 160, the end
    // At 60 on the arc, 10 m past its start: (1060 + 50 sin 0.2, 2060 - 50 cos 0.2), beyond PROJ.
    EXPECT_EQ(std::vector(l.begin(), l.begin() + 5),
              (std::vector<std::string>{
                  "pikieta;X;Y;Z_proj;Z_teren;roznica", "0.0000;1010.0010;2010.0000;104.100;100.100;4.000",
                  "20.0000;1030.0000;2010.0000;104.300;100.200;4.100",
                  "40.0000;1050.0000;2010.0000;104.500;100.300;4.200", "60.0000;1069.9335;2010.9967;;100.405;"}));
    EXPECT_EQ(l[10], "178.5398;1110.0000;2109.9990;;101.100;");

    // Square to the first straight (along +X): right of the travel is -Y.
    const TWynik q = Uruchom({"przekroj", plik, "--pikieta", "20", "--szerokosc", "15", "--krok", "5"});
    ASSERT_EQ(q.Kod, 0) << q.Bledy;
    EXPECT_EQ(
        q.Wyjscie,
        "odleglosc;X;Y;Z_proj;Z_teren\n-15.0000;1030.0000;2025.0000;104.300;100.275\n-10.0000;1030.0000;2020.0000;"
        "104.300;100.250\n-5.0000;1030.0000;2015.0000;104.300;100.225\n0.0000;1030.0000;2010.0000;104.300;100.200\n"
        "5.0000;1030.0000;2005.0000;104.300;100.175\n10.0000;1030.0000;2000.0000;104.300;100.150\n"
        "15.0000;1030.0000;1995.0000;;\n");

    const std::string obraz = kat + "/profil.png";
    EXPECT_EQ(Uruchom({"profil", plik, "--obraz", obraz, "--pikieta", "60", "--rozmiar", "640x400"}).Kod, 0);
    EXPECT_EQ(CzytajPlik(obraz).substr(16, 8), RozmiarPng(640, 400));
}

TEST_F(Narzedzie, WidokKierowcyIFilm) {
    const std::string droga = Droga + ".tro", film = kat + "/film.mp4";
    auto pliki = [&] {
        std::vector<std::string> w;
        for (const auto& e : fs::directory_iterator(kat)) w.push_back(e.path().filename().string());
        std::sort(w.begin(), w.end());
        return w;
    };
    const std::vector<std::string> dwieSekundy = {"przejazd", droga,  "--wideo", film,   "--kierowca", "--predkosc",
                                                  "36",       "--od", "100",     "--do", "119.6"};
    // Without ffmpeg: a Polish message, exit 2, nothing written.
    const auto przed = pliki();
    const TWynik brak = Uruchom(dwieSekundy, "PATH=/nonexistent");
    EXPECT_EQ(brak.Kod, 2);
    EXPECT_NE(brak.Bledy.find("Brak programu ffmpeg"), npos) << brak.Bledy;
    EXPECT_EQ(pliki(), przed);

    // An ffmpeg that gives up half-way: the old file stays, no temporary file is left.
    fs::create_directories(kat + "/zly");
    ZapiszPlik(kat + "/zly/ffmpeg", "#!/bin/sh\nhead -c 3000000 >/dev/null\necho 'zepsuty koder' >&2\nexit 1\n");
    fs::permissions(kat + "/zly/ffmpeg", fs::perms::owner_all);
    ZapiszPlik(film, "stary film");
    const auto zPlikiem = pliki();
    const TWynik zly = Uruchom(dwieSekundy, "PATH='" + kat + "/zly:/usr/bin:/bin'");
    EXPECT_EQ(zly.Kod, 1);
    EXPECT_NE(zly.Bledy.find("zepsuty koder"), npos) << zly.Bledy;
    EXPECT_EQ(CzytajPlik(film), "stary film");
    EXPECT_EQ(pliki(), zPlikiem);

    // Drawn and not written: the frames counted on stderr, with their rate; no file.
    const TWynik pomiar = Uruchom({"przejazd", droga, "--bez-zapisu", "--kierowca", "--od", "100", "--do", "119.6",
                                   "--krok", "0.4", "--rozmiar", "320x200"});
    EXPECT_EQ(pomiar.Kod, 0) << pomiar.Bledy;
    ASSERT_TRUE(pomiar.Bledy.starts_with("klatek: 50, klatek/s: ")) << pomiar.Bledy;
    EXPECT_GT(Liczba(pomiar.Bledy.substr(pomiar.Bledy.rfind(' ') + 1)), 0.0) << pomiar.Bledy;
    EXPECT_EQ(pliki(), zPlikiem);
    // The same drive with the coarse far ground.
    const TWynik uproszczony = Uruchom({"przejazd", droga, "--bez-zapisu", "--kierowca", "--uproszczony-teren", "--od",
                                        "100", "--do", "119.6", "--krok", "0.4", "--rozmiar", "320x200"});
    EXPECT_EQ(uproszczony.Kod, 0) << uproszczony.Bledy;
    EXPECT_TRUE(uproszczony.Bledy.starts_with("klatek: 50, klatek/s: ")) << uproszczony.Bledy;
    EXPECT_EQ(pliki(), zPlikiem);

    if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0)
        GTEST_SKIP() << "brak ffmpeg/ffprobe";
    // 36 km/h at 25 frames a second: 0.4 m a frame, 100 to 119.6 m in 50 frames, two seconds. The film goes
    // through the safe writer: a replaced film keeps its bits, a new one gets 0666 less the umask.
    fs::permissions(film, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(Uruchom(dwieSekundy, "umask 022; LC_ALL=C").Kod, 0);
    EXPECT_EQ(fs::status(film).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::vector<std::string> nowy = dwieSekundy;
    nowy[3] = kat + "/nowy.mp4";
    nowy.back() = "100.8";
    ASSERT_EQ(Uruchom(nowy, "umask 022; LC_ALL=C").Kod, 0);
    EXPECT_EQ(fs::status(kat + "/nowy.mp4").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    const std::string zapytanie =
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=nb_read_frames,codec_name,pix_fmt -of csv=p=0 '" +
        film + "' >" + kat + "/k.txt";
    ASSERT_EQ(std::system(zapytanie.c_str()), 0);
    EXPECT_EQ(CzytajPlik(kat + "/k.txt"), "h264,yuv420p,50\n");
}

TEST_F(Narzedzie, Widocznosc) {
    // The terrain of `teren` is two planes meeting in a valley, which hides
    // nothing: every row runs to the route's end (178.54), whatever the locale.
    // At 20 km/h Lz = v t + v^2 / (2 (a + g i)) with the terrain's grade along
    // the first straight, i = +0.005 driving + and -0.005 driving -.
    const TWynik w = Uruchom({"widocznosc", teren, "--predkosc", "20"}, "LC_ALL=pl_PL.UTF-8");
    ASSERT_EQ(w.Kod, 0) << w.Bledy;
    const auto l = Linie(w.Wyjscie);
    ASSERT_EQ(l.size(), 39u);  // header, 19 stations in both directions
    EXPECT_EQ(std::vector(l.begin(), l.begin() + 4),
              (std::vector<std::string>{"pikieta;kierunek;dostepna;wymagana;ocena;granica;X;Y;Z;powierzchnia",
                                        "0.0000;+;178.54;18.36;tak;koniec;;;;", "0.0000;-;0.00;18.36;tak;koniec;;;;",
                                        "10.0000;+;168.54;18.36;tak;koniec;;;;"}));
    EXPECT_EQ(l[8], "30.0000;-;30.00;18.49;tak;koniec;;;;");
    EXPECT_EQ(l[38].substr(0, 16), "178.5398;-;178.5");

    // A raised triangle of design surface over the bend's end: the sight lines driving + meet it on its
    // near edge y = 2050, at the height of its plane z = 110 + 0.01 (x - 1050) + 0.015 (y - 2050).
    const std::string plik = kat + "/razem.tro";
    std::string t = CzytajPlik(teren);
    t.insert(t.find("______________________________TRASA"),
             "#TroPROJ#\n1\n0;0;0\n0;1;2\n1050;2050;110\n1150;2050;111\n1100;2150;112\n0;0\n0N\nclGray\n");
    ZapiszPlik(plik, t);
    const TWynik z = Uruchom({"widocznosc", plik, "--krok", "20", "--kierunek", "naprzod", "--zasieg", "150"});
    ASSERT_EQ(z.Kod, 0) << z.Bledy;
    const auto r = Linie(z.Wyjscie);
    ASSERT_EQ(r.size(), 11u);  // 0, 20, ..., 160, the end; + only
    int zaslonietych = 0;
    for (std::size_t i = 1; i < r.size(); ++i) {
        const auto p = Pola(r[i]);
        ASSERT_EQ(p.size(), 10u) << r[i];
        EXPECT_EQ(p[5], p[9].empty() ? "koniec" : "") << r[i];  // the end always passes
        if (p[9].empty()) continue;
        EXPECT_EQ(p[4], Liczba(p[2]) >= Liczba(p[3]) ? "tak" : "nie") << r[i];
        // The obstacle's columns, 3 decimals (where the sight line meets a surface: the core sight tests).
        const double x = Liczba(p[6]), y = Liczba(p[7]), z = Liczba(p[8]);
        EXPECT_TRUE(p[1] == "+" && p[9] == "PROJ" && p[6].size() - p[6].find('.') == 4 && std::fabs(y - 2050) < 1e-3 &&
                    std::fabs(z - 110 - 0.01 * (x - 1050)) < 0.02)
            << r[i];
        ++zaslonietych;
    }
    EXPECT_GE(zaslonietych, 4);
}

// The design line of a LandXML alignment at round chainages: the route from 641.2153 with grades of +2 % and -2 %
// and a parabola of 100 m over 0+791.2153 (worked by hand: at 800, 58.7847 m into the curve,
// 103 + 0.02 * 8.7847 - 0.0002 * 58.7847^2 and a grade of 2 - 4 * 0.587847 %).
TEST_F(Narzedzie, Niweleta) {
    const std::string xml = kat + "/niweleta.xml";
    ZapiszPlik(
        xml,
        NaglowekLandXML + "<Alignments>" + OsOd641 +
            R"(<Profile name="Oś 1"><ProfSurf name="Teren"><PntList2D>641.2153 99 941.2153 98</PntList2D></ProfSurf>
<ProfAlign name="Projekt"><PVI>641.2153 100</PVI><ParaCurve length="100">791.2153 103</ParaCurve>
<PVI>941.2153 100</PVI></ProfAlign></Profile></Alignment></Alignments></LandXML>
)");
    const TWynik n = Uruchom({"niweleta", xml, "--krok", "50"});
    ASSERT_EQ(n.Kod, 0) << n.Bledy;
    EXPECT_EQ(Linie(n.Wyjscie), (std::vector<std::string>{
                                    "pikieta;Z;pochylenie", "641.2153;100.000;2.000", "650.0000;100.176;2.000",
                                    "700.0000;101.176;2.000", "750.0000;102.160;1.649", "800.0000;102.485;-0.351",
                                    "850.0000;101.824;-2.000", "900.0000;100.824;-2.000", "941.2153;100.000;-2.000"}));
    // The report lists the file's alignments and profiles.
    const TWynik r = Uruchom({"raport", xml});
    EXPECT_NE(r.Wyjscie.find("Trasy pliku:\nTrasa „Oś 1”: pikieta początkowa 641.215, długość 300.000 m, elementy: 2 "
                             "prostych, 1 łuków, 0 klotoid; przyjęte załamania: 0.\n  niweleta „Projekt”: 3 punktów "
                             "załamania, łuków pionowych 1"),
              npos)
        << r.Wyjscie;
    // No such profile; no profile at all.
    const TWynik b = Uruchom({"niweleta", xml, "--profil", "Wariant"});
    EXPECT_EQ(b.Kod, 1);
    EXPECT_NE(b.Bledy.find("Trasa „Oś 1” nie ma niwelety „Wariant” (--profil). Niwelety trasy: „Projekt”."), npos);
    const TWynik t = Uruchom({"niweleta", teren});
    EXPECT_EQ(t.Kod, 1);
    EXPECT_NE(t.Bledy.find("trasa nie ma niwelety"), npos) << t.Bledy;
}

// Every table with a step starts at the route's start, goes on at round multiples of the displayed chainage and
// ends at the route's end: the route from 641.2153 over a level design surface named PROJ.
TEST_F(Narzedzie, PikietyZaokragloneWTabelach) {
    const std::string xml = kat + "/zaokraglone.xml";
    ZapiszPlik(xml, NaglowekLandXML + R"(<Surfaces><Surface name="PROJ"><Definition surfType="TIN"><Pnts>
<P id="1">7499900 5499900 100</P><P id="2">7499900 5500300 100</P><P id="3">7500400 5500300 100</P>
<P id="4">7500400 5499900 100</P></Pnts><Faces><F>1 2 3</F><F>1 3 4</F></Faces></Definition></Surface></Surfaces>
<Alignments>)" + OsOd641 +
                        "</Alignment></Alignments></LandXML>\n");
    const std::vector<std::string> oczekiwane = {"641.2", "650.0", "700.0", "750.0",
                                                 "800.0", "850.0", "900.0", "941.2"};
    auto pierwszaKolumna = [&](const std::vector<std::string>& polecenie, std::size_t doWiersza) {
        const TWynik w = Uruchom(polecenie);
        EXPECT_EQ(w.Kod, 0) << polecenie[0] << ": " << w.Bledy;
        std::vector<std::string> k;
        const auto linie = Linie(w.Wyjscie);
        // Rows of both directions repeat a chainage: each chainage counts once.
        for (std::size_t i = 1; i < linie.size() && k.size() < doWiersza; ++i) {
            const std::string p = Pola(linie[i])[0].substr(0, 5);
            if (k.empty() || k.back() != p) k.push_back(p);
        }
        return k;
    };
    EXPECT_EQ(pierwszaKolumna({"pikiety", xml, "--krok", "50"}, 9), oczekiwane);  // nothing after the end
    EXPECT_EQ(pierwszaKolumna({"widocznosc", xml, "--krok", "50"}, 8), oczekiwane);
    EXPECT_EQ(pierwszaKolumna({"pochylenia", xml, "--krok", "50"}, 8), oczekiwane);
    // The drainage check's bands run between the same chainages.
    auto od = pierwszaKolumna({"spadki", xml, "--krok", "50"}, 7);
    EXPECT_EQ(od, std::vector<std::string>(oczekiwane.begin(), oczekiwane.end() - 1));
}
