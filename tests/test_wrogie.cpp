// Hostile input: every file of tests/hostile either loads or fails with the
// message written beside it, quickly, and a failed load leaves the model, the
// route and the picture exactly as they were. The two big cases are made here,
// and render arrays holding nonsense coordinates must still draw.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "model/ZapisywanieOdczytywanie.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;
namespace fs = std::filesystem;

namespace {

const std::string kKatalog = std::string(ORVANY_ZRODLA) + "/tests/hostile";

struct TOczekiwanie {
    std::string plik, wiersz, komunikat;  // wiersz "-": the file loads; komunikat "-" or "trasa: ..." then
};

std::vector<TOczekiwanie> Oczekiwania() {
    std::vector<TOczekiwanie> w;
    std::ifstream f(kKatalog + "/oczekiwane.txt");
    for (std::string l; std::getline(f, l);) {
        if (l.empty() || l[0] == '#') continue;
        std::istringstream s(l);
        TOczekiwanie o;
        std::getline(std::getline(std::getline(s, o.plik, '\t'), o.wiersz, '\t'), o.komunikat);
        w.push_back(o);
    }
    return w;
}

std::string Blad(auto&& f) try {
    return f(), "";
} catch (const BladKonwersji& e) {
    return e.what();
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
    PunktNaPikiecie(60, Rzut.TrasaX, Rzut.TrasaY);
    Rzut.katT = KatNaPikiecie(60);
    UstawNaPikiecieRdzen();
    Czworokaty.assign(1, TCzworokatRys{{10, 200, 0}, {90, 200, 0}, {90, 200, 60}, {10, 200, 60}});
    PrzeliczRzut();
}

// Loads the file over the scene and checks the outcome against the expectation.
void Sprawdz(const std::string& sciezka, const TOczekiwanie& o) {
    SCOPED_TRACE(o.plik);
    ScenaPrzed();
    const std::vector<std::uint32_t> obrazPrzed = Obraz();  // also empties the viewer lines
    const std::string przed = Zrzut();
    const auto t0 = std::chrono::steady_clock::now();
    const std::string blad =
        Blad([&] { sciezka.ends_with(".mtp") ? OtworzMTP(sciezka) : OtworzTRO(sciezka); });
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));  // a hang guard
    if (o.wiersz != "-") {
        EXPECT_EQ(blad, o.komunikat + "\nPlik: " + sciezka + ", wiersz: " + o.wiersz);
        EXPECT_EQ(Zrzut(), przed);
        EXPECT_TRUE(Obraz() == obrazPrzed) << "obraz się zmienił";
        return;
    }
    ASSERT_EQ(blad, "");
    EXPECT_EQ(KomunikatyTrasy.empty() ? "-" : "trasa: " + KomunikatyTrasy[0], o.komunikat);
    if (o.komunikat != "-") EXPECT_FALSE(Trasa.Obliczona);
    // Whatever loaded can be drawn, in the general view and along the route.
    (void)Obraz();
    for (double u : {0.0, 0.5, 1.0}) {
        if (!Trasa.Obliczona) break;
        PunktNaPikiecie(Trasa.PikMax * u, Rzut.TrasaX, Rzut.TrasaY);
        Rzut.katT = KatNaPikiecie(Trasa.PikMax * u);
        EXPECT_TRUE(std::isfinite(Rzut.TrasaX) && std::isfinite(Rzut.TrasaY));
        UstawNaPikiecieRdzen();
        (void)Obraz();
    }
}

}  // namespace

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
        const std::string b = Blad([&] { PrzepiszPlik(kKatalog + "/" + o.plik, cel); });
        EXPECT_TRUE(b.empty() ? CzytajPlik(cel).starts_with(BanerTRO()[0] + "\r\n")
                              : CzytajPlik(cel) == "stary plik" && b.find("\nPlik: " + kKatalog + "/" + o.plik) != std::string::npos)
            << b;
        EXPECT_EQ(std::distance(fs::directory_iterator(k), fs::directory_iterator()), 1);  // no temporary left
    }
    for (const auto& w : fs::directory_iterator(kKatalog)) {
        const std::string n = w.path().filename().string();
        EXPECT_TRUE(n == "oczekiwane.txt" || opisane.count(n)) << "brak oczekiwania dla " << n;
    }
}

