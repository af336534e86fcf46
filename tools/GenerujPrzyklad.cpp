// Makes the sample project deterministically: a terrain of hills and a valley,
// a road alignment with arcs and clothoid transitions, the road surface
// (carriageway, shoulders, cut and fill slopes) that follows it, and break
// lines, written as a .mtp exchange file; the .tro file is made from it by the
// program's own converter.
//
//   generuj_przyklad KATALOG_PRZYKLADY [KATALOG_MODEL]
//
// writes KATALOG_PRZYKLADY/Droga.mtp, KATALOG_PRZYKLADY/Droga.tro and, when
// given, a copy of the .mtp in KATALOG_MODEL.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include "common/Funkcje.h"
#include "model/FormatTRO.h"
#include "model/ZapisywanieOdczytywanie.h"

namespace {

constexpr double kX0 = 5500000.0;  // national-grid-like origin of the sheet
constexpr double kY0 = 4600000.0;
constexpr int kKomorek = 104;   // grid cells per side
constexpr double kKrok = 30.0;  // cell size [m]

// ---- terrain ----

double Gauss(double x, double y, double cx, double cy, double r) {
    const double dx = x - cx, dy = y - cy;
    return std::exp(-(dx * dx + dy * dy) / (r * r));
}

// Height of the ground at local plan coordinates (0..3120 m each way).
double WysokoscTerenu(double x, double y) {
    double z = 182.0 + 0.006 * x + 0.004 * y;
    z += 38.0 * Gauss(x, y, 700.0, 2300.0, 520.0);  // a hill in the north-west
    z += 27.0 * Gauss(x, y, 2500.0, 700.0, 450.0);  // a hill in the south-east
    z += 15.0 * Gauss(x, y, 2700.0, 2700.0, 380.0);
    // A valley running from the south-west to the north-east, with a stream.
    const double d = (y - (0.55 * x + 700.0)) / std::sqrt(1.0 + 0.55 * 0.55);
    z -= 22.0 * std::exp(-(d * d) / (260.0 * 260.0));
    z += 2.5 * std::sin(x / 97.0) * std::cos(y / 131.0) + 1.2 * std::sin((x + 2.0 * y) / 53.0);
    return z;
}

// Distance of a point from the valley's stream line (for kinds of ground).
double OdlegloscOdPotoku(double x, double y) { return std::abs(y - (0.55 * x + 700.0)) / std::sqrt(1.0 + 0.55 * 0.55); }

// ---- alignment ----

struct TWierzcholek {
    const char* nazwa;  // UTF-8, written as Windows-1250
    double x, y;        // local
    double R, A1, A2;
};

const std::vector<TWierzcholek> kTrasa = {
    {"Początek trasy", 260.0, 520.0, 0, 0, 0},        {"Załom 1", 640.0, 760.0, 450.0, 160.0, 160.0},
    {"Załom 2", 1010.0, 820.0, 400.0, 150.0, 150.0},  {"Załom 3", 1330.0, 1090.0, 380.0, 140.0, 140.0},
    {"Załom 4", 1700.0, 1220.0, 420.0, 160.0, 160.0}, {"Załom 5", 2040.0, 1560.0, 600.0, 160.0, 170.0},
    {"Załom 6", 2330.0, 1740.0, 420.0, 150.0, 150.0}, {"Koniec trasy", 2560.0, 2140.0, 0, 0, 0},
};

struct TKrzywa {
    double delta = 0;       // deflection angle, >0 left
    double T1 = 0, T2 = 0;  // tangent lengths in and out
    double L1 = 0, L2 = 0, La = 0;
};

double Kierunek(double dx, double dy) { return std::atan2(dy, dx); }

double Znormalizuj(double a) {
    while (a > std::numbers::pi) a -= 2 * std::numbers::pi;
    while (a < -std::numbers::pi) a += 2 * std::numbers::pi;
    return a;
}

// Tangent lengths of an arc with two clothoids (series for the clothoid's own frame).
TKrzywa Krzywa(std::size_t i) {
    TKrzywa k;
    const auto& a = kTrasa[i - 1];
    const auto& w = kTrasa[i];
    const auto& b = kTrasa[i + 1];
    k.delta = Znormalizuj(Kierunek(b.x - w.x, b.y - w.y) - Kierunek(w.x - a.x, w.y - a.y));
    const double R = w.R, D = std::abs(k.delta);
    k.L1 = w.A1 * w.A1 / R;
    k.L2 = w.A2 * w.A2 / R;
    auto elementy = [R](double L, double& xs, double& dr) {
        const double tau = L / (2 * R);
        const double xk = L - std::pow(L, 5) / (40 * std::pow(R * L, 2));
        const double yk = L * L / (6 * R);
        xs = xk - R * std::sin(tau);
        dr = yk - R * (1 - std::cos(tau));
    };
    double xs1, dr1, xs2, dr2;
    elementy(k.L1, xs1, dr1);
    elementy(k.L2, xs2, dr2);
    // Unequal clothoids: the shifted circle's tangents differ by the shifts.
    k.T1 = xs1 + (R + dr1) * std::tan(D / 2) + (dr2 - dr1) / std::sin(D);
    k.T2 = xs2 + (R + dr2) * std::tan(D / 2) - (dr2 - dr1) / std::sin(D);
    k.La = R * (D - k.L1 / (2 * R) - k.L2 / (2 * R));
    return k;
}

// Checks that every arc keeps a positive length and that neighbouring curves fit
// on their leg with a good margin; prints the figures.
bool SprawdzTrase() {
    bool ok = true;
    std::vector<TKrzywa> k(kTrasa.size());
    for (std::size_t i = 1; i + 1 < kTrasa.size(); ++i) {
        k[i] = Krzywa(i);
        std::printf("%-16s delta %6.2f deg  T1 %7.2f  T2 %7.2f  L1 %6.2f  Luk %7.2f  L2 %6.2f\n", kTrasa[i].nazwa,
                    k[i].delta * 180 / std::numbers::pi, k[i].T1, k[i].T2, k[i].L1, k[i].La, k[i].L2);
        if (k[i].La < 20.0) ok = false;
    }
    double dlugosc = 0;
    for (std::size_t i = 0; i + 1 < kTrasa.size(); ++i) {
        const double d = std::hypot(kTrasa[i + 1].x - kTrasa[i].x, kTrasa[i + 1].y - kTrasa[i].y);
        const double zajete = k[i].T2 + k[i + 1].T1;
        std::printf("odcinek %zu-%zu: %7.2f m, styczne %7.2f m (%.0f%%)\n", i, i + 1, d, zajete, 100 * zajete / d);
        if (zajete > 0.7 * d) ok = false;
        dlugosc += d;
    }
    std::printf("długość wieloboku %.1f m\n", dlugosc);
    return ok;
}

// The road's centre line as points every ~step metres, with their bearings.
struct TStacja {
    double x, y, kat;
};

std::vector<TStacja> OsDrogi(double krok) {
    std::vector<TStacja> os;
    double x = kTrasa[0].x, y = kTrasa[0].y;
    double kat = Kierunek(kTrasa[1].x - x, kTrasa[1].y - y);
    auto prosta = [&](double dx, double dy) {
        const double d = std::hypot(dx - x, dy - y);
        const int n = std::max(1, static_cast<int>(std::round(d / krok)));
        const double x0 = x, y0 = y;
        for (int j = 0; j < n; ++j) os.push_back({x0 + (dx - x0) * j / n, y0 + (dy - y0) * j / n, kat});
        x = dx;
        y = dy;
    };
    for (std::size_t i = 1; i + 1 < kTrasa.size(); ++i) {
        const TKrzywa k = Krzywa(i);
        const auto& w = kTrasa[i];
        const double katWe = Kierunek(w.x - kTrasa[i - 1].x, w.y - kTrasa[i - 1].y);
        const double katWy = Kierunek(kTrasa[i + 1].x - w.x, kTrasa[i + 1].y - w.y);
        prosta(w.x - k.T1 * std::cos(katWe), w.y - k.T1 * std::sin(katWe));
        kat = katWe;
        // Curvature along the curve: rising over L1, constant over the arc, falling over L2.
        const double znak = k.delta > 0 ? 1.0 : -1.0;
        const double calosc = k.L1 + k.La + k.L2;
        const int n = static_cast<int>(std::ceil(calosc / 0.25));
        const double ds = calosc / n;
        int nastepna = 0;
        for (int j = 0; j < n; ++j) {
            const double s = (j + 0.5) * ds;
            double krz;
            if (s < k.L1)
                krz = s / (k.L1 * w.R);
            else if (s < k.L1 + k.La)
                krz = 1.0 / w.R;
            else
                krz = (calosc - s) / (k.L2 * w.R);
            if (j == nastepna && s < calosc - krok * 0.5) {
                os.push_back({x, y, kat});
                nastepna += static_cast<int>(std::round(krok / ds));
            }
            const double km = kat + znak * krz * ds / 2;
            x += ds * std::cos(km);
            y += ds * std::sin(km);
            kat += znak * krz * ds;
        }
        // Start the next straight exactly on the outgoing leg.
        kat = katWy;
        const double tx = w.x + k.T2 * std::cos(katWy), ty = w.y + k.T2 * std::sin(katWy);
        x = tx;
        y = ty;
    }
    prosta(kTrasa.back().x, kTrasa.back().y);
    os.push_back({x, y, kat});
    return os;
}

// ---- writing ----

std::string Liczba(double v, int miejsca) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", miejsca, v);
    std::string s(b);
    for (char& c : s)
        if (c == '.') c = ',';
    if (s == "-0,000" || s == "-0,00") s.erase(0, 1);
    return s;
}

