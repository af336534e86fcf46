#include "generators/GenerowanieBryl.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "analiza/Wysokosci.h"
#include "render/RysujPerspektywa.h"
#include "route/OblKlotka.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A value rounded to 32-bit floating point. The round trip goes through a
// volatile: GCC 12 at -O2 drops a plain double -> float -> double round trip
// when it vectorises two such computations side by side.
double DoPojedynczej(double v) {
    volatile float f = static_cast<float>(v);
    return f;
}

void WyczyscTablice() {
    TrojkatyPROJ.clear();
    TrojkatyTEREN.clear();
    Czworokaty.clear();
    WyczyscSlupki();
}

// The meshes' triangles go with their memory (a file may have brought millions).
void WyczyscTrojkatySiatek() {
    PorzucBudoweIndeksow(ProjektOkna.Indeksy);  // a build in a second thread reads them
    std::vector<TTrojkat>().swap(TEREN.Trojkaty);
    std::vector<TTrojkat>().swap(PROJ.Trojkaty);
    std::vector<TPunkt3D>().swap(TEREN.Wierzcholki);
    std::vector<TPunkt3D>().swap(PROJ.Wierzcholki);
    WyroznionePROJ.clear();
    KoloryPROJ.clear();
    WyczyscIndeksyWysokosci(ProjektOkna);
}

// A solid of revolution about the local Z axis: m = 4n angular steps, n bands
// from radius r at height 0 to radius r - r/n.. at height h. For the cylinder
// every band keeps the radius r; for the cone the last ring is the apex.
void BrylaObrotowa(bool stozek, char os, int n, double x0, double y0, double z0, double r, double h, char tryb,
                   TKolor kolor) {
    if (n < 1) return;
    const int m = 4 * n;
    const double krok = 2.0 * kPi / m;
    const TPunkt3D poz{x0, y0, z0};
    auto punkt = [&](double kat, double promien, double z) {
        const TPunkt2D q = PunktNaOkregu(kat, promien, 0.0, 0.0);
        return ZamienOsie({q.X, q.Y, z}, os) + poz;
    };
    auto promien = [&](int j) { return stozek ? r - j * r / n : r; };
    auto wysokosc = [&](int j) { return j * h / n; };

    for (int i = 1; i <= m; ++i) {
        const double a0 = (i - 1) * krok, a1 = i * krok;
        for (int j = 0; j < n; ++j) {
            const TPunkt3D e1 = punkt(a0, promien(j), wysokosc(j));
            const TPunkt3D e2 = punkt(a0, promien(j + 1), wysokosc(j + 1));
            const TPunkt3D e3 = punkt(a1, promien(j), wysokosc(j));
            const TPunkt3D e4 = punkt(a1, promien(j + 1), wysokosc(j + 1));
            if (tryb == 'C') {
                DodajCzworokat(e3, e1, e2, e4, kolor, kolor);
            } else if (tryb == 'T') {
                DodajTrojkat(e3, e1, e2, kolor, kolor);
                DodajTrojkat(e2, e4, e3, kolor, kolor);
            }
        }
    }

    const TPunkt3D dol = ZamienOsie({0.0, 0.0, 0.0}, os) + poz;
    const TPunkt3D gora = ZamienOsie({0.0, 0.0, h}, os) + poz;
    for (int i = 1; i <= m; ++i) {
        const double a0 = (i - 1) * krok, a1 = i * krok;
        const TPunkt3D f1 = punkt(a0, r, 0.0), f2 = punkt(a1, r, 0.0);
        if (tryb == 'T') DodajTrojkat(f2, dol, f1, kolor, kolor);
        if (stozek) continue;
        const TPunkt3D g1 = punkt(a0, r, h), g2 = punkt(a1, r, h);
        if (tryb == 'T') {
            DodajTrojkat(g1, gora, g2, kolor, kolor);
        } else if (tryb == 'C') {
            DodajCzworokat(g1, gora, g2, g2, kolor, kolor);
            DodajCzworokat(g2, gora, g1, g1, kolor, kolor);
        }
    }
}