TEST(WrogiePliki, WierszPiecdziesiatMegabajtowBezKonca) {
    const std::string k = KatalogTymczasowy();
    // The whole file one line: a header line, nothing is read.
    ZapiszPlik(k + "/linia.tro", std::string(50u << 20, 'x'));
    Sprawdz(k + "/linia.tro", {"linia.tro", "-", "-"});
    // The same line where a count belongs: the message quotes its beginning only.
    ZapiszPlik(k + "/liczba.tro", Naglowek().Tekst() + "#WspTEREN#\n" + std::string(50u << 20, '7'));
    Sprawdz(k + "/liczba.tro", {"liczba.tro", "10", "'" + std::string(80, '7') + "...' is not a valid integer value"});
}

TEST(WrogiePliki, TrasaStuTysiecyZalomow) {
    // A zigzag of 100,000 vertices with an arc on every inner one, built and looked up past its very end.
    const int n = 100000;
    TPlik f = Naglowek();
    f({"______________________________TRASA_2020", std::to_string(n)});
    for (int i = 0; i < n; ++i)
        DodajZalom(f, "Z" + std::to_string(i), std::to_string(i * 100) + ";" + (i % 2 ? "50" : "0"),
                   i == 0 || i == n - 1 ? "0;0;0" : "0;0;20");
    const std::string k = KatalogTymczasowy();
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
    const std::string przed = Zrzut(), k = KatalogTymczasowy();
    const auto t0 = std::chrono::steady_clock::now();
    // A device never ends: refused before a byte is read. A pipe nobody writes to is empty, not a wait.
    EXPECT_EQ(Blad([] { OtworzTRO("/dev/zero"); }),
              "Nie można otworzyć pliku /dev/zero: to urządzenie, a nie plik z danymi.");
    ASSERT_EQ(::mkfifo((k + "/potok.tro").c_str(), 0600), 0);
    EXPECT_TRUE(Blad([&] { OtworzTRO(k + "/potok.tro"); }).starts_with("Plik jest pusty."));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    EXPECT_EQ(Zrzut(), przed);
}

TEST(WrogieWartosci, RysowanieWspolrzednychBezSensu) {
    // Render records as a generator or many zooms may leave them: nothing crashes,
    // the cut drops what has no finite depth, and every frame is drawn.
    ZerujStan(200, 150);
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const TPunkt3D p[][3] = {{{0, 100, 0}, {10, 100, 0}, {0, 110, 5}},  // an ordinary one
                             {{nan, 100, 0}, {10, nan, 0}, {0, 110, nan}},
                             {{inf, 100, 0}, {10, -inf, 0}, {0, 110, inf}},
                             {{1e300, -1e300, 0}, {-1e300, 1e300, 1e300}, {0, 0, -1e300}},
                             {{1e30, 200, 0}, {-1e30, 200, 0}, {0, 210, 1e30}},
                             {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}}};
    std::vector<TTrojkatRys> dziwne;
    for (const auto& t : p) dziwne.push_back(TTrojkatRys{t[0], t[1], t[2], 0, 0, 0, 0x969696});
    std::vector<std::uint32_t> px(200 * 150);
    TPlotnoRastrowe plotno(TBuforPikseli{px.data(), 200, 150, 200});
    Rzut.RysujParametryEkran = true;
    for (int krok = 0; krok < 3; ++krok) {  // cut, not cut, cut on a sound route point
        TrojkatyTEREN = TrojkatyPROJ = dziwne;
        Czworokaty.assign(1, TCzworokatRys{{nan, 0, 0}, {inf, 0, 0}, {1e300, 0, 1e300}, {0, 0, 0}});
        Rzut.TnijTroj = krok != 1;
        Rzut.TrasaX = krok < 2 ? 1e300 : 0;
        Rzut.TrasaY = krok < 2 ? -inf : 0;
        Rzut.katT = krok < 2 ? nan : 1.5707963267948966;
        PrzeliczRzut();
        Przerysuj(plotno, 200, 150);
        UmiescNaTrasie();
        KorektaYmin();
        KorektaLOko();
        SortujCzworokaty();
        Przerysuj(plotno, 200, 150);
        for (const auto* tab : {&TrojkatyTEREN, &TrojkatyPROJ})
            for (const TTrojkatRys& r : *tab)
                EXPECT_TRUE(!Rzut.TnijTroj || (std::isfinite(r.P1.Y) && std::isfinite(r.P2.Y) && std::isfinite(r.P3.Y)));
    }
    EXPECT_GE(IleTrojkatowTEREN(), 1);  // the ordinary one survives on the sound point
}
