#include "route/Niweleta.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/Funkcje.h"

namespace {

// Overlap of two curves, or of a curve and a neighbouring breakpoint, that is
// producers' rounding rather than a wrong profile.
constexpr double kZakladka = 0.001;

std::string Liczba(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.3f", v);
    return b;
}

std::string Opis(const TPVI& p, std::size_t i, const char* punkt = "punkt") {
    std::string s = std::string(punkt) + " załamania niwelety nr " + std::to_string(i + 1) + " (pikieta " +
                    Liczba(p.Pik);
    if (p.Wiersz > 0) s += ", wiersz " + std::to_string(p.Wiersz);
    return s + ")";
}

// Height and grade on the curve of breakpoint p at s (s within the curve).
void NaLuku(const TPVI& p, double s, double& z, double& g) {
    switch (p.Luk) {
        case TLukPionowy::Parabola: {
            const double L = p.Kon - p.Pocz, u = s - p.Pocz;
            z = p.Z + p.G1 * (s - p.Pik) + (p.G2 - p.G1) / (2 * L) * u * u;
            g = p.G1 + (p.G2 - p.G1) * u / L;
            return;
        }
        case TLukPionowy::ParabolaNiesymetryczna: {
            const double l1 = p.DlugoscWej, l2 = p.DlugoscWyj;
            if (s <= p.Pik) {
                const double u = s - p.Pocz;
                z = p.Z - p.G1 * l1 + p.G1 * u + (p.Gm - p.G1) / (2 * l1) * u * u;
                g = p.G1 + (p.Gm - p.G1) * u / l1;
            } else {
                const double u = s - p.Pik;
                z = p.Z + (p.Gm - p.G1) * l1 / 2 + p.Gm * u + (p.G2 - p.Gm) / (2 * l2) * u * u;
                g = p.Gm + (p.G2 - p.Gm) * u / l2;
            }
            return;
        }
        case TLukPionowy::Kolowy: {
            // Sag: the centre above, the line below it; crest the other way.
            const double znak = p.G2 > p.G1 ? -1.0 : 1.0;
            const double dx = std::clamp(s - p.Sc, -p.R, p.R);
            const double h = std::sqrt(std::max(p.R * p.R - dx * dx, 0.0));
            z = p.Zc + znak * h;
            g = h > 0 ? -znak * dx / h : 0.0;
            return;
        }
        case TLukPionowy::Brak: break;
    }
    z = p.Z + p.G2 * (s - p.Pik);
    g = p.G2;
}

// Height and grade at s within [first, last]: on the curve that covers s, else on the grade.
bool Oblicz(const TNiweleta& n, double s, double& z, double& g) {
    const auto& p = n.Punkty;
    if (p.size() < 2 || !(s >= p.front().Pik && s <= p.back().Pik)) return false;
    // The breakpoint at or before s (the last but one at the end: the grade before it).
    std::size_t j = static_cast<std::size_t>(
        std::upper_bound(p.begin(), p.end(), s, [](double v, const TPVI& q) { return v < q.Pik; }) - p.begin());
    j = std::min(j == 0 ? 0 : j - 1, p.size() - 2);
    if (p[j].Luk != TLukPionowy::Brak && s <= p[j].Kon) return NaLuku(p[j], s, z, g), true;
    if (p[j + 1].Luk != TLukPionowy::Brak && s >= p[j + 1].Pocz) return NaLuku(p[j + 1], s, z, g), true;
    g = (p[j + 1].Z - p[j].Z) / (p[j + 1].Pik - p[j].Pik);
    z = p[j].Z + g * (s - p[j].Pik);
    return true;
}

}  // namespace

