// orvany3d-cli run as a separate program, checked against the core run in
// this process on the same files.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "dialogs/InfoProjekt.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"
#include "route/OblTrasa.h"
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
    std::istringstream s(t);
    for (std::string l; std::getline(s, l);) w.push_back(l);
    return w;
}

// The viewer's text of both reports after the same loads in this process.
std::string RaportWProcesie(const std::vector<std::string>& pliki, std::string* bledy = nullptr) {
    ZerujStan();
    for (const auto& p : pliki) {
        try {
            p.ends_with(".mtp") ? OtworzMTP(p) : OtworzTRO(p);
        } catch (const BladKonwersji& e) {
            if (bledy) *bledy += std::string(e.what()) + "\n";
        }
    }
    std::string t;
    for (auto raport : {InfoTerenProj, InfoTrasy}) {
        raport();
        for (const auto& l : OpisTekst) t += l + "\n";
    }
    return t;
}

// Width and height from a PNG's header; (0, 0) when there is no PNG.
std::pair<int, int> RozmiarPng(const std::string& plik) {
    const std::string b = fs::exists(plik) ? CzytajPlik(plik) : "";
    if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return {0, 0};
    auto u = [&](int i) { return static_cast<unsigned char>(b[i]); };
    return {u(18) * 256 + u(19), u(22) * 256 + u(23)};
}

// Small files. teren: TEREN over 1000..1200 x 2000..2200 (the load shift) and
// the route (1010, 2010) - (1110, 2010) - (1110, 2110) with R = 50 at the
// middle: straight to 50, arc around (1060, 2060) to 128.54, straight to 178.54.
class Narzedzie : public ::testing::Test {
protected:
    void SetUp() override {
        if (access(Cli.c_str(), X_OK) != 0) GTEST_SKIP() << "brak " << Cli << " (zbudowany bez Qt?)";
        TPlik a = Naglowek();
        for (const char* s : {"#WspTEREN#", "4"}) a(s);
        DodajPunkt(a, 1000, 2000, 100, "F", 0, "A");
        DodajPunkt(a, 1200, 2000, 101, "F", 1, "B");
        DodajPunkt(a, 1200, 2200, 102, "F", 2, "C");
        DodajPunkt(a, 1000, 2200, 103, "F", 3, "D");
        for (const char* s : {"#TroTEREN#", "2"}) a(s);
        DodajTrojkatTEREN(a, 0, 1, 2, "0H", "clGreen");
        DodajTrojkatTEREN(a, 0, 2, 3, "0H", "clGreen");
        for (const char* s : {"______________________________TRASA_2020", "3"}) a(s);
        DodajZalom(a, "P", "1010;2010");
        DodajZalom(a, "V", "1110;2010", "0;0;50");
        DodajZalom(a, "N", "1110;2110");
        ZapiszPlik(teren, a.Tekst());
        ZapiszPlik(zepsuty, Naglowek().Tekst() + "#WspTEREN#\ndwa\n");
        TPlik p = Naglowek();
        for (const char* s : {"#TroPROJ#", "1", "0;0;0", "0;1;2", "1050;2050;110", "1150;2050;111", "1100;2150;112",
                              "0;0", "0N", "clGray"})
            p(s);
        ZapiszPlik(proj, p.Tekst());
        TPlik k = Naglowek();
        for (const char* s : {"______________________________TRASA_2020", "1"}) k(s);
        DodajZalom(k, "Sam", "1050;2050");
        ZapiszPlik(krotka, k.Tekst());
    }
    void TearDown() override { ZerujStan(); }
    const std::string kat = KatalogTymczasowy(), teren = kat + "/teren_trasa.tro", zepsuty = kat + "/zepsuty.tro",
                      proj = kat + "/proj.TRO", krotka = kat + "/krotka.tro";
};

}  // namespace

