// orvany3d-cli run as a separate program, checked against the core run in
// this process on the same files.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <sstream>

#include "dialogs/InfoProjekt.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
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

// The viewer's text of both reports after the same loads in this process, and the load errors.
std::pair<std::string, std::string> RaportWProcesie(const std::vector<std::string>& pliki) {
    ZerujStan();
    std::string t, bledy;
    for (const auto& p : pliki) {
        try { p.ends_with(".mtp") ? OtworzMTP(p) : OtworzTRO(p); }
        catch (const BladKonwersji& e) { bledy += e.what() + std::string("\n"); }
    }
    for (auto raport : {InfoTerenProj, InfoTrasy})
        for (raport(); const auto& l : OpisTekst) t += l + "\n";
    return {t, bledy};
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

// The last set: a file that fails in the middle leaves the model as the other files made it.
TEST_F(Narzedzie, RaportToTekstOknaOpis) {
    for (const auto& pliki : {std::vector{Droga + ".tro"}, {Droga + ".mtp", Droga + ".tro"}, {teren, zepsuty, proj}})
        for (char separator : {'.', ','}) {
            UstawLocale l(separator);
            std::vector<std::string> arg{"raport"};
            arg.insert(arg.end(), pliki.begin(), pliki.end());
            const TWynik w = Uruchom(arg, std::setlocale(LC_NUMERIC, nullptr));
            const auto [raport, bledy] = RaportWProcesie(pliki);
            EXPECT_EQ(w.Kod, pliki[0] == teren ? 1 : 0);
            EXPECT_EQ(w.Wyjscie, raport);
            EXPECT_EQ(w.Bledy, bledy);  // only the error box's message
            const std::string c(1, separator);
            EXPECT_NE(raport.find(pliki[0] == teren ? "TEREN = 2" : "(0" + c + "00 ; 2900" + c + "44)"), npos);
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
    const std::string zrodlo = ORVANY_BIN "/Model/Droga.mtp", cel = kat + "/Droga.tro";
    EXPECT_EQ(Uruchom({"przepisz", zrodlo, cel}).Kod, 0);
    const std::string przepisany = CzytajPlik(cel);
    EXPECT_EQ(przepisany, PrzepiszPlikZBufora(CzytajCalyPlik(zrodlo), "Droga.mtp"));
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
}

TEST_F(Narzedzie, WidokKierowcyIFilm) {
    const std::string droga = Droga + ".tro", film = kat + "/film.mp4";
    // Runs the tool with PATH set as given (the tool itself is named by its full path).
    auto zPath = [&](const std::string& path, const std::vector<std::string>& argumenty) {
        std::string p = "PATH='" + path + "' '" + Cli + "'";
        for (const auto& a : argumenty) p += " '" + a + "'";
        const std::string err = KatalogTymczasowy() + "/err";
        const int s = std::system((p + " >/dev/null 2>" + err).c_str());
        return TWynik{WIFEXITED(s) ? WEXITSTATUS(s) : -1, "", CzytajPlik(err)};
    };
    auto pliki = [&] {
        std::vector<std::string> w;
        for (const auto& e : fs::directory_iterator(kat)) w.push_back(e.path().filename().string());
        std::sort(w.begin(), w.end());
        return w;
    };
    const std::vector<std::string> dwieSekundy = {"przejazd", droga, "--wideo", film, "--kierowca",
                                                  "--predkosc", "36", "--od", "100", "--do", "119.6"};
    // Without ffmpeg: a Polish message, exit 2, nothing written.
    const auto przed = pliki();
    const TWynik brak = zPath("/nonexistent", dwieSekundy);
    EXPECT_EQ(brak.Kod, 2);
    EXPECT_NE(brak.Bledy.find("Brak programu ffmpeg"), npos) << brak.Bledy;
    EXPECT_EQ(pliki(), przed);

    // An ffmpeg that gives up half-way: the old file stays, no temporary file is left.
    fs::create_directories(kat + "/zly");
    ZapiszPlik(kat + "/zly/ffmpeg", "#!/bin/sh\nhead -c 3000000 >/dev/null\necho 'zepsuty koder' >&2\nexit 1\n");
    fs::permissions(kat + "/zly/ffmpeg", fs::perms::owner_all);
    ZapiszPlik(film, "stary film");
    const auto zPlikiem = pliki();
    const TWynik zly = zPath(kat + "/zly:/usr/bin:/bin", dwieSekundy);
    EXPECT_EQ(zly.Kod, 1);
    EXPECT_NE(zly.Bledy.find("zepsuty koder"), npos) << zly.Bledy;
    EXPECT_EQ(CzytajPlik(film), "stary film");
    EXPECT_EQ(pliki(), zPlikiem);

    // Options that belong together.
    EXPECT_EQ(Uruchom({"obraz", droga, kat + "/o.png", "--pikieta", "100", "--oko", "1.5"}).Kod, 2);
    EXPECT_EQ(Uruchom({"przejazd", droga, kat + "/k", "--predkosc", "50"}).Kod, 2);

    if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0)
        GTEST_SKIP() << "brak ffmpeg/ffprobe";
    // 36 km/h at 25 frames a second: 0.4 m a frame, 100 to 119.6 m in 50 frames, two seconds.
    ASSERT_EQ(Uruchom(dwieSekundy).Kod, 0);
    const std::string zapytanie = "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                                  "stream=nb_read_frames,codec_name,pix_fmt -of csv=p=0 '" + film + "' >" + kat + "/k.txt";
    ASSERT_EQ(std::system(zapytanie.c_str()), 0);
    EXPECT_EQ(CzytajPlik(kat + "/k.txt"), "h264,yuv420p,50\n");
}