// The sweep of a half-cylinder wall: the angles b_j = kat1 - j * step.
template <typename F>
void Polwalec(double kat1, double kat2, F sciana) {
    const int k = KrokiPolwalca(kat1, kat2);
    if (k < 1) return;
    const double krok = (kat2 - kat1) / k;
    for (int j = 1; j <= k; ++j) sciana(kat1 - (j - 1) * krok, kat1 - j * krok);
}

constexpr TKolor kObrysPolwalca = 0x808080;
constexpr TKolor kKolorPolwalca = 0x969696;

// One strip of the sample road from its inner edge (e0, e1); returns the outer edge.
// A crossfall above 100 stands for a step whose rise is the value minus 1000.
void PasDrogi(TPunkt3D& e0, TPunkt3D& e1, double szer, double spadek, TKolor kolor, bool lewa, double alfa) {
    auto zewnetrzny = [&](const TPunkt3D& e) -> TPunkt3D {
        if (spadek > 100.0) return {e.X, e.Y, e.Z + (spadek - 1000.0)};
        const TPunkt2D q = PunktNaOkregu(lewa ? alfa : kPi / 2, szer, e.X, e.Y);
        return {q.X, q.Y, e.Z + spadek * szer};
    };
    const TPunkt3D f0 = zewnetrzny(e0), f1 = zewnetrzny(e1);
    if (lewa)
        DodajCzworokat(f0, f1, e1, e0, kolor, kolor);
    else
        DodajCzworokat(e0, e1, f1, f0, kolor, kolor);
    e0 = f0;
    e1 = f1;
}

double Stopnie(std::int32_t st) { return st * kPi / 180.0; }

void PosortujICieniuj() {
    SortujCzworokaty();
    KorektaYmin();
    PrzeliczRzut();
}

}  // namespace

TPunkt2D PunktNaOkregu(double kat, double r, double cx, double cy) {
    const double k = DoPojedynczej(kat);
    const double rf = DoPojedynczej(r);
    const double xf = DoPojedynczej(cx);
    const double yf = DoPojedynczej(cy);
    const double a = DoPojedynczej(2.0 * kPi - k);
    return {DoPojedynczej(xf + rf * std::sin(a)), DoPojedynczej(yf + rf * std::cos(a))};
}

TPunkt3D PunktNaKuli(double szer, double dl, double r) {
    return {r * std::cos(szer) * std::cos(dl), r * std::cos(szer) * std::sin(dl), r * std::sin(szer)};
}

TPunkt3D ZamienOsie(const TPunkt3D& p, char os) {
    if (os == 'Y') return {p.Y, p.Z, p.X};
    if (os == 'X') return {p.Z, p.X, p.Y};
    return p;
}

void DodajTrojkat(const TPunkt3D& p1, const TPunkt3D& p2, const TPunkt3D& p3, TKolor kolorObrysu, TKolor kolor) {
    const TPunkt3D n = Iloczyn(p1 - p2, p3 - p2);
    if (!(std::fabs(n.X) + std::fabs(n.Y) + std::fabs(n.Z) > 0.1)) return;
    TTrojkatRys r;
    r.P1 = p1;
    r.P2 = p2;
    r.P3 = p3;
    r.KolorObrysu = kolorObrysu;
    r.Kolor = kolor;
    TrojkatyPROJ.push_back(r);
}

void DodajCzworokat(const TPunkt3D& p1, const TPunkt3D& p2, const TPunkt3D& p3, const TPunkt3D& p4, TKolor kolorObrysu,
                    TKolor kolor) {
    TCzworokatRys r;
    r.P1 = p1;
    r.P2 = p2;
    r.P3 = p3;
    r.P4 = p4;
    r.KolorObrysu = kolorObrysu;
    r.Kolor = kolor;
    Czworokaty.push_back(r);
}

