// Reading a section in two threads (the split forced) gives what reading it straight through gives.

#include <filesystem>
#include <optional>
#include <ostream>

#include "pomocnicze/Pomocnicze.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;

namespace {

constexpr TOpcjeCzytania kJedenWatek{1, 2};
constexpr TOpcjeCzytania kDwaWatki{2, 2};

// The sections read, or the message of the failure.
struct TWynik {
    std::optional<TDaneWczytane> dane;
    std::string blad;
    bool operator==(const TWynik& o) const {
        if (blad != o.blad || dane.has_value() != o.dane.has_value()) return false;
        if (!dane) return true;
        const TDaneWczytane &a = *dane, &b = *o.dane;
        return a.PunktyTEREN == b.PunktyTEREN && a.PunktyPROJ == b.PunktyPROJ && a.LinieTEREN == b.LinieTEREN &&
               a.LiniePROJ == b.LiniePROJ && a.TrojkatyTEREN == b.TrojkatyTEREN && a.TrojkatyPROJ == b.TrojkatyPROJ &&
               a.Zalomy == b.Zalomy;
    }
};

std::ostream& operator<<(std::ostream& o, const TWynik& w) { return o << (w.dane ? "wczytany" : w.blad); }

TWynik Czytaj(std::string_view tekst, bool mtp, const TOpcjeCzytania& opcje) {
    try {
        return {mtp ? CzytajMTP(tekst, "p", {}, opcje) : CzytajTRO(tekst, "p", {}, opcje), ""};
    } catch (const BladKonwersji& e) {
        return {std::nullopt, e.what()};
    }
}

std::string Wynik(std::string_view tekst, bool mtp, const TOpcjeCzytania& opcje) {
    return Czytaj(tekst, mtp, opcje).blad;
}

// A grid of g x g TEREN points and its 2 (g-1)^2 triangles (the corpus brings the other sections).
TPlik Siatka(int g) {
    TPlik f = Naglowek();
    f({"#WspTEREN#", std::to_string(g * g)});
    for (int j = 0; j < g; ++j)
        for (int i = 0; i < g; ++i)
            DodajPunkt(f, 5000000 + i * 1.25, 4600000 + j * 0.75, 100 + (i * 7 + j * 3) % 11 * 0.125, "F", j * g + i,
                       "P" + std::to_string(j * g + i));
    f({"", "#TroTEREN#", std::to_string(2 * (g - 1) * (g - 1))});
    for (int j = 0; j + 1 < g; ++j)
        for (int i = 0; i + 1 < g; ++i) {
            const int a = j * g + i;
            DodajTrojkatTEREN(f, a, a + 1, a + g + 1, "0H", "clGreen");
            DodajTrojkatTEREN(f, a, a + g + 1, a + g, "0,5E", "32768");
        }
    f("");
    return f;
}

}  // namespace

TEST(CzytanieRownolegle, KazdyPlikKorpusuTakSamoJakWJednymWatku) {
    int plikow = 0;
    for (const auto& w : std::filesystem::directory_iterator(std::string(ORVANY_ZRODLA) + "/tests/hostile")) {
        const std::string n = w.path().filename().string();
        if (n == "oczekiwane.txt") continue;
        SCOPED_TRACE(n);
        const std::string t = CzytajPlik(w.path().string());
        const bool mtp = n.ends_with(".mtp");
        EXPECT_EQ(Czytaj(t, mtp, kDwaWatki), Czytaj(t, mtp, kJedenWatek));
        ++plikow;
    }
    EXPECT_GE(plikow, 50);
}

TEST(CzytanieRownolegle, DobryPlikWPolowieIBledyWKazdymMiejscu) {
    const TPlik wzor = Siatka(12);  // 144 points, 242 triangles
    const std::string tekst = wzor.Tekst("\r\n");
    const TWynik dobry = Czytaj(tekst, false, kJedenWatek);
    ASSERT_TRUE(dobry.dane.has_value()) << dobry;
    EXPECT_EQ(dobry.dane->TrojkatyTEREN->size(), 242u);
    EXPECT_EQ(Czytaj(tekst, false, kDwaWatki), dobry);
    EXPECT_EQ(Czytaj(tekst, false, TOpcjeCzytania{2, 100}), dobry);  // only the triangles split
    // The line of each record's field: 8 header lines, marker and count, 144 records of 6 lines,
    // an empty line, marker and count, then the triangles of 11 lines; lines count from 1.
    const int pierwszyPunkt = 11, pierwszyTrojkat = pierwszyPunkt + 144 * 6 + 3;
    std::vector<std::tuple<int, std::string, std::string>> bledy;  // line, its text, the message
    for (int r = 0; r < 144; ++r)
        bledy.push_back({pierwszyPunkt + 6 * r + 1, "4600x", "'4600x' is not a valid floating point value"});
    for (int r = 0; r < 242; ++r) {
        bledy.push_back({pierwszyTrojkat + 11 * r + 10, "clZielony", "'clZielony' is not a valid integer value"});
        if (r % 5 == 0)
            bledy.push_back({pierwszyTrojkat + 11 * r + 4, "144",
                             "Numer wierzchołka trójkąta TEREN 144 jest spoza zakresu punktów TEREN (0..143)."});
    }
    for (const auto& [wiersz, tekst, komunikat] : bledy) {
        TPlik f = wzor;
        f.linie[static_cast<std::size_t>(wiersz - 1)] = tekst;
        const std::string t = f.Tekst("\r\n");
        const std::string oczekiwany = komunikat + "\nPlik: p, wiersz: " + std::to_string(wiersz);
        EXPECT_EQ(Wynik(t, false, kJedenWatek), oczekiwany);
        EXPECT_EQ(Wynik(t, false, kDwaWatki), oczekiwany);
    }
    // Two faults, one in each half: the first in the file is reported.
    TPlik f = wzor;
    f.linie[static_cast<std::size_t>(pierwszyTrojkat + 11 * 30 + 10 - 1)] = "zly1";
    f.linie[static_cast<std::size_t>(pierwszyTrojkat + 11 * 200 + 10 - 1)] = "zly2";
    EXPECT_EQ(Wynik(f.Tekst(), false, kDwaWatki),
              "'zly1' is not a valid integer value\nPlik: p, wiersz: " + std::to_string(pierwszyTrojkat + 340));
}

TEST(CzytanieRownolegle, DuzyPlikCzytanyPolowamiBajtWBajt) {
    // 40 MB (above the size read in two halves) of lines whose bytes all differ from their neighbours'.
    std::string t;
    t.reserve(40u << 20);
    for (std::uint32_t i = 0, s = 1; t.size() < (40u << 20); ++i) {
        s = s * 134775813u + 1u;
        t += std::to_string(s) + (i % 3 ? "\r\n" : "\n");
    }
    const std::string plik = KatalogTymczasowy() + "/duzy.txt";
    ZapiszPlik(plik, t);
    EXPECT_TRUE(CzytajCalyPlik(plik) == t);
}
