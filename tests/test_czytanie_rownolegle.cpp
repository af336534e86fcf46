// Reading a section in two threads (the split forced) gives what reading it straight through gives.

#include <filesystem>
#include <optional>
#include <ostream>

#include "pomocnicze/Pomocnicze.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;

namespace {

const TOpcjeCzytania kJedenWatek{1, 2};
const TOpcjeCzytania kDwaWatki{2, 2};

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
               a.WierzcholkiTEREN == b.WierzcholkiTEREN && a.WierzcholkiPROJ == b.WierzcholkiPROJ &&
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
        EXPECT_EQ(Czytaj(t, false, kJedenWatek).blad, oczekiwany);
        EXPECT_EQ(Czytaj(t, false, kDwaWatki).blad, oczekiwany);
    }
    // Two faults, one in each half: the first in the file is reported.
    TPlik f = wzor;
    f.linie[static_cast<std::size_t>(pierwszyTrojkat + 11 * 30 + 10 - 1)] = "zly1";
    f.linie[static_cast<std::size_t>(pierwszyTrojkat + 11 * 200 + 10 - 1)] = "zly2";
    EXPECT_EQ(Czytaj(f.Tekst(), false, kDwaWatki).blad,
              "'zly1' is not a valid integer value\nPlik: p, wiersz: " + std::to_string(pierwszyTrojkat + 340));
}

// The bytes a reader hands back (as a whole file's reader gives their memory
// back) are never looked at again: here they are wiped as soon as they are
// handed over, and the file reads as it reads whole, every message with its
// line, whether the fault lies in the first or the second thread's half.
TEST(CzytanieRownolegle, OddaneBajtyNieSaCzytaneZnowu) {
    const int g = 80;  // 6,400 points and 12,482 triangles: several handovers in each section
    const TPlik wzor = Siatka(g);
    const int pierwszyTrojkat = 11 + g * g * 6 + 3, ileTrojkatow = 2 * (g - 1) * (g - 1);
    std::vector<TPlik> pliki = {wzor};
    for (int r : {5000, 5500, 9000, ileTrojkatow - 1}) {  // a field of the first half, then of the second
        TPlik f = wzor;
        f.linie[static_cast<std::size_t>(pierwszyTrojkat + 11 * r + 10 - 1)] = "zly";
        pliki.push_back(f);
    }
    TPlik zaDuzo = wzor;  // a count larger than the records: reported at the count line
    zaDuzo.linie[static_cast<std::size_t>(pierwszyTrojkat - 2)] = std::to_string(ileTrojkatow + 1);
    pliki.push_back(zaDuzo);
    for (std::size_t k = 0; k < pliki.size(); ++k) {
        SCOPED_TRACE(k);
        const std::string wzorTekstu = pliki[k].Tekst();
        const TWynik oczekiwany = Czytaj(wzorTekstu, false, kJedenWatek);
        EXPECT_EQ(oczekiwany.dane.has_value(), k == 0) << oczekiwany;
        for (int watki : {1, 2}) {
            std::string t = wzorTekstu;
            std::size_t oddane = 0;
            TOpcjeCzytania o{watki, 100};
            o.OddajPrzeczytane = [&](const char* od, const char* do_) {
                ASSERT_TRUE(od >= t.data() && od <= do_ && do_ <= t.data() + t.size());
                std::fill(t.begin() + (od - t.data()), t.begin() + (do_ - t.data()), '\0');
                oddane += static_cast<std::size_t>(do_ - od);
            };
            EXPECT_EQ(Czytaj(t, false, o), oczekiwany) << watki;
            if (k == 0) EXPECT_GT(oddane, t.size() / 2) << watki;
        }
    }
}

