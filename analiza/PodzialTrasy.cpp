#include "analiza/PodzialTrasy.h"

#include <algorithm>
#include <cmath>

#include "analiza/Profil.h"
#include "route/Lancuch.h"
#include "route/OblTrasa.h"

namespace {

// Bounds that keep a mistyped option from asking for gigabytes.
constexpr double NajwiecejPrzedzialow = 1e7;
constexpr double NajkrotszyPasek = 0.05;
constexpr double NajwiecejKomorek = 4e6;

// The station at chainage s of a built route. The route lookup keeps 0.001 inside the route's
// ends; the point there is carried on along the tangent, so that the normal at the end stands
// exactly at the end.
TPrzekrojPodzialu Przekroj(const DaneUstawieniaTrasy& trasa, double s) {
    const double pocz = trasa.PikMin + 0.001, kon = trasa.PikMax - 0.001;
    const double sc = kon > pocz ? std::clamp(s, pocz, kon) : s;
    TPrzekrojPodzialu p;
    p.S = s;
    PunktNaPikiecie(trasa, sc, p.X, p.Y);
    const double kat = KatNaPikiecie(trasa, s);
    p.Tx = std::cos(kat);
    p.Ty = std::sin(kat);
    p.X += (s - sc) * p.Tx;
    p.Y += (s - sc) * p.Ty;
    return p;
}

double Skret(const TPrzekrojPodzialu& a, const TPrzekrojPodzialu& b) {
    return std::fabs(std::atan2(a.Tx * b.Ty - a.Ty * b.Tx, a.Tx * b.Tx + a.Ty * b.Ty));
}

double Iloczyn(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// Do the segments p-q and r-t meet (touching counts)?
bool OdcinkiSiePrzecinaja(double px, double py, double qx, double qy, double rx, double ry, double tx, double ty) {
    const double d1 = Iloczyn(qx - px, qy - py, rx - px, ry - py);
    const double d2 = Iloczyn(qx - px, qy - py, tx - px, ty - py);
    const double d3 = Iloczyn(tx - rx, ty - ry, px - rx, py - ry);
    const double d4 = Iloczyn(tx - rx, ty - ry, qx - rx, qy - ry);
    return ((d1 <= 0 && d2 >= 0) || (d1 >= 0 && d2 <= 0)) && ((d3 <= 0 && d4 >= 0) || (d3 >= 0 && d4 <= 0));
}

// The half-plane of the line through (x0, y0) and (x1, y1) holding the point (mx, my).
TPolplaszczyzna PolplaszczyznaZ(double x0, double y0, double x1, double y1, double mx, double my) {
    TPolplaszczyzna p{-(y1 - y0), x1 - x0, 0.0};
    p.C = -(p.A * x0 + p.B * y0);
    if (p.A * mx + p.B * my + p.C < 0) p = {-p.A, -p.B, -p.C};
    return p;
}

}  // namespace

TPodzialTrasy PodzielTrase(const DaneUstawieniaTrasy& trasa, double krok, double szerokosc) {
    if (!(krok > 0.0) || !std::isfinite(krok)) throw BladKonwersji("krok musi być liczbą dodatnią");
    if (!(szerokosc > 0.0) || !std::isfinite(szerokosc)) throw BladKonwersji("szerokość musi być liczbą dodatnią");
    if (!trasa.Obliczona || !(trasa.PikMax > trasa.PikMin)) return {};
    if ((trasa.PikMax - trasa.PikMin) / krok > NajwiecejPrzedzialow)
        throw BladKonwersji("krok jest za mały dla tej trasy");
    const std::vector<double> granice = PikietyZaokraglone(trasa.PikStart, trasa.PikMax, krok);
    std::vector<TPrzekrojPodzialu> przekroje;
    przekroje.push_back(Przekroj(trasa, granice.front()));
    std::vector<TPrzekrojPodzialu> stos;
    for (std::size_t j = 0; j + 1 < granice.size(); ++j) {
        const double a = granice[j], b = granice[j + 1];
        const long long n = std::max(1LL, static_cast<long long>(std::ceil((b - a) / NajdluzszyPasek)));
        for (long long k = 1; k <= n; ++k) {
            // Halves the last piece while the route turns more than KatPaska over it.
            stos.assign(1, Przekroj(trasa, k == n ? b : a + (b - a) * static_cast<double>(k) / static_cast<double>(n)));
            while (!stos.empty()) {
                const TPrzekrojPodzialu& poprz = przekroje.back();
                const TPrzekrojPodzialu nast = stos.back();
                if (Skret(poprz, nast) > KatPaska && nast.S - poprz.S > 2 * NajkrotszyPasek) {
                    stos.push_back(Przekroj(trasa, 0.5 * (poprz.S + nast.S)));
                } else {
                    przekroje.push_back(nast);
                    stos.pop_back();
                }
            }
        }
    }
    return PodzielLinie(std::move(przekroje), granice, szerokosc);
}

TPodzialTrasy PodzielLinie(std::vector<TPrzekrojPodzialu> przekroje, const std::vector<double>& granice,
                           double szerokosc) {
    TPodzialTrasy w;
    w.Szerokosc = szerokosc;
    w.Granice = granice;
    if (przekroje.size() < 2 || granice.size() < 2) return w;
    w.Przekroje = std::move(przekroje);
    const std::size_t n = w.Przekroje.size() - 1;
    w.PrzedzialPaska.resize(n);
    w.Krawedzie.assign(4 * n, TPolplaszczyzna{});
    w.IleKrawedzi.assign(n, 0);
    w.Os.resize(n);
    std::vector<double> pudla(4 * n);
    double xmin = HUGE_VAL, ymin = HUGE_VAL, xmax = -HUGE_VAL, ymax = -HUGE_VAL, sumaPol = 0.0;
    std::size_t przedzial = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const TPrzekrojPodzialu& p = w.Przekroje[i];
        const TPrzekrojPodzialu& q = w.Przekroje[i + 1];
        const double sm = 0.5 * (p.S + q.S);
        while (przedzial + 2 < w.Granice.size() && sm >= w.Granice[przedzial + 1]) ++przedzial;
        w.PrzedzialPaska[i] = static_cast<std::int32_t>(przedzial);
        TPolplaszczyzna* k = &w.Krawedzie[4 * i];
        int ile = 0;
        k[ile++] = {p.Tx, p.Ty, -(p.Tx * p.X + p.Ty * p.Y)};
        k[ile++] = {-q.Tx, -q.Ty, q.Tx * q.X + q.Ty * q.Y};
        const double mx = 0.5 * (p.X + q.X), my = 0.5 * (p.Y + q.Y);
        double bx0 = std::min(p.X, q.X), by0 = std::min(p.Y, q.Y), bx1 = std::max(p.X, q.X), by1 = std::max(p.Y, q.Y);
        for (const double strona : {1.0, -1.0}) {
            // The normal to the left is (-Ty, Tx).
            const double ax = p.X - strona * szerokosc * p.Ty, ay = p.Y + strona * szerokosc * p.Tx;
            const double bx = q.X - strona * szerokosc * q.Ty, by = q.Y + strona * szerokosc * q.Tx;
            bx0 = std::min({bx0, ax, bx}), by0 = std::min({by0, ay, by});
            bx1 = std::max({bx1, ax, bx}), by1 = std::max({by1, ay, by});
            // Normals that meet before W bound that side themselves.
            if (OdcinkiSiePrzecinaja(p.X, p.Y, ax, ay, q.X, q.Y, bx, by)) continue;
            k[ile++] = PolplaszczyznaZ(ax, ay, bx, by, mx, my);
        }
        w.IleKrawedzi[i] = static_cast<std::uint8_t>(ile);
        TPolplaszczyzna os{-(q.Y - p.Y), q.X - p.X, 0.0};
        os.C = -(os.A * p.X + os.B * p.Y);
        w.Os[i] = os;
        pudla[4 * i] = bx0, pudla[4 * i + 1] = by0, pudla[4 * i + 2] = bx1, pudla[4 * i + 3] = by1;
        xmin = std::min(xmin, bx0), ymin = std::min(ymin, by0), xmax = std::max(xmax, bx1), ymax = std::max(ymax, by1);
        sumaPol += (bx1 - bx0) * (by1 - by0);
    }
    // Cells about the size of a strip's box.
    double bok = std::sqrt(std::max(sumaPol, 1e-6) / static_cast<double>(n));
    const double zakres = std::max(xmax - xmin, 1e-6) * std::max(ymax - ymin, 1e-6);
    if (zakres / (bok * bok) > NajwiecejKomorek) bok = std::sqrt(zakres / NajwiecejKomorek);
    bok = std::max(bok, 1e-3);
    w.Xmin = xmin, w.Ymin = ymin, w.Komorka = bok;
    w.IleKolumn = static_cast<std::int32_t>((xmax - xmin) / bok) + 1;
    w.IleWierszy = static_cast<std::int32_t>((ymax - ymin) / bok) + 1;
    const std::size_t ileKomorek = static_cast<std::size_t>(w.IleKolumn) * static_cast<std::size_t>(w.IleWierszy);
    w.Poczatki.assign(ileKomorek + 1, 0);
    auto komorki = [&](std::size_t i, auto&& f) {
        const auto i0 = static_cast<std::int32_t>((pudla[4 * i] - xmin) / bok);
        const auto j0 = static_cast<std::int32_t>((pudla[4 * i + 1] - ymin) / bok);
        const auto i1 = std::min(w.IleKolumn - 1, static_cast<std::int32_t>((pudla[4 * i + 2] - xmin) / bok));
        const auto j1 = std::min(w.IleWierszy - 1, static_cast<std::int32_t>((pudla[4 * i + 3] - ymin) / bok));
        for (std::int32_t jj = j0; jj <= j1; ++jj)
            for (std::int32_t ii = i0; ii <= i1; ++ii)
                f(static_cast<std::size_t>(jj) * static_cast<std::size_t>(w.IleKolumn) + static_cast<std::size_t>(ii));
    };
    for (std::size_t i = 0; i < n; ++i) komorki(i, [&](std::size_t c) { ++w.Poczatki[c + 1]; });
    for (std::size_t c = 0; c < ileKomorek; ++c) w.Poczatki[c + 1] += w.Poczatki[c];
    w.PaskiKomorek.resize(w.Poczatki[ileKomorek]);
    std::vector<std::uint32_t> miejsce(w.Poczatki.begin(), w.Poczatki.end() - 1);
    for (std::size_t i = 0; i < n; ++i)
        komorki(i, [&](std::size_t c) { w.PaskiKomorek[miejsce[c]++] = static_cast<std::int32_t>(i); });
    return w;
}

