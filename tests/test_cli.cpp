// orvany3d-cli run as a separate program, checked against the core run in
// this process on the same files: the reports, the station table, the exit
// codes, the conversion, the pictures and the drive-through frames.
#include <gtest/gtest.h>

#include <fcntl.h>
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

const std::string Cli = ORVANY_BIN "/orvany3d-cli";
const std::string DrogaTRO = ORVANY_BIN "/Przyklady/Droga.tro";
const std::string DrogaMTP = ORVANY_BIN "/Przyklady/Droga.mtp";

struct TWynik {
    int Kod = -1;
    std::string Wyjscie;
    std::string Bledy;
};

// Runs the tool with the arguments; LC_ALL of the child is `locale`.
TWynik Uruchom(const std::vector<std::string>& argumenty, const std::string& locale = "C") {
    const std::string kat = KatalogTymczasowy();
    const std::string out = kat + "/out", err = kat + "/err";
    const pid_t pid = fork();
    if (pid == 0) {
        const int fo = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int fe = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fo, 1);
        dup2(fe, 2);
        setenv("LC_ALL", locale.c_str(), 1);
        std::vector<char*> av{const_cast<char*>(Cli.c_str())};
        for (const auto& a : argumenty) av.push_back(const_cast<char*>(a.c_str()));
        av.push_back(nullptr);
        execv(Cli.c_str(), av.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    TWynik w;
    w.Kod = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    w.Wyjscie = CzytajPlik(out);
    w.Bledy = CzytajPlik(err);
    return w;
}

std::vector<std::string> Linie(const std::string& t) {
    std::vector<std::string> w;
    std::istringstream s(t);
    for (std::string l; std::getline(s, l);) w.push_back(l);
    return w;
}

// The text the viewer holds for both reports after the same loads in this process.
std::string RaportWProcesie(const std::vector<std::string>& pliki, std::string* bledy = nullptr) {
    ZerujStan();
    for (const auto& p : pliki) {
        try {
            std::string e = p.substr(p.size() - 3);
            for (char& c : e) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (e == "TRO")
                OtworzTRO(p);
            else
                OtworzMTP(p);
        } catch (const BladKonwersji& e) {
            if (bledy) *bledy += std::string(e.what()) + "\n";
        }
    }
    std::string t;
    InfoTerenProj();
    for (const auto& l : OpisTekst) t += l + "\n";
    InfoTrasy();
    for (const auto& l : OpisTekst) t += l + "\n";
    return t;
}

// Width and height from a PNG's header; (0, 0) when it is no PNG.
std::pair<int, int> RozmiarPng(const std::string& plik) {
    std::string b;
    try {
        b = CzytajPlik(plik);
    } catch (...) {
        return {0, 0};
    }
    if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return {0, 0};
    auto be = [&](int o) {
        return (static_cast<unsigned char>(b[o]) << 24) | (static_cast<unsigned char>(b[o + 1]) << 16) |
               (static_cast<unsigned char>(b[o + 2]) << 8) | static_cast<unsigned char>(b[o + 3]);
    };
    return {be(16), be(20)};
}

// Small files: TEREN a square 1000..1200 x 2000..2200 (so the load shift is
// (1000, 2000)) and the route (1010, 2010) - (1110, 2010) - (1110, 2110)
// with an arc of radius 50 at the middle vertex: a straight of 50 along
// Y = 2010, the arc from 50 to 128.54 around (1060, 2060), a straight of 50
// along X = 1110; the route ends at 178.54.
struct PlikiMale {
    std::string kat = KatalogTymczasowy();
    std::string teren = kat + "/teren_trasa.tro";
    std::string zepsuty = kat + "/zepsuty.tro";
    std::string proj = kat + "/proj.TRO";
    std::string krotka = kat + "/krotka.tro";
    std::string mtp = kat + "/zrodlo.mtp";

    PlikiMale() {
        TPlik a = Naglowek();
        a("#WspTEREN#");
        a("4");
        DodajPunkt(a, 1000, 2000, 100, "F", 0, "A");
        DodajPunkt(a, 1200, 2000, 101, "F", 1, "B");
        DodajPunkt(a, 1200, 2200, 102, "F", 2, "C");
        DodajPunkt(a, 1000, 2200, 103, "F", 3, "D");
        a("#TroTEREN#");
        a("2");
        DodajTrojkatTEREN(a, 0, 1, 2, "0H", "clGreen");
        DodajTrojkatTEREN(a, 0, 2, 3, "0H", "clGreen");
        a("______________________________TRASA_2020");
        a("3");
        DodajZalom(a, "P", "1010;2010");
        DodajZalom(a, "V", "1110;2010", "0;0;50");
        DodajZalom(a, "N", "1110;2110");
        ZapiszPlik(teren, a.Tekst());

        TPlik z = Naglowek();
        z("#WspTEREN#");
        z("dwa");
        ZapiszPlik(zepsuty, z.Tekst());

        TPlik p = Naglowek();
        p("#TroPROJ#");
        p("1");
        for (const char* s : {"0;0;0", "0;1;2", "1050;2050;110", "1150;2050;111", "1100;2150;112", "0;0", "0N",
                              "clGray"})
            p(s);
        ZapiszPlik(proj, p.Tekst());

        TPlik k = Naglowek();
        k("______________________________TRASA_2020");
        k("1");
        DodajZalom(k, "Sam", "1050;2050");
        ZapiszPlik(krotka, k.Tekst());

        ZapiszPlik(mtp, PlikMTP().Tekst("\r\n"));
    }
};

struct TWiersz {
    double s, x, y, kat;
};

TWiersz Rozbierz(const std::string& l) {
    TWiersz w{};
    EXPECT_EQ(std::sscanf(l.c_str(), "%lf;%lf;%lf;%lf", &w.s, &w.x, &w.y, &w.kat), 4) << l;
    return w;
}

class Narzedzie : public ::testing::Test {
protected:
    void SetUp() override {
        if (access(Cli.c_str(), X_OK) != 0) GTEST_SKIP() << "brak " << Cli << " (zbudowany bez Qt?)";
    }
    void TearDown() override { ZerujStan(); }
};

// ---------------------------------------------------------------------------

TEST_F(Narzedzie, RaportToTekstOknaOpisPoTychSamychWczytaniach) {
    for (const auto& pliki : std::vector<std::vector<std::string>>{{DrogaTRO}, {DrogaMTP}, {DrogaMTP, DrogaTRO}}) {
        std::vector<std::string> arg{"raport"};
        arg.insert(arg.end(), pliki.begin(), pliki.end());
        {
            UstawLocale kropka('.');
            const TWynik w = Uruchom(arg, "C");
            EXPECT_EQ(w.Kod, 0) << w.Bledy;
            EXPECT_EQ(w.Wyjscie, RaportWProcesie(pliki));
            EXPECT_NE(w.Wyjscie.find("Pik.  (min,max)  = (0.00 ; 2900.44)"), std::string::npos);
        }
        {
            UstawLocale przecinek(',');
            const std::string nazwa = std::setlocale(LC_NUMERIC, nullptr);
            const TWynik w = Uruchom(arg, nazwa);
            EXPECT_EQ(w.Kod, 0) << w.Bledy;
            EXPECT_EQ(w.Wyjscie, RaportWProcesie(pliki));
            EXPECT_NE(w.Wyjscie.find("Pik.  (min,max)  = (0,00 ; 2900,44)"), std::string::npos);
        }
    }
}

TEST_F(Narzedzie, RaportPlikZBledemWSrodkuZostawiaDaneWczesniejszych) {
    PlikiMale m;
    UstawLocale kropka('.');
    std::string bledy;
    const std::string oczekiwany = RaportWProcesie({m.teren, m.zepsuty, m.proj}, &bledy);
    ASSERT_FALSE(bledy.empty());
    const TWynik w = Uruchom({"raport", m.teren, m.zepsuty, m.proj});
    EXPECT_EQ(w.Kod, 1);
    EXPECT_EQ(w.Wyjscie, oczekiwany);
    // The message of the error box, with its file and line, and nothing else.
    EXPECT_EQ(w.Bledy, bledy);
    // The route and TEREN of the first file, PROJ of the third.
    EXPECT_NE(w.Wyjscie.find("Ilosc trojkatów TEREN = 2"), std::string::npos);
    EXPECT_NE(w.Wyjscie.find("Ilosc trojkatów PROJ = 1"), std::string::npos);
    EXPECT_NE(w.Wyjscie.find("Ilosc punktów trasa = 3"), std::string::npos);
    // The route report ends with the build's messages once, never repeated after it.
    const TWynik k = Uruchom({"raport", m.krotka});
    EXPECT_EQ(k.Kod, 0);
    EXPECT_EQ(k.Wyjscie, RaportWProcesie({m.krotka}));
    ASSERT_FALSE(KomunikatyTrasy.empty());
    const auto linie = Linie(k.Wyjscie);
    EXPECT_EQ(std::count(linie.begin(), linie.end(), KomunikatyTrasy.back()), 1);
    EXPECT_EQ(linie.back(), KomunikatyTrasy.back());
}

TEST_F(Narzedzie, PikietyMalejTrasy) {
    PlikiMale m;
    const TWynik w = Uruchom({"pikiety", m.teren}, "pl_PL.UTF-8");
    ASSERT_EQ(w.Kod, 0) << w.Bledy;
    const auto l = Linie(w.Wyjscie);
    ASSERT_EQ(l.size(), 1u + 18u + 1u);  // header, 0 .. 170, the end 178.5398
    EXPECT_EQ(l[0], "pikieta;X;Y;kierunek");
    // Station 0 is looked up 0.001 after the start, in the file's coordinates, '.' whatever the locale.
    EXPECT_EQ(l[1], "0.0000;1010.0010;2010.0000;0.000000");
    EXPECT_EQ(l[2], "10.0000;1020.0000;2010.0000;0.000000");
    // The end once, 0.001 before the last vertex, heading +Y.
    EXPECT_EQ(l.back(), "178.5398;1110.0000;2109.9990;1.570796");
    for (std::size_t i = 1; i < l.size(); ++i) {
        const TWiersz r = Rozbierz(l[i]);
        if (r.s <= 50) {  // first straight
            EXPECT_NEAR(r.y, 2010.0, 1e-9) << l[i];
            EXPECT_NEAR(r.x, 1010.0 + std::max(r.s, 0.001), 1e-4) << l[i];
        } else if (r.s < 128.5) {  // arc around (1060, 2060)
            EXPECT_NEAR(std::hypot(r.x - 1060.0, r.y - 2060.0), 50.0, 2e-4) << l[i];
            EXPECT_GT(r.kat, 0.0);
            EXPECT_LT(r.kat, M_PI / 2);
        } else {  // last straight
            EXPECT_NEAR(r.x, 1110.0, 1e-9) << l[i];
            EXPECT_NEAR(r.kat, M_PI / 2, 1e-6) << l[i];
        }
    }
    // A step that does not divide the route; comma and '=' forms.
    const TWynik k = Uruchom({"pikiety", "--krok=62,5", m.teren});
    EXPECT_EQ(k.Kod, 0);
    const auto lk = Linie(k.Wyjscie);
    ASSERT_EQ(lk.size(), 5u);
    EXPECT_EQ(lk[2].substr(0, 8), "62.5000;");
    EXPECT_EQ(lk[3].substr(0, 9), "125.0000;");
    EXPECT_EQ(lk[4].substr(0, 9), "178.5398;");
}

TEST_F(Narzedzie, PikietyPrzykladowegoProjektuZgodneZWyszukiwaniem) {
    ZerujStan();
    OtworzTRO(DrogaTRO);
    ASSERT_TRUE(Trasa.Obliczona);
    const TWynik w = Uruchom({"pikiety", DrogaTRO, "--krok", "100"});
    ASSERT_EQ(w.Kod, 0) << w.Bledy;
    const auto l = Linie(w.Wyjscie);
    ASSERT_EQ(l.size(), 1u + 30u + 1u);
    for (std::size_t i = 1; i < l.size(); ++i) {
        const TWiersz r = Rozbierz(l[i]);
        const double s = i + 1 < l.size() ? (i - 1) * 100.0 : static_cast<double>(Trasa.PikMax);
        EXPECT_NEAR(r.s, s, 5e-5);
        double x = 0, y = 0;
        PunktNaPikiecie(s, x, y);
        EXPECT_NEAR(r.x, x + Trasa.Dx, 5e-5);
        EXPECT_NEAR(r.y, y + Trasa.Dy, 5e-5);
        EXPECT_NEAR(r.kat, KatNaPikiecie(s), 5e-7);
    }
    // The ends of the sample road's polygon in its file: (5500260, 4600520) and (5502560, 4602140).
    const TWiersz a = Rozbierz(l[1]), b = Rozbierz(l.back());
    EXPECT_NEAR(std::hypot(a.x - 5500260.0, a.y - 4600520.0), 0.001, 1e-4);
    EXPECT_NEAR(std::hypot(b.x - 5502560.0, b.y - 4602140.0), 0.001, 1e-4);
}

TEST_F(Narzedzie, TrasaNieobliczona) {
    PlikiMale m;
    ZerujStan();
    OtworzTRO(m.krotka);
    ASSERT_FALSE(Trasa.Obliczona);
    ASSERT_FALSE(KomunikatyTrasy.empty());
    const std::string png = m.kat + "/x.png";
    for (const auto& arg : std::vector<std::vector<std::string>>{{"pikiety", m.krotka},
                                                                 {"obraz", m.krotka, png, "--pikieta", "5"},
                                                                 {"przejazd", m.krotka, m.kat + "/klatki"}}) {
        const TWynik w = Uruchom(arg);
        EXPECT_EQ(w.Kod, 3) << arg[0];
        EXPECT_EQ(w.Wyjscie, "") << arg[0];
        for (const auto& k : KomunikatyTrasy) EXPECT_NE(w.Bledy.find(k), std::string::npos) << arg[0] << ": " << k;
    }
    EXPECT_FALSE(fs::exists(png));
    EXPECT_FALSE(fs::exists(m.kat + "/klatki/klatka_00001.png"));
    // The general view needs no route.
    EXPECT_EQ(Uruchom({"obraz", m.krotka, png}).Kod, 0);
    EXPECT_EQ(RozmiarPng(png), std::make_pair(958, 637));
    // A file that failed outranks the route that is then missing.
    EXPECT_EQ(Uruchom({"pikiety", m.zepsuty}).Kod, 1);
    // A later file without a route keeps the route an earlier file built.
    EXPECT_EQ(Uruchom({"pikiety", m.teren, m.proj}).Kod, 0);
}

TEST_F(Narzedzie, BledyUzyciaIBrakPliku) {
    PlikiMale m;
    const std::string png = m.kat + "/o.png";
    const std::vector<std::vector<std::string>> uzycie{
        {},
        {"rysuj", m.teren},
        {"raport"},
        {"raport", m.teren, m.kat + "/dane.txt"},
        {"raport", "--krok", "5", m.teren},
        {"pikiety", m.teren, "--krok"},
        {"pikiety", m.teren, "--krok", "0"},
        {"pikiety", m.teren, "--krok", "-10"},
        {"pikiety", m.teren, "--krok", "nan"},
        {"pikiety", m.teren, "--krok", "dziesięć"},
        {"obraz", m.teren},
        {"obraz", m.teren, m.kat + "/o.bmp"},
        {"obraz", m.teren, png, "--rozmiar", "0x10"},
        {"obraz", m.teren, png, "--rozmiar", "640"},
        {"obraz", m.teren, png, "--rozmiar", "99999x10"},
        {"obraz", m.teren, png, "--pikieta", "x"},
        {"obraz", m.teren, png, "--parametry=1"},
        {"przejazd", m.teren},
        {"przejazd", m.teren, m.proj},
        {"przejazd", m.teren, m.kat + "/k", "--krok", "0"},
        {"przejazd", m.teren, m.kat + "/k", "--od", "100", "--do", "50"},
        {"przepisz", m.mtp},
        {"przepisz", m.mtp, m.kat + "/a.tro", m.kat + "/b.tro"},
        {"przepisz", m.kat + "/cel.tro", m.mtp},
        {"przepisz", m.teren, m.teren},
    };
    for (const auto& arg : uzycie) {
        const TWynik w = Uruchom(arg);
        std::string opis;
        for (const auto& a : arg) opis += a + " ";
        EXPECT_EQ(w.Kod, 2) << opis;
        EXPECT_EQ(w.Wyjscie, "") << opis;
        EXPECT_NE(w.Bledy.find("--help"), std::string::npos) << opis;
    }
    EXPECT_FALSE(fs::exists(png));
    EXPECT_FALSE(fs::exists(m.kat + "/k"));
    EXPECT_FALSE(fs::exists(m.kat + "/cel.tro"));
    EXPECT_EQ(CzytajPlik(m.mtp), PlikMTP().Tekst("\r\n"));

    // A file that is not there: its message, the other files still loaded.
    const TWynik b = Uruchom({"raport", m.kat + "/brak.tro", m.teren});
    EXPECT_EQ(b.Kod, 1);
    EXPECT_NE(b.Bledy.find("brak.tro"), std::string::npos);
    EXPECT_NE(b.Wyjscie.find("Ilosc punktów trasa = 3"), std::string::npos);

    // --help explains every command; "--" makes the rest names.
    const TWynik h = Uruchom({"--help"});
    EXPECT_EQ(h.Kod, 0);
    for (const char* p : {"raport", "pikiety", "obraz", "przejazd", "przepisz", "--krok", "--pikieta", "--rozmiar",
                          "--od", "--do", "--parametry"})
        EXPECT_NE(h.Wyjscie.find(p), std::string::npos) << p;
    EXPECT_EQ(Uruchom({"raport", "--", "--help"}).Kod, 2);
}

TEST_F(Narzedzie, PrzepiszBezpiecznyZapis) {
    PlikiMale m;
    const std::string cel = m.kat + "/Droga.tro";
    const TWynik w = Uruchom({"przepisz", ORVANY_BIN "/Model/Droga.mtp", cel});
    EXPECT_EQ(w.Kod, 0) << w.Bledy;
    EXPECT_EQ(CzytajPlik(cel), PrzepiszPlikZBufora(CzytajCalyPlik(ORVANY_BIN "/Model/Droga.mtp"), "Droga.mtp"));
    // A source that breaks the conversion leaves the old target as it was and no temporary file.
    TPlik zly = Naglowek();
    zly("#Wspolrzedne200TEREN#");
    zly("x");
    const std::string zrodlo = m.kat + "/zly.mtp";
    ZapiszPlik(zrodlo, zly.Tekst());
    ZapiszPlik(m.kat + "/stary.tro", "stara zawartość\n");
    const TWynik z = Uruchom({"przepisz", zrodlo, m.kat + "/stary.tro"});
    EXPECT_EQ(z.Kod, 1);
    EXPECT_NE(z.Bledy.find("'x' is not a valid integer value"), std::string::npos) << z.Bledy;
    EXPECT_EQ(CzytajPlik(m.kat + "/stary.tro"), "stara zawartość\n");
    int plikow = 0;
    for (const auto& e : fs::directory_iterator(m.kat)) plikow += e.path().filename().string().find("stary") == 0;
    EXPECT_EQ(plikow, 1);
    EXPECT_EQ(Uruchom({"przepisz", m.kat + "/brak.mtp", m.kat + "/n.tro"}).Kod, 1);
}

TEST_F(Narzedzie, ObrazIPrzejazd) {
    PlikiMale m;
    const std::string a = m.kat + "/a.png", b = m.kat + "/b.PNG";
    EXPECT_EQ(Uruchom({"obraz", m.teren, a}).Kod, 0);
    EXPECT_EQ(RozmiarPng(a), std::make_pair(958, 637));
    EXPECT_EQ(Uruchom({"obraz", m.teren, b, "--rozmiar", "320x200", "--pikieta", "11"}).Kod, 0);
    EXPECT_EQ(RozmiarPng(b), std::make_pair(320, 200));
    // A place that cannot be written.
    const TWynik n = Uruchom({"obraz", m.teren, m.kat + "/brak/katalogu.png"});
    EXPECT_EQ(n.Kod, 1);
    EXPECT_NE(n.Bledy.find("katalogu.png"), std::string::npos);

    // Frames at 10, 11, 12: the middle one is the picture at chainage 11.
    const std::string k = m.kat + "/klatki";
    fs::create_directories(k);
    for (int i : {4, 5, 7}) ZapiszPlik(k + "/klatka_0000" + std::to_string(i) + ".png", "stara");
    const TWynik p = Uruchom({"przejazd", m.teren, k, "--od", "10", "--do", "12", "--rozmiar", "320x200"});
    EXPECT_EQ(p.Kod, 0) << p.Bledy;
    EXPECT_EQ(CzytajPlik(k + "/klatka_00002.png"), CzytajPlik(b));
    EXPECT_TRUE(fs::exists(k + "/klatka_00003.png"));
    // Stale frames right after the new ones are gone; a frame after a gap is not ours to judge.
    EXPECT_FALSE(fs::exists(k + "/klatka_00004.png"));
    EXPECT_FALSE(fs::exists(k + "/klatka_00005.png"));
    EXPECT_TRUE(fs::exists(k + "/klatka_00007.png"));
    EXPECT_EQ(std::count(p.Bledy.begin(), p.Bledy.end(), '\n'), 3);

    // The whole route by 25: 0, 25, ..., 175 and the end 178.54.
    const std::string c = m.kat + "/cala";
    const TWynik q = Uruchom({"przejazd", m.teren, c, "--krok", "25", "--rozmiar", "64x48"});
    EXPECT_EQ(q.Kod, 0) << q.Bledy;
    EXPECT_TRUE(fs::exists(c + "/klatka_00009.png"));
    EXPECT_FALSE(fs::exists(c + "/klatka_00010.png"));
    EXPECT_EQ(RozmiarPng(c + "/klatka_00009.png"), std::make_pair(64, 48));
    EXPECT_NE(q.Bledy.find("klatka 9/9"), std::string::npos);
}

}  // namespace