TEST_F(Narzedzie, RaportToTekstOknaOpis) {
    for (const auto& pliki : std::vector<std::vector<std::string>>{{Droga + ".tro"}, {Droga + ".mtp", Droga + ".tro"}})
        for (char separator : {'.', ','}) {
            UstawLocale l(separator);
            std::vector<std::string> arg{"raport"};
            arg.insert(arg.end(), pliki.begin(), pliki.end());
            const TWynik w = Uruchom(arg, std::setlocale(LC_NUMERIC, nullptr));
            EXPECT_EQ(w.Kod, 0) << w.Bledy;
            EXPECT_EQ(w.Wyjscie, RaportWProcesie(pliki));
            const std::string c(1, separator);
            EXPECT_NE(w.Wyjscie.find("Pik.  (min,max)  = (0" + c + "00 ; 2900" + c + "44)"), npos);
        }
    // A file that fails in the middle: the model as the other files made it, its message on stderr only.
    UstawLocale l('.');
    std::string bledy;
    const std::string oczekiwany = RaportWProcesie({teren, zepsuty, proj}, &bledy);
    const TWynik w = Uruchom({"raport", teren, zepsuty, proj});
    EXPECT_EQ(w.Kod, 1);
    EXPECT_EQ(w.Wyjscie, oczekiwany);
    EXPECT_EQ(w.Bledy, bledy);
    for (const char* s : {"Ilosc trojkatów TEREN = 2", "Ilosc trojkatów PROJ = 1", "Ilosc punktów trasa = 3"})
        EXPECT_NE(w.Wyjscie.find(s), npos) << s;
}

TEST_F(Narzedzie, Pikiety) {
    const TWynik w = Uruchom({"pikiety", teren}, "pl_PL.UTF-8");
    ASSERT_EQ(w.Kod, 0) << w.Bledy;
    const auto l = Linie(w.Wyjscie);
    ASSERT_EQ(l.size(), 20u);  // header, 0 .. 170, the end
    EXPECT_EQ(l[0], "pikieta;X;Y;kierunek");
    // The ends are looked up 0.001 inside, in the file's coordinates, '.' whatever the locale.
    EXPECT_EQ(l[1], "0.0000;1010.0010;2010.0000;0.000000");
    EXPECT_EQ(l.back(), "178.5398;1110.0000;2109.9990;1.570796");
    for (std::size_t i = 2; i + 1 < l.size(); ++i) {
        double s = 0, x = 0, y = 0, kat = 0;
        ASSERT_EQ(std::sscanf(l[i].c_str(), "%lf;%lf;%lf;%lf", &s, &x, &y, &kat), 4) << l[i];
        EXPECT_EQ(s, (i - 1) * 10.0);
        if (s < 50)
            EXPECT_TRUE(std::hypot(x - 1010 - s, y - 2010) < 1e-4 && kat == 0) << l[i];
        else if (s < 128.5)  // the arc, from its first point
            EXPECT_NEAR(std::hypot(x - 1060, y - 2060), 50, 2e-4) << l[i];
        else
            EXPECT_TRUE(std::hypot(x - 1110, y - 2060 - (s - 50 - 25 * M_PI)) < 1e-4 && std::fabs(kat - M_PI / 2) < 1e-6)
                << l[i];
    }
    const auto k = Linie(Uruchom({"pikiety", "--krok=62,5", teren}).Wyjscie);
    ASSERT_EQ(k.size(), 5u);
    EXPECT_EQ(k[3].substr(0, 9), "125.0000;");

    // The sample road: every row is the core's lookup.
    ZerujStan();
    OtworzTRO(Droga + ".tro");
    const auto d = Linie(Uruchom({"pikiety", Droga + ".tro", "--krok", "100"}).Wyjscie);
    ASSERT_EQ(d.size(), 32u);
    for (std::size_t i = 1; i < d.size(); ++i) {
        double s = 0, x = 0, y = 0, kat = 0, ox = 0, oy = 0;
        ASSERT_EQ(std::sscanf(d[i].c_str(), "%lf;%lf;%lf;%lf", &s, &x, &y, &kat), 4) << d[i];
        const double pik = i + 1 < d.size() ? (i - 1) * 100.0 : static_cast<double>(Trasa.PikMax);
        PunktNaPikiecie(pik, ox, oy);
        EXPECT_TRUE(std::fabs(s - pik) < 5e-5 && std::hypot(x - ox - Trasa.Dx, y - oy - Trasa.Dy) < 1e-4 &&
                    std::fabs(kat - KatNaPikiecie(pik)) < 5e-7)
            << d[i];
    }
}

