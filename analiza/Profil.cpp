#include "analiza/Profil.h"

#include <cmath>
#include <cstdio>

#include "route/OblTrasa.h"

namespace {

// Height of a surface at a local plan point, in the file's heights.
std::optional<double> WysokoscPliku(const TIndeksWysokosci& ix, double x, double y) {
    const std::optional<double> z = Wysokosc(ix, x, y);
    if (!z) return std::nullopt;
    return *z + ix.Dz;
}

TPunktProfilu PunktLokalny(const DaneUstawieniaTrasy& trasa, double s, double odleglosc, double x, double y,
                           const TIndeksWysokosci& proj, const TIndeksWysokosci& teren) {
    TPunktProfilu p;
    p.Pikieta = s;
    p.Odleglosc = odleglosc;
    p.X = x + trasa.Dx;
    p.Y = y + trasa.Dy;
    p.ZProj = WysokoscPliku(proj, x, y);
    p.ZTeren = WysokoscPliku(teren, x, y);
    return p;
}

}  // namespace

std::vector<double> PikietyCoKrok(double pikMax, double krok) {
    std::vector<double> w;
    if (!(krok > 0.0) || !std::isfinite(pikMax) || !std::isfinite(krok)) return w;
    for (long long k = 0;; ++k) {
        const double s = static_cast<double>(k) * krok;
        if (!(s < pikMax)) break;
        w.push_back(s);
    }
    w.push_back(pikMax);
    return w;
}

TPunktProfilu PunktProfilu(const DaneUstawieniaTrasy& trasa, double s, const TIndeksWysokosci& proj,
                           const TIndeksWysokosci& teren) {
    double x = 0.0, y = 0.0;
    PunktNaPikiecie(trasa, s, x, y);
    return PunktLokalny(trasa, s, 0.0, x, y, proj, teren);
}

std::vector<TPunktProfilu> ObliczProfil(const DaneUstawieniaTrasy& trasa, const std::vector<double>& pikiety,
                                        const TIndeksWysokosci& proj, const TIndeksWysokosci& teren) {
    std::vector<TPunktProfilu> w;
    w.reserve(pikiety.size());
    for (double s : pikiety) w.push_back(PunktProfilu(trasa, s, proj, teren));
    return w;
}

std::vector<double> OdleglosciPrzekroju(double szerokosc, double krok) {
    std::vector<double> w;
    if (!(krok > 0.0) || !(szerokosc > 0.0) || !std::isfinite(szerokosc) || !std::isfinite(krok)) return w;
    // A step that lands on the width within rounding lands on it.
    const long long m = static_cast<long long>(std::floor(szerokosc / krok + 1e-9));
    const double zapas = 1e-9 * std::max(1.0, szerokosc);
    if (szerokosc - static_cast<double>(m) * krok > zapas) w.push_back(-szerokosc);
    for (long long k = -m; k <= m; ++k) w.push_back(static_cast<double>(k) * krok);
    if (szerokosc - static_cast<double>(m) * krok > zapas) w.push_back(szerokosc);
    return w;
}

std::vector<TPunktProfilu> ObliczPrzekroj(const DaneUstawieniaTrasy& trasa, double s, double szerokosc, double krok,
                                          const TIndeksWysokosci& proj, const TIndeksWysokosci& teren) {
    double x0 = 0.0, y0 = 0.0;
    PunktNaPikiecie(trasa, s, x0, y0);
    const double kat = KatNaPikiecie(trasa, s);
    // To the right of the direction (cos, sin): (sin, -cos).
    const double px = std::sin(kat), py = -std::cos(kat);
    std::vector<TPunktProfilu> w;
    for (double o : OdleglosciPrzekroju(szerokosc, krok))
        w.push_back(PunktLokalny(trasa, s, o, x0 + o * px, y0 + o * py, proj, teren));
    return w;
}

std::optional<double> PochylenieProjektu(const DaneUstawieniaTrasy& trasa, double s, const TIndeksWysokosci& proj) {
    const double pocz = trasa.PikMin, kon = trasa.PikMax;
    const double s1 = std::max(s - PolowaCieciwyPochylenia, static_cast<double>(pocz));
    const double s2 = std::min(s + PolowaCieciwyPochylenia, static_cast<double>(kon));
    if (!(s2 > s1)) return std::nullopt;
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    PunktNaPikiecie(trasa, s1, x1, y1);
    PunktNaPikiecie(trasa, s2, x2, y2);
    const std::optional<double> z1 = Wysokosc(proj, x1, y1), z2 = Wysokosc(proj, x2, y2);
    if (!z1 || !z2) return std::nullopt;
    return (*z2 - *z1) / (s2 - s1) * 100.0;
}

std::string TekstKilometrazu(double s, char separator) {
    if (!std::isfinite(s) || std::fabs(s) > 1e15) return "km ?";
    // Rounded to centimetres first, so that 999.999 reads km 1+000,00.
    const long long cm = std::llround(std::fabs(s) * 100.0);
    char b[64];
    std::snprintf(b, sizeof b, "km %s%lld+%03lld%c%02lld", (s < 0 && cm > 0) ? "-" : "", cm / 100000,
                  (cm % 100000) / 100, separator, cm % 100);
    return b;
}
