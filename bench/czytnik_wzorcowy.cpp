// The lean reference reader of a .tro file: what reading the file and
// converting every number in it costs, without anything else the program
// does. bench/duze_sceny.sh times it as a whole process beside
// `orvany3d-cli raport` of the same file, in the same run.
//
//   czytnik_wzorcowy PLIK
//
// It reads the file as the program does (one buffer of the file's size, its
// two halves read at once by two threads) and converts every number of the
// TEREN and PROJ point and triangle sections with std::from_chars into flat
// arrays (one array per field), the large sections in two threads split at a
// record boundary near their middle, as the program splits them. There are
// no records, no checks of the fields, no messages, no load sequence: a file
// that is not a good .tro file gives whatever it gives. Prints the counts and
// a sum of the arrays (so that nothing is optimised away).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

namespace {

// The reader's position in the text.
struct TKursor {
    const char* p;
    const char* koniec;

    std::string_view Wiersz() {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(koniec - p)));
        const char* e = lf ? lf : koniec;
        std::size_t dl = static_cast<std::size_t>(e - p);
        if (dl > 0 && p[dl - 1] == '\r') --dl;
        const std::string_view s(p, dl);
        p = lf ? lf + 1 : koniec;
        return s;
    }
};

double Rzeczywista(std::string_view s) {
    // The files write a decimal comma; from_chars reads a point.
    char b[64];
    const std::size_t n = std::min(s.size(), sizeof b);
    for (std::size_t i = 0; i < n; ++i) b[i] = s[i] == ',' ? '.' : s[i];
    double v = 0.0;
    std::from_chars(b, b + n, v);
    return v;
}

