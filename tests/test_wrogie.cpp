// Hostile files: every file of tests/hostile either loads or fails with the
// message written beside it, quickly, and a failed load leaves the model, the
// route and the picture exactly as they were. The two big cases are made here.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    std::string plik;
    std::string wiersz;     // "-" when the file loads
    std::string komunikat;  // first line; "-" or "trasa: ..." when it loads
};

std::vector<TOczekiwanie> Oczekiwania() {
    std::vector<TOczekiwanie> w;
    std::ifstream f(kKatalog + "/oczekiwane.txt");
    std::string l;
    while (std::getline(f, l)) {
        if (l.empty() || l[0] == '#') continue;
        const std::size_t a = l.find('\t'), b = l.find('\t', a + 1);
        if (a == std::string::npos || b == std::string::npos) {
            ADD_FAILURE() << "zły wiersz oczekiwane.txt: " << l;
            continue;
        }
        w.push_back({l.substr(0, a), l.substr(a + 1, b - a - 1), l.substr(b + 1)});
    }
    return w;
}

constexpr int W = 320, H = 240;

// The picture the main window would show now.
std::vector<std::uint32_t> Obraz() {
    std::vector<std::uint32_t> px(W * H);
    TPlotnoRastrowe p(TBuforPikseli{px.data(), W, H, W});
    Przerysuj(p, W, H);
    return px;
}

// A scene loaded before the bad file: meshes, lines, a built route, a quad,
// and the view placed at a chainage.
void ScenaPrzed() {
    ZerujStan(W, H);
    OtworzMTPZBufora(PlikMTP().Tekst(), "przed.mtp");
    // A route that builds, so that a file without a route keeps a built one.
    TPlik trasa = Naglowek();
    trasa("______________________________TRASA_2020");
    trasa("3");
    DodajZalom(trasa, "A", "5000000;4600000");
    DodajZalom(trasa, "B", "5000050;4600040", "0;0;30");
    DodajZalom(trasa, "C", "5000100;4600000");
    OtworzTROZBufora(trasa.Tekst(), "trasa.tro");
    if (!Trasa.Obliczona) ADD_FAILURE() << "trasa sceny nie jest obliczona";
    for (double s : {10.0, 60.0}) {
        PunktNaPikiecie(s, Rzut.TrasaX, Rzut.TrasaY);
        Rzut.katT = KatNaPikiecie(s);
    }
    UstawNaPikiecieRdzen();
    Czworokaty.assign(1, TCzworokatRys{{10, 200, 0}, {90, 200, 0}, {90, 200, 60}, {10, 200, 60}});
    PrzeliczRzut();
}

void Wczytaj(const std::string& sciezka) {
    if (sciezka.size() >= 4 && sciezka.compare(sciezka.size() - 4, 4, ".mtp") == 0) {
        OtworzMTP(sciezka);
    } else {
        OtworzTRO(sciezka);
    }
}

// Loads the file over the scene and checks the outcome against the expectation.
void Sprawdz(const std::string& sciezka, const TOczekiwanie& o) {
    SCOPED_TRACE(o.plik);
    ScenaPrzed();
    const std::vector<std::uint32_t> obrazPrzed = Obraz();  // also empties the viewer lines
    const std::string przed = Zrzut();
    std::string blad;
    const auto t0 = std::chrono::steady_clock::now();
    try {
        Wczytaj(sciezka);
    } catch (const BladKonwersji& e) {
        blad = e.what();
    }
    // A hang guard, not a measurement: the slowest case takes a few ms.
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));

    if (o.wiersz != "-") {
        ASSERT_FALSE(blad.empty()) << "plik się wczytał";
        const std::size_t nl = blad.find('\n');
        EXPECT_EQ(blad.substr(0, nl), o.komunikat);
        EXPECT_EQ(blad.substr(nl + 1), "Plik: " + sciezka + ", wiersz: " + o.wiersz);
        EXPECT_EQ(Zrzut(), przed);
        EXPECT_TRUE(Obraz() == obrazPrzed) << "obraz się zmienił";
        return;
    }
    ASSERT_EQ(blad, "");
    if (o.komunikat == "-") {
        EXPECT_TRUE(KomunikatyTrasy.empty()) << KomunikatyTrasy[0];
    } else {
        EXPECT_FALSE(Trasa.Obliczona);
        ASSERT_FALSE(KomunikatyTrasy.empty());
        EXPECT_EQ("trasa: " + KomunikatyTrasy[0], o.komunikat);
    }
    // Whatever loaded can be drawn, in the general view and along the route.
    (void)Obraz();
    if (Trasa.Obliczona) {
        for (double u : {0.0, 0.5, 1.0}) {
            const double s = Trasa.PikMax * u;
            PunktNaPikiecie(s, Rzut.TrasaX, Rzut.TrasaY);
            Rzut.katT = KatNaPikiecie(s);
            EXPECT_TRUE(std::isfinite(Rzut.TrasaX) && std::isfinite(Rzut.TrasaY));
            UstawNaPikiecieRdzen();
            (void)Obraz();
        }
    }
}

}  // namespace