void PowierzchniaFalista(int n, char tryb, double x0, double y0, double z0, double Lx, double Ly, double A,
                         TKolor kolor) {
    if (n < 1) return;
    const double dx = Lx / n, dy = Ly / n;
    auto punkt = [&](int i, int j) -> TPunkt3D {
        const double x = x0 + i * dx, y = y0 + j * dy;
        const double z = z0 + (A / 2) * std::sin(kPi * (y - y0) / Ly) + (A / 2) * std::sin(kPi * (x - x0) / Lx);
        return {x, y, z};
    };
    for (int i = 1; i <= n; ++i) {
        for (int j = n; j >= 1; --j) {
            const TPunkt3D a = punkt(i - 1, j - 1), b = punkt(i - 1, j), c = punkt(i, j), d = punkt(i, j - 1);
            if (tryb == 'C') {
                DodajCzworokat(a, d, c, b, kolor, kolor);
            } else if (tryb == 'T') {
                DodajTrojkat(c, d, a, kolor, kolor);
                DodajTrojkat(b, c, a, kolor, kolor);
            }
        }
    }
}

void Walec(char os, int n, double x0, double y0, double z0, double r, double h, char tryb, TKolor kolor) {
    BrylaObrotowa(false, os, n, x0, y0, z0, r, h, tryb, kolor);
}

void Stozek(char os, int n, double x0, double y0, double z0, double r, double h, char tryb, TKolor kolor) {
    BrylaObrotowa(true, os, n, x0, y0, z0, r, h, tryb, kolor);
}

void Czworoscian(TKolor kolor, double x0, double y0, double z0, double r, double kat) {
    const TPunkt2D b1 = PunktNaOkregu(kat, r, 0.0, 0.0);
    const TPunkt2D b2 = PunktNaOkregu(kat + 2.0943961495907466, r, 0.0, 0.0);
    const TPunkt2D b3 = PunktNaOkregu(kat + 4.188792299181493, r, 0.0, 0.0);
    const double s = std::hypot(b2.X - b1.X, b2.Y - b1.Y);
    const double t = std::sqrt(std::max(0.0, s * s - r * r));
    const TPunkt3D q1{x0 + b1.X, y0 + b1.Y, z0};
    const TPunkt3D q2{x0 + b2.X, y0 + b2.Y, z0};
    const TPunkt3D q3{x0 + b3.X, y0 + b3.Y, z0};
    const TPunkt3D p{x0, y0, z0 + t};
    DodajTrojkat(q1, q2, q3, kolor, kolor);
    DodajTrojkat(p, q2, q1, kolor, kolor);
    DodajTrojkat(p, q3, q2, kolor, kolor);
    DodajTrojkat(p, q1, q3, kolor, kolor);
}

void Szescian(TKolor kolor, double x0, double y0, double z0, double a, double kat) {
    TPunkt2D k[4] = {{-a / 2, -a / 2}, {-a / 2, a / 2}, {a / 2, a / 2}, {a / 2, -a / 2}};
    if (kat != 0.0) {
        const double c = std::cos(kat), s = std::sin(kat);
        for (auto& p : k) p = {p.X * c - p.Y * s, p.X * s + p.Y * c};
    }
    TPunkt3D d[5], u[5];
    for (int i = 0; i < 4; ++i) {
        d[i + 1] = {x0 + k[i].X, y0 + k[i].Y, z0};
        u[i + 1] = {x0 + k[i].X, y0 + k[i].Y, z0 + a};
    }
    DodajTrojkat(d[3], d[2], d[1], kolor, kolor);
    DodajTrojkat(d[1], d[4], d[3], kolor, kolor);
    DodajTrojkat(u[1], d[1], d[2], kolor, kolor);
    DodajTrojkat(d[2], u[2], u[1], kolor, kolor);
    DodajTrojkat(u[2], d[2], d[3], kolor, kolor);
    DodajTrojkat(d[3], u[3], u[2], kolor, kolor);
    DodajTrojkat(d[3], d[4], u[4], kolor, kolor);
    DodajTrojkat(u[4], u[3], d[3], kolor, kolor);
    DodajTrojkat(d[4], d[1], u[1], kolor, kolor);
    DodajTrojkat(u[1], u[4], d[4], kolor, kolor);
    DodajTrojkat(u[1], u[2], u[3], kolor, kolor);
    DodajTrojkat(u[3], u[4], u[1], kolor, kolor);
}

