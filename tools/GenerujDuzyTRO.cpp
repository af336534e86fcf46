// Makes a large .tro file for measuring: a terrain grid of about N TEREN
// triangles, a road surface (PROJ) along a route, and the route itself.
//
//   generuj_duzy_tro PLIK [N]     (N = 10000000 when not given)
//
// The terrain covers a corridor of 4 km x 500 m whatever N is (the cells get
// smaller as N grows, as a laser-scanned model does): gentle hills over a
// valley, three surface kinds in patches, national-grid coordinates with
// three decimals and a decimal comma, CR LF line ends, as the converter
// writes them. The route has four vertices with two arcs and transition
// curves; the road is a carriageway 2 x 3.5 m with shoulders, 0.5 m above
// the ground, with stations every 5 m. The same N gives the same file, byte
// for byte. The file is written in pieces, never held whole in memory.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/Funkcje.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "route/OblTrasa.h"

namespace {

constexpr double kX0 = 5500000.0;
constexpr double kY0 = 4600000.0;
constexpr double kDlugosc = 4000.0;  // corridor [m]
constexpr double kSzerokosc = 500.0;

double Wysokosc(double x, double y) {
    const double dolina = 0.00012 * (y - 250.0) * (y - 250.0);
    return 20.0 + 6.0 * std::sin(x / 170.0) * std::cos(y / 90.0) + 2.5 * std::sin(x / 37.0 + y / 53.0) + dolina;
}

// Text written to the file in pieces of a few megabytes.
class TWyjscie {
public:
    explicit TWyjscie(std::FILE* f) : f_(f) { b_.reserve(kPorcja + 256); }
    ~TWyjscie() { Oproznij(); }
    void Tekst(const char* s, std::size_t n) {
        b_.append(s, n);
        b_.append("\r\n", 2);
        if (b_.size() >= kPorcja) Oproznij();
    }
    void Tekst(const std::string& s) { Tekst(s.data(), s.size()); }
    void Tekst(const char* s) { Tekst(s, std::strlen(s)); }
    void Calkowita(long long v) { Tekst(std::to_string(v)); }
    // A number with three decimals and a decimal comma ("5500012,345").
    void Liczba3(double v) {
        char b[40];
        Liczba3(v, b);
        Tekst(b);
    }
    static void Liczba3(double v, char* b) {
        long long m = std::llround(v * 1000.0);
        const bool ujemna = m < 0;
        if (ujemna) m = -m;
        char t[32];
        int n = 0;
        for (int i = 0; i < 3; ++i, m /= 10) t[n++] = static_cast<char>('0' + m % 10);
        t[n++] = ',';
        do {
            t[n++] = static_cast<char>('0' + m % 10);
            m /= 10;
        } while (m);
        if (ujemna) t[n++] = '-';
        for (int i = 0; i < n; ++i) b[i] = t[n - 1 - i];
        b[n] = '\0';
    }
    bool Dobrze() const { return dobrze_; }

private:
    static constexpr std::size_t kPorcja = 8u << 20;
    void Oproznij() {
        if (!b_.empty() && std::fwrite(b_.data(), 1, b_.size(), f_) != b_.size()) dobrze_ = false;
        b_.clear();
    }
    std::FILE* f_;
    std::string b_;
    bool dobrze_ = true;
};

std::string Xyz(double x, double y, double z) {
    char a[40], b[40], c[40];
    TWyjscie::Liczba3(kX0 + x, a);
    TWyjscie::Liczba3(kY0 + y, b);
    TWyjscie::Liczba3(z, c);
    return std::string(a) + ";" + b + ";" + c;
}

TZalom Zalom(double x, double y, float r, float a) {
    TZalom z;
    z.X = x;
    z.Y = y;
    z.R = r;
    z.A1 = a;
    z.A2 = a;
    return z;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "użycie: generuj_duzy_tro PLIK [LICZBA_TRÓJKĄTÓW]\n");
        return 2;
    }
    const long long n = argc > 2 ? std::atoll(argv[2]) : 10000000LL;
    if (n < 16 || n > 400000000LL) {
        std::fprintf(stderr, "liczba trójkątów musi być od 16 do 400000000\n");
        return 2;
    }
    // Cells of the grid: two triangles each, eight times as many along as across.
    const int nx = std::max(4, static_cast<int>(std::lround(std::sqrt(n / 2.0 * 8.0))));
    const int ny = std::max(2, static_cast<int>(std::lround(n / 2.0 / nx)));
    const double kx = kDlugosc / nx, ky = kSzerokosc / ny;
    const int px = nx + 1, py = ny + 1;

    // The route in local coordinates and its stations every 5 m.
    InicjujZmienne(958, 637);
    Trasa = DaneUstawieniaTrasy{};
    Trasa.Zalomy = {Zalom(20, 250, 0, 0), Zalom(1300, 330, 900, 300), Zalom(2700, 170, 1200, 350),
                    Zalom(3980, 240, 0, 0)};
    const std::vector<TZalom> zalomy = Trasa.Zalomy;
    ObliczTrase();
    if (!Trasa.Obliczona) {
        std::fprintf(stderr, "trasa nie została obliczona\n");
        return 1;
    }
    struct TP {
        double x, y, z;
    };
    constexpr int kKolumn = 6;
    const double przesuniecia[kKolumn] = {4.75, 3.5, 0.0, -3.5, -4.75, -5.5};
    const double spadki[kKolumn] = {-0.145, -0.07, 0.0, -0.07, -0.145, -0.6};
    std::vector<TP> proj;
    int stacji = 0;
    for (double s = Trasa.PikMin; s <= Trasa.PikMax; s += 5.0, ++stacji) {
        double x, y;
        PunktNaPikiecie(s, x, y);
        const double kat = KatNaPikiecie(s);
        const double z0 = Wysokosc(x, y) + 0.5;
        const double lx = -std::sin(kat), ly = std::cos(kat);
        for (int c = 0; c < kKolumn; ++c)
            proj.push_back({x + lx * przesuniecia[c], y + ly * przesuniecia[c], z0 + spadki[c]});
    }

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    long long trojkatowTEREN = 0, trojkatowPROJ = 0;
    {
        TWyjscie w(f);
        for (const std::string& l : BanerTRO()) w.Tekst(l);
        w.Tekst("");

        w.Tekst("#WspTEREN#");
        w.Calkowita(static_cast<long long>(px) * py);
        char nazwa[32];
        for (int j = 0; j < py; ++j)
            for (int i = 0; i < px; ++i) {
                const double x = i * kx, y = j * ky;
                w.Liczba3(kX0 + x);
                w.Liczba3(kY0 + y);
                w.Liczba3(Wysokosc(x, y));
                w.Tekst((i + j) % 97 == 0 ? "T" : "F");
                const long long k = static_cast<long long>(j) * px + i;
                w.Calkowita(k);
                std::snprintf(nazwa, sizeof nazwa, "P%lld", k);
                w.Tekst(nazwa);
            }
        w.Tekst("");

        w.Tekst("#TroTEREN#");
        w.Calkowita(2LL * nx * ny);
        const char* rodzaje[3] = {"0H", "0,5N", "0E"};
        const char* kolory[3] = {"clGreen", "32768", "clOlive"};
        auto trojkat = [&](long long a, long long b, long long c, int rodzaj) {
            const long long nr = trojkatowTEREN++;
            const double xs = ((a % px) + (b % px) + (c % px)) * kx / 3.0;
            const double ys = ((a / px) + (b / px) + (c / px)) * ky / 3.0;
            w.Tekst("0");
            w.Tekst("0");
            w.Calkowita(nr);
            w.Calkowita(a);
            w.Calkowita(b);
            w.Calkowita(c);
            w.Liczba3(kX0 + xs);
            w.Liczba3(kY0 + ys);
            w.Tekst(rodzaje[rodzaj]);
            w.Tekst(nr % 500 == 0 ? "T" : "F");
            w.Tekst(kolory[rodzaj]);
        };
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                const long long p00 = static_cast<long long>(j) * px + i, p10 = p00 + 1, p01 = p00 + px, p11 = p01 + 1;
                const int rodzaj = static_cast<int>((i * kx / 80.0) + (j * ky / 50.0)) % 3;
                trojkat(p00, p10, p11, rodzaj);
                trojkat(p00, p11, p01, rodzaj);
            }
        w.Tekst("");

        w.Tekst("#WspPROJ#");
        w.Calkowita(static_cast<long long>(proj.size()));
        for (std::size_t k = 0; k < proj.size(); ++k) {
            w.Liczba3(kX0 + proj[k].x);
            w.Liczba3(kY0 + proj[k].y);
            w.Liczba3(proj[k].z);
            w.Tekst("F");
            w.Calkowita(static_cast<long long>(k));
            w.Tekst("");
        }
        w.Tekst("");

        w.Tekst("#TroPROJ#");
        w.Calkowita(2LL * (kKolumn - 1) * (stacji - 1));
        const char* rodzajeP[kKolumn - 1] = {"0O", "0,02N", "0,02N", "0O", "0H"};
        auto trojkatP = [&](int a, int b, int c, int kolumna) {
            const long long nr = trojkatowPROJ++;
            const TP &A = proj[a], &B = proj[b], &C = proj[c];
            w.Tekst(std::to_string(nr % 2) + ";0;" + std::to_string(nr));
            w.Tekst(std::to_string(a) + ";" + std::to_string(b) + ";" + std::to_string(c));
            w.Tekst(Xyz(A.x, A.y, A.z));
            w.Tekst(Xyz(B.x, B.y, B.z));
            w.Tekst(Xyz(C.x, C.y, C.z));
            char xs[40], ys[40];
            TWyjscie::Liczba3(kX0 + (A.x + B.x + C.x) / 3.0, xs);
            TWyjscie::Liczba3(kY0 + (A.y + B.y + C.y) / 3.0, ys);
            w.Tekst(std::string(xs) + ";" + ys);
            w.Tekst(rodzajeP[kolumna]);
            w.Tekst(kolumna == 1 || kolumna == 2 ? "clGray" : "8421504");
        };
        for (int k = 0; k + 1 < stacji; ++k)
            for (int c = 0; c + 1 < kKolumn; ++c) {
                const int a = k * kKolumn + c, b = a + 1, a2 = a + kKolumn, b2 = b + kKolumn;
                trojkatP(a, b, b2, c);
                trojkatP(a, b2, a2, c);
            }
        w.Tekst("");

        w.Tekst("______________________________TRASA_2020");
        w.Calkowita(static_cast<long long>(zalomy.size()));
        for (std::size_t k = 0; k < zalomy.size(); ++k) {
            const TZalom& z = zalomy[k];
            w.Tekst(Utf8NaCp1250(k == 0 ? "Początek trasy"
                                        : (k + 1 == zalomy.size() ? "Koniec trasy" : "Załom " + std::to_string(k))));
            char a[40], b[40];
            TWyjscie::Liczba3(kX0 + z.X, a);
            TWyjscie::Liczba3(kY0 + z.Y, b);
            w.Tekst(std::string(a) + ";" + b);
            w.Tekst(std::to_string(static_cast<int>(z.A1)) + ";" + std::to_string(static_cast<int>(z.A2)) + ";" +
                    std::to_string(static_cast<int>(z.R)));
            w.Tekst("0;0;0");
            w.Tekst("60;0;0");
            w.Tekst("0;0;0");
            w.Tekst("F");
            w.Tekst("F");
            w.Tekst("F");
        }
        w.Tekst("");
        if (!w.Dobrze()) {
            std::fprintf(stderr, "błąd zapisu %s\n", argv[1]);
            std::fclose(f);
            return 1;
        }
    }
    if (std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::printf(
        "TEREN: %lld punktów, %lld trójkątów (siatka %d x %d, oczko %.3f x %.3f m); "
        "PROJ: %zu punktów, %lld trójkątów; trasa: %zu wierzchołków\n",
        static_cast<long long>(px) * py, trojkatowTEREN, nx, ny, kx, ky, proj.size(), trojkatowPROJ, zalomy.size());
    return 0;
}