TEST(WrogiePliki, KazdyPlikKorpusu) {
    const std::vector<TOczekiwanie> oczekiwania = Oczekiwania();
    ASSERT_GE(oczekiwania.size(), 50u);
    std::set<std::string> opisane;
    for (const auto& o : oczekiwania) {
        opisane.insert(o.plik);
        Sprawdz(kKatalog + "/" + o.plik, o);
    }
    // Every file of the corpus has its expectation.
    for (const auto& w : fs::directory_iterator(kKatalog)) {
        const std::string n = w.path().filename().string();
        EXPECT_TRUE(n == "oczekiwane.txt" || opisane.count(n)) << "brak oczekiwania dla " << n;
    }
}

TEST(WrogiePliki, WierszPiecdziesiatMegabajtowBezKonca) {
    const std::string k = KatalogTymczasowy();
    const std::size_t rozmiar = 50u << 20;
    // The whole file one line: a header line, nothing is read.
    {
        std::string t(rozmiar, 'x');
        ZapiszPlik(k + "/linia.tro", t);
        Sprawdz(k + "/linia.tro", {"linia.tro", "-", "-"});
    }
    // The same line where a count belongs: the message quotes its beginning only.
    {
        std::string t = Naglowek().Tekst() + "#WspTEREN#\n";
        t.append(rozmiar, '7');
        ZapiszPlik(k + "/liczba.tro", t);
        Sprawdz(k + "/liczba.tro", {"liczba.tro", "10", "'" + std::string(80, '7') + "...' is not a valid integer value"});
    }
}

TEST(WrogiePliki, TrasaStuTysiecyZalomow) {
    // A zigzag of 100,000 vertices with an arc on every inner one: a valid
    // route of about 11,000 km, built and looked up at its very end.
    const int n = 100000;
    TPlik f = Naglowek();
    f("______________________________TRASA_2020");
    f(std::to_string(n));
    for (int i = 0; i < n; ++i)
        DodajZalom(f, "Z" + std::to_string(i), std::to_string(i * 100) + ";" + (i % 2 ? "50" : "0"),
                   i == 0 || i == n - 1 ? "0;0;0" : "0;0;20");
    const std::string k = KatalogTymczasowy();
    ZapiszPlik(k + "/dluga.tro", f.Tekst("\r\n"));
    Sprawdz(k + "/dluga.tro", {"dluga.tro", "-", "-"});
    ASSERT_TRUE(Trasa.Obliczona);
    EXPECT_EQ(Trasa.IleZalomow(), n);
    const TElementTrasy& ostatni = Trasa.ElementyTrasy.back();
    EXPECT_NEAR(Trasa.PikMax, ostatni.PikKKP2, 1.0);
    double x = std::nan(""), y = std::nan("");
    PunktNaPikiecie(Trasa.PikMax + 1, x, y);
    // PikMax is a float: the slider's end lies within its rounding of the true end.
    EXPECT_LE(std::hypot(x - ostatni.X, y - ostatni.Y), std::fabs(Trasa.PikMax - ostatni.PikKKP2) + 0.002);
}