void Kula(int n, char tryb, double x0, double y0, double z0, double r, TKolor kolor) {
    if (tryb != 'T' || n < 1) return;
    const double krok = 2.0 * kPi / n;
    const TPunkt3D poz{x0, y0, z0};
    auto S = [&](double szer, double dl) { return poz + PunktNaKuli(szer, dl, r); };
    for (int i = 0;; ++i) {
        const double szer = -kPi / 2 + i * krok;
        if (!(szer <= kPi / 2 - krok / 2)) break;
        for (int j = 0;; ++j) {
            const double dl = j * krok;
            if (!(dl <= 2.0 * kPi - krok / 2)) break;
            const TPunkt3D Bo = S(szer, dl), To = S(szer + krok, dl);
            const TPunkt3D Bn = S(szer, dl + krok), Tn = S(szer + krok, dl + krok);
            DodajTrojkat(Bn, Bo, To, kolor, kolor);
            DodajTrojkat(To, Tn, Bn, kolor, kolor);
        }
    }
}

void KulaPierscieniowa(int n, char tryb, double x0, double y0, double z0, double r, TKolor kolor) {
    if (n < 1) return;
    const int m = 4 * n;
    const double dt = 2.0 * kPi / m;
    // The shrink factor of every ring (ring 0 is the rim itself).
    std::vector<double> c(n + 1);
    for (int j = 0; j <= n; ++j) c[j] = r != 0.0 ? PunktNaOkregu(j * dt, r, 0.0, 0.0).Y / r : 0.0;
    auto punkt = [&](double x, double y, bool dolna) -> TPunkt3D {
        const double rad = r * r - x * x - y * y;
        const double z = rad > 0.0 ? std::sqrt(rad) : 0.0;
        return {x0 + x, y0 + y, z0 + (dolna ? -z : z)};
    };
    for (int polowa = 0; polowa < 2; ++polowa) {
        const bool dolna = polowa == 1;
        for (int i = 1; i <= m; ++i) {
            TPunkt2D u = PunktNaOkregu((i - 1) * dt, r, 0.0, 0.0);
            TPunkt2D v = PunktNaOkregu(i * dt, r, 0.0, 0.0);
            for (int j = 0; j <= n; ++j) {
                const TPunkt2D un{u.X * c[j], u.Y * c[j]}, vn{v.X * c[j], v.Y * c[j]};
                const TPunkt3D A = punkt(u.X, u.Y, dolna), C = punkt(v.X, v.Y, dolna);
                const TPunkt3D B = punkt(un.X, un.Y, dolna), D = punkt(vn.X, vn.Y, dolna);
                if (!dolna) {
                    if (tryb == 'C') {
                        DodajCzworokat(C, A, B, D, kolor, kolor);
                    } else if (tryb == 'T') {
                        DodajTrojkat(C, A, B, kolor, kolor);
                        DodajTrojkat(B, D, C, kolor, kolor);
                    }
                } else {
                    if (tryb == 'C') {
                        DodajCzworokat(A, C, D, B, kolor, kolor);
                    } else if (tryb == 'T') {
                        DodajTrojkat(B, A, C, kolor, kolor);
                        DodajTrojkat(C, D, B, kolor, kolor);
                    }
                }
                u = un;
                v = vn;
            }
        }
    }
}