void Przytnij(TWielokat& w, const TPolplaszczyzna& p) {
    if (w.Ile == 0) return;
    double f[TWielokat::Najwiecej];
    bool wszystkie = true, zadne = true;
    for (int i = 0; i < w.Ile; ++i) {
        f[i] = p.A * w.X[i] + p.B * w.Y[i] + p.C;
        if (f[i] < 0) wszystkie = false;
        if (f[i] > 0) zadne = false;
    }
    if (wszystkie) return;
    if (zadne) {
        w.Ile = 0;
        return;
    }
    TWielokat r;
    for (int i = 0; i < w.Ile; ++i) {
        const int j = i + 1 == w.Ile ? 0 : i + 1;
        if (f[i] >= 0 && r.Ile < TWielokat::Najwiecej) {
            r.X[r.Ile] = w.X[i], r.Y[r.Ile] = w.Y[i];
            ++r.Ile;
        }
        if ((f[i] < 0 && f[j] > 0) || (f[i] > 0 && f[j] < 0)) {
            const double t = f[i] / (f[i] - f[j]);
            if (r.Ile < TWielokat::Najwiecej) {
                r.X[r.Ile] = w.X[i] + t * (w.X[j] - w.X[i]);
                r.Y[r.Ile] = w.Y[i] + t * (w.Y[j] - w.Y[i]);
                ++r.Ile;
            }
        }
    }
    w = r;
    if (w.Ile < 3) w.Ile = 0;
}

