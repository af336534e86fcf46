// Cut and fill between the design surface and the terrain, by bands of
// chainage, with the mass ordinate and the balance points.
//
// Both surfaces are piecewise linear, so their difference is linear over
// every piece of the overlay of the two triangulations: each design triangle
// is clipped in plan to the strips of TPodzialTrasy, each piece to every
// terrain triangle under it, and each of those pieces split at the line where
// the two planes cross. Over a convex piece where the difference d is linear
// the volume is its area times d at its centroid, so the sums are exact up to
// the rounding of the clips. Cut is where the terrain stands above the design
// surface, fill where it lies below.
//
// Where no terrain triangle lies under a piece of the design surface, that
// part is left out of both volumes and counted (BezTerenu). The terrain is
// taken as one surface: triangles that overlap in plan would count twice.
// Coordinates are the local ones of the meshes. Nothing here changes any state.
#pragma once

#include <atomic>
#include <optional>
#include <vector>

#include "analiza/PodzialTrasy.h"
#include "analiza/Wysokosci.h"

// The default half-width of the corridor the volumes are summed over, m: wide enough for the
// embankments and cuttings of a road (a design surface reaching farther is counted as in no band).
constexpr double SzerokoscObjetosci = 100.0;

struct TPrzedzialObjetosci {
    double Od = 0, Do = 0;  // the band's chainages (the route's own)
    double Wykop = 0;       // cut, m^3
    double Nasyp = 0;       // fill, m^3
    double Masa = 0;        // the mass ordinate at the band's end: sum of k * cut - fill from the start
    double Pole = 0;        // plan area of the design surface in the band, m^2
    double BezTerenu = 0;   // the part of it with no terrain under it (left out of the volumes), m^2
};

struct TWynikObjetosci {
    std::vector<TPrzedzialObjetosci> Przedzialy;
    // Per strip of the division (between its stations i and i + 1): cut and fill, for the
    // mass-haul diagram and the balance points.
    std::vector<double> WykopPaska, NasypPaska;
    std::vector<double> PikietyPaskow;  // the strips' boundaries (one more than the strips), the route's own
    double Wykop = 0, Nasyp = 0;        // totals over the bands
    double BezTerenu = 0;               // design surface in the bands with no terrain under it, m^2
    double PozaPasami = 0;              // design surface in no band (beyond the ends or wider than W), m^2
    double Wspolczynnik = 1.0;          // k, the bulking factor the mass ordinate used
    // Chainages where the mass ordinate crosses zero (linear within a strip).
    std::vector<double> PunktyZrownowazenia;
};

// The volumes of the design surface's triangles (local coordinates) against the terrain's
// heights index over the division. k (wspolczynnik) turns a cubic metre of cut into the fill it
// makes. Shared among two threads; none when `przerwij` was set before the end. Raises
// BladKonwersji for a bulking factor that is not a positive number.
std::optional<TWynikObjetosci> ObliczObjetosci(const TSiatka& proj, const TIndeksWysokosci& teren,
                                               const TPodzialTrasy& podzial, double wspolczynnik = 1.0,
                                               const TPostepAnalizy& postep = {},
                                               const std::atomic<bool>* przerwij = nullptr);