// Steps of a wall over the span kat2 - kat1: the span over pi/18 truncated
// towards zero, plus one. The quotient is truncated exactly against the true
// pi/18 (not its double approximation, which makes a span of pi come out as
// exactly 18 steps of 10 degrees: 18 quadrilaterals rather than 19).
int KrokiPolwalca(double kat1, double kat2) {
    constexpr double kHi = 0.17453292519943295;    // pi/18 rounded to double
    constexpr double kLo = 9.887546174777397e-18;  // pi/18 - kHi
    double rozp = kat2 - kat1;
    if (!std::isfinite(rozp)) return 0;
    const bool ujemna = rozp < 0.0;
    if (ujemna) rozp = -rozp;
    double t = std::trunc(rozp / kHi);
    if (t > 1e5) t = 1e5;  // far beyond any wall; keeps the loops finite
    for (int proba = 0; proba < 2; ++proba) {
        const double reszta = std::fma(-t, kHi, rozp) - t * kLo;
        if (reszta < 0.0)
            t -= 1.0;
        else if ((reszta - kHi) - kLo >= 0.0 && t < 1e5)
            t += 1.0;
    }
    const int calosc = static_cast<int>(t);
    return (ujemna ? -calosc : calosc) + 1;
}

void PolwalecPionowy(double cx, double cy, double r, double kat1, double kat2, double z1, double z2) {
    Polwalec(kat1, kat2, [&](double b0, double b1) {
        const TPunkt2D e0 = PunktNaOkregu(b0, r, cx, cy), e1 = PunktNaOkregu(b1, r, cx, cy);
        DodajCzworokat({e0.X, e0.Y, z1}, {e1.X, e1.Y, z1}, {e1.X, e1.Y, z2}, {e0.X, e0.Y, z2}, kObrysPolwalca,
                       kKolorPolwalca);
    });
}

void PolwalecPoziomy(double cy, double cz, double r, double kat1, double kat2, double x1, double x2) {
    Polwalec(kat1, kat2, [&](double b0, double b1) {
        const TPunkt2D e0 = PunktNaOkregu(b0, r, cy, cz), e1 = PunktNaOkregu(b1, r, cy, cz);
        DodajCzworokat({x1, e0.X, e0.Y}, {x1, e1.X, e1.Y}, {x2, e1.X, e1.Y}, {x2, e0.X, e0.Y}, kObrysPolwalca,
                       kKolorPolwalca);
    });
}

TPunkt3D OsDrogi(double s) { return {0.1 * s + 400.0, 400.0 - s, 5.0 * std::sin(0.06283185307179587 * s) + 50.0}; }

void Droga1() {
    struct Pas {
        double szer;
        double spadek;  // above 100: a step of rise spadek - 1000
        TKolor kolor;
    };
    constexpr double kBaza = 50.0;
    const Pas pasy[5] = {{3.0 * kBaza, -0.02, 0x808080},
                         {0.0, 1000.0 + 0.1 * kBaza, 0x808080},
                         {2.0 * kBaza, -0.02, 0xA0A0A0},
                         {1.0 * kBaza, -0.08, 0xA0A0B4},
                         {1.5 * kBaza, -0.66, 0x008000}};
    for (int i = 0; i <= 50; ++i) {
        const double s0 = 10.0 * i, s1 = s0 + 10.0;
        const TPunkt3D o0 = OsDrogi(s0), o1 = OsDrogi(s1);
        const double alfa = KierunekOdcinka(o0.X, o0.Y, o1.X, o1.Y);
        for (int strona = 0; strona < 2; ++strona) {
            const bool lewa = strona == 0;
            TPunkt3D e0 = o0, e1 = o1;
            for (const Pas& p : pasy) PasDrogi(e0, e1, p.szer, p.spadek, p.kolor, lewa, alfa);
        }
    }
}

// ---- Random numbers ----

