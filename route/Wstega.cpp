#include "route/Wstega.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "route/Lancuch.h"
#include "route/Niweleta.h"

namespace {

constexpr double KrokWstegi = 2.0;  // m between the stations
// At most this many stretches (a route over 400 km gets longer ones): 400,000 triangles.
constexpr double NajwiecejOdcinkowWstegi = 200'000;

void DodajPunkt(TSiatka& w, TPunkt2D p, double z) {
    TPunktSiatki q;
    q.X = p.X, q.Y = p.Y, q.Z = z;
    q.Numer = static_cast<std::int32_t>(w.Punkty.size() + 1);
    w.Punkty.push_back(q);
}

// The triangle of the ribbon's points a, b, c (indices into its points).
void DodajTrojkat(TSiatka& w, std::size_t a, std::size_t b, std::size_t c) {
    const TPunktSiatki &p = w.Punkty[a], &q = w.Punkty[b], &r = w.Punkty[c];
    TTrojkat t;
    t.Nr1 = p.Numer, t.Nr2 = q.Numer, t.Nr3 = r.Numer;
    t.Rodzaj = TRodzaj{0.0f, kRodzajNawierzchni};
    ::DodajTrojkat(w, t, {p.X, p.Y, p.Z}, {q.X, q.Y, q.Z}, {r.X, r.Y, r.Z});
}

}  // namespace

TSiatka WstegaDrogi(const DaneUstawieniaTrasy& trasa, double szerokosc, double zmin) {
    TSiatka w;
    const TLancuch& l = trasa.Lancuch;
    if (!trasa.Obliczona || trasa.Niweleta.Pusta() || l.Elementy.empty() || !(szerokosc > 0.0) ||
        !std::isfinite(szerokosc))
        return w;
    const std::vector<double> s = PikietyWzdluz(l, KrokWstegi, NajwiecejOdcinkowWstegi);
    const double h = szerokosc / 2;
    bool poprzedni = false;  // the previous station's two points are the last two of w.Punkty
    for (double si : s) {
        const std::optional<double> z = WysokoscNiwelety(trasa.Niweleta, trasa.PikStart + si);
        if (!z || !std::isfinite(*z)) {
            poprzedni = false;
            continue;
        }
        const TPunkt2D p = PunktLancucha(l, si);
        const double k = KierunekLancucha(l, si);
        const double nx = -std::sin(k) * h, ny = std::cos(k) * h;  // to the left of the direction
        DodajPunkt(w, {p.X + nx, p.Y + ny}, *z - zmin);
        DodajPunkt(w, {p.X - nx, p.Y - ny}, *z - zmin);
        const std::size_t i = w.Punkty.size();
        if (poprzedni) {
            // Counter-clockwise in plan: left, right, next right; left, next right, next left.
            DodajTrojkat(w, i - 4, i - 3, i - 1);
            DodajTrojkat(w, i - 4, i - 1, i - 2);
        }
        poprzedni = true;
    }
    return w;
}