std::int32_t Calkowita(std::string_view s) {
    std::int32_t v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// "x;y;z" of a PROJ triangle's line.
void Trzy(std::string_view s, double* w) {
    for (int k = 0; k < 3; ++k) {
        const std::size_t sr = s.find(';');
        w[k] = Rzeczywista(s.substr(0, sr));
        s = sr == std::string_view::npos ? std::string_view() : s.substr(sr + 1);
    }
}

// The number in front of the surface kind's letter ("1,5G").
double Rodzaj(std::string_view s) {
    std::size_t n = 0;
    while (n < s.size() && (s[n] == '-' || s[n] == ',' || s[n] == '.' || (s[n] >= '0' && s[n] <= '9'))) ++n;
    return Rzeczywista(s.substr(0, n));
}

struct TPunkty {
    std::vector<double> X, Y, Z;
    std::vector<std::int32_t> Numer;
    void Rozmiar(std::size_t n) {
        for (auto* v : {&X, &Y, &Z}) v->resize(n);
        Numer.resize(n);
    }
    // Record i of 6 lines: X, Y, Z, the flag, the number, the name.
    void Czytaj(TKursor& c, std::size_t i) {
        X[i] = Rzeczywista(c.Wiersz());
        Y[i] = Rzeczywista(c.Wiersz());
        Z[i] = Rzeczywista(c.Wiersz());
        c.Wiersz();
        Numer[i] = Calkowita(c.Wiersz());
        c.Wiersz();
    }
    static constexpr int Wierszy = 6;
};

struct TTrojkatyTEREN {
    std::vector<std::int32_t> A1, A2, A3, N1, N2, N3, Kolor;
    std::vector<double> Xs, Ys, Rodzaj;
    void Rozmiar(std::size_t n) {
        for (auto* v : {&A1, &A2, &A3, &N1, &N2, &N3, &Kolor}) v->resize(n);
        for (auto* v : {&Xs, &Ys, &Rodzaj}) v->resize(n);
    }
    // Record i of 11 lines: three attributes, three vertex numbers, the plan
    // point, the surface kind, the flag, the colour (a name or a number).
    void Czytaj(TKursor& c, std::size_t i) {
        A1[i] = Calkowita(c.Wiersz());
        A2[i] = Calkowita(c.Wiersz());
        A3[i] = Calkowita(c.Wiersz());
        N1[i] = Calkowita(c.Wiersz());
        N2[i] = Calkowita(c.Wiersz());
        N3[i] = Calkowita(c.Wiersz());
        Xs[i] = Rzeczywista(c.Wiersz());
        Ys[i] = Rzeczywista(c.Wiersz());
        Rodzaj[i] = ::Rodzaj(c.Wiersz());
        c.Wiersz();
        const std::string_view k = c.Wiersz();
        Kolor[i] = !k.empty() && k[0] != 'c' && k[0] != 'C' ? Calkowita(k) : 0;
    }
    static constexpr int Wierszy = 11;
};

struct TTrojkatyPROJ {
    std::vector<double> Liczby;  // 15 numbers a record: attributes, vertex numbers, three vertices
    std::vector<double> Rodzaj;
    std::vector<std::int32_t> Kolor;
    void Rozmiar(std::size_t n) {
        Liczby.resize(n * 15);
        Rodzaj.resize(n);
        Kolor.resize(n);
    }
    // Record i of 8 lines: five lines of three numbers, the plan point, the kind, the colour.
    void Czytaj(TKursor& c, std::size_t i) {
        for (int k = 0; k < 5; ++k) Trzy(c.Wiersz(), &Liczby[i * 15 + static_cast<std::size_t>(k) * 3]);
        c.Wiersz();
        Rodzaj[i] = ::Rodzaj(c.Wiersz());
        Kolor[i] = Calkowita(c.Wiersz());
    }
    static constexpr int Wierszy = 8;
};

// A section's count line, then its records; a large section in two threads,
// the second starting at the first record boundary after about the middle.
template <typename T>
void Sekcja(TKursor& c, T& t) {
    const std::int32_t n = std::max(0, Calkowita(c.Wiersz()));
    t.Rozmiar(static_cast<std::size_t>(n));
    std::size_t i = 0;
    if (n >= 100000) {
        // The mean record length from the first records, then the line ends up to the middle counted.
        const char* start = c.p;
        const std::size_t probka = 256;
        for (; i < probka; ++i) t.Czytaj(c, i);
        const double naRekord = static_cast<double>(c.p - start) / probka;
        const char* cel = c.p + static_cast<std::ptrdiff_t>(naRekord * static_cast<double>(n - i) / 2);
        if (cel < c.koniec) {
            std::int64_t linie = std::count(c.p, cel, '\n');
            const char* q = cel;
            while (q < c.koniec) {
                const char* lf = static_cast<const char*>(std::memchr(q, '\n', static_cast<std::size_t>(c.koniec - q)));
                if (!lf) break;
                q = lf + 1;
                if (++linie % T::Wierszy == 0) break;
            }
            const std::size_t polowa = i + static_cast<std::size_t>(linie / T::Wierszy);
            if (linie % T::Wierszy == 0 && polowa < static_cast<std::size_t>(n)) {
                TKursor drugi{q, c.koniec};
                std::thread w([&] {
                    for (std::size_t j = polowa; j < static_cast<std::size_t>(n); ++j) t.Czytaj(drugi, j);
                });
                for (; i < polowa; ++i) t.Czytaj(c, i);
                w.join();
                c.p = drugi.p;
                return;
            }
        }
    }
    for (; i < static_cast<std::size_t>(n); ++i) t.Czytaj(c, i);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "użycie: czytnik_wzorcowy PLIK.tro\n");
        return 2;
    }
    const int fd = ::open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        std::fprintf(stderr, "Nie można otworzyć pliku %s\n", argv[1]);
        return 1;
    }
    const std::size_t rozmiar = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<char[]> dane(new char[rozmiar + 1]);
    // The two halves at once.
    auto czytaj = [&](std::size_t od, std::size_t do_) {
        while (od < do_) {
            const ssize_t r = ::pread(fd, dane.get() + od, do_ - od, static_cast<off_t>(od));
            if (r <= 0) return;
            od += static_cast<std::size_t>(r);
        }
    };
    {
        std::thread w(czytaj, rozmiar / 2, rozmiar);
        czytaj(0, rozmiar / 2);
        w.join();
    }
    ::close(fd);

    TKursor c{dane.get(), dane.get() + rozmiar};
    TPunkty punktyTEREN, punktyPROJ;
    TTrojkatyTEREN trojkatyTEREN;
    TTrojkatyPROJ trojkatyPROJ;
    while (c.p < c.koniec) {
        const std::string_view s = c.Wiersz();
        if (s == "#WspTEREN#")
            Sekcja(c, punktyTEREN);
        else if (s == "#TroTEREN#")
            Sekcja(c, trojkatyTEREN);
        else if (s == "#WspPROJ#")
            Sekcja(c, punktyPROJ);
        else if (s == "#TroPROJ#")
            Sekcja(c, trojkatyPROJ);
    }
    double suma = 0.0;
    for (double v : punktyTEREN.Z) suma += v;
    for (double v : trojkatyTEREN.Xs) suma += v;
    for (std::int32_t v : trojkatyTEREN.N3) suma += v;
    for (double v : trojkatyPROJ.Liczby) suma += v;
    std::printf("punkty TEREN: %zu, trójkąty TEREN: %zu, punkty PROJ: %zu, trójkąty PROJ: %zu, suma: %.6g\n",
                punktyTEREN.X.size(), trojkatyTEREN.Xs.size(), punktyPROJ.X.size(), trojkatyPROJ.Rodzaj.size(), suma);
    return 0;
}