void PrzytnijDoPaska(const TPodzialTrasy& podzial, std::int32_t i, TWielokat& w) {
    const TPolplaszczyzna* k = &podzial.Krawedzie[4 * static_cast<std::size_t>(i)];
    for (int e = 0; e < podzial.IleKrawedzi[static_cast<std::size_t>(i)] && w.Ile > 0; ++e) Przytnij(w, k[e]);
}

double PolePowierzchni(const TWielokat& w, double* xs, double* ys) {
    if (w.Ile < 3) {
        if (xs) *xs = w.Ile > 0 ? w.X[0] : 0.0;
        if (ys) *ys = w.Ile > 0 ? w.Y[0] : 0.0;
        return 0.0;
    }
    // Relative to the first vertex, so that coordinates far from the origin keep their digits.
    const double x0 = w.X[0], y0 = w.Y[0];
    double pole2 = 0.0, cx = 0.0, cy = 0.0;
    for (int i = 1; i + 1 < w.Ile; ++i) {
        const double ax = w.X[i] - x0, ay = w.Y[i] - y0, bx = w.X[i + 1] - x0, by = w.Y[i + 1] - y0;
        const double c = ax * by - ay * bx;
        pole2 += c;
        cx += c * (ax + bx);
        cy += c * (ay + by);
    }
    if (xs) *xs = pole2 != 0.0 ? x0 + cx / (3.0 * pole2) : x0;
    if (ys) *ys = pole2 != 0.0 ? y0 + cy / (3.0 * pole2) : y0;
    return 0.5 * std::fabs(pole2);
}