struct TPlik {
    std::string t;
    void W(std::string_view s) {
        t += Utf8NaCp1250(s);
        t += "\r\n";
    }
};

struct TPunktP {
    double x, y, z;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "użycie: generuj_przyklad KATALOG_PRZYKLADY [KATALOG_MODEL]\n";
        return 2;
    }
    if (!SprawdzTrase()) {
        std::cerr << "trasa przykładu jest nieprawidłowa\n";
        return 1;
    }
    const std::string katalog = argv[1];
    std::filesystem::create_directories(katalog);
    if (argc > 2) std::filesystem::create_directories(argv[2]);
    TPlik f;
    f.W("MTP 2020 - plik wymiany danych");
    f.W("Projekt: Droga przykładowa Orvany3D");
    f.W("Układ współrzędnych: lokalny, przesunięty jak układ państwowy");
    f.W("Jednostki: metry");
    f.W("Teren: siatka trójkątów, wzgórza i dolina z potokiem");
    f.W("Projekt: jezdnia 2 x 3,50 m, pobocza 1,25 m, skarpy 1:1,5");
    f.W("Wygenerowano programem generuj_przyklad");
    f.W("");

    // Terrain points, row by row.
    const int n = kKomorek + 1;
    std::vector<TPunktP> teren;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const double x = i * kKrok, y = j * kKrok;
            teren.push_back({x, y, WysokoscTerenu(x, y)});
        }
    f.W(format_tro::ZnacznikiMTP.WspTEREN);
    f.W(std::to_string(teren.size()));
    for (std::size_t k = 0; k < teren.size(); ++k) {
        f.W(Liczba(kX0 + teren[k].x, 3));
        f.W(Liczba(kY0 + teren[k].y, 3));
        f.W(Liczba(teren[k].z, 3));
        f.W(k % 97 == 0 ? "T" : "F");
        f.W(std::to_string(1000 + k));
        if (k == 0)
            f.W("Punkt osnowy Źródło");
        else if (k % 997 == 0)
            f.W("Pikieta pomiarowa nr " + std::to_string(k));  // longer than 20: cut on load
        else
            f.W("P" + std::to_string(k));
    }
    f.W("");

    // Break lines along the stream: nearest grid points along the valley.
    std::vector<int> potok;
    for (int i = 0; i < n; ++i) {
        const double x = i * kKrok;
        const int j = static_cast<int>(std::lround((0.55 * x + 700.0) / kKrok));
        if (j >= 0 && j < n) potok.push_back(j * n + i);
    }
    f.W("#Linie200TEREN#");
    f.W(std::to_string(potok.size() - 1));
    for (std::size_t k = 0; k + 1 < potok.size(); ++k) {
        const TPunktP& a = teren[potok[k]];
        const TPunktP& b = teren[potok[k + 1]];
        f.W(Liczba(kX0 + a.x, 3));
        f.W(Liczba(kY0 + a.y, 3));
        f.W(Liczba(a.z, 3));
        f.W(std::to_string(potok[k]));
        f.W(Liczba(kX0 + b.x, 3));
        f.W(Liczba(kY0 + b.y, 3));
        f.W(Liczba(b.z, 3));
        f.W(std::to_string(potok[k + 1]));
        f.W("1,5");
        f.W("T");
        for (int m = 0; m < 5; ++m) f.W("F");
    }
    f.W("");

    // Terrain triangles: two per cell, the diagonal alternating.
    f.W(format_tro::ZnacznikiMTP.TroTEREN);
    f.W(std::to_string(2 * kKomorek * kKomorek));
    int licznik = 0;
    auto trojkatTerenu = [&](int a, int b, int c) {
        const double xs = (teren[a].x + teren[b].x + teren[c].x) / 3;
        const double ys = (teren[a].y + teren[b].y + teren[c].y) / 3;
        f.W(std::to_string(licznik % 3));
        f.W("0");
        f.W(std::to_string(licznik));
        f.W(std::to_string(a));
        f.W(std::to_string(b));
        f.W(std::to_string(c));
        f.W(Liczba(kX0 + xs, 3));
        f.W(Liczba(kY0 + ys, 3));
        const double d = OdlegloscOdPotoku(xs, ys);
        const double z = WysokoscTerenu(xs, ys);
        if (d < 45.0)
            f.W("0,00E");  // wet meadow along the stream
        else if (z > 205.0)
            f.W("0K");  // forest on the hill tops
        else if ((licznik / 2) % 41 == 0)
            f.W("1,5G");
        else
            f.W("0H");
        f.W(licznik % 500 == 0 ? "TRUE" : "False");
        f.W(licznik % 3 == 0 ? "clGreen" : (licznik % 3 == 1 ? "CLOLIVE" : "32768"));
        ++licznik;
    };
    for (int j = 0; j < kKomorek; ++j)
        for (int i = 0; i < kKomorek; ++i) {
            const int p00 = j * n + i, p10 = p00 + 1, p01 = p00 + n, p11 = p01 + 1;
            if ((i + j) % 2 == 0) {
                trojkatTerenu(p00, p10, p11);
                trojkatTerenu(p00, p11, p01);
            } else {
                trojkatTerenu(p00, p10, p01);
                trojkatTerenu(p10, p11, p01);  // clockwise on purpose: the load turns it round
            }
        }
    f.W("");

    // The road: centre line stations, design grade from the smoothed ground.
    const std::vector<TStacja> os = OsDrogi(5.0);
    std::vector<double> niweleta(os.size());
    {
        std::vector<double> zt(os.size());
        for (std::size_t k = 0; k < os.size(); ++k) zt[k] = WysokoscTerenu(os[k].x, os[k].y);
        const int okno = 40;  // +-200 m
        for (std::size_t k = 0; k < os.size(); ++k) {
            double s = 0;
            int m = 0;
            for (int d = -okno; d <= okno; ++d) {
                const long q = static_cast<long>(k) + d;
                if (q < 0 || q >= static_cast<long>(os.size())) continue;
                s += zt[q];
                ++m;
            }
            niweleta[k] = s / m + 0.6;
        }
    }
    // Cross-section: carriageway 2 x 3.5 m at 2 %, shoulders 1.25 m at 6 %,
    // slopes 1:1.5 down to (fill) or up to (cut) the ground, at most 40 m wide.
    constexpr int kKolumn = 7;
    std::vector<TPunktP> proj;
    for (std::size_t k = 0; k < os.size(); ++k) {
        const double nx = -std::sin(os[k].kat), ny = std::cos(os[k].kat);  // to the left
        const double z0 = niweleta[k];
        auto punkt = [&](double off, double z) { return TPunktP{os[k].x + nx * off, os[k].y + ny * off, z}; };
        auto skarpa = [&](double znak) {
            const double krawedz = 4.75;
            const double zk = z0 - 0.07 - 0.075;
            const double zt0 = WysokoscTerenu(os[k].x + nx * znak * krawedz, os[k].y + ny * znak * krawedz);
            const double kierunek = zt0 < zk ? -1.0 : 1.0;  // fill goes down, cut goes up
            double w = 0.0;
            for (; w < 40.0; w += 0.1) {
                const double off = znak * (krawedz + w);
                const double z = zk + kierunek * w / 1.5;
                const double zt = WysokoscTerenu(os[k].x + nx * off, os[k].y + ny * off);
                if ((kierunek < 0 && z <= zt) || (kierunek > 0 && z >= zt)) break;
            }
            w = std::max(w, 0.5);
            return punkt(znak * (krawedz + w), zk + kierunek * w / 1.5);
        };
        proj.push_back(skarpa(1.0));
        proj.push_back(punkt(4.75, z0 - 0.07 - 0.075));
        proj.push_back(punkt(3.5, z0 - 0.07));
        proj.push_back(punkt(0.0, z0));
        proj.push_back(punkt(-3.5, z0 - 0.07));
        proj.push_back(punkt(-4.75, z0 - 0.07 - 0.075));
        proj.push_back(skarpa(-1.0));
    }
    f.W(format_tro::ZnacznikiMTP.WspPROJ);
    f.W(std::to_string(proj.size()));
    for (std::size_t k = 0; k < proj.size(); ++k) {
        f.W(Liczba(kX0 + proj[k].x, 3));
        f.W(Liczba(kY0 + proj[k].y, 3));
        f.W(Liczba(proj[k].z, 3));
        f.W("F");
        f.W(std::to_string(k));
        f.W(k % kKolumn == 3 ? "oś km " + Liczba(k / kKolumn * 5.0 / 1000.0, 3) : "");
    }
    f.W("");

    auto xyz = [&](const TPunktP& p) {
        return Liczba(kX0 + p.x, 3) + ";" + Liczba(kY0 + p.y, 3) + ";" + Liczba(p.z, 3);
    };
    // Edge lines of the carriageway.
    f.W("#Linie200PROJ#P3D");
    f.W(std::to_string(2 * (os.size() - 1)));
    for (int strona : {2, 4})
        for (std::size_t k = 0; k + 1 < os.size(); ++k) {
            const int a = static_cast<int>(k * kKolumn + strona), b = a + kKolumn;
            f.W(xyz(proj[a]));
            f.W(xyz(proj[b]));
            f.W(std::to_string(a) + ";" + std::to_string(b));
            f.W("3,5");
            for (int m = 0; m < 5; ++m) f.W(m == 0 ? "T" : "F");
        }
    f.W("");

    // Surface triangles between consecutive stations: slope, shoulder,
    // carriageway, carriageway, shoulder, slope on each band.
    const char* rodzaje[kKolumn - 1] = {"0H", "0O", "0,02N", "0,02N", "0O", "0H"};
    f.W(format_tro::ZnacznikiMTP.TroPROJ);
    f.W(std::to_string(2 * (kKolumn - 1) * (os.size() - 1)));
    int nrP = 0;
    auto trojkatProj = [&](int a, int b, int c, const char* rodzaj) {
        f.W(std::to_string(nrP % 2) + ";0;" + std::to_string(nrP));
        f.W(std::to_string(a) + ";" + std::to_string(b) + ";" + std::to_string(c));
        f.W(xyz(proj[a]));
        f.W(xyz(proj[b]));
        f.W(xyz(proj[c]));
        const double xs = (proj[a].x + proj[b].x + proj[c].x) / 3, ys = (proj[a].y + proj[b].y + proj[c].y) / 3;
        f.W(Liczba(kX0 + xs, 3) + ";" + Liczba(kY0 + ys, 3));
        f.W(rodzaj);
        f.W(rodzaj[std::string_view(rodzaj).size() - 1] == 'N' ? "clGray" : "8421504");
        ++nrP;
    };
    for (std::size_t k = 0; k + 1 < os.size(); ++k)
        for (int c = 0; c < kKolumn - 1; ++c) {
            const int a = static_cast<int>(k * kKolumn + c), b = a + 1, a2 = a + kKolumn, b2 = b + kKolumn;
            trojkatProj(a, b, b2, rodzaje[c]);
            trojkatProj(a, b2, a2, rodzaje[c]);
        }
    f.W("");

    // The alignment.
    f.W(format_tro::ZnacznikTrasy);
    f.W(std::to_string(kTrasa.size()));
    for (const auto& w : kTrasa) {
        f.W(w.nazwa);
        f.W(Liczba(kX0 + w.x, 3) + ";" + Liczba(kY0 + w.y, 3));
        f.W(Liczba(w.A1, 2) + ";" + Liczba(w.A2, 2) + ";" + Liczba(w.R, 2));
        f.W("0;0;0");
        f.W("60;0;0");
        f.W("0;0;0");
        f.W("F");
        f.W("F");
        f.W("F");
    }
    f.W("");

    const std::string mtp = katalog + "/Droga.mtp";
    {
        std::ofstream o(mtp, std::ios::binary);
        o << f.t;
        if (!o) {
            std::cerr << "nie można zapisać " << mtp << "\n";
            return 1;
        }
    }
    try {
        PrzepiszPlik(mtp, katalog + "/Droga.tro");
    } catch (const BladKonwersji& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    if (argc > 2) {
        std::ofstream o(std::string(argv[2]) + "/Droga.mtp", std::ios::binary);
        o << f.t;
    }
    std::printf("TEREN: %zu punktów, %d trójkątów; PROJ: %zu punktów, %d trójkątów; stacji osi %zu\n", teren.size(),
                licznik, proj.size(), nrP, os.size());
    return 0;
}
