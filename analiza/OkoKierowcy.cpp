#include "analiza/OkoKierowcy.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "analiza/Wysokosci.h"
#include "route/OblTrasa.h"

namespace {

constexpr double DwaPi = 2.0 * std::numbers::pi;

// The plan point at chainage s moved square to the route (positive: to the
// right of the chainage direction).
void PunktObok(const DaneUstawieniaTrasy& trasa, double s, double odsuniecie, double& x, double& y) {
    PunktNaPikiecie(trasa, s, x, y);
    const double kat = KatNaPikiecie(trasa, s);
    x += odsuniecie * std::sin(kat);
    y -= odsuniecie * std::cos(kat);
}

}  // namespace

TPolozenieOka PunktNadPowierzchnia(const DaneUstawieniaTrasy& trasa, double s, double przesuniecie, double wysokosc,
                                   bool wPrzod, const TIndeksyWysokosci& ix) {
    TPolozenieOka w;
    if (!trasa.Obliczona || !std::isfinite(s) || !std::isfinite(przesuniecie) || !std::isfinite(wysokosc)) return w;
    const double pocz = trasa.PikMin, kon = trasa.PikMax;
    if (!(pocz <= kon)) return w;
    s = std::clamp(s, pocz, kon);
    // To the right of travel is to the left of the chainage direction when driving back.
    const double odsuniecie = wPrzod ? przesuniecie : -przesuniecie;
    const std::optional<TPunkt3D> punkt = PunktNadDroga(trasa, s, przesuniecie, wysokosc, wPrzod, *ix.PROJ, *ix.TEREN);
    if (!punkt) return w;
    w.Jest = true;
    w.Oko = *punkt;
    double kat = KatNaPikiecie(trasa, s);
    if (!wPrzod) kat += std::numbers::pi;
    kat = std::fmod(kat, DwaPi);
    if (kat < 0) kat += DwaPi;
    if (kat >= DwaPi) kat = 0.0;
    w.Kierunek = kat;

    // The grade: the height difference along the eye's own line over the plan
    // distance between the chord's ends (on an arc that line is shorter or
    // longer than the route's), kept inside the route at its ends.
    const double s1 = std::max(s - PolowaCieciwyOka, pocz), s2 = std::min(s + PolowaCieciwyOka, kon);
    if (s2 > s1) {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        PunktObok(trasa, s1, odsuniecie, x1, y1);
        PunktObok(trasa, s2, odsuniecie, x2, y2);
        const std::optional<double> z1 = WysokoscDrogi(x1, y1, *ix.PROJ, *ix.TEREN),
                                    z2 = WysokoscDrogi(x2, y2, *ix.PROJ, *ix.TEREN);
        const double d = std::hypot(x2 - x1, y2 - y1);
        if (z1 && z2 && d > 1e-9) w.Pochylenie = (*z2 - *z1) / d * (wPrzod ? 1.0 : -1.0);
    }
    // The cross-fall: the heights on the chord square to the route through the point, left to right of travel.
    {
        const double h = PolowaCieciwyPrzechylenia, znak = wPrzod ? 1.0 : -1.0;
        double xl = 0, yl = 0, xp = 0, yp = 0;
        PunktObok(trasa, s, odsuniecie - znak * h, xl, yl);
        PunktObok(trasa, s, odsuniecie + znak * h, xp, yp);
        const std::optional<double> zl = WysokoscDrogi(xl, yl, *ix.PROJ, *ix.TEREN),
                                    zp = WysokoscDrogi(xp, yp, *ix.PROJ, *ix.TEREN);
        if (zl && zp) w.Przechylenie = (*zp - *zl) / (2 * h);
    }
    return w;
}

TPolozenieOka PolozenieOka(const DaneUstawieniaTrasy& trasa, double s, const TUstawieniaOka& u,
                           const TIndeksyWysokosci& ix) {
    return PunktNadPowierzchnia(trasa, s, u.Przesuniecie, u.Wysokosc, u.WPrzod, ix);
}

std::optional<TPunkt3D> PunktNadDroga(const DaneUstawieniaTrasy& trasa, double s, double przesuniecie, double wysokosc,
                                      bool wPrzod, const TIndeksWysokosci& proj, const TIndeksWysokosci& teren) {
    // To the right of travel is to the left of the chainage direction when driving back.
    double x = 0.0, y = 0.0;
    PunktObok(trasa, s, wPrzod ? przesuniecie : -przesuniecie, x, y);
    const std::optional<double> z = WysokoscDrogi(x, y, proj, teren);
    if (!z) return std::nullopt;
    return TPunkt3D{x, y, *z + wysokosc};
}