TEST_F(Narzedzie, KodyWyjscia) {
    const std::string png = kat + "/x.png", brakTrasy = "Definicja trasy musi składać się z min 2 punktów!";
    const struct {
        std::vector<std::string> arg;
        int kod;
        std::string wBledach;
    } przypadki[] = {
        {{"raport", kat + "/brak.tro", teren}, 1, "brak.tro"},
        {{"obraz", teren, kat + "/brak/katalogu.png"}, 1, "katalogu.png"},
        {{"pikiety", zepsuty}, 1, "zepsuty.tro"},  // a failed file outranks the missing route
        {{}, 2, "--help"},
        {{"pikiety", teren, "--krok", "0"}, 2, "--help"},
        {{"obraz", teren, png, "--rozmiar", "99999x10"}, 2, "--help"},
        {{"pikiety", krotka}, 3, brakTrasy},
        {{"przejazd", krotka, kat + "/klatki"}, 3, brakTrasy},
    };
    for (const auto& p : przypadki) {
        const TWynik w = Uruchom(p.arg);
        EXPECT_EQ(w.Kod, p.kod) << p.wBledach;
        EXPECT_NE(w.Bledy.find(p.wBledach), npos) << w.Bledy;
        if (p.kod > 1) {
            EXPECT_EQ(w.Wyjscie, "") << p.wBledach;
        }
    }
    EXPECT_FALSE(fs::exists(png) || fs::exists(kat + "/klatki/klatka_00001.png"));
    const TWynik h = Uruchom({"--help"});
    EXPECT_EQ(h.Kod, 0);
    for (const char* s : {"raport", "pikiety", "obraz", "przejazd", "przepisz"}) EXPECT_NE(h.Wyjscie.find(s), npos) << s;
}

TEST_F(Narzedzie, Przepisz) {
    const std::string zrodlo = ORVANY_BIN "/Model/Droga.mtp", cel = kat + "/Droga.tro";
    EXPECT_EQ(Uruchom({"przepisz", zrodlo, cel}).Kod, 0);
    EXPECT_EQ(CzytajPlik(cel), PrzepiszPlikZBufora(CzytajCalyPlik(zrodlo), "Droga.mtp"));
    // A source that breaks the conversion leaves the old target and no temporary file.
    ZapiszPlik(kat + "/zly.mtp", Naglowek().Tekst() + "#Wspolrzedne200TEREN#\nx\n");
    ZapiszPlik(kat + "/stary.tro", "stara zawartość\n");
    const TWynik z = Uruchom({"przepisz", kat + "/zly.mtp", kat + "/stary.tro"});
    EXPECT_EQ(z.Kod, 1);
    EXPECT_NE(z.Bledy.find("'x' is not a valid integer value"), npos) << z.Bledy;
    EXPECT_EQ(CzytajPlik(kat + "/stary.tro"), "stara zawartość\n");
    int plikow = 0;
    for (const auto& e : fs::directory_iterator(kat)) plikow += e.path().filename().string().starts_with("stary");
    EXPECT_EQ(plikow, 1);
}

TEST_F(Narzedzie, ObrazIPrzejazd) {
    const std::string a = kat + "/a.png", b = kat + "/b.PNG", k = kat + "/klatki";
    EXPECT_EQ(Uruchom({"obraz", krotka, a}).Kod, 0);  // the general view needs no route
    EXPECT_EQ(RozmiarPng(a), std::make_pair(958, 637));
    EXPECT_EQ(Uruchom({"obraz", teren, b, "--rozmiar", "320x200", "--pikieta", "11"}).Kod, 0);
    EXPECT_EQ(RozmiarPng(b), std::make_pair(320, 200));
    // Frames at 10, 11, 12: the middle one is the picture at 11. Stale frames
    // right after the new ones go; one after a gap is not ours to judge.
    fs::create_directories(k);
    for (int i : {4, 5, 7}) ZapiszPlik(k + "/klatka_0000" + std::to_string(i) + ".png", "stara");
    const TWynik p = Uruchom({"przejazd", teren, k, "--od", "10", "--do", "12", "--rozmiar", "320x200"});
    EXPECT_EQ(p.Kod, 0) << p.Bledy;
    EXPECT_EQ(CzytajPlik(k + "/klatka_00002.png"), CzytajPlik(b));
    EXPECT_TRUE(fs::exists(k + "/klatka_00003.png") && fs::exists(k + "/klatka_00007.png"));
    EXPECT_FALSE(fs::exists(k + "/klatka_00004.png") || fs::exists(k + "/klatka_00005.png"));
}