TEST(WrogiePliki, GranicaWspolrzednych) {
    // Coordinates up to 1e12 load, beyond it the file is refused at its line.
    for (const char* v : {"1e12", "-1000000000000", "999999999999,99"}) {
        TPlik f = Naglowek();
        f("#WspTEREN#");
        f("1");
        DodajPunkt(f, 0, 0, 0, "F", 0, "A");
        f.linie[10 + 1] = v;
        ZerujStan();
        EXPECT_NO_THROW(OtworzTROZBufora(f.Tekst(), "g.tro")) << v;
    }
    TPlik f = Naglowek();
    f("#TroPROJ#");
    f("1");
    for (const char* s : {"0;0;0", "0;1;2", "0;0;0", "1;0;0", "0;1;-1,0000001e12", "0;0", "0N", "0"}) f(s);
    ZerujStan();
    try {
        OtworzTROZBufora(f.Tekst(), "g.tro");
        FAIL();
    } catch (const BladKonwersji& e) {
        EXPECT_STREQ(e.what(), "Współrzędna -1e+12 jest poza dopuszczalnym zakresem (od -1e12 do 1e12).\n"
                               "Plik: g.tro, wiersz: 15");
    }
    EXPECT_EQ(PROJ.IleTrojkatow(), 0);
}

TEST(WrogiePliki, PrzepisanieNiszczyNic) {
    // The converter on every bad file: a .tro file, or a message and the old
    // target untouched, with no temporary file left beside it.
    const std::string k = KatalogTymczasowy();
    const std::string cel = k + "/cel.tro";
    int bledow = 0;
    for (const auto& o : Oczekiwania()) {
        SCOPED_TRACE(o.plik);
        ZapiszPlik(cel, "stary plik");
        try {
            PrzepiszPlik(kKatalog + "/" + o.plik, cel);
            EXPECT_EQ(CzytajPlik(cel).rfind(BanerTRO()[0] + "\r\n", 0), 0u);
        } catch (const BladKonwersji& e) {
            ++bledow;
            EXPECT_NE(std::string(e.what()).find("\nPlik: " + kKatalog + "/" + o.plik + ", wiersz: "),
                      std::string::npos)
                << e.what();
            EXPECT_EQ(CzytajPlik(cel), "stary plik");
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(k), fs::directory_iterator()), 1);
    }
    EXPECT_GE(bledow, 5);
}

TEST(WrogiePliki, UrzadzeniaIPotoki) {
    ScenaPrzed();
    const std::string przed = Zrzut();
    const auto t0 = std::chrono::steady_clock::now();
    // A device never ends: refused before a byte is read.
    try {
        OtworzTRO("/dev/zero");
        FAIL();
    } catch (const BladKonwersji& e) {
        EXPECT_STREQ(e.what(), "Nie można otworzyć pliku /dev/zero: to urządzenie, a nie plik z danymi.");
    }
    // A named pipe that nobody writes to: an empty file, not a wait for ever.
    const std::string k = KatalogTymczasowy();
    const std::string potok = k + "/potok.tro";
    ASSERT_EQ(::mkfifo(potok.c_str(), 0600), 0);
    try {
        OtworzTRO(potok);
        FAIL();
    } catch (const BladKonwersji& e) {
        EXPECT_EQ(std::string(e.what()).substr(0, 16), "Plik jest pusty.");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    EXPECT_EQ(Zrzut(), przed);
    // A pipe with data in it is read like a file. A second reader keeps the
    // data in the pipe after its writer is gone.
    const int czytelnik = ::open(potok.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(czytelnik, 0);
    const int pisarz = ::open(potok.c_str(), O_WRONLY);
    ASSERT_GE(pisarz, 0);
    const std::string dane = Naglowek().Tekst() + "#WspTEREN#\n1\n1\n2\n3\nF\n0\nP\n";
    ASSERT_EQ(::write(pisarz, dane.data(), dane.size()), static_cast<ssize_t>(dane.size()));
    ::close(pisarz);
    EXPECT_NO_THROW(OtworzTRO(potok));
    ::close(czytelnik);
    EXPECT_EQ(TEREN.IlePunktow(), 1);
}
