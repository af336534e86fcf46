#include "analiza/Pochylenia.h"

#include <cmath>

#include "route/OblTrasa.h"

namespace {

// The rate of change at row i from the neighbours that have a value.
std::optional<double> Zmiana(const std::vector<TWierszPochylen>& w, std::size_t i,
                             std::optional<double> TWierszPochylen::*q) {
    if (!(w[i].*q)) return std::nullopt;
    const bool przed = i > 0 && (w[i - 1].*q).has_value();
    const bool po = i + 1 < w.size() && (w[i + 1].*q).has_value();
    const std::size_t a = przed ? i - 1 : i, b = po ? i + 1 : i;
    if (a == b || !(w[b].Pikieta > w[a].Pikieta)) return std::nullopt;
    return (*(w[b].*q) - *(w[a].*q)) / (w[b].Pikieta - w[a].Pikieta);
}

}  // namespace

std::optional<double> PochyleniePoprzeczne(const DaneUstawieniaTrasy& trasa, double s, int strona, double szerokosc,
                                           const TIndeksWysokosci& proj) {
    double x = 0.0, y = 0.0;
    PunktNaPikiecie(trasa, s, x, y);
    const double kat = KatNaPikiecie(trasa, s);
    // The normal to the left of the direction of travel is (-sin, cos).
    const double d = strona < 0 ? szerokosc : -szerokosc;
    const std::optional<double> os = Wysokosc(proj, x, y);
    const std::optional<double> brzeg = Wysokosc(proj, x - d * std::sin(kat), y + d * std::cos(kat));
    if (!os || !brzeg) return std::nullopt;
    return (*brzeg - *os) / szerokosc * 100.0;
}

std::optional<std::vector<TWierszPochylen>> ObliczPochylenia(const DaneUstawieniaTrasy& trasa,
                                                             const std::vector<double>& pikiety, double szerokosc,
                                                             const TIndeksWysokosci& proj, const TPostepAnalizy& postep,
                                                             const std::atomic<bool>* przerwij) {
    if (!(szerokosc > 0.0) || !std::isfinite(szerokosc)) throw BladKonwersji("szerokość musi być liczbą dodatnią");
    std::vector<TWierszPochylen> w(pikiety.size());
    if (!trasa.Obliczona) return w;
    const bool caly = PrzejdzNaDwochWatkach(
        pikiety.size(),
        [&](std::size_t od, std::size_t do_, int) {
            for (std::size_t i = od; i < do_; ++i) {
                w[i].Pikieta = pikiety[i];
                w[i].QLewe = PochyleniePoprzeczne(trasa, pikiety[i], -1, szerokosc, proj);
                w[i].QPrawe = PochyleniePoprzeczne(trasa, pikiety[i], 1, szerokosc, proj);
            }
        },
        postep, przerwij);
    if (!caly) return std::nullopt;
    for (std::size_t i = 0; i < w.size(); ++i) {
        w[i].ZmianaLewe = Zmiana(w, i, &TWierszPochylen::QLewe);
        w[i].ZmianaPrawe = Zmiana(w, i, &TWierszPochylen::QPrawe);
    }
    return w;
}