// A file large enough to be read into pages of its own, which its reader gives back as it reads: the file read
// from disk gives what its text gives, in one thread and in two.
TEST(CzytanieRownolegle, DuzyPlikZOddawaniemStronJakJegoTekst) {
#if defined(__SANITIZE_THREAD__)
    // The threads' handover is OddaneBajtyNieSaCzytaneZnowu's; this one is about the pages, and takes half a
    // minute under the thread checker.
    GTEST_SKIP() << "pod ThreadSanitizer: przekazywanie bajtów sprawdza OddaneBajtyNieSaCzytaneZnowu";
#endif
    const std::string tekst = Siatka(480).Tekst("\r\n");  // 230,400 points, 458,882 triangles
    ASSERT_GT(tekst.size(), 33u << 20);                   // above the size read into pages of its own
    const std::string plik = KatalogTymczasowy() + "/oddawanie.tro";
    ZapiszPlik(plik, tekst);
    const TWynik wzor = Czytaj(tekst, false, kJedenWatek);
    ASSERT_TRUE(wzor.dane.has_value()) << wzor;
    for (int watki : {1, 2}) {
        TOpcjeCzytania o{watki, 1000};
        EXPECT_EQ((TWynik{CzytajPlikTRO(plik, {}, o), ""}), wzor) << watki;
    }
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

// A record's plain fields are read in one pass, anything else line by line: either way each field of a point and
// of a TEREN triangle gets the hand-worked value of its text, with LF and with CR LF line ends, and with the last
// line of the file without its line end. The faults name their lines.
TEST(JedenPrzebieg, PolaPunktowITrojkatowJakZapisane) {
    // Three points, then one triangle: its lines start at 32 (8 header lines, 2 + 18 of points, 1 empty, 2).
    auto plik = [](const std::string& x, const std::vector<std::string>& trojkat) {
        TPlik f = Naglowek();
        f({"#WspTEREN#", "3", x, "4600000,5", "-0", "F", "7", "P1"});
        DodajPunkt(f, 1, 2, 3, "T", 8, "P2");
        DodajPunkt(f, 4, 5, 6, "true", -9, "");
        f({"", "#TroTEREN#", "1"});
        f.linie.insert(f.linie.end(), trojkat.begin(), trojkat.end());
        return f;
    };
    const std::vector<std::string> zwykly = {"0", "-7", "007", "0", "1", "2", "12,5", "0", "0,5N", "F", "clGreen"};
    struct TPrzypadek {
        int pole;  // line of the triangle record (0..10); -1: the first point's X
        std::string tekst;
        std::function<bool(const TPunktSiatki&, const TTrojkat&)> dobry;
    };
    const auto rodzaj = [](float w, char k) {
        return [=](const TPunktSiatki&, const TTrojkat& t) { return t.Rodzaj == TRodzaj{w, k}; };
    };
    const TPrzypadek przypadki[] = {
        {-1, "5000100,25", [](auto& p, auto&) { return p.X == 5000100.25; }},
        {-1, "999999999999,999", [](auto& p, auto&) { return p.X == 999999999999.999; }},
        {-1, "0,30000000000000004", [](auto& p, auto&) { return p.X == 0.30000000000000004; }},
        {-1, "1e2", [](auto& p, auto&) { return p.X == 100.0; }},
        {-1, " +3.5", [](auto& p, auto&) { return p.X == 3.5; }},
        {-1, "-0", [](auto& p, auto&) { return p.X == 0.0 && std::signbit(p.X); }},
        {-1, ",5", [](auto& p, auto&) { return p.X == 0.5; }},
        {0, "2147483647", [](auto&, auto& t) { return t.Atr1 == 2147483647; }},
        {0, "-999999999", [](auto&, auto& t) { return t.Atr1 == -999999999; }},
        {1, "+12", [](auto&, auto& t) { return t.Atr2 == 12; }},
        {3, "2", [](auto&, auto& t) { return t.Nr1 == 2 && t.W1 == 2; }},
        {6, "-0,001", [](auto&, auto&) { return true; }},  // the plan point: read, checked, not kept
        {8, "3G", rodzaj(3.0f, 'G')},
        {8, "-1,25E", rodzaj(-1.25f, 'E')},
        {8, "1,5 H", rodzaj(1.5f, 'H')},
        {8, "2NG", rodzaj(2.0f, 'N')},  // the first letter of HNG...
        {8, "", [](auto&, auto& t) { return t.Rodzaj == TRodzaj{}; }},
        {9, "T", [](auto&, auto& t) { return t.Znacznik; }},
        {9, "True", [](auto&, auto& t) { return t.Znacznik; }},
        {9, "x", [](auto&, auto& t) { return !t.Znacznik; }},
        {10, "255", [](auto&, auto& t) { return t.Kolor == 255; }},
        {10, "CLGREEN", [](auto&, auto& t) { return t.Kolor == 0x008000; }},
        {10, "-1", [](auto&, auto& t) { return t.Kolor == -1; }},
    };
    for (const TPrzypadek& c : przypadki)
        for (const char* koniec : {"\n", "\r\n", ""}) {
            SCOPED_TRACE(c.tekst + (*koniec ? (koniec[1] ? " CR LF" : " LF") : " bez końca"));
            std::vector<std::string> t = zwykly;
            if (c.pole >= 0) t[static_cast<std::size_t>(c.pole)] = c.tekst;
            TPlik f = plik(c.pole < 0 ? c.tekst : "5000000", t);
            std::string tekst = f.Tekst(*koniec ? koniec : "\n");
            if (!*koniec) tekst.pop_back();
            const TWynik w = Czytaj(tekst, false, kJedenWatek);
            ASSERT_TRUE(w.dane) << w.blad;
            const TPunktSiatki& p = (*w.dane->PunktyTEREN)[0];
            const TTrojkat& tr = (*w.dane->TrojkatyTEREN)[0];
            EXPECT_TRUE(c.dobry(p, tr));
            // The other fields as written.
            EXPECT_EQ(std::tuple(p.Y, p.Z, p.Znacznik, p.Numer, p.Nazwa.Tekst()),
                      std::tuple(4600000.5, 0.0, false, 7, std::string("P1")));
            EXPECT_TRUE(std::signbit(p.Z));
            EXPECT_EQ((*w.dane->PunktyTEREN)[2].Numer, -9);
            EXPECT_TRUE((*w.dane->PunktyTEREN)[2].Znacznik);
            EXPECT_TRUE(c.pole == 10 || tr.Kolor == 0x008000) << tr.Kolor;
            EXPECT_TRUE(c.pole == 8 || tr.Rodzaj == (TRodzaj{0.5f, 'N'}));
            // Each corner is the point its number names, in the file's frame.
            const std::vector<TPunkt3D>& wierzcholki = *w.dane->WierzcholkiTEREN;
            ASSERT_EQ(wierzcholki.size(), w.dane->PunktyTEREN->size());
            for (auto [nr, wi] : {std::pair{tr.Nr1, tr.W1}, {tr.Nr2, tr.W2}, {tr.Nr3, tr.W3}}) {
                const TPunktSiatki& q = (*w.dane->PunktyTEREN)[static_cast<std::size_t>(nr)];
                EXPECT_EQ(wierzcholki[static_cast<std::size_t>(wi)], (TPunkt3D{q.X, q.Y, q.Z}));
            }
        }
    const std::tuple<int, std::string, std::string> bledy[] = {
        {0, "99999999999999", "'99999999999999' is not a valid integer value"},
        {3, "3", "Numer wierzchołka trójkąta TEREN 3 jest spoza zakresu punktów TEREN (0..2)."},
        {5, "-1", "Numer wierzchołka trójkąta TEREN -1 jest spoza zakresu punktów TEREN (0..2)."},
        {7, "1000000000000,5", "Współrzędna 1e+12 jest poza dopuszczalnym zakresem (od -1e12 do 1e12)."},
        {8, "G", "'' is not a valid floating point value"},
        {10, "9999999999", "'9999999999' is not a valid integer value"},
    };
    for (const auto& [pole, tekst, komunikat] : bledy) {
        std::vector<std::string> t = zwykly;
        t[static_cast<std::size_t>(pole)] = tekst;
        EXPECT_EQ(Czytaj(plik("1", t).Tekst("\r\n"), false, kJedenWatek).blad,
                  komunikat + "\nPlik: p, wiersz: " + std::to_string(32 + pole));
    }
}