TNiweleta ZbudujNiwelete(std::string nazwa, std::vector<TPVI> punkty) {
    TNiweleta n;
    n.Nazwa = std::move(nazwa);
    const std::string przed = "Niweleta „" + n.Nazwa + "”: ";
    if (punkty.size() < 2) throw BladKonwersji(przed + "ma mniej niż dwa punkty załamania (PVI).");
    for (std::size_t i = 0; i < punkty.size(); ++i) {
        const TPVI& p = punkty[i];
        if (!std::isfinite(p.Pik) || !std::isfinite(p.Z) || std::fabs(p.Pik) > 1e12 || std::fabs(p.Z) > 1e12)
            throw BladKonwersji(przed + Opis(p, i) + " ma niepoprawną pikietę albo wysokość.");
        if (i > 0 && !(p.Pik > punkty[i - 1].Pik))
            throw BladKonwersji(przed + Opis(p, i) + " nie leży za poprzednim (pikieta " + Liczba(punkty[i - 1].Pik) +
                                "): punkty muszą iść w kolejności pikiet.");
    }
    for (std::size_t i = 0; i < punkty.size(); ++i) {
        TPVI& p = punkty[i];
        p.Pocz = p.Kon = p.Pik;
        if (p.Luk == TLukPionowy::Brak) continue;
        if (i == 0 || i + 1 == punkty.size())
            throw BladKonwersji(przed + Opis(p, i) + " ma łuk pionowy, a jest pierwszym albo ostatnim punktem.");
        const TPVI& a = punkty[i - 1];
        const TPVI& b = punkty[i + 1];
        p.G1 = (p.Z - a.Z) / (p.Pik - a.Pik);
        p.G2 = (b.Z - p.Z) / (b.Pik - p.Pik);
        auto dodatnia = [&](double v) {
            if (!(v > 0) || !std::isfinite(v) || v > 1e12)
                throw BladKonwersji(przed + Opis(p, i) + " ma łuk pionowy bez dodatniej długości albo promienia.");
        };
        switch (p.Luk) {
            case TLukPionowy::Parabola:
                dodatnia(p.Dlugosc);
                p.Pocz = p.Pik - p.Dlugosc / 2;
                p.Kon = p.Pik + p.Dlugosc / 2;
                break;
            case TLukPionowy::ParabolaNiesymetryczna:
                dodatnia(p.DlugoscWej);
                dodatnia(p.DlugoscWyj);
                p.Pocz = p.Pik - p.DlugoscWej;
                p.Kon = p.Pik + p.DlugoscWyj;
                p.Gm = (p.G1 * p.DlugoscWej + p.G2 * p.DlugoscWyj) / (p.DlugoscWej + p.DlugoscWyj);
                break;
            case TLukPionowy::Kolowy: {
                dodatnia(p.R);
                // The grades' angles; the tangent points at R tan(|a2 - a1| / 2) from the breakpoint along them.
                const double a1 = std::atan(p.G1), a2 = std::atan(p.G2);
                const double T = p.R * std::tan(std::fabs(a2 - a1) / 2);
                const double sp = p.Pik - T * std::cos(a1), zp = p.Z - T * std::sin(a1);
                // The centre at R from the first tangent point, square to the grade on the concave side.
                const double znak = a2 > a1 ? 1.0 : -1.0;
                p.Sc = sp - znak * p.R * std::sin(a1);
                p.Zc = zp + znak * p.R * std::cos(a1);
                p.Pocz = sp;
                p.Kon = p.Pik + T * std::cos(a2);
                break;
            }
            case TLukPionowy::Brak: break;
        }
    }
    for (std::size_t i = 0; i < punkty.size(); ++i) {
        const TPVI& p = punkty[i];
        if (p.Luk == TLukPionowy::Brak) continue;
        const TPVI& a = punkty[i - 1];
        const TPVI& b = punkty[i + 1];
        if (p.Pocz < a.Kon - kZakladka || p.Kon > b.Pocz + kZakladka) {
            const bool wstecz = p.Pocz < a.Kon - kZakladka;
            const TPVI& q = wstecz ? a : b;
            const double ile = wstecz ? a.Kon - p.Pocz : p.Kon - b.Pocz;
            throw BladKonwersji(
                przed + "łuk pionowy w " + Opis(p, i, "punkcie") + " zachodzi na " +
                (q.Luk == TLukPionowy::Brak ? "sąsiedni punkt załamania" : "łuk pionowy w sąsiednim punkcie") +
                " (pikieta " + Liczba(q.Pik) + ") o " + Liczba(ile) + " m; dopuszczalne jest 0.001 m.");
        }
    }
    n.Punkty = std::move(punkty);
    return n;
}

std::optional<double> WysokoscNiwelety(const TNiweleta& n, double s) {
    double z = 0, g = 0;
    if (!Oblicz(n, s, z, g)) return std::nullopt;
    return z;
}

std::optional<double> PochylenieNiwelety(const TNiweleta& n, double s) {
    double z = 0, g = 0;
    if (!Oblicz(n, s, z, g)) return std::nullopt;
    return g;
}

double PromienLukuPionowego(const TPVI& p) {
    if (p.Luk == TLukPionowy::Kolowy) return p.R;
    if (p.Luk == TLukPionowy::Brak || p.G2 == p.G1) return 0.0;
    return (p.Kon - p.Pocz) / std::fabs(p.G2 - p.G1);
}