void PaskiWPudelku(const TPodzialTrasy& podzial, double x0, double y0, double x1, double y1,
                   std::vector<std::int32_t>& paski) {
    paski.clear();
    if (podzial.Pusty()) return;
    const double k = 1.0 / podzial.Komorka;
    const double fi0 = (x0 - podzial.Xmin) * k, fj0 = (y0 - podzial.Ymin) * k;
    const double fi1 = (x1 - podzial.Xmin) * k, fj1 = (y1 - podzial.Ymin) * k;
    if (!(fi1 >= 0) || !(fj1 >= 0) || !(fi0 < podzial.IleKolumn) || !(fj0 < podzial.IleWierszy)) return;
    const auto i0 = static_cast<std::int32_t>(std::max(0.0, fi0)), j0 = static_cast<std::int32_t>(std::max(0.0, fj0));
    const auto i1 = std::min(podzial.IleKolumn - 1, static_cast<std::int32_t>(fi1));
    const auto j1 = std::min(podzial.IleWierszy - 1, static_cast<std::int32_t>(fj1));
    for (std::int32_t j = j0; j <= j1; ++j)
        for (std::int32_t i = i0; i <= i1; ++i) {
            const std::size_t c = static_cast<std::size_t>(j) * static_cast<std::size_t>(podzial.IleKolumn) +
                                  static_cast<std::size_t>(i);
            for (std::uint32_t m = podzial.Poczatki[c]; m < podzial.Poczatki[c + 1]; ++m)
                paski.push_back(podzial.PaskiKomorek[m]);
        }
    if (i1 > i0 || j1 > j0) {
        std::sort(paski.begin(), paski.end());
        paski.erase(std::unique(paski.begin(), paski.end()), paski.end());
    }
}
