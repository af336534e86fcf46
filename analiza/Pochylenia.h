// The cross-fall of the design surface along the road: at each station, on
// each side, q = (z(edge) - z(axis)) / W * 100 in per cent, where the axis is
// the route point and the edge the point W to the left or right of it along
// the normal (negative: the surface falls away from the axis); and how fast q
// changes along the road, in % per metre: a central difference over the
// neighbouring stations, one-sided at the ends (and where a neighbour has no
// value). Heights from the design surface's index, local coordinates.
#pragma once

#include <atomic>
#include <optional>
#include <vector>

#include "analiza/PodzialTrasy.h"
#include "analiza/Wysokosci.h"

// The default distance from the axis to the edge, m: a traffic lane.
constexpr double SzerokoscPochylenia = 3.5;

struct TWierszPochylen {
    double Pikieta = 0;                             // the route's own chainage
    std::optional<double> QLewe, QPrawe;            // %, none where the surface has no height
    std::optional<double> ZmianaLewe, ZmianaPrawe;  // % per m
};

// The rows at the given chainages (in increasing order) of a built route. Raises BladKonwersji
// for a width that is not a positive number; none when `przerwij` was set before the end.
std::optional<std::vector<TWierszPochylen>> ObliczPochylenia(const DaneUstawieniaTrasy& trasa,
                                                             const std::vector<double>& pikiety, double szerokosc,
                                                             const TIndeksWysokosci& proj,
                                                             const TPostepAnalizy& postep = {},
                                                             const std::atomic<bool>* przerwij = nullptr);

// The cross-fall of one side at chainage s (strona -1 left, +1 right), %.
std::optional<double> PochyleniePoprzeczne(const DaneUstawieniaTrasy& trasa, double s, int strona, double szerokosc,
                                           const TIndeksWysokosci& proj);