std::int32_t Losuj(std::int32_t k) {
    ZiarnoLosowania = ZiarnoLosowania * 134775813u + 1u;
    if (k <= 0) return 0;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(k) * ZiarnoLosowania) >> 32);
}

// ---- Test screens ----

void EkranTestowy() {
    WyczyscTrojkatySiatek();
    WyczyscTablice();
    PowierzchniaFalista(20, 'T', 50, 50, 0, 120, 120, 50, 0xC8A0A0);
    KulaPierscieniowa(10, 'T', 300, 100, 35, 70, 0xF0A0A0);
    Stozek('Z', 7, 450, 100, 0, 70, 100, 'T', 0xD2D2AA);
    Walec('Z', 7, 600, 100, 0, 50, 100, 'T', 0xA0A0DC);
    Czworoscian(0xF0A0A0, 750, 100, 0, 70, Stopnie(Losuj(45)));
    Szescian(0xA0A0F0, 900, 100, 0, 70, Stopnie(Losuj(45)));
    PosortujICieniuj();
}

void EkranTestowyLosowy() {
    WyczyscTrojkatySiatek();
    WyczyscTablice();
    // The draws are made one statement at a time, in the order of the objects
    // and of their sizes.
    const int nFali = Losuj(15) + 4;
    PowierzchniaFalista(nFali, 'T', 50, 50, 0, 120, 120, 50, 0xC8A0A0);

    const int rKuli = Losuj(45) + 35;
    const int nKuli = Losuj(10) + 4;
    KulaPierscieniowa(nKuli, 'T', 300, 100, rKuli / 2.0, rKuli, 0xF0A0A0);

    const int rStozka = Losuj(50) + 20;
    const int hStozka = Losuj(50) + 70;
    const int nStozka = Losuj(4) + 4;
    Stozek('Z', nStozka, 450, 100, 0, rStozka, hStozka, 'T', 0xD2D2AA);

    const int rWalca = Losuj(50) + 20;
    const int hWalca = Losuj(50) + 50;
    const int nWalca = Losuj(4) + 4;
    Walec('Z', nWalca, 600, 100, 0, rWalca, hWalca, 'T', 0xA0A0DC);

    const int rCzworoscianu = Losuj(45) + 35;
    const int katCzworoscianu = Losuj(45);
    Czworoscian(0xF0A0A0, 750, 100, 0, rCzworoscianu, Stopnie(katCzworoscianu));

    const int aSzescianu = Losuj(45) + 35;
    const int katSzescianu = Losuj(45);
    Szescian(0xA0A0F0, 900, 100, 0, aSzescianu, Stopnie(katSzescianu));

    PosortujICieniuj();
}

// ---- Scenes of the options dialog's test buttons ----

void KuleTestowe(int W) {
    Czworokaty.clear();
    WyczyscSlupki();
    TrojkatyPROJ.clear();
    const double s = W * 0.5;
    Kula(40, 'T', s + 200, 300, 100, 100, 0xC88C8C);
    Kula(40, 'T', s, 200, 300, 100, 0xC80A8C);
    Kula(40, 'T', s - 200, 200, 100, 100, 0xC88C00);
    SortujCzworokaty();
    KorektaYmin();
}

void WalceTestowe() {
    Czworokaty.clear();
    WyczyscSlupki();
    TrojkatyPROJ.clear();
    PolwalecPionowy(550.0, 100.0, 50.0, 1.5 * kPi, 2.5 * kPi, 10.0, 100.0);
    PolwalecPoziomy(100.0, 50.0, 50.0, kPi, 2.0 * kPi, 620.0, 670.0);
}

void DrogaTestowa() {
    Czworokaty.clear();
    WyczyscSlupki();
    TrojkatyPROJ.clear();
    Droga1();
}

void TrojkatTestowy() {
    WyczyscTrojkatySiatek();
    WyczyscTablice();
    DodajTrojkat({400, 0, 50}, {500, 0, 50}, {450, 100, 50}, 0x008000, 0x808080);
}
