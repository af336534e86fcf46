// Drainage of the design surface: the resultant slope of every triangle and,
// by bands of chainage within the half-width W of the route line, the plan
// area of the surface, the part of it flatter than a threshold (where water
// stands) and the least slope; the flat zones along the road by side.
//
// A triangle of the design surface is a plane z = a x + b y + c; its
// resultant slope (the steepest fall, whatever its direction) is
// s = sqrt(a^2 + b^2), given in per cent. The areas are exact plan areas of
// the triangles clipped to the strips of TPodzialTrasy (the bands' normals
// and +-W). Nothing here changes any state.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "analiza/PodzialTrasy.h"

// The threshold of a flat surface, %: the least resultant slope a road surface
// needs to drain.
constexpr double ProgSpadku = 0.5;
// The default half-width of the banded drainage check, m: the road and its verges.
constexpr double SzerokoscSpadkow = 30.0;

// The resultant slope of a triangle in per cent; none for a triangle with no plan area (or a
// coordinate that is not a number).
std::optional<double> SpadekTrojkata(const TTrojkatRogi& t);

// The slope class of each triangle for the colouring of the design surface: 0 below the threshold
// (flat), 1 from it to twice it, 2 steeper or without a slope (a vertical triangle).
std::vector<std::uint8_t> KlasySpadku(const TSiatka& siatka, double prog);

struct TPrzedzialSpadkow {
    double Od = 0, Do = 0;            // the band's chainages (the route's own)
    double Pole = 0;                  // plan area of the design surface in the band, m^2
    double PolePlaskie = 0;           // the part of it with s < the threshold, m^2
    std::optional<double> SpadekMin;  // the least s in the band, %; none without design surface
};

// A run of consecutive strips on one side of the route line with flat surface in each.
struct TStrefaPlaska {
    double Od = 0, Do = 0;  // chainages of the run's first and last normal
    int Strona = 1;         // -1 left of the route line (in the direction of travel), +1 right
    double Pole = 0;        // the flat area in it, m^2
};

struct TWynikSpadkow {
    std::vector<TPrzedzialSpadkow> Przedzialy;
    std::vector<TStrefaPlaska> Strefy;  // in chainage order, the left before the right at a tie
};

// The drainage check of the design surface's triangles (local coordinates) over the division.
// The triangles are shared among two threads; none when `przerwij` was set before the end.
std::optional<TWynikSpadkow> ObliczSpadki(const TSiatka& proj, const TPodzialTrasy& podzial, double prog = ProgSpadku,
                                          const TPostepAnalizy& postep = {},
                                          const std::atomic<bool>* przerwij = nullptr);
