// Writes the seed corpora of the fuzz targets: the tests' small sample files
// in their variants, routes with every kind of vertex, and single fields.
//   generuj_korpus <katalog corpus> [<plik .tro z trasą>]
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;
namespace fs = std::filesystem;

namespace {

// A .tro file of a regular grid of nx x ny TEREN points, two triangles a cell.
std::string PlikSiatki(int nx, int ny) {
    TPlik f = Naglowek();
    f({"#WspTEREN#", std::to_string(nx * ny)});
    for (int n = 0; n < nx * ny; ++n)
        DodajPunkt(f, 5500000 + n % nx * 2.5, 4600000 + n / nx * 2.5, 100 + n * 7 % 50 * 0.1, "F", n, "P" + L(n));
    f({"", "#TroTEREN#", std::to_string(2 * (nx - 1) * (ny - 1))});
    for (int a = 0; a + nx + 1 < nx * ny; ++a)
        if (a % nx + 1 < nx) {
            DodajTrojkatTEREN(f, a, a + 1, a + nx + 1, "0H", "clGreen");
            DodajTrojkatTEREN(f, a, a + nx + 1, a + nx, "0H", "clGreen");
        }
    return f.Tekst("\r\n");
}

fs::path korzen;

void Zapisz(const char* cel, const std::string& nazwa, const std::string& tresc) {
    fs::create_directories(korzen / cel);
    ZapiszPlik((korzen / cel / nazwa).string(), tresc);
}

struct TW {
    const char* nazwa;
    const char* xy;
    const char* ar;
};

// A .tro file holding only a route.
std::string PlikTrasy(const std::vector<TW>& w, const char* koniec = "\r\n") {
    TPlik f = Naglowek();
    f("______________________________TRASA_2020");
    f(std::to_string(w.size()));
    for (const TW& v : w) DodajZalom(f, v.nazwa, v.xy, v.ar);
    return f.Tekst(koniec);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "użycie: generuj_korpus <katalog corpus> [<plik .tro z trasą>]\n");
        return 2;
    }
    korzen = argv[1];

    // Readers: the full sample files with both line ends, without the last
    // line end, a grid, the bare header.
    for (const char* cel : {"fuzz_tro", "fuzz_mtp"}) {
        const bool mtp = std::string(cel) == "fuzz_mtp";
        const TPlik f = PlikDanych(mtp);
        Zapisz(cel, "pelny_lf", f.Tekst("\n"));
        Zapisz(cel, "pelny_crlf", f.Tekst("\r\n"));
        std::string bez = f.Tekst("\n");
        bez.pop_back();
        Zapisz(cel, "bez_konca", bez);
        Zapisz(cel, "naglowek", Naglowek().Tekst("\r\n"));
        // The other format's file: every marker is unknown here.
        Zapisz(cel, "obcy_format", PlikDanych(!mtp).Tekst("\n"));
    }
    Zapisz("fuzz_tro", "siatka_4x4", PlikSiatki(4, 4));
    {
        // Triangles before points (the points in memory are used), then points.
        TPlik f = Naglowek();
        f("#TroTEREN#");
        f("1");
        DodajTrojkatTEREN(f, 0, 1, 2, "0,5H", "clBtnFace");
        f("#WspTEREN#");
        f("3");
        DodajPunkt(f, 0, 0, 0, "T", 0, "A");
        DodajPunkt(f, 10, 0, 1, "F", 1, "B");
        DodajPunkt(f, 0, 10, 2, "TRUE", 2, "C");
        Zapisz("fuzz_tro", "trojkaty_przed_punktami", f.Tekst("\n"));
    }

    // Converter: the .mtp sample, and one whose triangle section runs on
    // into the next section for want of an empty line.
    Zapisz("fuzz_przepisz", "pelny_crlf", PlikMTP().Tekst("\r\n"));
    Zapisz("fuzz_przepisz", "pelny_lf", PlikMTP().Tekst("\n"));
    {
        TPlik f = PlikMTP();
        std::vector<std::string> l;
        for (std::size_t i = 0; i < f.linie.size(); ++i)
            if (!(f.linie[i].empty() && i > 0 && f.linie[i - 1] != "" && i + 1 < f.linie.size() &&
                  f.linie[i + 1] == "#Wspolrzedne200PROJ#"))
                l.push_back(f.linie[i]);
        f.linie = l;
        Zapisz("fuzz_przepisz", "bez_pustego_wiersza", f.Tekst("\n"));
    }

    // Routes: a straight, an arc, clothoids, a sharp vertex, overlapping
    // curves, an arc on a straight line, coinciding vertices, a lone vertex.
    Zapisz("fuzz_trasa", "prosta", PlikTrasy({{"A", "0;0", "0;0;0"}, {"B", "100;0", "0;0;0"}}));
    Zapisz("fuzz_trasa", "luk",
           PlikTrasy({{"P", "0;0", "0;0;0"}, {"V", "100;0", "0;0;50"}, {"N", "100;100", "0;0;0"}}));
    Zapisz("fuzz_trasa", "klotoidy",
           PlikTrasy({{"P", "0;0", "0;0;0"},
                      {"V1", "400;50", "160;160;450"},
                      {"V2", "800;-100", "150;150;400"},
                      {"N", "1200;100", "0;0;0"}}));
    Zapisz("fuzz_trasa", "zalom_ostry",
           PlikTrasy({{"P", "0;0", "0;0;0"}, {"V", "50;50", "0;0;0"}, {"N", "100;0", "0;0;0"}}));
    Zapisz("fuzz_trasa", "nakladanie",
           PlikTrasy({{"P", "0;0", "0;0;0"},
                      {"V1", "100;0", "0;0;300"},
                      {"V2", "110;100", "0;0;300"},
                      {"N", "220;100", "0;0;0"}}));
    Zapisz("fuzz_trasa", "luk_na_prostej",
           PlikTrasy({{"P", "0;0", "0;0;0"}, {"V", "0;50", "0;0;30"}, {"N", "0;100", "0;0;0"}}));
    Zapisz("fuzz_trasa", "zalomy_pokrywajace",
           PlikTrasy(
               {{"P", "0;0", "0;0;0"}, {"V", "50;50", "0;0;0"}, {"V2", "50;50", "0;0;20"}, {"N", "100;0", "0;0;0"}}));
    Zapisz("fuzz_trasa", "jeden_zalom", PlikTrasy({{"P", "0;0", "0;0;300"}}));
    Zapisz("fuzz_trasa", "luk_na_koncach", PlikTrasy({{"P", "0;0", "0;0;200"}, {"N", "100;0", "0;0;200"}}, "\n"));
    if (argc > 2) {
        // The route of the program's sample project.
        const std::string tro = CzytajPlik(argv[2]);
        const std::size_t p = tro.find("______________________________TRASA_2020");
        if (p != std::string::npos) {
            std::string t;
            for (int i = 0; i < 8; ++i) t += "*\r\n";
            Zapisz("fuzz_trasa", "droga", t + tro.substr(p));
        }
    }

    // Fields: the selector byte (conversion = byte % 6), then the text.
    const struct {
        char wybor;
        const char* tekst;
    } pola[] = {
        {0, "10;20;30;uwagi"},
        {0, "10,5;20.25"},
        {0, "a;2;3"},
        {0, "1e5;-2E-3;;"},
        {1, "0.25N"},
        {1, "1,5E+3N"},
        {1, "0.2NH"},
        {1, "12"},
        {1, "n"},
        {2, "clGreen"},
        {2, "CLBTNFACE"},
        {2, "-2147483648"},
        {2, "clNone"},
        {2, "16777215"},
        {3, " 12,5 "},
        {3, "1e308"},
        {3, "-0"},
        {3, "4.9e-324"},
        {3, "1,2,3"},
        {4, "12"},
        {4, "abc"},
        {4, "2147483648"},
        {4, " -7 "},
        {5, "T"},
        {5, "true"},
        {5, "Tak"},
        {5, "1.000,5"},
        {6 + 4, "0"},
        {12 + 4, "-2147483649"},
    };
    int i = 0;
    for (const auto& p : pola) {
        char nazwa[32];
        std::snprintf(nazwa, sizeof nazwa, "pole_%02d", i++);
        Zapisz("fuzz_pola", nazwa, std::string(1, p.wybor) + p.tekst);
    }
    return 0;
}
